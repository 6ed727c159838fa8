// Translation between two overlapping pictures: phase correlation on a coarse
// copy finds candidate offsets (with the wrap-around of the transform resolved by
// testing each reading), the overlap's normalised cross-correlation picks one, and
// a phase correlation plus a gradient (Lucas-Kanade) refinement at full resolution
// make it sub-pixel. The correlation over the overlap tells how far to trust it.
#pragma once

#include <functional>

#include <opencv2/core.hpp>

namespace vimg::compose {

class TileRegistration {
public:
    struct Settings {
        int coarseSide = 256;        // longest side of the largest picture at the coarse level
        int peaks = 8;               // correlation peaks tried at the coarse level
        size_t refined = 3;          // best coarse readings refined at full resolution
        double minOverlap = 0.02;    // usable overlap area / area of the smaller picture
        int minOverlapSide = 12;     // full-resolution pixels across the overlap, both ways
        double minCorrelation = 0.5; // normalised cross-correlation over the overlap
        int refineSide = 640;        // longest side of the part of the overlap refined at full size
    };
    // A picture prepared once for any number of registrations.
    struct Tile {
        cv::Mat grey;        // CV_8U, top row first
        cv::Mat valid;       // CV_8U, non-zero where the picture has content; empty: everywhere
        cv::Mat coarse;      // CV_32F detail (grey less its blur) at the coarse scale
        cv::Mat coarseValid; // valid at the coarse scale (empty when `valid` is)
        cv::Mat spectrum;    // transform of the mean-free coarse grey on the shared canvas
    };
    enum class Outcome { Placed, TooLittleOverlap, WeakCorrelation };
    struct Shift {
        Outcome outcome = Outcome::TooLittleOverlap;
        cv::Point2d offset;     // top-left corner of b in a's pixels
        double correlation = 0; // of the detail over the overlap, -1..1
        double overlap = 0;     // usable overlap / area of the smaller picture
    };
    // Says whether an offset of b against a can be right (from a grid hint); null accepts any.
    using Plausible = std::function<bool(const cv::Point2d& offset)>;

    // `largest` bounds every picture that will be prepared: it fixes the coarse scale.
    explicit TileRegistration(cv::Size largest) : TileRegistration(largest, Settings{}) {}
    TileRegistration(cv::Size largest, Settings settings);

    const Settings& GetSettings() const { return m_settings; }
    double CoarseScale() const { return m_scale; }
    // `grey` must be CV_8U and no larger than `largest`; `valid` optional CV_8U of the same size.
    Tile Prepare(cv::Mat grey, cv::Mat valid = {}) const;
    // Where b lies against a.
    Shift Register(const Tile& a, const Tile& b, const Plausible& plausible = {}) const;
    // Refines an offset already known to within a few pixels (a prediction, or the coarse step's).
    Shift Refine(const Tile& a, const Tile& b, cv::Point2d offset) const;

    // Normalised cross-correlation of two equal-size CV_32F pictures over the
    // non-zero pixels of `mask` (all when empty); 0 when either is flat.
    static double Correlation(const cv::Mat& a, const cv::Mat& b, const cv::Mat& mask);

private:
    cv::Mat PhaseSurface(const cv::Mat& spectrumA, const cv::Mat& spectrumB) const;

    Settings m_settings;
    double m_scale = 1;
    cv::Size m_canvas;
};

} // namespace vimg::compose
