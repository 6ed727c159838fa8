#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

TEST(PcxCodec, DecodesLikeImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string base = "-size 37x23 plasma:fractal";
    const char* cases[][2] = {
        {"rgb.pcx", ""},
        {"pal.pcx", " -colors 200"},
        {"sixteen.pcx", " -colors 16"},
        {"mono.pcx", " -colors 2 -type bilevel"},
    };
    for (const auto& c : cases) {
        const std::string file = testsupport::MakeWithImageMagick(dir, c[0], base + c[1]);
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_PCX)) << c[0] << ": " << img.GetLastError();
        testsupport::ExpectMatchesReference(img, file);
    }
    // One bit in one plane with an empty header map (ImageMagick never writes it).
    std::vector<uint8_t> mono(128, 0);
    mono[0] = 0x0A;
    mono[1] = 5;
    mono[2] = 1;
    mono[3] = 1;
    mono[8] = 10; // 11 x 3 pixels
    mono[10] = 2;
    mono[65] = 1;
    mono[66] = 2;
    mono.insert(mono.end(), {0xC1, 0xF0, 0x3F, 0xC2, 0xAA, 0x81, 0x01});
    testsupport::ExpectHandMadeFileMatches(dir, "mono1.pcx", mono, FORMAT_PCX, 1);
}

TEST(PcxCodec, WrittenFilesDecodeInImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    Image mono = testsupport::Pattern(45, 21, 1, 1);
    mono.SetPaletteColor(0, 0, 0, 0);
    mono.SetPaletteColor(1, 255, 255, 255);
    Image images[] = {mono, testsupport::Pattern(45, 21, 4, 2), testsupport::Pattern(45, 21, 8, 3),
                      testsupport::Pattern(45, 21, 24, 4)};
    for (Image& img : images) {
        const std::string file = dir.file("out" + std::to_string(img.GetBpp()) + ".pcx");
        ASSERT_TRUE(img.Save(file.c_str(), FORMAT_PCX)) << img.GetLastError();
        testsupport::ExpectMatchesReference(img, file);
        Image back;
        ASSERT_TRUE(back.Load(file.c_str(), FORMAT_PCX)) << back.GetLastError();
        EXPECT_EQ(back.GetBpp(), img.GetBpp());
        EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
    }
}

TEST(PcxCodec, BadInput) {
    Image img = testsupport::Pattern(33, 20, 8, 7);
    std::vector<uint8_t> file = testsupport::EncodeBytes(img, FORMAT_PCX);
    Image out;
    std::vector<uint8_t> bad = file;
    bad[0] = 0x0B;
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "Error: Not a PCX file");
    bad = file;
    bad[2] = 7;
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "PCX file has unknown encoding scheme");
    bad = file;
    bad[65] = 5;
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "Can't handle image with more than 4 planes");
    bad = file;
    bad[bad.size() - 769] = 0;
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "bad color map signature");
    // A run at the very end that is longer than the pixels left.
    Image tiny(2, 1, 24);
    bad = testsupport::EncodeBytes(tiny, FORMAT_PCX);
    bad.resize(128);
    bad.insert(bad.end(), {0xC2, 0, 0xC2, 0, 0xFF, 0});
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "repeat count spans end of image");
    bad.resize(128 + 2);
    EXPECT_FALSE(testsupport::DecodeBytes(out, bad, FORMAT_PCX));
    EXPECT_STREQ(out.GetLastError(), "corrupted PCX");

    testsupport::Batter(file, FORMAT_PCX);
    Image planes = testsupport::Pattern(33, 20, 4, 8);
    testsupport::Batter(testsupport::EncodeBytes(planes, FORMAT_PCX), FORMAT_PCX);
}
