// Feeds arbitrary bytes to the decoders. The first byte picks the format id
// (0 runs the unknown-type pass over every registered reader).
#include "Image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const bool bounded = [] {
        // Small bounds keep each run (decode and the per-pixel dump below) within the
        // 2 s per input; the checks against the file's size work the same at any bound.
        vimg::Image::SetMaxMemory(8u << 20);
        vimg::Image::SetMaxPixels(1u << 18);
        return true;
    }();
    (void)bounded;
    const uint32_t type = data[0] % 16;
    std::vector<uint8_t> body(data + 1, data + size);
    vimg::Image img;
    img.Decode(body.data(), static_cast<uint32_t>(body.size()), type);
    if (img.IsValid()) {
        uint8_t* out = nullptr;
        int32_t outSize = 0;
        if (img.Encode2RGBA(out, outSize)) vimg::Image::FreeMemory(out);
    }
    return 0;
}
