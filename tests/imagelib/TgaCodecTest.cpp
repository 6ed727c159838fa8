#include "CodecCheck.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

TEST(TgaCodec, DecodesLikeImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string base = "-size 37x23 plasma:fractal";
    const struct {
        const char* name;
        std::string args;
        uint32_t bpp;
    } cases[] = {
        {"rgb.tga", base, 24},
        {"rgb_rle.tga", base + " -compress RLE", 24},
        {"rgb_top.tga", base + " -orient TopLeft", 24},
        {"rgba_rle.tga", "-size 30x20 xc:none -fill '#ff000080' -draw 'circle 15,10 15,3' -compress RLE", 24},
        {"mapped.tga", base + " -colors 100 -type Palette", 8},
        {"mapped_rle.tga", base + " -colors 100 -type Palette -compress RLE", 8},
        {"grey.tga", base + " -colorspace gray", 8},
    };
    for (const auto& c : cases) {
        const std::string file = codeccheck::MakeWithImageMagick(dir, c.name, c.args);
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_TGA)) << c.name << ": " << img.GetLastError();
        EXPECT_EQ(img.GetBpp(), c.bpp) << c.name;
        codeccheck::ExpectMatchesReference(img, file);
    }
}

TEST(TgaCodec, WritesEightAndTwentyFourBitsOnly) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    Image grey = codeccheck::Pattern(31, 17, 8, 1);
    grey.SetGrayPalette();
    Image alpha = codeccheck::Pattern(20, 11, 24, 3);
    alpha.AlphaCreate();
    alpha.AlphaSet(4, 5, 0);
    Image images[] = {codeccheck::Pattern(31, 17, 8, 2), grey, codeccheck::Pattern(29, 13, 24, 3), alpha};
    for (Image& img : images) {
        const std::string file = dir.file("out.tga");
        ASSERT_TRUE(img.Save(file.c_str(), FORMAT_TGA)) << img.GetLastError();
        codeccheck::ExpectMatchesReference(img, file);
        Image back;
        ASSERT_TRUE(back.Load(file.c_str(), FORMAT_TGA));
        EXPECT_EQ(codeccheck::Rgba(back), codeccheck::Rgba(img));
    }
    Image four = codeccheck::Pattern(8, 8, 4);
    EXPECT_FALSE(four.Save(dir.file("four.tga").c_str(), FORMAT_TGA));
    EXPECT_STREQ(four.GetLastError(), "Bit depth must be 8 or 24");
}

TEST(TgaCodec, BadHeadersAndDamage) {
    Image img;
    EXPECT_FALSE(codeccheck::DecodeBytes(img, {0, 0, 2, 0}, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "Not a TGA");
    std::vector<uint8_t> h(18 + 12, 0);
    h[2] = 5;
    h[12] = 2;
    h[14] = 2;
    h[16] = 24;
    EXPECT_FALSE(codeccheck::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "Unknown TGA image type");
    h[2] = 2;
    h[16] = 12;
    EXPECT_FALSE(codeccheck::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "bad TGA header");
    // 65535 x 65535 pixels declared in a 30-byte file.
    h[16] = 24;
    h[12] = h[13] = h[14] = h[15] = 0xFF;
    EXPECT_FALSE(codeccheck::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "image too large: 65535 x 65535 exceeds the limit of 1073741824 pixels");

    // A run-length file whose packets run past the last pixel.
    std::vector<uint8_t> rle = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0, 0xFF, 1, 2, 3, 0x7F, 9, 9, 9};
    ASSERT_TRUE(codeccheck::DecodeBytes(img, rle, FORMAT_TGA));
    EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 3);

    Image rgb = codeccheck::Pattern(23, 19, 24, 5);
    Image mapped = codeccheck::Pattern(23, 19, 8, 6);
    codeccheck::Batter(codeccheck::EncodeBytes(rgb, FORMAT_TGA), FORMAT_TGA);
    codeccheck::Batter(codeccheck::EncodeBytes(mapped, FORMAT_TGA), FORMAT_TGA);
}
