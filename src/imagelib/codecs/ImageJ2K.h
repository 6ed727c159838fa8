#pragma once

#include "../Image.h"

namespace vimg {

class File;

// JPEG 2000 through OpenJPEG: reads JP2 files and bare code streams (told
// apart by content) and writes either — format ids 11 (JP2) and 12 (JPC).
class ImageJ2K : public Image {
public:
    explicit ImageJ2K(uint32_t type = FORMAT_JP2) : Image(type), m_codestream(type == FORMAT_JPC) {}
    bool Decode(File* stream);
    bool Encode(File* stream);

    // JP2 box signature or code-stream start: the bytes tell which one a file is.
    static bool IsJp2(const uint8_t* head, size_t size);
    static bool IsCodestream(const uint8_t* head, size_t size);

private:
    bool m_codestream; // write a bare code stream instead of a JP2 file
};

} // namespace vimg
