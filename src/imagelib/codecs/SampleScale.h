// Samples of any maximum value brought to 8 bits.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vimg {

// The one rule for deeper samples (16-bit PNG, TIFF, PNM, PGX, JPEG 2000):
// round(value × 255 / maxValue), as libpng's png_set_scale_16 does for PNG.
// 8-bit values stay as they are. (ImageMagick truncates value / 257 instead,
// so its 8-bit output may be one lower.)
inline uint8_t ScaleTo8(uint64_t value, uint64_t maxValue) {
    if (maxValue == 0) return 0;
    const uint64_t v = std::min(value, maxValue);
    return static_cast<uint8_t>((v * 255 + maxValue / 2) / maxValue);
}

} // namespace vimg
