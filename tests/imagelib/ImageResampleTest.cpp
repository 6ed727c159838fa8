// Resample (fast, three modes), Resample2, QIShrink and Thumbnail against the
// per-pixel definitions of each destination pixel.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using testsupport::Rgb;
using testsupport::SameColours;
using vimg::Image;
using vimg::RGBQUAD;

namespace {

RGBQUAD NearestReference(const Image& src, int x, int y, float xs, float ys) {
    return src.GetPixelColor(static_cast<int>(static_cast<float>(x) * xs),
                             static_cast<int>(static_cast<float>(y) * ys), false);
}

// Mode 0 on a shrinking 24-bit image: every source pixel overlapping the
// destination pixel's footprint, weighted by its coverage in thousandths.
RGBQUAD AreaReference(const Image& src, int x, int y, float xs, float ys) {
    const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
    const auto cover = [](double lo, double hi, int i) {
        return static_cast<uint64_t>(std::lround((std::min(hi, i + 1.0) - std::max(lo, double(i))) * 1000.0));
    };
    const double x0 = double(x) * xs, x1 = std::min(double(x + 1) * xs, double(w));
    const double y0 = double(y) * ys, y1 = std::min(double(y + 1) * ys, double(h));
    uint64_t sum[3] = {}, total = 0;
    for (int j = int(std::floor(y0)); j < std::min(h, int(std::ceil(y1))); ++j)
        for (int i = int(std::floor(x0)); i < std::min(w, int(std::ceil(x1))); ++i) {
            const uint64_t k = cover(x0, x1, i) * cover(y0, y1, j);
            const RGBQUAD c = src.GetPixelColor(i, j, false);
            sum[0] += k * c.rgbBlue;
            sum[1] += k * c.rgbGreen;
            sum[2] += k * c.rgbRed;
            total += k;
        }
    return RGBQUAD{uint8_t((sum[0] + total / 2) / total), uint8_t((sum[1] + total / 2) / total),
                   uint8_t((sum[2] + total / 2) / total), 0};
}

// Mode 0 otherwise: bilinear between floor(x * scale) and its right and upper
// neighbours, weights in 1/256.
RGBQUAD BilinearReference(const Image& src, int x, int y, float xs, float ys) {
    const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
    const float fx = float(x) * xs, fy = float(y) * ys;
    const int ix = std::min(w - 1, int(std::floor(fx))), iy = std::min(h - 1, int(std::floor(fy)));
    const int ix1 = std::min(w - 1, ix + 1), iy1 = std::min(h - 1, iy + 1);
    const uint32_t wx = uint32_t((fx - float(ix)) * 256.0f), wy = uint32_t((fy - float(iy)) * 256.0f);
    const RGBQUAD a = src.GetPixelColor(ix, iy, false), b = src.GetPixelColor(ix1, iy, false),
                  c = src.GetPixelColor(ix, iy1, false), d = src.GetPixelColor(ix1, iy1, false);
    const auto mix = [&](uint8_t RGBQUAD::*ch) {
        return uint8_t(((a.*ch) * (256 - wx) * (256 - wy) + (b.*ch) * wx * (256 - wy) +
                        (c.*ch) * (256 - wx) * wy + (d.*ch) * wx * wy + 32768) >>
                       16);
    };
    return RGBQUAD{mix(&RGBQUAD::rgbBlue), mix(&RGBQUAD::rgbGreen), mix(&RGBQUAD::rgbRed), 0};
}

// Mode 2: cubic B-spline over the 4 x 4 neighbourhood, indexes clamped.
RGBQUAD BSplineReference(const Image& src, int x, int y, float xs, float ys) {
    const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
    const float fx = float(x) * xs, fy = float(y) * ys;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    float sum[3] = {};
    for (int j = -1; j <= 2; ++j)
        for (int i = -1; i <= 2; ++i) {
            const float k =
                Image::KernelBSpline(fx - float(ix + i)) * Image::KernelBSpline(fy - float(iy + j));
            const RGBQUAD c =
                src.GetPixelColor(std::clamp(ix + i, 0, w - 1), std::clamp(iy + j, 0, h - 1), false);
            sum[0] += k * c.rgbBlue;
            sum[1] += k * c.rgbGreen;
            sum[2] += k * c.rgbRed;
        }
    const auto level = [](float v) { return uint8_t(std::clamp(v + 1e-3f, 0.0f, 255.0f)); };
    return RGBQUAD{level(sum[0]), level(sum[1]), level(sum[2]), 0};
}

using Reference = RGBQUAD (*)(const Image&, int, int, float, float);

void ExpectResample(const Image& src, int nw, int nh, int mode, Reference ref) {
    Image work(src), dst;
    ASSERT_TRUE(work.Resample(nw, nh, mode, &dst));
    ASSERT_TRUE(SameColours(work, src));
    ASSERT_EQ(dst.GetWidth(), uint32_t(nw));
    ASSERT_EQ(dst.GetHeight(), uint32_t(nh));
    const float xs = float(src.GetWidth()) / float(nw), ys = float(src.GetHeight()) / float(nh);
    for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw; ++x) {
            ASSERT_EQ(dst.GetPixelColor(x, y, false), ref(src, x, y, xs, ys))
                << "mode " << mode << " " << nw << "x" << nh << " at " << x << "," << y;
            if (src.AlphaIsValid()) {
                ASSERT_EQ(dst.AlphaGet(x, y), src.AlphaGet(int(float(x) * xs), int(float(y) * ys)));
            }
        }
}

} // namespace

TEST(ImageResample, FastModesMatchTheirPerPixelDefinitions) {
    const Image src = testsupport::RandomImage(53, 37, 24, 80, testsupport::kWithAlpha);
    for (const auto& [nw, nh] :
         {std::pair{20, 11}, std::pair{17, 37}, std::pair{120, 90}, std::pair{53, 100}}) {
        ExpectResample(src, nw, nh, 1, NearestReference);
        ExpectResample(src, nw, nh, 2, BSplineReference);
        const bool shrinksBoth = nw < 53 && nh < 37;
        ExpectResample(src, nw, nh, 0, shrinksBoth ? AreaReference : BilinearReference);
    }
}

TEST(ImageResample, NearestKeepsIndexesAndPaletteBelow24Bits) {
    for (const uint32_t bpp : {1u, 4u, 8u}) {
        const Image src = testsupport::RandomImage(29, 13, bpp, 81);
        Image work(src), dst;
        ASSERT_TRUE(work.Resample(61, 7, 1, &dst));
        ASSERT_EQ(dst.GetBpp(), bpp);
        EXPECT_TRUE(dst.IsSamePalette(src));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 61; ++x)
                ASSERT_EQ(dst.GetPixelIndex(x, y),
                          src.GetPixelIndex(int(float(x) * (29.0f / 61.0f)), int(float(y) * (13.0f / 7.0f))));
    }
    // Palette images in mode 0 interpolate palette colours and store the nearest entry.
    Image grey(8, 8, 8, 0);
    grey.SetGrayPalette();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            grey.SetPixelIndex(x, y, uint8_t(x * 32));
    ASSERT_TRUE(grey.Resample(16, 8, 0));
    EXPECT_EQ(grey.GetPixelIndex(1, 0), 16); // halfway between 0 and 32
}

TEST(ImageResample, SameSizeCopiesIntoTheDestinationOrChangesNothing) {
    const Image src = testsupport::RandomImage(9, 6, 24, 82, testsupport::kWithAlpha);
    Image work(src), dst;
    ASSERT_TRUE(work.Resample2(9, 6, Image::IM_BICUBIC, Image::OM_REPEAT, &dst));
    EXPECT_TRUE(SameColours(dst, src));
    ASSERT_TRUE(work.Resample2(9, 6, Image::IM_BICUBIC, Image::OM_REPEAT));
    EXPECT_TRUE(SameColours(work, src));
    ASSERT_TRUE(work.Resample(9, 6, 0));
    EXPECT_TRUE(SameColours(work, src));
    EXPECT_FALSE(work.Resample2(0, 6));
    EXPECT_FALSE(work.Resample(9, -1, 1));
    EXPECT_FALSE(Image().Resample2(5, 5));
}

TEST(ImageResample, Resample2AveragesWhenShrinkingAndKeepsFlatAreasFlat) {
    // 2 x 2 blocks of one colour each: halving gives each block's colour.
    Image blocks(12, 8, 24, 0);
    blocks.AlphaCreate();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            blocks.SetPixelColor(x, y, Rgb((x / 2) * 40, (y / 2) * 60, 7, (x / 2) * 20), true);
        }
    Image half;
    ASSERT_TRUE(blocks.Resample2(6, 4, Image::IM_BICUBIC, Image::OM_REPEAT, &half));
    ASSERT_TRUE(half.AlphaIsValid());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(half.GetPixelColor(x, y), Rgb(x * 40, y * 60, 7, x * 20)) << x << "," << y;
    // Without averaging the shrink samples at the footprint centres instead.
    Image sampled;
    ASSERT_TRUE(blocks.Resample2(6, 4, Image::IM_NEAREST_NEIGHBOUR, Image::OM_REPEAT, &sampled, true));
    EXPECT_EQ(sampled.GetPixelColor(2, 1), blocks.GetPixelColor(5, 3)); // (2.5 * 2 - 0.5) rounds to 5

    Image flat(10, 10, 24, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            flat.SetPixelColor(x, y, Rgb(90, 91, 92));
    for (int m = Image::IM_NEAREST_NEIGHBOUR; m <= Image::IM_CATROM; ++m)
        for (const auto& [nw, nh] : {std::pair{23, 17}, std::pair{7, 3}, std::pair{4, 25}}) {
            Image out;
            ASSERT_TRUE(
                flat.Resample2(nw, nh, static_cast<Image::InterpolationMethod>(m), Image::OM_REPEAT, &out));
            for (int y = 0; y < nh; ++y)
                for (int x = 0; x < nw; ++x)
                    ASSERT_EQ(out.GetPixelColor(x, y), Rgb(90, 91, 92))
                        << "method " << m << " " << nw << "x" << nh;
        }
}

TEST(ImageResample, Resample2SamplesEachPixelAtItsFootprint) {
    const Image src = testsupport::RandomImage(70, 50, 24, 84, testsupport::kWithAlpha);
    for (const auto& [nw, nh] : {std::pair{29, 40}, std::pair{150, 23}, std::pair{90, 80}}) {
        Image work(src), got;
        ASSERT_TRUE(work.Resample2(nw, nh, Image::IM_CATROM, Image::OM_MIRROR, &got));
        const float xs = 70.0f / float(nw), ys = 50.0f / float(nh);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x) {
                const float sx = (float(x) + 0.5f) * xs - 0.5f, sy = (float(y) + 0.5f) * ys - 0.5f;
                const RGBQUAD expect =
                    (xs > 1.0f || ys > 1.0f)
                        ? src.GetAreaColorInterpolated(sx, sy, xs, ys, Image::IM_CATROM, Image::OM_MIRROR)
                        : src.GetPixelColorInterpolated(sx, sy, Image::IM_CATROM, Image::OM_MIRROR);
                ASSERT_EQ(got.GetPixelColor(x, y), expect) << nw << "x" << nh << " at " << x << "," << y;
            }
    }
}

TEST(ImageResample, QIShrinkAveragesBlocksAndRefusesToEnlarge) {
    Image img(6, 4, 24, 0);
    img.AlphaCreate();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            img.SetPixelColor(x, y, Rgb(x * 10, y * 10, 0, x * 50), true);
    Image small;
    ASSERT_TRUE(img.QIShrink(3, 2, &small));
    // Block (0..1, 0..1): red 0, 10, 0, 10 -> 5; green 0, 0, 10, 10 -> 5; alpha 0, 50 -> 25.
    EXPECT_EQ(small.GetPixelColor(0, 0), Rgb(5, 5, 0, 25));
    EXPECT_EQ(small.GetPixelColor(2, 1), Rgb(45, 25, 0, 225));
    EXPECT_FALSE(img.QIShrink(7, 2));
    EXPECT_STREQ(img.GetLastError(), "QIShrink can't enlarge image");
    EXPECT_EQ(img.GetWidth(), 6u);
}

TEST(ImageResample, ThumbnailFitsTheAspectRatioInsideACanvas) {
    const Image src = testsupport::RandomImage(200, 100, 24, 83);
    Image work(src), thumb;
    const RGBQUAD blue = Rgb(0, 0, 255);
    ASSERT_TRUE(work.Thumbnail(50, 50, blue, &thumb));
    ASSERT_EQ(thumb.GetWidth(), 50u);
    ASSERT_EQ(thumb.GetHeight(), 50u);
    // 50 x 25 picture, 12 canvas rows above (38..49) and 13 below (0..12).
    Image shrunk;
    ASSERT_TRUE(work.Resample(50, 25, 0, &shrunk));
    for (int y = 0; y < 50; ++y) {
        if (y < 13 || y >= 38) {
            ASSERT_EQ(thumb.GetPixelColor(25, y), blue) << y;
        } else {
            ASSERT_EQ(thumb.GetPixelColor(25, y), shrunk.GetPixelColor(25, y - 13)) << y;
        }
    }
    EXPECT_FALSE(work.Thumbnail(0, 10, blue));
    EXPECT_TRUE(SameColours(work, src));
}
