#include "MergeLevel.h"

#include "RowRunner.h"

#include <algorithm>

namespace vimg {

namespace {

// Salience (best - mean) / ((count - 1) * mean) below kNoise is what noise alone
// gives between equally sharp frames; from kSalient on the best frame is taken
// alone. The floor keeps flat, noise-free places from dividing by zero.
#include <cstdlib>
float Env(const char* n, float d) { const char* v = std::getenv(n); return v ? std::strtof(v, nullptr) : d; }
const float kNoise = Env("FS_NOISE", 0.04f);
const float kSalient = Env("FS_SALIENT", 0.2f);
const float kFloor = Env("FS_FLOOR", 0.05f);

} // namespace

float MergeLevel::SelectionWeight(float best, float mean, int count) {
    if (count < 2) return 0.0f;
    const float salience = (best - mean) / (static_cast<float>(count - 1) * (mean + kFloor));
    return std::clamp((salience - kNoise) / (kSalient - kNoise), 0.0f, 1.0f);
}

void MergeLevel::Reset(cv::Size size, bool trackDepth) {
    m_chosen = cv::Mat::zeros(size, CV_32FC3);
    m_sum = cv::Mat::zeros(size, CV_32FC3);
    m_best = cv::Mat(size, CV_32F, cv::Scalar(-1));
    m_measureSum = cv::Mat::zeros(size, CV_32F);
    m_winner = trackDepth ? cv::Mat::zeros(size, CV_32F) : cv::Mat();
}

void MergeLevel::Add(const cv::Mat& band, const cv::Mat& measure, float frame) {
    const bool track = !m_winner.empty();
    RowRunner::Run(RowProgress{}, 0, band.rows, true, [&](int32_t y) {
        const float* in = band.ptr<float>(y);
        const float* m = measure.ptr<float>(y);
        float* chosen = m_chosen.ptr<float>(y);
        float* sum = m_sum.ptr<float>(y);
        float* best = m_best.ptr<float>(y);
        float* measureSum = m_measureSum.ptr<float>(y);
        float* winner = track ? m_winner.ptr<float>(y) : nullptr;
        for (int x = 0; x < band.cols; ++x) {
            const int c = 3 * x;
            sum[c] += in[c];
            sum[c + 1] += in[c + 1];
            sum[c + 2] += in[c + 2];
            measureSum[x] += m[x];
            if (m[x] > best[x]) {
                best[x] = m[x];
                chosen[c] = in[c];
                chosen[c + 1] = in[c + 1];
                chosen[c + 2] = in[c + 2];
                if (track) winner[x] = frame;
            }
        }
    });
}

void MergeLevel::AddBlendTo(int count, cv::Mat& picture) const {
    const float inverse = 1.0f / static_cast<float>(std::max(count, 1));
    RowRunner::Run(RowProgress{}, 0, picture.rows, true, [&](int32_t y) {
        const float* chosen = m_chosen.ptr<float>(y);
        const float* sum = m_sum.ptr<float>(y);
        const float* best = m_best.ptr<float>(y);
        const float* measureSum = m_measureSum.ptr<float>(y);
        float* out = picture.ptr<float>(y);
        for (int x = 0; x < picture.cols; ++x) {
            const float w = SelectionWeight(best[x], measureSum[x] * inverse, count);
            for (int c = 3 * x; c < 3 * x + 3; ++c) out[c] += w * chosen[c] + (1.0f - w) * sum[c] * inverse;
        }
    });
}

} // namespace vimg
