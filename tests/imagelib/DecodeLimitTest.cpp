// Headers that declare far more than their file holds are refused before
// anything large is allocated; honest and truncated files still decode.
#include "ByteBuilder.h"
#include "Image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::Bytes;
using vimg::Image;

namespace {


// Restores the default ceilings whatever a test changed.
struct Limits {
    uint64_t pixels = Image::GetMaxPixels(), memory = Image::GetMaxMemory();
    ~Limits() {
        Image::SetMaxPixels(pixels);
        Image::SetMaxMemory(memory);
    }
};

std::string DecodeError(std::vector<uint8_t> bytes, uint32_t type) {
    Image img;
    if (img.Decode(bytes.data(), static_cast<uint32_t>(bytes.size()), type)) return "decoded";
    EXPECT_FALSE(img.IsValid());
    return img.GetLastError();
}

Bytes Bmp(int32_t w, int32_t h, uint32_t bpp, uint32_t compression, size_t body) {
    Bytes b;
    b.text("BM").u32(static_cast<uint32_t>(54 + body)).u32(0).u32(54);
    b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bpp).u32(compression);
    b.u32(0).u32(2835).u32(2835).u32(0).u32(0);
    return b.zeros(body);
}

// A grey progressive JPEG made by hand: one DC table whose only code (one bit)
// means "no change", a first DC scan at point transform 1 and `refinements`
// DC refinement scans. Every block decodes to mid grey.
std::vector<uint8_t> ProgressiveJpeg(uint32_t w, uint32_t h, uint64_t dataBytes, int refinements = 0) {
    Bytes b;
    b.be16(0xFFD8);
    b.be16(0xFFDB).be16(67).u8(0);
    for (int i = 0; i < 64; ++i) b.u8(1);
    b.be16(0xFFC2).be16(11).u8(8).be16(h).be16(w).u8(1).u8(1).u8(0x11).u8(0);
    b.be16(0xFFC4).be16(20).u8(0x00).u8(1).zeros(15).u8(0);
    const auto scan = [&](uint32_t ahAl) {
        b.be16(0xFFDA).be16(8).u8(1).u8(1).u8(0x00).u8(0).u8(0).u8(ahAl);
    };
    scan(0x01);
    b.zeros(dataBytes);
    for (int i = 0; i < refinements; ++i) {
        scan(0x10);
        b.zeros(dataBytes);
    }
    b.be16(0xFFD9);
    return b.v;
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

// Our own small PNG with its IHDR rewritten to w x h (and a matching CRC).
std::vector<uint8_t> PngClaiming(uint32_t w, uint32_t h) {
    Image small(16, 16, 24);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(small.Encode(buffer, size, vimg::FORMAT_PNG));
    std::vector<uint8_t> png(buffer, buffer + size);
    Image::FreeMemory(buffer);
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
        png[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
    }
    const uint32_t crc = Crc32(png.data() + 12, 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return png;
}

// Our own small JPEG 2000 code stream with its image and tile size rewritten to w x h.
std::vector<uint8_t> J2kClaiming(uint32_t w, uint32_t h) {
    Image small(16, 16, 24);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(small.Encode(buffer, size, vimg::FORMAT_JPC));
    std::vector<uint8_t> j2k(buffer, buffer + size);
    Image::FreeMemory(buffer);
    // SIZ follows the start marker: length, capabilities, then the sizes.
    for (const size_t at : {size_t{8}, size_t{24}})
        for (int i = 0; i < 4; ++i) {
            j2k[at + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
            j2k[at + 4 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
        }
    return j2k;
}

// An icon whose one entry is a PNG.
std::vector<uint8_t> IcoHolding(const std::vector<uint8_t>& png) {
    Bytes b;
    b.u16(0).u16(1).u16(1).u8(0).u8(0).u8(0).u8(0).u16(1).u16(32);
    b.u32(static_cast<uint32_t>(png.size())).u32(22);
    b.v.insert(b.v.end(), png.begin(), png.end());
    return b.v;
}

// A little-endian TIFF with one 8-bit grey strip of 100 bytes and the given size and compression.
std::vector<uint8_t> Tiff(uint32_t w, uint32_t h, uint32_t compression) {
    const uint32_t entries[][4] = {{256, 4, 1, w},           {257, 4, 1, h}, {258, 3, 1, 8},
                                   {259, 3, 1, compression}, {262, 3, 1, 1}, {273, 4, 1, 122},
                                   {277, 3, 1, 1},           {278, 4, 1, h}, {279, 4, 1, 100}};
    Bytes b;
    b.text("II").u16(42).u32(8).u16(9);
    for (const auto& e : entries) {
        b.u16(e[0]).u16(e[1]).u32(e[2]);
        if (e[1] == 3) b.u16(e[3]).u16(0);
        else b.u32(e[3]);
    }
    return b.u32(0).zeros(100).v;
}

} // namespace

TEST(DecodeLimit, HugeHeadersOverTinyBodiesAreRefusedPerFormat) {
    const std::string tooShort = "file too short for its header: 30000 x 30000 ";
    Bytes tga, pcx, ras, wbmp, gif;
    tga.u8(0).u8(0).u8(2).zeros(9).u16(30000).u16(30000).u8(24).u8(0x20).zeros(100);
    pcx.u8(10).u8(5).u8(0).u8(8).u16(0).u16(0).u16(29999).u16(29999).zeros(53).u8(3).u16(30000).zeros(60);
    pcx.zeros(100);
    ras.be32(0x59A66A95).be32(30000).be32(30000).be32(24).be32(0).be32(1).be32(0).be32(0).zeros(100);
    wbmp.u8(0).u8(0).u8(0x81).u8(0xEA).u8(0x30).u8(0x81).u8(0xEA).u8(0x30).zeros(
        100); // 30000 as 7-bit groups
    gif.text("GIF89a").u16(30000).u16(30000).u8(0x80).u8(0).u8(0).zeros(6);
    gif.text(",").u16(0).u16(0).u16(1).u16(1).u8(0).u8(2).u8(2).u8(0x44).u8(0x01).u8(0).text(";");
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        uint32_t type;
        std::string expected;
    } cases[] = {
        {"bmp 24 bits", Bmp(30000, 30000, 24, 0, 64).v, vimg::FORMAT_BMP,
         tooShort + "needs 2700000000 bytes of pixel data, the file holds 64"},
        {"bmp bit fields", Bmp(30000, 30000, 16, 3, 100).v, vimg::FORMAT_BMP,
         tooShort + "needs 1800000000 bytes"},
        {"tga", tga.v, vimg::FORMAT_TGA,
         tooShort + "needs 2700000000 bytes of pixel data, the file holds 100"},
        {"pcx", pcx.v, vimg::FORMAT_PCX, tooShort + "needs 2700000000 bytes"},
        {"ppm", Bytes().text("P6\n30000 30000\n255\n").zeros(100).v, vimg::FORMAT_PNM,
         tooShort + "needs 2700000000 bytes"},
        {"pgm 16 bits", Bytes().text("P5 30000 30000 65535\n").zeros(100).v, vimg::FORMAT_PNM,
         tooShort + "needs 1800000000 bytes"},
        {"ras", ras.v, vimg::FORMAT_RAS, tooShort + "needs 2700000000 bytes"},
        {"pgx", Bytes().text("PG ML +8 30000 30000\n").zeros(100).v, vimg::FORMAT_PGX,
         tooShort + "needs 900000000 bytes"},
        {"wbmp", wbmp.v, vimg::FORMAT_WBMP, tooShort + "needs 112500000 bytes"},
        {"gif", gif.v, vimg::FORMAT_GIF, tooShort + "cannot come from the 16 bytes of compressed data"},
        {"png", PngClaiming(30000, 30000), vimg::FORMAT_PNG, tooShort + "cannot come from the"},
        {"tiff", Tiff(30000, 30000, 1), vimg::FORMAT_TIF,
         tooShort + "needs 900000000 bytes of pixel data, the file holds 222"},
        {"tiff lzw", Tiff(30000, 30000, 5), vimg::FORMAT_TIF, tooShort + "cannot come from the 222 bytes"},
        {"progressive jpeg", ProgressiveJpeg(30000, 30000, 200), vimg::FORMAT_JPG,
         tooShort + "cannot come from the"},
        {"jpeg 2000", J2kClaiming(30000, 30000), vimg::FORMAT_JPC, tooShort + "cannot come from the"},
        {"icon with a png", IcoHolding(PngClaiming(30000, 30000)), vimg::FORMAT_ICO,
         tooShort + "cannot come from the"},
    };
    for (const auto& c : cases) {
        const std::string error = DecodeError(c.file, c.type);
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.name << ": " << error;
        // The unknown-type pass refuses them as well.
        EXPECT_EQ(DecodeError(c.file, vimg::FORMAT_UNKNOWN).rfind("decoded", 0), std::string::npos) << c.name;
    }
}

TEST(DecodeLimit, ProgressiveJpegBombMeetsTheCeilingAndHonestOnesDecode) {
    const Limits restore;
    // The size of the bomb found in the wild: over the default ceiling by its header alone.
    EXPECT_EQ(DecodeError(ProgressiveJpeg(49157, 27397, 600), vimg::FORMAT_JPG),
              "image too large: 49157 x 27397 exceeds the limit of 1073741824 pixels");
    // Above a raised ceiling the scan data is what gives it away.
    Image::SetMaxPixels(uint64_t{4} << 30);
    EXPECT_EQ(DecodeError(ProgressiveJpeg(49157, 27397, 600), vimg::FORMAT_JPG).rfind("file too short", 0),
              0u);

    // 2048 x 1024: 32768 blocks in exactly 4096 bytes of one-bit codes.
    Image::SetMaxPixels(Image::GetMaxPixels());
    const std::vector<uint8_t> honest = ProgressiveJpeg(2048, 1024, 4096, 1);
    Image img;
    ASSERT_TRUE(img.Decode(const_cast<uint8_t*>(honest.data()), static_cast<uint32_t>(honest.size()),
                           vimg::FORMAT_JPG))
        << img.GetLastError();
    EXPECT_EQ(img.GetWidth(), 2048u);
    EXPECT_EQ(img.GetPixelColor(1000, 500).rgbRed, 128);
    EXPECT_FALSE(img.IsTruncated());
    // Cut inside its scan data the same file still decodes, and says it was short.
    std::vector<uint8_t> cut(honest.begin(), honest.end() - 1000);
    ASSERT_TRUE(img.Decode(cut.data(), static_cast<uint32_t>(cut.size()), vimg::FORMAT_JPG))
        << img.GetLastError();
    EXPECT_TRUE(img.IsTruncated());
    const Bytes whole = Bmp(10, 10, 24, 0, 320);
    ASSERT_TRUE(img.Decode(const_cast<uint8_t*>(whole.v.data()), static_cast<uint32_t>(whole.v.size()),
                           vimg::FORMAT_BMP));
    EXPECT_FALSE(img.IsTruncated());

    // Endless refinement scans are cut off.
    EXPECT_EQ(DecodeError(ProgressiveJpeg(64, 64, 8, 1001), vimg::FORMAT_JPG),
              "JPEG: more than 1000 scans, refused as a hostile file");
    EXPECT_EQ(DecodeError(ProgressiveJpeg(64, 64, 8, 900), vimg::FORMAT_JPG), "decoded");
}

TEST(DecodeLimit, TruncatedFilesDecodeWhileTheyHoldHalfTheirData) {
    // 1000 x 1000 x 24 bits: 3 MB of rows, beyond the small-file allowance.
    const size_t rows = 3000000;
    for (const size_t held : {rows * 6 / 10, rows * 4 / 10}) {
        Bytes bmp = Bmp(1000, 1000, 24, 0, held);
        for (size_t i = 54; i < 54 + 3000; ++i) bmp.v[i] = 0x7F; // the bottom row
        Image img;
        const bool ok = img.Decode(bmp.v.data(), static_cast<uint32_t>(bmp.v.size()), vimg::FORMAT_BMP);
        if (held > rows / 2) {
            ASSERT_TRUE(ok) << img.GetLastError();
            EXPECT_TRUE(img.IsTruncated());
            EXPECT_EQ(img.GetPixelColor(500, 0).rgbGreen, 0x7F);
            EXPECT_EQ(img.GetPixelColor(500, 999).rgbGreen, 0); // missing: black
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(std::string(img.GetLastError())
                          .rfind("file too short for its header: 1000 x 1000 needs 3000000", 0),
                      0u)
                << img.GetLastError();
        }
    }
}

TEST(DecodeLimit, PixelCeilingIsSettableAndCoversEveryDecoder) {
    const Limits restore;
    Image::SetMaxPixels(100);
    EXPECT_EQ(DecodeError(Bmp(11, 10, 24, 0, 11 * 3 * 10 + 10).v, vimg::FORMAT_BMP),
              "image too large: 11 x 10 exceeds the limit of 100 pixels");
    EXPECT_EQ(DecodeError(Bmp(10, 10, 24, 0, 320).v, vimg::FORMAT_BMP), "decoded");
    // Made outside a decoder an image only obeys the memory bound.
    Image big(11, 10, 24);
    EXPECT_TRUE(big.IsValid());
    // Decoders that do not check for themselves meet the ceiling in Create.
    Image::SetMaxPixels(uint64_t{1} << 30);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(big.Encode(buffer, size, vimg::FORMAT_ICO));
    std::vector<uint8_t> ico(buffer, buffer + size);
    Image::FreeMemory(buffer);
    Image::SetMaxPixels(100);
    EXPECT_EQ(DecodeError(ico, vimg::FORMAT_ICO), "image too large: 11 x 10 exceeds the limit of 100 pixels");
}
