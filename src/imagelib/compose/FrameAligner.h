// Brings the frames of a focus series onto the first one. Corners of the
// reference are followed into each frame with OpenCV's pyramidal Lucas-Kanade
// tracker, started from a shift found by phase correlation (which reaches
// far) and the motion of the frame before; RANSAC drops the tracks lost in a
// blurred frame, and a shift with a scale (the focus breathing of a
// microscope objective) is fitted to the rest.
#pragma once

#include <opencv2/core.hpp>

#include <vector>

namespace vimg {

class FrameAligner {
public:
    // The picture later frames are aligned to (8-bit BGR); forgets earlier motion.
    void SetReference(const cv::Mat& bgr);
    // The 2 x 3 motion (CV_64F) that maps reference coordinates onto the
    // frame's. Returns false when too few points could be followed; `warp`
    // then holds the phase-correlation shift alone (or the identity when that
    // is unreliable too).
    bool Estimate(const cv::Mat& bgr, cv::Mat& warp);
    // The frame resampled bicubically onto the reference (edges repeated), or
    // the frame itself when the motion moves no point by a fifth of a pixel.
    static cv::Mat Apply(const cv::Mat& bgr, const cv::Mat& warp);
    static bool IsNegligible(const cv::Mat& warp, cv::Size size);

private:
    void Reduce(const cv::Mat& bgr, cv::Mat& grey, cv::Mat& coarse) const;

    cv::Size m_size;
    int m_factor = 1;             // full size / tracking copy
    cv::Size m_reduced, m_coarse; // sizes of the tracking and the phase-correlation copies
    std::vector<cv::Mat> m_referencePyramid;
    std::vector<cv::Point2f> m_points; // corners of the reference, tracking copy coordinates
    cv::Mat m_coarseReference;         // CV_32F
    cv::Mat m_window;                  // Hanning window for the phase correlation
    cv::Mat m_last;                    // motion of the previous frame, full-size coordinates
};

} // namespace vimg
