#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Wireless bitmap (type 0, one bit per pixel) reader and writer — format id 9.
class ImageWBMP : public Image {
public:
    ImageWBMP() : Image(FORMAT_WBMP) {}
    bool Decode(File* stream);
    bool Encode(File* stream);
};

} // namespace vimg
