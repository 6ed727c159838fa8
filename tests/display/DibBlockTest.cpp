// Clipboard DIB blocks: the round trip through a memory block, and blocks of
// every layout the clipboard may hold compared with ImageMagick's decoding of
// the same bytes behind a file header.
#include "DibBlock.h"

#include <array>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "../imagelib/CodecTestUtil.h"
#include "../imagelib/TestImages.h"

using namespace vimg;
using namespace vimg::display;

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes InfoHeader(int32_t w, int32_t h, int bits, uint32_t compression, uint32_t colours = 0, int32_t ppm = 0,
                 uint32_t dataSize = 0) {
    Bytes b;
    Put(b, 40, 4);
    Put(b, static_cast<uint32_t>(w), 4);
    Put(b, static_cast<uint32_t>(h), 4);
    Put(b, 1, 2);
    Put(b, static_cast<uint32_t>(bits), 2);
    Put(b, compression, 4);
    Put(b, dataSize, 4); // 0 is allowed for uncompressed data
    Put(b, static_cast<uint32_t>(ppm), 4);
    Put(b, static_cast<uint32_t>(ppm), 4);
    Put(b, colours, 4);
    Put(b, 0, 4);
    return b;
}

Bytes CoreHeader(int w, int h, int bits) {
    Bytes b;
    Put(b, 12, 4);
    Put(b, static_cast<uint32_t>(w), 2);
    Put(b, static_cast<uint32_t>(h), 2);
    Put(b, 1, 2);
    Put(b, static_cast<uint32_t>(bits), 2);
    return b;
}

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<uint8_t>(rng());
    return b;
}

Bytes Palette(int entries, int entrySize, uint32_t seed) { return RandomBytes(static_cast<size_t>(entries * entrySize), seed); }

std::unique_ptr<CGlobalMemory> Block(const Bytes& bytes) {
    auto block = CGlobalMemory::Alloc(bytes.size());
    std::memcpy(block->Lock(), bytes.data(), bytes.size());
    block->Unlock();
    return block;
}

// Reads `dib` from a memory block and compares it with ImageMagick's reading
// of a BMP file made of a file header and the same bytes; `pixelOffset` is
// where the pixel data starts inside the block. Channels narrower than 8 bits
// are widened by a shift (ImageMagick also repeats the top bits below), so
// only their top `bits` are compared.
void ExpectReadsLikeImageMagick(const Bytes& dib, uint32_t pixelOffset, const std::string& name,
                                std::array<int, 3> bits = {8, 8, 8}) {
    SCOPED_TRACE(name);
    auto block = Block(dib);
    Image img;
    ASSERT_TRUE(CreateFromHANDLE(img, block.get())) << img.GetLastError();
    EXPECT_FALSE(block->IsLocked());
    EXPECT_EQ(img.GetType(), FORMAT_UNKNOWN);

    Bytes file = {'B', 'M'};
    Put(file, static_cast<uint32_t>(14 + dib.size()), 4);
    Put(file, 0, 4);
    Put(file, 14 + pixelOffset, 4);
    Append(file, dib);
    testsupport::TempDir dir;
    const std::string path = dir.file(name + ".bmp");
    testsupport::WriteFile(path, file);
    int w = 0, h = 0;
    const Bytes reference = testsupport::ReferenceRGBA(path, &w, &h);
    ASSERT_FALSE(reference.empty()) << "ImageMagick could not read " << path;
    ASSERT_EQ(img.GetWidth(), static_cast<uint32_t>(w));
    ASSERT_EQ(img.GetHeight(), static_cast<uint32_t>(h));
    const Bytes raw = codectest::ToRGBA(img);
    Bytes ours = raw, expected = reference;
    for (size_t i = 0; i < expected.size(); i += 4)
        for (size_t c = 0; c < 3; ++c) {
            const auto mask = static_cast<uint8_t>(0xFF << (8 - bits[c]));
            expected[i + c] &= mask;
            ours[i + c] &= mask;
            ASSERT_EQ(raw[i + c] & ~mask, 0) << "pixel " << i / 4 << ": low bits filled";
        }
    EXPECT_EQ(codectest::MaxDiff(ours, expected), 0);
}

} // namespace

TEST(DibBlock, CopyToHandleAndBackKeepsPixelsPaletteAndResolution) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        Image img = testimages::Random(13, 7, bpp, 40 + bpp);
        img.SetXDPI(300);
        img.SetYDPI(150);
        const auto block = CopyToHandle(img);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->Size(), img.GetSize());
        Image back;
        ASSERT_TRUE(CreateFromHANDLE(back, block.get())) << back.GetLastError();
        EXPECT_EQ(back.GetBpp(), bpp);
        EXPECT_TRUE(testimages::SamePixels(back, img)) << bpp;
        EXPECT_EQ(back.GetXDPI(), 300);
        EXPECT_EQ(back.GetYDPI(), 150);
        if (bpp <= 8) {
            EXPECT_TRUE(back.IsSamePalette(img, false));
        }
    }
    EXPECT_FALSE(CopyToHandle(Image()));
}

TEST(DibBlock, RunLengthBlocksMatchImageMagick) {
    // 8 bits, 7 x 5: runs, absolute runs (odd length with its pad), a delta, end of line, end of bitmap.
    const Bytes codes8 = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, // row 0: 1 1 1 | 2 3 1, end of line
                          7, 2, 0, 0,                   // row 1: seven 2s
                          0, 2, 2, 1, 2, 3, 0, 0,       // delta two right and one up, two 3s
                          5, 1, 0, 1,                   // row 4 and end of bitmap
                          0, 0}; // padding: ImageMagick reads past the end code
    Bytes rle8 = InfoHeader(7, 5, 8, 1, 4, 3937, static_cast<uint32_t>(codes8.size()));
    Append(rle8, Palette(4, 4, 1));
    Append(rle8, codes8);
    ExpectReadsLikeImageMagick(rle8, 40 + 16, "rle8");
    {
        auto block = Block(rle8);
        Image img;
        ASSERT_TRUE(CreateFromHANDLE(img, block.get()));
        EXPECT_EQ(img.GetXDPI(), 100);
    }

    // 4 bits, 9 x 4: runs alternate two indexes; absolute runs of nibbles.
    // Runs start at even pixels here: the reader takes a run's first pixel from
    // the nibble matching its position, where ImageMagick always starts high.
    const Bytes codes4 = {9, 0x12, 0, 0,                    // row 0: 1 2 1 2 1 2 1 2 1
                          0, 4, 0x34, 0x56, 5, 0xAB, 0, 0, // row 1: 3 4 5 6 | A B A B A
                          0, 1, 0, 0}; // end of bitmap (rows 2 and 3 stay index 0), padding
    Bytes rle4 = InfoHeader(9, 4, 4, 2, 0, 0, static_cast<uint32_t>(codes4.size()));
    Append(rle4, Palette(16, 4, 2));
    Append(rle4, codes4);
    ExpectReadsLikeImageMagick(rle4, 40 + 64, "rle4");
}

TEST(DibBlock, BitFieldBlocksMatchImageMagick) {
    Bytes rgb555 = InfoHeader(5, 3, 16, 0);
    Append(rgb555, RandomBytes(3 * 12, 3));
    ExpectReadsLikeImageMagick(rgb555, 40, "rgb555", {5, 5, 5});

    Bytes rgb565 = InfoHeader(5, 3, 16, 3);
    Put(rgb565, 0xF800, 4);
    Put(rgb565, 0x07E0, 4);
    Put(rgb565, 0x001F, 4);
    Append(rgb565, RandomBytes(3 * 12, 4));
    ExpectReadsLikeImageMagick(rgb565, 52, "rgb565", {5, 6, 5});

    // 32 bits with the channels in the opposite byte order.
    Bytes swapped = InfoHeader(4, 3, 32, 3);
    Put(swapped, 0x000000FF, 4);
    Put(swapped, 0x0000FF00, 4);
    Put(swapped, 0x00FF0000, 4);
    Append(swapped, RandomBytes(4 * 4 * 3, 5));
    ExpectReadsLikeImageMagick(swapped, 52, "bgr32");
}

TEST(DibBlock, CoreHeaderAndPlainBlocksMatchImageMagick) {
    Bytes core8 = CoreHeader(6, 4, 8);
    Append(core8, Palette(256, 3, 6));
    Append(core8, RandomBytes(8 * 4, 7));
    ExpectReadsLikeImageMagick(core8, 12 + 768, "core8");

    Bytes core1 = CoreHeader(11, 3, 1);
    Append(core1, Palette(2, 3, 8));
    Append(core1, RandomBytes(4 * 3, 9));
    ExpectReadsLikeImageMagick(core1, 12 + 6, "core1");

    Bytes core24 = CoreHeader(5, 2, 24);
    Append(core24, RandomBytes(16 * 2, 10));
    ExpectReadsLikeImageMagick(core24, 12, "core24");

    Bytes plain4 = InfoHeader(7, 3, 4, 0);
    Append(plain4, Palette(16, 4, 11));
    Append(plain4, RandomBytes(4 * 3, 12));
    ExpectReadsLikeImageMagick(plain4, 40 + 64, "plain4");

    // Rows stored top first.
    Bytes topDown = InfoHeader(3, -4, 24, 0);
    Append(topDown, RandomBytes(12 * 4, 13));
    ExpectReadsLikeImageMagick(topDown, 40, "topdown24");
}

TEST(DibBlock, UnusableBlocksAreRefusedWithAReason) {
    Image img = testimages::Random(4, 4, 24, 1);
    EXPECT_FALSE(CreateFromHANDLE(img, nullptr));
    EXPECT_FALSE(img.IsValid());
    EXPECT_STRNE(img.GetLastError(), "");

    auto empty = CGlobalMemory::Alloc(0);
    EXPECT_FALSE(CreateFromHANDLE(img, empty.get()));

    Bytes truncated = InfoHeader(10, 10, 24, 0);
    Append(truncated, RandomBytes(100, 1));
    auto shortBlock = Block(truncated);
    EXPECT_FALSE(CreateFromHANDLE(img, shortBlock.get()));
    EXPECT_STREQ(img.GetLastError(), "DIB block too short for its pixel rows");
    EXPECT_FALSE(shortBlock->IsLocked());

    Bytes png8 = InfoHeader(2, 2, 8, 5);
    Append(png8, Bytes(1024 + 8, 0));
    auto pngBlock = Block(png8);
    EXPECT_FALSE(CreateFromHANDLE(img, pngBlock.get()));
    EXPECT_STREQ(img.GetLastError(), "compression type not supported");

    Bytes rle24 = InfoHeader(2, 2, 24, 1);
    Append(rle24, Bytes(16, 0));
    auto rleBlock = Block(rle24);
    EXPECT_FALSE(CreateFromHANDLE(img, rleBlock.get()));
    EXPECT_STREQ(img.GetLastError(), "unknown compression");
}

TEST(DibBlock, DamagedRunLengthDataStaysInsideThePicture) {
    Bytes rle8 = InfoHeader(7, 5, 8, 1, 4);
    Append(rle8, Palette(4, 4, 1));
    const size_t data = rle8.size();
    Append(rle8, {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 7, 2, 0, 0, 0, 2, 2, 1, 2, 0, 0, 2, 3, 0, 0, 5, 1, 0, 1});
    std::mt19937 rng(99);
    for (int round = 0; round < 500; ++round) {
        Bytes damaged = rle8;
        for (int k = 0; k < 3; ++k) damaged[data + rng() % (damaged.size() - data)] = static_cast<uint8_t>(rng());
        if (round % 5 == 0) damaged.resize(data + rng() % (damaged.size() - data));
        auto block = Block(damaged);
        Image img;
        if (CreateFromHANDLE(img, block.get())) {
            EXPECT_EQ(img.GetWidth(), 7u);
            EXPECT_EQ(img.GetHeight(), 5u);
        }
    }
}
