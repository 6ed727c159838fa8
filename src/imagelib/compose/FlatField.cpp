#include "FlatField.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

namespace vimg::compose {

namespace {
constexpr int kSmallSide = 64;
}

void FlatField::Add(const cv::Mat& bgr) {
    CV_Assert(bgr.type() == CV_8UC3);
    if (m_small.empty()) m_size = bgr.size();
    if (bgr.size() != m_size) {
        m_mixedSizes = true;
        return;
    }
    const double scale = static_cast<double>(kSmallSide) / std::max(bgr.cols, bgr.rows);
    const cv::Size small(std::max(4, cvRound(bgr.cols * scale)), std::max(4, cvRound(bgr.rows * scale)));
    cv::Mat grey, shrunk;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::resize(grey, shrunk, small, 0, 0, cv::INTER_AREA);
    shrunk.convertTo(shrunk, CV_32F);
    const double mean = cv::mean(shrunk)[0];
    if (mean < 1) return; // a black picture says nothing about the light
    m_small.push_back(shrunk / mean);
}

bool FlatField::Finish(std::string& error) {
    if (m_mixedSizes) {
        error = "flat-field correction needs pictures of one size";
        return false;
    }
    if (static_cast<int>(m_small.size()) < kMinPictures) {
        error = "flat-field correction needs at least " + std::to_string(kMinPictures) + " pictures";
        return false;
    }
    const cv::Size small = m_small[0].size();
    cv::Mat median(small, CV_32F);
    std::vector<float> column(m_small.size());
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x) {
            for (size_t i = 0; i < m_small.size(); ++i)
                column[i] = m_small[i].at<float>(y, x);
            std::nth_element(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(column.size() / 2),
                             column.end());
            median.at<float>(y, x) = column[column.size() / 2];
        }
    cv::GaussianBlur(median, median, cv::Size(), 3.0, 3.0, cv::BORDER_REPLICATE);
    cv::max(median, 0.05, median);
    median /= cv::mean(median)[0];
    cv::resize(median, m_gain, m_size, 0, 0, cv::INTER_LINEAR);
    m_small.clear();
    return true;
}

void FlatField::Apply(cv::Mat& bgr) const {
    CV_Assert(IsReady() && bgr.type() == CV_8UC3 && bgr.size() == m_gain.size());
    for (int y = 0; y < bgr.rows; ++y) {
        uint8_t* p = bgr.ptr<uint8_t>(y);
        const float* g = m_gain.ptr<float>(y);
        for (int x = 0; x < bgr.cols; ++x) {
            const float inverse = 1.0f / g[x];
            for (int c = 0; c < 3; ++c)
                p[3 * x + c] = cv::saturate_cast<uint8_t>(p[3 * x + c] * inverse);
        }
    }
}

} // namespace vimg::compose
