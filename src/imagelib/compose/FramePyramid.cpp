#include "FramePyramid.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

namespace vimg {

int FramePyramid::LevelsFor(cv::Size size) {
    int levels = 1;
    for (int side = std::min(size.width, size.height); side >= 32 && levels < 8; side /= 2)
        ++levels;
    return levels;
}

void FramePyramid::Build(const cv::Mat& bgr, int levels) {
    const auto count = static_cast<size_t>(levels);
    m_gauss.resize(count + 1);
    m_bands.resize(count);
    bgr.convertTo(m_gauss[0], CV_32FC3);
    for (size_t l = 0; l < count; ++l) {
        const cv::Mat& current = m_gauss[l];
        cv::pyrDown(current, m_gauss[l + 1], cv::Size((current.cols + 1) / 2, (current.rows + 1) / 2),
                    cv::BORDER_REFLECT101);
        cv::pyrUp(m_gauss[l + 1], m_bands[l], current.size(), cv::BORDER_REFLECT101);
        cv::subtract(current, m_bands[l], m_bands[l]);
    }
}

} // namespace vimg
