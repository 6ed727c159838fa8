// FFT2 on grey images, and the one-dimensional transforms behind it.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

using vimg::Image;

namespace {

// 128 plus a few whole-period cosines of small amplitude, so that the 8-bit
// spectrum holds every coefficient without clamping.
Image Waves(uint32_t w, uint32_t h) {
    Image img(w, h, 8, 0);
    img.SetGrayPalette();
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const double v = 128.0 + 10.0 * std::cos(2.0 * std::numbers::pi * 3.0 * x / w) +
                             6.0 * std::cos(2.0 * std::numbers::pi * (2.0 * y / h + 1.0 * x / w));
            img.SetPixelIndex(int32_t(x), int32_t(y), uint8_t(std::lround(v)));
        }
    return img;
}

// A size x size grey image of one value.
Image FlatGrey(uint32_t size, uint8_t value) {
    Image img(size, size, 8, 0);
    img.SetGrayPalette();
    img.Clear(value);
    return img;
}

int WorstDifference(const Image& a, const Image& b) {
    int worst = 0;
    for (int32_t y = 0; y < int32_t(a.GetHeight()); ++y)
        for (int32_t x = 0; x < int32_t(a.GetWidth()); ++x)
            worst = std::max(worst, std::abs(a.GetPixelIndex(x, y) - b.GetPixelIndex(x, y)));
    return worst;
}

} // namespace

TEST(ImageFFT, RadixTwoAndDirectTransformsAgree) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-100.0, 100.0);
    for (const int direction : {1, -1}) {
        std::vector<double> x(32), y(32);
        for (size_t i = 0; i < 32; ++i) {
            x[i] = d(rng);
            y[i] = d(rng);
        }
        std::vector<double> fx = x, fy = y, dx = x, dy = y, w1(32), w2(32);
        ASSERT_TRUE(Image::FFT(direction, 5, fx.data(), fy.data()));
        ASSERT_TRUE(Image::DFT(direction, 32, dx.data(), dy.data(), w1.data(), w2.data()));
        for (size_t i = 0; i < 32; ++i) {
            EXPECT_NEAR(fx[i], dx[i], 1e-9) << direction << " " << i;
            EXPECT_NEAR(fy[i], dy[i], 1e-9) << direction << " " << i;
        }
    }
    // Forward divides by n: a constant becomes its value at index 0 and zeros elsewhere.
    std::vector<double> x(8, 3.0), y(8, 0.0);
    ASSERT_TRUE(Image::FFT(1, 3, x.data(), y.data()));
    EXPECT_NEAR(x[0], 3.0, 1e-12);
    for (size_t i = 1; i < 8; ++i)
        EXPECT_NEAR(std::hypot(x[i], y[i]), 0.0, 1e-12);
}

TEST(ImageFFT, ForwardThenInverseReturnsThePicture) {
    // 64 x 32 goes through the radix-2 path, 48 x 20 through the direct one.
    for (const auto& [w, h] : {std::pair{64u, 32u}, std::pair{48u, 20u}}) {
        Image src = Waves(w, h);
        Image re, im, back, backImag;
        ASSERT_TRUE(src.FFT2(&src, nullptr, &re, &im, 1, false, false));
        ASSERT_EQ(re.GetWidth(), w);
        ASSERT_TRUE(src.FFT2(&re, &im, &back, &backImag, -1, false, false));
        EXPECT_LE(WorstDifference(back, src), 1) << w << "x" << h;
        // The imaginary part of a real picture comes back as zero (128).
        for (int32_t y = 0; y < int32_t(h); ++y)
            for (int32_t x = 0; x < int32_t(w); ++x)
                ASSERT_NEAR(backImag.GetPixelIndex(x, y), 128, 1);
    }
}

TEST(ImageFFT, ForceFftWorksOnThePowerOfTwoAbove) {
    Image src = testsupport::RandomImage(100, 60, 24, 110);
    const Image before(src);
    Image re, im;
    ASSERT_TRUE(src.FFT2(&src, nullptr, &re, &im, 1, true, true));
    EXPECT_EQ(re.GetWidth(), 128u);
    EXPECT_EQ(re.GetHeight(), 64u);
    EXPECT_EQ(im.GetWidth(), 128u);
    EXPECT_EQ(re.GetBpp(), 8u);
    EXPECT_TRUE(re.IsGrayScale());
    EXPECT_TRUE(testsupport::SameColours(src, before)) << "with destinations the source is left alone";
    // Without destinations the source itself becomes the real result.
    ASSERT_TRUE(src.FFT2(&src, nullptr, nullptr, nullptr, 1, true, false));
    EXPECT_EQ(src.GetWidth(), 128u);
    EXPECT_EQ(src.GetBpp(), 8u);
}

TEST(ImageFFT, MissingPartsReadAsZeroAndNoSourceIsRefused) {
    // A flat 128 picture is zero everywhere; its spectrum is zero too.
    Image flat = FlatGrey(16, 128);
    Image re, im;
    ASSERT_TRUE(flat.FFT2(&flat, nullptr, &re, &im, 1, false, false));
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            ASSERT_EQ(re.GetPixelIndex(x, y), 128);
            ASSERT_EQ(im.GetPixelIndex(x, y), 128);
        }
    // Only an imaginary part: the real part is the zero image.
    ASSERT_TRUE(flat.FFT2(nullptr, &flat, &re, &im, 1, false, false));
    EXPECT_EQ(re.GetPixelIndex(0, 0), 128);
    Image none;
    EXPECT_FALSE(none.FFT2(nullptr, nullptr, &re, &im, 1, true, true));
    EXPECT_FALSE(none.FFT2(&none, nullptr, &re, &im, 1, true, true));
}

TEST(ImageFFT, MagnitudeOutputIsLogarithmic) {
    // A flat 138 picture (value 10 after the offset): the DC term is 10, the rest 0.
    Image flat = FlatGrey(32, 138);
    Image mag, phase;
    ASSERT_TRUE(flat.FFT2(&flat, nullptr, &mag, &phase, 1, false, true));
    // m = 4 x 32 / 16 = 8: 8 x (ln 10 + 3) = 42.4; ln 0 -> 0.
    EXPECT_EQ(mag.GetPixelIndex(0, 0), 42);
    EXPECT_EQ(mag.GetPixelIndex(5, 7), 0);
    EXPECT_EQ(phase.GetPixelIndex(0, 0), 128); // atan(0 / 10)
}
