// Octree quantiser: tree depth chosen by the colour-depth reduction, the
// weighted merging of leaves for small palettes, the tree limit and refusal
// of blocks it cannot read.
#include "ColorQuantizer.h"
#include "Image.h"
#include "ImageTestSupport.h"
#include "ReduceBitDepth.h"

#include <gtest/gtest.h>

#include <random>

using namespace testsupport;
using vimg::ColorQuantizer;
using vimg::Image;
using vimg::RGBQUAD;

TEST(ColorQuantizer, EightBitReductionUsesSevenLevelsAboveSixteenColours) {
    // (10, 10, 10) and (11, 11, 11) differ only in the lowest bit: a 7-level
    // tree puts them in one leaf, an 8-level tree keeps them apart.
    Image img(8, 2, 24, 0);
    img.Clear(0);
    for (int x = 0; x < 4; ++x)
        img.SetPixelColor(x, 0, Rgb(10, 10, 10));
    for (int x = 0; x < 4; ++x)
        img.SetPixelColor(x, 1, Rgb(11, 11, 11));
    for (int x = 4; x < 8; ++x)
        img.SetPixelColor(x, 0, Rgb(200, 30, 90)), img.SetPixelColor(x, 1, Rgb(30, 200, 90));

    Image twelve(img);
    ASSERT_TRUE(vimg::ReduceBitDepth(twelve, 8, false, true, 12));
    ASSERT_EQ(twelve.GetBpp(), 8u);
    EXPECT_EQ(twelve.GetClrImportant(), 12u);
    EXPECT_EQ(twelve.GetPixelColor(0, 0, false), Rgb(10, 10, 10));
    EXPECT_EQ(twelve.GetPixelColor(0, 1, false), Rgb(11, 11, 11));

    Image many(img);
    ASSERT_TRUE(vimg::ReduceBitDepth(many, 8, false, true, 200));
    EXPECT_EQ(many.GetPixelIndex(0, 0), many.GetPixelIndex(0, 1));
    EXPECT_EQ(many.GetPixelColor(0, 0, false), Rgb(10, 10, 10)); // (4 * 10 + 4 * 11) / 8
    EXPECT_EQ(many.GetPixelColor(4, 1, false), Rgb(30, 200, 90));
}

TEST(ColorQuantizer, FewerColoursThanLeavesMergeConsecutiveLeavesByCount) {
    // Sixteen reds 0, 16, ..., 240 fill the tree limit exactly and lie in tree order;
    // red i appears i + 1 times.
    Image img(136, 1, 24, 0);
    int x = 0;
    for (int i = 0; i < 16; ++i)
        for (int n = 0; n <= i; ++n)
            img.SetPixelColor(x++, 0, Rgb(i * 16, 0, 0));
    ColorQuantizer q(8, 8);
    ASSERT_TRUE(q.ProcessImage(img.GetDIB(), img.GetSize()));
    EXPECT_EQ(q.GetColorCount(), 16u);
    RGBQUAD table[16] = {};
    q.SetColorTable(table, 16);
    for (int c = 0; c < 8; ++c) {
        const int a = 2 * c, b = 2 * c + 1;
        const int red = (a * 16 * (a + 1) + b * 16 * (b + 1)) / (a + 1 + b + 1);
        EXPECT_EQ(table[c], Rgb(red, 0, 0)) << c;
    }
    EXPECT_EQ(table[8], Rgb(0, 0, 0));

    // The same through the 4-bit reduction, which limits the palette to 8 entries.
    Image four(img);
    ASSERT_TRUE(vimg::ReduceBitDepth(four, 4, false, true, 8));
    ASSERT_EQ(four.GetBpp(), 4u);
    EXPECT_EQ(four.GetClrImportant(), 8u);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(four.GetPaletteColor(static_cast<uint8_t>(c)), table[c]);
    EXPECT_EQ(four.GetPixelIndex(135, 0), 7);
}

TEST(ColorQuantizer, TreeStaysWithinItsLimitAndAveragesWhatItMerges) {
    Image img = RandomImage(64, 64, 24, 51);
    ColorQuantizer q(256, 8);
    ASSERT_TRUE(q.ProcessImage(img.GetDIB(), img.GetSize()));
    EXPECT_LE(q.GetColorCount(), 256u);
    EXPECT_GT(q.GetColorCount(), 200u);

    // Two colours that share a 1-level branch merge into their count-weighted mean.
    ColorQuantizer one(16, 1);
    for (int i = 0; i < 3; ++i)
        one.AddColor(10, 20, 30, 0);
    one.AddColor(90, 100, 110, 0);
    EXPECT_EQ(one.GetColorCount(), 1u);
    RGBQUAD t[16] = {};
    one.SetColorTable(t, 16);
    EXPECT_EQ(t[0], Rgb(30, 40, 50));
}

TEST(ColorQuantizer, RefusesBlocksItCannotRead) {
    Image img = RandomImage(10, 10, 8, 52);
    ColorQuantizer q(16, 8);
    EXPECT_FALSE(q.ProcessImage(img.GetDIB(), img.GetSize() - 1));
    EXPECT_FALSE(q.ProcessImage(img.GetDIB(), 39));
    EXPECT_FALSE(q.ProcessImage(nullptr, 0));
    std::vector<uint8_t> block(static_cast<const uint8_t*>(img.GetDIB()),
                               static_cast<const uint8_t*>(img.GetDIB()) + img.GetSize());
    block[14] = 16; // 16 bits per pixel
    EXPECT_FALSE(q.ProcessImage(block.data(), block.size()));
    EXPECT_EQ(q.GetColorCount(), 0u);
    EXPECT_TRUE(q.ProcessImage(img.GetDIB(), img.GetSize()));
    EXPECT_GT(q.GetColorCount(), 0u);
}
