// Colour-space conversions between RGB and HSL, YUV, YIQ and XYZ. A converted
// colour keeps its components in the red, green and blue bytes of an RGBQUAD,
// so whole images can pass through the same pixel loops in either space.
#include "Image.h"

#include "ColourSpace.h"

#include <algorithm>

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

RGBQUAD Image::HSLtoRGB(RGBQUAD colour) {
    const float h = static_cast<float>(colour.rgbRed) * 360.0f / 255.0f;
    const float s = static_cast<float>(colour.rgbGreen) / 255.0f;
    const float l = static_cast<float>(colour.rgbBlue) / 255.0f;
    if (s == 0.0f) {
        const uint8_t v = ClampByte(l * 255.0f);
        return WithComponents(colour, v, v, v);
    }
    const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    return WithComponents(colour, ClampByte(HueToRGB(m1, m2, h + 120.0f) * 255.0f),
                          ClampByte(HueToRGB(m1, m2, h) * 255.0f),
                          ClampByte(HueToRGB(m1, m2, h - 120.0f) * 255.0f));
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
