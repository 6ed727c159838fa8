// Mirror, flip, turns, free rotation, skew, crop, expansion and the circular
// distortions, checked against the per-pixel definitions of where each
// pixel comes from.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

using testsupport::Rgb;
using testsupport::SameColours;
using testsupport::SamePixels;
using vimg::Image;
using vimg::RGBQUAD;

namespace {

// Every destination pixel (colour, or index below 24 bits, and alpha) must be
// the source pixel that `from` names.
void ExpectMoved(const Image& src, const Image& dst,
                 const std::function<std::pair<int, int>(int, int)>& from) {
    ASSERT_TRUE(dst.IsValid());
    ASSERT_EQ(dst.GetBpp(), src.GetBpp());
    ASSERT_EQ(dst.AlphaIsValid(), src.AlphaIsValid());
    for (int32_t y = 0; y < static_cast<int32_t>(dst.GetHeight()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(dst.GetWidth()); ++x) {
            const auto [sx, sy] = from(x, y);
            if (src.IsIndexed()) {
                ASSERT_EQ(dst.GetPixelIndex(x, y), src.GetPixelIndex(sx, sy)) << x << "," << y;
            }
            ASSERT_EQ(dst.GetPixelColor(x, y), src.GetPixelColor(sx, sy)) << x << "," << y;
        }
}

constexpr uint32_t kDepths[] = {1, 4, 8, 24};

} // namespace

TEST(ImageTransform, QuarterAndHalfTurnsMoveEveryPixelAtEveryDepth) {
    // 67 x 45 crosses the 64-pixel tiles and leaves partial bytes at 1 and 4 bits.
    for (const uint32_t bpp : kDepths) {
        const Image src = testsupport::RandomImage(67, 45, bpp, bpp, testsupport::kWithAlpha);
        const int w = 67, h = 45;
        Image right, left, half;
        Image work(src);
        ASSERT_TRUE(work.RotateRight(&right));
        ASSERT_TRUE(work.RotateLeft(&left));
        ASSERT_TRUE(work.Rotate180(&half));
        EXPECT_TRUE(SameColours(work, src)) << "destination forms must leave the image alone";
        ASSERT_EQ(right.GetWidth(), 45u);
        ASSERT_EQ(right.GetHeight(), 67u);
        SCOPED_TRACE(bpp);
        ExpectMoved(src, right, [&](int x, int y) { return std::pair{w - 1 - y, x}; });
        ExpectMoved(src, left, [&](int x, int y) { return std::pair{y, h - 1 - x}; });
        ExpectMoved(src, half, [&](int x, int y) { return std::pair{w - 1 - x, h - 1 - y}; });
        Image halfInPlace(src);
        ASSERT_TRUE(halfInPlace.Rotate180());
        ExpectMoved(src, halfInPlace, [&](int x, int y) { return std::pair{w - 1 - x, h - 1 - y}; });
        EXPECT_TRUE(SamePixels(halfInPlace, half));
        if (src.IsIndexed()) {
            EXPECT_TRUE(right.IsSamePalette(src));
        }
    }
}

TEST(ImageTransform, TurnsOfLargeImagesSpreadOverThreadsStayExact) {
    // Wide enough for many bands of destination rows, so both threads take part.
    for (const uint32_t bpp : {8u, 24u}) {
        const Image src = testsupport::RandomImage(1100, 37, bpp, 40 + bpp, testsupport::kWithAlpha);
        const int w = 1100, h = 37;
        Image work(src), right, left, half, mirrored(src);
        ASSERT_TRUE(work.RotateRight(&right));
        ASSERT_TRUE(work.RotateLeft(&left));
        ASSERT_TRUE(work.Rotate180(&half));
        ASSERT_TRUE(mirrored.Mirror());
        SCOPED_TRACE(bpp);
        ExpectMoved(src, right, [&](int x, int y) { return std::pair{w - 1 - y, x}; });
        ExpectMoved(src, left, [&](int x, int y) { return std::pair{y, h - 1 - x}; });
        ExpectMoved(src, half, [&](int x, int y) { return std::pair{w - 1 - x, h - 1 - y}; });
        ExpectMoved(src, mirrored, [&](int x, int y) { return std::pair{w - 1 - x, y}; });
    }
}

// A picture of several megabytes turned into itself, with padded rows that need
// a larger block once turned, alpha, and column blocks spread over threads.
TEST(ImageTransform, LargeTurnsIntoThemselvesStayExact) {
    const int w = 1601, h = 1799;
    const Image src = testsupport::RandomImage(w, h, 24, 91, testsupport::kWithAlpha);
    Image right(src), left(src);
    ASSERT_TRUE(right.RotateRight());
    ASSERT_TRUE(left.RotateLeft());
    ASSERT_EQ(right.GetWidth(), static_cast<uint32_t>(h));
    ExpectMoved(src, right, [&](int x, int y) { return std::pair{w - 1 - y, x}; });
    ExpectMoved(src, left, [&](int x, int y) { return std::pair{y, h - 1 - x}; });
}

// Whole-byte pictures turned into themselves turn in their own memory; the
// result must be the one a turn into another image gives (header, palette,
// pixels, padding, alpha; no selection): rows without padding before and after,
// padded rows, turned rows needing more bytes (4 x 5) or fewer (5 x 4).
TEST(ImageTransform, TurnsIntoThemselvesEqualTurnsIntoAnotherImage) {
    struct Case {
        uint32_t bpp, w, h;
    };
    for (const Case c : {Case{24, 36, 20}, Case{24, 37, 21}, Case{8, 40, 28}, Case{8, 41, 27}, Case{24, 4, 5},
                         Case{24, 5, 4}}) {
        const Image src = testsupport::RandomImage(c.w, c.h, c.bpp, c.w + c.h, testsupport::kWithAlpha);
        const int w = static_cast<int>(c.w), h = static_cast<int>(c.h);
        for (const bool clockwise : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << c.bpp << " bits " << w << " x " << h << (clockwise ? " right" : " left"));
            Image self(src), work(src), other;
            testsupport::AddSelection(self);
            ASSERT_TRUE(clockwise ? self.RotateRight() : self.RotateLeft());
            ASSERT_TRUE(clockwise ? work.RotateRight(&other) : work.RotateLeft(&other));
            if (clockwise)
                ExpectMoved(src, self, [&](int x, int y) { return std::pair{w - 1 - y, x}; });
            else
                ExpectMoved(src, self, [&](int x, int y) { return std::pair{y, h - 1 - x}; });
            EXPECT_TRUE(SamePixels(self, other));
            EXPECT_EQ(self.GetEffWidth(), other.GetEffWidth());
            ASSERT_EQ(self.GetSize(), other.GetSize());
            EXPECT_EQ(std::memcmp(self.GetDIB(), other.GetDIB(), self.GetSize()), 0);
            EXPECT_FALSE(self.SelectionIsValid());
        }
    }
    // Asked to stop before it starts, the turn in place leaves the picture alone.
    Image stopped(testsupport::RandomImage(36, 20, 24, 5));
    stopped.SetEscape(1);
    EXPECT_FALSE(stopped.RotateRight());
    EXPECT_EQ(stopped.GetWidth(), 36u);
}

TEST(ImageTransform, Rotate2SamplesEachPixelAtItsInverseRotation) {
    const Image src = testsupport::RandomImage(60, 40, 24, 22, testsupport::kWithAlpha);
    const RGBQUAD fill = Rgb(3, 4, 5, 6);
    const double theta = static_cast<double>(12.345f) * 3.14159265358979323846 / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    // Bilinear has its own row loop; the other methods call the sampler.
    for (const auto method : {Image::IM_BILINEAR, Image::IM_BICUBIC2}) {
        Image work(src), got;
        ASSERT_TRUE(work.Rotate2(-12.345f, &got, method, Image::OM_COLOR, &fill));
        const double dcx = got.GetWidth() / 2.0 - 0.5, dcy = got.GetHeight() / 2.0 - 0.5;
        for (int32_t y = 0; y < int32_t(got.GetHeight()); ++y)
            for (int32_t x = 0; x < int32_t(got.GetWidth()); ++x) {
                const double dx = x - dcx, dy = y - dcy;
                const RGBQUAD expect = src.GetPixelColorInterpolated(float(c * dx + s * dy + 29.5),
                                                                     float(-s * dx + c * dy + 19.5), method,
                                                                     Image::OM_COLOR, &fill);
                ASSERT_EQ(got.GetPixelColor(x, y), expect) << method << " at " << x << "," << y;
            }
    }
}

TEST(ImageTransform, MirrorAndFlipReverseRowsAndAlphaAndDropTheSelection) {
    for (const uint32_t bpp : kDepths) {
        const Image src = testsupport::RandomImage(13, 7, bpp, 10 + bpp, testsupport::kWithAlpha);
        Image mirrored(src), flipped(src);
        mirrored.SelectionAddRect(vimg::RECT{1, 5, 4, 2});
        flipped.SelectionAddRect(vimg::RECT{1, 5, 4, 2});
        ASSERT_TRUE(mirrored.Mirror());
        ASSERT_TRUE(flipped.Flip());
        SCOPED_TRACE(bpp);
        ExpectMoved(src, mirrored, [](int x, int y) { return std::pair{12 - x, y}; });
        ExpectMoved(src, flipped, [](int x, int y) { return std::pair{x, 6 - y}; });
        EXPECT_FALSE(mirrored.SelectionIsValid());
        EXPECT_FALSE(flipped.SelectionIsValid());
    }
}

TEST(ImageTransform, Rotate2AtRightAnglesIsExactlyTheQuarterTurn) {
    const Image src = testsupport::RandomImage(31, 20, 24, 20, testsupport::kWithAlpha);
    Image work(src), expect, got;
    const std::pair<float, std::function<bool(Image*)>> cases[] = {
        {90.0f, [&](Image* d) { return work.RotateRight(d); }},
        {-270.0f, [&](Image* d) { return work.RotateRight(d); }},
        {180.0f, [&](Image* d) { return work.Rotate180(d); }},
        {270.0f, [&](Image* d) { return work.RotateLeft(d); }},
        {-90.0f, [&](Image* d) { return work.RotateLeft(d); }},
        {360.0f,
         [&](Image* d) {
             d->Copy(work);
             return true;
         }},
    };
    for (const auto& [angle, turn] : cases) {
        ASSERT_TRUE(turn(&expect));
        ASSERT_TRUE(work.Rotate2(angle, &got, Image::IM_BICUBIC, Image::OM_COLOR, nullptr, true, false))
            << angle;
        EXPECT_TRUE(SameColours(got, expect)) << angle;
    }
    // keepSize forbids the side swap on a non-square image: same size, interpolated.
    ASSERT_TRUE(work.Rotate2(90.0f, &got, Image::IM_BILINEAR, Image::OM_COLOR, nullptr, true, true));
    EXPECT_EQ(got.GetWidth(), 31u);
    EXPECT_EQ(got.GetHeight(), 20u);
    EXPECT_TRUE(SameColours(work, src));
}

TEST(ImageTransform, Rotate2KeepsTheCentreAndGrowsToTheRotatedExtent) {
    const Image src = testsupport::RandomImage(41, 21, 24, 21);
    Image work(src), got;
    ASSERT_TRUE(work.Rotate2(30.0f, &got, Image::IM_BICUBIC, Image::OM_COLOR));
    // Corner centres at +-(20, 10) turned by 30 degrees span 44.64 by 37.32;
    // one pixel more, rounded.
    EXPECT_EQ(got.GetWidth(), 46u);
    EXPECT_EQ(got.GetHeight(), 38u);
    // A corner of the enlarged canvas lies outside the turned picture: replacement colour.
    EXPECT_EQ(got.GetPixelColor(0, 0), Rgb(255, 255, 255));
    // Same odd size: the centres coincide and the centre samples the source centre exactly.
    Image kept;
    ASSERT_TRUE(work.Rotate2(12.345f, &kept, Image::IM_BILINEAR, Image::OM_COLOR, nullptr, true, true));
    ASSERT_EQ(kept.GetWidth(), 41u);
    EXPECT_EQ(kept.GetPixelColor(20, 10), src.GetPixelColor(20, 10));
    // Positive angles turn clockwise on screen: the top-left area moves right.
    Image marked(41, 41, 24, 0);
    marked.SetPixelColor(5, 35, Rgb(255, 0, 0));
    Image turned;
    ASSERT_TRUE(marked.Rotate(90.0f, &turned));
    Image exact;
    ASSERT_TRUE(marked.RotateRight(&exact));
    bool found = false;
    for (int32_t y = 0; y < static_cast<int32_t>(turned.GetHeight()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(turned.GetWidth()); ++x)
            if (turned.GetPixelColor(x, y).rgbRed == 255) {
                found = true;
                EXPECT_GT(x, static_cast<int32_t>(turned.GetWidth()) / 2);
                EXPECT_GT(y, static_cast<int32_t>(turned.GetHeight()) / 2);
            }
    EXPECT_TRUE(found);
}

TEST(ImageTransform, CropMeasuresTopAndBottomFromTheTop) {
    for (const uint32_t bpp : kDepths) {
        const Image src = testsupport::RandomImage(21, 30, bpp, 30 + bpp, testsupport::kWithAlpha);
        Image work(src), top10, mid;
        ASSERT_TRUE(work.Crop(0, 0, 21, 10, &top10));
        ASSERT_EQ(top10.GetHeight(), 10u);
        SCOPED_TRACE(bpp);
        ExpectMoved(src, top10, [](int x, int y) { return std::pair{x, y + 20}; });
        // Reversed bounds are swapped; an odd left edge splits bytes below 8 bits.
        ASSERT_TRUE(work.Crop(17, 12, 3, 5, &mid));
        ASSERT_EQ(mid.GetWidth(), 14u);
        ASSERT_EQ(mid.GetHeight(), 7u);
        ExpectMoved(src, mid, [](int x, int y) { return std::pair{x + 3, y + 18}; });
        EXPECT_TRUE(SameColours(work, src));
    }
    Image img = testsupport::RandomImage(8, 8, 24, 40);
    EXPECT_FALSE(img.Crop(3, 0, 3, 8));
    EXPECT_FALSE(img.Crop(0, 9, 8, 20)); // both clamp to the bottom edge
    EXPECT_TRUE(img.Crop(vimg::RECT{-5, -5, 50, 4}));
    EXPECT_EQ(img.GetWidth(), 8u);
    EXPECT_EQ(img.GetHeight(), 4u);
}

TEST(ImageTransform, CropRotatedRectangle) {
    const Image src = testsupport::RandomImage(60, 50, 24, 41);
    Image work(src), plain, straight;
    ASSERT_TRUE(work.CropRotatedRectangle(5, 6, 20, 10, 0.0001f, &straight));
    ASSERT_TRUE(work.Crop(5, 6, 25, 16, &plain));
    EXPECT_TRUE(SameColours(straight, plain));
    Image turned;
    ASSERT_TRUE(work.CropRotatedRectangle(20, 10, 20, 10, 0.3f, &turned));
    EXPECT_EQ(turned.GetWidth(), 20u);
    EXPECT_EQ(turned.GetHeight(), 10u);
    // A quarter turn: the rectangle's width runs down the picture from (20, 10)
    // and its height to the left, so it is the box x 12..20, y 10..22 (from
    // the top) turned back a quarter to the left.
    Image quarter, box, expect;
    ASSERT_TRUE(work.CropRotatedRectangle(20, 10, 12, 8, std::numbers::pi_v<float> / 2.0f, &quarter));
    ASSERT_TRUE(work.Crop(12, 10, 20, 22, &box));
    ASSERT_TRUE(box.RotateLeft(&expect));
    EXPECT_TRUE(SameColours(quarter, expect));
    // A rectangle reaching outside the picture is refused.
    EXPECT_FALSE(work.CropRotatedRectangle(50, 10, 20, 10, 0.3f, &turned));
    EXPECT_TRUE(SameColours(work, src));
}

TEST(ImageTransform, ExpandPlacesThePictureInsideAPaintedCanvas) {
    const Image src = testsupport::RandomImage(5, 4, 24, 50, testsupport::kWithAlpha);
    Image work(src), big;
    const RGBQUAD red = Rgb(255, 0, 0);
    ASSERT_TRUE(work.Expand(2, 1, 3, 4, red, &big)); // left, top, right, bottom
    ASSERT_EQ(big.GetWidth(), 10u);
    ASSERT_EQ(big.GetHeight(), 9u);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 4 && y < 8;
            if (inside) {
                ASSERT_EQ(big.GetPixelColor(x, y), src.GetPixelColor(x - 2, y - 4)) << x << "," << y;
            } else {
                ASSERT_EQ(big.GetPixelColor(x, y), Rgb(255, 0, 0, 255)) << x << "," << y;
            }
        }
    EXPECT_FALSE(work.Expand(-1, 0, 0, 0, red));
    EXPECT_FALSE(work.Expand(4, 10, red));
    ASSERT_TRUE(work.Expand(8, 7, red, &big));
    // Three more each way: left and top get 1, right and bottom the other 2.
    EXPECT_EQ(big.GetPixelColor(1, 2), src.GetPixelColor(0, 0));
    EXPECT_EQ(big.GetPixelColor(5, 5), src.GetPixelColor(4, 3));
    EXPECT_EQ(big.GetPixelColor(0, 0), Rgb(255, 0, 0, 255));
    EXPECT_TRUE(SameColours(work, src));

    Image pal = testsupport::RandomImage(4, 4, 4, 51);
    pal.SetPaletteColor(9, 250, 2, 1);
    ASSERT_TRUE(pal.Expand(1, 1, 1, 1, red));
    EXPECT_EQ(pal.GetPixelIndex(0, 0), 9);
}

TEST(ImageTransform, SkewShiftsRowsByTheGain) {
    const Image src = testsupport::RandomImage(16, 8, 24, 60);
    Image img(src);
    ASSERT_TRUE(img.Skew(1.0f, 0.0f, 0, 2, false));
    // source x = x + (y - 2): row 2 stays, row 5 reads three columns to the right.
    EXPECT_EQ(img.GetPixelColor(4, 2), src.GetPixelColor(4, 2));
    EXPECT_EQ(img.GetPixelColor(4, 5), src.GetPixelColor(7, 5));
    Image same(src);
    ASSERT_TRUE(same.Skew(0.0f, 0.0f, 0, 0, true));
    EXPECT_TRUE(SameColours(same, src));
}

TEST(ImageTransform, CircleTransformBathroomAndOutsideTheCircle) {
    Image src = testsupport::RandomImage(100, 80, 24, 70, testsupport::kWithAlpha);
    Image img(src);
    ASSERT_TRUE(img.CircleTransform(4, 0, 1));
    // 40 mod 32 = 8: column 40 reads column 40 + 8 - 16 = 32, and its alpha.
    for (int32_t y : {10, 40, 70}) {
        EXPECT_EQ(img.GetPixelColor(40, y), src.GetPixelColor(32, y)) << y;
    }
    // The radius defaults to the distance to the lower-left corner (64), so the
    // corners lie outside: they read the out-of-range colour with alpha 0.
    Image pinched(src);
    ASSERT_TRUE(pinched.CircleTransform(0, 30, 100));
    EXPECT_EQ(pinched.GetPixelColor(0, 79),
              Rgb(src.GetPixelColor(0, 0).rgbRed, src.GetPixelColor(0, 0).rgbGreen,
                     src.GetPixelColor(0, 0).rgbBlue, 0));
    // At the centre the pinch reads the centre.
    EXPECT_EQ(pinched.GetPixelColor(50, 40), src.GetPixelColor(50, 40));
}

TEST(ImageTransform, NonFiniteAnglesAndGainsAreRefused) {
    const Image src = testsupport::RandomImage(9, 9, 24, 71);
    Image img(src), dst;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(img.Rotate2(nan, &dst));
    EXPECT_FALSE(img.Rotate(inf));
    EXPECT_FALSE(img.Skew(nan, 0.0f));
    EXPECT_FALSE(img.CropRotatedRectangle(1, 1, 3, 3, inf));
    EXPECT_FALSE(img.CircleTransform(2, 0, nan));
    EXPECT_TRUE(SameColours(img, src));
}

TEST(ImageTransform, EscapeStopsWithoutChangingTheImage) {
    const Image src = testsupport::RandomImage(40, 30, 24, 72);
    Image img(src), dst;
    img.SetEscape(1);
    EXPECT_FALSE(img.Rotate2(10.0f, &dst));
    EXPECT_FALSE(img.RotateLeft());
    EXPECT_FALSE(img.Resample(20, 15, 0));
    EXPECT_FALSE(img.Resample2(80, 60));
    EXPECT_FALSE(img.Crop(1, 1, 20, 20));
    EXPECT_FALSE(img.CircleTransform(1));
    EXPECT_TRUE(SameColours(img, src));
    // Skew keeps the copy's content in the rows it did not reach.
    EXPECT_TRUE(img.Skew(1.0f, 0.0f));
    EXPECT_TRUE(SameColours(img, src));
    // Mirror works in place and finishes rather than leave half a mirror.
    ASSERT_TRUE(img.Mirror());
    EXPECT_EQ(img.GetPixelColor(0, 0), src.GetPixelColor(39, 0));
    EXPECT_EQ(img.GetPixelColor(0, 29), src.GetPixelColor(39, 29));
}
