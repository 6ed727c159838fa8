// One band of the running merge. Each frame's band is compared place by place
// with the best seen so far: where its focus measure is higher its
// coefficients (all three channels together, so colours never mix from two
// frames) replace the kept ones. Coefficients and measures are also summed, so
// the merged band can fall back to the mean of all frames where no frame stands
// out: there the differences are noise, and the mean has less of it than any
// one frame.
#pragma once

#include <opencv2/core.hpp>

namespace vimg {

class MergeLevel {
public:
    // Empty state for bands of `size`; `trackDepth` keeps which frame won where.
    void Reset(cv::Size size, bool trackDepth);
    // Merges frame number `frame`'s band (CV_32FC3) and measure (CV_32F).
    void Add(const cv::Mat& band, const cv::Mat& measure, float frame);
    // Adds the merged band after `count` frames onto `picture` (CV_32FC3, the
    // band's size): the step of collapsing the merged pyramid.
    void AddBlendTo(int count, cv::Mat& picture) const;

    // Weight of the kept coefficients against the mean, from the best measure
    // and the mean measure of `count` frames: 1 where the best stands out as
    // far as it can (one frame sharp, the others flat), 0 where it lies within
    // the spread that noise alone gives.
    static float SelectionWeight(float best, float mean, int count);

    const cv::Mat& Best() const { return m_best; }
    const cv::Mat& MeasureSum() const { return m_measureSum; }
    // Number of the winning frame per place (CV_32F); empty unless tracked.
    const cv::Mat& Winner() const { return m_winner; }

private:
    cv::Mat m_chosen;     // CV_32FC3
    cv::Mat m_best;       // CV_32F, -1 before the first frame
    cv::Mat m_sum;        // CV_32FC3
    cv::Mat m_measureSum; // CV_32F
    cv::Mat m_winner;     // CV_32F
};

} // namespace vimg
