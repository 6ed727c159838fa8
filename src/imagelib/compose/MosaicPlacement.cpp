#include "MosaicPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vimg::compose {

namespace {

// Component label per picture over the given pairs.
std::vector<int> Components(int count, const std::vector<MosaicPlacement::Pair>& pairs) {
    std::vector<int> parent(static_cast<size_t>(count));
    std::iota(parent.begin(), parent.end(), 0);
    const auto find = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (const auto& p : pairs)
        parent[find(p.a)] = find(p.b);
    std::vector<int> label(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        label[i] = find(i);
    return label;
}

} // namespace

MosaicPlacement::Result MosaicPlacement::Solve(int count, const std::vector<Pair>& pairs) const {
    Result result;
    result.positions.assign(static_cast<size_t>(std::max(0, count)), cv::Point2d(0, 0));
    result.placed.assign(static_cast<size_t>(std::max(0, count)), false);
    if (count <= 0) return result;
    for (const Pair& p : pairs) {
        if (p.a < 0 || p.b < 0 || p.a >= count || p.b >= count || p.a == p.b)
            result.dropped.push_back(p);
        else
            result.kept.push_back(p);
    }
    for (;;) {
        // The largest group (the lowest index first among equals) is placed.
        const std::vector<int> label = Components(count, result.kept);
        std::vector<int> size(static_cast<size_t>(count), 0);
        for (int l : label)
            ++size[l];
        int main = label[0];
        for (int i = 0; i < count; ++i)
            if (size[label[i]] > size[main]) main = label[i];
        std::vector<int> index(static_cast<size_t>(count), -1);
        int unknowns = -1; // the group's first picture is held at the origin
        for (int i = 0; i < count; ++i)
            if (label[i] == main) index[i] = unknowns++;

        // Normal equations of sum w * |p_b - p_a - offset|^2.
        cv::Mat lhs = cv::Mat::zeros(std::max(unknowns, 1), std::max(unknowns, 1), CV_64F);
        cv::Mat rhs = cv::Mat::zeros(std::max(unknowns, 1), 2, CV_64F);
        for (const Pair& p : result.kept) {
            if (label[p.a] != main) continue;
            const double w = std::max(p.correlation, 0.05);
            const int ia = index[p.a], ib = index[p.b];
            if (ia >= 0) lhs.at<double>(ia, ia) += w;
            if (ib >= 0) lhs.at<double>(ib, ib) += w;
            if (ia >= 0 && ib >= 0) {
                lhs.at<double>(ia, ib) -= w;
                lhs.at<double>(ib, ia) -= w;
            }
            for (int c = 0; c < 2; ++c) {
                const double o = c == 0 ? p.offset.x : p.offset.y;
                if (ib >= 0) rhs.at<double>(ib, c) += w * o;
                if (ia >= 0) rhs.at<double>(ia, c) -= w * o;
            }
        }
        cv::Mat solution = cv::Mat::zeros(std::max(unknowns, 1), 2, CV_64F);
        if (unknowns > 0) cv::solve(lhs, rhs, solution, cv::DECOMP_CHOLESKY);
        for (int i = 0; i < count; ++i) {
            result.placed[i] = label[i] == main;
            result.positions[i] = index[i] >= 0 ? cv::Point2d(solution.at<double>(index[i], 0),
                                                              solution.at<double>(index[i], 1))
                                                : cv::Point2d(0, 0);
        }

        double worst = 0;
        size_t worstAt = 0;
        for (size_t k = 0; k < result.kept.size(); ++k) {
            const Pair& p = result.kept[k];
            if (label[p.a] != main) continue;
            const double r = cv::norm(result.positions[p.b] - result.positions[p.a] - p.offset);
            if (r > worst) {
                worst = r;
                worstAt = k;
            }
        }
        result.worstResidual = worst;
        if (worst <= m_tolerance) break;
        result.dropped.push_back(result.kept[worstAt]);
        result.kept.erase(result.kept.begin() + static_cast<std::ptrdiff_t>(worstAt));
    }

    cv::Point2d low(std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    for (int i = 0; i < count; ++i)
        if (result.placed[i])
            low = {std::min(low.x, result.positions[i].x), std::min(low.y, result.positions[i].y)};
    for (int i = 0; i < count; ++i)
        result.positions[i] = result.placed[i] ? result.positions[i] - low : cv::Point2d(0, 0);
    return result;
}

} // namespace vimg::compose
