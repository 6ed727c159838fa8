#include "GreyStatistics.h"

#include <algorithm>
#include <cmath>

#include "Image.h"

namespace kxvm {

namespace {

// Sums the grey values of the pixels [x0, x1) of one row (y from the top).
// Colour pictures of 24 bits read the row directly; others go through the
// pixel's colour.
class RowReader {
public:
    explicit RowReader(const vimg::Image& image) : m_image(image) {}
    template <typename Visit> void Span(int y, int x0, int x1, Visit&& visit) const {
        const int32_t row = static_cast<int32_t>(m_image.GetHeight()) - 1 - y;
        if (m_image.GetBpp() == 24) {
            const uint8_t* p = m_image.GetBits(static_cast<uint32_t>(row)) + 3 * static_cast<size_t>(x0);
            for (int x = x0; x < x1; ++x, p += 3)
                visit((static_cast<double>(p[0]) + p[1] + p[2]) / 3.0);
            return;
        }
        for (int x = x0; x < x1; ++x) {
            const vimg::RGBQUAD c = m_image.BlindGetPixelColor(x, row, false);
            visit((static_cast<double>(c.rgbRed) + c.rgbGreen + c.rgbBlue) / 3.0);
        }
    }

private:
    const vimg::Image& m_image;
};

// The pixel columns [x0, x1) of row y whose centres a shape covers, as spans.
using Spans = std::vector<std::pair<int, int>>;

// Pixels whose centre c satisfies lo <= c < hi.
std::pair<int, int> CentresIn(double lo, double hi) {
    return {static_cast<int>(std::ceil(lo - 0.5)), static_cast<int>(std::ceil(hi - 0.5))};
}

Spans RowSpans(const MeasureObject& o, int y) {
    const double cy = y + 0.5;
    const auto& p = o.points;
    Spans spans;
    switch (o.kind) {
    case ShapeKind::Rectangle: {
        const double top = std::min(p[0].y(), p[1].y()), bottom = std::max(p[0].y(), p[1].y());
        if (cy >= top && cy < bottom)
            spans.push_back(CentresIn(std::min(p[0].x(), p[1].x()), std::max(p[0].x(), p[1].x())));
        break;
    }
    case ShapeKind::Ellipse: {
        const double a = std::fabs(p[1].x() - p[0].x()) / 2, b = std::fabs(p[1].y() - p[0].y()) / 2;
        const double ex = (p[0].x() + p[1].x()) / 2, ey = (p[0].y() + p[1].y()) / 2;
        if (a <= 0 || b <= 0) break;
        const double dy = cy - ey;
        // The per-pixel test itself, over the columns the box spans: the
        // rule's own arithmetic decides pixels on the outline.
        const auto [first, last] = CentresIn(ex - a, ex + a + 1e-9);
        int start = -1;
        for (int x = first; x <= last; ++x) {
            const double dx = x + 0.5 - ex;
            const bool inside = x < last && (dx * dx) / (a * a) + (dy * dy) / (b * b) <= 1.0;
            if (inside && start < 0) start = x;
            if (!inside && start >= 0) {
                spans.emplace_back(start, x);
                start = -1;
            }
        }
        break;
    }
    case ShapeKind::Polygon: {
        std::vector<double> crossings;
        for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
            const double yi = p[i].y(), yj = p[j].y();
            if ((yi > cy) != (yj > cy))
                crossings.push_back(p[i].x() + (cy - yi) * (p[j].x() - p[i].x()) / (yj - yi));
        }
        std::sort(crossings.begin(), crossings.end());
        // A centre is inside when an odd number of crossings lie right of it.
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            auto span = CentresIn(crossings[k], crossings[k + 1]);
            // cx < crossing is strict on the right and cx >= crossing on the left.
            if (span.first < span.second) spans.push_back(span);
        }
        break;
    }
    default:
        break;
    }
    return spans;
}

} // namespace

double GreyAt(const vimg::Image& image, int x, int y) {
    double value = 0;
    RowReader(image).Span(y, x, x + 1, [&](double v) { value = v; });
    return value;
}

std::optional<GreyStatistics> GreyStatistics::Of(const vimg::Image& image, const MeasureObject& o) {
    const bool area = o.kind == ShapeKind::Rectangle || o.kind == ShapeKind::Ellipse || o.kind == ShapeKind::Polygon;
    if (!area || !image.IsValid() || static_cast<int>(o.points.size()) < PointsNeeded(o.kind)) return std::nullopt;
    const int width = static_cast<int>(image.GetWidth()), height = static_cast<int>(image.GetHeight());
    double top = o.points[0].y(), bottom = top;
    for (const QPointF& q : o.points) {
        if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return std::nullopt;
        top = std::min(top, q.y());
        bottom = std::max(bottom, q.y());
    }
    const auto [y0, y1] = CentresIn(std::max(top, 0.0), std::min(bottom, static_cast<double>(height)) + 1e-9);
    const RowReader reader(image);
    GreyStatistics s;
    s.min = 255;
    // Welford's running mean and squared deviations: no loss on large areas.
    double m2 = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (auto [x0, x1] : RowSpans(o, y)) {
            x0 = std::max(x0, 0);
            x1 = std::min(x1, width);
            if (x0 >= x1) continue;
            reader.Span(y, x0, x1, [&](double v) {
                ++s.count;
                const double delta = v - s.mean;
                s.mean += delta / static_cast<double>(s.count);
                m2 += delta * (v - s.mean);
                s.sum += v;
                s.min = std::min(s.min, v);
                s.max = std::max(s.max, v);
            });
        }
    if (s.count == 0) return std::nullopt;
    s.stdDev = s.count > 1 ? std::sqrt(m2 / static_cast<double>(s.count - 1)) : 0;
    return s;
}

std::vector<MeasureValue> GreyStatistics::Values() const {
    return {{Quantity::Mean, mean}, {Quantity::StdDev, stdDev}, {Quantity::Min, min},
            {Quantity::Max, max},   {Quantity::IntDen, sum},    {Quantity::RawIntDen, sum}};
}

std::vector<double> LineProfile(const vimg::Image& image, QPointF from, QPointF to) {
    std::vector<double> profile;
    if (!image.IsValid()) return profile;
    const int width = static_cast<int>(image.GetWidth()), height = static_cast<int>(image.GetHeight());
    const double length = Distance(from, to);
    if (!std::isfinite(length)) return profile;
    const int samples = static_cast<int>(std::min(std::ceil(length), 100000.0)) + 1;
    auto grey = [&](int x, int y) {
        return GreyAt(image, std::clamp(x, 0, width - 1), std::clamp(y, 0, height - 1));
    };
    for (int i = 0; i < samples; ++i) {
        const double t = samples > 1 ? static_cast<double>(i) / (samples - 1) : 0;
        // Pixel centres sit at half coordinates.
        const double x = from.x() + t * (to.x() - from.x()) - 0.5, y = from.y() + t * (to.y() - from.y()) - 0.5;
        const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
        const double fx = x - ix, fy = y - iy;
        const double top = grey(ix, iy) * (1 - fx) + grey(ix + 1, iy) * fx;
        const double below = grey(ix, iy + 1) * (1 - fx) + grey(ix + 1, iy + 1) * fx;
        profile.push_back(top * (1 - fy) + below * fy);
    }
    return profile;
}

} // namespace kxvm
