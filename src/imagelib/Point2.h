#pragma once

namespace vimg {

// A point with float coordinates (x grows right, y grows up).
class Point2 {
public:
    Point2() = default;
    Point2(float px, float py) : x(px), y(py) {}
    Point2(const Point2&) = default;
    Point2& operator=(const Point2&) = default;

    float Distance(float px, float py) const;
    float Distance(const Point2& p) const;

    float x = 0.0f;
    float y = 0.0f;
};

} // namespace vimg
