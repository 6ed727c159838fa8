// Sub-pixel sampling shared by free rotation, resampling and skew: the
// interpolation kernels, the rules for positions outside the image, and the
// point and area samplers built on them.
#include "Image.h"

#include "PixelMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vimg {

using namespace pixelmath;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float Sinc(float t) {
    if (t == 0.0f) return 1.0f;
    const float a = kPi * t;
    return std::sin(a) / a;
}

// Window of a sampling method: `size` integer positions starting `before` to
// the left of floor(x). Kernels whose weights do not add up to one over their
// window are normalised per axis, otherwise they would brighten or darken the
// picture depending on the sub-pixel phase (Blackman as written sums to two).
struct Window {
    int size;
    int before;
    bool normalise;
    float (*kernel)(float);
};

Window WindowOf(Image::InterpolationMethod method) {
    switch (method) {
    case Image::IM_BILINEAR:
        return {2, 0, false, Image::KernelLinear};
    case Image::IM_BSPLINE:
        return {4, 1, false, Image::KernelBSpline};
    case Image::IM_BICUBIC:
        return {4, 1, false, Image::KernelCubic};
    case Image::IM_LANCZOS:
        return {12, 5, true, [](float t) { return Image::KernelLanczosSinc(t); }};
    case Image::IM_BOX:
        return {4, 1, false, Image::KernelBox};
    case Image::IM_HERMITE:
        return {4, 1, false, Image::KernelHermite};
    case Image::IM_HAMMING:
        return {4, 1, true, Image::KernelHamming};
    case Image::IM_SINC:
        return {4, 1, true, Image::KernelSinc};
    case Image::IM_BLACKMAN:
        return {4, 1, true, Image::KernelBlackman};
    case Image::IM_BESSEL:
        return {4, 1, true, Image::KernelBessel};
    case Image::IM_GAUSSIAN:
        return {4, 1, true, Image::KernelGaussian};
    case Image::IM_QUADRATIC:
        return {4, 1, false, Image::KernelQuadratic};
    case Image::IM_MITCHELL:
        return {4, 1, false, Image::KernelMitchell};
    case Image::IM_CATROM:
        return {4, 1, false, Image::KernelCatrom};
    default:
        return {4, 1, false, [](float t) { return Image::KernelGeneralizedCubic(t); }};
    }
}

constexpr int kMaxWindow = 12;

// Weights of the window positions start .. start + size - 1 around `pos`.
void AxisWeights(const Window& win, Image::InterpolationMethod method, float pos, int32_t start, float* w) {
    if (method == Image::IM_BILINEAR) {
        const float d = pos - static_cast<float>(start);
        w[0] = 1.0f - d;
        w[1] = d;
        return;
    }
    float sum = 0.0f;
    for (int i = 0; i < win.size; ++i) {
        w[i] = win.kernel(pos - static_cast<float>(start + i));
        sum += w[i];
    }
    if (win.normalise && sum != 0.0f)
        for (int i = 0; i < win.size; ++i)
            w[i] /= sum;
}

} // namespace

// ---- kernels ----

float Image::KernelLinear(float t) {
    t = std::fabs(t);
    return t < 1.0f ? 1.0f - t : 0.0f;
}

float Image::KernelBSpline(float t) {
    if (t > 2.0f) return 0.0f;
    const auto p3 = [](float u) { return u > 0.0f ? u * u * u : 0.0f; };
    return (p3(t + 2.0f) - 4.0f * p3(t + 1.0f) + 6.0f * p3(t) - 4.0f * p3(t - 1.0f)) / 6.0f;
}

float Image::KernelCubic(float t) {
    t = std::fabs(t);
    if (t < 1.0f) return 1.0f - 2.0f * t * t + t * t * t;
    if (t < 2.0f) return 4.0f - 8.0f * t + 5.0f * t * t - t * t * t;
    return 0.0f;
}

float Image::KernelGeneralizedCubic(float t, float a) {
    t = std::fabs(t);
    if (t < 1.0f) return (a + 2.0f) * t * t * t - (a + 3.0f) * t * t + 1.0f;
    if (t < 2.0f) return a * t * t * t - 5.0f * a * t * t + 8.0f * a * t - 4.0f * a;
    return 0.0f;
}

float Image::KernelLanczosSinc(float t, float radius) {
    if (std::fabs(t) > radius) return 0.0f;
    return Sinc(t) * Sinc(t / radius);
}

float Image::KernelBox(float t) {
    return (t >= -0.5f && t < 0.5f) ? 1.0f : 0.0f;
}

float Image::KernelHermite(float t) {
    t = std::fabs(t);
    return t < 1.0f ? (2.0f * t - 3.0f) * t * t + 1.0f : 0.0f;
}

float Image::KernelHamming(float t) {
    t = std::fabs(t);
    return t < 1.0f ? 0.92f * ((2.0f * t - 3.0f) * t * t) + 1.0f : 0.0f;
}

float Image::KernelSinc(float t) {
    return Sinc(t);
}

float Image::KernelBlackman(float t) {
    return 0.42f + 0.5f * std::cos(kPi * t) + 0.08f * std::cos(2.0f * kPi * t);
}

float Image::KernelBessel(float t) {
    if (t == 0.0f) return kPi / 4.0f;
    return static_cast<float>(KernelBessel_Order1(static_cast<double>(kPi) * t) / (2.0 * t));
}

// J1 by its power series, sum over k of (-1)^k (x/2)^(2k+1) / (k! (k+1)!);
// used below 8, where the terms stay small enough for double precision.
double Image::KernelBessel_J1(double x) {
    const double half = x / 2.0;
    const double halfSq = half * half;
    double term = half;
    double sum = term;
    for (int k = 1; k < 40; ++k) {
        term *= -halfSq / (static_cast<double>(k) * (k + 1));
        sum += term;
        if (std::fabs(term) < 1e-17 * std::fabs(sum)) break;
    }
    return sum;
}

// P1 and Q1 of the large-argument form of J1 (Hankel's asymptotic series with
// mu = 4), accurate to better than 1e-9 from x = 8 on.
double Image::KernelBessel_P1(double x) {
    const double z = 8.0 * x;
    const double z2 = z * z;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 6; ++k) {
        const double m1 = static_cast<double>(4 * k - 3);
        const double m2 = static_cast<double>(4 * k - 1);
        term *= -(4.0 - m1 * m1) * (4.0 - m2 * m2) / ((2.0 * k - 1.0) * (2.0 * k) * z2);
        sum += term;
    }
    return sum;
}

double Image::KernelBessel_Q1(double x) {
    const double z = 8.0 * x;
    const double z2 = z * z;
    double term = (4.0 - 1.0) / z;
    double sum = term;
    for (int k = 1; k <= 6; ++k) {
        const double m1 = static_cast<double>(4 * k - 1);
        const double m2 = static_cast<double>(4 * k + 1);
        term *= -(4.0 - m1 * m1) * (4.0 - m2 * m2) / ((2.0 * k) * (2.0 * k + 1.0) * z2);
        sum += term;
    }
    return sum;
}

double Image::KernelBessel_Order1(double x) {
    const double ax = std::fabs(x);
    if (ax < 8.0) return KernelBessel_J1(x);
    const double phase = ax - 3.0 * std::numbers::pi / 4.0;
    const double j1 = std::sqrt(2.0 / (std::numbers::pi * ax)) *
                      (KernelBessel_P1(ax) * std::cos(phase) - KernelBessel_Q1(ax) * std::sin(phase));
    return x < 0.0 ? -j1 : j1;
}

float Image::KernelGaussian(float t) {
    return std::exp(-2.0f * t * t) * 0.79788456f;
}

float Image::KernelQuadratic(float t) {
    t = std::fabs(t);
    if (t <= 0.5f) return 0.75f - t * t;
    if (t <= 1.5f) return 0.5f * (t - 1.5f) * (t - 1.5f);
    return 0.0f;
}

float Image::KernelMitchell(float t) {
    t = std::fabs(t);
    if (t < 1.0f) return (7.0f / 6.0f) * t * t * t - 2.0f * t * t + 8.0f / 9.0f;
    if (t < 2.0f) return -(7.0f / 18.0f) * t * t * t + 2.0f * t * t - (10.0f / 3.0f) * t + 16.0f / 9.0f;
    return 0.0f;
}

float Image::KernelCatrom(float t) {
    t = std::fabs(t);
    if (t < 1.0f) return (3.0f * t * t * t - 5.0f * t * t + 2.0f) / 2.0f;
    if (t < 2.0f) return (-t * t * t + 5.0f * t * t - 8.0f * t + 4.0f) / 2.0f;
    return 0.0f;
}

// ---- positions outside the image ----

void Image::OverflowCoordinates(int32_t& x, int32_t& y, OverflowMethod overflow) const {
    const int64_t w = head.biWidth, h = head.biHeight;
    if (w <= 0 || h <= 0) return;
    const auto wrap = [](int64_t c, int64_t size) { return ((c % size) + size) % size; };
    const auto mirror = [](int64_t c, int64_t size) { return c < 0 ? (-c) % size : size - (c % size) - 1; };
    int64_t cx = x, cy = y;
    switch (overflow) {
    case OM_WRAP:
        cx = wrap(cx, w);
        cy = wrap(cy, h);
        break;
    case OM_REPEAT:
        cx = std::clamp<int64_t>(cx, 0, w - 1);
        cy = std::clamp<int64_t>(cy, 0, h - 1);
        break;
    case OM_MIRROR:
        if (cx < 0 || cx >= w) cx = mirror(cx, w);
        if (cy < 0 || cy >= h) cy = mirror(cy, h);
        break;
    default:
        return;
    }
    x = static_cast<int32_t>(cx);
    y = static_cast<int32_t>(cy);
}

void Image::OverflowCoordinates(float& x, float& y, OverflowMethod overflow) const {
    const float w = static_cast<float>(head.biWidth), h = static_cast<float>(head.biHeight);
    if (w <= 0.0f || h <= 0.0f || !std::isfinite(x) || !std::isfinite(y)) return;
    const auto wrap = [](float c, float size) {
        c = std::fmod(c, size);
        return c < 0.0f ? c + size : c;
    };
    const auto mirror = [](float c, float size) {
        return c < 0.0f ? std::fmod(-c, size) : size - std::fmod(c, size) - 1.0f;
    };
    switch (overflow) {
    case OM_WRAP:
        x = wrap(x, w);
        y = wrap(y, h);
        break;
    case OM_REPEAT:
        x = std::clamp(x, 0.0f, w - 1.0f);
        y = std::clamp(y, 0.0f, h - 1.0f);
        break;
    case OM_MIRROR:
        if (x < 0.0f || x >= w) x = mirror(x, w);
        if (y < 0.0f || y >= h) y = mirror(y, h);
        break;
    default:
        break;
    }
}

RGBQUAD Image::GetPixelColorWithOverflow(int32_t x, int32_t y, OverflowMethod overflow,
                                         const RGBQUAD* replacementColour) const {
    if (!pDib) return RGBQUAD{};
    if (!IsInside(x, y)) {
        const RGBQUAD replacement = replacementColour ? *replacementColour : RGBQUAD{255, 255, 255, 0};
        const auto transparentColour = [&]() {
            return head.biClrUsed ? GetPaletteColor(static_cast<uint8_t>(info.transIndex)) : info.transColor;
        };
        switch (overflow) {
        case OM_BACKGROUND:
            return info.transIndex >= 0 ? transparentColour() : replacement;
        case OM_TRANSPARENT:
            if (pAlpha) {
                RGBQUAD c = replacement;
                c.rgbReserved = 0;
                return c;
            }
            return info.transIndex >= 0 ? transparentColour() : replacement;
        case OM_WRAP:
        case OM_REPEAT:
        case OM_MIRROR:
            OverflowCoordinates(x, y, overflow);
            break;
        default:
            return replacement;
        }
    }
    return BlindGetPixelColor(x, y, true);
}

// ---- samplers ----

RGBQUAD Image::GetPixelColorInterpolated(float x, float y, InterpolationMethod method,
                                         OverflowMethod overflow, const RGBQUAD* replacementColour) const {
    if (!pDib) return RGBQUAD{};
    if (method == IM_NEAREST_NEIGHBOUR)
        return GetPixelColorWithOverflow(TruncToInt(x + 0.5f), TruncToInt(y + 0.5f), overflow,
                                         replacementColour);

    const Window win = WindowOf(method);
    const int32_t w = head.biWidth, h = head.biHeight;
    int32_t x0 = FloorToInt(x) - win.before;
    int32_t y0 = FloorToInt(y) - win.before;
    const bool inside = x0 >= 0 && y0 >= 0 && x0 + win.size <= w && y0 + win.size <= h;
    if (!inside) {
        const bool disjoint = x0 + win.size <= 0 || y0 + win.size <= 0 || x0 >= w || y0 >= h;
        if (disjoint && overflow <= OM_TRANSPARENT)
            return GetPixelColorWithOverflow(-1, -1, overflow, replacementColour);
        OverflowCoordinates(x, y, overflow);
        x0 = FloorToInt(x) - win.before;
        y0 = FloorToInt(y) - win.before;
    }

    float wx[kMaxWindow], wy[kMaxWindow];
    AxisWeights(win, method, x, x0, wx);
    AxisWeights(win, method, y, y0, wy);

    float b = 0.0f, g = 0.0f, r = 0.0f, a = 0.0f;
    if (inside && head.biClrUsed == 0) {
        float sums[4] = {};
        const uint8_t* first =
            info.pixels + static_cast<size_t>(y0) * info.effWidth + static_cast<size_t>(x0) * 3;
        const uint8_t* firstAlpha =
            pAlpha ? pAlpha.get() + static_cast<size_t>(y0) * GetWidth() + x0 : nullptr;
        if (win.size == 2)
            SumWindow<2>(first, info.effWidth, firstAlpha, GetWidth(), wx, wy, 2, sums);
        else if (win.size == 4)
            SumWindow<4>(first, info.effWidth, firstAlpha, GetWidth(), wx, wy, 4, sums);
        else
            SumWindow<0>(first, info.effWidth, firstAlpha, GetWidth(), wx, wy, win.size, sums);
        b = sums[0];
        g = sums[1];
        r = sums[2];
        a = sums[3];
    } else {
        for (int j = 0; j < win.size; ++j)
            for (int i = 0; i < win.size; ++i) {
                const RGBQUAD c = GetPixelColorWithOverflow(x0 + i, y0 + j, overflow, replacementColour);
                const float k = wx[i] * wy[j];
                b += k * c.rgbBlue;
                g += k * c.rgbGreen;
                r += k * c.rgbRed;
                a += k * c.rgbReserved;
            }
    }
    return RGBQUAD{ClampTrunc(b), ClampTrunc(g), ClampTrunc(r), pAlpha ? ClampTrunc(a) : uint8_t{0}};
}

RGBQUAD Image::GetAreaColorInterpolated(float x, float y, float width, float height,
                                        InterpolationMethod method, OverflowMethod overflow,
                                        const RGBQUAD* replacementColour) const {
    if (!pDib) return RGBQUAD{};
    if (width <= 1.0f && height <= 1.0f)
        return GetPixelColorInterpolated(x, y, method, overflow, replacementColour);

    const AreaSpan sx = AreaSpan::Make(x, width), sy = AreaSpan::Make(y, height);
    const bool direct = sx.averaged && sy.averaged && head.biClrUsed == 0 && sx.Inside(head.biWidth) &&
                        sy.Inside(head.biHeight);
    // Row by row: each row's sums weighted by its cover, then added up (the
    // order Resample2's row loop keeps).
    double b = 0.0, g = 0.0, r = 0.0, a = 0.0, total = 0.0;
    for (int32_t j = sy.first; j <= sy.last; ++j) {
        const float cy = sy.Cover(j);
        if (cy <= 0.0f) continue;
        const uint8_t* row = direct ? info.pixels + static_cast<size_t>(j) * info.effWidth : nullptr;
        const uint8_t* rowAlpha =
            direct && pAlpha ? pAlpha.get() + static_cast<size_t>(j) * GetWidth() : nullptr;
        double rb = 0.0, rg = 0.0, rr = 0.0, ra = 0.0, rt = 0.0;
        for (int32_t i = sx.first; i <= sx.last; ++i) {
            const float cx = sx.Cover(i);
            if (cx <= 0.0f) continue;
            RGBQUAD c;
            if (direct) {
                const uint8_t* p = row + static_cast<size_t>(i) * 3;
                c = RGBQUAD{p[0], p[1], p[2], rowAlpha ? rowAlpha[i] : uint8_t{0}};
            } else if (sx.averaged && sy.averaged) {
                c = GetPixelColorWithOverflow(i, j, overflow, replacementColour);
            } else {
                c = GetPixelColorInterpolated(sx.averaged ? static_cast<float>(i) : x,
                                              sy.averaged ? static_cast<float>(j) : y, method, overflow,
                                              replacementColour);
            }
            const double k = cx;
            rb += k * c.rgbBlue;
            rg += k * c.rgbGreen;
            rr += k * c.rgbRed;
            ra += k * c.rgbReserved;
            rt += k;
        }
        const double k = cy;
        b += k * rb;
        g += k * rg;
        r += k * rr;
        a += k * ra;
        total += k * rt;
    }
    if (total <= 0.0) return GetPixelColorInterpolated(x, y, method, overflow, replacementColour);
    // Rounded rather than truncated: an average of equal values must give that value.
    return RGBQUAD{ClampRound(b / total), ClampRound(g / total), ClampRound(r / total),
                   pAlpha ? ClampRound(a / total) : uint8_t{0}};
}

} // namespace vimg
