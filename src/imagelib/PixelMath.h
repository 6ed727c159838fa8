// Small conversions shared by the sampling and resampling loops.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
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

// Weighted sums over a window lying wholly inside a 24-bit image, read from
// the rows. N fixes the window size at compile time (0: `size` at run time);
// the order of the additions is that of the per-pixel path, so both give
// the same bits.
template <int N>
inline void SumWindow(const uint8_t* first, size_t stride, const uint8_t* firstAlpha, size_t alphaStride,
                      const float* wx, const float* wy, int size, float* sums) {
    const int n = N ? N : size;
    float b = 0.0f, g = 0.0f, r = 0.0f, a = 0.0f;
    for (int j = 0; j < n; ++j) {
        const uint8_t* p = first + static_cast<size_t>(j) * stride;
        const uint8_t* pa = firstAlpha ? firstAlpha + static_cast<size_t>(j) * alphaStride : nullptr;
        for (int i = 0; i < n; ++i, p += 3) {
            const float k = wx[i] * wy[j];
            b += k * p[0];
            g += k * p[1];
            r += k * p[2];
            if (pa) a += k * pa[i];
        }
    }
    sums[0] = b;
    sums[1] = g;
    sums[2] = r;
    sums[3] = a;
}

// The pixels an area of `size` centred on `centre` covers along one axis,
// pixel i covering i - 0.5 .. i + 0.5. An axis of size <= 1 is not averaged
// (every pixel counts fully: the caller samples it at the centre instead).
struct AreaSpan {
    int32_t first = 0;
    int32_t last = 0;
    float lo = 0.0f;
    float hi = 0.0f;
    bool averaged = false;

    static AreaSpan Make(float centre, float size) {
        AreaSpan s;
        if (size <= 1.0f) return s;
        s.averaged = true;
        s.lo = centre - size / 2.0f;
        s.hi = centre + size / 2.0f;
        s.first = FloorToInt(s.lo + 0.5f);
        s.last = std::max(s.first, static_cast<int32_t>(std::ceil(s.hi - 0.5f)));
        return s;
    }
    float Cover(int32_t i) const {
        if (!averaged) return 1.0f;
        return std::min(hi, static_cast<float>(i) + 0.5f) - std::max(lo, static_cast<float>(i) - 0.5f);
    }
    bool Inside(int32_t size) const { return first >= 0 && last < size; }
};

} // namespace vimg::pixelmath
