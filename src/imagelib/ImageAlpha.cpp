// The 8-bit alpha plane (row-major from the bottom row, no padding) and the
// palette's reserved bytes used as alpha.
#include "Image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vimg {

namespace {
size_t PlaneSize(const Image& img) { return static_cast<size_t>(img.GetWidth()) * img.GetHeight(); }
} // namespace

bool Image::AlphaCreate() {
    if (!pDib) return false;
    if (pAlpha) return true;
    if (!pAlpha.Allocate(PlaneSize(*this))) return false;
    std::memset(pAlpha.get(), 255, PlaneSize(*this));
    return true;
}

void Image::AlphaDelete() { pAlpha.Reset(); }

void Image::AlphaClear() {
    if (pAlpha) std::memset(pAlpha.get(), 0, PlaneSize(*this));
}

void Image::AlphaSet(uint8_t level) {
    if (pAlpha) std::memset(pAlpha.get(), level, PlaneSize(*this));
}

void Image::AlphaInvert() {
    if (!pAlpha) return;
    const size_t n = PlaneSize(*this);
    for (size_t i = 0; i < n; ++i) pAlpha.get()[i] = static_cast<uint8_t>(255 - pAlpha.get()[i]);
}

void Image::AlphaSet(int32_t x, int32_t y, uint8_t level) {
    if (pAlpha && IsInside(x, y)) pAlpha.get()[static_cast<size_t>(y) * GetWidth() + x] = level;
}

uint8_t Image::AlphaGet(int32_t x, int32_t y) const {
    if (pAlpha && IsInside(x, y)) return pAlpha.get()[static_cast<size_t>(y) * GetWidth() + x];
    return 0;
}

uint8_t* Image::AlphaGetPointer(int32_t x, int32_t y) const {
    if (pAlpha && IsInside(x, y)) return pAlpha.get() + static_cast<size_t>(y) * GetWidth() + x;
    return nullptr;
}

bool Image::AlphaCopy(const Image& from) {
    if (!from.pAlpha || from.GetWidth() != GetWidth() || from.GetHeight() != GetHeight() || !pDib)
        return false;
    if (!pAlpha && !pAlpha.Allocate(PlaneSize(*this))) return false;
    std::memcpy(pAlpha.get(), from.pAlpha.get(), PlaneSize(*this));
    info.alphaMax = from.info.alphaMax;
    return true;
}

bool Image::AlphaSet(const Image& grayImage) {
    if (!grayImage.IsGrayScale() || grayImage.GetBpp() != 8) return false;
    if (grayImage.GetWidth() != GetWidth() || grayImage.GetHeight() != GetHeight() || !pDib) return false;
    if (!AlphaCreate()) return false;
    const uint32_t w = GetWidth();
    for (uint32_t y = 0; y < GetHeight(); ++y)
        std::memcpy(pAlpha.get() + static_cast<size_t>(y) * w, grayImage.GetBits(y), w);
    return true;
}

bool Image::AlphaFlip() {
    if (!pAlpha) return false;
    const uint32_t w = GetWidth(), h = GetHeight();
    for (uint32_t y = 0; y < h / 2; ++y)
        std::swap_ranges(pAlpha.get() + static_cast<size_t>(y) * w,
                         pAlpha.get() + static_cast<size_t>(y + 1) * w,
                         pAlpha.get() + static_cast<size_t>(h - 1 - y) * w);
    return true;
}

bool Image::AlphaMirror() {
    if (!pAlpha) return false;
    const uint32_t w = GetWidth(), h = GetHeight();
    for (uint32_t y = 0; y < h; ++y)
        std::reverse(pAlpha.get() + static_cast<size_t>(y) * w,
                     pAlpha.get() + static_cast<size_t>(y + 1) * w);
    return true;
}

bool Image::AlphaSplit(Image* dest) const {
    if (!pAlpha) return false;
    return PlaneToGrayImage(pAlpha.get(), dest);
}

bool Image::PlaneToGrayImage(const uint8_t* plane, Image* dest) const {
    if (!dest || dest == this) return false;
    Image tmp(GetWidth(), GetHeight(), 8, 0);
    if (!tmp.IsValid()) return false;
    tmp.SetGrayPalette();
    const uint32_t w = GetWidth();
    for (uint32_t y = 0; y < GetHeight(); ++y)
        std::memcpy(tmp.GetBits(y), plane + static_cast<size_t>(y) * w, w);
    return dest->Transfer(tmp);
}

bool Image::AlphaPaletteSplit(Image* dest) const {
    if (!AlphaPaletteIsValid() || !dest || dest == this) return false;
    Image tmp(GetWidth(), GetHeight(), 8, 0);
    if (!tmp.IsValid()) return false;
    tmp.SetGrayPalette();
    const RGBQUAD* pal = GetPalette();
    for (uint32_t y = 0; y < GetHeight(); ++y) {
        uint8_t* row = tmp.GetBits(y);
        for (uint32_t x = 0; x < GetWidth(); ++x)
            row[x] = pal[BlindGetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y))].rgbReserved;
    }
    return dest->Transfer(tmp);
}

bool Image::AlphaPaletteIsValid() const {
    const RGBQUAD* pal = GetPalette();
    if (!pal) return false;
    for (uint32_t i = 0; i < head.biClrUsed; ++i)
        if (pal[i].rgbReserved) return true;
    return false;
}

void Image::AlphaPaletteClear() {
    RGBQUAD* pal = GetPalette();
    if (!pal) return;
    for (uint32_t i = 0; i < head.biClrUsed; ++i) pal[i].rgbReserved = 0;
    ClearNearestCache();
}

void Image::AlphaStrip() {
    const bool paletteAlpha = head.biClrUsed && AlphaPaletteIsValid();
    if (!pDib || (!pAlpha && !paletteAlpha)) return;
    const RGBQUAD bg = info.transColor;
    const uint32_t w = GetWidth(), h = GetHeight();
    const auto mix = [](uint8_t back, uint8_t fore, uint32_t a) {
        return static_cast<uint8_t>((back * (255 - a) + fore * a) / 255);
    };
    if (head.biBitCount == 24) {
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* p = GetBits(y);
            const uint8_t* alpha = pAlpha.get() + static_cast<size_t>(y) * w;
            for (uint32_t x = 0; x < w; ++x, p += 3) {
                const uint32_t a = alpha[x] * info.alphaMax / 255;
                p[0] = mix(bg.rgbBlue, p[0], a);
                p[1] = mix(bg.rgbGreen, p[1], a);
                p[2] = mix(bg.rgbRed, p[2], a);
            }
        }
        AlphaDelete();
        return;
    }
    Image flat(w, h, 24, info.type);
    if (!flat.IsValid()) {
        SetLastError(flat.GetLastError());
        return;
    }
    const RGBQUAD* pal = GetPalette();
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* p = flat.GetBits(y);
        for (uint32_t x = 0; x < w; ++x, p += 3) {
            const RGBQUAD c = pal[BlindGetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y))];
            uint32_t a =
                pAlpha ? pAlpha.get()[static_cast<size_t>(y) * w + x] * info.alphaMax / 255u : info.alphaMax;
            if (paletteAlpha) a = a * c.rgbReserved / 255;
            p[0] = mix(bg.rgbBlue, c.rgbBlue, a);
            p[1] = mix(bg.rgbGreen, c.rgbGreen, a);
            p[2] = mix(bg.rgbRed, c.rgbRed, a);
        }
    }
    // Keep everything but the pixels: resolution, options and the rest of the info block.
    const int32_t xPels = head.biXPelsPerMeter, yPels = head.biYPelsPerMeter;
    TransferPixels(flat);
    head.biXPelsPerMeter = xPels;
    head.biYPelsPerMeter = yPels;
    static_cast<BITMAPINFOHEADER*>(GetDIB())->biXPelsPerMeter = xPels;
    static_cast<BITMAPINFOHEADER*>(GetDIB())->biYPelsPerMeter = yPels;
}

bool Image::IsTransparent(int32_t x, int32_t y) const {
    if (!pDib) return false;
    if (info.transIndex >= 0) {
        if (head.biClrUsed) {
            if (GetPixelIndex(x, y) == info.transIndex) return true;
        } else {
            RGBQUAD c = GetPixelColor(x, y, false);
            if (c.rgbBlue == info.transColor.rgbBlue && c.rgbGreen == info.transColor.rgbGreen &&
                c.rgbRed == info.transColor.rgbRed)
                return true;
        }
    }
    if (pAlpha) return AlphaGet(x, y) == 0;
    return false;
}

} // namespace vimg
