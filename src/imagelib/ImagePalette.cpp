// Palette access and the nearest-colour search with its one-entry cache.
#include "Image.h"

#include <algorithm>
#include <cstring>

namespace vimg {

uint32_t Image::GetPaletteSize() const { return head.biClrUsed * static_cast<uint32_t>(sizeof(RGBQUAD)); }

RGBQUAD* Image::GetPalette() const {
    if (!pDib || head.biClrUsed == 0) return nullptr;
    return reinterpret_cast<RGBQUAD*>(static_cast<uint8_t*>(pDib.get()) + sizeof(BITMAPINFOHEADER));
}

RGBQUAD Image::GetPaletteColor(uint8_t index) const {
    const RGBQUAD* pal = GetPalette();
    if (!pal || index >= head.biClrUsed) return RGBQUAD{};
    return pal[index];
}

bool Image::GetPaletteColor(uint8_t index, uint8_t* r, uint8_t* g, uint8_t* b) const {
    const RGBQUAD* pal = GetPalette();
    if (!pal) return false;
    const RGBQUAD c = index < head.biClrUsed ? pal[index] : RGBQUAD{};
    if (r) *r = c.rgbRed;
    if (g) *g = c.rgbGreen;
    if (b) *b = c.rgbBlue;
    return true;
}

void Image::SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
    RGBQUAD* pal = GetPalette();
    if (!pal || index >= head.biClrUsed) return;
    pal[index] = RGBQUAD{b, g, r, alpha};
    ClearNearestCache();
}

void Image::SetPaletteColor(uint8_t index, RGBQUAD colour) {
    RGBQUAD* pal = GetPalette();
    if (!pal || index >= head.biClrUsed) return;
    pal[index] = colour;
    ClearNearestCache();
}

void Image::SetPaletteColor(uint8_t index, COLORREF colour) {
    SetPaletteColor(index, GetRValue(colour), GetGValue(colour), GetBValue(colour), 0);
}

void Image::SetPalette(const RGBQUAD* palette, uint32_t count) {
    RGBQUAD* pal = GetPalette();
    if (!pal || !palette) return;
    std::memcpy(pal, palette, std::min(count, head.biClrUsed) * sizeof(RGBQUAD));
    ClearNearestCache();
}

void Image::SetPalette(uint32_t count, const uint8_t* red, const uint8_t* green, const uint8_t* blue) {
    RGBQUAD* pal = GetPalette();
    if (!pal || !red) return;
    if (!green) green = red;
    if (!blue) blue = green;
    const uint32_t n = std::min(count, head.biClrUsed);
    for (uint32_t i = 0; i < n; ++i) pal[i] = RGBQUAD{blue[i], green[i], red[i], 0};
    ClearNearestCache();
}

void Image::SetPalette(const rgb_color* rgb, uint32_t count) {
    RGBQUAD* pal = GetPalette();
    if (!pal || !rgb) return;
    const uint32_t n = std::min(count, head.biClrUsed);
    for (uint32_t i = 0; i < n; ++i) pal[i] = RGBQUAD{rgb[i].b, rgb[i].g, rgb[i].r, 0};
    ClearNearestCache();
}

void Image::SetGrayPalette() {
    RGBQUAD* pal = GetPalette();
    if (!pal || head.biClrUsed < 2) return;
    const uint32_t step = 255 / (head.biClrUsed - 1);
    for (uint32_t i = 0; i < head.biClrUsed; ++i) {
        const auto v = static_cast<uint8_t>(i * step);
        pal[i] = RGBQUAD{v, v, v, 0};
    }
    ClearNearestCache();
}

void Image::SetStdPalette() {
    RGBQUAD* pal = GetPalette();
    if (!pal) return;
    // The sixteen classic display colours.
    static const uint8_t vga[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},     {128, 0, 128},
        {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    if (head.biClrUsed == 16) {
        for (int i = 0; i < 16; ++i) pal[i] = RGBQUAD{vga[i][2], vga[i][1], vga[i][0], 0};
    } else if (head.biClrUsed == 256) {
        // The sixteen colours first, then a 6x6x6 colour cube (steps of 51),
        // then a ramp of 24 greys that lie between the cube's grey levels.
        int n = 0;
        for (int i = 0; i < 16; ++i) pal[n++] = RGBQUAD{vga[i][2], vga[i][1], vga[i][0], 0};
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    pal[n++] = RGBQUAD{static_cast<uint8_t>(b * 51), static_cast<uint8_t>(g * 51),
                                       static_cast<uint8_t>(r * 51), 0};
        for (int i = 0; i < 24; ++i) {
            const auto v = static_cast<uint8_t>(8 + i * 10);
            pal[n++] = RGBQUAD{v, v, v, 0};
        }
    } else {
        return;
    }
    ClearNearestCache();
}

void Image::BlendPalette(COLORREF colour, int32_t percent) {
    RGBQUAD* pal = GetPalette();
    if (!pal) return;
    if (percent > 100) percent = 100;
    if (percent < 0) percent = 0;
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    for (uint32_t i = 0; i < head.biClrUsed; ++i) {
        pal[i].rgbBlue = static_cast<uint8_t>((b * percent + pal[i].rgbBlue * (100 - percent)) / 100);
        pal[i].rgbGreen = static_cast<uint8_t>((g * percent + pal[i].rgbGreen * (100 - percent)) / 100);
        pal[i].rgbRed = static_cast<uint8_t>((r * percent + pal[i].rgbRed * (100 - percent)) / 100);
    }
    ClearNearestCache();
}

uint8_t Image::GetNearestIndex(RGBQUAD c) {
    const RGBQUAD* pal = GetPalette();
    if (!pal) return 0;
    if (info.nearestCacheValid && info.nearestCacheColor == c) return info.nearestCacheIndex;
    uint32_t n = head.biClrImportant ? head.biClrImportant : head.biClrUsed;
    n = std::min(n, head.biClrUsed);
    int64_t best = 200000;
    uint8_t answer = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const int dr = pal[i].rgbRed - c.rgbRed;
        const int dg = pal[i].rgbGreen - c.rgbGreen;
        const int db = pal[i].rgbBlue - c.rgbBlue;
        const int64_t d = dr * dr + dg * dg + db * db;
        if (d == 0) {
            answer = static_cast<uint8_t>(i);
            break;
        }
        if (d < best) {
            best = d;
            answer = static_cast<uint8_t>(i);
        }
    }
    info.nearestCacheColor = c;
    info.nearestCacheIndex = answer;
    info.nearestCacheValid = true;
    return answer;
}

bool Image::IsGrayScale() const {
    const RGBQUAD* pal = GetPalette();
    if (!pal) return false;
    for (uint32_t i = 0; i < head.biClrUsed; ++i) {
        if (pal[i].rgbBlue != i || pal[i].rgbGreen != i || pal[i].rgbRed != i) return false;
    }
    return true;
}

bool Image::IsSamePalette(const Image& other, bool checkAlpha) const {
    if (head.biClrUsed == 0 || head.biClrUsed != other.head.biClrUsed) return false;
    const RGBQUAD* a = GetPalette();
    const RGBQUAD* b = other.GetPalette();
    if (!a || !b) return false;
    for (uint32_t i = 0; i < head.biClrUsed; ++i) {
        if (a[i].rgbBlue != b[i].rgbBlue || a[i].rgbGreen != b[i].rgbGreen || a[i].rgbRed != b[i].rgbRed)
            return false;
        if (checkAlpha && a[i].rgbReserved != b[i].rgbReserved) return false;
    }
    return true;
}

void Image::SwapIndex(uint8_t a, uint8_t b) {
    RGBQUAD* pal = GetPalette();
    if (!pal || a >= head.biClrUsed || b >= head.biClrUsed || a == b) return;
    std::swap(pal[a], pal[b]);
    const int32_t w = head.biWidth, h = head.biHeight;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t i = BlindGetPixelIndex(x, y);
            if (i == a) BlindSetPixelIndex(x, y, b);
            else if (i == b) BlindSetPixelIndex(x, y, a);
        }
    }
    ClearNearestCache();
}

void Image::SetClrImportant(uint32_t colours) {
    if (colours == 0 || colours > 256) {
        head.biClrImportant = 0;
    } else {
        switch (head.biBitCount) {
        case 1: head.biClrImportant = std::min<uint32_t>(colours, 2); break;
        case 4: head.biClrImportant = std::min<uint32_t>(colours, 16); break;
        case 8: head.biClrImportant = colours; break;
        default: return;
        }
    }
    if (pDib) static_cast<BITMAPINFOHEADER*>(GetDIB())->biClrImportant = head.biClrImportant;
    ClearNearestCache();
}

RGBQUAD Image::RGBtoRGBQUAD(COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

COLORREF Image::RGBQUADtoRGB(RGBQUAD c) { return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue); }

} // namespace vimg
