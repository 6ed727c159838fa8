// Composes placed pictures into one mosaic, blending overlaps by feathering:
// each picture's weight rises linearly from its edges over `feather` pixels, so
// brightness steps and small misfits fade across the overlap instead of showing
// as a seam. The mosaic is built in strips of rows, with only the pictures that
// reach into the current strip in memory, so its own size is the only large
// allocation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <opencv2/core.hpp>

namespace vimg {
class Image;
}

namespace vimg::compose {

class MosaicBlender {
public:
    // Fetches picture `index` as top-down 8-bit BGR; false with `error` set on failure.
    using Loader = std::function<bool(int index, cv::Mat& bgr, std::string& error)>;
    // Told the fraction done; returning false cancels.
    using Progress = std::function<bool(double done)>;
    struct Placed {
        int index = 0;
        cv::Point2d position; // top-left corner in the mosaic
        cv::Size size;
    };

    // feather 0: an eighth of the smaller side of each picture.
    explicit MosaicBlender(int feather = 0, int stripRows = 256)
        : m_feather(feather), m_stripRows(stripRows) {}

    // The mosaic as a 24-bit image; uncovered pixels are black.
    bool Compose(const std::vector<Placed>& pictures, const Loader& load, Image& out, std::string& error,
                 const Progress& progress = {}) const;

    // Weight ramp along one side of n pixels: min(1, distance to the nearer end / feather).
    static std::vector<float> Ramp(int n, int feather);
    int FeatherFor(cv::Size size) const;

private:
    int m_feather;
    int m_stripRows;
};

} // namespace vimg::compose
