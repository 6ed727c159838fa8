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

namespace {

// A hand-made PCX file: header (version 5, run-length), then `data` as it is.
std::vector<uint8_t> Pcx(uint32_t w, uint32_t h, uint8_t bits, uint8_t planes, uint16_t bytesPerLine,
                         const std::vector<uint8_t>& headerMap, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> file = {
        0x0A, 5, 1, bits, 0, 0, 0, 0, static_cast<uint8_t>(w - 1), 0, static_cast<uint8_t>(h - 1), 0};
    file.resize(16);
    file.insert(file.end(), headerMap.begin(), headerMap.end());
    file.resize(65);
    file.insert(file.end(), {planes, static_cast<uint8_t>(bytesPerLine), 0});
    file.resize(128);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

} // namespace

// ImageMagick never writes four 1-bit planes; the header holds the 16 colours.
TEST(PcxCodec, EgaFourBitPlanesLikeImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    std::vector<uint8_t> ega;
    for (int i = 0; i < 16; ++i)
        ega.insert(ega.end(), {uint8_t(i * 16), uint8_t(255 - i * 13), uint8_t(i * 50)});
    // 5 x 3 pixels with one byte per plane line, and 11 x 2 with two (a run crosses planes).
    testsupport::ExpectHandMadeFileMatches(
        dir, "ega5.pcx", Pcx(5, 3, 1, 4, 1, ega,
            {0x38, 0xA0, 0x50, 0xC1, 0xF8, 0x08, 0x90, 0x68, 0x30, 0xC1, 0xC8, 0x18, 0x70, 0xC1, 0xE0}),
        FORMAT_PCX, 4);
    testsupport::ExpectHandMadeFileMatches(dir, "ega11.pcx",
                                           Pcx(11, 2, 1, 4, 2, ega,
                                               {0x5A, 0xC1, 0xE0, 0xC3, 0xFF, 0x33, 0x80, 0x0F, 0x20, 0xC2,
                                                0xF0, 0x91, 0x40, 0x3C, 0xC1, 0xC0, 0x72}),
                                           FORMAT_PCX, 4);
}

// One bit in one plane: set bits are black whatever the header map holds, as
// ImageMagick reads them (CGA settings and the EGA default palette in the map
// gave colours). Pillow and GIMP show set bits white instead.
TEST(PcxCodec, MonochromeAndTinyFilesLikeImageMagick) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::vector<uint8_t> rows = {0xB2, 0x40, 0x0F, 0xC1, 0xC0};
    std::vector<uint8_t> tiny8 = {1, 2, 3, 0xC1, 0xC5, 9, 8, 7, 0, 0x0C}; // two rows of 4, then the palette
    for (int i = 0; i < 768; ++i) tiny8.push_back(static_cast<uint8_t>(i * 7));
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t bpp;
    } files[] = {
        {"empty_map.pcx", Pcx(10, 2, 1, 1, 2, {}, rows), 1},
        {"ega_default_map.pcx", Pcx(10, 2, 1, 1, 2, {0, 0, 0, 0, 0, 170}, rows), 1},
        {"cga_map.pcx", Pcx(10, 2, 1, 1, 2, {0x10, 0, 0, 0xF0, 0, 0}, rows), 1},
        {"black_first.pcx", Pcx(10, 2, 1, 1, 2, {0, 0, 0, 255, 255, 255}, rows), 1},
        {"colour_map.pcx", Pcx(10, 2, 1, 1, 2, {250, 240, 10, 20, 0, 90}, rows), 1},
        {"one_pixel.pcx", Pcx(1, 1, 1, 1, 1, {}, {0x80}), 1},
        {"three_wide.pcx", Pcx(3, 2, 1, 1, 1, {}, {0xA0, 0x40}), 1},
        {"tiny8.pcx", Pcx(3, 2, 8, 1, 4, {}, tiny8), 8},
        {"tiny_rgb.pcx", Pcx(1, 2, 8, 3, 1, {}, {10, 20, 30, 40, 50, 60}), 24},
    };
    for (const auto& f : files)
        testsupport::ExpectHandMadeFileMatches(dir, f.name, f.bytes, FORMAT_PCX, f.bpp);
}

// DCX: several PCX pages behind a page table, read as frames.
TEST(PcxCodec, DcxPagesAreFrames) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string file = testsupport::MakeWithImageMagick(
        dir, "pages.dcx",
        "\\( -size 37x23 plasma:fractal -colors 100 \\) \\( -size 20x31 plasma:fractal \\) "
        "\\( -size 9x5 plasma:fractal -colors 2 -type bilevel \\)");
    for (int page = 0; page < 3; ++page) {
        Image img;
        img.SetFrame(page);
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_PCX)) << "page " << page << ": " << img.GetLastError();
        EXPECT_EQ(img.GetNumFrames(), 3);
        testsupport::ExpectMatchesReference(img, file, page);
    }
    Image img;
    img.SetFrame(3);
    EXPECT_FALSE(img.Load(file.c_str(), FORMAT_PCX));
    EXPECT_STREQ(img.GetLastError(), "no such page in the DCX file");
    EXPECT_EQ(img.GetNumFrames(), 3);
    // A page table pointing past the end of the file.
    std::vector<uint8_t> bad = ReadFile(file);
    bad[5] = 0x7F;
    EXPECT_FALSE(testsupport::DecodeBytes(img, bad, FORMAT_PCX));
    EXPECT_STREQ(img.GetLastError(), "corrupted DCX page table");
    testsupport::Batter(ReadFile(file), FORMAT_PCX);
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
