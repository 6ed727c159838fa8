// Red/blue order of 3-byte pixels: files mostly hold red, green, blue; the
// picture holds blue, green, red. These turn whole rows over at memory speed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vimg {

// Exchanges the first and third byte of each of `pixels` 3-byte pixels in place.
void SwapRedBlue(uint8_t* pixels3, size_t pixels);

// Writes `pixels` 3-byte pixels from `source` to `dest` with the first and third
// byte exchanged. The two ranges must not overlap.
void CopySwappingRedBlue(uint8_t* dest, const uint8_t* source, size_t pixels);

} // namespace vimg
