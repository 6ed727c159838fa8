// The RGB <-> YUV pair used inside hot pixel loops (histogram equalisation and
// normalisation map luma per pixel), kept inline so those loops can inline it.
// Image::RGBtoYUV and Image::YUVtoRGB are these same functions.
#pragma once

#include "ImageTypes.h"

namespace vimg::colourspace {

// Clamps to 0..255 and truncates toward zero.
inline uint8_t ClampByte(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return static_cast<uint8_t>(v);
}

inline RGBQUAD WithComponents(RGBQUAD colour, uint8_t red, uint8_t green, uint8_t blue) {
    colour.rgbRed = red;
    colour.rgbGreen = green;
    colour.rgbBlue = blue;
    return colour;
}

inline RGBQUAD RgbToYuv(RGBQUAD colour) {
    const float r = colour.rgbRed;
    const float g = colour.rgbGreen;
    const float b = colour.rgbBlue;
    // Y is truncated before the colour differences are taken.
    const float y = static_cast<float>(static_cast<int>(0.299f * r + 0.587f * g + 0.114f * b));
    const float u = (b - y) * 0.565f + 128.0f;
    const float v = (r - y) * 0.713f + 128.0f;
    return WithComponents(colour, ClampByte(y), ClampByte(u), ClampByte(v));
}

inline RGBQUAD YuvToRgb(RGBQUAD colour) {
    const float y = colour.rgbRed;
    const float u = static_cast<float>(colour.rgbGreen) - 128.0f;
    const float v = static_cast<float>(colour.rgbBlue) - 128.0f;
    return WithComponents(colour, ClampByte(y + 1.403f * v), ClampByte(y - 0.344f * u - 0.714f * v),
                          ClampByte(y + 1.770f * u));
}

} // namespace vimg::colourspace
