// Split* into channel images and Combine back.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using testsupport::Rgb;
using testsupport::Filled;
using testsupport::SameColours;
using vimg::Image;
using vimg::RGBQUAD;

TEST(ImageChannels, SplitCmykOfPureRed) {
    const Image red = Filled(3, 2, Rgb(255, 0, 0));
    Image c, m, y, k;
    ASSERT_TRUE(red.SplitCMYK(&c, &m, &y, &k));
    EXPECT_EQ(c.GetPixelIndex(1, 1), 0);
    EXPECT_EQ(m.GetPixelIndex(1, 1), 255);
    EXPECT_EQ(y.GetPixelIndex(1, 1), 255);
    EXPECT_EQ(k.GetPixelIndex(1, 1), 76);
    EXPECT_EQ(k.GetBpp(), 8u);
    EXPECT_TRUE(k.IsGrayScale());
}

TEST(ImageChannels, EverySplitHoldsThePerPixelConversion) {
    using Split = bool (Image::*)(Image*, Image*, Image*) const;
    using Convert = RGBQUAD (*)(RGBQUAD);
    const std::pair<Split, Convert> splits[] = {{&Image::SplitRGB, [](RGBQUAD c) { return c; }},
                                                {&Image::SplitYUV, Image::RGBtoYUV},
                                                {&Image::SplitYIQ, Image::RGBtoYIQ},
                                                {&Image::SplitXYZ, Image::RGBtoXYZ},
                                                {&Image::SplitHSL, Image::RGBtoHSL}};
    for (const uint32_t bpp : {4u, 24u}) {
        const Image src = testsupport::RandomImage(19, 11, bpp, 90 + bpp);
        for (const auto& [split, convert] : splits) {
            Image a, b, c;
            ASSERT_TRUE((src.*split)(&a, &b, &c));
            ASSERT_EQ(a.GetWidth(), 19u);
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 19; ++x) {
                    const RGBQUAD t = convert(src.GetPixelColor(x, y, false));
                    ASSERT_EQ(a.GetPixelIndex(x, y), t.rgbRed);
                    ASSERT_EQ(b.GetPixelIndex(x, y), t.rgbGreen);
                    ASSERT_EQ(c.GetPixelIndex(x, y), t.rgbBlue);
                }
        }
    }
    // Null destinations are skipped; all null is refused.
    const Image src = testsupport::RandomImage(4, 4, 24, 92);
    Image g;
    EXPECT_TRUE(src.SplitRGB(nullptr, &g, nullptr));
    EXPECT_EQ(g.GetPixelIndex(2, 3), src.GetPixelColor(2, 3).rgbGreen);
    EXPECT_FALSE(src.SplitYUV(nullptr, nullptr, nullptr));
    EXPECT_FALSE(src.SplitCMYK(nullptr, nullptr, nullptr, nullptr));
}

TEST(ImageChannels, CombineRebuildsWhatSplitTookApart) {
    const Image src = testsupport::RandomImage(23, 9, 24, 93);
    Image r, g, b;
    ASSERT_TRUE(src.SplitRGB(&r, &g, &b));
    Image out;
    ASSERT_TRUE(out.Combine(&r, &g, &b, nullptr, Image::CS_RGB));
    EXPECT_TRUE(SameColours(out, src));
    EXPECT_EQ(out.GetBpp(), 24u);

    Image y, u, v;
    ASSERT_TRUE(src.SplitYUV(&y, &u, &v));
    ASSERT_TRUE(out.Combine(&y, &u, &v, nullptr, Image::CS_YUV));
    for (int32_t py = 0; py < 9; ++py)
        for (int32_t px = 0; px < 23; ++px) {
            const RGBQUAD expect = Image::YUVtoRGB(Image::RGBtoYUV(src.GetPixelColor(px, py, false)));
            ASSERT_EQ(out.GetPixelColor(px, py), expect);
        }

    // The alpha image becomes the alpha plane.
    Image alpha = testsupport::RandomImage(23, 9, 8, 94);
    alpha.SetGrayPalette();
    ASSERT_TRUE(out.Combine(&r, &g, &b, &alpha, Image::CS_RGB));
    ASSERT_TRUE(out.AlphaIsValid());
    EXPECT_EQ(out.AlphaGet(5, 6), alpha.GetPixelIndex(5, 6));
}

TEST(ImageChannels, CombineRefusesMissingChannelsAndResizesCopies) {
    const Image src = testsupport::RandomImage(8, 6, 24, 95);
    Image r, g, b;
    ASSERT_TRUE(src.SplitRGB(&r, &g, &b));
    Image img(src);
    EXPECT_FALSE(img.Combine(&r, &g, nullptr, nullptr, Image::CS_RGB));
    EXPECT_TRUE(SameColours(img, src));
    // A channel of another size is read through a resized copy; the caller's image stays.
    Image smallBlue;
    ASSERT_TRUE(b.Resample(4, 3, 1, &smallBlue));
    ASSERT_TRUE(img.Combine(&r, &g, &smallBlue, nullptr, Image::CS_RGB));
    EXPECT_EQ(smallBlue.GetWidth(), 4u);
    EXPECT_EQ(img.GetWidth(), 8u);
    EXPECT_EQ(img.GetPixelColor(7, 5).rgbBlue, smallBlue.GetPixelIndex(3, 2));
    // The image itself may be the first channel.
    Image self(r);
    ASSERT_TRUE(self.Combine(&self, &g, &b, nullptr, Image::CS_RGB));
    EXPECT_TRUE(SameColours(self, src));
}
