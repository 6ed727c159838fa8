// Putting an image on the platform device context: the view's drawing with
// transparency and alpha blending (Draw), masked stretching (Draw2), plain
// stretching with a raster operation (Stretch) and tiling (Tile). Only the
// part of the destination inside the context's clip box is composed.
// Drawing never changes the image; each function returns 0 when nothing was
// drawn, else 1.
#pragma once

#include <cstdint>

#include <QRect>

#include "DeviceContext.h"
#include "Image.h"

namespace vimg::display {

// Raster operations: bits 16..23 hold the truth table of the result over
// pattern (bit 2 of the entry index), source (bit 1) and destination (bit 0).
// The pattern is the context's default brush, white.
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t DSTINVERT = 0x00550009;

// Draws the image into (x, y, cx, cy); a negative cx or cy stands for the
// image's width or height, 0 draws nothing, as does a disabled image. `clip`
// narrows the drawing further. With a transparent colour or index, an alpha
// plane or palette alpha the picture is blended over what the device shows;
// otherwise it is copied. Scaled pictures show the nearest pixel or, with
// `smooth`, a bilinear sample.
long Draw(const Image& image, CDeviceContext* dc, int x, int y, int cx = -1, int cy = -1,
          const QRect* clip = nullptr, bool smooth = false);
long Draw(const Image& image, CDeviceContext* dc, const QRect& rect, const QRect* clip = nullptr,
          bool smooth = false);

// Stretches the image into (x, y, cx, cy) showing nearest pixels; pixels of
// the transparent colour (the palette colour of the transparent index for
// palette images) leave the device as it was. Sizes as for Draw.
long Draw2(const Image& image, CDeviceContext* dc, int x, int y, int cx = -1, int cy = -1);
long Draw2(const Image& image, CDeviceContext* dc, const QRect& rect);

// Stretches the whole image into (x, y, cx, cy) showing nearest pixels and
// combines them with the device through the raster operation. Sizes as for
// Draw; transparency, alpha and the enabled flag play no part.
long Stretch(const Image& image, CDeviceContext* dc, int x, int y, int cx, int cy, uint32_t rop = SRCCOPY);
long Stretch(const Image& image, CDeviceContext* dc, const QRect& rect, uint32_t rop = SRCCOPY);

// Repeats Draw at natural size from the rectangle's top-left corner in rows
// and columns; the last row and column are cut at the rectangle.
long Tile(const Image& image, CDeviceContext* dc, const QRect& rect);

} // namespace vimg::display
