// Mix with each raster operation, offsets, selections and alpha; MixFrom.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::Rgb;
using testsupport::Filled;
using testsupport::SameColours;
using vimg::Image;
using vimg::RGBQUAD;

TEST(ImageMix, ChannelOperationsPerPixel) {
    const Image dst = testsupport::RandomImage(9, 7, 24, 100);
    const Image src = testsupport::RandomImage(9, 7, 24, 101);
    const auto check = [&](int op, auto fn) {
        Image img(dst);
        ASSERT_TRUE(img.Mix(src, op));
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                const RGBQUAD d = dst.GetPixelColor(x, y), s = src.GetPixelColor(x, y);
                const RGBQUAD r = img.GetPixelColor(x, y);
                ASSERT_EQ(r.rgbRed, fn(d.rgbRed, s.rgbRed)) << op;
                ASSERT_EQ(r.rgbGreen, fn(d.rgbGreen, s.rgbGreen)) << op;
                ASSERT_EQ(r.rgbBlue, fn(d.rgbBlue, s.rgbBlue)) << op;
            }
    };
    check(Image::OpAdd, [](int d, int s) { return std::min(255, d + s); });
    check(Image::OpAnd, [](int d, int s) { return d & s; });
    check(Image::OpXor, [](int d, int s) { return d ^ s; });
    check(Image::OpOr, [](int d, int s) { return d | s; });
    check(Image::OpSub, [](int d, int s) { return std::max(0, d - s); });
}

TEST(ImageMix, UnknownOperationChangesNothing) {
    const Image dst = testsupport::RandomImage(5, 5, 24, 102);
    Image src = testsupport::RandomImage(5, 5, 24, 103, testsupport::kWithAlpha);
    Image img(dst);
    EXPECT_FALSE(img.Mix(src, 10, 0, 0, true));
    EXPECT_FALSE(img.Mix(src, -1));
    EXPECT_TRUE(SameColours(img, dst));
    EXPECT_FALSE(img.AlphaIsValid());
}

TEST(ImageMix, CopyAndMaskOperationsUseTheBackgroundColour) {
    Image dst = Filled(4, 1, Rgb(10, 20, 30));
    dst.SetPixelColor(1, 0, Rgb(0, 0, 0)); // the background (transparent colour, black by default)
    Image src = Filled(4, 1, Rgb(200, 100, 50));
    src.SetPixelColor(2, 0, Rgb(0, 0, 0));

    Image img(dst);
    ASSERT_TRUE(img.Mix(src, Image::OpDstCopy));
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(200, 100, 50));
    EXPECT_EQ(img.GetPixelColor(2, 0), Rgb(10, 20, 30)); // source is background: destination kept

    img = dst;
    ASSERT_TRUE(img.Mix(src, Image::OpSrcCopy));
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(img.GetPixelColor(1, 0), Rgb(200, 100, 50)); // destination is background: source taken

    img = dst;
    ASSERT_TRUE(img.Mix(src, Image::OpMask));
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(img.GetPixelColor(2, 0), Rgb(0, 0, 0)); // black source: background
}

TEST(ImageMix, OffsetsSelectionsAndClipping) {
    const Image dst = testsupport::RandomImage(6, 5, 24, 104);
    const Image src = testsupport::RandomImage(8, 8, 24, 105);
    Image img(dst);
    ASSERT_TRUE(img.Mix(src, Image::OpDstCopy, 3, 4));
    // Area: min(6, 8 - 3) x min(5, 8 - 4) = 5 x 4 from (3, 4) in the source.
    EXPECT_EQ(img.GetPixelColor(0, 0), src.GetPixelColor(3, 4));
    EXPECT_EQ(img.GetPixelColor(4, 3), src.GetPixelColor(7, 7));
    EXPECT_EQ(img.GetPixelColor(5, 3), dst.GetPixelColor(5, 3));
    EXPECT_EQ(img.GetPixelColor(0, 4), dst.GetPixelColor(0, 4));
    // Negative offsets start inside this image instead of reading outside the source.
    img = dst;
    ASSERT_TRUE(img.Mix(src, Image::OpDstCopy, -2, -1));
    EXPECT_EQ(img.GetPixelColor(1, 0), dst.GetPixelColor(1, 0));
    EXPECT_EQ(img.GetPixelColor(2, 1), src.GetPixelColor(0, 0));
    // Only pixels selected in both images take part.
    img = dst;
    img.SelectionAddRect(vimg::RECT{0, 5, 3, 0});
    Image sel(src);
    sel.SelectionAddRect(vimg::RECT{0, 2, 8, 0});
    ASSERT_TRUE(img.Mix(sel, Image::OpDstCopy));
    EXPECT_EQ(img.GetPixelColor(1, 1), src.GetPixelColor(1, 1));
    EXPECT_EQ(img.GetPixelColor(1, 3), dst.GetPixelColor(1, 3));
    EXPECT_EQ(img.GetPixelColor(4, 1), dst.GetPixelColor(4, 1));
}

TEST(ImageMix, AlphaTakesPartWhenAskedAndScreenBlendsByIt) {
    Image dst = Filled(3, 1, Rgb(100, 100, 100));
    Image src = Filled(3, 1, Rgb(200, 0, 50));
    src.AlphaCreate();
    src.AlphaSet(0, 0, 255);
    src.AlphaSet(1, 0, 128);
    src.AlphaSet(2, 0, 0);
    Image img(dst);
    ASSERT_TRUE(img.Mix(src, Image::OpScreen, 0, 0, true));
    ASSERT_TRUE(img.AlphaIsValid());
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(200, 0, 50, 255));
    // a = 128 * 256 >> 8 = 128: (200 * 128 + 100 * 127) >> 8 = 149, (0 + 12700) >> 8 = 49, (6400 + 12700) >>
    // 8 = 74; alpha 128 * 256 >> 8.
    EXPECT_EQ(img.GetPixelColor(1, 0), Rgb(149, 49, 74, 128));
    EXPECT_EQ(img.GetPixelColor(2, 0), Rgb(100, 100, 100, 0));

    img = dst;
    img.AlphaCreate();
    img.AlphaSet(200);
    ASSERT_TRUE(img.Mix(src, Image::OpAdd, 0, 0, true));
    EXPECT_EQ(img.GetPixelColor(1, 0), Rgb(255, 100, 150, 255)); // 200 + 128 clamped
    EXPECT_EQ(img.GetPixelColor(2, 0).rgbReserved, 200);
    // Without mixAlpha the alpha plane is left alone.
    img = dst;
    ASSERT_TRUE(img.Mix(src, Image::OpAdd));
    EXPECT_FALSE(img.AlphaIsValid());
}

TEST(ImageMix, SourceBlendFadesNearTheBackground) {
    Image dst = Filled(3, 1, Rgb(0, 0, 0));
    dst.SetPixelColor(1, 0, Rgb(8, 8, 8));    // diff 8 from black
    dst.SetPixelColor(2, 0, Rgb(90, 90, 90)); // far from the background
    const Image src = Filled(3, 1, Rgb(10, 20, 160));
    Image img(dst);
    ASSERT_TRUE(img.Mix(src, Image::OpSrcBlend));
    EXPECT_EQ(img.GetPixelColor(0, 0), Rgb(10, 20, 160));
    // f = 0.5, k = 0.5 * 160: 8 * 0.5 + 80 = 84 in every channel.
    EXPECT_EQ(img.GetPixelColor(1, 0), Rgb(84, 84, 84));
    EXPECT_EQ(img.GetPixelColor(2, 0), Rgb(90, 90, 90));
}

TEST(ImageMix, MixFromSkipsTheTransparentColour) {
    Image img = Filled(5, 5, Rgb(1, 1, 1));
    Image stamp = Filled(2, 2, Rgb(9, 9, 9));
    stamp.SetPixelColor(0, 0, Rgb(40, 50, 60));
    stamp.SetTransColor(Rgb(9, 9, 9));
    img.MixFrom(stamp, 3, 3);
    EXPECT_EQ(img.GetPixelColor(3, 3), Rgb(40, 50, 60));
    EXPECT_EQ(img.GetPixelColor(4, 4), Rgb(1, 1, 1));
    img.MixFrom(stamp, 4, 4); // partly outside: clipped
    EXPECT_EQ(img.GetPixelColor(4, 4), Rgb(40, 50, 60));
}
