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
    // Starts the merge with the first frame's band (CV_32FC3) and measure
    // (CV_32F). `noise` is the relative spread (deviation / mean) of this
    // level's focus measure on frames of pure noise; `trackDepth` keeps which
    // frame won where.
    void Start(const cv::Mat& band, const cv::Mat& measure, float noise, bool trackDepth);
    // Merges frame number `frame`'s band and measure.
    void Add(const cv::Mat& band, const cv::Mat& measure, float frame);
    // Adds the merged band after `count` frames onto `picture` (CV_32FC3, the
    // band's size): the step of collapsing the merged pyramid.
    void AddBlendTo(int count, cv::Mat& picture) const;

    // How far the best of `count` measures lies above their mean, relative to
    // the mean, when the frames differ by noise alone: the relative spread
    // times sqrt(2 ln count), a bound on the largest of `count` normal draws.
    static float NoiseRise(float noise, int count);
    // Weight of the kept coefficients against the mean of all frames, from
    // the best and the mean measure: 0 while the best rises above the mean by
    // up to 1.5 times what noise gives, 1 from 3 times on, linear between.
    static float SelectionWeight(float best, float mean, float noiseRise);

    const cv::Mat& Best() const { return m_best; }
    const cv::Mat& MeasureSum() const { return m_measureSum; }
    // Number of the winning frame per place (CV_32F); empty unless tracked.
    const cv::Mat& Winner() const { return m_winner; }

private:
    float m_noise = 0;
    cv::Mat m_chosen;     // CV_32FC3
    cv::Mat m_best;       // CV_32F
    cv::Mat m_sum;        // CV_32FC3
    cv::Mat m_measureSum; // CV_32F
    cv::Mat m_winner;     // CV_32F
};

} // namespace vimg
