#pragma once

#include "../Image.h"

namespace vimg {

class File;

// ZSoft Paintbrush reader (1, 2, 4 and 8 bits, up to 4 planes, run-length)
// and writer (1, 4, 8 and 24 bits) — format id 8.
class ImagePCX : public Image {
public:
    ImagePCX() : Image(FORMAT_PCX) {}
    bool Decode(File* stream);
    bool Encode(File* stream);
};

} // namespace vimg
