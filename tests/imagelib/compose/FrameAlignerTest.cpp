// Alignment of focus-series frames: known motions, applied with OpenCV to a
// textured picture that is also blurred as a defocused frame is, must be found
// to a fraction of a pixel everywhere in the frame.
#include "FrameAligner.h"
#include "StackFrames.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

using namespace stackframes;

namespace {

struct Motion {
    double dx, dy, scale, degrees, blur;
};

// Largest distance between where two motions put the frame's corners.
double CornerError(const cv::Mat& a, const cv::Mat& b, cv::Size size) {
    double worst = 0;
    for (const cv::Point2d p : {cv::Point2d(0, 0), cv::Point2d(size.width, 0), cv::Point2d(0, size.height),
                                cv::Point2d(size.width, size.height)}) {
        const cv::Vec3d h(p.x, p.y, 1);
        const cv::Mat pa = a * cv::Mat(h), pb = b * cv::Mat(h);
        worst = std::max(worst, cv::norm(pa - pb));
    }
    return worst;
}

TEST(FrameAligner, FindsShiftAndScaleOfBlurredFrames) {
    const cv::Mat reference = Texture(640, 480, 3);
    const Motion motions[] = {
        {0, 0, 1, 0, 2.0},        // focus changed, nothing moved
        {7.3, -4.6, 1, 0, 0},     // moved only
        {3.5, 2.2, 1.02, 0, 1.5}, // focus breathing
        {-25, 14, 0.99, 0, 2.5},
    };
    vimg::FrameAligner aligner;
    aligner.SetReference(reference);
    for (const Motion& m : motions) {
        // The frame shows reference point p at truth * p.
        cv::Mat truth = cv::getRotationMatrix2D(cv::Point2f(320, 240), m.degrees, m.scale);
        truth.at<double>(0, 2) += m.dx;
        truth.at<double>(1, 2) += m.dy;
        cv::Mat frame;
        cv::warpAffine(reference, frame, truth, reference.size(), cv::INTER_CUBIC, cv::BORDER_REFLECT);
        if (m.blur > 0) frame = Blurred(frame, m.blur);
        cv::Mat found;
        EXPECT_TRUE(aligner.Estimate(frame, found)) << m.dx << ", " << m.dy;
        EXPECT_LT(CornerError(found, truth, reference.size()), 0.25) << m.dx << ", " << m.dy << "\n" << found;
    }
}

TEST(FrameAligner, LeavesAFrameThatDidNotMoveUntouched) {
    const cv::Mat reference = Texture(320, 240, 5);
    vimg::FrameAligner aligner;
    aligner.SetReference(reference);
    cv::Mat found;
    ASSERT_TRUE(aligner.Estimate(reference, found));
    EXPECT_TRUE(vimg::FrameAligner::IsNegligible(found, reference.size())) << found;
    EXPECT_EQ(vimg::FrameAligner::Apply(reference, found).data, reference.data);
}

} // namespace
