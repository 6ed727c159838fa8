#include "CodecTestSupport.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

namespace {

struct Case {
    const char* name;
    std::string args;
    uint32_t type;
    uint32_t bpp;
    int tolerance = 0; // 16-bit files: ImageMagick truncates v / 257 where we round
};

void ExpectDecodesLikeImageMagick(const std::vector<Case>& cases) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    for (const Case& c : cases) {
        const std::string file = testsupport::MakeWithImageMagick(dir, c.name, c.args);
        // The explicit type and the unknown-type pass both recognise it.
        for (uint32_t asked : {c.type, uint32_t{FORMAT_UNKNOWN}}) {
            Image img;
            ASSERT_TRUE(img.Load(file.c_str(), asked)) << c.name << ": " << img.GetLastError();
            EXPECT_EQ(img.GetType(), c.type) << c.name;
            EXPECT_EQ(img.GetBpp(), c.bpp) << c.name;
            if (c.tolerance)
                EXPECT_LE(testsupport::DiffToReference(file, asked), c.tolerance) << c.name;
            else
                testsupport::ExpectMatchesReference(img, file);
        }
    }
}

// Writes `img` as `type`, checks ImageMagick sees the same pixels and that it reads back unchanged.
void ExpectRoundTrip(Image& img, uint32_t type, const std::string& ext) {
    TempDir dir;
    const std::string file = dir.file("out." + ext);
    ASSERT_TRUE(img.Save(file.c_str(), type)) << ext << ": " << img.GetLastError();
    if (HaveImageMagick()) testsupport::ExpectMatchesReference(img, file);
    Image back;
    ASSERT_TRUE(back.Load(file.c_str(), FORMAT_UNKNOWN)) << back.GetLastError();
    EXPECT_EQ(back.GetType(), type);
    EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img)) << ext;
}

Image GreyPattern(uint32_t w, uint32_t h) {
    Image img = testsupport::Pattern(w, h, 8, 11);
    img.SetGrayPalette();
    return img;
}

} // namespace

TEST(PnmCodec, AllSixKindsDecodeLikeImageMagick) {
    const std::string base = "-size 37x23 plasma:fractal";
    ExpectDecodesLikeImageMagick({
        {"plain.pbm", base + " -monochrome -compress none", FORMAT_PNM, 1},
        {"plain.pgm", base + " -colorspace gray -compress none", FORMAT_PNM, 8, 1},
        {"plain.ppm", base + " -compress none", FORMAT_PNM, 24, 1},
        {"raw.pbm", base + " -monochrome", FORMAT_PNM, 1},
        {"raw.pgm", base + " -colorspace gray", FORMAT_PNM, 8, 1},
        {"raw8.pgm", base + " -colorspace gray -depth 8", FORMAT_PNM, 8},
        {"fifteen.pgm", base + " -colorspace gray -depth 4", FORMAT_PNM, 8},
        {"raw.ppm", base, FORMAT_PNM, 24, 1},
        {"sixteen.ppm", base + " -depth 16", FORMAT_PNM, 24, 1},
    });
}

TEST(PnmCodec, WritesGreyAndColour) {
    Image grey = GreyPattern(33, 21);
    Image colour = testsupport::Pattern(33, 21, 24, 2);
    Image mono(19, 7, 1);
    mono.SetGrayPalette();
    mono.SetPixelIndex(3, 3, 1);
    ExpectRoundTrip(grey, FORMAT_PNM, "pgm");
    // Grey entries in another order: each index is written as its entry's level.
    Image reversed = GreyPattern(33, 21);
    for (uint32_t i = 0; i < 256; ++i) {
        const auto level = static_cast<uint8_t>(255 - i);
        reversed.SetPaletteColor(static_cast<uint8_t>(i), level, level, level);
    }
    ExpectRoundTrip(reversed, FORMAT_PNM, "pgm");
    ExpectRoundTrip(colour, FORMAT_PNM, "ppm");
    TempDir dir;
    ASSERT_TRUE(mono.Save(dir.file("mono.pnm").c_str(), FORMAT_PNM));
    Image back;
    ASSERT_TRUE(back.Load(dir.file("mono.pnm").c_str(), FORMAT_PNM));
    EXPECT_EQ(back.GetPixelColor(3, 3).rgbRed, 255);
    EXPECT_EQ(back.GetPixelColor(4, 3).rgbRed, 0);
    Image palette = testsupport::Pattern(8, 8, 4, 3);
    EXPECT_FALSE(palette.Save(dir.file("pal.pnm").c_str(), FORMAT_PNM));
    EXPECT_STREQ(palette.GetLastError(), "Can save only RGB or GrayScale images");
}

TEST(PnmCodec, RawSamplesOfAnyMaximumScaleRoundedAndClamped) {
    // round(v * 255 / max); values above the maximum count as the maximum.
    const auto decode = [](const std::string& header, const std::vector<uint8_t>& samples) {
        std::vector<uint8_t> bytes(header.begin(), header.end());
        bytes.insert(bytes.end(), samples.begin(), samples.end());
        Image img;
        EXPECT_TRUE(testsupport::DecodeBytes(img, bytes, FORMAT_PNM)) << header;
        return img;
    };
    // One-byte samples, maximum 100; top row first in the file.
    const Image grey = decode("P5 3 2 100\n", {0, 1, 50, 99, 100, 200});
    ASSERT_EQ(grey.GetBpp(), 8u);
    const int greyWant[2][3] = {{0, 3, 128}, {252, 255, 255}};
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(grey.GetPixelColor(x, 1 - r).rgbRed, greyWant[r][x]) << x << "," << r;
    // Two-byte samples, big-endian, maximum 1000 and 65535, red first.
    const Image wide =
        decode("P6 2 1 1000\n", {0x00, 0x00, 0x01, 0xF4, 0x03, 0xE8, 0x03, 0xE7, 0xFF, 0xFF, 0x00, 0x02});
    EXPECT_EQ(wide.GetPixelColor(0, 0), Rgb(0, 128, 255));
    EXPECT_EQ(wide.GetPixelColor(1, 0), Rgb(255, 255, 1));
    const Image full = decode("P6 1 1 65535\n", {0x80, 0x00, 0x00, 0x80, 0xFF, 0xFF});
    EXPECT_EQ(full.GetPixelColor(0, 0), Rgb(128, 0, 255));
    // Maximum 255 is taken as it is, in the file's red, green, blue order.
    const Image plain = decode("P6 2 1 255\n", {1, 2, 3, 250, 251, 252});
    EXPECT_EQ(plain.GetPixelColor(0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(plain.GetPixelColor(1, 0), Rgb(250, 251, 252));
    // A row short ends the decode with an error rather than a half-filled picture.
    std::vector<uint8_t> cut = {'P', '5', ' ', '4', ' ', '4', ' ', '2', '5', '5', '\n'};
    cut.resize(cut.size() + 15, 7);
    Image img;
    EXPECT_FALSE(testsupport::DecodeBytes(img, cut, FORMAT_PNM));
}

TEST(RasCodec, DecodesLikeImageMagick) {
    const std::string base = "-size 37x23 plasma:fractal";
    ExpectDecodesLikeImageMagick({
        {"rgb.ras", base, FORMAT_RAS, 24},
        {"rgb_rle.ras", base + " -compress RLE", FORMAT_RAS, 24},
        {"mapped.ras", base + " -colors 50", FORMAT_RAS, 8},
        {"alpha.ras", "-size 30x20 xc:none -fill red -draw 'circle 15,10 15,3'", FORMAT_RAS, 24},
    });
}

TEST(RasCodec, OneBitWithoutColourMap) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    // ImageMagick never writes one bit; 11 x 3 pixels, rows padded to 16 bits.
    std::vector<uint8_t> ras = {0x59, 0xA6, 0x6A, 0x95, 0, 0, 0, 11, 0, 0, 0, 3, 0, 0, 0, 1,
                                0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                                0xF0, 0x20, 0x0F, 0xC0, 0xAA, 0x40};
    TempDir dir;
    testsupport::ExpectHandMadeFileMatches(dir, "mono.ras", ras, FORMAT_UNKNOWN, 1);
}

TEST(RasCodec, WritesPaletteAndColour) {
    Image colour = testsupport::Pattern(33, 21, 24, 4);
    Image mapped = testsupport::Pattern(31, 9, 8, 5);
    Image four = testsupport::Pattern(13, 9, 4, 6);
    ExpectRoundTrip(colour, FORMAT_RAS, "ras");
    ExpectRoundTrip(mapped, FORMAT_RAS, "ras");
    ExpectRoundTrip(four, FORMAT_RAS, "ras");
}

TEST(PgxCodec, GreyOnly) {
    ExpectDecodesLikeImageMagick(
        {{"grey.pgx", "-size 37x23 plasma:fractal -colorspace gray", FORMAT_PGX, 8, 1}});
    Image grey = GreyPattern(29, 17);
    ExpectRoundTrip(grey, FORMAT_PGX, "pgx");
    Image colour = testsupport::Pattern(8, 8, 24);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    EXPECT_FALSE(colour.Encode(buffer, size, FORMAT_PGX));
    EXPECT_STREQ(colour.GetLastError(), "PGX can save only GrayScale images");

    // Signed and deeper samples in either byte order.
    std::string text = "PG LM -12 3 1\n";
    std::vector<uint8_t> file(text.begin(), text.end());
    file.insert(file.end(), {0x00, 0x08, 0x00, 0x00, 0xFF, 0x07}); // -2048, 0, 2047
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, file, FORMAT_PGX));
    EXPECT_EQ(img.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 128); // 2048 × 255 / 4095 = 127.53, rounded
    EXPECT_EQ(img.GetPixelIndex(2, 0), 255);
}

TEST(Jpeg2000Codec, LosslessFilesDecodeLikeImageMagick) {
    const std::string base = "-size 37x23 plasma:fractal -depth 8 -quality 0";
    ExpectDecodesLikeImageMagick({
        {"rgb.jp2", base, FORMAT_JP2, 24},
        {"grey.jp2", base + " -colorspace gray", FORMAT_JP2, 8},
        {"rgb.j2k", base, FORMAT_JPC, 24},
    });
}

TEST(Jpeg2000Codec, WritesLosslessAtFullRateAndSmallerBelow) {
    Image colour = testsupport::Pattern(45, 31, 24, 7);
    colour.SetJpegQuality(100);
    ExpectRoundTrip(colour, FORMAT_JP2, "jp2");
    Image grey = GreyPattern(45, 31);
    grey.SetJpegQuality(100);
    ExpectRoundTrip(grey, FORMAT_JPC, "j2k");

    Image big = testsupport::Pattern(200, 150, 24, 8);
    big.SetJpegQuality(100);
    const size_t lossless = testsupport::EncodeBytes(big, FORMAT_JP2).size();
    big.SetJpegQuality(10);
    const std::vector<uint8_t> lossy = testsupport::EncodeBytes(big, FORMAT_JP2);
    ASSERT_FALSE(lossy.empty());
    EXPECT_LT(lossy.size(), lossless / 3);
    Image back;
    ASSERT_TRUE(testsupport::DecodeBytes(back, lossy, FORMAT_UNKNOWN));
    EXPECT_EQ(back.GetType(), FORMAT_JP2);
    EXPECT_EQ(back.GetWidth(), 200u);

    Image palette = testsupport::Pattern(8, 8, 8, 9);
    EXPECT_TRUE(testsupport::EncodeBytes(palette, FORMAT_JP2).empty());
    EXPECT_STREQ(palette.GetLastError(), "Can save only RGB or GrayScale images");
}

TEST(Jpeg2000Codec, ComponentsOtherThanRgbAreGreyFrames) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    // Grey with alpha: two components, each its own frame.
    const std::string file = testsupport::MakeWithImageMagick(
        dir, "ga.jp2",
        "-size 20x10 gradient:black-white \\( -size 20x10 gradient:white-black \\) -alpha off -compose "
        "copy_opacity -composite -type GrayscaleAlpha -depth 8 -quality 0");
    Image first, second, third;
    ASSERT_TRUE(first.Load(file.c_str(), FORMAT_JP2)) << first.GetLastError();
    EXPECT_EQ(first.GetNumFrames(), 2);
    second.SetFrame(1);
    ASSERT_TRUE(second.Load(file.c_str(), FORMAT_JP2));
    EXPECT_LT(first.GetPixelIndex(0, 9), 10);
    EXPECT_GT(second.GetPixelIndex(0, 9), 245);
    third.SetFrame(2);
    EXPECT_FALSE(third.Load(file.c_str(), FORMAT_JP2));
    EXPECT_STREQ(third.GetLastError(), "wrong frame!");
}

TEST(ContentReader, DamagedFilesNeverCrash) {
    Image grey = GreyPattern(21, 13);
    Image colour = testsupport::Pattern(21, 13, 24, 3);
    colour.SetJpegQuality(100);
    for (uint32_t type : {FORMAT_PNM, FORMAT_RAS, FORMAT_JP2, FORMAT_JPC})
        testsupport::Batter(testsupport::EncodeBytes(colour, type), type, 250);
    testsupport::Batter(testsupport::EncodeBytes(grey, FORMAT_PGX), FORMAT_PGX, 250);
    Image mapped = testsupport::Pattern(21, 13, 8, 4);
    testsupport::Batter(testsupport::EncodeBytes(mapped, FORMAT_RAS), FORMAT_RAS, 250);

    // Huge declared sizes in tiny files.
    const std::string pnm = "P6\n60000 60000\n255\n";
    Image img;
    EXPECT_FALSE(testsupport::DecodeBytes(img, std::vector<uint8_t>(pnm.begin(), pnm.end()), FORMAT_PNM));
    const std::string pgx = "PG ML +8 60000 60000\n";
    EXPECT_FALSE(testsupport::DecodeBytes(img, std::vector<uint8_t>(pgx.begin(), pgx.end()), FORMAT_PGX));
    std::vector<uint8_t> ras = testsupport::EncodeBytes(colour, FORMAT_RAS);
    ras[4] = ras[8] = 0x10;
    EXPECT_FALSE(testsupport::DecodeBytes(img, ras, FORMAT_RAS));
    std::vector<uint8_t> j2k = testsupport::EncodeBytes(colour, FORMAT_JPC);
    j2k[8] = j2k[12] = 0x7F; // width and height in the SIZ segment
    EXPECT_FALSE(testsupport::DecodeBytes(img, j2k, FORMAT_JPC));
}
