#include "CodecRegistry.h"
#include "Image.h"
#include "IOFile.h"
#include "MemFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace vimg;

namespace {

Image MakeGradient(uint32_t w, uint32_t h) {
    Image img(w, h, 24);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            img.SetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y),
                              RGBQUAD{static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 11),
                                      static_cast<uint8_t>(x + y), 0});
    return img;
}

} // namespace

TEST(CodecDispatch, UnknownIdsAndNullStreams) {
    Image img;
    uint8_t junk[4] = {1, 2, 3, 4};
    EXPECT_FALSE(img.Decode(junk, 4, 16));
    EXPECT_STREQ(img.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_FALSE(img.Decode(junk, 4, 0));
    EXPECT_STREQ(img.GetLastError(), "Decode: Unknown or wrong format");

    Image src = MakeGradient(4, 4);
    MemFile out;
    out.Open();
    EXPECT_FALSE(src.Encode(&out, 0));
    EXPECT_STREQ(src.GetLastError(), "Encode: Unknown format");
    EXPECT_FALSE(src.Encode(&out, 99));
    EXPECT_STREQ(src.GetLastError(), "Encode: Unknown format");
    EXPECT_FALSE(src.Encode(static_cast<File*>(nullptr), FORMAT_BMP));
    EXPECT_STREQ(src.GetLastError(), "null file handler");
    Image empty;
    EXPECT_FALSE(empty.Encode(&out, FORMAT_BMP));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");
}

TEST(CodecDispatch, EncodeToMemoryHandsOutBufferOnlyWhenEmpty) {
    Image src = MakeGradient(9, 5);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(src.Encode(buffer, size, FORMAT_BMP));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(size, static_cast<int32_t>(14 + src.GetSize()));
    EXPECT_EQ(buffer[0], 'B');

    uint8_t* again = buffer;
    int32_t size2 = 0;
    EXPECT_FALSE(src.Encode(again, size2, FORMAT_BMP));
    EXPECT_STREQ(src.GetLastError(), "the buffer must be empty");
    EXPECT_EQ(size2, 0);

    Image back;
    ASSERT_TRUE(back.Decode(buffer, static_cast<uint32_t>(size), FORMAT_BMP));
    EXPECT_EQ(back.GetType(), static_cast<uint32_t>(FORMAT_BMP));
    EXPECT_EQ(std::memcmp(back.GetBits(0), src.GetBits(0), src.GetHeader().biSizeImage), 0);
    Image::FreeMemory(buffer);
}

TEST(CodecDispatch, EncodingDoesNotCopyOrDisturbTheImage) {
    Image src = MakeGradient(3, 3);
    const void* dib = src.GetDIB();
    MemFile out;
    out.Open();
    ASSERT_TRUE(src.Encode(&out, FORMAT_BMP));
    EXPECT_EQ(src.GetDIB(), dib);
    EXPECT_TRUE(src.IsValid());
    EXPECT_EQ(src.GetPixelColor(2, 2).rgbBlue, 14);
}

TEST(CodecDispatch, FailedDecodeLeavesImageAsItWas) {
    Image img = MakeGradient(6, 6);
    uint8_t junk[64] = {'B', 'M'};
    EXPECT_FALSE(img.Decode(junk, sizeof junk, FORMAT_BMP));
    EXPECT_STREQ(img.GetLastError(), "Error reading BMP info");
    EXPECT_EQ(img.GetWidth(), 6u);
    EXPECT_EQ(img.GetPixelColor(5, 5).rgbBlue, 35);
}

TEST(CodecDispatch, LoadFallsBackToContentAndRestoresAskedError) {
    testsupport::TempDir dir;
    Image src = MakeGradient(8, 8);
    const std::string misnamed = dir.file("really-a-bmp.jpg");
    ASSERT_TRUE(src.Save(misnamed.c_str(), FORMAT_BMP));
    Image img;
    // No JPEG codec claims it, so the unknown-type pass finds the bitmap.
    ASSERT_TRUE(img.Load(misnamed.c_str(), FORMAT_JPG));
    EXPECT_EQ(img.GetType(), static_cast<uint32_t>(FORMAT_BMP));
    EXPECT_EQ(img.GetWidth(), 8u);

    const std::string junk = dir.file("junk.bmp");
    testsupport::WriteFile(junk, std::vector<uint8_t>(100, 0x11));
    Image bad;
    EXPECT_FALSE(bad.Load(junk.c_str(), FORMAT_BMP));
    // The asked decoder's message, not the generic one.
    EXPECT_STREQ(bad.GetLastError(), "Error reading BMP info");
    Image bad2;
    EXPECT_FALSE(bad2.Load(junk.c_str(), 0));
    EXPECT_STREQ(bad2.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_FALSE(bad2.Load(dir.file("missing.bmp").c_str(), FORMAT_BMP));
}

TEST(CodecDispatch, MultipageRefusesOtherFormats) {
    Image a = MakeGradient(2, 2);
    Image* pages[1] = {&a};
    MemFile out;
    out.Open();
    EXPECT_FALSE(a.Encode(&out, pages, 1, FORMAT_BMP));
    EXPECT_STREQ(a.GetLastError(), "Multipage Encode, Unsupported operation for this format");
}

TEST(CodecDispatch, RgbaDumpOrderAndAlphaRules) {
    Image rgb(2, 2, 24);
    rgb.SetPixelColor(1, 0, RGBQUAD{3, 2, 1, 0});
    rgb.SetPixelColor(0, 1, RGBQUAD{30, 20, 10, 0});
    uint8_t* buf = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(rgb.Encode2RGBA(buf, size));
    ASSERT_EQ(size, 16);
    // Bottom row first, left to right, R G B A; no alpha plane gives 0.
    const uint8_t want[16] = {0, 0, 0, 0, 1, 2, 3, 0, 10, 20, 30, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buf, want, 16), 0);
    Image::FreeMemory(buf);

    rgb.AlphaCreate();
    rgb.AlphaSet(1, 0, 77);
    buf = nullptr;
    ASSERT_TRUE(rgb.Encode2RGBA(buf, size));
    EXPECT_EQ(buf[7], 77);
    EXPECT_EQ(buf[3], 255);
    Image::FreeMemory(buf);

    Image pal(1, 1, 8);
    pal.SetPaletteColor(0, 9, 8, 7, 66);
    pal.AlphaCreate(); // indexed images report the palette's reserved byte
    buf = nullptr;
    ASSERT_TRUE(pal.Encode2RGBA(buf, size));
    EXPECT_EQ(buf[0], 9);
    EXPECT_EQ(buf[3], 66);
    Image::FreeMemory(buf);
}

TEST(CodecDispatch, RegistryProbeOrderStartsWithBitmap) {
    const auto order = CodecRegistry::ProbeOrder();
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front()->type, static_cast<uint32_t>(FORMAT_BMP));
    for (size_t i = 1; i < order.size(); ++i) EXPECT_LE(order[i - 1]->probeOrder, order[i]->probeOrder);
}

// The one format table: every id 1..15 once, with the extension table of the
// dispatcher and what each format can do.
TEST(CodecDispatch, RegistryDescribesEveryFormatOnce) {
    const auto formats = CodecRegistry::Formats();
    ASSERT_EQ(formats.size(), 15u);
    std::vector<int> seen(FORMAT_COUNT, 0);
    for (const CodecEntry* f : formats) {
        ASSERT_GT(f->type, 0u);
        ASSERT_LT(f->type, FORMAT_COUNT);
        ++seen[f->type];
        EXPECT_FALSE(f->extensions.empty()) << f->name;
        EXPECT_TRUE(f->reads) << f->name;
        EXPECT_EQ(f->writes, f->type != FORMAT_WMF) << f->name;
        EXPECT_EQ(f->multiFrame, f->type == FORMAT_GIF || f->type == FORMAT_ICO || f->type == FORMAT_TIF ||
                                     f->type == FORMAT_PCX)
            << f->name;
        EXPECT_EQ(f->encodeMulti != nullptr, f->type == FORMAT_GIF || f->type == FORMAT_TIF) << f->name;
        for (const std::string& e : f->extensions) EXPECT_EQ(CodecRegistry::TypeOfExtension(e), f->type) << e;
    }
    for (uint32_t id = 1; id < FORMAT_COUNT; ++id) EXPECT_EQ(seen[id], 1) << id;

    const std::pair<const char*, uint32_t> names[] = {
        {"a.bmp", 1},  {"a.JPEG", 3}, {"a.jpg", 3},  {"a.gif", 2},  {"x/y.png", 4}, {"a.ico", 5},
        {"a.Tiff", 6}, {"a.tif", 6},  {"a.tga", 7},  {"a.pcx", 8},  {"a.wbmp", 9},  {"a.wmf", 10},
        {"a.emf", 10}, {"a.jp2", 11}, {"a.j2k", 11}, {"a.jpc", 12}, {"a.j2c", 12},  {"a.pgx", 13},
        {"a.pnm", 14}, {"a.pgm", 14}, {"a.ppm", 14}, {"a.ras", 15}, {"a.cur", 0},   {"a", 0},
        {"dir.png/a", 0}, {"a.", 0},  {"a.bmpx", 0}};
    for (const auto& [name, id] : names) EXPECT_EQ(CodecRegistry::TypeOfFileName(name), id) << name;
}

TEST(CodecDispatch, UnopenableFilesSayWhich) {
    testsupport::TempDir dir;
    const std::string missing = dir.file("missing.png");
    for (uint32_t type : {0u, 4u}) {
        Image img;
        EXPECT_FALSE(img.Load(missing.c_str(), type));
        EXPECT_EQ(std::string(img.GetLastError()).rfind("cannot open file: " + missing + " (", 0), 0u)
            << img.GetLastError();
    }
    Image img(4, 4, 24);
    const std::string unwritable = dir.file("no-such-folder/out.bmp");
    EXPECT_FALSE(img.Save(unwritable.c_str(), FORMAT_BMP));
    // Saving writes beside the target first, so the text names that step and the target.
    EXPECT_NE(std::string(img.GetLastError()).find("'" + unwritable + "': No such file or directory"),
              std::string::npos)
        << img.GetLastError();
}
