// The clipboard's device-independent bitmap: a movable memory block holding
// a packed DIB (information header, palette, pixel rows with no file header).
#pragma once

#include <memory>

#include "GlobalMemory.h"
#include "Image.h"

namespace vimg::display {

// A zeroed block of GetSize() bytes holding the image's DIB block; null for
// an empty image or when the memory cannot be had. Alpha, selection and
// transparency do not travel.
std::unique_ptr<CGlobalMemory> CopyToHandle(const Image& image);

// Replaces the image with the DIB held by the block: 40-byte (or larger) and
// 12-byte core headers, palettes of four- or three-byte entries, 1/4/8-bit
// data plain or run-length coded, 16- and 32-bit data through their channel
// masks (5-5-5 by default) into 24 bits. The resolution comes from the pels
// per metre (96 dpi when 0). False, with the reason in the image's last
// error, for an empty or unlockable block, a block too short for its
// uncompressed rows, or a layout that cannot be read.
bool CreateFromHANDLE(Image& image, HGLOBAL handle);

} // namespace vimg::display
