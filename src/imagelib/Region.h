#pragma once

#include "ImageTypes.h"

#include <vector>

namespace vimg {

// A set of pixels as a union of rectangles (the library's stand-in for a
// window-system region). Rectangles are half-open: [left, right) x [top, bottom).
class Region {
public:
    void AddRect(const RECT& r);
    bool Contains(int32_t x, int32_t y) const;
    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    void Clear() { m_rects.clear(); }

private:
    std::vector<RECT> m_rects;
};

} // namespace vimg
