#pragma once

#include "../Image.h"

#include <vector>

namespace vimg {

class File;

// Windows metafile and enhanced metafile reader (format id 10): the common
// drawing records are played into a 24-bit image on a white background.
// Text goes through the installed MetafileTextRenderer; without one, text
// records only change the state.
class ImageWMF : public Image {
public:
    ImageWMF() : Image(FORMAT_WMF) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    // Makes the white w x h picture both players draw on (sides capped); with a
    // size-only request it records the size instead. False when it cannot.
    bool CreateCanvas(double width, double height, bool& sizeOnly);
    bool PlayWmf(const std::vector<uint8_t>& data);
    bool PlayEmf(const std::vector<uint8_t>& data);
};

} // namespace vimg
