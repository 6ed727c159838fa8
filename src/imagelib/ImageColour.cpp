// Colour-space conversions between RGB and HSL, YUV, YIQ and XYZ. A converted
// colour keeps its components in the red, green and blue bytes of an RGBQUAD,
// so whole images can pass through the same pixel loops in either space.
#include "Image.h"

#include "ColourSpace.h"

#include <algorithm>
#include <cstdint>

namespace vimg {

using colourspace::ClampByte;
using colourspace::WithComponents;

// Integer HSL on a 0..255 scale; hue 170 marks an undefined hue (greys).
RGBQUAD Image::RGBtoHSL(RGBQUAD colour) {
    const int r = colour.rgbRed;
    const int g = colour.rgbGreen;
    const int b = colour.rgbBlue;
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});
    const int l = ((cMax + cMin) * 255 + 255) / 510;
    int h = 170;
    int s = 0;
    if (cMax != cMin) {
        const int delta = cMax - cMin;
        const int sum = l <= 127 ? cMax + cMin : 510 - cMax - cMin;
        s = (delta * 255 + sum / 2) / sum;
        const int rd = ((cMax - r) * 42 + delta / 2) / delta;
        const int gd = ((cMax - g) * 42 + delta / 2) / delta;
        const int bd = ((cMax - b) * 42 + delta / 2) / delta;
        if (r == cMax)
            h = bd - gd;
        else if (g == cMax)
            h = 85 + rd - bd;
        else
            h = 170 + gd - rd;
        h = ((h % 256) + 256) % 256;
    }
    return WithComponents(colour, static_cast<uint8_t>(h), static_cast<uint8_t>(s), static_cast<uint8_t>(l));
}

float Image::HueToRGB(float m1, float m2, float hue) {
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;
    if (hue < 60.0f) return m1 + (m2 - m1) * hue / 60.0f;
    if (hue < 180.0f) return m2;
    if (hue < 240.0f) return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    return m1;
}

namespace {

// One channel of HSL → RGB in exact integer arithmetic. m1 and m2 are the usual
// helper values scaled by 255², the hue is in seventeenths of a degree
// (H × 360 / 255 = H × 24 / 17). The result is the truncated value × 255; in
// floating point, results that are whole numbers came out just below them.
uint8_t HueChannel(int64_t m1, int64_t m2, int64_t hue17) {
    constexpr int64_t full = 360 * 17, sixty = 60 * 17;
    if (hue17 > full)
        hue17 -= full;
    else if (hue17 < 0)
        hue17 += full;
    int64_t v = 0;
    if (hue17 < sixty)
        v = (m1 * sixty + (m2 - m1) * hue17) / (255 * sixty);
    else if (hue17 < 180 * 17)
        v = m2 / 255;
    else if (hue17 < 240 * 17)
        v = (m1 * sixty + (m2 - m1) * (240 * 17 - hue17)) / (255 * sixty);
    else
        v = m1 / 255;
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

} // namespace

RGBQUAD Image::HSLtoRGB(RGBQUAD colour) {
    const int64_t h = colour.rgbRed, s = colour.rgbGreen, l = colour.rgbBlue;
    if (s == 0)
        return WithComponents(colour, static_cast<uint8_t>(l), static_cast<uint8_t>(l),
                              static_cast<uint8_t>(l));
    const int64_t m2 = l <= 127 ? l * (255 + s) : 255 * l + 255 * s - l * s;
    const int64_t m1 = 2 * 255 * l - m2;
    const int64_t hue17 = 24 * h;
    return WithComponents(colour, HueChannel(m1, m2, hue17 + 120 * 17), HueChannel(m1, m2, hue17),
                          HueChannel(m1, m2, hue17 - 120 * 17));
}

RGBQUAD Image::HSLtoRGB(COLORREF colour) {
    return HSLtoRGB(RGBtoRGBQUAD(colour));
}

RGBQUAD Image::RGBtoYUV(RGBQUAD colour) { return colourspace::RgbToYuv(colour); }

RGBQUAD Image::YUVtoRGB(RGBQUAD colour) { return colourspace::YuvToRgb(colour); }

RGBQUAD Image::RGBtoYIQ(RGBQUAD colour) {
    const float r = colour.rgbRed;
    const float g = colour.rgbGreen;
    const float b = colour.rgbBlue;
    const float y = 0.2992f * r + 0.5868f * g + 0.114f * b;
    const float i = 0.596f * r - 0.2742f * g - 0.3219f * b + 128.0f;
    const float q = 0.2109f * r - 0.5229f * g + 0.312f * b + 128.0f;
    return WithComponents(colour, ClampByte(y), ClampByte(i), ClampByte(q));
}

RGBQUAD Image::YIQtoRGB(RGBQUAD colour) {
    const float y = colour.rgbRed;
    const float i = static_cast<float>(colour.rgbGreen) - 128.0f;
    const float q = static_cast<float>(colour.rgbBlue) - 128.0f;
    return WithComponents(colour, ClampByte(y + 0.956f * i + 0.621f * q),
                          ClampByte(y - 0.273f * i - 0.647f * q), ClampByte(y - 1.104f * i + 1.701f * q));
}

// Clamped as well as truncated: Z of pure white lands a hair above 255 in
// single precision and would otherwise wrap to 0.
RGBQUAD Image::RGBtoXYZ(RGBQUAD colour) {
    const float r = colour.rgbRed;
    const float g = colour.rgbGreen;
    const float b = colour.rgbBlue;
    const float x = 0.412453f * r + 0.35758f * g + 0.180423f * b;
    const float y = 0.212671f * r + 0.71516f * g + 0.072169f * b;
    const float z = (0.019334f * r + 0.119193f * g + 0.950227f * b) * 0.9184837f;
    return WithComponents(colour, ClampByte(x), ClampByte(y), ClampByte(z));
}

RGBQUAD Image::XYZtoRGB(RGBQUAD colour) {
    const float x = colour.rgbRed;
    const float y = colour.rgbGreen;
    const float z = static_cast<float>(colour.rgbBlue) * 1.088751f;
    return WithComponents(colour, ClampByte(3.240479f * x - 1.53715f * y - 0.498535f * z),
                          ClampByte(-0.969256f * x + 1.875992f * y + 0.041556f * z),
                          ClampByte(0.055648f * x - 0.204043f * y + 1.057311f * z));
}

} // namespace vimg
