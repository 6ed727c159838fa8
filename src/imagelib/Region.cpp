#include "Region.h"

namespace vimg {

void Region::AddRect(const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    m_rects.push_back(r);
}

bool Region::Contains(int32_t x, int32_t y) const {
    for (const RECT& r : m_rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

} // namespace vimg
