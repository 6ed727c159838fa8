// Resamples a frame under the motion of focusing, a shift and a scale:
// out(x, y) = in(s x + tx, s y + ty), bicubic (Keys' kernel with a = -0.75, as
// OpenCV's), edges repeated. Such a motion separates into a vertical and a
// horizontal pass with the same taps on every row or column, several times
// faster than a general affine warp.
#pragma once

#include <opencv2/core.hpp>

namespace vimg {

class FrameResampler {
public:
    // `bgr` is 8-bit BGR; `out` gets its size.
    static void Apply(const cv::Mat& bgr, double scale, double tx, double ty, cv::Mat& out);
    // The four weights for taps at -1, 0, 1, 2 around a position `t` (0..1) past a sample.
    static void Weights(float t, float w[4]);
};

} // namespace vimg
