#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

TEST(IcoCodec, EveryImageOfAnIconMatchesImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    // Bitmap entries of several depths, one with transparent pixels.
    const std::string file = testsupport::MakeWithImageMagick(
        dir, "multi.ico",
        "\\( -size 16x16 plasma:fractal -colors 2 \\) \\( -size 32x32 plasma:fractal -colors 16 \\) "
        "\\( -size 48x48 plasma:fractal -colors 200 \\) "
        "\\( -size 24x24 xc:none -fill '#20a0ff' -draw 'circle 12,12 12,3' \\) -compress none");
    for (int k = 0; k < 4; ++k) {
        Image img;
        img.SetFrame(k);
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_ICO)) << "image " << k;
        EXPECT_EQ(img.GetNumFrames(), 4);
        testsupport::ExpectMatchesReference(img, file, k);
    }
    Image img;
    img.SetFrame(4);
    EXPECT_FALSE(img.Load(file.c_str(), FORMAT_ICO));
    EXPECT_EQ(img.GetNumFrames(), 4);
}

TEST(IcoCodec, WritesIconsImageMagickReads) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    Image withAlpha = testsupport::Pattern(40, 30, 24, 1);
    withAlpha.AlphaCreate();
    for (int32_t x = 0; x < 40; ++x) withAlpha.AlphaSet(x, 7, 0);
    Image keyed = testsupport::Pattern(33, 17, 8, 2);
    keyed.SetTransIndex(5);
    Image images[] = {testsupport::Pattern(16, 16, 1, 3), testsupport::Pattern(255, 20, 4, 4), keyed,
                      withAlpha};
    for (Image& img : images) {
        const std::string file = dir.file("out.ico");
        ASSERT_TRUE(img.Save(file.c_str(), FORMAT_ICO)) << img.GetLastError();
        testsupport::ExpectMatchesReference(img, file);
        Image back;
        ASSERT_TRUE(back.Load(file.c_str(), FORMAT_ICO));
        EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
    }
    Image big(256, 10, 8);
    EXPECT_FALSE(big.Save(dir.file("big.ico").c_str(), FORMAT_ICO));
    EXPECT_STREQ(big.GetLastError(), "Can't save this image as icon");
}

TEST(IcoCodec, DamagedIconsNeverCrash) {
    Image img = testsupport::Pattern(24, 20, 8, 9);
    img.SetTransIndex(1);
    std::vector<uint8_t> file = testsupport::EncodeBytes(img, FORMAT_ICO);
    testsupport::Batter(file, FORMAT_ICO);
    // An entry that points past the end of the file.
    file[18] = 0xFF;
    Image out;
    EXPECT_FALSE(testsupport::DecodeBytes(out, file, FORMAT_ICO));
    Image alpha = testsupport::Pattern(20, 20, 24, 2);
    alpha.AlphaCreate();
    testsupport::Batter(testsupport::EncodeBytes(alpha, FORMAT_ICO), FORMAT_ICO);
}

// A cursor is an icon of kind 2 whose entries hold the hot spot where icons
// keep planes and bit count.
TEST(IcoCodec, CursorsKeepTheirHotSpot) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string ico = testsupport::MakeWithImageMagick(
        dir, "two.ico", "\\( -size 32x32 plasma:fractal -colors 16 \\) \\( -size 48x48 plasma:fractal \\)");
    std::vector<uint8_t> cur = ReadFile(ico);
    cur[2] = 2;
    for (int k = 0; k < 2; ++k) {
        uint8_t* e = cur.data() + 6 + 16 * k;
        e[4] = static_cast<uint8_t>(5 + k);
        e[5] = 0;
        e[6] = static_cast<uint8_t>(9 + 20 * k);
        e[7] = 0;
    }
    const std::string file = dir.file("pointer.cur");
    WriteFile(file, cur);
    for (int k = 0; k < 2; ++k) {
        Image img;
        img.SetFrame(k);
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_UNKNOWN)) << img.GetLastError();
        EXPECT_EQ(img.GetType(), static_cast<uint32_t>(FORMAT_ICO));
        int32_t x = -1, y = -1;
        ASSERT_TRUE(img.GetHotSpot(&x, &y));
        EXPECT_EQ(x, 5 + k);
        EXPECT_EQ(y, 9 + 20 * k);
        testsupport::ExpectMatchesReference(img, file, k);
    }
    Image icon;
    ASSERT_TRUE(icon.Load(ico.c_str(), FORMAT_ICO));
    EXPECT_FALSE(icon.GetHotSpot(nullptr, nullptr));
    std::string info;
    ASSERT_EQ(testsupport::Run(std::string(VISTOREL_CLI) + " info " + Quote(file), &info), 0);
    EXPECT_NE(info.find("format: ICO (5)\n"), std::string::npos) << info;
    EXPECT_NE(info.find("hot spot: 5, 9\n"), std::string::npos) << info;
}
