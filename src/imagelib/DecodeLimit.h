// Bounds on what a decoder may allocate for the picture its header declares,
// so that a small hostile file cannot ask for gigabytes.
#pragma once

#include <cstdint>

namespace vimg {

class File;
class Image;

class DecodeLimit {
public:
    // The ceiling on decoded pixels (width x height of one picture or frame).
    // The default, 2^30 (about 1.07 gigapixels, e.g. 32768 x 32768), admits
    // large stitched microscope scans; as 24 bits it needs 3 GiB, which still
    // fits under Image's memory bound.
    static constexpr uint64_t kDefaultMaxPixels = uint64_t{1} << 30;
    static void SetMaxPixels(uint64_t pixels);
    static uint64_t MaxPixels();

    // False with "image too large: W x H exceeds the limit of N pixels" above the ceiling.
    static bool CheckPixels(Image& img, uint64_t width, uint64_t height);

    // For pixel data read from the stream's current position on: `needed`
    // bytes declared for width x height, where one byte of the file gives at
    // most `maxExpansion` bytes of data (1 for uncompressed data; the format's
    // best compression ratio otherwise). A truncated file is still decoded
    // (the missing rows stay black) as long as it holds at least half of the
    // data, or the data is small (kSmallData); otherwise the header is refused
    // before anything is allocated. The pixel ceiling is checked first.
    static constexpr uint64_t kSmallData = uint64_t{1} << 20;
    static bool CheckData(Image& img, File* stream, uint64_t width, uint64_t height, uint64_t needed,
                          uint32_t maxExpansion = 1);
    // The same with the bytes that hold the data given (formats whose data may lie anywhere in the file).
    static bool CheckHeld(Image& img, uint64_t held, uint64_t width, uint64_t height, uint64_t needed,
                          uint32_t maxExpansion = 1);

    // While a Scope lives on this thread, Image::Create applies the pixel
    // ceiling to every image it makes (decoders run inside one).
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
    static bool Active();
};

} // namespace vimg
