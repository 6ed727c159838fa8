// Uneven illumination (vignetting) estimated from the pictures of one set: each
// picture is shrunk and divided by its own mean, the per-position median over all
// of them keeps the light and drops the specimen, and a blur smooths what is left.
// Dividing by that gain evens the pictures out before they are blended.
#pragma once

#include <string>
#include <vector>

#include <opencv2/core.hpp>

namespace vimg::compose {

class FlatField {
public:
    static constexpr int kMinPictures = 5;

    // Takes a small copy of one 8-bit BGR picture of the set; all must be one size.
    void Add(const cv::Mat& bgr);
    // Builds the gain from the pictures added; false (and `error`) when there are
    // too few of them or their sizes differ.
    bool Finish(std::string& error);
    bool IsReady() const { return !m_gain.empty(); }
    // Gain at full picture size, mean 1.
    const cv::Mat& Gain() const { return m_gain; }
    // Divides an 8-bit BGR picture of the set's size by the gain, in place.
    void Apply(cv::Mat& bgr) const;

private:
    cv::Size m_size;
    bool m_mixedSizes = false;
    std::vector<cv::Mat> m_small;
    cv::Mat m_gain;
};

} // namespace vimg::compose
