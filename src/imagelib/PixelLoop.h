// Helpers shared by the pixel operations: the working region, clamping and the
// grey value.
#pragma once

#include "ImageTypes.h"

#include <cstdint>

namespace vimg {

class Image;

// Pixels x0 <= x < x1, y0 <= y < y1 (y counts from the bottom row).
struct PixelBox {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
};

// The selection box when a selection exists, else the whole image.
PixelBox WorkingBox(const Image& image);

inline uint8_t ClampByte(int32_t v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}
inline uint8_t ClampByte(int64_t v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Brightness weights scaled by 1024; comparing the unshifted sums orders two
// colours more finely than their grey values do.
inline int GreyWeightSum(uint8_t red, uint8_t green, uint8_t blue) {
    return 306 * red + 601 * green + 117 * blue;
}
inline int GreyWeightSum(RGBQUAD c) {
    return GreyWeightSum(c.rgbRed, c.rgbGreen, c.rgbBlue);
}
inline uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>(GreyWeightSum(red, green, blue) >> 10);
}
inline uint8_t GreyOf(RGBQUAD c) {
    return GreyOf(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

} // namespace vimg
