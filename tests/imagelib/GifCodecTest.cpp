#include "ByteBuilder.h"
#include "CodecTestSupport.h"
#include "MemFile.h"
#include "codecs/ImageGIF.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

using namespace vimg;
using namespace testsupport;
using testsupport::DecodeBytes;

namespace {

std::vector<uint8_t> WriteGif(Image& img, uint32_t option = 0) {
    img.SetCodecOption(option, FORMAT_GIF);
    return testsupport::EncodeBytes(img, FORMAT_GIF);
}

std::vector<uint8_t> WriteAnimation(ImageGIF& codec, std::vector<Image*> frames, bool local = false) {
    MemFile out;
    out.Open();
    EXPECT_TRUE(codec.Encode(&out, frames.data(), static_cast<int32_t>(frames.size()), local))
        << codec.GetLastError();
    const uint8_t* p = out.GetBuffer(false);
    return std::vector<uint8_t>(p, p + out.Size());
}

size_t Find(const std::vector<uint8_t>& hay, const std::string& needle) {
    auto it = std::search(hay.begin(), hay.end(), needle.begin(), needle.end());
    return it == hay.end() ? std::string::npos : static_cast<size_t>(it - hay.begin());
}

// Offset of the first image descriptor of a file written by our encoder.
size_t FirstImage(const std::vector<uint8_t>& gif) {
    size_t pos = 13;
    if (gif[10] & 0x80) pos += 3u * (2u << (gif[10] & 7));
    while (pos < gif.size() && gif[pos] == 0x21) {
        pos += 2;
        while (pos < gif.size() && gif[pos]) pos += gif[pos] + 1u;
        ++pos;
    }
    return pos;
}

// Reads the code stream of the first image like a decoder and returns the
// longest run of codes between two clear codes.
size_t LongestRunWithoutClear(const std::vector<uint8_t>& gif) {
    size_t pos = FirstImage(gif) + 10;
    const int minSize = gif[pos++];
    std::vector<uint8_t> data;
    while (gif[pos]) {
        data.insert(data.end(), gif.begin() + static_cast<long>(pos) + 1,
                    gif.begin() + static_cast<long>(pos) + 1 + gif[pos]);
        pos += gif[pos] + 1u;
    }
    const int clear = 1 << minSize;
    int size = minSize + 1, next = clear + 2;
    bool first = true;
    size_t bit = 0, run = 0, longest = 0;
    while (bit + static_cast<size_t>(size) <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < size; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == clear) {
            size = minSize + 1;
            next = clear + 2;
            first = true;
            run = 0;
            continue;
        }
        if (code == clear + 1) break;
        longest = std::max(longest, ++run);
        if (!first && next < 4096 && ++next == (1 << size) && size < 12) ++size;
        first = false;
    }
    return longest;
}

// A GIF of one w x h image whose code stream holds only literal codes, with
// the given minimum code size and a clear code before the decoder's table fills.
std::vector<uint8_t> LiteralGif(uint32_t w, uint32_t h, const std::vector<uint32_t>& pixels,
                                int minCodeSize) {
    const uint32_t clear = 1u << minCodeSize;
    std::vector<uint8_t> data;
    uint32_t accum = 0, next = clear + 2;
    int bits = 0, size = minCodeSize + 1;
    const auto put = [&](uint32_t code) {
        accum |= code << bits;
        for (bits += size; bits >= 8; bits -= 8, accum >>= 8)
            data.push_back(static_cast<uint8_t>(accum));
    };
    put(clear);
    bool first = true;
    for (uint32_t p : pixels) {
        put(p);
        if (!first && next < 4096 && ++next == (1u << size) && size < 12) ++size;
        first = false;
        if (next == 4095) {
            put(clear);
            size = minCodeSize + 1;
            next = clear + 2;
            first = true;
        }
    }
    put(clear + 1);
    if (bits > 0) data.push_back(static_cast<uint8_t>(accum));
    testsupport::Bytes gif;
    gif.text("GIF89a").u16(w).u16(h).u8(0x87).u8(0).u8(0);
    for (uint32_t i = 0; i < 256; ++i)
        gif.u8(i * 7).u8(i * 13).u8(i * 29);
    gif.u8(0x2C).u16(0).u16(0).u16(w).u16(h).u8(0).u8(static_cast<uint32_t>(minCodeSize));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        gif.u8(static_cast<uint32_t>(n))
            .raw(std::vector<uint8_t>(data.begin() + static_cast<long>(at),
                                      data.begin() + static_cast<long>(at + n)));
    }
    gif.u8(0).u8(0x3B);
    return gif.v;
}

class GifTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    }
    std::string Make(const std::string& name, const std::string& args) {
        return testsupport::MakeWithImageMagick(dir, name, args);
    }
    TempDir dir;
};

} // namespace

TEST_F(GifTest, StillImagesDecodeLikeImageMagick) {
    const struct {
        const char* name;
        const char* args;
        uint32_t bpp;
    } cases[] = {
        {"plain.gif", "-size 37x23 plasma:fractal -colors 200", 8},
        {"interlaced.gif", "-size 41x29 gradient:red-blue -colors 60 -interlace GIF", 8},
        {"twocolour.gif", "-size 19x13 pattern:checkerboard -colors 2", 1},
        {"sixteen.gif", "-size 33x9 plasma:fractal -colors 16", 4},
        {"transparent.gif", "-size 30x20 xc:none -fill red -draw 'circle 15,10 15,3'", 8},
    };
    for (const auto& c : cases) {
        const std::string file = Make(c.name, c.args);
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_GIF)) << c.name << ": " << img.GetLastError();
        EXPECT_EQ(img.GetType(), FORMAT_GIF);
        EXPECT_LE(img.GetBpp(), c.bpp) << c.name;
        testsupport::ExpectMatchesReference(img, file);
    }
}

TEST_F(GifTest, AnimationFramesMatchCoalescedFrames) {
    // Frames of different sizes and offsets, local palettes, transparency and
    // the three disposal methods.
    const std::string file = Make(
        "anim.gif",
        "-delay 10 -dispose none -size 40x30 gradient:skyblue-navy -colors 50 "
        "-dispose background -page 40x30+5+5 \\( -size 10x10 xc:red \\) "
        "-dispose previous -page +15+10 \\( -size 8x8 plasma:fractal -colors 30 \\) "
        "-dispose none -page +2+2 \\( -size 12x12 xc:none -fill yellow -draw 'circle 6,6 6,2' \\) "
        "-page +20+2 \\( -size 6x6 xc:lime \\) -loop 0");
    const int frames = 5;
    for (int k = 0; k < frames; ++k) {
        Image img;
        img.SetFrame(k);
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_GIF)) << "frame " << k;
        EXPECT_EQ(img.GetNumFrames(), frames);
        EXPECT_EQ(img.GetFrameDelay(), 10u);
        testsupport::ExpectMatchesReference(img, file, k, true);
    }
}

TEST_F(GifTest, FrameBeyondTheEndFailsAndReportsTheCount) {
    const std::string file = Make("three.gif", "-size 8x8 xc:red xc:green xc:blue");
    Image img;
    img.SetFrame(5);
    EXPECT_FALSE(img.Load(file.c_str(), FORMAT_GIF));
    EXPECT_EQ(img.GetNumFrames(), 3);
    img.SetFrame(2);
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_GIF));
    EXPECT_EQ(img.GetPixelColor(3, 3).rgbBlue, 255);
}

// Single-frame files other programs write that were refused with no reason:
// no colour table at all (Pillow shows indexes as grey levels; ImageMagick
// rejects the indexes), a logical screen of 0 x 0 or smaller than the image,
// and a stray byte between blocks.
TEST_F(GifTest, FilesWithoutColourTablesOrWithOddScreensDecode) {
    const std::vector<uint8_t> grey4 =
        ReadFile(Make("grey4.gif", "-size 7x5 gradient:gray10-gray90 -colors 4"));
    const std::vector<uint8_t> grey200 =
        ReadFile(Make("grey200.gif", "-size 7x5 gradient:gray10-gray90 -colors 200 -type palette"));
    const auto withoutTable = [](std::vector<uint8_t> gif) {
        const size_t table = (gif[10] & 0x80) ? 3u * (2u << (gif[10] & 7)) : 0;
        gif.erase(gif.begin() + 13, gif.begin() + 13 + static_cast<long>(table));
        gif[10] &= 0x70;
        return gif;
    };
    if (testsupport::HavePillow()) {
        for (const auto& [name, bytes] :
             {std::pair{"none4.gif", withoutTable(grey4)}, {"none200.gif", withoutTable(grey200)}}) {
            WriteFile(dir.file(name), bytes);
            Image img;
            ASSERT_TRUE(img.Load(dir.file(name).c_str(), FORMAT_GIF)) << name << ": " << img.GetLastError();
            testsupport::ExpectMatchesPillow(img, dir.file(name));
        }
    }
    std::vector<uint8_t> zero = grey4, small = grey4, stray = grey4;
    std::fill(zero.begin() + 6, zero.begin() + 10, 0);
    small[6] = 3;
    small[8] = 2;
    stray.insert(stray.begin() + static_cast<long>(FirstImage(stray)), 0);
    for (const auto& [name, bytes] :
         {std::pair{"zero.gif", zero}, {"small.gif", small}, {"stray.gif", stray}}) {
        WriteFile(dir.file(name), bytes);
        Image img;
        ASSERT_TRUE(img.Load(dir.file(name).c_str(), FORMAT_GIF)) << name << ": " << img.GetLastError();
        testsupport::ExpectMatchesReference(img, dir.file(name));
    }
}

TEST(GifErrors, EveryFailureNamesItsCause) {
    Image source = testsupport::Pattern(9, 6, 8, 3);
    const std::vector<uint8_t> gif = WriteGif(source);
    const size_t image = FirstImage(gif);
    Image img;
    const auto expectFailure = [&](std::vector<uint8_t> bytes, const char* text) {
        EXPECT_FALSE(DecodeBytes(img, bytes, FORMAT_GIF)) << text;
        EXPECT_STREQ(img.GetLastError(), text);
    };
    expectFailure({'G', 'I', 'F'}, "not a GIF file");
    expectFailure(std::vector<uint8_t>(gif.begin(), gif.begin() + 40), "GIF file ends in its colour table");
    expectFailure(std::vector<uint8_t>(gif.begin(), gif.begin() + static_cast<long>(image)),
                  "GIF file without an image");
    expectFailure(std::vector<uint8_t>(gif.begin(), gif.begin() + static_cast<long>(image) + 5),
                  "GIF file without an image"); // a descriptor cut short
    std::vector<uint8_t> badCodeSize = gif;
    // Codes of 14 bits and more: nothing can be decoded.
    badCodeSize[image + 10 + ((gif[image + 9] & 0x80) ? 3u * (2u << (gif[image + 9] & 7)) : 0)] = 13;
    expectFailure(badCodeSize, "bad GIF LZW code size");
    img.SetFrame(1);
    expectFailure(gif, "GIF: there is no frame 1 (the file holds 1)");
}

TEST_F(GifTest, AllThreeCompressionModesDecodeInImageMagick) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        for (uint32_t option : {0u, 1u, 2u}) {
            // Tall enough for code-table resets in every mode.
            Image img = testsupport::Pattern(203, 157, bpp, bpp * 10 + option);
            const std::vector<uint8_t> gif = WriteGif(img, option);
            ASSERT_FALSE(gif.empty());
            if (bpp == 1) {
                EXPECT_EQ(gif[FirstImage(gif) + 10], 2) << "minimum code size of a 1-bit image";
            }
            const std::string file =
                dir.file("mode" + std::to_string(option) + "_" + std::to_string(bpp) + ".gif");
            WriteFile(file, gif);
            testsupport::ExpectMatchesReference(img, file);
            Image back;
            ASSERT_TRUE(DecodeBytes(back, gif, FORMAT_GIF));
            EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img))
                << "bpp " << bpp << " option " << option;
        }
    }
}

TEST_F(GifTest, RunLengthModeHandlesLongRunsAndFullTables) {
    // One huge run, then runs of every length up to 300 in alternating colours.
    Image img(500, 400, 8);
    img.SetGrayPalette();
    uint32_t pos = 0, len = 1;
    uint8_t colour = 0;
    while (pos < 500 * 400) {
        const uint32_t n = pos == 0 ? 90000 : len;
        for (uint32_t i = 0; i < n && pos < 500 * 400; ++i, ++pos)
            img.SetPixelIndex(static_cast<int32_t>(pos % 500), static_cast<int32_t>(399 - pos / 500), colour);
        colour = static_cast<uint8_t>(colour + 77);
        if (pos > 90000) len = len % 300 + 1;
    }
    const std::vector<uint8_t> gif = WriteGif(img, 2);
    const std::string file = dir.file("runs.gif");
    WriteFile(file, gif);
    testsupport::ExpectMatchesReference(img, file);
    EXPECT_LT(gif.size(), 500u * 400u / 4) << "runs are compressed";
}

TEST_F(GifTest, UncompressedModeClearsBeforeTheTableFills) {
    for (uint32_t bpp : {1u, 8u}) {
        Image img = testsupport::Pattern(300, 100, bpp, 7);
        const std::vector<uint8_t> gif = WriteGif(img, 1);
        const size_t longest = LongestRunWithoutClear(gif);
        EXPECT_GT(longest, 3000u);
        EXPECT_LE(longest, 4094u);
    }
}

TEST_F(GifTest, LoopBlockFollowsTheLoopCount) {
    Image a = testsupport::Pattern(16, 16, 8, 1), b = testsupport::Pattern(16, 16, 8, 1);
    ImageGIF once;
    once.SetLoops(1);
    EXPECT_EQ(Find(WriteAnimation(once, {&a, &b}), "NETSCAPE2.0"), std::string::npos);

    ImageGIF forever;
    forever.SetLoops(0);
    const std::vector<uint8_t> gif = WriteAnimation(forever, {&a, &b});
    const size_t at = Find(gif, "NETSCAPE2.0");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(gif[at + 11], 3);
    EXPECT_EQ(gif[at + 12], 1);
    EXPECT_EQ(gif[at + 13] | (gif[at + 14] << 8), 0);

    ImageGIF thrice;
    thrice.SetLoops(3);
    const std::vector<uint8_t> g3 = WriteAnimation(thrice, {&a, &b});
    EXPECT_EQ(g3[Find(g3, "NETSCAPE2.0") + 13], 2);
}

TEST_F(GifTest, AnimationRoundTripsThroughImageMagick) {
    // Frames with different palettes and offsets, delays and a transparent frame.
    Image a = testsupport::Pattern(30, 20, 8, 1);
    Image b = testsupport::Pattern(10, 8, 4, 2);
    Image c = testsupport::Pattern(12, 12, 1, 3);
    a.SetFrameDelay(25);
    b.SetOffset(5, 3);
    b.SetFrameDelay(50);
    c.SetOffset(17, 7);
    c.SetTransIndex(0);
    ImageGIF codec;
    codec.SetComment("animated");
    const std::vector<uint8_t> gif = WriteAnimation(codec, {&a, &b, &c});
    const std::string file = dir.file("written_anim.gif");
    WriteFile(file, gif);
    std::string delays;
    testsupport::Run("/usr/bin/identify -format '%T,' " + Quote(file), &delays);
    EXPECT_EQ(delays, "25,50,0,");
    for (int k = 0; k < 3; ++k) {
        Image img;
        img.SetFrame(k);
        ASSERT_TRUE(DecodeBytes(img, gif, FORMAT_GIF));
        testsupport::ExpectMatchesReference(img, file, k, true);
    }
}

TEST_F(GifTest, CommentIsCutTo255Characters) {
    Image img = testsupport::Pattern(8, 8, 4);
    ImageGIF codec;
    codec.SetComment(std::string(300, 'c').c_str());
    const std::vector<uint8_t> gif = WriteAnimation(codec, {&img});
    const uint8_t marker[] = {0x21, 0xFE};
    auto it = std::search(gif.begin(), gif.end(), std::begin(marker), std::end(marker));
    ASSERT_NE(it, gif.end());
    EXPECT_EQ(it[2], 255);
    EXPECT_EQ(it[3 + 255], 0);
    const std::string file = dir.file("comment.gif");
    WriteFile(file, gif);
    std::string comment;
    testsupport::Run("/usr/bin/identify -format '%c' " + Quote(file), &comment);
    EXPECT_EQ(comment, std::string(255, 'c'));
}

TEST_F(GifTest, TrueColourImageIsWrittenAsTiles) {
    Image img(34, 30, 24);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 34; ++x)
            img.SetPixelColor(x, y, RGB(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 8),
                                        static_cast<uint8_t>((x * y) & 255)));
    for (uint32_t option : {0u, 1u, 2u}) {
        const std::vector<uint8_t> gif = WriteGif(img, option);
        Image back;
        ASSERT_TRUE(DecodeBytes(back, gif, FORMAT_GIF));
        EXPECT_EQ(back.GetNumFrames(), 4);
        EXPECT_EQ(back.GetBpp(), 24u);
        EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
        const std::string file = dir.file("tiles.gif");
        WriteFile(file, gif);
        testsupport::ExpectMatchesReference(img, file, 3, true);
    }
}

TEST_F(GifTest, BoundarySizesRoundTrip) {
    // One pixel in every depth and mode; true colour at one tile, one tile and a pixel, and a column.
    for (uint32_t bpp : {1u, 4u, 8u, 24u})
        for (uint32_t option : {0u, 1u, 2u}) {
            Image img = testsupport::Pattern(1, 1, bpp, bpp + option);
            Image back;
            ASSERT_TRUE(DecodeBytes(back, WriteGif(img, option), FORMAT_GIF)) << bpp << " " << option;
            EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
        }
    for (auto [w, h, tiles] : {std::tuple{17u, 15u, 1}, std::tuple{18u, 16u, 4}, std::tuple{1u, 31u, 3}}) {
        Image img = testsupport::Pattern(w, h, 24, w);
        Image back;
        ASSERT_TRUE(DecodeBytes(back, WriteGif(img), FORMAT_GIF));
        EXPECT_EQ(back.GetNumFrames(), tiles) << w << " x " << h;
        EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img))
            << w << " x " << h;
    }
}

TEST_F(GifTest, TrueColourTransparencySurvivesTheTiles) {
    Image img = testsupport::Pattern(20, 18, 24, 4);
    RGBQUAD key{1, 2, 3, 0};
    img.SetTransColor(key);
    img.SetTransIndex(0);
    for (int32_t x = 0; x < 20; ++x) img.SetPixelColor(x, 4, key);
    Image back;
    ASSERT_TRUE(DecodeBytes(back, WriteGif(img), FORMAT_GIF));
    EXPECT_TRUE(back.IsTransparent(3, 4));
    EXPECT_FALSE(back.IsTransparent(3, 5));
    EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(img));
}

TEST(GifErrors, MultipageArgumentsAreChecked) {
    Image a = testsupport::Pattern(4, 4, 8);
    ImageGIF codec;
    MemFile out;
    out.Open();
    Image* none[] = {nullptr};
    Image* holes[] = {&a, nullptr};
    EXPECT_FALSE(codec.Encode(nullptr, holes, 1));
    EXPECT_STREQ(codec.GetLastError(), "invalid file pointer");
    EXPECT_FALSE(codec.Encode(&out, nullptr, 1));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, no images!");
    EXPECT_FALSE(codec.Encode(&out, none, 1));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, no images!");
    EXPECT_FALSE(codec.Encode(&out, holes, 0));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, no images!");
    EXPECT_FALSE(codec.Encode(&out, holes, 2));
    EXPECT_STREQ(codec.GetLastError(), "Bad image pointer");
    Image deep(4, 4, 24);
    Image* mixed[] = {&a, &deep};
    EXPECT_FALSE(codec.Encode(&out, mixed, 2));
    EXPECT_STREQ(codec.GetLastError(), "multipage GIF, frames must have 8 bits or less");
    EXPECT_EQ(out.Size(), 0) << "nothing written for refused arguments";

    // Through the dispatcher.
    Image b = testsupport::Pattern(4, 4, 8, 2);
    Image* two[] = {&a, &b};
    Image caller;
    ASSERT_TRUE(caller.Encode(&out, two, 2, FORMAT_GIF));
    Image back;
    back.SetFrame(1);
    ASSERT_TRUE(back.Decode(out.GetBuffer(false), static_cast<uint32_t>(out.Size()), FORMAT_GIF));
    EXPECT_EQ(testsupport::RgbaByTransparency(back), testsupport::RgbaByTransparency(b));
}

TEST(GifErrors, WriteFailureIsReported) {
    Image img = testsupport::Pattern(64, 64, 8);
    MemFile out;
    out.Open();
    MemFile::SetMaxCapacity(1000);
    const bool ok = img.Encode(&out, FORMAT_GIF);
    MemFile::SetMaxCapacity(0x7FFFFFFF);
    EXPECT_FALSE(ok);
    EXPECT_STREQ(img.GetLastError(), "Write Error in GIF file");
}

TEST(GifHostile, DamagedFilesNeverCrash) {
    Image img = testsupport::Pattern(40, 30, 8, 9);
    img.SetTransIndex(3);
    testsupport::Batter(WriteGif(img), FORMAT_GIF, 600);
    Image a = testsupport::Pattern(20, 10, 4, 1), b = testsupport::Pattern(7, 5, 8, 2);
    b.SetOffset(3, 2);
    ImageGIF codec;
    codec.SetDisposalMethod(2);
    testsupport::Batter(WriteAnimation(codec, {&a, &b}, true), FORMAT_GIF, 600);
}

TEST(GifHostile, HugeScreenIsRefusedByTheMemoryBound) {
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0,
                                0,   0,   0,   0,   255, 255, 255,  0x2C, 0,    0,    0,    0,
                                1,   0,   1,   0,   0,   2,   2,    0x44, 0x01, 0,    0x3B};
    const uint64_t old = Image::GetMaxMemory();
    Image::SetMaxMemory(64u << 20);
    Image img;
    EXPECT_FALSE(DecodeBytes(img, gif, FORMAT_GIF));
    Image::SetMaxMemory(old);
    // The same file with a small screen decodes.
    gif[7] = gif[9] = 0;
    gif[6] = gif[8] = 4;
    EXPECT_TRUE(DecodeBytes(img, gif, FORMAT_GIF));
}

TEST(GifHostile, OverrunningCodeStreamsStayInsideTheFrame) {
    // A 2 x 2 frame whose codes describe far more pixels than it has, then
    // codes that refer to strings not yet defined.
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
                                0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2};
    std::vector<uint8_t> codes(255, 0xFF);
    gif.push_back(255);
    gif.insert(gif.end(), codes.begin(), codes.end());
    gif.push_back(255);
    gif.insert(gif.end(), codes.begin(), codes.end());
    gif.push_back(0);
    gif.push_back(0x3B);
    Image img;
    EXPECT_TRUE(DecodeBytes(img, gif, FORMAT_GIF));
    EXPECT_EQ(img.GetWidth(), 2u);
    // A literal, then a code beyond the next free one: decoding stops there
    // and the rest of the frame keeps index 0.
    gif.resize(30);
    gif.insert(gif.end(), {1, 0x39, 0, 0x3B});
    ASSERT_TRUE(DecodeBytes(img, gif, FORMAT_GIF));
    EXPECT_EQ(img.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(img.GetPixelIndex(1, 1), 0);
    EXPECT_EQ(img.GetPixelIndex(0, 0), 0);
}

// Minimum code sizes of 9 to 12 bits, which other readers decode: literal codes
// beyond 255 keep their low byte, and at 12 bits the table never grows.
TEST(GifCodeSizes, LargeMinimumCodeSizesDecodeLikePillow) {
    if (!testsupport::HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    const uint32_t w = 70, h = 66; // enough codes to fill a 12-bit table twice
    std::vector<uint32_t> pixels(w * h);
    for (uint32_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i * 37 + i / w) % 256;
    pixels[3] = 300;
    pixels[8] = 511;
    for (int size : {9, 10, 11, 12}) {
        if (size >= 11) pixels[12] = 4000 % (1u << size);
        const std::string file = dir.file("size" + std::to_string(size) + ".gif");
        WriteFile(file, LiteralGif(w, h, pixels, size));
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_GIF)) << size << ": " << img.GetLastError();
        EXPECT_FALSE(img.IsTruncated());
        testsupport::ExpectMatchesPillow(img, file);
    }
}
