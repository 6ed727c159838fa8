// Small builders and comparisons shared by the image-operation tests.
#pragma once

#include "Image.h"

#include <cstdint>
#include <random>

namespace testimages {

// A w x h image of the given depth with random pixels (random palette below
// 24 bits) and, when asked, a random alpha plane.
inline vimg::Image Random(uint32_t w, uint32_t h, uint32_t bpp, uint32_t seed, bool alpha = false) {
    vimg::Image img(w, h, bpp, 0);
    std::mt19937 rng(seed);
    const auto byte = [&] { return static_cast<uint8_t>(rng() & 0xFF); };
    if (img.IsIndexed())
        for (uint32_t i = 0; i < img.GetNumColors(); ++i)
            img.SetPaletteColor(static_cast<uint8_t>(i), byte(), byte(), byte());
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const auto ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
            if (img.IsIndexed())
                img.SetPixelIndex(ix, iy, static_cast<uint8_t>(rng() % img.GetNumColors()));
            else
                img.SetPixelColor(ix, iy, vimg::RGBQUAD{byte(), byte(), byte(), 0});
        }
    if (alpha) {
        img.AlphaCreate();
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                img.AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(y), byte());
    }
    return img;
}

// A w x h 24-bit image of one colour.
inline vimg::Image Filled(uint32_t w, uint32_t h, vimg::RGBQUAD c) {
    vimg::Image img(w, h, 24, 0);
    for (int32_t y = 0; y < static_cast<int32_t>(h); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(w); ++x)
            img.SetPixelColor(x, y, c);
    return img;
}

inline vimg::RGBQUAD Colour(int r, int g, int b, int a = 0) {
    return vimg::RGBQUAD{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                         static_cast<uint8_t>(a)};
}

// Same size and the same colour (and alpha, when either has a plane) at every pixel.
inline bool SamePixels(const vimg::Image& a, const vimg::Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    if (a.AlphaIsValid() != b.AlphaIsValid()) return false;
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            const auto ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
            if (!(a.GetPixelColor(ix, iy) == b.GetPixelColor(ix, iy))) return false;
        }
    return true;
}

} // namespace testimages
