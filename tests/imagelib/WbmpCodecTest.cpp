#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

TEST(WbmpCodec, MatchesImageMagickBothWays) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string file = testsupport::MakeWithImageMagick(
        dir, "in.wbmp", "-size 300x131 plasma:fractal -colors 2 -type bilevel");
    Image img;
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_WBMP)) << img.GetLastError();
    testsupport::ExpectMatchesReference(img, file);

    // Sizes from 128 on need two bytes in the header; white is whichever entry is lighter.
    for (uint32_t size : {1u, 127u, 128u, 255u}) {
        Image mono = testsupport::Pattern(size, 255 - size / 2, 1, size);
        mono.SetPaletteColor(0, 250, 250, 250);
        mono.SetPaletteColor(1, 10, 10, 10);
        const std::string out = dir.file("out.wbmp");
        ASSERT_TRUE(mono.Save(out.c_str(), FORMAT_WBMP)) << mono.GetLastError();
        Image back;
        ASSERT_TRUE(back.Load(out.c_str(), FORMAT_WBMP));
        int w = 0, h = 0;
        const std::vector<uint8_t> ref = testsupport::Reference(out, 0, false, &w, &h);
        ASSERT_EQ(static_cast<uint32_t>(w), size);
        EXPECT_EQ(testsupport::RgbaByTransparency(back), ref);
        for (int32_t y = 0; y < static_cast<int32_t>(mono.GetHeight()); y += 7)
            for (int32_t x = 0; x < static_cast<int32_t>(size); x += 3)
                ASSERT_EQ(back.GetPixelIndex(x, y), 1 - mono.GetPixelIndex(x, y));
    }
}

TEST(WbmpCodec, RefusesWhatItCannotHold) {
    Image big(256, 10, 1), deep(10, 10, 4), ok(10, 10, 1);
    EXPECT_TRUE(testsupport::EncodeBytes(big, FORMAT_WBMP).empty());
    EXPECT_STREQ(big.GetLastError(), "Can't save this image as WBMP");
    EXPECT_TRUE(testsupport::EncodeBytes(deep, FORMAT_WBMP).empty());
    EXPECT_STREQ(deep.GetLastError(), "Can't save this image as WBMP");

    Image img;
    EXPECT_FALSE(testsupport::DecodeBytes(img, {2, 0, 4, 4, 0, 0, 0, 0}, FORMAT_WBMP));
    EXPECT_STREQ(img.GetLastError(), "Unsupported WBMP type");
    EXPECT_FALSE(testsupport::DecodeBytes(img, {0, 0, 0x83, 0xFF, 0xFF, 0x7F, 4, 0}, FORMAT_WBMP));
    EXPECT_STREQ(
        img.GetLastError(),
        "file too short for its header: 8388607 x 4 needs 4194304 bytes of pixel data, the file holds 1");
    EXPECT_FALSE(testsupport::DecodeBytes(img, {0, 0, 0x80, 0x80, 0x80, 0x80, 0x80}, FORMAT_WBMP));
    EXPECT_STREQ(img.GetLastError(), "Not a WBMP");
    testsupport::Batter(testsupport::EncodeBytes(ok, FORMAT_WBMP), FORMAT_WBMP);
}
