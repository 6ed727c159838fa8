#include "Image.h"
#include "Region.h"
#include "Rect2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace vimg;

namespace {

RGBQUAD Colour(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0) { return RGBQUAD{b, g, r, a}; }

} // namespace

TEST(ImageCreate, StrideAndColoursPerDepth) {
    struct Case {
        uint32_t w, bpp, wantBpp, stride, colours;
    } cases[] = {{5, 1, 1, 4, 2},   {33, 1, 1, 8, 2},    {5, 2, 4, 4, 16},   {9, 4, 4, 8, 16},
                 {5, 8, 8, 8, 256}, {4, 8, 8, 4, 256},   {5, 12, 24, 16, 0}, {1, 24, 24, 4, 0},
                 {3, 32, 24, 12, 0}, {0x101, 0, 1, 36, 2}};
    for (const Case& c : cases) {
        Image img;
        ASSERT_NE(img.Create(c.w, 3, c.bpp, 0), nullptr) << c.w << "x" << c.bpp;
        EXPECT_EQ(img.GetBpp(), c.wantBpp);
        EXPECT_EQ(img.GetEffWidth(), c.stride) << c.w << "x" << c.bpp;
        EXPECT_EQ(img.GetNumColors(), c.colours);
        EXPECT_EQ(img.GetSize(), 40 + 4 * c.colours + c.stride * 3);
        EXPECT_EQ(img.GetBits(1) - img.GetBits(0), static_cast<ptrdiff_t>(c.stride));
        EXPECT_EQ(img.GetBits(3), nullptr);
        // Memory comes zeroed, palette and pixels alike.
        const auto* block = static_cast<const uint8_t*>(img.GetDIB()) + 40;
        for (uint32_t i = 0; i < img.GetSize() - 40; ++i) ASSERT_EQ(block[i], 0);
    }
}

TEST(ImageCreate, RefusesZeroSizeAndLeavesImageEmpty) {
    Image img(4, 4, 8);
    ASSERT_TRUE(img.IsValid());
    EXPECT_EQ(img.Create(0, 10, 8, 0), nullptr);
    EXPECT_STREQ(img.GetLastError(), "Image::Create : width and height must be greater than zero");
    EXPECT_FALSE(img.IsValid());
}

TEST(ImageCreate, MemoryBoundUses64BitArithmetic) {
    Image img;
    // 65536 x 65536 x 24 bits overflows 32-bit products; it must be refused, not wrapped.
    EXPECT_EQ(img.Create(65536, 65536, 24, 0), nullptr);
    EXPECT_EQ(std::string(img.GetLastError())
                  .rfind("IMAGE_MAX_MEMORY exceeded: 65536 x 65536 at 24 bits needs 12884901888 bytes", 0),
              0u);
    EXPECT_EQ(img.Create(0x80000000u, 1, 1, 0), nullptr);
    EXPECT_EQ(std::string(img.GetLastError()).rfind("IMAGE_MAX_MEMORY exceeded: 2147483648 x 1", 0), 0u);

    const uint64_t saved = Image::GetMaxMemory();
    Image::SetMaxMemory(1000);
    EXPECT_EQ(img.Create(100, 11, 8, 0), nullptr); // 1100 bytes
    EXPECT_STREQ(img.GetLastError(),
                 "IMAGE_MAX_MEMORY exceeded: 100 x 11 at 8 bits needs 1100 bytes, the limit is 1000");
    EXPECT_NE(img.Create(100, 10, 8, 0), nullptr); // exactly 1000
    Image::SetMaxMemory(saved);
}

TEST(ImageCreate, DpiSettersKeepPelsPerMetre) {
    Image img(2, 2, 24);
    img.SetXDPI(0);
    EXPECT_EQ(img.GetXDPI(), 96);
    EXPECT_EQ(img.GetHeader().biXPelsPerMeter, 3780);
    img.SetYDPI(300);
    EXPECT_EQ(img.GetHeader().biYPelsPerMeter, 11811);
}

TEST(ImageLifecycle, TransferMovesEverythingAndEmptiesSource) {
    Image a(7, 5, 8, 1);
    a.SetPaletteColor(3, 10, 20, 30);
    a.SetPixelIndex(2, 2, 3);
    a.AlphaCreate();
    a.SelectionAddPixel(1, 1);
    void* dib = a.GetDIB();
    Image b;
    ASSERT_TRUE(b.Transfer(a));
    EXPECT_EQ(b.GetDIB(), dib);
    EXPECT_EQ(b.GetPixelIndex(2, 2), 3);
    EXPECT_TRUE(b.AlphaIsValid());
    EXPECT_TRUE(b.SelectionIsValid());
    EXPECT_EQ(b.GetType(), 1u);
    EXPECT_FALSE(a.IsValid());
    EXPECT_EQ(a.GetType(), 0u);
    EXPECT_EQ(a.GetJpegQuality(), 0); // all fields zero, not the start-up defaults
    EXPECT_FALSE(a.AlphaIsValid());
}

TEST(ImageLifecycle, CopyDuplicatesPlanesOrOnlyPalette) {
    Image a(6, 4, 4, 0);
    a.SetStdPalette();
    a.SetPixelIndex(5, 3, 9);
    a.AlphaCreate();
    a.AlphaSet(1, 1, 7);
    a.SelectionAddRect(RECT{0, 2, 2, 0});
    Image full(a);
    EXPECT_NE(full.GetDIB(), a.GetDIB());
    EXPECT_EQ(full.GetPixelIndex(5, 3), 9);
    EXPECT_EQ(full.AlphaGet(1, 1), 7);
    EXPECT_TRUE(full.SelectionIsInside(1, 1));
    EXPECT_FALSE(full.SelectionIsInside(3, 1));

    Image paletteOnly(a, false, false, false);
    EXPECT_EQ(paletteOnly.GetPixelIndex(5, 3), 0);
    EXPECT_TRUE(paletteOnly.IsSamePalette(a));
    EXPECT_FALSE(paletteOnly.AlphaIsValid());
    EXPECT_FALSE(paletteOnly.SelectionIsValid());

    Image assigned;
    assigned = a;
    const Image& same = assigned;
    assigned = same; // self-assignment keeps the content
    EXPECT_EQ(assigned.GetPixelIndex(5, 3), 9);
}

namespace {
// A codec-like object that borrows another image's memory.
class GhostProbe : public Image {};
} // namespace

TEST(ImageLifecycle, GhostSharesMemoryAndNeverFreesIt) {
    Image owner(10, 10, 24);
    owner.SetPixelColor(4, 4, Colour(1, 2, 3));
    {
        GhostProbe ghost;
        ghost.Ghost(&owner);
        EXPECT_EQ(ghost.GetDIB(), owner.GetDIB());
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_EQ(ghost.Create(3, 3, 8), nullptr); // a ghost cannot be rebuilt either
        EXPECT_EQ(ghost.GetPixelColor(4, 4).rgbRed, 1);
    } // the ghost's destructor must leave the owner's block alone
    EXPECT_TRUE(owner.IsValid());
    EXPECT_EQ(owner.GetPixelColor(4, 4).rgbBlue, 3);
}

TEST(ImageLifecycle, MovesTakeEveryBlockWithoutCopying) {
    Image a(7, 5, 8, 4);
    a.SetPaletteColor(3, 10, 20, 30);
    a.SetPixelIndex(2, 2, 3);
    a.AlphaCreate();
    a.AlphaSet(1, 1, 9);
    a.SelectionAddPixel(1, 1);
    a.SetJpegQuality(55);
    const void* dib = a.GetDIB();
    const uint8_t* alpha = a.AlphaGetPointer();
    const uint8_t* mask = a.SelectionGetPointer();

    Image b(std::move(a));
    EXPECT_EQ(b.GetDIB(), dib);
    EXPECT_EQ(b.AlphaGetPointer(), alpha);
    EXPECT_EQ(b.SelectionGetPointer(), mask);
    EXPECT_EQ(b.GetPaletteColor(3).rgbGreen, 20);
    EXPECT_EQ(b.GetPixelIndex(2, 2), 3);
    EXPECT_EQ(b.GetJpegQuality(), 55);
    EXPECT_EQ(b.GetType(), 4u);
    EXPECT_FALSE(a.IsValid()); // NOLINT(bugprone-use-after-move): the moved-from state is specified
    EXPECT_FALSE(a.AlphaIsValid());
    EXPECT_FALSE(a.SelectionIsValid());

    // Assignment frees what the target held and takes the source's blocks.
    Image c(300, 200, 24);
    c = std::move(b);
    EXPECT_EQ(c.GetDIB(), dib);
    EXPECT_EQ(c.AlphaGetPointer(), alpha);
    EXPECT_EQ(c.GetWidth(), 7u);
    EXPECT_FALSE(b.IsValid()); // NOLINT(bugprone-use-after-move)

    // Images live in containers by value: growing a vector moves, never copies.
    std::vector<Image> images;
    images.push_back(std::move(c));
    for (int i = 0; i < 20; ++i) images.emplace_back(4, 4, 24);
    EXPECT_EQ(images.front().GetDIB(), dib);
}

TEST(ImageLifecycle, MovingAGhostCopiesInsteadOfStealing) {
    Image owner(6, 6, 24);
    owner.SetPixelColor(2, 2, Colour(7, 8, 9));
    GhostProbe ghost;
    ghost.Ghost(&owner);
    Image moved(std::move(ghost));
    EXPECT_NE(moved.GetDIB(), owner.GetDIB());
    EXPECT_EQ(moved.GetPixelColor(2, 2).rgbGreen, 8);
    Image target;
    EXPECT_FALSE(target.Transfer(ghost)); // a ghost owns nothing to hand over
    EXPECT_TRUE(owner.IsValid());
    EXPECT_EQ(owner.GetPixelColor(2, 2).rgbRed, 7);
}

TEST(ImageLifecycle, ClearByDepth) {
    Image one(9, 2, 1);
    one.Clear(3);
    EXPECT_EQ(one.GetBits(0)[0], 255);
    Image four(9, 2, 4);
    four.Clear(0x3A);
    EXPECT_EQ(four.GetBits(1)[2], 0xAA);
    Image eight(9, 2, 8);
    eight.Clear(0x3A);
    EXPECT_EQ(eight.GetBits(1)[8], 0x3A);
}

TEST(ImageLifecycle, CreateFromArray32BitsSplitsAlphaAndFlips) {
    const uint8_t bits[2 * 2 * 4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    Image img;
    ASSERT_TRUE(img.CreateFromArray(bits, 2, 2, 32, 8, true));
    EXPECT_EQ(img.GetBpp(), 24u);
    ASSERT_TRUE(img.AlphaIsValid());
    // Source line 0 becomes the top row (row 1).
    const RGBQUAD c = img.GetPixelColor(1, 1, true);
    EXPECT_EQ(c.rgbBlue, 5);
    EXPECT_EQ(c.rgbRed, 7);
    EXPECT_EQ(c.rgbReserved, 8);
    EXPECT_EQ(img.AlphaGet(0, 0), 12);
    EXPECT_FALSE(img.CreateFromArray(bits, 2, 2, 16, 8, false));
    EXPECT_FALSE(img.CreateFromArray(nullptr, 2, 2, 8, 8, false));

    const uint8_t line0[4] = {7, 8, 9, 10};
    const uint8_t* rows[2] = {line0, nullptr};
    Image grey;
    ASSERT_TRUE(grey.CreateFromMatrix(rows, 4, 2, 8, 4, false));
    EXPECT_TRUE(grey.IsGrayScale());
    EXPECT_EQ(grey.GetPixelIndex(3, 0), 10);
    EXPECT_EQ(grey.GetPixelIndex(3, 1), 0);
}

TEST(ImagePixels, IndexPackingAtEveryDepth) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        Image img(13, 3, bpp);
        const uint32_t maxIndex = (1u << bpp) - 1;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x)
                img.SetPixelIndex(x, y, static_cast<uint8_t>((x * 7 + y) & maxIndex));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(img.GetPixelIndex(x, y), (x * 7 + y) & maxIndex) << bpp << " " << x << "," << y;
    }
    Image four(2, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x5);
    EXPECT_EQ(four.GetBits(0)[0], 0xA5); // left pixel in the high nibble
    Image one(8, 1, 1);
    one.SetPixelIndex(0, 0, 1);
    EXPECT_EQ(one.GetBits(0)[0], 0x80); // left pixel in the top bit
}

TEST(ImagePixels, ReadsOutsideTheImage) {
    Image img(4, 4, 8);
    img.GetBits(0)[0] = 42;
    EXPECT_EQ(img.GetPixelIndex(-1, 0), 42);
    img.SetTransIndex(7);
    EXPECT_EQ(img.GetPixelIndex(-1, 0), 7);
    img.SetPixelIndex(4, 0, 9); // ignored
    EXPECT_EQ(img.GetBits(0)[3], 0);

    Image rgb(3, 3, 24);
    rgb.SetPixelColor(0, 0, Colour(10, 20, 30));
    const RGBQUAD out = rgb.GetPixelColor(5, 5);
    EXPECT_EQ(out.rgbRed, 10);
    EXPECT_EQ(out.rgbBlue, 30);
    rgb.SetTransIndex(0);
    rgb.SetTransColor(Colour(1, 2, 3, 99));
    EXPECT_EQ(rgb.GetTransColor().rgbReserved, 0);
    EXPECT_EQ(rgb.GetPixelColor(-1, 0).rgbRed, 1);

    Image empty;
    EXPECT_EQ(empty.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(empty.GetBits(0), nullptr);
}

TEST(ImagePixels, GreyBlendAndLine) {
    Image img(10, 10, 24);
    img.SetPixelColor(1, 1, Colour(255, 0, 0));
    EXPECT_EQ(img.GetPixelGray(1, 1), (306 * 255) >> 10);
    img.SetPixelColor(2, 2, Colour(100, 100, 100));
    img.BlendPixelColor(2, 2, Colour(200, 0, 100), 0.25f);
    const RGBQUAD c = img.GetPixelColor(2, 2);
    EXPECT_EQ(c.rgbRed, (100 * 192 + 200 * 64) >> 8);
    EXPECT_EQ(c.rgbGreen, (100 * 192) >> 8);
    EXPECT_EQ(c.rgbBlue, 100);

    Image line(10, 10, 24);
    line.DrawLine(0, 9, 0, 4, Colour(255, 255, 255));
    int lit = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) lit += line.GetPixelColor(x, y).rgbRed == 255;
    EXPECT_EQ(lit, 10); // one pixel per column for a shallow line
    EXPECT_EQ(line.GetPixelColor(0, 0).rgbRed, 255);
    EXPECT_EQ(line.GetPixelColor(9, 4).rgbRed, 255);
}

TEST(ImagePalette, NearestIndexTiesCacheAndImportantColours) {
    Image img(2, 2, 8);
    img.SetPaletteColor(0, 0, 0, 0);
    img.SetPaletteColor(5, 10, 0, 0);
    img.SetPaletteColor(6, 20, 0, 0);
    for (int i = 7; i < 256; ++i) img.SetPaletteColor(static_cast<uint8_t>(i), 255, 255, 255);
    for (int i = 1; i < 5; ++i) img.SetPaletteColor(static_cast<uint8_t>(i), 255, 255, 255);
    // 15 lies at equal distance from entries 5 and 6: the lower index wins.
    EXPECT_EQ(img.GetNearestIndex(Colour(15, 0, 0)), 5);
    EXPECT_EQ(img.GetNearestIndex(Colour(19, 0, 0)), 6);
    // A palette change must invalidate the cached answer.
    img.SetPaletteColor(6, 200, 200, 200);
    EXPECT_EQ(img.GetNearestIndex(Colour(19, 0, 0)), 5);
    // Only the important colours are searched.
    img.SetClrImportant(5);
    EXPECT_EQ(img.GetNearestIndex(Colour(12, 0, 0)), 0);

    Image rgb(1, 1, 24);
    EXPECT_EQ(rgb.GetNearestIndex(Colour(1, 1, 1)), 0);
}

TEST(ImagePalette, GreyAndStandardPalettes) {
    Image one(2, 2, 1);
    one.SetGrayPalette();
    EXPECT_EQ(one.GetPaletteColor(1).rgbRed, 255);
    EXPECT_FALSE(one.IsGrayScale()); // entry 1 is white, not (1, 1, 1)
    Image sixteen(2, 2, 4);
    sixteen.SetGrayPalette();
    EXPECT_EQ(sixteen.GetPaletteColor(3).rgbGreen, 51);
    sixteen.SetStdPalette();
    EXPECT_EQ(sixteen.GetPaletteColor(7).rgbRed, 192);
    EXPECT_EQ(sixteen.GetPaletteColor(9).rgbRed, 255);
    EXPECT_EQ(sixteen.GetPaletteColor(9).rgbGreen, 0);
    Image eight(2, 2, 8);
    eight.SetGrayPalette();
    EXPECT_TRUE(eight.IsGrayScale());
    eight.SetStdPalette();
    // Every pure primary is available exactly.
    EXPECT_EQ(eight.GetPaletteColor(eight.GetNearestIndex(Colour(0, 0, 255))).rgbBlue, 255);
    EXPECT_EQ(eight.GetPaletteColor(eight.GetNearestIndex(Colour(102, 153, 204))).rgbGreen, 153);
}

TEST(ImagePalette, SetterFormsSwapAndImportantLimits) {
    Image img(3, 1, 4);
    const uint8_t red[2] = {9, 8};
    img.SetPalette(2, red);
    EXPECT_EQ(img.GetPaletteColor(1).rgbBlue, 8); // missing green and blue take red
    const rgb_color rgb[1] = {{1, 2, 3}};
    img.SetPalette(rgb, 1);
    EXPECT_EQ(img.GetPaletteColor(0).rgbBlue, 3);
    img.SetPaletteColor(20, RGB(1, 1, 1)); // beyond the palette: ignored
    EXPECT_EQ(img.GetPaletteColor(20).rgbRed, 0);

    img.SetPixelIndex(0, 0, 0);
    img.SetPixelIndex(1, 0, 1);
    img.SetPixelIndex(2, 0, 2);
    const RGBQUAD c0 = img.GetPaletteColor(0);
    img.SwapIndex(0, 1);
    EXPECT_EQ(img.GetPixelIndex(0, 0), 1);
    EXPECT_EQ(img.GetPixelIndex(1, 0), 0);
    EXPECT_EQ(img.GetPixelIndex(2, 0), 2);
    EXPECT_EQ(img.GetPaletteColor(1), c0);

    img.SetClrImportant(40);
    EXPECT_EQ(img.GetClrImportant(), 16u);
    img.SetClrImportant(300);
    EXPECT_EQ(img.GetClrImportant(), 0u);

    img.BlendPalette(RGB(200, 0, 0), 150); // clamped to 100 %
    EXPECT_EQ(img.GetPaletteColor(2).rgbRed, 200);
}

TEST(ImageInfoFields, CodecOptionsFlagsAndOffsets) {
    Image img(1, 1, 24, 3);
    EXPECT_FALSE(img.SetCodecOption(5, 16));
    EXPECT_EQ(img.GetCodecOption(16), 0u);
    EXPECT_TRUE(img.SetCodecOption(0x10, 0)); // own type
    EXPECT_EQ(img.GetCodecOption(3), 0x10u);
    img.SetFlags(0x12345678, true);
    EXPECT_EQ(img.GetFlags(), 0x5678u);
    img.SetFlags(0x12345678, false);
    EXPECT_EQ(img.GetFlags(), 0x12345678u);
    EXPECT_STREQ(Image::GetVersion(), "vimg 1.0.0");
    EXPECT_EQ(img.GetColorType(), 2);
    img.AlphaCreate();
    EXPECT_EQ(img.GetColorType(), 4);
}

TEST(ImageAlpha, PlaneOperations) {
    Image img(4, 3, 24);
    EXPECT_EQ(img.AlphaGet(0, 0), 0);
    ASSERT_TRUE(img.AlphaCreate());
    EXPECT_EQ(img.AlphaGet(3, 2), 255);
    img.AlphaSet(0, 0, 10);
    img.AlphaSet(3, 2, 20);
    img.AlphaSet(9, 9, 30); // outside: ignored
    EXPECT_EQ(img.AlphaGetPointer(9, 9), nullptr);
    ASSERT_TRUE(img.AlphaFlip());
    EXPECT_EQ(img.AlphaGet(0, 2), 10);
    ASSERT_TRUE(img.AlphaMirror());
    EXPECT_EQ(img.AlphaGet(3, 2), 10);
    EXPECT_EQ(img.AlphaGet(0, 0), 20);
    img.AlphaInvert();
    EXPECT_EQ(img.AlphaGet(0, 0), 235);

    Image split;
    ASSERT_TRUE(img.AlphaSplit(&split));
    EXPECT_EQ(split.GetBpp(), 8u);
    EXPECT_EQ(split.GetPixelIndex(0, 0), 235);
    Image back(4, 3, 24);
    ASSERT_TRUE(back.AlphaSet(split));
    EXPECT_EQ(back.AlphaGet(3, 2), 245);
    Image wrongSize(5, 3, 8);
    wrongSize.SetGrayPalette();
    EXPECT_FALSE(back.AlphaSet(wrongSize));
}

TEST(ImageAlpha, StripBlendsOntoTransparentColour) {
    Image img(2, 1, 24);
    img.SetPixelColor(0, 0, Colour(200, 100, 0));
    img.SetPixelColor(1, 0, Colour(200, 100, 0));
    img.AlphaCreate();
    img.AlphaSet(0, 0, 0);
    img.AlphaSet(1, 0, 128);
    img.AlphaSetMax(255);
    img.SetTransColor(Colour(0, 0, 255));
    img.AlphaStrip();
    EXPECT_FALSE(img.AlphaIsValid());
    EXPECT_EQ(img.GetPixelColor(0, 0), Colour(0, 0, 255));
    const RGBQUAD half = img.GetPixelColor(1, 0);
    EXPECT_EQ(half.rgbRed, (0 * 127 + 200 * 128) / 255);
    EXPECT_EQ(half.rgbGreen, (100 * 128) / 255);
    EXPECT_EQ(half.rgbBlue, (255 * 127) / 255);

    // Palette alpha on an indexed image renders into 24 bits.
    Image pal(2, 1, 8);
    pal.SetXDPI(300);
    pal.SetPaletteColor(0, 100, 100, 100, 255);
    pal.SetPaletteColor(1, 100, 100, 100, 51);
    pal.SetPixelIndex(1, 0, 1);
    pal.SetTransColor(Colour(0, 0, 0));
    pal.AlphaStrip();
    EXPECT_EQ(pal.GetBpp(), 24u);
    EXPECT_EQ(pal.GetXDPI(), 300);
    EXPECT_EQ(pal.GetPixelColor(0, 0).rgbRed, 100);
    EXPECT_EQ(pal.GetPixelColor(1, 0).rgbRed, 100 * 51 / 255);

    Image plain(2, 1, 24);
    plain.SetPixelColor(0, 0, Colour(5, 5, 5));
    plain.AlphaStrip(); // nothing to strip
    EXPECT_EQ(plain.GetPixelColor(0, 0), Colour(5, 5, 5));
}

TEST(ImageAlpha, TransparencyTests) {
    Image pal(3, 1, 8);
    pal.SetPixelIndex(1, 0, 4);
    pal.SetTransIndex(4);
    EXPECT_TRUE(pal.IsTransparent(1, 0));
    EXPECT_FALSE(pal.IsTransparent(0, 0));
    Image rgb(2, 1, 24);
    rgb.AlphaCreate();
    rgb.AlphaSet(1, 0, 0);
    EXPECT_TRUE(rgb.IsTransparent(1, 0));
    EXPECT_FALSE(rgb.IsTransparent(0, 0));
}

namespace {

// Brute-force ellipse membership following the same arc rule the mask uses.
bool InEllipse(int x, int y, int cx, int cy, int rx, int ry) {
    if (x < cx - rx || x >= cx + rx) return false;
    const double t = static_cast<double>(x - cx) / rx;
    const double s = std::sqrt(std::max(0.0, 1.0 - t * t));
    if (y >= cy - ry && y < cy) return static_cast<int>(cy - ry * s) < y;
    if (y >= cy && y < cy + ry) return y < static_cast<int>(cy + ry * s);
    return false;
}

// Even-odd point-in-polygon test at pixel centres.
bool InPolygon(const std::vector<POINT>& poly, double px, double py) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const double xi = poly[i].x, yi = poly[i].y, xj = poly[j].x, yj = poly[j].y;
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

} // namespace

TEST(ImageSelection, RectangleIsHalfOpenAndClamped) {
    Image img(20, 10, 8);
    EXPECT_TRUE(img.SelectionIsInside(3, 3)); // no mask: everything
    ASSERT_TRUE(img.SelectionAddRect(RECT{15, 2, 25, -3})); // reversed and partly outside
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(img.SelectionIsInside(x, y), x >= 15 && y < 2) << x << "," << y;
    RECT box;
    img.SelectionGetBox(box);
    EXPECT_EQ(box, (RECT{15, 2, 20, 0}));
    EXPECT_FALSE(img.SelectionIsInside(-1, 0));
    img.SelectionDelete();
    img.SelectionGetBox(box);
    EXPECT_EQ(box, (RECT{20, 0, 0, 10}));
}

TEST(ImageSelection, EllipseMatchesArcRule) {
    Image img(40, 30, 24);
    EXPECT_FALSE(img.SelectionAddEllipse(RECT{5, 5, 5, 20}));
    ASSERT_TRUE(img.SelectionAddEllipse(RECT{3, 25, 33, 4}));
    const int cx = 18, cy = 14, rx = 15, ry = 10;
    int count = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(img.SelectionIsInside(x, y), InEllipse(x, y, cx, cy, rx, ry)) << x << "," << y;
            count += img.SelectionIsInside(x, y);
        }
    // Roughly pi * rx * ry pixels.
    EXPECT_NEAR(count, 3.14159 * rx * ry, 0.15 * 3.14159 * rx * ry);
}

TEST(ImageSelection, PolygonCoversInteriorAndOutline) {
    Image img(60, 50, 8);
    const std::vector<POINT> tri = {{5, 5}, {50, 10}, {20, 45}};
    ASSERT_TRUE(img.SelectionAddPolygon(tri.data(), 3));
    int mismatches = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool centreInside = InPolygon(tri, x + 0.5, y + 0.5);
            // Away from the outline the mask must agree with the geometric test;
            // on the outline itself rounding may go either way.
            bool nearEdge = false;
            for (const POINT& p : tri)
                nearEdge = nearEdge || (std::abs(p.x - x) <= 1 && std::abs(p.y - y) <= 1);
            for (int dy = -1; dy <= 1 && !nearEdge; ++dy)
                for (int dx = -1; dx <= 1 && !nearEdge; ++dx)
                    nearEdge = InPolygon(tri, x + 0.5 + dx, y + 0.5 + dy) != centreInside;
            if (!nearEdge && img.SelectionIsInside(x, y) != centreInside) {
                ++mismatches;
                ADD_FAILURE() << x << "," << y << " centre inside: " << centreInside;
            }
        }
    EXPECT_EQ(mismatches, 0);
    for (const POINT& p : tri) EXPECT_TRUE(img.SelectionIsInside(p.x, p.y));
}

TEST(ImageSelection, PolygonSeparatorMakesTwoShapes) {
    Image img(40, 20, 8);
    const POINT pts[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}, {-1, 0}, {20, 2}, {30, 2}, {30, 12}, {20, 12}};
    ASSERT_TRUE(img.SelectionAddPolygon(pts, 9));
    EXPECT_TRUE(img.SelectionIsInside(7, 7));
    EXPECT_TRUE(img.SelectionIsInside(25, 7));
    EXPECT_FALSE(img.SelectionIsInside(16, 7)); // the gap between the squares stays out
    EXPECT_FALSE(img.SelectionAddPolygon(pts, 2));
}

TEST(ImageSelection, ColourInvertSplitAndRegion) {
    Image img(5, 2, 24);
    img.SetPixelColor(1, 0, Colour(9, 9, 9));
    img.SetPixelColor(2, 0, Colour(9, 9, 9));
    img.SetPixelColor(4, 1, Colour(9, 9, 9));
    ASSERT_TRUE(img.SelectionAddColor(Colour(9, 9, 9)));
    RECT box;
    img.SelectionGetBox(box);
    EXPECT_EQ(box, (RECT{1, 2, 5, 0}));
    Region rgn;
    ASSERT_TRUE(img.SelectionToHRGN(&rgn));
    ASSERT_EQ(rgn.Rects().size(), 2u);
    EXPECT_EQ(rgn.Rects()[0], (RECT{1, 0, 3, 1}));
    EXPECT_EQ(rgn.Rects()[1], (RECT{4, 1, 5, 2}));

    Image split;
    ASSERT_TRUE(img.SelectionSplit(&split));
    EXPECT_EQ(split.GetPixelIndex(2, 0), 255);
    EXPECT_EQ(split.GetPixelIndex(0, 0), 0);
    img.SelectionInvert();
    EXPECT_TRUE(img.SelectionIsInside(0, 0));
    EXPECT_FALSE(img.SelectionIsInside(1, 0));
    Image other(5, 2, 8);
    ASSERT_TRUE(other.SelectionCopy(img));
    EXPECT_TRUE(other.SelectionIsInside(0, 0));
    Image noMask(5, 2, 8);
    EXPECT_FALSE(noMask.SelectionToHRGN(&rgn));
}

TEST(Geometry, PointAndRect) {
    EXPECT_FLOAT_EQ(Point2(0, 0).Distance(Point2(3, 4)), 5.0f);
    const Rect2 a(0, 0, 10, 5), b(4, 2, 20, 30);
    const Rect2 c = a.CrossSection(b);
    EXPECT_FLOAT_EQ(c.botLeft.x, 4);
    EXPECT_FLOAT_EQ(c.topRight.y, 5);
    EXPECT_FLOAT_EQ(a.Surface(), 50);
    EXPECT_FLOAT_EQ(a.Center().x, 5);
    const Rect2 none = a.CrossSection(Rect2(11, 0, 12, 1));
    EXPECT_FLOAT_EQ(none.Width(), 0);
    EXPECT_FLOAT_EQ(none.botLeft.x, 0);
}
