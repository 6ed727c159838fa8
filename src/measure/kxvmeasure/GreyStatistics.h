// Grey-level statistics of the pixels an area shape covers, and the grey
// profile along a line, as the measuring tools report them.
//
// Grey value: a grey or palette picture's pixel is (R + G + B) / 3 of its
// colour (for a grey palette that is the grey itself); a colour pixel is
// (R + G + B) / 3 as well, unweighted, as ImageJ measures colour pictures by
// default. The value is not rounded.
//
// Pixel inclusion: pixel (x, y) covers [x, x + 1) x [y, y + 1) in image
// coordinates and belongs to a shape when its centre (x + 0.5, y + 0.5) does:
// - rectangle: left <= cx < right and top <= cy < bottom (half open, so a
//   rectangle on whole coordinates holds exactly width x height pixels);
// - ellipse in its box: (dx / a)^2 + (dy / b)^2 <= 1 with dx, dy the centre's
//   offsets from the box centre and a, b the half axes;
// - polygon: the even-odd rule with half-open edges, as the crossing test
//   counts an edge from (xi, yi) to (xj, yj) when (yi > cy) != (yj > cy) and
//   cx < xi + (cy - yi) (xj - xi) / (yj - yi).
// Pixels outside the picture never count.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "MeasureObject.h"

namespace vimg {
class Image;
}

namespace kxvm {

struct GreyStatistics {
    int64_t count = 0;
    double mean = 0;
    double stdDev = 0; // of the sample (n - 1), 0 for a single pixel
    double min = 0;
    double max = 0;
    double sum = 0; // the raw integrated density

    // Of a rectangle, ellipse or polygon; nothing for other shapes and for a
    // shape that covers no pixel of the picture.
    static std::optional<GreyStatistics> Of(const vimg::Image& image, const MeasureObject& object);
    // The values as quantities (IntDen in square pixels times grey, which the
    // calibration turns into area times mean).
    std::vector<MeasureValue> Values() const;
};

// The grey value at a pixel (x from the left, y from the top).
double GreyAt(const vimg::Image& image, int x, int y);
// Grey values along a line, one sample per pixel of length (both ends
// included), interpolated bilinearly between pixel centres.
std::vector<double> LineProfile(const vimg::Image& image, QPointF from, QPointF to);

} // namespace kxvm
