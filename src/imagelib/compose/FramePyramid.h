// The Laplacian pyramid of one frame in floating point BGR: band-pass levels
// from fine to coarse and the low-pass remainder last. Expanding the
// remainder level by level (pyrUp) and adding each band gives the frame back
// exactly up to float rounding.
#pragma once

#include <opencv2/core.hpp>

#include <vector>

namespace vimg {

class FramePyramid {
public:
    // Band-pass levels for a picture of this size: down to about 8 pixels on
    // the shorter side, at least one, at most eight.
    static int LevelsFor(cv::Size size);

    // `bgr` is 8-bit BGR. The buffers of the previous frame are reused: a
    // live stack builds one pyramid per frame, and fresh allocations of this
    // size cost more in page faults than the filtering itself.
    void Build(const cv::Mat& bgr, int levels);
    int Levels() const { return static_cast<int>(m_bands.size()); }
    const cv::Mat& Band(int level) const { return m_bands[static_cast<size_t>(level)]; }
    const cv::Mat& LowPass() const { return m_gauss.back(); }

private:
    std::vector<cv::Mat> m_gauss; // the frame in float, then each level halved
    std::vector<cv::Mat> m_bands; // each level less the next one expanded
};

} // namespace vimg
