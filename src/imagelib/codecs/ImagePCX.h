#pragma once

#include "../Image.h"

#include <cstdint>

namespace vimg {

class File;

// ZSoft Paintbrush reader (1, 2, 4 and 8 bits, up to 4 planes, run-length)
// and writer (1, 4, 8 and 24 bits) — format id 8. DCX files (several PCX
// pages behind a page table) are read with their pages as frames.
class ImagePCX : public Image {
public:
    ImagePCX() : Image(FORMAT_PCX) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

private:
    // Reads one PCX picture from the stream position; `end` is where its data stops.
    bool DecodePage(File* stream, int64_t end);
};

} // namespace vimg
