#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Windows icon and cursor reader (the image chosen by `frame`; bitmap or PNG
// entries) and single-icon writer — format id 5.
class ImageICO : public Image {
public:
    ImageICO() : Image(FORMAT_ICO) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    bool DecodeBitmap(const uint8_t* data, size_t size);
};

} // namespace vimg
