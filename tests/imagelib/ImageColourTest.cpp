// Colour-space conversions: fixed points worked out by hand from the formulas,
// and round trips that may only lose what the truncations lose.
#include "Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>

using vimg::Image;
using vimg::RGBQUAD;

namespace {

RGBQUAD Rgb(int r, int g, int b, int reserved = 0) {
    RGBQUAD c;
    c.rgbRed = static_cast<uint8_t>(r);
    c.rgbGreen = static_cast<uint8_t>(g);
    c.rgbBlue = static_cast<uint8_t>(b);
    c.rgbReserved = static_cast<uint8_t>(reserved);
    return c;
}

// Largest channel difference after converting every colour of a 5-step grid
// there and back; `skip` leaves out colours the caller does not want measured.
template <typename Skip> int WorstRoundTrip(RGBQUAD (*to)(RGBQUAD), RGBQUAD (*back)(RGBQUAD), Skip skip) {
    int worst = 0;
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                if (skip(r, g, b)) continue;
                const RGBQUAD c = back(to(Rgb(r, g, b)));
                worst = std::max(
                    {worst, std::abs(c.rgbRed - r), std::abs(c.rgbGreen - g), std::abs(c.rgbBlue - b)});
            }
    return worst;
}

// An exact fraction, kept reduced with a positive denominator.
struct Fraction {
    int64_t n, d;
};
Fraction Reduced(int64_t n, int64_t d) {
    const int64_t g = std::gcd(n, d) * (d < 0 ? -1 : 1);
    return {n / g, d / g};
}
Fraction operator+(Fraction a, Fraction b) { return Reduced(a.n * b.d + b.n * a.d, a.d * b.d); }
Fraction operator-(Fraction a, Fraction b) { return Reduced(a.n * b.d - b.n * a.d, a.d * b.d); }
Fraction operator*(Fraction a, Fraction b) { return Reduced(a.n * b.n, a.d * b.d); }
Fraction operator/(Fraction a, Fraction b) { return Reduced(a.n * b.d, a.d * b.n); }
bool operator<(Fraction a, Fraction b) { return a.n * b.d < b.n * a.d; }
int Floor(Fraction a) { return static_cast<int>(a.n >= 0 ? a.n / a.d : -((-a.n + a.d - 1) / a.d)); }

// HSL → RGB written literally from the textbook formula, in exact fractions.
Fraction HueExact(Fraction m1, Fraction m2, Fraction hue) {
    const Fraction f360{360, 1}, f60{60, 1};
    if (f360 < hue)
        hue = hue - f360;
    else if (hue < Fraction{0, 1})
        hue = hue + f360;
    if (hue < f60) return m1 + (m2 - m1) * hue / f60;
    if (hue < Fraction{180, 1}) return m2;
    if (hue < Fraction{240, 1}) return m1 + (m2 - m1) * (Fraction{240, 1} - hue) / f60;
    return m1;
}

RGBQUAD HslToRgbExact(int H, int S, int L) {
    const Fraction h{H * 360, 255}, s{S, 255}, l{L, 255}, one{1, 1}, f255{255, 1};
    if (S == 0) return Rgb(Floor(l * f255), Floor(l * f255), Floor(l * f255));
    const Fraction m2 = Fraction{1, 2} < l ? l + s - l * s : l * (one + s);
    const Fraction m1 = Fraction{2, 1} * l - m2;
    return Rgb(Floor(HueExact(m1, m2, h + Fraction{120, 1}) * f255), Floor(HueExact(m1, m2, h) * f255),
               Floor(HueExact(m1, m2, h - Fraction{120, 1}) * f255));
}

} // namespace

TEST(ImageColour, HslToRgbEqualsExactArithmeticOverTheWholeCube) {
    // Full saturation at L 128: red reaches 255 (floating point gave 254).
    EXPECT_EQ(Image::HSLtoRGB(Rgb(0, 255, 128)), Rgb(255, 1, 1));
    int mismatches = 0;
    for (int h = 0; h < 256; ++h)
        for (int s = 0; s < 256; ++s)
            for (int l = 0; l < 256; ++l) {
                const RGBQUAD want = HslToRgbExact(h, s, l);
                const RGBQUAD got = Image::HSLtoRGB(Rgb(h, s, l));
                if (!(got == want) && ++mismatches <= 5)
                    ADD_FAILURE() << "HSL " << h << "," << s << "," << l << " gives " << int(got.rgbRed)
                                  << "," << int(got.rgbGreen) << "," << int(got.rgbBlue) << " not "
                                  << int(want.rgbRed) << "," << int(want.rgbGreen) << ","
                                  << int(want.rgbBlue);
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(ImageColour, GreysHaveUndefinedHueZeroSaturationAndTheirOwnLightness) {
    for (int v = 0; v < 256; ++v) {
        const RGBQUAD hsl = Image::RGBtoHSL(Rgb(v, v, v));
        ASSERT_EQ(hsl.rgbRed, 170) << v;
        ASSERT_EQ(hsl.rgbGreen, 0) << v;
        ASSERT_EQ(hsl.rgbBlue, v) << v;
        const RGBQUAD back = Image::HSLtoRGB(hsl);
        ASSERT_LE(std::abs(back.rgbRed - v), 1) << v;
        ASSERT_TRUE(back.rgbRed == back.rgbGreen && back.rgbGreen == back.rgbBlue) << v;
    }
}

TEST(ImageColour, HslOfPrimariesAndAWrappedHue) {
    EXPECT_EQ(Image::RGBtoHSL(Rgb(255, 0, 0)), Rgb(0, 255, 128));
    EXPECT_EQ(Image::RGBtoHSL(Rgb(0, 255, 0)), Rgb(85, 255, 128));
    EXPECT_EQ(Image::RGBtoHSL(Rgb(0, 0, 255)), Rgb(170, 255, 128));
    // Red is the maximum and blue exceeds green: Bd - Gd = 21 - 42 wraps to 235.
    EXPECT_EQ(Image::RGBtoHSL(Rgb(255, 0, 128)).rgbRed, 235);
    // Dark colours (L <= 127) divide by max + min.
    EXPECT_EQ(Image::RGBtoHSL(Rgb(100, 50, 50)), Rgb(0, 85, 75));
}

TEST(ImageColour, ConversionsLeaveTheReservedByteAlone) {
    const RGBQUAD c = Rgb(10, 200, 90, 77);
    EXPECT_EQ(Image::RGBtoHSL(c).rgbReserved, 77);
    EXPECT_EQ(Image::HSLtoRGB(c).rgbReserved, 77);
    EXPECT_EQ(Image::RGBtoYUV(c).rgbReserved, 77);
    EXPECT_EQ(Image::YIQtoRGB(c).rgbReserved, 77);
    EXPECT_EQ(Image::RGBtoXYZ(c).rgbReserved, 77);
}

TEST(ImageColour, HueToRgbPiecesAndWrapping) {
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, 30.0f), 0.5f);
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, 100.0f), 0.8f);
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, 210.0f), 0.5f);
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, 300.0f), 0.2f);
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, 390.0f), 0.5f);  // 390 - 360
    EXPECT_FLOAT_EQ(Image::HueToRGB(0.2f, 0.8f, -150.0f), 0.5f); // -150 + 360
}

TEST(ImageColour, WhiteAndBlackInYuvYiqXyz) {
    const RGBQUAD yuv = Image::RGBtoYUV(Rgb(255, 255, 255));
    EXPECT_GE(yuv.rgbRed, 254);
    EXPECT_EQ(yuv.rgbGreen, 128);
    EXPECT_EQ(yuv.rgbBlue, 128);
    EXPECT_EQ(Image::RGBtoYUV(Rgb(0, 0, 0)), Rgb(0, 128, 128));
    EXPECT_EQ(Image::RGBtoYIQ(Rgb(0, 0, 0)), Rgb(0, 128, 128));
    const RGBQUAD xyz = Image::RGBtoXYZ(Rgb(255, 255, 255));
    EXPECT_EQ(xyz.rgbRed, 242);   // 0.950456 * 255
    EXPECT_GE(xyz.rgbGreen, 254); // 1.000000 * 255
    EXPECT_GE(xyz.rgbBlue, 254);  // must not wrap past 255 to a small value
}

TEST(ImageColour, KnownYuvYiqXyzValues) {
    // Y = 0.299 * 200 + 0.587 * 100 + 0.114 * 50 = 124.2 -> 124;
    // U = (50 - 124) * 0.565 + 128 = 86.19; V = (200 - 124) * 0.713 + 128 = 182.19.
    EXPECT_EQ(Image::RGBtoYUV(Rgb(200, 100, 50)), Rgb(124, 86, 182));
    // Y = 59.84 + 58.68 + 5.7; I = 119.2 - 27.42 - 16.095 + 128; Q = 42.18 - 52.29 + 15.6 + 128.
    EXPECT_EQ(Image::RGBtoYIQ(Rgb(200, 100, 50)), Rgb(124, 203, 133));
    // Pure red in YIQ: I = 0.596 * 255 + 128 = 279.98 clamps to 255.
    EXPECT_EQ(Image::RGBtoYIQ(Rgb(255, 0, 0)).rgbGreen, 255);
}

TEST(ImageColour, RoundTripsLoseOnlyWhatTheTruncationsLose) {
    const auto none = [](int, int, int) { return false; };
    // Y, U, V are truncated before the way back and again after it, and the
    // rounded coefficients are not exact inverses of each other.
    EXPECT_LE(WorstRoundTrip(Image::RGBtoYUV, Image::YUVtoRGB, none), 3);
    EXPECT_LE(WorstRoundTrip(Image::RGBtoXYZ, Image::XYZtoRGB, none), 4);
    // Saturated colours whose I or Q falls outside -128..127 are clamped and
    // cannot come back; all others must.
    const auto iqClamped = [](int r, int g, int b) {
        const double i = 0.596 * r - 0.2742 * g - 0.3219 * b;
        const double q = 0.2109 * r - 0.5229 * g + 0.312 * b;
        return i <= -128 || i >= 127 || q <= -128 || q >= 127;
    };
    EXPECT_LE(WorstRoundTrip(Image::RGBtoYIQ, Image::YIQtoRGB, iqClamped), 3);
    // Hue steps of 42 per sextant span 252 of the 255 hue units, so hues from
    // magenta to red (214..255) come back up to 3 units (4 degrees) off;
    // elsewhere only the step size and truncations count.
    const auto magentaToRed = [](int r, int g, int b) { return Image::RGBtoHSL(Rgb(r, g, b)).rgbRed >= 213; };
    const auto notMagentaToRed = [&](int r, int g, int b) { return !magentaToRed(r, g, b); };
    EXPECT_LE(WorstRoundTrip(Image::RGBtoHSL, Image::HSLtoRGB, magentaToRed), 6);
    EXPECT_LE(WorstRoundTrip(Image::RGBtoHSL, Image::HSLtoRGB, notMagentaToRed), 12);
}
