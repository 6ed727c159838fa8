// The 8-bit selection mask (row-major from the bottom row) and its bounding box.
#include "Image.h"

#include "Region.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vimg {

namespace {
size_t PlaneSize(const Image& img) { return static_cast<size_t>(img.GetWidth()) * img.GetHeight(); }
} // namespace

uint8_t* Image::SelectionGetPointer(int32_t x, int32_t y) const {
    if (pSelection && IsInside(x, y)) return pSelection.get() + static_cast<size_t>(y) * GetWidth() + x;
    return nullptr;
}

bool Image::SelectionCreate() {
    if (!pDib) return false;
    SelectionDelete();
    return pSelection.Allocate(PlaneSize(*this));
}

bool Image::SelectionDelete() {
    pSelection.Reset();
    info.selectionBox = RECT{head.biWidth, 0, 0, head.biHeight};
    return true;
}

bool Image::SelectionClear() {
    if (pSelection) std::memset(pSelection.get(), 0, PlaneSize(*this));
    info.selectionBox = RECT{head.biWidth, 0, 0, head.biHeight};
    return true;
}

bool Image::SelectionIsInside(int32_t x, int32_t y) const {
    if (!IsInside(x, y)) return false;
    if (!pSelection) return true;
    return pSelection.get()[static_cast<size_t>(y) * GetWidth() + x] != 0;
}

bool Image::SelectionAddRect(RECT r) {
    if (!pDib) return false;
    if (!pSelection && !SelectionCreate()) return false;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.bottom > r.top) std::swap(r.bottom, r.top);
    const int32_t w = head.biWidth, h = head.biHeight;
    const int32_t left = std::clamp(r.left, 0, w), right = std::clamp(r.right, 0, w);
    const int32_t bottom = std::clamp(r.bottom, 0, h), top = std::clamp(r.top, 0, h);
    RECT& box = info.selectionBox;
    box.left = std::min(box.left, left);
    box.right = std::max(box.right, right);
    box.bottom = std::min(box.bottom, bottom);
    box.top = std::max(box.top, top);
    for (int32_t y = bottom; y < top; ++y)
        std::memset(pSelection.get() + static_cast<size_t>(y) * w + left, 255,
                    static_cast<size_t>(right - left));
    return true;
}

bool Image::SelectionAddEllipse(RECT r) {
    if (!pDib) return false;
    const int32_t rx = std::abs(r.right - r.left) / 2;
    const int32_t ry = std::abs(r.top - r.bottom) / 2;
    if (rx == 0 || ry == 0) return false;
    if (!pSelection && !SelectionCreate()) return false;
    const int32_t cx = (r.left + r.right) / 2;
    const int32_t cy = (r.top + r.bottom) / 2;
    const int32_t w = head.biWidth, h = head.biHeight;
    RECT& box = info.selectionBox;
    box.left = std::min(box.left, std::clamp(cx - rx, 0, w));
    box.right = std::max(box.right, std::clamp(cx + rx, 0, w));
    box.bottom = std::min(box.bottom, std::clamp(cy - ry, 0, h));
    box.top = std::max(box.top, std::clamp(cy + ry, 0, h));

    const int32_t xmin = std::clamp(cx - rx, 0, w), xmax = std::clamp(cx + rx, 0, w);
    // Lower half: a pixel is inside when it lies above the lower arc.
    for (int32_t y = std::clamp(cy - ry, 0, h); y < std::clamp(cy, 0, h); ++y) {
        for (int32_t x = xmin; x < xmax; ++x) {
            const double t = static_cast<double>(x - cx) / rx;
            const int32_t edge = static_cast<int32_t>(cy - ry * std::sqrt(std::max(0.0, 1.0 - t * t)));
            if (edge < y) pSelection.get()[static_cast<size_t>(y) * w + x] = 255;
        }
    }
    // Upper half: inside when below the upper arc.
    for (int32_t y = std::clamp(cy, 0, h); y < std::clamp(cy + ry, 0, h); ++y) {
        for (int32_t x = xmin; x < xmax; ++x) {
            const double t = static_cast<double>(x - cx) / rx;
            const int32_t edge = static_cast<int32_t>(cy + ry * std::sqrt(std::max(0.0, 1.0 - t * t)));
            if (y < edge) pSelection.get()[static_cast<size_t>(y) * w + x] = 255;
        }
    }
    return true;
}

bool Image::SelectionAddPolygon(const POINT* points, int32_t count) {
    if (!pDib || !points || count < 3) return false;
    const int32_t w = head.biWidth, h = head.biHeight;

    // Bounding box of the real points (separators excluded), widened by one and clamped.
    int32_t bx0 = INT32_MAX, by0 = INT32_MAX, bx1 = INT32_MIN, by1 = INT32_MIN;
    for (int32_t i = 0; i < count; ++i) {
        if (points[i].x == -1) continue;
        bx0 = std::min(bx0, points[i].x);
        bx1 = std::max(bx1, points[i].x);
        by0 = std::min(by0, points[i].y);
        by1 = std::max(by1, points[i].y);
    }
    if (bx0 > bx1) return false;
    const int32_t left = std::clamp(bx0 - 1, 0, w - 1), right = std::clamp(bx1 + 1, 0, w - 1);
    const int32_t bottom = std::clamp(by0 - 1, 0, h - 1), top = std::clamp(by1 + 1, 0, h - 1);
    const int32_t bw = right - left + 1, bh = top - bottom + 1;

    // Scratch plane over the box: 1 = outline, 2 = reached from outside.
    std::vector<uint8_t> plane(static_cast<size_t>(bw) * bh, 0);
    const auto mark = [&](int32_t x, int32_t y) {
        if (x >= left && x <= right && y >= bottom && y <= top)
            plane[static_cast<size_t>(y - bottom) * bw + (x - left)] = 1;
    };
    const auto edge = [&](POINT a, POINT b) {
        const int32_t dx = b.x - a.x, dy = b.y - a.y;
        if (dx == 0 && dy == 0) {
            mark(a.x, a.y);
            return;
        }
        // Step along x with y interpolated, then along y with x interpolated, so
        // steep and flat edges both leave a gap-free outline.
        if (dx != 0) {
            const int32_t step = dx > 0 ? 1 : -1;
            for (int32_t x = a.x;; x += step) {
                const double y = a.y + static_cast<double>(dy) * (x - a.x) / dx;
                mark(x, static_cast<int32_t>(std::lround(y)));
                if (x == b.x) break;
            }
        }
        if (dy != 0) {
            const int32_t step = dy > 0 ? 1 : -1;
            for (int32_t y = a.y;; y += step) {
                const double x = a.x + static_cast<double>(dx) * (y - a.y) / dy;
                mark(static_cast<int32_t>(std::lround(x)), y);
                if (y == b.y) break;
            }
        }
    };
    int32_t start = 0;
    while (start < count) {
        int32_t end = start;
        while (end < count && points[end].x != -1) ++end;
        if (end - start >= 1) {
            for (int32_t i = start; i < end; ++i) edge(points[i], points[i + 1 < end ? i + 1 : start]);
        }
        start = end + 1;
    }

    // Flood the outside from the box border (4-connected, explicit queue).
    std::vector<int32_t> queue;
    queue.reserve(static_cast<size_t>(bw) * bh);
    const auto seed = [&](int32_t x, int32_t y) {
        uint8_t& v = plane[static_cast<size_t>(y) * bw + x];
        if (v == 0) {
            v = 2;
            queue.push_back(y * bw + x);
        }
    };
    for (int32_t x = 0; x < bw; ++x) {
        seed(x, 0);
        seed(x, bh - 1);
    }
    for (int32_t y = 0; y < bh; ++y) {
        seed(0, y);
        seed(bw - 1, y);
    }
    for (size_t q = 0; q < queue.size(); ++q) {
        const int32_t x = queue[q] % bw, y = queue[q] / bw;
        if (x > 0) seed(x - 1, y);
        if (x < bw - 1) seed(x + 1, y);
        if (y > 0) seed(x, y - 1);
        if (y < bh - 1) seed(x, y + 1);
    }

    if (!pSelection && !SelectionCreate()) return false;
    for (int32_t y = 0; y < bh; ++y)
        for (int32_t x = 0; x < bw; ++x)
            if (plane[static_cast<size_t>(y) * bw + x] != 2)
                pSelection.get()[static_cast<size_t>(y + bottom) * w + (x + left)] = 255;

    RECT& box = info.selectionBox;
    box.left = std::min(box.left, std::clamp(bx0, 0, w));
    box.right = std::max(box.right, std::clamp(bx1 + 1, 0, w));
    box.bottom = std::min(box.bottom, std::clamp(by0, 0, h));
    box.top = std::max(box.top, std::clamp(by1 + 1, 0, h));
    return true;
}

bool Image::SelectionAddColor(RGBQUAD colour) {
    if (!pDib) return false;
    if (!pSelection && !SelectionCreate()) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    RECT& box = info.selectionBox;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const RGBQUAD c = BlindGetPixelColor(x, y, false);
            if (c.rgbRed == colour.rgbRed && c.rgbGreen == colour.rgbGreen && c.rgbBlue == colour.rgbBlue) {
                pSelection.get()[static_cast<size_t>(y) * w + x] = 255;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::min(box.bottom, y);
                box.top = std::max(box.top, y + 1);
            }
        }
    }
    return true;
}

bool Image::SelectionAddPixel(int32_t x, int32_t y) {
    if (!pDib) return false;
    if (!pSelection && !SelectionCreate()) return false;
    if (!IsInside(x, y)) return false;
    pSelection.get()[static_cast<size_t>(y) * GetWidth() + x] = 255;
    RECT& box = info.selectionBox;
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x + 1);
    box.bottom = std::min(box.bottom, y);
    box.top = std::max(box.top, y + 1);
    return true;
}

bool Image::SelectionInvert() {
    if (!pSelection) return false;
    const size_t n = PlaneSize(*this);
    for (size_t i = 0; i < n; ++i) pSelection.get()[i] = static_cast<uint8_t>(255 - pSelection.get()[i]);
    return true;
}

bool Image::SelectionCopy(const Image& from) {
    if (!from.pSelection || !pDib || from.GetWidth() != GetWidth() || from.GetHeight() != GetHeight())
        return false;
    if (!pSelection && !pSelection.Allocate(PlaneSize(*this))) return false;
    std::memcpy(pSelection.get(), from.pSelection.get(), PlaneSize(*this));
    info.selectionBox = from.info.selectionBox;
    return true;
}

bool Image::SelectionSplit(Image* dest) const {
    if (!pSelection) return false;
    return PlaneToGrayImage(pSelection.get(), dest);
}

bool Image::SelectionToHRGN(Region* region) const {
    if (!pSelection || !region) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = pSelection.get() + static_cast<size_t>(y) * w;
        int32_t x = 0;
        while (x < w) {
            if (row[x] != 255) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < w && row[x] == 255) ++x;
            region->AddRect(RECT{start, y, x, y + 1});
        }
    }
    return true;
}

} // namespace vimg
