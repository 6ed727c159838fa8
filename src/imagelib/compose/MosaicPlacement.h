// Global placement of pictures from pairwise offsets: a weighted least-squares
// fit of every corner to all measured pairs at once, so errors spread over the
// whole graph instead of adding up along a chain. A pair that disagrees with the
// rest (the largest residual above the tolerance) is dropped and the fit redone.
// Pictures not joined to the largest connected group are left unplaced.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace vimg::compose {

class MosaicPlacement {
public:
    struct Pair {
        int a = 0, b = 0;
        cv::Point2d offset;     // b's top-left corner minus a's
        double correlation = 0; // weight of the pair, 0..1
    };
    struct Result {
        std::vector<cv::Point2d> positions; // top-left corners; the placed ones start at 0, 0
        std::vector<bool> placed;
        std::vector<Pair> kept, dropped;
        double worstResidual = 0; // of the kept pairs, in pixels
    };

    explicit MosaicPlacement(double tolerance = 2.0) : m_tolerance(tolerance) {}
    Result Solve(int count, const std::vector<Pair>& pairs) const;

private:
    double m_tolerance;
};

} // namespace vimg::compose
