// Samples of any maximum value brought to 8 bits.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vimg {

// Through 16 bits (rounded) and then truncated: exact for 8-bit and smaller
// ranges, and the same choice ImageMagick makes for deeper samples.
inline uint8_t ScaleTo8(uint64_t value, uint64_t maxValue) {
    const uint64_t v = std::min(value, maxValue);
    const uint64_t wide = (v * 65535 + maxValue / 2) / maxValue;
    return static_cast<uint8_t>(wide / 257);
}

} // namespace vimg
