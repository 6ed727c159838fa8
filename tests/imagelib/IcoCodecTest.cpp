#include "ByteBuilder.h"
#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

namespace {

constexpr int64_t kZeroSize = INT64_MIN;

// A cursor of one w x h bitmap entry of 1 or 8 bits (black and white, or a grey
// ramp) whose AND mask makes the bottom left 3 x 2 pixels transparent. The
// entry's size field is off by `sizeDelta` (or 0 for kZeroSize); `topDown`
// stores the rows top first (negative height).
std::vector<uint8_t> Cursor(uint32_t w, uint32_t h, uint32_t bits, int64_t sizeDelta, bool topDown) {
    const uint32_t stride = (w * bits + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    testsupport::Bytes bitmap;
    bitmap.u32(40).u32(w).u32(topDown ? static_cast<uint32_t>(-2 * static_cast<int32_t>(h)) : 2 * h);
    bitmap.u16(1).u16(bits).u32(0).u32(0).u32(0).u32(0).u32(bits == 1 ? 2 : 256).u32(0);
    for (uint32_t i = 0; i < (bits == 1 ? 2u : 256u); ++i) {
        const uint32_t v = bits == 1 ? i * 255 : i;
        bitmap.u8(v).u8(v).u8(v).u8(0);
    }
    std::vector<uint8_t> pixels, mask;
    for (uint32_t i = 0; i < h; ++i) {
        const uint32_t y = topDown ? h - 1 - i : i; // counted from the bottom
        std::vector<uint8_t> row(stride), m(maskStride);
        for (uint32_t x = 0; x < w; ++x) {
            if (bits == 8)
                row[x] = static_cast<uint8_t>(x * 16 + y * 7);
            else if ((x + y) % 3 == 0)
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            if (x < 3 && y < 2) m[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        pixels.insert(pixels.end(), row.begin(), row.end());
        mask.insert(mask.end(), m.begin(), m.end());
    }
    bitmap.raw(pixels).raw(mask);
    testsupport::Bytes file;
    file.u16(0).u16(2).u16(1).u8(w).u8(h).u8(0).u8(0).u16(1).u16(2);
    file.u32(sizeDelta == kZeroSize
                 ? 0
                 : static_cast<uint32_t>(static_cast<int64_t>(bitmap.v.size()) + sizeDelta));
    file.u32(22);
    return file.append(bitmap).v;
}

} // namespace

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

// Cursors of 1-bit and 8-bit grey bitmaps with an AND mask, also with the
// entry's size field wrong either way and with rows stored top first: the
// colours as Pillow reads them, the mask as ImageMagick reads the plain file.
TEST(IcoCodec, CursorsOfOneAndEightBitsWithMasks) {
    if (!HaveImageMagick() || !HavePillow()) GTEST_SKIP() << "ImageMagick or Pillow is not installed";
    TempDir dir;
    for (uint32_t bits : {1u, 8u}) {
        const std::string plain = dir.file("plain" + std::to_string(bits) + ".cur");
        WriteFile(plain, Cursor(13, 9, bits, 0, false));
        Image reference;
        ASSERT_TRUE(reference.Load(plain.c_str(), FORMAT_UNKNOWN)) << reference.GetLastError();
        testsupport::ExpectMatchesReference(reference, plain);
        const struct {
            const char* name;
            int64_t sizeDelta;
            bool topDown;
        } variants[] = {{"nosize", kZeroSize, false},
                        {"toolong", 5000, false},
                        {"short", -40, false},
                        {"topdown", 0, true}};
        for (const auto& v : variants) {
            const std::string file = dir.file(v.name + std::to_string(bits) + ".cur");
            WriteFile(file, Cursor(13, 9, bits, v.sizeDelta, v.topDown));
            Image img;
            ASSERT_TRUE(img.Load(file.c_str(), FORMAT_UNKNOWN)) << file << ": " << img.GetLastError();
            EXPECT_EQ(img.GetType(), static_cast<uint32_t>(FORMAT_ICO));
            testsupport::ExpectMatchesPillow(img, file);
            EXPECT_EQ(RgbaByTransparency(img), RgbaByTransparency(reference)) << file;
        }
    }
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
