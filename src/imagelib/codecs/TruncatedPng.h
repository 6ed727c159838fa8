#pragma once

#include <cstdint>
#include <vector>

namespace vimg {

class File;

// A PNG file that ends inside (or right after) its image data, made whole
// again: the chunks in front of the image data stay, the rows the data that is
// there inflates to stay, every later row becomes zeros (filter none), and the
// image data is stored again as one complete zlib stream followed by IEND.
// Decoding the result gives the rows the cut file holds and black (or
// transparent) rows after them, as other readers show such files.
class TruncatedPng {
public:
    // Reads the file from `start`; false when it does not end inside (or right
    // after) its image data, or not even one row can be had. `memoryLimit` caps
    // the inflated rows.
    bool Rebuild(File* stream, int32_t start, uint64_t memoryLimit);
    std::vector<uint8_t>& Bytes() { return m_png; }

private:
    bool ReadChunks(File* stream);
    // The longest run of whole rows (of all passes, in file order) within `bytes`.
    uint64_t WholeRows(uint64_t bytes) const;
    uint64_t RawSize() const { return WholeRows(UINT64_MAX); }

    std::vector<uint8_t> m_front;     // signature and chunks in front of the image data
    std::vector<uint8_t> m_imageData; // the compressed image data the file holds
    uint32_t m_width = 0, m_height = 0;
    uint32_t m_pixelBits = 0;
    bool m_interlaced = false;
    std::vector<uint8_t> m_png;
};

} // namespace vimg
