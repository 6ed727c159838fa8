#include "Point2.h"

#include <cmath>

namespace vimg {

float Point2::Distance(float px, float py) const {
    return std::sqrt((x - px) * (x - px) + (y - py) * (y - py));
}

float Point2::Distance(const Point2& p) const { return Distance(p.x, p.y); }

} // namespace vimg
