#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

namespace {

// A Sun raster file: big-endian header, colour map, pixel bytes.
std::vector<uint8_t> Raster(uint32_t w, uint32_t h, uint32_t depth, uint32_t type,
                            const std::vector<uint8_t>& data, const std::vector<uint8_t>& map = {}) {
    const uint32_t fields[8] = {0x59A66A95, w, h, depth, static_cast<uint32_t>(data.size()), type,
                                map.empty() ? 0u : 1u, static_cast<uint32_t>(map.size())};
    std::vector<uint8_t> out;
    for (uint32_t f : fields)
        out.insert(out.end(), {uint8_t(f >> 24), uint8_t(f >> 16), uint8_t(f >> 8), uint8_t(f)});
    out.insert(out.end(), map.begin(), map.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

// ImageMagick refuses 4-bit files; Pillow reads them.
TEST(RasCodec, FourBitFilesLikePillow) {
    if (!testsupport::HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    // 5 x 3 pixels, rows padded to 16 bits.
    const std::vector<uint8_t> data = {0x01, 0x23, 0x40, 0, 0x56, 0x78, 0x90, 0, 0xAB, 0xCD, 0xE0, 0};
    std::vector<uint8_t> map;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 16; ++i)
            map.push_back(static_cast<uint8_t>(c == 0 ? i * 17 : c == 1 ? 255 - i * 16 : i * 40));
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {"mapped4.ras", Raster(5, 3, 4, 1, data, map)}, {"grey4.ras", Raster(5, 3, 4, 1, data)}};
    for (const auto& [name, bytes] : files) {
        WriteFile(dir.file(name), bytes);
        Image img;
        ASSERT_TRUE(img.Load(dir.file(name).c_str(), FORMAT_RAS)) << name << ": " << img.GetLastError();
        EXPECT_EQ(img.GetBpp(), 4u);
        testsupport::ExpectMatchesPillow(img, dir.file(name));
    }
}

// 32-bit pixels are pad (or alpha), then blue, green, red, or red, green, blue
// for the RGB type, as ImageMagick reads them.
TEST(RasCodec, ThirtyTwoBitFilesLikeImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    std::vector<uint8_t> padded, alpha;
    for (int i = 0; i < 6; ++i) {
        padded.insert(padded.end(), {0, uint8_t(10 + i * 40), uint8_t(200 - i * 30), uint8_t(i * 70)});
        alpha.insert(alpha.end(),
                     {uint8_t(i * 50), uint8_t(10 + i * 40), uint8_t(200 - i * 30), uint8_t(i * 70)});
    }
    const std::pair<const char*, std::vector<uint8_t>> files[] = {{"bgr.ras", Raster(3, 2, 32, 1, padded)},
                                                                  {"rgb.ras", Raster(3, 2, 32, 3, padded)},
                                                                  {"argb.ras", Raster(3, 2, 32, 3, alpha)}};
    for (const auto& [name, bytes] : files) {
        WriteFile(dir.file(name), bytes);
        Image img;
        ASSERT_TRUE(img.Load(dir.file(name).c_str(), FORMAT_RAS)) << name << ": " << img.GetLastError();
        int w = 0, h = 0;
        const std::vector<uint8_t> ref = ReferenceRGBA(dir.file(name), &w, &h);
        const std::vector<uint8_t> ours = testsupport::RgbaByTransparency(img);
        ASSERT_EQ(ours.size(), ref.size()) << name;
        for (size_t i = 0; i < ref.size(); ++i) {
            if (i % 4 == 3) continue; // a zero pad byte is not transparency here
            EXPECT_EQ(ours[i], ref[i]) << name << " byte " << i;
        }
    }
    const std::string argb = testsupport::MakeWithImageMagick(
        dir, "im.ras", "-size 9x5 plasma:fractal -alpha set -channel A -fx 0.7");
    Image img;
    ASSERT_TRUE(img.Load(argb.c_str(), FORMAT_RAS));
    EXPECT_TRUE(img.AlphaIsValid());
    testsupport::ExpectMatchesReference(img, argb);
}

// Converters on little-endian machines store 32-bit pixels blue, green, red,
// pad; Pillow reads them so (and its reading agrees with the pictures such
// files come with). Read with the pad first, red would be zero everywhere.
TEST(RasCodec, ThirtyTwoBitFilesWithThePadLastLikePillow) {
    if (!testsupport::HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    std::vector<uint8_t> bgrx;
    for (int i = 0; i < 12; ++i)
        bgrx.insert(bgrx.end(), {uint8_t(10 + i * 20), uint8_t(200 - i * 15), uint8_t(30 + i * 17), 0});
    for (uint32_t type : {0u, 1u}) {
        const std::string file = dir.file("bgrx" + std::to_string(type) + ".ras");
        WriteFile(file, Raster(4, 3, 32, type, bgrx));
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_RAS)) << img.GetLastError();
        EXPECT_FALSE(img.AlphaIsValid()) << "a pad byte is no transparency";
        testsupport::ExpectMatchesPillow(img, file);
    }
}
