// The colour-depth reduction of the processing commands: an optional palette
// optimised for the image by the octree quantiser, then DecreaseBpp.
#pragma once

#include <cstdint>

namespace vimg {

class Image;

// bits: 1, 4 or 8. With optimisedPalette and 4 or 8 bits the palette holds at
// most `colours` colours found by the quantiser (8-bit reductions to more than
// 16 colours use a 7-level tree); `colours` then also limits the entries used.
bool ReduceBitDepth(Image& image, uint32_t bits, bool errorDiffusion, bool optimisedPalette,
                    uint32_t colours);

} // namespace vimg
