// Histogram counting and the histogram-driven tone operations, checked
// against their definitions on the luma of YUV; flat images must be refused.
#include "Image.h"
#include "ImageTestSupport.h"
#include "RowRunner.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

using namespace testsupport;
using vimg::Image;
using vimg::RGBQUAD;

namespace {

// Every pixel with its YUV luma replaced by map[Y].
Image MapLuma(const Image& src, const std::function<uint8_t(int)>& map) {
    Image out(src);
    for (int y = 0; y < static_cast<int>(src.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(src.GetWidth()); ++x) {
            RGBQUAD yuv = Image::RGBtoYUV(src.GetPixelColor(x, y, false));
            yuv.rgbRed = map(yuv.rgbRed);
            out.SetPixelColor(x, y, Image::YUVtoRGB(yuv));
        }
    return out;
}

std::vector<long> GreyCounts(const Image& img) {
    std::vector<long> h(256, 0);
    for (int y = 0; y < static_cast<int>(img.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
            ++h[img.GetPixelGray(x, y)];
    return h;
}

} // namespace

TEST(ImageHistogram, FlatImagesAreRefusedUnchanged) {
    Image flat(20, 40, 24, 0);
    flat.Clear(128);
    Image palette(20, 10, 8, 0);
    for (int i = 0; i < 256; ++i)
        palette.SetPaletteColor(static_cast<uint8_t>(i), Rgb(90, 90, 90));
    for (const Image& src : {flat, palette}) {
        Image img(src);
        EXPECT_FALSE(img.HistogramStretch(0));
        EXPECT_FALSE(img.HistogramEqualize());
        EXPECT_FALSE(img.HistogramNormalize());
        EXPECT_TRUE(SamePixels(img, src));
    }
}

TEST(ImageHistogram, StretchMethods) {
    Image full = RandomImage(16, 40, 24, 31);
    full.SetPixelColor(0, 0, Rgb(0, 0, 0));
    full.SetPixelColor(1, 0, Rgb(255, 255, 255));
    const Image fullBefore(full);
    EXPECT_TRUE(full.HistogramStretch(1));
    EXPECT_TRUE(SamePixels(full, fullBefore));

    // Narrowed channels: linked uses one range for all, independent one per channel.
    Image narrow = SmoothImage(30, 40, 32);
    uint8_t squeeze[256], redOnly[256];
    for (int i = 0; i < 256; ++i)
        squeeze[i] = static_cast<uint8_t>(40 + i * 160 / 255),
        redOnly[i] = static_cast<uint8_t>(40 + i * 80 / 255);
    narrow.Lut(redOnly, squeeze, squeeze);
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x) {
            const RGBQUAD c = narrow.GetPixelColor(x, y, false);
            const int v[3] = {c.rgbRed, c.rgbGreen, c.rgbBlue};
            for (int i = 0; i < 3; ++i)
                low[i] = std::min(low[i], v[i]), high[i] = std::max(high[i], v[i]);
        }
    const auto stretched = [](int v, int lo, int hi) {
        return std::clamp(v - lo, 0, hi - lo) * 255 / (hi - lo);
    };
    const int lo = std::min({low[0], low[1], low[2]}), hi = std::max({high[0], high[1], high[2]});
    for (int method : {1, 2}) {
        Image img(narrow);
        ASSERT_TRUE(img.HistogramStretch(method));
        Image expected(narrow);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 30; ++x) {
                const RGBQUAD c = narrow.GetPixelColor(x, y, false);
                if (method == 1)
                    expected.SetPixelColor(x, y,
                                           Rgb(stretched(c.rgbRed, lo, hi), stretched(c.rgbGreen, lo, hi),
                                               stretched(c.rgbBlue, lo, hi)));
                else
                    expected.SetPixelColor(x, y,
                                           Rgb(stretched(c.rgbRed, low[0], high[0]),
                                               stretched(c.rgbGreen, low[1], high[1]),
                                               stretched(c.rgbBlue, low[2], high[2])));
            }
        EXPECT_TRUE(SamePixels(img, expected)) << "method " << method;
    }

    // Grey images stretch their indexes whatever the method.
    Image grey(8, 8, 8, 0);
    grey.SetGrayPalette();
    for (int i = 0; i < 64; ++i)
        grey.SetPixelIndex(i % 8, i / 8, static_cast<uint8_t>(100 + i));
    ASSERT_TRUE(grey.HistogramStretch(1));
    EXPECT_EQ(grey.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(grey.GetPixelIndex(7, 7), 255);
    EXPECT_EQ(grey.GetPixelIndex(5, 2), (21 * 255) / 63);

    // Luminance: Y' = (Y - low) * 255 / (high - low), low and high from the grey values.
    Image lum(narrow);
    ASSERT_TRUE(lum.HistogramStretch(0));
    const std::vector<long> h = GreyCounts(narrow);
    int gLow = 0, gHigh = 255;
    while (!h[static_cast<size_t>(gLow)])
        ++gLow;
    while (!h[static_cast<size_t>(gHigh)])
        --gHigh;
    EXPECT_TRUE(SamePixels(lum, MapLuma(narrow, [&](int v) {
                               return static_cast<uint8_t>(
                                   std::clamp(static_cast<int>((v - gLow) * 255.0 / (gHigh - gLow)), 0, 255));
                           })));
}

TEST(ImageHistogram, EqualizeLogAndRootMapTheLuma) {
    const Image src = SmoothImage(40, 40, 33);
    const std::vector<long> h = GreyCounts(src);
    long c[256], run = 0;
    for (int i = 0; i < 256; ++i)
        c[i] = run += h[static_cast<size_t>(i)];
    Image eq(src);
    ASSERT_TRUE(eq.HistogramEqualize());
    EXPECT_TRUE(SamePixels(eq, MapLuma(src, [&](int v) {
                               return static_cast<uint8_t>(static_cast<double>(c[v] - c[0]) * 255.0 /
                                                           static_cast<double>(c[255] - c[0]));
                           })));

    int m = 255;
    while (!h[static_cast<size_t>(m)])
        --m;
    Image lg(src);
    ASSERT_TRUE(lg.HistogramLog());
    EXPECT_TRUE(SamePixels(lg, MapLuma(src, [&](int v) {
                               return static_cast<uint8_t>(
                                   std::min(255.0, std::log(1.0 + v) * 255.0 / std::log(1.0 + m)));
                           })));
    Image rt(src);
    ASSERT_TRUE(rt.HistogramRoot());
    EXPECT_TRUE(SamePixels(rt, MapLuma(src, [&](int v) {
                               return static_cast<uint8_t>(
                                   std::min(255.0, std::sqrt(v) * 128.0 / std::log(1.0 + m)));
                           })));
}

TEST(ImageHistogram, LumaMappingMatchesTheYuvPairAcrossTheColourCube) {
    // Every third level of each channel: the table-driven whole-image path must
    // give what converting each pixel to YUV and back gives.
    const int steps = 86, w = steps * steps;
    Image cube(w, steps, 24, 0);
    for (int r = 0; r < steps; ++r)
        for (int g = 0; g < steps; ++g)
            for (int b = 0; b < steps; ++b)
                cube.SetPixelColor(g * steps + b, r,
                                   Rgb(std::min(255, 3 * r), std::min(255, 3 * g), std::min(255, 3 * b)));
    Image lg(cube);
    ASSERT_TRUE(lg.HistogramLog());
    const int m = 255; // white is present
    EXPECT_TRUE(SamePixels(lg, MapLuma(cube, [&](int v) {
                               return static_cast<uint8_t>(
                                   std::min(255.0, std::log(1.0 + v) * 255.0 / std::log(1.0 + m)));
                           })));
}

TEST(ImageHistogram, NormalizeMapsTheTopOfTheRangeTo254) {
    // 64 pixels: the 1 % threshold is 0, so the range is the first to the last level used.
    Image img(8, 8, 24, 0);
    for (int i = 0; i < 64; ++i)
        img.SetPixelColor(i % 8, i / 8, Rgb(4 * i, 4 * i, 4 * i));
    const Image before(img);
    ASSERT_TRUE(img.HistogramNormalize());
    EXPECT_TRUE(SamePixels(
        img, MapLuma(before, [](int v) { return static_cast<uint8_t>(254 * std::min(v, 252) / 252); })));
    EXPECT_EQ(img.GetPixelColor(7, 7).rgbRed, 254);

    // With a larger image the lowest and highest percent are clipped to 0 and 255.
    Image big(100, 100, 24, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            big.SetPixelColor(x, y, Rgb(50 + x, 50 + x, 50 + x));
    ASSERT_TRUE(big.HistogramNormalize());
    EXPECT_EQ(big.GetPixelColor(0, 0).rgbRed, 0);
    EXPECT_EQ(big.GetPixelColor(99, 0).rgbRed, 255);
}

TEST(ImageHistogram, HistogramCountsSelectedPixels) {
    Image img(10, 10, 24, 0);
    img.Clear(0);
    img.SetPixelColor(1, 1, Rgb(255, 0, 0));
    img.SetPixelColor(2, 1, Rgb(255, 0, 0));
    vimg::RECT r{0, 3, 3, 0};
    img.SelectionAddRect(r);
    long red[256], grey[256];
    EXPECT_EQ(img.Histogram(red, nullptr, nullptr, grey), 7);
    EXPECT_EQ(red[255], 2);
    EXPECT_EQ(red[0], 7);
    EXPECT_EQ(grey[76], 2);
    long hue[256];
    img.Histogram(hue, nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(hue[170], 7); // greys have the undefined hue
}

TEST(ImageHistogram, RepairSmoothsInteriorAndKeepsTheBorder) {
    Image img(5, 5, 24, 0);
    img.Clear(100);
    img.SetPixelColor(2, 2, Rgb(200, 100, 100));
    img.SetPixelColor(0, 0, Rgb(0, 0, 0));
    const Image before(img);
    ASSERT_TRUE(img.Repair(0.25f, 1, 0));
    // At the spike Ix = Iy = Ixy = 0, Ixx = Iyy = -200: 200 + 0.25 * (-400) = 100.
    EXPECT_EQ(img.GetPixelColor(2, 2), Rgb(100, 100, 100));
    // Left of it: Ix = 50, Ixx = 100, Iyy = 0: 100 + 0.25 * 100 / 2501 truncates to 100.
    EXPECT_EQ(img.GetPixelColor(1, 2), Rgb(100, 100, 100));
    // Below-left diagonal neighbour sees only Ixy.
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(0, 0, 0));
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(img.GetPixelColor(x, 4), before.GetPixelColor(x, 4));
    Image flat(6, 6, 24, 0);
    flat.Clear(77);
    for (int space = 0; space <= 4; ++space) {
        Image f(flat);
        ASSERT_TRUE(f.Repair(0.5f, 3, space));
        EXPECT_EQ(f.GetPixelColor(3, 3), f.GetPixelColor(0, 0)) << "colour space " << space;
    }
}

// Counting runs in blocks of rows on all cores; it must equal the plain count
// of every selected pixel, at every depth and in every colour space, with one
// thread or two.
TEST(ImageHistogram, BlockCountsEqualThePerPixelCount) {
    for (const uint32_t bpp : {4u, 8u, 24u}) {
        Image img = testsupport::RandomImage(301, 203, bpp, 7 + bpp);
        vimg::RECT r{5, 190, 280, 17};
        ASSERT_TRUE(img.SelectionAddRect(r));
        for (int32_t space = 0; space <= 4; ++space) {
            std::array<std::array<long, 256>, 4> want{};
            for (int32_t y = 0; y < 203; ++y)
                for (int32_t x = 0; x < 301; ++x) {
                    if (!img.SelectionIsInside(x, y)) continue;
                    const RGBQUAD c = img.GetPixelColor(x, y);
                    RGBQUAD s = c;
                    if (space == 1) s = Image::RGBtoHSL(c);
                    if (space == 2) s = Image::RGBtoYUV(c);
                    if (space == 3) s = Image::RGBtoYIQ(c);
                    if (space == 4) s = Image::RGBtoXYZ(c);
                    ++want[0][s.rgbRed];
                    ++want[1][s.rgbGreen];
                    ++want[2][s.rgbBlue];
                    ++want[3][(c.rgbRed * 306 + c.rgbGreen * 601 + c.rgbBlue * 117) >> 10];
                }
            for (const unsigned threads : {1u, 2u}) {
                vimg::RowRunner::SetThreadCount(threads);
                std::array<std::array<long, 256>, 4> got{};
                img.Histogram(got[0].data(), got[1].data(), got[2].data(), got[3].data(), space);
                EXPECT_EQ(got, want) << bpp << " bits, space " << space << ", " << threads << " threads";
            }
            vimg::RowRunner::SetThreadCount(0);
        }
    }
}
