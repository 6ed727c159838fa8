// Pictures and comparisons shared by the image tests: seeded random and smooth
// images, a standard selection, and two comparisons — SamePixels (every stored
// byte, palette, alpha and transparency) and SameColours (what each pixel looks
// like, however it is stored).
#pragma once

#include "Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

namespace testsupport {

inline vimg::RGBQUAD Rgb(int r, int g, int b, int reserved = 0) {
    return vimg::RGBQUAD{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                         static_cast<uint8_t>(reserved)};
}

// Extras of RandomImage.
enum RandomExtras : unsigned {
    kGreyPalette = 1, // palette images get the grey palette instead of a random one
    kWithAlpha = 2,   // a random alpha plane
};

// Random bytes in every row (padding included) and, below 24 bits, a random palette.
inline vimg::Image RandomImage(uint32_t w, uint32_t h, uint32_t bpp, uint32_t seed, unsigned extras = 0) {
    vimg::Image img(w, h, bpp, 0);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = img.GetBits(y);
        for (uint32_t i = 0; i < img.GetEffWidth(); ++i) row[i] = static_cast<uint8_t>(byte(rng));
    }
    if (img.IsIndexed()) {
        if (extras & kGreyPalette) {
            img.SetGrayPalette();
        } else {
            for (uint32_t i = 0; i < img.GetNumColors(); ++i)
                img.SetPaletteColor(static_cast<uint8_t>(i), Rgb(byte(rng), byte(rng), byte(rng)));
        }
    }
    if ((extras & kWithAlpha) && img.AlphaCreate()) {
        uint8_t* alpha = img.AlphaGetPointer();
        for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) alpha[i] = static_cast<uint8_t>(byte(rng));
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

// A w x h 24-bit image of one colour.
inline vimg::Image Filled(uint32_t w, uint32_t h, vimg::RGBQUAD c) {
    vimg::Image img(w, h, 24, 0);
    for (int32_t y = 0; y < static_cast<int32_t>(h); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(w); ++x) img.SetPixelColor(x, y, c);
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
    for (int32_t i = 0; i < w; i += 7) img.SelectionAddPixel(i, (i * 5) % h);
}

// The same stored image: depth, palette, every pixel byte, alpha plane and transparency.
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

// The same picture: equal size and the same colour (with alpha, when either has
// a plane) at every pixel, whatever the depth or palette order.
inline ::testing::AssertionResult SameColours(const vimg::Image& a, const vimg::Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return ::testing::AssertionFailure() << "size differs";
    if (a.AlphaIsValid() != b.AlphaIsValid())
        return ::testing::AssertionFailure() << "alpha presence differs";
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            const auto ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
            if (!(a.GetPixelColor(ix, iy) == b.GetPixelColor(ix, iy)))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") differs";
        }
    return ::testing::AssertionSuccess();
}

} // namespace testsupport
