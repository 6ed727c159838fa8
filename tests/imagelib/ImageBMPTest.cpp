#include "ByteBuilder.h"
#include "Image.h"
#include "MemFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace vimg;
using testsupport::Bytes;
using testsupport::Convert;
using testsupport::Quote;

namespace {


Bytes InfoHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t compression, uint32_t size = 40,
                 uint32_t sizeImage = 0, int32_t ppm = 3780, uint32_t clrUsed = 0) {
    Bytes b;
    b.u32(size).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
    b.u32(sizeImage).u32(static_cast<uint32_t>(ppm)).u32(static_cast<uint32_t>(ppm)).u32(clrUsed).u32(0);
    return b;
}

std::vector<uint8_t> WithFileHeader(const Bytes& dib, uint32_t dataOffsetInDib) {
    Bytes f;
    f.u16(19778).u32(static_cast<uint32_t>(14 + dib.v.size())).u16(0).u16(0).u32(14 + dataOffsetInDib);
    f.v.insert(f.v.end(), dib.v.begin(), dib.v.end());
    return f.v;
}

Bytes GreyPalette(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b.u8(i).u8(i).u8(i).u8(0);
    return b;
}

bool DecodeBytes(Image& img, std::vector<uint8_t> bytes) {
    return img.Decode(bytes.data(), static_cast<uint32_t>(bytes.size()), FORMAT_BMP);
}

// Decodes `file` with our reader and with ImageMagick and compares every pixel.
// `topBits` > 0 compares only the top bits of each channel (bit-field files whose
// low bits our reader leaves 0 while ImageMagick replicates them).
void ExpectMatchesReference(const std::string& file, int topBits = 8, bool compareAlpha = false) {
    Image img;
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_BMP)) << file << ": " << img.GetLastError();
    int w = 0, h = 0;
    const auto ref = testsupport::ReferenceRGBA(file, &w, &h);
    ASSERT_EQ(ref.size(), static_cast<size_t>(w) * h * 4) << file;
    ASSERT_EQ(img.GetWidth(), static_cast<uint32_t>(w));
    ASSERT_EQ(img.GetHeight(), static_cast<uint32_t>(h));
    uint8_t* ours = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(img.Encode2RGBA(ours, size));
    const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - topBits));
    int bad = 0;
    for (int y = 0; y < h && bad < 5; ++y) {
        for (int x = 0; x < w && bad < 5; ++x) {
            const uint8_t* o = ours + (static_cast<size_t>(h - 1 - y) * w + x) * 4; // ours: bottom row first
            const uint8_t* r = ref.data() + (static_cast<size_t>(y) * w + x) * 4;
            for (int c = 0; c < (compareAlpha ? 4 : 3); ++c) {
                const uint8_t want = c == 3 || topBits == 8 ? r[c] : static_cast<uint8_t>(r[c] & mask);
                const uint8_t got = c == 3 || topBits == 8 ? o[c] : static_cast<uint8_t>(o[c] & mask);
                if (c == 3 && topBits < 8 ? (got >> 4) != (want >> 4) : got != want) {
                    ADD_FAILURE() << file << " pixel " << x << "," << y << " channel " << c << ": "
                                  << int(o[c]) << " vs " << int(r[c]);
                    ++bad;
                    break;
                }
            }
        }
    }
    Image::FreeMemory(ours);
}

class BmpReference : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    }
    // Runs ImageMagick with `args`, which end in the output file `name` of the temporary folder.
    void Make(const std::string& name, const std::string& args) {
        const std::string cmd = Convert() + " " + args;
        EXPECT_EQ(testsupport::Run(cmd + " >/dev/null 2>&1"), 0) << cmd;
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << cmd;
    }
    // Makes `name` from `source` with `options` (ending in the BMP flavour) and compares it.
    void MakeAndCompare(const std::string& source, const std::string& name, const std::string& options,
                        int topBits = 8, bool compareAlpha = false) {
        Make(name, Quote(source) + " " + options + dir.file(name));
        ExpectMatchesReference(dir.file(name), topBits, compareAlpha);
    }
    testsupport::TempDir dir;
};

} // namespace

TEST_F(BmpReference, UncompressedDepths) {
    const std::string src = dir.file("src.png");
    ASSERT_EQ(testsupport::Run(Convert() + " -seed 3 -size 61x37 plasma:fractal " + Quote(src)), 0);
    MakeAndCompare(src, "d24.bmp", "-type truecolor BMP3:");
    MakeAndCompare(src, "d8.bmp", "-colors 200 -type palette BMP3:");
    MakeAndCompare(src, "d4.bmp", "-colors 16 -type palette BMP3:");
    MakeAndCompare(src, "d1.bmp", "-monochrome BMP3:");
    // Current writers' 124-byte header with the same depths.
    MakeAndCompare(src, "v5.bmp", "-colors 100 -type palette BMP:");
    MakeAndCompare(src, "v5-24.bmp", "-type truecolor BMP:");
}

TEST_F(BmpReference, RunLengthAndOlderHeaders) {
    const std::string src = dir.file("src.png");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 83x29 gradient:red-blue -draw 'circle 40,14 40,4' " +
                               Quote(src)),
              0);
    MakeAndCompare(src, "rle8.bmp", "-colors 60 -type palette -compress RLE BMP3:");
    MakeAndCompare(src, "rle8v5.bmp", "-colors 60 -type palette -compress RLE BMP:");
    MakeAndCompare(src, "os2.bmp", "-colors 60 -type palette BMP2:");
    MakeAndCompare(src, "os2-24.bmp", "-type truecolor BMP2:");
}

TEST_F(BmpReference, BitFieldLayouts) {
    const std::string src = dir.file("src.png");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 45x21 gradient:yellow-navy " + Quote(src)), 0);
    MakeAndCompare(src, "565.bmp", "-define bmp:subtype=RGB565 BMP:", 5);
    MakeAndCompare(src, "555.bmp", "-define bmp:subtype=RGB555 BMP:", 5);
    const std::string alphaSrc = dir.file("alpha.png");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 45x21 gradient:'rgba(255,0,0,0.1)'-'rgba(0,200,90,0.9)' " +
                               Quote(alphaSrc)),
              0);
    MakeAndCompare(alphaSrc, "8888.bmp", "-define bmp:subtype=ARGB8888 BMP:", 8, true);
    MakeAndCompare(alphaSrc, "4444.bmp", "-define bmp:subtype=ARGB4444 BMP:", 4, true);
}

TEST_F(BmpReference, Version4HeaderAndTopDownRows) {
    // ImageMagick writes 124-byte headers; cut one down to the 108-byte layout.
    const std::string v5 = dir.file("v5.bmp");
    ASSERT_EQ(
        testsupport::Run(Convert() +
                         " -size 30x20 gradient:green-white -define bmp:subtype=RGB565 BMP:" + Quote(v5)),
        0);
    auto bytes = testsupport::ReadFile(v5);
    ASSERT_GT(bytes.size(), 138u);
    std::vector<uint8_t> v4(bytes.begin(), bytes.begin() + 14 + 108);
    v4.insert(v4.end(), bytes.begin() + 14 + 124, bytes.end());
    v4[14] = 108;
    const uint32_t offset = bytes[10] | (bytes[11] << 8);
    v4[10] = static_cast<uint8_t>(offset - 16);
    v4[11] = static_cast<uint8_t>((offset - 16) >> 8);
    const uint32_t fileSize = static_cast<uint32_t>(v4.size());
    std::memcpy(v4.data() + 2, &fileSize, 4);
    const std::string v4path = dir.file("v4.bmp");
    testsupport::WriteFile(v4path, v4);
    ExpectMatchesReference(v4path, 5);

    // The same 24-bit file stored top-down must decode to the same picture.
    const std::string bottomUp = dir.file("bu.bmp");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 13x9 plasma: -type truecolor BMP3:" + Quote(bottomUp)), 0);
    auto bu = testsupport::ReadFile(bottomUp);
    const uint32_t stride = (13 * 3 + 3) & ~3u;
    std::vector<uint8_t> td(bu.begin(), bu.begin() + 54);
    for (int row = 8; row >= 0; --row)
        td.insert(td.end(), bu.begin() + 54 + row * stride, bu.begin() + 54 + (row + 1) * stride);
    const int32_t negative = -9;
    std::memcpy(td.data() + 22, &negative, 4);
    Image a, b;
    ASSERT_TRUE(a.Load(bottomUp.c_str(), FORMAT_BMP));
    ASSERT_TRUE(DecodeBytes(b, td));
    EXPECT_EQ(b.GetHeight(), 9u);
    EXPECT_EQ(std::memcmp(a.GetBits(0), b.GetBits(0), a.GetHeader().biSizeImage), 0);
}

TEST(BmpReader, BareBitmapWithoutFileHeader) {
    Bytes dib = InfoHeader(3, 2, 8, 0);
    dib.append(GreyPalette(256));
    dib.raw({10, 20, 30, 0, 40, 50, 60, 0});
    Image img;
    ASSERT_TRUE(DecodeBytes(img, dib.v));
    EXPECT_EQ(img.GetPixelIndex(0, 0), 10);
    EXPECT_EQ(img.GetPixelIndex(2, 1), 60);
    EXPECT_EQ(img.GetPaletteColor(50).rgbGreen, 50);
}

TEST(BmpReader, TopDownHeightMinusFour) {
    Bytes dib = InfoHeader(1, -4, 24, 0);
    for (int row = 0; row < 4; ++row) dib.u8(row).u8(0).u8(0).u8(0);
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 40)));
    EXPECT_EQ(img.GetHeight(), 4u);
    EXPECT_EQ(img.GetPixelColor(0, 3).rgbBlue, 0); // first stored row is the top row
    EXPECT_EQ(img.GetPixelColor(0, 0).rgbBlue, 3);
}

TEST(BmpReader, Os2HeaderWith256ThreeByteEntries) {
    Bytes dib;
    dib.u32(12).u16(2).u16(1).u16(1).u16(8);
    for (int i = 0; i < 256; ++i) dib.u8(i).u8(255 - i).u8(7); // blue, green, red
    dib.raw({200, 3, 0, 0});
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 12 + 768)));
    ASSERT_EQ(img.GetNumColors(), 256u);
    EXPECT_EQ(img.GetPaletteColor(200), (RGBQUAD{200, 55, 7, 0}));
    EXPECT_EQ(img.GetPaletteColor(255), (RGBQUAD{255, 0, 7, 0}));
    EXPECT_EQ(img.GetPixelIndex(0, 0), 200);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 3);
}

TEST(BmpReader, HeaderOf64BytesAndOtherLargeSizes) {
    Bytes dib = InfoHeader(2, 1, 24, 0, 64);
    dib.zeros(24);
    dib.raw({1, 2, 3, 4, 5, 6, 0, 0});
    Image img;
    ASSERT_TRUE(DecodeBytes(img, dib.v));
    EXPECT_EQ(img.GetPixelColor(1, 0).rgbRed, 6);

    // An unknown 52-byte header is taken only when its fields are consistent.
    Bytes odd = InfoHeader(2, 1, 24, 0, 52, 8);
    odd.zeros(12).raw({1, 2, 3, 4, 5, 6, 0, 0});
    ASSERT_TRUE(DecodeBytes(img, odd.v));
    EXPECT_EQ(img.GetPixelColor(0, 0).rgbBlue, 1);
    Bytes inconsistent = InfoHeader(2, 1, 24, 0, 52, 9);
    inconsistent.zeros(12 + 8);
    EXPECT_FALSE(DecodeBytes(img, inconsistent.v));
    EXPECT_STREQ(img.GetLastError(), "Error reading BMP info");
    Bytes small = InfoHeader(2, 1, 24, 0, 20);
    EXPECT_FALSE(DecodeBytes(img, small.v));
    EXPECT_STREQ(img.GetLastError(), "Error reading BMP info");
}

TEST(BmpReader, Version4HeaderWithAlphaMask) {
    // 108-byte header, 32 bits with bit fields: masks including alpha are in the header.
    Bytes dib = InfoHeader(2, 1, 32, 3, 108);
    dib.u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000);
    dib.zeros(108 - 56);
    dib.raw({10, 20, 30, 40, 50, 60, 70, 80});
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 108)));
    EXPECT_EQ(img.GetPixelColor(0, 0, false), (RGBQUAD{10, 20, 30, 0}));
    ASSERT_TRUE(img.AlphaIsValid());
    EXPECT_EQ(img.AlphaGet(1, 0), 80);
}

TEST(BmpReader, Bitfields565TopBitsAndLowBitsZero) {
    Bytes dib = InfoHeader(1, 1, 16, 3);
    dib.u32(0xF800).u32(0x07E0).u32(0x001F);
    dib.u16(0xFFFF).u16(0);
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 52)));
    EXPECT_EQ(img.GetPixelColor(0, 0), (RGBQUAD{0xF8, 0xFC, 0xF8, 0}));
    Bytes one = InfoHeader(1, 1, 16, 3);
    one.u32(0xF800).u32(0x07E0).u32(0x001F);
    one.u16((1 << 11) | (1 << 5) | 1).u16(0);
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(one, 52)));
    EXPECT_EQ(img.GetPixelColor(0, 0), (RGBQUAD{8, 4, 8, 0}));
    // Default 5-5-5 layout without compression 3.
    Bytes def = InfoHeader(1, 1, 16, 0);
    def.u16(0x7FFF).u16(0);
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(def, 40)));
    EXPECT_EQ(img.GetPixelColor(0, 0), (RGBQUAD{0xF8, 0xF8, 0xF8, 0}));
    // A layout other than the two defaults: 4-4-4 in the low twelve bits.
    Bytes odd = InfoHeader(1, 1, 16, 3);
    odd.u32(0x0F00).u32(0x00F0).u32(0x000F);
    odd.u16(0x0A5C).u16(0);
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(odd, 52)));
    EXPECT_EQ(img.GetPixelColor(0, 0), (RGBQUAD{0xC0, 0x50, 0xA0, 0}));
}

TEST(BmpReader, ResolutionFromPelsPerMetre) {
    Bytes dib = InfoHeader(1, 1, 24, 0, 40, 0, 200);
    dib.zeros(4);
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 40)));
    EXPECT_EQ(img.GetXDPI(), 5);
    Bytes std96 = InfoHeader(1, 1, 24, 0, 40, 0, 3780);
    std96.zeros(4);
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(std96, 40)));
    EXPECT_EQ(img.GetYDPI(), 96);
}

// Hand-made run-length files (ImageMagick cannot write RLE4, and its RLE8 writer
// never passes a row end) checked against ImageMagick's decoding.
class BmpRunLength : public BmpReference {
protected:
    void Check(const std::string& name, int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
               std::initializer_list<uint8_t> data) {
        Bytes dib = InfoHeader(w, h, bpp, compression);
        for (int i = 0; i < (1 << bpp); ++i) dib.u8(i * 37).u8(255 - i * 11).u8(i * 16).u8(0);
        const uint32_t offset = static_cast<uint32_t>(dib.v.size());
        dib.raw(data).zeros(8); // ImageMagick reads a little past the end-of-bitmap code
        testsupport::WriteFile(dir.file(name), WithFileHeader(dib, offset));
        ExpectMatchesReference(dir.file(name));
    }
};

TEST_F(BmpRunLength, Rle4RunsStartingAtOddPixels) {
    // Encoded run of 3, then an absolute run of 5 starting at pixel 3, an
    // encoded run at pixel 8, an odd delta and runs after it.
    Check("odd.bmp", 13, 3, 4, 2,
          {3, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 4, 0x9A, 0, 0, //
           1, 0xEF, 0, 2, 3, 0, 0, 3, 0xAB, 0xC0, 0, 3, 0x78, 0, 0, //
           0, 7, 0x13, 0x57, 0x9B, 0xD0, 0, 0, 0, 1});
}

TEST_F(BmpRunLength, RunsPassingTheRowEndContinueOnTheNextRow) {
    // Width 6: a run of 9 fills row 0 and three pixels of row 1; an absolute run
    // of 7 passes the end of row 1 too; end-of-line then moves by logical rows.
    Check("rle8wrap.bmp", 6, 4, 8, 1, {9, 5, 0, 7, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 4, 9, 0, 0, 2, 8, 0, 1});
    Check("rle4wrap.bmp", 5, 3, 4, 2, {8, 0x3C, 0, 0, 0, 7, 0x12, 0x34, 0x56, 0x70, 0, 0, 0, 1});
    // The last row's overrun is dropped: nothing is written outside the picture.
    Check("rle8last.bmp", 4, 2, 8, 1, {0, 0, 255, 6, 0, 1});
}

TEST(BmpReader, Rle8RowsBeyondThePictureAreConsumedUnwritten) {
    Bytes far = InfoHeader(4, 2, 8, 1);
    far.append(GreyPalette(256));
    const uint32_t farOffset = static_cast<uint32_t>(far.v.size());
    far.raw({0, 2, 0, 200, 4, 1, 0, 0, 2, 3, 0, 1});
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(far, farOffset)));
    EXPECT_EQ(img.GetPixelIndex(0, 0), 0);
}

TEST(BmpReader, ErrorTextsAndSizeOnlyRequest) {
    Image img;
    uint8_t tiny[5] = {'B', 'M', 0, 0, 0};
    EXPECT_FALSE(img.Decode(tiny, 5, FORMAT_BMP));
    EXPECT_STREQ(img.GetLastError(), "Not a BMP");

    Bytes rle24 = InfoHeader(2, 2, 24, 1);
    rle24.zeros(16);
    EXPECT_FALSE(DecodeBytes(img, WithFileHeader(rle24, 40)));
    EXPECT_STREQ(img.GetLastError(), "unknown compression");
    Bytes bad8 = InfoHeader(2, 2, 8, 4);
    bad8.zeros(1024 + 16);
    EXPECT_FALSE(DecodeBytes(img, WithFileHeader(bad8, 1064)));
    EXPECT_STREQ(img.GetLastError(), "compression type not supported");
    Bytes bad32 = InfoHeader(2, 2, 32, 1);
    bad32.zeros(16);
    EXPECT_FALSE(DecodeBytes(img, WithFileHeader(bad32, 40)));
    EXPECT_STREQ(img.GetLastError(), "unknown compression");

    Bytes ok = InfoHeader(300, 200, 24, 0);
    Image sizeOnly;
    sizeOnly.SetEscape(-1);
    ASSERT_TRUE(DecodeBytes(sizeOnly, WithFileHeader(ok, 40)));
    EXPECT_EQ(sizeOnly.GetWidth(), 300u);
    EXPECT_EQ(sizeOnly.GetHeight(), 200u);
    EXPECT_FALSE(sizeOnly.IsValid());
    EXPECT_STREQ(sizeOnly.GetLastError(), "output dimensions returned");

    Image cancelled;
    cancelled.SetEscape(1);
    EXPECT_FALSE(DecodeBytes(cancelled, WithFileHeader(ok, 40)));
    EXPECT_STREQ(cancelled.GetLastError(), "Cancelled");
}

TEST(BmpReader, ShortFileKeepsZeroedPixels) {
    Bytes dib = InfoHeader(4, 4, 24, 0);
    dib.raw({1, 2, 3}); // only one pixel of 16 present
    Image img;
    ASSERT_TRUE(DecodeBytes(img, WithFileHeader(dib, 40)));
    EXPECT_EQ(img.GetPixelColor(0, 0).rgbRed, 3);
    EXPECT_EQ(img.GetPixelColor(3, 3), (RGBQUAD{0, 0, 0, 0}));
}

TEST(BmpHostile, AbsurdSizesAndOffsetsFailCleanly) {
    const uint64_t saved = Image::GetMaxMemory();
    Image::SetMaxMemory(64u << 20);
    struct Case {
        int32_t w, h;
        uint16_t bpp;
    } cases[] = {{0x7FFFFFFF, 0x7FFFFFFF, 24}, {-5, 5, 8}, {5, INT32_MIN, 8}, {100000, 100000, 32}};
    for (const Case& c : cases) {
        Bytes dib = InfoHeader(c.w, c.h, c.bpp, 0);
        dib.zeros(64);
        Image img;
        EXPECT_FALSE(DecodeBytes(img, WithFileHeader(dib, 40))) << c.w << "x" << c.h;
        EXPECT_FALSE(img.IsValid());
    }
    // Colour count and pixel offset far beyond the file.
    Bytes pal = InfoHeader(4, 4, 8, 0, 40, 0, 0, 0xFFFFFFF0u);
    pal.zeros(40);
    Image img;
    EXPECT_TRUE(DecodeBytes(img, WithFileHeader(pal, 0x7FFFFFF0u)));
    Image::SetMaxMemory(saved);
}

TEST(BmpHostile, RandomCorruptionAndTruncationNeverCrash) {
    // A valid run-length file and a bit-field file as seeds for corruption.
    Bytes rle = InfoHeader(17, 9, 8, 1);
    rle.append(GreyPalette(256));
    const uint32_t rleOffset = static_cast<uint32_t>(rle.v.size());
    for (int y = 0; y < 9; ++y) rle.raw({5, 1, 0, 4, 1, 2, 3, 4, 8, 7, 0, 0});
    rle.raw({0, 1});
    Bytes rle4 = InfoHeader(17, 9, 4, 2);
    rle4.append(GreyPalette(16));
    const uint32_t rle4Offset = static_cast<uint32_t>(rle4.v.size());
    for (int y = 0; y < 9; ++y) rle4.raw({5, 0x12, 0, 6, 0x34, 0x56, 0x78, 0, 0, 2, 3, 1, 0, 0});
    Bytes bf = InfoHeader(7, 5, 16, 3);
    bf.u32(0xF800).u32(0x07E0).u32(0x001F);
    bf.zeros(5 * 16);
    const std::vector<std::vector<uint8_t>> seeds = {
        WithFileHeader(rle, rleOffset), WithFileHeader(rle4, rle4Offset), WithFileHeader(bf, 52)};

    const uint64_t saved = Image::GetMaxMemory();
    Image::SetMaxMemory(16u << 20);
    std::mt19937 rng(12345);
    int decoded = 0;
    for (const auto& seed : seeds) {
        for (size_t cut = 0; cut < seed.size(); cut += 7) {
            std::vector<uint8_t> shortFile(seed.begin(), seed.begin() + static_cast<long>(cut));
            Image img;
            decoded += DecodeBytes(img, shortFile);
        }
        for (int round = 0; round < 400; ++round) {
            std::vector<uint8_t> bytes = seed;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
            Image img;
            if (DecodeBytes(img, bytes)) {
                ++decoded;
                // Whatever was decoded is a consistent image.
                ASSERT_TRUE(img.IsValid());
                ASSERT_EQ(img.GetSize(), 40 + 4 * img.GetNumColors() + img.GetEffWidth() * img.GetHeight());
            } else {
                ASSERT_NE(img.GetLastError()[0], '\0');
            }
        }
    }
    Image::SetMaxMemory(saved);
    EXPECT_GT(decoded, 0);
}

TEST(BmpWriter, FileHeaderAndBlockRoundTrip) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        Image img(23, 7, bpp);
        if (bpp < 24) img.SetStdPalette();
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 23; ++x)
                img.SetPixelColor(x, y, RGBQUAD{uint8_t(x * 11), uint8_t(y * 37), uint8_t(x ^ y), 0});
        img.SetXDPI(300);
        uint8_t* buf = nullptr;
        int32_t size = 0;
        ASSERT_TRUE(img.Encode(buf, size, FORMAT_BMP));
        ASSERT_EQ(size, static_cast<int32_t>(img.GetSize() + 14));
        EXPECT_EQ(buf[0] | (buf[1] << 8), 19778);
        EXPECT_EQ(static_cast<uint32_t>(buf[2] | (buf[3] << 8) | (buf[4] << 16)), img.GetSize() + 14);
        EXPECT_EQ(static_cast<uint32_t>(buf[10] | (buf[11] << 8)), 54 + img.GetPaletteSize());
        EXPECT_EQ(std::memcmp(buf + 14 + 40, static_cast<uint8_t*>(img.GetDIB()) + 40, img.GetSize() - 40),
                  0);
        Image back;
        ASSERT_TRUE(back.Decode(buf, static_cast<uint32_t>(size), FORMAT_BMP));
        EXPECT_EQ(back.GetXDPI(), 300);
        EXPECT_EQ(std::memcmp(back.GetDIB(), img.GetDIB(), img.GetSize()), 0) << bpp;
        Image::FreeMemory(buf);
    }
}
