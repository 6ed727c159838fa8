// Tone operations: look-up tables on every layout (padding, selection,
// palettes), negative, threshold, grey scale, colourise and mean.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testsupport;
using vimg::Image;
using vimg::RGBQUAD;

namespace {

uint8_t Grey(RGBQUAD c) {
    return static_cast<uint8_t>((306 * c.rgbRed + 601 * c.rgbGreen + 117 * c.rgbBlue) >> 10);
}

// Applies f to each channel of every pixel the checked accessors see.
template <typename F> Image MapChannels(const Image& src, F f, bool selectedOnly = true) {
    Image out(src);
    for (int y = 0; y < static_cast<int>(src.GetHeight()); ++y)
        for (int x = 0; x < static_cast<int>(src.GetWidth()); ++x) {
            if (selectedOnly && !src.SelectionIsInside(x, y)) continue;
            const RGBQUAD c = src.GetPixelColor(x, y, false);
            out.SetPixelColor(x, y, Rgb(f(c.rgbRed), f(c.rgbGreen), f(c.rgbBlue)));
        }
    return out;
}

} // namespace

TEST(ImageTone, LightZeroIsIdentityAndTwentyRaisesUpTo255) {
    const Image src = RandomImage(7, 40, 24, 11); // rows padded to 24 bytes
    Image same(src);
    ASSERT_TRUE(same.Light(0, 0));
    EXPECT_TRUE(SamePixels(same, src));

    Image brighter(src);
    ASSERT_TRUE(brighter.Light(20, 0));
    EXPECT_TRUE(SamePixels(brighter, MapChannels(src, [](int v) { return std::min(v + 20, 255); })));

    Image pal = RandomImage(5, 5, 8, 12);
    const RGBQUAD before = pal.GetPaletteColor(3);
    ASSERT_TRUE(pal.Light(20, 0));
    EXPECT_EQ(pal.GetPaletteColor(3),
              Rgb(std::min(before.rgbRed + 20, 255), std::min(before.rgbGreen + 20, 255),
                  std::min(before.rgbBlue + 20, 255)));
}

TEST(ImageTone, ContrastAndGammaFollowTheirTables) {
    const Image src = RandomImage(9, 35, 24, 13);
    Image contrast(src);
    ASSERT_TRUE(contrast.Light(-10, 50));
    EXPECT_TRUE(SamePixels(contrast, MapChannels(src, [](int v) {
                               return std::clamp(static_cast<int>(-10 + 128 + 1.5 * (v - 128)), 0, 255);
                           })));

    Image gamma(src);
    ASSERT_TRUE(gamma.Gamma(2.0f));
    const double k = std::pow(255.0, 0.5) / 255.0;
    EXPECT_TRUE(SamePixels(gamma, MapChannels(src, [k](int v) {
                               return std::clamp(static_cast<int>(std::pow(v, 0.5) / k), 0, 255);
                           })));

    Image bad(src);
    EXPECT_FALSE(bad.Gamma(0.0f));
    EXPECT_FALSE(bad.Gamma(-1.0f));
    EXPECT_TRUE(SamePixels(bad, src));
}

TEST(ImageTone, LutFollowsSelectionAndPaletteRules) {
    uint8_t invert[256], half[256];
    for (int i = 0; i < 256; ++i)
        invert[i] = static_cast<uint8_t>(255 - i), half[i] = static_cast<uint8_t>(i / 2);

    Image rgb = RandomImage(30, 40, 24, 14);
    AddSelection(rgb);
    const Image rgbBefore(rgb);
    ASSERT_TRUE(rgb.Lut(invert));
    EXPECT_TRUE(SamePixels(rgb, MapChannels(rgbBefore, [](int v) { return 255 - v; })));

    // Grey images with a selection remap the selected indexes and keep the grey palette.
    Image grey = RandomImage(30, 40, 8, 15, kGreyPalette);
    AddSelection(grey);
    const Image greyBefore(grey);
    ASSERT_TRUE(grey.Lut(half));
    EXPECT_TRUE(grey.IsGrayScale());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(grey.GetPixelIndex(x, y), greyBefore.SelectionIsInside(x, y)
                                                    ? greyBefore.GetPixelIndex(x, y) / 2
                                                    : greyBefore.GetPixelIndex(x, y));

    // Four tables: alpha goes through the fourth.
    Image alpha = RandomImage(12, 40, 24, 16);
    alpha.AlphaCreate();
    alpha.AlphaSet(static_cast<uint8_t>(200));
    ASSERT_TRUE(alpha.Lut(half, invert, half, invert));
    EXPECT_EQ(alpha.AlphaGet(3, 3), 55);
    Image noTables = RandomImage(4, 4, 24, 17);
    EXPECT_FALSE(noTables.Lut(half, nullptr, half));
}

TEST(ImageTone, NegativeInvertsSelectedPixelsAndAlwaysTheTransparentColour) {
    Image img = RandomImage(25, 40, 24, 18);
    AddSelection(img);
    img.SetTransColor(Rgb(10, 20, 30));
    const Image before(img);
    ASSERT_TRUE(img.Negative());
    Image expected = MapChannels(before, [](int v) { return 255 - v; });
    expected.SetTransColor(Rgb(245, 235, 225));
    EXPECT_TRUE(SamePixels(img, expected));

    Image grey = RandomImage(9, 9, 8, 19, kGreyPalette);
    const uint8_t g = grey.GetPixelIndex(4, 4);
    ASSERT_TRUE(grey.Negative());
    EXPECT_EQ(grey.GetPixelIndex(4, 4), 255 - g);
    EXPECT_TRUE(grey.IsGrayScale());

    Image bw(8, 1, 1, 0);
    bw.SetPaletteColor(0, Rgb(0, 0, 0));
    bw.SetPaletteColor(1, Rgb(255, 255, 255));
    ASSERT_TRUE(bw.Negative());
    EXPECT_EQ(bw.GetPaletteColor(0), Rgb(255, 255, 255));
}

TEST(ImageTone, ThresholdGivesBlackAndWhiteAndLeavesOneBitAlone) {
    Image one(10, 3, 1, 0);
    one.SetPaletteColor(0, Rgb(1, 2, 3));
    one.SetPixelIndex(4, 1, 1);
    const Image oneBefore(one);
    EXPECT_TRUE(one.Threshold(128));
    EXPECT_TRUE(SamePixels(one, oneBefore));

    Image img = RandomImage(21, 40, 24, 20);
    AddSelection(img);
    const Image before(img);
    ASSERT_TRUE(img.Threshold(128));
    ASSERT_EQ(img.GetBpp(), 1u);
    EXPECT_EQ(img.GetPaletteColor(0), Rgb(0, 0, 0));
    EXPECT_EQ(img.GetPaletteColor(1), Rgb(255, 255, 255));
    EXPECT_FALSE(img.SelectionIsValid());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(img.GetPixelIndex(x, y), before.GetPixelGray(x, y) > 128 ? 1 : 0);
}

TEST(ImageTone, GrayScaleKeepsSelectionAlphaAndTransparency) {
    Image img = RandomImage(13, 40, 24, 21);
    AddSelection(img);
    img.AlphaCreate();
    img.AlphaSet(2, 2, 7);
    img.SetTransColor(Rgb(200, 100, 50));
    img.SetTransIndex(0);
    const Image before(img);
    ASSERT_TRUE(img.GrayScale());
    ASSERT_EQ(img.GetBpp(), 8u);
    EXPECT_TRUE(img.IsGrayScale());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(img.GetPixelIndex(x, y), before.GetPixelGray(x, y));
    EXPECT_EQ(img.AlphaGet(2, 2), 7);
    EXPECT_EQ(img.SelectionIsInside(1, 2), before.SelectionIsInside(1, 2));
    EXPECT_EQ(img.SelectionIsInside(12, 39), before.SelectionIsInside(12, 39));
    EXPECT_EQ(img.GetTransIndex(), Grey(Rgb(200, 100, 50)));

    Image four = RandomImage(9, 4, 4, 22);
    four.SetTransIndex(5);
    const Image fourBefore(four);
    ASSERT_TRUE(four.GrayScale());
    ASSERT_EQ(four.GetBpp(), 8u);
    EXPECT_EQ(four.GetTransIndex(), Grey(fourBefore.GetPaletteColor(5)));
    for (int x = 0; x < 9; ++x)
        ASSERT_EQ(four.GetPixelIndex(x, 2), fourBefore.GetPixelGray(x, 2));
}

TEST(ImageTone, ColorizeReplacesHueAndSaturationAndBlends) {
    const Image src = RandomImage(17, 40, 24, 23);
    for (float blend : {1.0f, 0.5f, 0.2f}) {
        Image img(src);
        AddSelection(img);
        ASSERT_TRUE(img.Colorize(12, 50, blend));
        Image expected(src);
        AddSelection(expected);
        const int a = static_cast<int>(blend * 256.0f);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 17; ++x) {
                if (!expected.SelectionIsInside(x, y)) continue;
                const RGBQUAD old = src.GetPixelColor(x, y, false);
                RGBQUAD hsl = Image::RGBtoHSL(old);
                hsl.rgbRed = 12;
                hsl.rgbGreen = 50;
                RGBQUAD n = Image::HSLtoRGB(hsl);
                if (blend < 0.999f)
                    n = Rgb((a * n.rgbRed + (256 - a) * old.rgbRed) >> 8,
                            (a * n.rgbGreen + (256 - a) * old.rgbGreen) >> 8,
                            (a * n.rgbBlue + (256 - a) * old.rgbBlue) >> 8);
                n.rgbReserved = 0;
                expected.SetPixelColor(x, y, n);
            }
        EXPECT_TRUE(SamePixels(img, expected)) << "blend " << blend;
    }
}

TEST(ImageTone, ShiftHuePaletteAndMean) {
    const Image src = RandomImage(11, 40, 24, 24);
    Image shifted(src);
    ASSERT_TRUE(shifted.ShiftRGB(50, 0, -50));
    Image expected(src);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 11; ++x) {
            const RGBQUAD c = src.GetPixelColor(x, y, false);
            expected.SetPixelColor(
                x, y, Rgb(std::min(c.rgbRed + 50, 255), c.rgbGreen, std::max(c.rgbBlue - 50, 0)));
        }
    EXPECT_TRUE(SamePixels(shifted, expected));

    Image pal(4, 4, 4, 0);
    ASSERT_TRUE(pal.HuePalette(1.0f));
    for (int i = 0; i < 16; ++i) {
        RGBQUAD e = Image::HSLtoRGB(vimg::RGB(static_cast<uint8_t>(17 * i), 240, 120));
        e.rgbReserved = 0;
        EXPECT_EQ(pal.GetPaletteColor(static_cast<uint8_t>(i)), e) << i;
    }

    // Mean covers the selection box whatever the mask says.
    Image m(10, 10, 24, 0);
    m.Clear(0);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            m.SetPixelColor(x, y, x < 4 ? Rgb(100, 100, 100) : Rgb(0, 0, 0));
    m.SelectionCreate();
    m.SelectionAddPixel(2, 2);
    m.SelectionAddPixel(3, 3);
    m.SelectionAddPixel(5, 5);
    EXPECT_FLOAT_EQ(m.Mean(), 50.0f);
    Image empty;
    EXPECT_EQ(empty.Mean(), 0.0f);
}
