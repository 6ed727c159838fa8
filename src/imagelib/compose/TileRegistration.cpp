#include "TileRegistration.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

namespace vimg::compose {

namespace {

// Where b, with its top-left corner at `offset`, covers a (in a's pixels).
cv::Rect OverlapInA(cv::Size a, cv::Size b, cv::Point offset) {
    return cv::Rect(cv::Point(0, 0), a) & cv::Rect(offset, b);
}

// The middle of `r`, at most `side` pixels each way.
cv::Rect Central(const cv::Rect& r, int side) {
    const int w = std::min(r.width, side), h = std::min(r.height, side);
    return {r.x + (r.width - w) / 2, r.y + (r.height - h) / 2, w, h};
}

double CountValid(const cv::Mat& valid, const cv::Rect& r) {
    return valid.empty() ? static_cast<double>(r.area()) : cv::countNonZero(valid(r));
}

// Mean-free copy in which invalid pixels are zero, optionally tapered by a window,
// placed at the top left of a zero canvas and transformed.
cv::Mat Spectrum(const cv::Mat& grey, const cv::Mat& valid, cv::Size canvas, const cv::Mat& window) {
    const double mean = cv::mean(grey, valid.empty() ? cv::noArray() : cv::InputArray(valid))[0];
    cv::Mat padded(canvas, CV_32F, cv::Scalar(0));
    cv::Mat part = padded(cv::Rect(cv::Point(0, 0), grey.size()));
    cv::subtract(grey, cv::Scalar(mean), part, cv::noArray(), CV_32F);
    if (!valid.empty()) part.setTo(0, valid == 0);
    if (!window.empty()) cv::multiply(part, window, part);
    cv::Mat spectrum;
    cv::dft(padded, spectrum, cv::DFT_COMPLEX_OUTPUT);
    return spectrum;
}

// The strongest `count` peaks of a correlation surface, each suppressing its
// neighbourhood (with the surface's wrap-around) before the next is taken.
std::vector<cv::Point> Peaks(cv::Mat surface, int count) {
    std::vector<cv::Point> peaks;
    const int r = 2;
    for (int k = 0; k < count; ++k) {
        cv::Point at;
        cv::minMaxLoc(surface, nullptr, nullptr, nullptr, &at);
        peaks.push_back(at);
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const int y = (at.y + dy + surface.rows) % surface.rows;
                const int x = (at.x + dx + surface.cols) % surface.cols;
                surface.at<float>(y, x) = -1e30f;
            }
    }
    return peaks;
}

// Structure without shading: smooth light (vignetting, which runs opposite ways
// in the two views of an overlap) would pull the fit and make any offset in a
// plain area look right, and the finest scale is mostly sensor noise.
cv::Mat BandPass(const cv::Mat& grey, double fine, double broad) {
    cv::Mat detail, shading;
    cv::GaussianBlur(grey, detail, cv::Size(), fine, fine, cv::BORDER_REPLICATE);
    cv::GaussianBlur(grey, shading, cv::Size(), broad, broad, cv::BORDER_REPLICATE);
    return detail - shading;
}
constexpr double kFine = 1.0, kBroad = 4.0;
constexpr int kBandMargin = 2 * 4; // pixels the broad blur reaches with most of its weight
// Below this coarse correlation no reading is worth refining: the pictures do not overlap.
constexpr double kCoarseFloor = 0.1;

// A surface peak at p means b(x) = a(x + d) with d = -p modulo the canvas: the
// residue closest to zero.
int Centred(int p, int n) {
    int d = (n - p) % n;
    if (d > n / 2) d -= n;
    return d;
}

} // namespace

TileRegistration::TileRegistration(cv::Size largest, Settings settings) : m_settings(settings) {
    const int side = std::max(1, std::max(largest.width, largest.height));
    m_scale = std::min(1.0, static_cast<double>(std::max(16, m_settings.coarseSide)) / side);
    m_canvas = {cv::getOptimalDFTSize(static_cast<int>(std::ceil(largest.width * m_scale))),
                cv::getOptimalDFTSize(static_cast<int>(std::ceil(largest.height * m_scale)))};
}

TileRegistration::Tile TileRegistration::Prepare(cv::Mat grey, cv::Mat valid) const {
    CV_Assert(grey.type() == CV_8U && (valid.empty() || valid.size() == grey.size()));
    if (!valid.empty()) {
        // Empty parts take the mean of the rest, so their border is no edge to match.
        grey = grey.clone();
        grey.setTo(cv::mean(grey, valid), valid == 0);
    }
    Tile t;
    t.grey = grey;
    t.valid = valid;
    const cv::Size coarseSize(std::max(1, static_cast<int>(std::lround(grey.cols * m_scale))),
                              std::max(1, static_cast<int>(std::lround(grey.rows * m_scale))));
    CV_Assert(coarseSize.width <= m_canvas.width && coarseSize.height <= m_canvas.height);
    cv::resize(grey, t.coarse, coarseSize, 0, 0, cv::INTER_AREA);
    t.coarse.convertTo(t.coarse, CV_32F);
    t.coarse = BandPass(t.coarse, 0.7, 3.0);
    if (!valid.empty()) {
        // A coarse pixel counts only when everything under it does.
        cv::resize(valid, t.coarseValid, coarseSize, 0, 0, cv::INTER_AREA);
        cv::threshold(t.coarseValid, t.coarseValid, 254, 255, cv::THRESH_BINARY);
    }
    t.spectrum = Spectrum(t.coarse, t.coarseValid, m_canvas, {});
    return t;
}

cv::Mat TileRegistration::PhaseSurface(const cv::Mat& spectrumA, const cv::Mat& spectrumB) const {
    cv::Mat product;
    cv::mulSpectrums(spectrumB, spectrumA, product, 0, true);
    // Keep the phase only, so every frequency counts alike.
    const int n = product.rows * product.cols;
    auto* c = product.ptr<cv::Vec2f>();
    for (int i = 0; i < n; ++i) {
        const float m = std::sqrt(c[i][0] * c[i][0] + c[i][1] * c[i][1]) + 1e-12f;
        c[i][0] /= m;
        c[i][1] /= m;
    }
    cv::Mat surface;
    cv::idft(product, surface, cv::DFT_REAL_OUTPUT | cv::DFT_SCALE);
    return surface;
}

TileRegistration::Shift TileRegistration::Register(const Tile& a, const Tile& b,
                                                   const Plausible& plausible) const {
    const cv::Mat surface = PhaseSurface(a.spectrum, b.spectrum);
    const double minArea = std::min(CountValid(a.coarseValid, cv::Rect(cv::Point(), a.coarse.size())),
                                    static_cast<double>(b.coarse.size().area()));
    const int minSide = std::max(2, static_cast<int>(std::ceil(m_settings.minOverlapSide * m_scale)));
    // Every reading of every peak that leaves enough overlap, best detail correlation first.
    std::vector<std::pair<double, cv::Point>> candidates;
    for (const cv::Point& p : Peaks(surface, m_settings.peaks)) {
        const int mx = Centred(p.x, m_canvas.width), my = Centred(p.y, m_canvas.height);
        for (int dx : {mx, mx > 0 ? mx - m_canvas.width : mx + m_canvas.width})
            for (int dy : {my, my > 0 ? my - m_canvas.height : my + m_canvas.height}) {
                const cv::Rect ov = OverlapInA(a.coarse.size(), b.coarse.size(), {dx, dy});
                if (ov.width < minSide || ov.height < minSide) continue;
                if (CountValid(a.coarseValid, ov) < m_settings.minOverlap * minArea) continue;
                if (plausible && !plausible(cv::Point2d(dx / m_scale, dy / m_scale))) continue;
                const cv::Mat validPart = a.coarseValid.empty() ? cv::Mat() : a.coarseValid(ov);
                candidates.emplace_back(
                    Correlation(a.coarse(ov), b.coarse(ov - cv::Point(dx, dy)), validPart),
                    cv::Point(dx, dy));
            }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& x, const auto& y) { return x.first > y.first; });
    // The coarse level can rank a wrong reading first in plain areas: the best few
    // are refined and the full-resolution correlation decides.
    Shift best;
    best.outcome = candidates.empty() ? Outcome::TooLittleOverlap : Outcome::WeakCorrelation;
    for (size_t k = 0; k < std::min<size_t>(candidates.size(), m_settings.refined); ++k) {
        if (k > 0 && candidates[k].first < 0.5 * candidates[0].first) break;
        if (candidates[k].first < kCoarseFloor) break;
        const cv::Point c = candidates[k].second;
        Shift s = Refine(a, b, cv::Point2d(c.x / m_scale, c.y / m_scale));
        if (s.outcome == Outcome::Placed && plausible && !plausible(s.offset))
            s.outcome = Outcome::WeakCorrelation;
        const auto rank = [](const Shift& x) {
            return (x.outcome == Outcome::Placed ? 2.0 : 0.0) + x.correlation;
        };
        if (k == 0 || rank(s) > rank(best)) best = s;
        if (best.outcome == Outcome::Placed && best.correlation > 0.9) break;
    }
    return best;
}

TileRegistration::Shift TileRegistration::Refine(const Tile& a, const Tile& b, cv::Point2d offset) const {
    Shift s;
    s.offset = offset;
    const int minSide = std::max(4, m_settings.minOverlapSide);
    cv::Point whole(static_cast<int>(std::lround(offset.x)), static_cast<int>(std::lround(offset.y)));

    // Whole pixels first: a phase correlation of the two views of the overlap
    // removes what the coarse level could not see.
    cv::Rect ov = OverlapInA(a.grey.size(), b.grey.size(), whole);
    if (ov.width < minSide || ov.height < minSide) return s;
    {
        const cv::Rect core = Central(ov, m_settings.refineSide);
        const cv::Size canvas(cv::getOptimalDFTSize(core.width), cv::getOptimalDFTSize(core.height));
        cv::Mat window;
        cv::createHanningWindow(window, core.size(), CV_32F);
        const cv::Mat validA = a.valid.empty() ? cv::Mat() : a.valid(core);
        const cv::Mat surface = PhaseSurface(Spectrum(a.grey(core), validA, canvas, window),
                                             Spectrum(b.grey(core - whole), {}, canvas, window));
        const cv::Point p = Peaks(surface, 1)[0];
        whole += cv::Point(Centred(p.x, canvas.width), Centred(p.y, canvas.height));
        ov = OverlapInA(a.grey.size(), b.grey.size(), whole);
        if (ov.width < minSide || ov.height < minSide) return s;
    }

    // Then sub-pixel: Gauss-Newton on A(x + delta) = B(x - offset) over the band-passed
    // pictures, B's gain and level matched to A's so uneven lighting does not pull it.
    const int margin = kBandMargin + 3;
    const cv::Rect inner(ov.x + margin, ov.y + margin, ov.width - 2 * margin, ov.height - 2 * margin);
    if (inner.width < 4 || inner.height < 4) return s;
    const cv::Rect r = Central(inner, m_settings.refineSide);
    cv::Mat mask;
    if (!a.valid.empty()) {
        cv::erode(a.valid(r), mask, cv::Mat(), cv::Point(-1, -1), kBandMargin);
        if (cv::countNonZero(mask) < 16) return s;
    }
    const auto band = [](const cv::Mat& grey, const cv::Rect& part, cv::Rect& padded) {
        padded = cv::Rect(part.x - kBandMargin, part.y - kBandMargin, part.width + 2 * kBandMargin,
                          part.height + 2 * kBandMargin) &
                 cv::Rect(cv::Point(0, 0), grey.size());
        cv::Mat f;
        grey(padded).convertTo(f, CV_32F);
        return BandPass(f, kFine, kBroad);
    };
    cv::Rect aPadded, bPadded;
    const cv::Mat aBand = band(a.grey, r, aPadded);
    const cv::Mat bBand = band(b.grey, r - whole, bPadded);
    const cv::Mat ar = aBand(r - aPadded.tl());
    cv::Mat gx, gy;
    cv::Sobel(ar, gx, CV_32F, 1, 0, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
    cv::Sobel(ar, gy, CV_32F, 0, 1, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
    cv::Scalar meanA, sdA;
    cv::meanStdDev(ar, meanA, sdA, mask.empty() ? cv::noArray() : cv::InputArray(mask));
    cv::Point2d d(whole);
    cv::Mat warped;
    const auto sample = [&](cv::Point2d at) {
        const cv::Point2f centre(static_cast<float>(r.x - at.x - bPadded.x + (r.width - 1) / 2.0),
                                 static_cast<float>(r.y - at.y - bPadded.y + (r.height - 1) / 2.0));
        cv::getRectSubPix(bBand, r.size(), centre, warped, CV_32F);
    };
    for (int iteration = 0; iteration < 12; ++iteration) {
        sample(d);
        cv::Scalar meanB, sdB;
        cv::meanStdDev(warped, meanB, sdB, mask.empty() ? cv::noArray() : cv::InputArray(mask));
        if (sdB[0] < 1e-6 || sdA[0] < 1e-6) break;
        const float gain = static_cast<float>(sdA[0] / sdB[0]);
        const float level = static_cast<float>(meanA[0] - meanB[0] * gain);
        double sxx = 0, sxy = 0, syy = 0, bx = 0, by = 0;
        for (int y = 0; y < r.height; ++y) {
            const float* pa = ar.ptr<float>(y);
            const float* pb = warped.ptr<float>(y);
            const float* px = gx.ptr<float>(y);
            const float* py = gy.ptr<float>(y);
            const uint8_t* pm = mask.empty() ? nullptr : mask.ptr<uint8_t>(y);
            for (int x = 0; x < r.width; ++x) {
                if (pm && !pm[x]) continue;
                const double e = pb[x] * gain + level - pa[x];
                sxx += px[x] * px[x];
                sxy += px[x] * py[x];
                syy += py[x] * py[x];
                bx += px[x] * e;
                by += py[x] * e;
            }
        }
        const double det = sxx * syy - sxy * sxy;
        if (det <= 1e-9 * (sxx + syy) * (sxx + syy) || det <= 0) break;
        const cv::Point2d step((syy * bx - sxy * by) / det, (sxx * by - sxy * bx) / det);
        d += step;
        if (std::abs(d.x - whole.x) > 2.5 || std::abs(d.y - whole.y) > 2.5) {
            d = cv::Point2d(whole); // the refinement ran away: keep the whole-pixel answer
            break;
        }
        if (std::abs(step.x) < 0.002 && std::abs(step.y) < 0.002) break;
    }
    sample(d);
    s.offset = d;
    s.correlation = Correlation(ar, warped, mask);
    const double minArea = std::min(CountValid(a.valid, cv::Rect(cv::Point(), a.grey.size())),
                                    static_cast<double>(b.grey.size().area()));
    s.overlap = CountValid(a.valid, ov) / minArea;
    if (s.overlap < m_settings.minOverlap)
        s.outcome = Outcome::TooLittleOverlap;
    else if (s.correlation < m_settings.minCorrelation)
        s.outcome = Outcome::WeakCorrelation;
    else
        s.outcome = Outcome::Placed;
    return s;
}

double TileRegistration::Correlation(const cv::Mat& a, const cv::Mat& b, const cv::Mat& mask) {
    CV_Assert(a.size() == b.size() && a.type() == CV_32F && b.type() == CV_32F);
    double n = 0, sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (int y = 0; y < a.rows; ++y) {
        const float* pa = a.ptr<float>(y);
        const float* pb = b.ptr<float>(y);
        const uint8_t* pm = mask.empty() ? nullptr : mask.ptr<uint8_t>(y);
        for (int x = 0; x < a.cols; ++x) {
            if (pm && !pm[x]) continue;
            n += 1;
            sa += pa[x];
            sb += pb[x];
            saa += static_cast<double>(pa[x]) * pa[x];
            sbb += static_cast<double>(pb[x]) * pb[x];
            sab += static_cast<double>(pa[x]) * pb[x];
        }
    }
    if (n < 2) return 0;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    if (va <= 1e-9 * n || vb <= 1e-9 * n) return 0;
    return (sab - sa * sb / n) / std::sqrt(va * vb);
}

} // namespace vimg::compose
