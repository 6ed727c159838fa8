#pragma once

#include "../Image.h"

namespace vimg {

class File;

// Portable anymap reader (P1 to P6, any maximum value) and writer (PGM for
// grey images, PPM for colour) — format id 14.
class ImagePNM : public Image {
public:
    ImagePNM() : Image(FORMAT_PNM) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    bool DecodeRaw(File* stream, uint32_t width, uint32_t height, uint32_t channels, uint32_t maxval);
};

} // namespace vimg
