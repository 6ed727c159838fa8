// Stitching a set of pictures into one mosaic: every pair is registered (or only
// pairs whose offset fits the grid hint), the pairs are reconciled by a global
// placement, and the placed pictures are blended, optionally after a flat-field
// correction estimated from the set itself. Pictures may come in any order.
//
// Stitch runs on the caller's thread (a worker); Progress() and Cancel() may be
// called from any other thread meanwhile.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "TileRegistration.h"

namespace vimg {
class Image;
}

namespace vimg::compose {

class MosaicStitcher {
public:
    // What the user may know of the layout; zeros mean unknown.
    struct GridHint {
        int columns = 0, rows = 0;
        double overlap = 0; // fraction of a picture shared with its neighbour, 0..0.9
    };
    struct Settings {
        GridHint grid;
        bool flatField = false;
        int feather = 0;                         // blending ramp in pixels; 0 chooses
        double tolerance = 2.0;                  // largest disagreement of a kept pair, pixels
        size_t keepInMemory = size_t{512} << 20; // pictures held between registration and blending
        TileRegistration::Settings registration;
    };
    struct TileResult {
        bool placed = false;
        cv::Point2d position;   // top-left corner in the mosaic's pixels (top row 0)
        double correlation = 0; // best over the kept pairs that hold the picture
    };
    // Fetches picture `index` into `image`; false when it cannot (its last error says why).
    using ImageLoader = std::function<bool(int index, Image& image)>;
    // Told the stage ("reading", "registering", "blending") and the percentage done.
    using ProgressReport = std::function<void(const char* stage, int percent)>;

    MosaicStitcher() : MosaicStitcher(Settings{}) {}
    explicit MosaicStitcher(Settings settings) : m_settings(settings) {}

    // Stitches `count` pictures; true when a mosaic was made, also when some
    // pictures could not be placed (their result says placed = false).
    bool Stitch(int count, const ImageLoader& load, Image& mosaic, std::vector<TileResult>& tiles);
    // The same for pictures already in memory.
    bool Stitch(const std::vector<const Image*>& pictures, Image& mosaic, std::vector<TileResult>& tiles);

    void SetProgressReport(ProgressReport report) { m_report = std::move(report); }
    int Progress() const { return m_progress; }
    void Cancel() { m_cancel = true; }
    const std::string& LastError() const { return m_error; }

    // Largest number of pictures and largest side of one picture accepted.
    static constexpr int kMaxPictures = 10000;
    static constexpr int kMaxSide = 30000;

private:
    bool Fail(std::string text);
    void Report(const char* stage, int percent);
    TileRegistration::Plausible GridPlausible(cv::Size size) const;

    Settings m_settings;
    ProgressReport m_report;
    std::atomic<int> m_progress{0};
    std::atomic<bool> m_cancel{false};
    std::string m_error;
};

} // namespace vimg::compose
