// How sharp a frame is, per place and scale: the energy of its Laplacian
// coefficients (summed over B, G and R) averaged over a small Gaussian window,
// plus the measure of the next finer level carried down. Carrying the fine
// evidence into the coarse levels makes each scale choose the frame the finer
// scales found sharp, so a blurred frame whose spread-out edge has more coarse
// energy beside the edge does not win there (the halo of simple per-level
// selection).
#pragma once

#include <opencv2/core.hpp>

#include <vector>

namespace vimg {

class FramePyramid;

class FocusMeasure {
public:
    // One single-channel float map per band of `pyramid`, each the band's
    // size; the maps of the previous frame are reused.
    void Compute(const FramePyramid& pyramid);
    const cv::Mat& Level(int level) const { return m_measures[static_cast<size_t>(level)]; }

    // Sum of squares over the three channels of a CV_32FC3 band.
    static void Energy(const cv::Mat& band, cv::Mat& energy);

private:
    std::vector<cv::Mat> m_measures;
    std::vector<cv::Mat> m_energy;
    std::vector<cv::Mat> m_finer;
};

} // namespace vimg
