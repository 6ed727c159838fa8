#pragma once

#include "../Image.h"

namespace vimg {

class File;

// JPEG 2000 test-image format (one grey component, any precision up to 16
// bits, either byte order) reader and 8-bit writer — format id 13.
class ImagePGX : public Image {
public:
    ImagePGX() : Image(FORMAT_PGX) {}
    bool Decode(File* stream);
    bool Encode(File* stream);
};

} // namespace vimg
