#include "PixelLoop.h"

#include "Image.h"

#include <algorithm>

namespace vimg {

PixelBox WorkingBox(const Image& image) {
    const auto w = static_cast<int32_t>(image.GetWidth());
    const auto h = static_cast<int32_t>(image.GetHeight());
    if (!image.SelectionIsValid()) return PixelBox{0, 0, w, h};
    RECT r;
    image.SelectionGetBox(r);
    PixelBox b{std::clamp(r.left, 0, w), std::clamp(r.bottom, 0, h), std::clamp(r.right, 0, w),
               std::clamp(r.top, 0, h)};
    if (b.x1 < b.x0) b.x1 = b.x0;
    if (b.y1 < b.y0) b.y1 = b.y0;
    return b;
}

} // namespace vimg
