// Helpers shared by the pixel operations: the working region, clamping, the
// grey value and the row loop with progress, escape and optional row bands
// on several threads.
#pragma once

#include "ImageTypes.h"

#include <cstdint>
#include <functional>

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

inline uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>((306 * red + 601 * green + 117 * blue) >> 10);
}
inline uint8_t GreyOf(RGBQUAD c) {
    return GreyOf(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

// Progress reporting of one row loop: progress = lo + (hi - lo) * y / height.
struct RowProgress {
    int32_t* progress = nullptr;
    int32_t* escape = nullptr;
    int32_t height = 1;
    int32_t lo = 0;
    int32_t hi = 100;
};

// Calls row(y) for y0 <= y < y1, setting progress before each row and stopping
// before a row once escape is non-zero (unless checkEscape is false). With
// `parallel` the rows are split into bands run on the available cores; row()
// must then only write data that belongs to its own row. Returns false when
// escape stopped the loop.
bool ForEachRow(const RowProgress& p, int32_t y0, int32_t y1, bool parallel,
                const std::function<void(int32_t)>& row, bool checkEscape = true);

} // namespace vimg

namespace vimg {

// Makes `dst` a new width x height image of `bpp` bits with src's information
// block (type, resolution, options) but no transparent index, selection or alpha.
bool CreateWithDepth(Image& dst, const Image& src, uint32_t bpp);

} // namespace vimg
