// The separable shift-and-scale resampling against the bicubic rule written
// per pixel, and against OpenCV's general affine warp on a smooth picture.
#include "FrameResampler.h"
#include "StackFrames.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace stackframes;

namespace {

// Keys' cubic convolution kernel, a = -0.75.
double Keys(double d) {
    const double a = -0.75;
    d = std::abs(d);
    if (d <= 1) return ((a + 2) * d - (a + 3)) * d * d + 1;
    if (d < 2) return ((a * d - 5 * a) * d + 8 * a) * d - 4 * a;
    return 0;
}

cv::Mat PerPixel(const cv::Mat& in, double s, double tx, double ty) {
    cv::Mat out(in.size(), CV_8UC3);
    for (int y = 0; y < in.rows; ++y)
        for (int x = 0; x < in.cols; ++x) {
            const double sx = s * x + tx, sy = s * y + ty;
            const int bx = static_cast<int>(std::floor(sx)), by = static_cast<int>(std::floor(sy));
            for (int ch = 0; ch < 3; ++ch) {
                double v = 0;
                for (int j = by - 1; j <= by + 2; ++j)
                    for (int i = bx - 1; i <= bx + 2; ++i)
                        v += Keys(sx - i) * Keys(sy - j) *
                             in.at<cv::Vec3b>(std::clamp(j, 0, in.rows - 1),
                                              std::clamp(i, 0, in.cols - 1))[ch];
                out.at<cv::Vec3b>(y, x)[ch] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5);
            }
        }
    return out;
}

TEST(FrameResampler, FollowsThePerPixelBicubicRule) {
    const cv::Mat picture = Texture(97, 61, 8);
    const double motions[][3] = {{1, 0, 0}, {1, 0.37, -0.61}, {1.013, -2.4, 3.7}, {0.985, 5.2, -1.1}};
    for (const auto& m : motions) {
        cv::Mat ours;
        vimg::FrameResampler::Apply(picture, m[0], m[1], m[2], ours);
        EXPECT_LE(cv::norm(ours, PerPixel(picture, m[0], m[1], m[2]), cv::NORM_INF), 1.0)
            << m[0] << " " << m[1];
    }
    cv::Mat same;
    vimg::FrameResampler::Apply(picture, 1, 0, 0, same);
    EXPECT_EQ(cv::norm(same, picture, cv::NORM_INF), 0.0);
}

TEST(FrameResampler, AgreesWithOpenCVsAffineWarp) {
    const cv::Mat picture = Blurred(Texture(320, 240, 6), 1.5);
    const cv::Mat warp = (cv::Mat_<double>(2, 3) << 1.02, 0, -3.3, 0, 1.02, 2.45);
    cv::Mat ours, theirs;
    vimg::FrameResampler::Apply(picture, 1.02, -3.3, 2.45, ours);
    cv::warpAffine(picture, theirs, warp, picture.size(), cv::INTER_CUBIC | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    EXPECT_LE(cv::norm(ours, theirs, cv::NORM_INF), 2.0);
}

} // namespace
