#pragma once

namespace vimg {

class File;
class Image;

// Reads JP2, JPEG 2000 code streams, PGX, PNM and Sun raster files, telling
// them apart by their first bytes; on success `target` holds the picture and
// the type that was found.
bool DecodeByContent(Image& target, File* stream);

} // namespace vimg
