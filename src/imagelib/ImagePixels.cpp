// Pixel access: checked reads and writes, blending, lines, and the unchecked
// forms the library's own loops use.
#include "Image.h"

#include "PixelLoop.h"

#include <cstdlib>

namespace vimg {

uint8_t Image::GetPixelIndex(int32_t x, int32_t y) const {
    if (!pDib || head.biClrUsed == 0) return 0;
    if (!IsInside(x, y)) {
        if (info.transIndex >= 0) return static_cast<uint8_t>(info.transIndex);
        return *info.pixels;
    }
    return BlindGetPixelIndex(x, y);
}

uint8_t Image::BlindGetPixelIndex(int32_t x, int32_t y) const {
    const uint8_t* row = info.pixels + static_cast<size_t>(y) * info.effWidth;
    switch (head.biBitCount) {
    case 8: return row[x];
    case 4: {
        const uint8_t b = row[x >> 1];
        return (x & 1) ? (b & 0x0F) : (b >> 4);
    }
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default: return 0;
    }
}

void Image::SetPixelIndex(int32_t x, int32_t y, uint8_t index) {
    if (!pDib || head.biClrUsed == 0 || !IsInside(x, y)) return;
    BlindSetPixelIndex(x, y, index);
}

void Image::BlindSetPixelIndex(int32_t x, int32_t y, uint8_t index) {
    uint8_t* row = info.pixels + static_cast<size_t>(y) * info.effWidth;
    switch (head.biBitCount) {
    case 8: row[x] = index; break;
    case 4: {
        uint8_t& b = row[x >> 1];
        if (x & 1) b = static_cast<uint8_t>((b & 0xF0) | (index & 0x0F));
        else b = static_cast<uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    case 1: {
        uint8_t& b = row[x >> 3];
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
        if (index & 1) b |= mask;
        else b &= static_cast<uint8_t>(~mask);
        break;
    }
    default: break;
    }
}

RGBQUAD Image::GetPixelColor(int32_t x, int32_t y, bool withAlpha) const {
    if (!pDib) return info.transColor;
    if (!IsInside(x, y)) {
        if (info.transIndex >= 0) {
            if (head.biBitCount < 24) return GetPaletteColor(static_cast<uint8_t>(info.transIndex));
            return info.transColor;
        }
        x = 0;
        y = 0;
    }
    RGBQUAD c;
    if (head.biClrUsed) {
        c = GetPaletteColor(BlindGetPixelIndex(x, y));
    } else {
        const uint8_t* p = BlindGetPixelPointer(x, y);
        c.rgbBlue = p[0];
        c.rgbGreen = p[1];
        c.rgbRed = p[2];
        c.rgbReserved = info.transColor.rgbReserved;
    }
    if (pAlpha && withAlpha) c.rgbReserved = BlindAlphaGet(x, y);
    return c;
}

RGBQUAD Image::BlindGetPixelColor(int32_t x, int32_t y, bool withAlpha) const {
    RGBQUAD c;
    if (head.biClrUsed) {
        c = GetPalette()[BlindGetPixelIndex(x, y)];
    } else {
        const uint8_t* p = BlindGetPixelPointer(x, y);
        c.rgbBlue = p[0];
        c.rgbGreen = p[1];
        c.rgbRed = p[2];
        c.rgbReserved = 0;
    }
    if (pAlpha && withAlpha) c.rgbReserved = BlindAlphaGet(x, y);
    return c;
}

uint8_t* Image::BlindGetPixelPointer(int32_t x, int32_t y) const {
    if (head.biClrUsed) return nullptr;
    return info.pixels + static_cast<size_t>(y) * info.effWidth + static_cast<size_t>(x) * 3;
}

uint8_t Image::BlindAlphaGet(int32_t x, int32_t y) const {
    return pAlpha.get()[static_cast<size_t>(y) * GetWidth() + x];
}

void Image::SetPixelColor(int32_t x, int32_t y, RGBQUAD colour, bool setAlpha) {
    if (!pDib || !IsInside(x, y)) return;
    if (head.biClrUsed) {
        BlindSetPixelIndex(x, y, GetNearestIndex(colour));
    } else {
        uint8_t* p = BlindGetPixelPointer(x, y);
        p[0] = colour.rgbBlue;
        p[1] = colour.rgbGreen;
        p[2] = colour.rgbRed;
    }
    if (setAlpha && pAlpha) pAlpha.get()[static_cast<size_t>(y) * GetWidth() + x] = colour.rgbReserved;
}

void Image::SetPixelColor(int32_t x, int32_t y, COLORREF colour) {
    SetPixelColor(x, y, RGBtoRGBQUAD(colour), false);
}

uint8_t Image::GetPixelGray(int32_t x, int32_t y) const {
    return GreyOf(GetPixelColor(x, y, false));
}

void Image::BlendPixelColor(int32_t x, int32_t y, RGBQUAD colour, float blend, bool setAlpha) {
    if (!pDib || !IsInside(x, y)) return;
    int a = static_cast<int>(blend * 256.0f);
    if (a < 0) a = 0;
    if (a > 256) a = 256;
    const int ia = 256 - a;
    const RGBQUAD old = GetPixelColor(x, y, false);
    RGBQUAD mixed;
    mixed.rgbBlue = static_cast<uint8_t>((old.rgbBlue * ia + colour.rgbBlue * a) >> 8);
    mixed.rgbGreen = static_cast<uint8_t>((old.rgbGreen * ia + colour.rgbGreen * a) >> 8);
    mixed.rgbRed = static_cast<uint8_t>((old.rgbRed * ia + colour.rgbRed * a) >> 8);
    mixed.rgbReserved = colour.rgbReserved;
    SetPixelColor(x, y, mixed, setAlpha);
}

void Image::DrawLine(int32_t startX, int32_t endX, int32_t startY, int32_t endY, RGBQUAD colour,
                     bool setAlpha) {
    if (!pDib) return;
    int32_t x = startX;
    int32_t y = startY;
    const int32_t dx = std::abs(endX - startX);
    const int32_t dy = -std::abs(endY - startY);
    const int32_t sx = startX < endX ? 1 : -1;
    const int32_t sy = startY < endY ? 1 : -1;
    int32_t err = dx + dy;
    for (;;) {
        SetPixelColor(x, y, colour, setAlpha);
        if (x == endX && y == endY) break;
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Image::DrawLine(int32_t startX, int32_t endX, int32_t startY, int32_t endY, COLORREF colour) {
    DrawLine(startX, endX, startY, endY, RGBtoRGBQUAD(colour), false);
}

} // namespace vimg
