// Depth conversions: the fast nearest-colour search and the error diffusion
// against their per-pixel definitions, widening, and the dither methods.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;
using vimg::Image;
using vimg::RGBQUAD;

namespace {

// Reduction by the definition: nearest index per pixel through GetNearestIndex,
// with error diffusion applied to a copy of the source through the accessors
// (palette sources as full colours, so the diffused error is not re-quantised).
Image RefDecrease(const Image& src, uint32_t bits, bool diffuse, const RGBQUAD* palette, uint32_t important) {
    Image work(src);
    work.IncreaseBpp(24);
    Image out(src.GetWidth(), src.GetHeight(), bits, src.GetType());
    if (important) out.SetClrImportant(important);
    if (palette)
        out.SetPalette(palette, out.GetNumColors());
    else
        out.SetStdPalette();
    const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RGBQUAD c = work.GetPixelColor(x, y, false);
            const uint8_t i = out.GetNearestIndex(c);
            out.SetPixelIndex(x, y, i);
            if (!diffuse) continue;
            const RGBQUAD p = out.GetPaletteColor(i);
            const int e[3] = {c.rgbBlue - p.rgbBlue, c.rgbGreen - p.rgbGreen, c.rgbRed - p.rgbRed};
            const auto spread = [&](int nx, int ny, int weight) {
                if (!work.IsInside(nx, ny)) return;
                const RGBQUAD n = work.GetPixelColor(nx, ny, false);
                const auto add = [&](int v, int err) { return std::clamp(v + err * weight / 16, 0, 255); };
                work.SetPixelColor(nx, ny,
                                   Rgb(add(n.rgbRed, e[2]), add(n.rgbGreen, e[1]), add(n.rgbBlue, e[0])));
            };
            spread(x + 1, y, 7);
            spread(x - 1, y + 1, 2);
            spread(x, y + 1, 4);
            spread(x + 1, y + 1, 1);
        }
    return out;
}

Image FlatGrey(int w, int h, int value) {
    Image img(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 24, 0);
    img.Clear(static_cast<uint8_t>(value));
    return img;
}

int WhiteCount(const Image& img) {
    int n = 0;
    for (int y = 0; y < static_cast<int>(img.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
            n += img.GetPixelIndex(x, y);
    return n;
}

} // namespace

TEST(ImageDepth, DecreaseMatchesNearestIndexSearchAndDiffusion) {
    const Image photo = SmoothImage(45, 40, 41);
    const Image noise = RandomImage(45, 40, 24, 42);
    // A caller palette with duplicate and equidistant entries: ties go to the lowest index.
    RGBQUAD pal[256];
    for (int i = 0; i < 256; ++i)
        pal[i] = Rgb((i * 37) % 256, (i * 91) % 256, (i * 53) % 256);
    pal[9] = pal[3];
    pal[20] = Rgb(100, 100, 100), pal[21] = Rgb(102, 100, 100), pal[22] = Rgb(100, 100, 100);
    for (const Image* src : {&photo, &noise})
        for (bool diffuse : {false, true}) {
            for (uint32_t important : {0u, 40u}) {
                Image img(*src);
                ASSERT_TRUE(img.DecreaseBpp(8, diffuse, pal, important));
                EXPECT_TRUE(SamePixels(img, RefDecrease(*src, 8, diffuse, pal, important)))
                    << "diffuse " << diffuse << " important " << important;
            }
            Image four(*src);
            ASSERT_TRUE(four.DecreaseBpp(4, diffuse));
            EXPECT_TRUE(SamePixels(four, RefDecrease(*src, 4, diffuse, nullptr, 0)));
        }
    Image pal8 = RandomImage(30, 40, 8, 43);
    Image fromPalette(pal8);
    ASSERT_TRUE(fromPalette.DecreaseBpp(4, true));
    EXPECT_TRUE(SamePixels(fromPalette, RefDecrease(pal8, 4, true, nullptr, 0)));
}

TEST(ImageDepth, DepthRulesOfDecreaseAndIncrease) {
    const Image eight = RandomImage(9, 9, 8, 44);
    Image same(eight);
    EXPECT_TRUE(same.DecreaseBpp(8, false));
    EXPECT_TRUE(SamePixels(same, eight));
    Image important(eight);
    important.SetClrImportant(10);
    EXPECT_TRUE(important.DecreaseBpp(8, false, nullptr, 20));
    EXPECT_EQ(important.GetClrImportant(), 10u);
    Image up(eight);
    EXPECT_FALSE(up.DecreaseBpp(24, false));
    EXPECT_FALSE(up.IncreaseBpp(4));
    EXPECT_FALSE(up.IncreaseBpp(16));
    EXPECT_TRUE(up.IncreaseBpp(8));
    EXPECT_TRUE(SamePixels(up, eight));

    Image four = RandomImage(9, 5, 4, 45);
    const Image fourBefore(four);
    ASSERT_TRUE(four.IncreaseBpp(8));
    ASSERT_EQ(four.GetBpp(), 8u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(four.GetPaletteColor(static_cast<uint8_t>(i)),
                  fourBefore.GetPaletteColor(static_cast<uint8_t>(i)));
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(four.GetPixelIndex(x, 3), fourBefore.GetPixelIndex(x, 3));
}

TEST(ImageDepth, IncreaseTo24KeepsColoursTransparencyAndPaletteAlpha) {
    Image img = RandomImage(11, 40, 8, 46);
    img.SetPaletteColor(5, Rgb(1, 2, 3, 128));
    img.SetPixelIndex(2, 2, 5);
    img.SetTransIndex(5);
    img.AlphaPaletteEnable(true);
    const Image before(img);
    ASSERT_TRUE(img.IncreaseBpp(24));
    ASSERT_EQ(img.GetBpp(), 24u);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 11; ++x) {
            const RGBQUAD c = before.GetPaletteColor(before.GetPixelIndex(x, y));
            ASSERT_EQ(img.GetPixelColor(x, y, false), Rgb(c.rgbRed, c.rgbGreen, c.rgbBlue));
            ASSERT_EQ(img.AlphaGet(x, y), c.rgbReserved);
        }
    EXPECT_TRUE(img.IsTransparent(2, 2));
    EXPECT_EQ(img.GetTransColor(), Rgb(1, 2, 3));
}

TEST(ImageDepth, DitherKeepsBlackAndWhiteAndPatternsGrey) {
    for (int method = 0; method <= 7; ++method) {
        Image black = FlatGrey(16, 16, 0), white = FlatGrey(16, 16, 255), mid = FlatGrey(32, 32, 128);
        ASSERT_TRUE(black.Dither(method));
        ASSERT_TRUE(white.Dither(method));
        ASSERT_TRUE(mid.Dither(method));
        ASSERT_EQ(mid.GetBpp(), 1u);
        EXPECT_EQ(mid.GetPaletteColor(0), Rgb(0, 0, 0));
        EXPECT_EQ(mid.GetPaletteColor(1), Rgb(255, 255, 255));
        EXPECT_EQ(WhiteCount(black), 0) << method;
        EXPECT_EQ(WhiteCount(white), 256) << method;
        // Half grey comes out close to half white, as a pattern.
        EXPECT_NEAR(WhiteCount(mid), 512, 40) << method;
        Image quarter = FlatGrey(32, 32, 64);
        ASSERT_TRUE(quarter.Dither(method));
        EXPECT_NEAR(WhiteCount(quarter), 257, 40) << method;
    }
    Image one(8, 8, 1, 0);
    one.SetPixelIndex(3, 3, 1);
    const Image oneBefore(one);
    EXPECT_TRUE(one.Dither(0));
    EXPECT_TRUE(SamePixels(one, oneBefore));
}

TEST(ImageDepth, FloydSteinbergAndThresholdMatricesFollowTheirDefinitions) {
    const Image src = SmoothImage(23, 19, 47);
    Image fs(src);
    ASSERT_TRUE(fs.Dither(0));
    std::vector<int> g(23 * 19);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 23; ++x)
            g[static_cast<size_t>(y * 23 + x)] = src.GetPixelGray(x, y);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 23; ++x) {
            const int v = g[static_cast<size_t>(y * 23 + x)];
            const int bit = v < 129 ? 0 : 1;
            ASSERT_EQ(fs.GetPixelIndex(x, y), bit) << x << "," << y;
            const int e = bit ? v - 255 : v;
            const auto spread = [&](int nx, int ny, int weight) {
                if (nx < 0 || nx >= 23 || ny >= 19) return;
                int& n = g[static_cast<size_t>(ny * 23 + nx)];
                n = std::clamp(n + e * weight / 16, 0, 255);
            };
            spread(x + 1, y, 7), spread(x - 1, y + 1, 3), spread(x, y + 1, 5), spread(x + 1, y + 1, 1);
        }
    // Bayer: white where the threshold is below the value (7 of 16 below 100).
    Image bayer = FlatGrey(4, 4, 100);
    ASSERT_TRUE(bayer.Dither(7));
    EXPECT_EQ(WhiteCount(bayer), 7);
    EXPECT_EQ(bayer.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(bayer.GetPixelIndex(1, 0), 0);
    // Ordered: m = 128 * 16 / 255 = 8, white where the matrix entry is below 8.
    Image ordered = FlatGrey(4, 4, 128);
    ASSERT_TRUE(ordered.Dither(1));
    EXPECT_EQ(WhiteCount(ordered), 8);
    EXPECT_EQ(ordered.GetPixelIndex(1, 0), 0); // entry 8
    EXPECT_EQ(ordered.GetPixelIndex(2, 0), 1); // entry 2
}

TEST(ImageDepth, EscapeLeavesTheImageUnchanged) {
    const Image src = SmoothImage(20, 40, 48);
    for (int op = 0; op < 4; ++op) {
        Image img(src);
        img.SetEscape(1);
        const bool done = op == 0   ? img.DecreaseBpp(8, true)
                          : op == 1 ? img.DecreaseBpp(4, false)
                          : op == 2 ? img.Dither(0)
                                    : img.Threshold(100);
        EXPECT_FALSE(done) << op;
        EXPECT_TRUE(SamePixels(img, src)) << op;
    }
}
