#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Sun raster reader (1, 8, 24 and 32 bits, colour maps, run-length and RGB
// types) and writer (8 bits with colour map, 24 bits) — format id 15.
class ImageRAS : public Image {
public:
    ImageRAS() : Image(FORMAT_RAS) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    void MovePadLast(uint32_t rows);
};

} // namespace vimg
