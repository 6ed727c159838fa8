#include "FrameResampler.h"

#include "RowRunner.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vimg {

namespace {

constexpr float kA = -0.75f;

// Taps and weights of one axis: output i reads the four source samples
// around scale * i + shift, each clamped to the picture.
struct Taps {
    std::vector<int> index;    // 4 per output position, times `stride`
    std::vector<float> weight; // 4 per output position
};

Taps AxisTaps(int outputs, int sources, double scale, double shift, int stride) {
    Taps taps;
    taps.index.resize(static_cast<size_t>(outputs) * 4);
    taps.weight.resize(static_cast<size_t>(outputs) * 4);
    for (int i = 0; i < outputs; ++i) {
        const double position = scale * i + shift;
        const double base = std::floor(position);
        FrameResampler::Weights(static_cast<float>(position - base),
                                &taps.weight[static_cast<size_t>(i) * 4]);
        for (int k = 0; k < 4; ++k) {
            const double source = std::clamp(base - 1 + k, 0.0, static_cast<double>(sources - 1));
            taps.index[static_cast<size_t>(i) * 4 + k] = static_cast<int>(source) * stride;
        }
    }
    return taps;
}

} // namespace

void FrameResampler::Weights(float t, float w[4]) {
    const float u = 1.0f - t;
    w[0] = ((kA * (t + 1) - 5 * kA) * (t + 1) + 8 * kA) * (t + 1) - 4 * kA;
    w[1] = ((kA + 2) * t - (kA + 3)) * t * t + 1;
    w[2] = ((kA + 2) * u - (kA + 3)) * u * u + 1;
    w[3] = 1.0f - w[0] - w[1] - w[2];
}

void FrameResampler::Apply(const cv::Mat& bgr, double scale, double tx, double ty, cv::Mat& out) {
    CV_Assert(bgr.type() == CV_8UC3);
    out.create(bgr.size(), CV_8UC3);
    const int width = bgr.cols, height = bgr.rows;
    const Taps columns = AxisTaps(width, width, scale, tx, 3);
    const Taps rows = AxisTaps(height, height, scale, ty, 1);
    const size_t samples = static_cast<size_t>(width) * 3;
    RowRunner::Run(RowProgress{}, 0, height, true, [&](int32_t y) {
        // Vertical pass into a float row of the source's width, then the
        // horizontal pass from it into the output row.
        thread_local std::vector<float> buffer;
        buffer.resize(samples);
        float* __restrict line = buffer.data();
        const int* r = &rows.index[static_cast<size_t>(y) * 4];
        const float* wv = &rows.weight[static_cast<size_t>(y) * 4];
        const float w0 = wv[0], w1 = wv[1], w2 = wv[2], w3 = wv[3];
        const uint8_t* __restrict s0 = bgr.ptr<uint8_t>(r[0]);
        const uint8_t* __restrict s1 = bgr.ptr<uint8_t>(r[1]);
        const uint8_t* __restrict s2 = bgr.ptr<uint8_t>(r[2]);
        const uint8_t* __restrict s3 = bgr.ptr<uint8_t>(r[3]);
        for (size_t i = 0; i < samples; ++i)
            line[i] = w0 * static_cast<float>(s0[i]) + w1 * static_cast<float>(s1[i]) +
                      w2 * static_cast<float>(s2[i]) + w3 * static_cast<float>(s3[i]);
        uint8_t* __restrict o = out.ptr<uint8_t>(y);
        const int* c = columns.index.data();
        const float* wh = columns.weight.data();
        for (int x = 0; x < width; ++x, c += 4, wh += 4, o += 3) {
            for (int ch = 0; ch < 3; ++ch) {
                const float v = wh[0] * line[c[0] + ch] + wh[1] * line[c[1] + ch] + wh[2] * line[c[2] + ch] +
                                wh[3] * line[c[3] + ch];
                o[ch] = static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
            }
        }
    });
}

} // namespace vimg
