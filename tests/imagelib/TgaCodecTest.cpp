#include "CodecTestSupport.h"

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
        const std::string file = testsupport::MakeWithImageMagick(dir, c.name, c.args);
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_TGA)) << c.name << ": " << img.GetLastError();
        EXPECT_EQ(img.GetBpp(), c.bpp) << c.name;
        testsupport::ExpectMatchesReference(img, file);
    }
}

// Grey + alpha files made by hand, checked against Pillow (ImageMagick takes
// 16-bit grey for 5-5-5 colour).
TEST(TgaCodec, SixteenBitGreyAlphaAndFiveBitChannelsLikePillow) {
    if (!testsupport::HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    const auto header = [](uint8_t type, uint8_t bits, uint8_t descriptor) {
        return std::vector<uint8_t>{0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 3, 0, bits, descriptor};
    };
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 15; ++i) pixels.insert(pixels.end(), {uint8_t(i * 17), uint8_t(255 - i * 15)});
    std::vector<uint8_t> rle = {0x82, 40, 90, 0x0B};
    for (int i = 0; i < 12; ++i) rle.insert(rle.end(), {uint8_t(i * 21), uint8_t(i * 20)});
    const struct {
        const char* name;
        std::vector<uint8_t> head, data;
        bool alpha;
    } cases[] = {
        {"la.tga", header(3, 16, 8), pixels, true},
        {"la_top.tga", header(3, 16, 0x28), pixels, true},
        {"la_rle.tga", header(11, 16, 8), rle, true},
        {"grey16.tga", header(3, 16, 0), pixels, false},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> file = c.head;
        file.insert(file.end(), c.data.begin(), c.data.end());
        const std::string path = dir.file(c.name);
        WriteFile(path, file);
        Image img;
        ASSERT_TRUE(img.Load(path.c_str(), FORMAT_TGA)) << c.name << ": " << img.GetLastError();
        EXPECT_EQ(img.AlphaIsValid(), c.alpha) << c.name;
        int w = 0, h = 0;
        const std::vector<uint8_t> want = testsupport::PillowRGBA(path, &w, &h);
        const std::vector<uint8_t> ours = testsupport::ToRGBA(img);
        ASSERT_EQ(ours.size(), want.size()) << c.name;
        for (size_t i = 0; i < ours.size(); ++i) {
            if (i % 4 == 3 && !c.alpha) continue; // Pillow keeps the second byte as alpha regardless
            ASSERT_EQ(int(ours[i]), int(want[i])) << c.name << " byte " << i;
        }
    }
}

// All 32 levels of a 5-5-5 file: (v << 3) | (v >> 2), never more than one
// from ImageMagick's rounded v × 255 / 31.
TEST(TgaCodec, FiveBitChannelsRepeatTheirTopBits) {
    std::vector<uint8_t> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 1, 0, 16, 0};
    for (uint32_t v = 0; v < 32; ++v)
        file.insert(file.end(), {uint8_t((v << 5) | v), uint8_t((v << 2) | (v >> 3))});
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, file, FORMAT_TGA)) << img.GetLastError();
    for (uint32_t v = 0; v < 32; ++v) {
        const RGBQUAD c = img.GetPixelColor(static_cast<int32_t>(v), 0);
        const int want = static_cast<int>((v << 3) | (v >> 2));
        EXPECT_EQ(c.rgbRed, want) << v;
        EXPECT_EQ(c.rgbGreen, want) << v;
        EXPECT_EQ(c.rgbBlue, want) << v;
        EXPECT_LE(std::abs(want - static_cast<int>((v * 255 + 15) / 31)), 1) << v;
    }
}

TEST(TgaCodec, WritesEightAndTwentyFourBitsOnly) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    Image grey = testsupport::Pattern(31, 17, 8, 1);
    grey.SetGrayPalette();
    Image alpha = testsupport::Pattern(20, 11, 24, 3);
    alpha.AlphaCreate();
    alpha.AlphaSet(4, 5, 0);
    Image images[] = {testsupport::Pattern(31, 17, 8, 2), grey, testsupport::Pattern(29, 13, 24, 3), alpha};
    for (Image& img : images) {
        const std::string file = dir.file("out.tga");
        ASSERT_TRUE(img.Save(file.c_str(), FORMAT_TGA)) << img.GetLastError();
        testsupport::ExpectMatchesReference(img, file);
        Image back;
        ASSERT_TRUE(back.Load(file.c_str(), FORMAT_TGA));
        EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
    }
    Image four = testsupport::Pattern(8, 8, 4);
    EXPECT_FALSE(four.Save(dir.file("four.tga").c_str(), FORMAT_TGA));
    EXPECT_STREQ(four.GetLastError(), "Bit depth must be 8 or 24");
}

TEST(TgaCodec, BadHeadersAndDamage) {
    Image img;
    EXPECT_FALSE(testsupport::DecodeBytes(img, {0, 0, 2, 0}, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "Not a TGA");
    std::vector<uint8_t> h(18 + 12, 0);
    h[2] = 5;
    h[12] = 2;
    h[14] = 2;
    h[16] = 24;
    EXPECT_FALSE(testsupport::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "Unknown TGA image type");
    h[2] = 2;
    h[16] = 12;
    EXPECT_FALSE(testsupport::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "bad TGA header");
    // 65535 x 65535 pixels declared in a 30-byte file.
    h[16] = 24;
    h[12] = h[13] = h[14] = h[15] = 0xFF;
    EXPECT_FALSE(testsupport::DecodeBytes(img, h, FORMAT_TGA));
    EXPECT_STREQ(img.GetLastError(), "image too large: 65535 x 65535 exceeds the limit of 1073741824 pixels");

    // A run-length file whose packets run past the last pixel.
    std::vector<uint8_t> rle = {0, 0, 10, 0,  0, 0,    0, 0, 0, 0,    0, 0, 2,
                                0, 2, 0,  24, 0, 0xFF, 1, 2, 3, 0x7F, 9, 9, 9};
    ASSERT_TRUE(testsupport::DecodeBytes(img, rle, FORMAT_TGA));
    EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 3);

    Image rgb = testsupport::Pattern(23, 19, 24, 5);
    Image mapped = testsupport::Pattern(23, 19, 8, 6);
    testsupport::Batter(testsupport::EncodeBytes(rgb, FORMAT_TGA), FORMAT_TGA);
    testsupport::Batter(testsupport::EncodeBytes(mapped, FORMAT_TGA), FORMAT_TGA);
}
