#pragma once

#include "../ImageTypes.h"

#include <cstdint>
#include <vector>

namespace vimg {

class Image;

// Drawing surface of the metafile player: fills, strokes and bitmap copies
// on a 24-bit image, in device pixels with y growing downwards.
class MetafileCanvas {
public:
    struct Point {
        double x = 0, y = 0;
    };

    explicit MetafileCanvas(Image& target) : m_image(target) {}

    // Fills the rings with the even-odd rule or, with `winding`, the non-zero rule.
    void FillPolygon(const std::vector<std::vector<Point>>& rings, RGBQUAD colour, bool winding);
    // Draws connected segments `width` pixels wide (at least one).
    void StrokePolyline(const std::vector<Point>& points, bool closed, RGBQUAD colour, double width);
    // Copies `src` stretched into the device rectangle (nearest pixel).
    void DrawImage(const Image& src, double left, double top, double width, double height);
    // Points of an ellipse inscribed in the rectangle.
    static std::vector<Point> EllipsePoints(double left, double top, double right, double bottom);

    // False once the work limit is used up: a hostile file of many huge
    // shapes then stops drawing instead of running for hours.
    bool HasBudget() const { return m_budget > 0; }
    // Counts work done elsewhere on the image (text) against the limit.
    void Spend(int64_t work) { m_budget -= work; }

private:
    void Plot(int x, int y, RGBQUAD colour);
    Image& m_image;
    int64_t m_budget = int64_t{1} << 26; // pixel writes and edge tests
};

} // namespace vimg
