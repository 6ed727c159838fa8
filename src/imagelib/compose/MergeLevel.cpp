#include "MergeLevel.h"

#include "RowRunner.h"

#include <algorithm>
#include <cmath>

namespace vimg {

namespace {

// Keeps flat, noise-free places (all measures near zero) from dividing by zero.
constexpr float kFloor = 0.05f;

} // namespace

float MergeLevel::NoiseRise(float noise, int count) {
    return count < 2 ? 0.0f : noise * std::sqrt(2.0f * std::log(static_cast<float>(count)));
}

float MergeLevel::SelectionWeight(float best, float mean, float noiseRise) {
    if (noiseRise <= 0) return 0.0f;
    const float rise = (best - mean) / (mean + kFloor);
    return std::clamp((rise - 1.5f * noiseRise) / (1.5f * noiseRise), 0.0f, 1.0f);
}

void MergeLevel::Start(const cv::Mat& band, const cv::Mat& measure, float noise, bool trackDepth) {
    m_noise = noise;
    band.copyTo(m_chosen);
    band.copyTo(m_sum);
    measure.copyTo(m_best);
    measure.copyTo(m_measureSum);
    if (trackDepth)
        m_winner = cv::Mat::zeros(measure.size(), CV_32F);
    else
        m_winner.release();
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
    const float noiseRise = NoiseRise(m_noise, count);
    RowRunner::Run(RowProgress{}, 0, picture.rows, true, [&](int32_t y) {
        const float* chosen = m_chosen.ptr<float>(y);
        const float* sum = m_sum.ptr<float>(y);
        const float* best = m_best.ptr<float>(y);
        const float* measureSum = m_measureSum.ptr<float>(y);
        float* out = picture.ptr<float>(y);
        for (int x = 0; x < picture.cols; ++x) {
            const float w = SelectionWeight(best[x], measureSum[x] * inverse, noiseRise);
            for (int c = 3 * x; c < 3 * x + 3; ++c)
                out[c] += w * chosen[c] + (1.0f - w) * sum[c] * inverse;
        }
    });
}

} // namespace vimg
