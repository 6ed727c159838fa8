#include "Rect2.h"

#include <algorithm>

namespace vimg {

Point2 Rect2::Center() const {
    return Point2((topRight.x + botLeft.x) / 2.0f, (topRight.y + botLeft.y) / 2.0f);
}

Rect2 Rect2::CrossSection(const Rect2& r) const {
    Rect2 cs(std::max(botLeft.x, r.botLeft.x), std::max(botLeft.y, r.botLeft.y),
             std::min(topRight.x, r.topRight.x), std::min(topRight.y, r.topRight.y));
    if (cs.botLeft.x > cs.topRight.x || cs.botLeft.y > cs.topRight.y) return Rect2();
    return cs;
}

} // namespace vimg
