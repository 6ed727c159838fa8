#include "MetafileCanvas.h"

#include "../Image.h"

#include <algorithm>
#include <cmath>

namespace vimg {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Device coordinates far outside any picture are held to a range an int takes safely.
int ToPixel(double v) { return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6)); }
} // namespace

void MetafileCanvas::Plot(int x, int y, RGBQUAD colour) {
    --m_budget;
    const int w = static_cast<int>(m_image.GetWidth()), h = static_cast<int>(m_image.GetHeight());
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    uint8_t* p = m_image.GetBits(static_cast<uint32_t>(h - 1 - y)) + 3 * x;
    p[0] = colour.rgbBlue;
    p[1] = colour.rgbGreen;
    p[2] = colour.rgbRed;
}

void MetafileCanvas::FillPolygon(const std::vector<std::vector<Point>>& rings, RGBQUAD colour, bool winding) {
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    double top = 1e300, bottom = -1e300;
    for (const auto& ring : rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const Point& a = ring[i];
            const Point& b = ring[(i + 1) % ring.size()];
            top = std::min(top, a.y);
            bottom = std::max(bottom, a.y);
            if (a.y == b.y) continue;
            edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, 1} : Edge{b.x, b.y, a.x, a.y, -1});
        }
    }
    if (edges.empty()) return;
    const int h = static_cast<int>(m_image.GetHeight()), w = static_cast<int>(m_image.GetWidth());
    const int yStart = std::max(0, ToPixel(std::floor(top))),
              yEnd = std::min(h - 1, ToPixel(std::ceil(bottom)));
    std::vector<std::pair<double, int>> crossings;
    for (int y = yStart; y <= yEnd && m_budget > 0; ++y) {
        m_budget -= static_cast<int64_t>(edges.size());
        const double cy = y + 0.5; // sample at pixel centres
        crossings.clear();
        for (const Edge& e : edges)
            if (cy >= e.y0 && cy < e.y1)
                crossings.emplace_back(e.x0 + (cy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        std::sort(crossings.begin(), crossings.end());
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].second : 1;
            const bool inside = winding ? count != 0 : (count & 1);
            if (!inside) continue;
            const int x0 = std::max(0, ToPixel(std::ceil(crossings[i].first - 0.5)));
            const int x1 = std::min(w - 1, ToPixel(std::ceil(crossings[i + 1].first - 0.5)) - 1);
            for (int x = x0; x <= x1; ++x) Plot(x, y, colour);
        }
    }
}

void MetafileCanvas::StrokePolyline(const std::vector<Point>& points, bool closed, RGBQUAD colour,
                                    double width) {
    if (points.empty()) return;
    const size_t segments = closed ? points.size() : points.size() - 1;
    if (width <= 1.5) {
        // Thin pens: every pixel a one-pixel line passes through, both ends included.
        const auto line = [&](Point a, Point b) {
            int x0 = ToPixel(std::floor(a.x)), y0 = ToPixel(std::floor(a.y));
            const int x1 = ToPixel(std::floor(b.x)), y1 = ToPixel(std::floor(b.y));
            const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
            const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
            int err = dx + dy;
            for (int guard = 0; guard <= dx - dy && m_budget > 0; ++guard) {
                Plot(x0, y0, colour);
                if (x0 == x1 && y0 == y1) break;
                const int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x0 += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    y0 += sy;
                }
            }
        };
        if (points.size() == 1) line(points[0], points[0]);
        for (size_t i = 0; i < segments; ++i) line(points[i], points[(i + 1) % points.size()]);
        return;
    }
    // Wide pens: a rectangle along every segment and a disc at every joint.
    const double r = width / 2;
    for (size_t i = 0; i < segments; ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len > 0) {
            const double nx = -(b.y - a.y) / len * r, ny = (b.x - a.x) / len * r;
            FillPolygon(
                {{{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}},
                colour, true);
        }
    }
    for (const Point& p : points)
        FillPolygon({EllipsePoints(p.x - r, p.y - r, p.x + r, p.y + r)}, colour, true);
}

std::vector<MetafileCanvas::Point> MetafileCanvas::EllipsePoints(double left, double top, double right,
                                                                 double bottom) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = std::abs(right - left) / 2, ry = std::abs(bottom - top) / 2;
    const int n = static_cast<int>(std::clamp((rx + ry) * 2, 16.0, 720.0));
    std::vector<Point> points(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = 2 * kPi * i / n;
        points[static_cast<size_t>(i)] = Point{cx + rx * std::cos(t), cy + ry * std::sin(t)};
    }
    return points;
}

void MetafileCanvas::DrawImage(const Image& src, double left, double top, double width, double height) {
    if (!src.IsValid() || width == 0 || height == 0) return;
    const int w = static_cast<int>(m_image.GetWidth()), h = static_cast<int>(m_image.GetHeight());
    const double x0 = std::min(left, left + width), y0 = std::min(top, top + height);
    const int xa = std::max(0, ToPixel(std::floor(x0))),
              xb = std::min(w, ToPixel(std::ceil(x0 + std::abs(width))));
    const int ya = std::max(0, ToPixel(std::floor(y0))),
              yb = std::min(h, ToPixel(std::ceil(y0 + std::abs(height))));
    const int sw = static_cast<int>(src.GetWidth()), sh = static_cast<int>(src.GetHeight());
    for (int y = ya; y < yb; ++y) {
        // Source rows count from the bottom; a negative height mirrors.
        double v = (y + 0.5 - top) / height;
        if (v < 0 || v >= 1) continue;
        const int sy = sh - 1 - std::min(sh - 1, static_cast<int>(v * sh));
        for (int x = xa; x < xb; ++x) {
            const double u = (x + 0.5 - left) / width;
            if (u < 0 || u >= 1) continue;
            const int sx = std::min(sw - 1, static_cast<int>(u * sw));
            Plot(x, y, src.GetPixelColor(sx, sy, false));
        }
    }
}

} // namespace vimg
