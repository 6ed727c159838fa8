#pragma once

#include "../Image.h"

#include <cstdio>

struct tiff;

namespace vimg {

class File;

// TIFF reader and writer on libtiff (format id 6): one page of a file is read
// (`frame`), pages are written singly or appended to a file kept open.
class ImageTIF : public Image {
public:
    ImageTIF() : Image(FORMAT_TIF) {}
    ~ImageTIF() override;
    ImageTIF(const ImageTIF&) = delete;
    ImageTIF& operator=(const ImageTIF&) = delete;

    bool Decode(File* stream);
    bool Decode(FILE* stream);
    // Writes this image as one page; with `appendPage` the file stays open for more pages.
    bool Encode(File* stream, bool appendPage = false);
    bool Encode(FILE* stream, bool appendPage = false);
    // Writes all images as the pages of one file, numbered in the order given.
    bool Encode(File* stream, Image** images, int32_t count);
    bool Encode(FILE* stream, Image** images, int32_t count);

    // libtiff clients bound to a stream: "r" to read, "a" to write or append.
    static tiff* TIFFOpenEx(File* stream, const char* mode = "r", Image* errorSink = nullptr);
    static void TIFFCloseEx(tiff* handle);

private:
    bool DecodeRGBA(tiff* tif, uint32_t width, uint32_t height, bool alpha);
    bool DecodeStrips(tiff* tif, uint32_t width, uint32_t height, int photometric, int samples, int bits,
                      bool alpha);
    // Grey, RGB or CMYK samples of other depths (2..32-bit integers, floating point) to 8 bits.
    bool DecodeWide(tiff* tif, uint32_t width, uint32_t height, int photometric, int samples, int bits,
                    int format);
    // The decoded rows of the current page, strips or tiles, into `raw` (lineBytes per row).
    bool ReadRawRows(tiff* tif, uint32_t width, uint32_t height, uint64_t lineBytes, uint64_t pixelBits,
                     uint8_t* raw);
    bool EncodeBody(tiff* tif, bool multipage, int32_t page, int32_t pageCount);
    // Copies the rows of a decoded tile into its place in a strip of `lineBytes` per row.
    static void TileToStrip(uint8_t* strip, const uint8_t* tile, uint32_t rows, size_t lineBytes,
                            size_t tileRowBytes, size_t offset);
    // Turns the stored picture into the one the orientation tag describes.
    bool ApplyOrientation(int orientation);
    void ResetWriter();

    tiff* m_tif = nullptr;
    bool m_multipage = false;
    int32_t m_pages = 0;
};

} // namespace vimg
