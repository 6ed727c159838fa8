#include "FrameAligner.h"

#include "FrameResampler.h"

#include <algorithm>
#include <cmath>

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>

namespace vimg {

namespace {

// Longer sides of the grey copies: points are tracked on the first (reduced
// by a whole factor), the coarse shift is found on the second.
constexpr int kTrackSide = 800;
constexpr int kCoarseSide = 160;
const cv::Size kWindow(21, 21);
constexpr int kTrackLevels = 3;
constexpr double kSoften = 2.0;
// Motion that moves no corner this far is left alone: the estimate's own
// spread on a still series is about a tenth of a pixel, and resampling would
// blur more than so small a shift spoils.
constexpr double kNegligible = 0.2;

cv::Size Reduced(cv::Size size, int side) {
    const double factor = std::min(1.0, static_cast<double>(side) / std::max(size.width, size.height));
    return {std::max(1, static_cast<int>(std::lround(size.width * factor))),
            std::max(1, static_cast<int>(std::lround(size.height * factor)))};
}

bool Plausible(const cv::Mat& w, cv::Size size) {
    const double a = w.at<double>(0, 0), b = w.at<double>(0, 1), c = w.at<double>(1, 0),
                 d = w.at<double>(1, 1);
    return std::abs(a - 1) < 0.1 && std::abs(d - 1) < 0.1 && std::abs(b) < 0.1 && std::abs(c) < 0.1 &&
           std::abs(w.at<double>(0, 2)) < size.width / 3.0 &&
           std::abs(w.at<double>(1, 2)) < size.height / 3.0;
}

cv::Point2f Map(const cv::Mat& w, cv::Point2f p) {
    return {static_cast<float>(w.at<double>(0, 0) * p.x + w.at<double>(0, 1) * p.y + w.at<double>(0, 2)),
            static_cast<float>(w.at<double>(1, 0) * p.x + w.at<double>(1, 1) * p.y + w.at<double>(1, 2))};
}

// A motion in full-size coordinates expressed for copies scaled by (sx, sy):
// W' = S W S^-1 with S = diag(sx, sy).
cv::Mat Rescale(const cv::Mat& w, double sx, double sy) {
    cv::Mat r = w.clone();
    r.at<double>(0, 1) *= sx / sy;
    r.at<double>(1, 0) *= sy / sx;
    r.at<double>(0, 2) *= sx;
    r.at<double>(1, 2) *= sy;
    return r;
}

// Least squares q = s p + t over the pairs marked in `use`.
cv::Mat FitShiftAndScale(const std::vector<cv::Point2f>& p, const std::vector<cv::Point2f>& q,
                         const std::vector<uchar>& use) {
    cv::Point2d meanP(0, 0), meanQ(0, 0);
    double n = 0;
    for (size_t i = 0; i < p.size(); ++i)
        if (use[i]) {
            meanP += cv::Point2d(p[i]);
            meanQ += cv::Point2d(q[i]);
            ++n;
        }
    meanP /= n;
    meanQ /= n;
    double cross = 0, spread = 0;
    for (size_t i = 0; i < p.size(); ++i)
        if (use[i]) {
            const cv::Point2d dp = cv::Point2d(p[i]) - meanP, dq = cv::Point2d(q[i]) - meanQ;
            cross += dp.dot(dq);
            spread += dp.dot(dp);
        }
    const double s = spread > 0 ? cross / spread : 1.0;
    cv::Mat w = cv::Mat::eye(2, 3, CV_64F);
    w.at<double>(0, 0) = w.at<double>(1, 1) = s;
    w.at<double>(0, 2) = meanQ.x - s * meanP.x;
    w.at<double>(1, 2) = meanQ.y - s * meanP.y;
    return w;
}

} // namespace

void FrameAligner::Reduce(const cv::Mat& bgr, cv::Mat& grey, cv::Mat& coarse) const {
    cv::Mat full;
    cv::cvtColor(bgr, full, cv::COLOR_BGR2GRAY);
    // A whole factor lets OpenCV average k x k blocks on its fast path.
    if (m_factor > 1)
        cv::resize(full(cv::Rect(0, 0, m_reduced.width * m_factor, m_reduced.height * m_factor)), grey,
                   m_reduced, 0, 0, cv::INTER_AREA);
    else
        grey = full;
    // Tracking on a softened copy: the fine texture that focus adds or takes
    // away from a frame would otherwise pull the tracks.
    cv::GaussianBlur(grey, grey, cv::Size(0, 0), kSoften);
    cv::Mat small;
    cv::resize(grey, small, m_coarse, 0, 0, cv::INTER_AREA);
    small.convertTo(coarse, CV_32F);
}

void FrameAligner::SetReference(const cv::Mat& bgr) {
    m_size = bgr.size();
    m_factor = (std::max(m_size.width, m_size.height) + kTrackSide - 1) / kTrackSide;
    m_reduced = cv::Size(m_size.width / m_factor, m_size.height / m_factor);
    m_coarse = Reduced(m_size, kCoarseSide);
    cv::Mat grey;
    Reduce(bgr, grey, m_coarseReference);
    m_window.release();
    if (m_coarse.width >= 2 && m_coarse.height >= 2) cv::createHanningWindow(m_window, m_coarse, CV_32F);
    m_last = cv::Mat::eye(2, 3, CV_64F);

    // Corners spread over the picture, and a coarse grid besides for
    // pictures with few corners.
    m_points.clear();
    const int margin = std::min(m_reduced.width, m_reduced.height) / 20;
    if (m_reduced.width > 4 * margin + kWindow.width && m_reduced.height > 4 * margin + kWindow.height) {
        cv::Mat mask = cv::Mat::zeros(m_reduced, CV_8U);
        mask(cv::Rect(margin, margin, m_reduced.width - 2 * margin, m_reduced.height - 2 * margin)) = 255;
        cv::goodFeaturesToTrack(grey, m_points, 400, 0.005,
                                std::max(m_reduced.width, m_reduced.height) / 40.0, mask, 5);
        for (int gy = 1; gy < 8; ++gy)
            for (int gx = 1; gx < 10; ++gx)
                m_points.emplace_back(static_cast<float>(m_reduced.width * gx / 10.0),
                                      static_cast<float>(m_reduced.height * gy / 8.0));
    }
    m_referencePyramid.clear();
    if (!m_points.empty()) cv::buildOpticalFlowPyramid(grey, m_referencePyramid, kWindow, kTrackLevels);
}

bool FrameAligner::Estimate(const cv::Mat& bgr, cv::Mat& warp) {
    cv::Mat grey, coarse;
    Reduce(bgr, grey, coarse);
    const double sx = 1.0 / m_factor, sy = sx;

    // The shift at the centre by phase correlation; the previous frame's
    // scale and turn around it give where each point should be.
    double response = 0;
    cv::Point2d shift(0, 0);
    if (!m_window.empty()) {
        const cv::Point2d s = cv::phaseCorrelate(m_coarseReference, coarse, m_window, &response);
        shift = {s.x * m_size.width / m_coarse.width, s.y * m_size.height / m_coarse.height};
    }
    const bool shiftKnown = response >= 0.05;
    cv::Mat start = m_last.clone();
    if (shiftKnown) {
        const cv::Point2f centre(m_size.width / 2.0f, m_size.height / 2.0f);
        const cv::Point2f moved = Map(m_last, centre);
        start.at<double>(0, 2) += centre.x + shift.x - moved.x;
        start.at<double>(1, 2) += centre.y + shift.y - moved.y;
    }

    bool ok = false;
    if (!m_points.empty()) {
        const cv::Mat reducedStart = Rescale(start, sx, sy);
        std::vector<cv::Point2f> found(m_points.size());
        for (size_t i = 0; i < m_points.size(); ++i)
            found[i] = Map(reducedStart, m_points[i]);
        std::vector<cv::Mat> pyramid;
        cv::buildOpticalFlowPyramid(grey, pyramid, kWindow, kTrackLevels);
        std::vector<uchar> status;
        std::vector<float> error;
        cv::calcOpticalFlowPyrLK(m_referencePyramid, pyramid, m_points, found, status, error, kWindow,
                                 kTrackLevels,
                                 cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 30, 0.01),
                                 cv::OPTFLOW_USE_INITIAL_FLOW);
        std::vector<cv::Point2f> from, to;
        for (size_t i = 0; i < m_points.size(); ++i)
            if (status[i]) {
                from.push_back(m_points[i]);
                to.push_back(found[i]);
            }
        if (from.size() >= 6) {
            // RANSAC sorts out tracks that went astray; the motion is then
            // fitted to the rest as shift and scale alone, the motion of
            // focusing, which three parameters fit more steadily than four.
            std::vector<uchar> inliers;
            const cv::Mat w = cv::estimateAffinePartial2D(from, to, inliers, cv::RANSAC, 1.0, 2000, 0.995, 0);
            const auto kept = static_cast<size_t>(std::count(inliers.begin(), inliers.end(), 1));
            if (!w.empty() && kept >= std::max<size_t>(6, from.size() / 4)) {
                warp = Rescale(FitShiftAndScale(from, to, inliers), 1 / sx, 1 / sy);
                ok = cv::checkRange(warp) && Plausible(warp, m_size);
            }
        }
    }
    if (ok) {
        m_last = warp.clone();
    } else {
        warp = cv::Mat::eye(2, 3, CV_64F);
        if (shiftKnown) {
            warp.at<double>(0, 2) = shift.x;
            warp.at<double>(1, 2) = shift.y;
        }
        if (!Plausible(warp, m_size)) warp = cv::Mat::eye(2, 3, CV_64F);
    }
    return ok;
}

bool FrameAligner::IsNegligible(const cv::Mat& w, cv::Size size) {
    const float width = static_cast<float>(size.width), height = static_cast<float>(size.height);
    for (const cv::Point2f p :
         {cv::Point2f(0, 0), cv::Point2f(width, 0), cv::Point2f(0, height), cv::Point2f(width, height)}) {
        const cv::Point2f q = Map(w, p);
        if (std::hypot(q.x - p.x, q.y - p.y) >= kNegligible) return false;
    }
    return true;
}

cv::Mat FrameAligner::Apply(const cv::Mat& bgr, const cv::Mat& warp) {
    if (IsNegligible(warp, bgr.size())) return bgr;
    cv::Mat out;
    const bool shiftAndScale = warp.at<double>(0, 1) == 0 && warp.at<double>(1, 0) == 0 &&
                               warp.at<double>(0, 0) == warp.at<double>(1, 1);
    if (shiftAndScale)
        FrameResampler::Apply(bgr, warp.at<double>(0, 0), warp.at<double>(0, 2), warp.at<double>(1, 2), out);
    else
        cv::warpAffine(bgr, out, warp, bgr.size(), cv::INTER_CUBIC | cv::WARP_INVERSE_MAP,
                       cv::BORDER_REPLICATE);
    return out;
}

} // namespace vimg
