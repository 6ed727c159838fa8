// The compressed history must give back exactly what was recorded: pixels,
// palette, header, information block, alpha plane and selection.
#include <cstring>

#include <gtest/gtest.h>

#include "Image.h"
#include "UndoHistory.h"

namespace {

// A picture whose rows differ, so a block swapped or shifted shows.
vimg::Image Patterned(uint32_t w, uint32_t h, uint32_t bpp, int seed) {
    vimg::Image image(w, h, bpp);
    if (bpp <= 8) {
        for (uint32_t i = 0; i < image.GetNumColors(); ++i)
            image.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7 + seed),
                                  static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i));
    }
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = image.GetBits(y);
        for (uint32_t x = 0; x < image.GetEffWidth(); ++x)
            row[x] = static_cast<uint8_t>(
                (x * 31 + y * 17 + static_cast<uint32_t>(seed) * 101 + (x / 97) * y) & 0xFF);
    }
    return image;
}

void ExpectSame(const vimg::Image& a, const vimg::Image& b) {
    ASSERT_TRUE(a.IsValid() && b.IsValid());
    ASSERT_EQ(a.GetSize(), b.GetSize());
    EXPECT_EQ(std::memcmp(a.GetDIB(), b.GetDIB(), a.GetSize()), 0);
    EXPECT_EQ(std::memcmp(&a.GetHeader(), &b.GetHeader(), sizeof(vimg::BITMAPINFOHEADER)), 0);
    EXPECT_EQ(a.GetXDPI(), b.GetXDPI());
    EXPECT_EQ(a.GetTransIndex(), b.GetTransIndex());
    EXPECT_EQ(a.GetJpegQuality(), b.GetJpegQuality());
    EXPECT_EQ(a.GetType(), b.GetType());
    ASSERT_EQ(a.AlphaIsValid(), b.AlphaIsValid());
    ASSERT_EQ(a.SelectionIsValid(), b.SelectionIsValid());
    const size_t plane = static_cast<size_t>(a.GetWidth()) * a.GetHeight();
    if (a.AlphaIsValid()) {
        EXPECT_EQ(std::memcmp(a.AlphaGetPointer(), b.AlphaGetPointer(), plane), 0);
    }
    if (a.SelectionIsValid()) {
        EXPECT_EQ(std::memcmp(a.SelectionGetPointer(), b.SelectionGetPointer(), plane), 0);
        vimg::RECT ra, rb;
        a.SelectionGetBox(ra);
        b.SelectionGetBox(rb);
        EXPECT_EQ(ra, rb);
    }
}

TEST(UndoHistory, UndoAndRedoGiveBackExactImagesOfEveryDepth) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        // 1100 x 1400 x 24 bits spans several compression blocks.
        vimg::Image first = Patterned(1100, 1400, bpp, 1);
        first.SetXDPI(300);
        first.SetTransIndex(3);
        first.SetJpegQuality(42);
        first.SetClrImportant(bpp == 8 ? 200 : 0);
        ASSERT_TRUE(first.AlphaCreate());
        first.AlphaSet(5, 6, 77);
        ASSERT_TRUE(first.SelectionAddRect(vimg::RECT{10, 900, 300, 20}));

        CUndoHistory history;
        ASSERT_TRUE(history.Submit(first));
        auto current = std::make_unique<vimg::Image>(Patterned(1100, 1400, bpp, 2));
        const vimg::Image second(*current);

        std::unique_ptr<vimg::Image> back = history.Undo(current);
        ASSERT_TRUE(back);
        ExpectSame(*back, first);
        EXPECT_EQ(history.Level(), 0);
        EXPECT_TRUE(history.CanRedo());
        std::unique_ptr<vimg::Image> again = history.Redo(back);
        ASSERT_TRUE(again);
        ExpectSame(*again, second);
        EXPECT_EQ(history.Level(), 1);
    }
}

TEST(UndoHistory, NineStepsKeepTheNewestEightAndANewStepDropsTheRedoSteps) {
    CUndoHistory history;
    // States 0..9: nine changes, each recorded before it happens.
    auto current = std::make_unique<vimg::Image>(Patterned(64, 40, 24, 0));
    for (int change = 1; change <= 9; ++change) {
        ASSERT_TRUE(history.Submit(*current));
        current = std::make_unique<vimg::Image>(Patterned(64, 40, 24, change));
    }
    EXPECT_EQ(history.Level(), 8);
    for (int i = 0; i < 8; ++i) {
        current = history.Undo(current);
        ASSERT_TRUE(current);
    }
    EXPECT_FALSE(history.CanUndo());
    ExpectSame(*current, Patterned(64, 40, 24, 1)); // the state after the first change
    EXPECT_TRUE(history.CanRedo());

    current = history.Redo(current);
    ASSERT_TRUE(history.Submit(*current));
    EXPECT_EQ(history.Level(), 2);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.HasStep(2));
}

TEST(UndoHistory, AStepPackedAheadIsRecordedCompressedAndStaysExact) {
    CUndoHistory history;
    const vimg::Image before = Patterned(300, 200, 24, 5);
    CUndoHistory::PackedStep packed = CUndoHistory::PackAhead(before);
    ASSERT_TRUE(packed);
    EXPECT_EQ(history.StoredBytes(), 0u);
    history.SubmitPacked(std::move(packed));
    EXPECT_EQ(history.Level(), 1);
    EXPECT_LT(history.StoredBytes(), before.GetSize() / 2); // the pattern compresses
    auto current = std::make_unique<vimg::Image>(Patterned(300, 200, 24, 6));
    std::unique_ptr<vimg::Image> back = history.Undo(current);
    ASSERT_TRUE(back);
    ExpectSame(*back, before);
}

TEST(UndoHistory, AnInvalidImageRecordsNothingButStillDropsTheRedoSteps) {
    CUndoHistory history;
    ASSERT_TRUE(history.Submit(Patterned(8, 8, 24, 0)));
    auto current = std::make_unique<vimg::Image>(Patterned(8, 8, 24, 1));
    current = history.Undo(current);
    ASSERT_TRUE(history.CanRedo());
    ASSERT_TRUE(history.Submit(vimg::Image()));
    EXPECT_EQ(history.Level(), 0);
    EXPECT_FALSE(history.CanRedo());
}

} // namespace
