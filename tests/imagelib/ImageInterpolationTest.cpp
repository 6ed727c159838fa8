// Interpolation kernels, the overflow rules and the samplers built on them.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using testsupport::Rgb;
using vimg::Image;
using vimg::RGBQUAD;

TEST(ImageInterpolation, KernelValuesAtChosenDistances) {
    EXPECT_FLOAT_EQ(Image::KernelLinear(0.25f), 0.75f);
    EXPECT_FLOAT_EQ(Image::KernelLinear(-1.5f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelBSpline(0.0f), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(Image::KernelBSpline(1.0f), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(Image::KernelBSpline(-1.0f), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(Image::KernelBSpline(1.5f), 1.0f / 48.0f);
    EXPECT_FLOAT_EQ(Image::KernelBSpline(2.5f), 0.0f); // the cubic terms alone would give -1/48
    EXPECT_FLOAT_EQ(Image::KernelCubic(0.5f), 0.625f);
    EXPECT_FLOAT_EQ(Image::KernelCubic(-1.5f), -0.125f);
    EXPECT_FLOAT_EQ(Image::KernelCubic(2.0f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelGeneralizedCubic(0.5f), 0.5625f);
    EXPECT_FLOAT_EQ(Image::KernelGeneralizedCubic(1.5f), -0.0625f);
    EXPECT_FLOAT_EQ(Image::KernelLanczosSinc(0.0f), 1.0f);
    EXPECT_NEAR(Image::KernelLanczosSinc(0.5f), 0.6366198f * 0.9886159f, 1e-6);
    EXPECT_NEAR(Image::KernelLanczosSinc(3.0f), 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(Image::KernelLanczosSinc(6.5f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelBox(-0.5f), 1.0f);
    EXPECT_FLOAT_EQ(Image::KernelBox(0.5f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelHermite(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(Image::KernelHermite(1.0f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelHamming(0.5f), 0.54f);
    EXPECT_FLOAT_EQ(Image::KernelHamming(1.2f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelSinc(0.0f), 1.0f);
    EXPECT_NEAR(Image::KernelSinc(0.5f), 2.0f / std::numbers::pi_v<float>, 1e-6);
    EXPECT_NEAR(Image::KernelSinc(1.0f), 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(Image::KernelBlackman(0.0f), 1.0f);
    EXPECT_NEAR(Image::KernelBlackman(1.0f), 0.0f, 1e-6);
    EXPECT_NEAR(Image::KernelBlackman(0.5f), 0.34f, 1e-6);
    EXPECT_FLOAT_EQ(Image::KernelBessel(0.0f), std::numbers::pi_v<float> / 4.0f);
    EXPECT_NEAR(Image::KernelBessel(1.0f), 0.2846153 / 2.0, 1e-6); // J1(pi) / 2
    EXPECT_FLOAT_EQ(Image::KernelGaussian(0.0f), 0.7978846f);
    EXPECT_NEAR(Image::KernelGaussian(1.0f), 0.7978846 * std::exp(-2.0), 1e-6);
    EXPECT_FLOAT_EQ(Image::KernelQuadratic(0.0f), 0.75f);
    EXPECT_FLOAT_EQ(Image::KernelQuadratic(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(Image::KernelQuadratic(1.0f), 0.125f);
    EXPECT_FLOAT_EQ(Image::KernelQuadratic(1.5f), 0.0f);
    EXPECT_FLOAT_EQ(Image::KernelMitchell(0.0f), 8.0f / 9.0f);
    EXPECT_NEAR(Image::KernelMitchell(1.0f), 1.0f / 18.0f, 1e-6);
    EXPECT_NEAR(Image::KernelMitchell(2.0f), 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(Image::KernelCatrom(0.5f), 0.5625f);
    EXPECT_FLOAT_EQ(Image::KernelCatrom(-1.5f), -0.0625f);
    EXPECT_FLOAT_EQ(Image::KernelCatrom(1.0f), 0.0f);
}

TEST(ImageInterpolation, BesselOrderOneMatchesTablesOnBothSidesOfEight) {
    const std::pair<double, double> table[] = {
        {1.0, 0.4400505857},  {3.8317059702, 0.0},  {7.9, 0.2191793999},  {8.0, 0.2346363469},
        {10.0, 0.0434727462}, {10.1734681351, 0.0}, {20.0, 0.0668331242}, {-10.0, -0.0434727462}};
    for (const auto& [x, j1] : table)
        EXPECT_NEAR(Image::KernelBessel_Order1(x), j1, 1e-7) << x;
    // The series and the asymptotic form agree where they meet.
    EXPECT_NEAR(Image::KernelBessel_J1(8.0), Image::KernelBessel_Order1(8.0), 1e-8);
}

TEST(ImageInterpolation, OverflowRulesAtEveryBorder) {
    Image img = testsupport::RandomImage(10, 6, 24, 1);
    const RGBQUAD white0 = Rgb(255, 255, 255, 0);
    EXPECT_EQ(img.GetPixelColorWithOverflow(-1, 0, Image::OM_COLOR, nullptr), white0);
    const RGBQUAD red = Rgb(255, 0, 0, 9);
    EXPECT_EQ(img.GetPixelColorWithOverflow(10, 0, Image::OM_COLOR, &red), red);
    // Background and transparent without a transparent index: the replacement colour.
    EXPECT_EQ(img.GetPixelColorWithOverflow(0, -1, Image::OM_BACKGROUND, &red), red);
    EXPECT_EQ(img.GetPixelColorWithOverflow(0, 6, Image::OM_TRANSPARENT, &red), red);
    img.SetTransIndex(0);
    img.SetTransColor(Rgb(1, 2, 3));
    EXPECT_EQ(img.GetPixelColorWithOverflow(-5, 2, Image::OM_BACKGROUND, &red), Rgb(1, 2, 3));
    EXPECT_EQ(img.GetPixelColorWithOverflow(-5, 2, Image::OM_TRANSPARENT, &red), Rgb(1, 2, 3));
    img.AlphaCreate();
    EXPECT_EQ(img.GetPixelColorWithOverflow(-5, 2, Image::OM_TRANSPARENT, &red), Rgb(255, 0, 0, 0));

    Image pal = testsupport::RandomImage(4, 4, 8, 2);
    pal.SetTransIndex(7);
    EXPECT_EQ(pal.GetPixelColorWithOverflow(4, 0, Image::OM_BACKGROUND), pal.GetPaletteColor(7));

    // Wrap, repeat and mirror read real pixels, on every side.
    const auto at = [&](int x, int y) { return img.GetPixelColor(x, y); };
    EXPECT_EQ(img.GetPixelColorWithOverflow(-1, 0, Image::OM_WRAP), at(9, 0));
    EXPECT_EQ(img.GetPixelColorWithOverflow(10, 7, Image::OM_WRAP), at(0, 1));
    EXPECT_EQ(img.GetPixelColorWithOverflow(-21, -6, Image::OM_WRAP), at(9, 0));
    EXPECT_EQ(img.GetPixelColorWithOverflow(-4, 99, Image::OM_REPEAT), at(0, 5));
    EXPECT_EQ(img.GetPixelColorWithOverflow(15, -3, Image::OM_REPEAT), at(9, 0));
    EXPECT_EQ(img.GetPixelColorWithOverflow(-3, 2, Image::OM_MIRROR), at(3, 2));
    EXPECT_EQ(img.GetPixelColorWithOverflow(12, 2, Image::OM_MIRROR), at(7, 2));
    EXPECT_EQ(img.GetPixelColorWithOverflow(4, -1, Image::OM_MIRROR), at(4, 1));
    EXPECT_EQ(img.GetPixelColorWithOverflow(4, 6, Image::OM_MIRROR), at(4, 5));

    int32_t x = -3, y = 12;
    img.OverflowCoordinates(x, y, Image::OM_MIRROR);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 6 - 0 - 1);
    float fx = -2.5f, fy = 7.25f;
    img.OverflowCoordinates(fx, fy, Image::OM_WRAP);
    EXPECT_FLOAT_EQ(fx, 7.5f);
    EXPECT_FLOAT_EQ(fy, 1.25f);
    fx = -2.5f;
    fy = 7.25f;
    img.OverflowCoordinates(fx, fy, Image::OM_COLOR); // not moved by the colour rules
    EXPECT_FLOAT_EQ(fx, -2.5f);
}

TEST(ImageInterpolation, DirectReadsMatchTheCheckedPerPixelPath) {
    // The same picture as an 8-bit palette image (every window pixel read through
    // GetPixelColorWithOverflow) and as 24 bits (inner windows read from the rows).
    Image pal = testsupport::RandomImage(30, 28, 8, 3, testsupport::kWithAlpha);
    Image rgb(30, 28, 24, 0);
    rgb.AlphaCreate();
    for (int32_t y = 0; y < 28; ++y)
        for (int32_t x = 0; x < 30; ++x) {
            rgb.SetPixelColor(x, y, pal.GetPixelColor(x, y), true);
        }
    const float positions[][2] = {{14.3f, 13.7f}, {6.5f, 6.25f},  {22.9f, 20.01f}, {1.2f, 1.8f},
                                  {-0.7f, 12.0f}, {29.6f, 27.3f}, {15.0f, -2.5f},  {3.0f, 4.0f}};
    const RGBQUAD fill = Rgb(10, 200, 30, 40);
    for (int m = Image::IM_NEAREST_NEIGHBOUR; m <= Image::IM_CATROM; ++m)
        for (int om = Image::OM_COLOR; om <= Image::OM_MIRROR; ++om)
            for (const auto& p : positions) {
                const auto method = static_cast<Image::InterpolationMethod>(m);
                const auto overflow = static_cast<Image::OverflowMethod>(om);
                ASSERT_EQ(rgb.GetPixelColorInterpolated(p[0], p[1], method, overflow, &fill),
                          pal.GetPixelColorInterpolated(p[0], p[1], method, overflow, &fill))
                    << "method " << m << " overflow " << om << " at " << p[0] << "," << p[1];
            }
    // The area average reads rows directly too when its footprint is inside.
    for (const auto& p : positions)
        for (const float size : {1.5f, 2.5f, 4.0f})
            ASSERT_EQ(rgb.GetAreaColorInterpolated(p[0], p[1], size, size + 0.75f, Image::IM_BILINEAR,
                                                   Image::OM_REPEAT),
                      pal.GetAreaColorInterpolated(p[0], p[1], size, size + 0.75f, Image::IM_BILINEAR,
                                                   Image::OM_REPEAT))
                << "area " << size << " at " << p[0] << "," << p[1];
}

TEST(ImageInterpolation, SamplesFollowTheKernelSums) {
    Image img = testsupport::RandomImage(20, 20, 24, 4);
    // Bilinear at (5.25, 7.5): weights 0.75/0.25 across, 0.5/0.5 up.
    RGBQUAD expect;
    const auto ch = [&](int x, int y) { return img.GetPixelColor(x, y).rgbGreen; };
    const float g =
        0.75f * 0.5f * ch(5, 7) + 0.25f * 0.5f * ch(6, 7) + 0.75f * 0.5f * ch(5, 8) + 0.25f * 0.5f * ch(6, 8);
    expect = img.GetPixelColorInterpolated(5.25f, 7.5f, Image::IM_BILINEAR);
    EXPECT_NEAR(expect.rgbGreen, g, 1.0);
    // Every 4 x 4 kernel: the weighted sum over floor - 1 .. floor + 2, divided
    // by the weight sum (a no-op for the kernels that sum to one).
    using Kernel = float (*)(float);
    const std::pair<Image::InterpolationMethod, Kernel> kernels[] = {
        {Image::IM_BSPLINE, Image::KernelBSpline},     {Image::IM_BICUBIC, Image::KernelCubic},
        {Image::IM_HERMITE, Image::KernelHermite},     {Image::IM_HAMMING, Image::KernelHamming},
        {Image::IM_SINC, Image::KernelSinc},           {Image::IM_BLACKMAN, Image::KernelBlackman},
        {Image::IM_BESSEL, Image::KernelBessel},       {Image::IM_GAUSSIAN, Image::KernelGaussian},
        {Image::IM_QUADRATIC, Image::KernelQuadratic}, {Image::IM_MITCHELL, Image::KernelMitchell},
        {Image::IM_CATROM, Image::KernelCatrom},       {Image::IM_BOX, Image::KernelBox}};
    const float x = 9.3f, y = 10.6f;
    for (const auto& [method, kernel] : kernels) {
        double sum = 0.0, wsum = 0.0;
        for (int j = 9; j <= 12; ++j)
            for (int i = 8; i <= 11; ++i) {
                const double k = static_cast<double>(kernel(x - static_cast<float>(i))) *
                                 kernel(y - static_cast<float>(j));
                sum += k * img.GetPixelColor(i, j).rgbRed;
                wsum += k;
            }
        const double value = std::clamp(sum / wsum, 0.0, 255.0);
        EXPECT_NEAR(img.GetPixelColorInterpolated(x, y, method).rgbRed, value, 1.0) << method;
    }
}

TEST(ImageInterpolation, FlatAreasKeepTheirValueUnderEveryMethod) {
    Image img(24, 24, 24, 0);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 24; ++x)
            img.SetPixelColor(x, y, Rgb(128, 77, 201));
    for (int m = Image::IM_NEAREST_NEIGHBOUR; m <= Image::IM_CATROM; ++m)
        for (float x = 5.0f; x < 18.0f; x += 0.37f) {
            const RGBQUAD c = img.GetPixelColorInterpolated(
                x, 30.0f - x, static_cast<Image::InterpolationMethod>(m), Image::OM_REPEAT);
            ASSERT_EQ(c, Rgb(128, 77, 201)) << "method " << m << " at " << x;
        }
}

TEST(ImageInterpolation, NearestRoundsAndWindowsOutsideGiveTheOverflowColour) {
    Image img = testsupport::RandomImage(8, 8, 24, 5);
    EXPECT_EQ(img.GetPixelColorInterpolated(2.49f, 3.5f, Image::IM_NEAREST_NEIGHBOUR),
              img.GetPixelColor(2, 4));
    const RGBQUAD fill = Rgb(1, 2, 3, 4);
    EXPECT_EQ(img.GetPixelColorInterpolated(-50.0f, 3.0f, Image::IM_LANCZOS, Image::OM_COLOR, &fill), fill);
    EXPECT_EQ(img.GetPixelColorInterpolated(3.0f, 1e30f, Image::IM_BICUBIC, Image::OM_COLOR, &fill), fill);
    // Alpha is 0 without an alpha plane, interpolated with one.
    EXPECT_EQ(img.GetPixelColorInterpolated(3.5f, 3.5f, Image::IM_BILINEAR).rgbReserved, 0);
    img.AlphaCreate();
    img.AlphaSet(3, 3, 0);
    EXPECT_EQ(img.GetPixelColorInterpolated(3.5f, 3.5f, Image::IM_BILINEAR).rgbReserved, 191); // 3 x 255 / 4
}

TEST(ImageInterpolation, AreaAverageWeighsCoveredParts) {
    Image img(6, 6, 24, 0);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x)
            img.SetPixelColor(x, y, Rgb(x * 40, y * 40, 0));
    // 2 x 2 centred on (1, 1): pixels 0..2 covered by 0.5, 1, 0.5 on each axis.
    const RGBQUAD c = img.GetAreaColorInterpolated(1.0f, 1.0f, 2.0f, 2.0f);
    EXPECT_EQ(c.rgbRed, 40);
    EXPECT_EQ(c.rgbGreen, 40);
    // 3 x 1: averaged across, sampled at the centre row up the picture.
    const RGBQUAD d = img.GetAreaColorInterpolated(2.5f, 3.0f, 3.0f, 1.0f);
    EXPECT_EQ(d.rgbRed, 100); // columns 1..4 covered by 0.5, 1, 1, 0.5
    EXPECT_EQ(d.rgbGreen, 120);
    // Small areas are plain samples.
    EXPECT_EQ(img.GetAreaColorInterpolated(2.0f, 2.0f, 1.0f, 1.0f),
              img.GetPixelColorInterpolated(2.0f, 2.0f));
    // At the border the overflow rule supplies the missing pixels.
    const RGBQUAD red = Rgb(255, 0, 0);
    EXPECT_EQ(img.GetAreaColorInterpolated(-0.5f, 2.0f, 2.0f, 2.0f, Image::IM_BILINEAR, Image::OM_COLOR, &red)
                  .rgbRed,
              128); // half of the area outside
}
