// Turning the dialogs' single-precision values into the integer parameters
// the worker operations take.
#pragma once

#include <cmath>
#include <limits>

namespace dialogvalues {

// trunc(v × 1000), the float widened to double first (so a slope of 0.055f,
// just below 0.055, gives 54). Values beyond the int range saturate instead
// of overflowing; not-a-number gives 0.
inline int TruncThousandths(float v) {
    const double scaled = std::trunc(static_cast<double>(v) * 1000.0);
    if (std::isnan(scaled)) return 0;
    if (scaled >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (scaled <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(scaled);
}

// trunc(v) for a pixel size worked out from single-precision values; the
// caller does the arithmetic in double (so 200 / (400 / 300.0f), just below
// 150, gives 149). Negative and not-a-number give 0, too large saturates.
inline unsigned TruncSize(double v) {
    if (!(v > 0)) return 0;
    constexpr unsigned most = std::numeric_limits<unsigned>::max();
    if (v >= static_cast<double>(most)) return most;
    return static_cast<unsigned>(v);
}

} // namespace dialogvalues
