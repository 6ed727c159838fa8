#include "TileRegistration.h"

#include <gtest/gtest.h>

#include "ImageMat.h"
#include "SlidePictures.h"

using vimg::compose::ImageMat;
using vimg::compose::TileRegistration;

namespace {

TileRegistration::Shift RegisterViews(const cv::Mat& specimen, cv::Point2d a, cv::Point2d b, cv::Size size) {
    const TileRegistration registration(size);
    return registration.Register(
        registration.Prepare(ImageMat::ToGrey(stitchtest::View(specimen, a.x, a.y, size))),
        registration.Prepare(ImageMat::ToGrey(stitchtest::View(specimen, b.x, b.y, size, 0.25, 2.0, 8))));
}

} // namespace

TEST(TileRegistration, FindsSubPixelShiftOfOverlappingViewsWithVignettingAndNoise) {
    const cv::Mat specimen = stitchtest::Specimen({1400, 1100}, 3);
    const cv::Size size(480, 360);
    struct Case {
        cv::Point2d a, b;
    };
    // Side by side (15 % overlap), one above the other, diagonal with much overlap, and a
    // neighbour to the left (negative offset).
    for (const Case& c : {Case{{100.0, 200.0}, {508.37, 211.62}}, Case{{300.25, 100.5}, {291.8, 390.15}},
                          Case{{500.0, 500.0}, {620.55, 571.3}}, Case{{700.0, 300.0}, {318.4, 296.75}}}) {
        const TileRegistration::Shift s = RegisterViews(specimen, c.a, c.b, size);
        SCOPED_TRACE(::testing::Message() << "b - a = " << c.b - c.a);
        ASSERT_EQ(s.outcome, TileRegistration::Outcome::Placed);
        EXPECT_NEAR(s.offset.x, c.b.x - c.a.x, 0.15);
        EXPECT_NEAR(s.offset.y, c.b.y - c.a.y, 0.15);
        EXPECT_GT(s.correlation, 0.8);
    }
}

TEST(TileRegistration, ViewsOfDifferentPlacesAreNotPlaced) {
    const cv::Mat specimen = stitchtest::Specimen({1400, 1100}, 4);
    const TileRegistration::Shift s = RegisterViews(specimen, {20, 20}, {850, 650}, {480, 360});
    EXPECT_NE(s.outcome, TileRegistration::Outcome::Placed);
    EXPECT_LT(s.correlation, 0.5);
}

TEST(TileRegistration, CorrelationMatchesTheTextbookFormulaAndHonoursTheMask) {
    cv::Mat a(7, 9, CV_32F), b(7, 9, CV_32F), mask = cv::Mat::zeros(7, 9, CV_8U);
    cv::RNG(5).fill(a, cv::RNG::UNIFORM, 0, 255);
    cv::RNG(6).fill(b, cv::RNG::UNIFORM, 0, 255);
    mask(cv::Rect(2, 1, 5, 4)).setTo(1);
    // Reference: OpenCV's normalised correlation coefficient of the masked block alone.
    cv::Mat expected;
    cv::matchTemplate(a(cv::Rect(2, 1, 5, 4)), b(cv::Rect(2, 1, 5, 4)), expected, cv::TM_CCOEFF_NORMED);
    EXPECT_NEAR(TileRegistration::Correlation(a, b, mask), expected.at<float>(0, 0), 1e-5);
    EXPECT_NEAR(TileRegistration::Correlation(a, a * 3 + 7, {}), 1.0, 1e-9);
    EXPECT_EQ(TileRegistration::Correlation(a, cv::Mat(7, 9, CV_32F, cv::Scalar(4)), {}), 0.0);
}
