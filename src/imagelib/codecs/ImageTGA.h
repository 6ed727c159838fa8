#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Truevision Targa reader (colour-mapped, true-colour and grey, plain and
// run-length) and writer (8 and 24 bits) — format id 7.
class ImageTGA : public Image {
public:
    ImageTGA() : Image(FORMAT_TGA) {}
    bool Decode(File* stream);
    bool Encode(File* stream);
};

} // namespace vimg
