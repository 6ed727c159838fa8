#pragma once

#include "Point2.h"

namespace vimg {

// An axis-aligned rectangle with float corners: botLeft and topRight (y grows up).
class Rect2 {
public:
    Rect2() = default;
    Rect2(float left, float bottom, float right, float top) : botLeft(left, bottom), topRight(right, top) {}
    Rect2(const Rect2&) = default;
    Rect2& operator=(const Rect2&) = default;

    float Width() const { return topRight.x - botLeft.x; }
    float Height() const { return topRight.y - botLeft.y; }
    float Surface() const { return Width() * Height(); }
    Point2 Center() const;
    // Intersection; the all-zero rectangle when the two do not overlap.
    Rect2 CrossSection(const Rect2& r) const;

    Point2 botLeft;
    Point2 topRight;
};

} // namespace vimg
