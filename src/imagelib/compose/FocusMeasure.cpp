#include "FocusMeasure.h"

#include "FramePyramid.h"
#include "RowRunner.h"

#include <opencv2/imgproc.hpp>

namespace vimg {

void FocusMeasure::Energy(const cv::Mat& band, cv::Mat& energy) {
    energy.create(band.size(), CV_32F);
    RowRunner::Run(RowProgress{}, 0, band.rows, true, [&](int32_t y) {
        const float* in = band.ptr<float>(y);
        float* out = energy.ptr<float>(y);
        for (int x = 0; x < band.cols; ++x, in += 3)
            out[x] = in[0] * in[0] + in[1] * in[1] + in[2] * in[2];
    });
}

void FocusMeasure::Compute(const FramePyramid& pyramid) {
    const auto count = static_cast<size_t>(pyramid.Levels());
    m_measures.resize(count);
    m_energy.resize(count);
    m_finer.resize(count);
    for (size_t l = 0; l < count; ++l) {
        Energy(pyramid.Band(static_cast<int>(l)), m_energy[l]);
        cv::GaussianBlur(m_energy[l], m_measures[l], cv::Size(5, 5), 1.0, 1.0, cv::BORDER_REFLECT101);
        if (l > 0) {
            cv::pyrDown(m_measures[l - 1], m_finer[l], m_measures[l].size(), cv::BORDER_REFLECT101);
            m_measures[l] += m_finer[l];
        }
    }
}

} // namespace vimg
