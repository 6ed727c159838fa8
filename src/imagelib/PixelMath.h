// Small conversions shared by the sampling and resampling loops.
#pragma once

#include <cmath>
#include <cstdint>

namespace vimg::pixelmath {

// Float positions far outside any image are pinned before conversion, so the
// integer maths after it can neither overflow nor hit undefined casts.
inline int32_t FloorToInt(float v) {
    if (!(v > -1.0e9f)) return -1000000000;
    if (v > 1.0e9f) return 1000000000;
    return static_cast<int32_t>(std::floor(v));
}

inline int32_t TruncToInt(float v) {
    if (!(v > -1.0e9f)) return -1000000000;
    if (v > 1.0e9f) return 1000000000;
    return static_cast<int32_t>(v);
}

// Clamps to 0..255 and truncates. Kernels whose weights add up to one give a
// flat area its own value back only up to float noise (127.99999 for 128), so
// noise below a thousandth of a level does not cost a whole level.
inline uint8_t ClampTrunc(float v) {
    v += 1.0e-3f;
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return static_cast<uint8_t>(v);
}

// Clamps to 0..255 and rounds to the nearest level.
inline uint8_t ClampRound(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 254.5) return 255;
    return static_cast<uint8_t>(v + 0.5);
}

} // namespace vimg::pixelmath
