#pragma once

#include "../Image.h"

#include <cstdio>

namespace vimg {

class File;

// PNG reader and writer on libpng (format id 4). The PNG option word 1 writes
// interlaced (Adam7) files; the reader sets it to match the file it read.
class ImagePNG : public Image {
public:
    ImagePNG() : Image(FORMAT_PNG) {}
    bool Decode(File* stream);
    bool Decode(FILE* stream);
    bool Encode(File* stream);
    bool Encode(FILE* stream);

private:
    // One reading of a whole file; Decode adds the second one for cut files.
    bool DecodeStream(File* stream);
};

} // namespace vimg
