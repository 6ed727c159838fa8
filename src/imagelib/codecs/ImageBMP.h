#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Windows bitmap reader and writer (format id 1).
class ImageBMP : public Image {
public:
    ImageBMP() : Image(FORMAT_BMP) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    void DecodeRle8(File* stream);
    void DecodeRle4(File* stream);
    // Converts packed 16- or 32-bit pixels to 24 bits through channel masks.
    bool ConvertBitFields(const uint8_t* src, uint32_t srcStride, uint32_t bytesPerPixel,
                          const uint32_t masks[4]);
};

} // namespace vimg
