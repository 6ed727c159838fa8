// Helpers for the pixel-operation tests: seeded random images and a
// byte-for-byte comparison of pixels, palette, alpha and transparency.
#pragma once

#include "Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace pixeltest {

inline vimg::RGBQUAD Rgb(int r, int g, int b, int reserved = 0) {
    vimg::RGBQUAD c;
    c.rgbRed = static_cast<uint8_t>(r);
    c.rgbGreen = static_cast<uint8_t>(g);
    c.rgbBlue = static_cast<uint8_t>(b);
    c.rgbReserved = static_cast<uint8_t>(reserved);
    return c;
}

// Random pixels; palette images get a random palette, or the grey palette with `grey`.
inline vimg::Image RandomImage(uint32_t w, uint32_t h, uint32_t bpp, uint32_t seed, bool grey = false) {
    vimg::Image img(w, h, bpp, 0);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = img.GetBits(y);
        for (uint32_t i = 0; i < img.GetEffWidth(); ++i)
            row[i] = static_cast<uint8_t>(byte(rng));
    }
    if (img.IsIndexed()) {
        if (grey) {
            img.SetGrayPalette();
        } else {
            for (uint32_t i = 0; i < img.GetNumColors(); ++i)
                img.SetPaletteColor(static_cast<uint8_t>(i), Rgb(byte(rng), byte(rng), byte(rng)));
        }
    }
    return img;
}

// Smooth random picture: neighbouring pixels close in value, as in a photo.
inline vimg::Image SmoothImage(uint32_t w, uint32_t h, uint32_t seed) {
    vimg::Image img(w, h, 24, 0);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> jitter(-6, 6);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const int r = static_cast<int>((x * 255) / w) + jitter(rng);
            const int g = static_cast<int>((y * 255) / h) + jitter(rng);
            const int b = static_cast<int>(((x + y) * 127) / (w + h)) + 64 + jitter(rng);
            img.SetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y),
                              Rgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
        }
    return img;
}

// Selects an off-centre rectangle and a scattering of pixels outside it.
inline void AddSelection(vimg::Image& img) {
    const auto w = static_cast<int32_t>(img.GetWidth()), h = static_cast<int32_t>(img.GetHeight());
    vimg::RECT r;
    r.left = 1;
    r.right = w * 2 / 3;
    r.bottom = 2;
    r.top = h - 3;
    img.SelectionAddRect(r);
    for (int32_t i = 0; i < w; i += 7)
        img.SelectionAddPixel(i, (i * 5) % h);
}

inline ::testing::AssertionResult SamePixels(const vimg::Image& a, const vimg::Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp())
        return ::testing::AssertionFailure() << "size or depth differs";
    if (a.GetPaletteSize() != b.GetPaletteSize() ||
        (a.GetPalette() && std::memcmp(a.GetPalette(), b.GetPalette(), a.GetPaletteSize()) != 0))
        return ::testing::AssertionFailure() << "palette differs";
    const uint32_t rowBytes = (a.GetWidth() * a.GetBpp() + 7) / 8;
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        for (uint32_t i = 0; i < rowBytes; ++i)
            if (a.GetBits(y)[i] != b.GetBits(y)[i])
                return ::testing::AssertionFailure()
                       << "row " << y << " byte " << i << ": " << int(a.GetBits(y)[i]) << " vs "
                       << int(b.GetBits(y)[i]);
    if (a.AlphaIsValid() != b.AlphaIsValid())
        return ::testing::AssertionFailure() << "alpha presence differs";
    if (a.AlphaIsValid() && std::memcmp(a.AlphaGetPointer(), b.AlphaGetPointer(),
                                        static_cast<size_t>(a.GetWidth()) * a.GetHeight()) != 0)
        return ::testing::AssertionFailure() << "alpha differs";
    if (a.GetTransIndex() != b.GetTransIndex() || !(a.GetTransColor() == b.GetTransColor()))
        return ::testing::AssertionFailure() << "transparency differs";
    return ::testing::AssertionSuccess();
}

} // namespace pixeltest
