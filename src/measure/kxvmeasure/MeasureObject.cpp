#include "MeasureObject.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QCoreApplication>
#include <QPolygonF>

namespace kxvm {

double MeasureValue::In(const Calibration& calibration) const {
    switch (Dim()) {
    case Dimension::Length:
    case Dimension::Position:
        return calibration.Length(pixels);
    case Dimension::Area:
        return calibration.Area(pixels);
    case Dimension::Plain:
    case Dimension::Grey:
        break;
    }
    return pixels;
}

QString MeasureValue::Text(const Calibration& calibration) const {
    const QString number = FormatValue(In(calibration));
    const QString unit = UnitName(calibration.IsCalibrated() ? calibration.unit : LengthUnit::Pixel);
    switch (Dim()) {
    case Dimension::Length:
    case Dimension::Position:
        return number + QLatin1Char(' ') + unit;
    case Dimension::Area:
        return number + QLatin1Char(' ') + unit + QStringLiteral("²");
    case Dimension::Grey:
        return number;
    case Dimension::Plain:
        break;
    }
    return number + QStringLiteral("°");
}

int PointsNeeded(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Line:
    case ShapeKind::Rectangle:
    case ShapeKind::Ellipse:
    case ShapeKind::Text:
        return 2;
    case ShapeKind::Polygon:
    case ShapeKind::Angle:
        return 3;
    case ShapeKind::Point:
        return 1;
    case ShapeKind::Select:
        break;
    }
    return 0;
}

QString KindName(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Line:
        return QCoreApplication::translate("MeasureObject", "Linie");
    case ShapeKind::Rectangle:
        return QCoreApplication::translate("MeasureObject", "Rechteck");
    case ShapeKind::Ellipse:
        return QCoreApplication::translate("MeasureObject", "Kreis");
    case ShapeKind::Polygon:
        return QCoreApplication::translate("MeasureObject", "Polygon");
    case ShapeKind::Angle:
        return QCoreApplication::translate("MeasureObject", "Winkel");
    case ShapeKind::Point:
        return QCoreApplication::translate("MeasureObject", "Punkt");
    case ShapeKind::Text:
        return QCoreApplication::translate("MeasureObject", "Beschriftung");
    case ShapeKind::Select:
        break;
    }
    return QString();
}

double Distance(QPointF a, QPointF b) {
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

double PolygonArea(const std::vector<QPointF>& c) {
    double twice = 0;
    for (size_t i = 0, n = c.size(); i < n; ++i) {
        const QPointF& a = c[i];
        const QPointF& b = c[(i + 1) % n];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::fabs(twice) / 2.0;
}

double PolygonPerimeter(const std::vector<QPointF>& c) {
    double sum = 0;
    for (size_t i = 0, n = c.size(); i < n && n > 1; ++i)
        sum += Distance(c[i], c[(i + 1) % n]);
    return sum;
}

double EllipsePerimeter(double width, double height) {
    const double a = std::fabs(width) / 2, b = std::fabs(height) / 2;
    if (a + b == 0) return 0;
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    return std::numbers::pi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
}

double AngleDegrees(QPointF armA, QPointF vertex, QPointF armB) {
    const QPointF u = armA - vertex, v = armB - vertex;
    if ((u.x() == 0 && u.y() == 0) || (v.x() == 0 && v.y() == 0)) return 0;
    const double cross = u.x() * v.y() - u.y() * v.x();
    const double dot = u.x() * v.x() + u.y() * v.y();
    return std::fabs(std::atan2(cross, dot)) * 180.0 / std::numbers::pi;
}

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double length2 = d.x() * d.x() + d.y() * d.y();
    double t = length2 > 0 ? ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return Distance(p, a + t * d);
}

std::vector<MeasureValue> Measure(const MeasureObject& o) {
    const auto& p = o.points;
    if (static_cast<int>(p.size()) < PointsNeeded(o.kind)) return {};
    switch (o.kind) {
    case ShapeKind::Line:
        return {{Quantity::Length, Distance(p[0], p[1])}};
    case ShapeKind::Rectangle: {
        const double w = std::fabs(p[1].x() - p[0].x()), h = std::fabs(p[1].y() - p[0].y());
        return {{Quantity::Width, w},
                {Quantity::Height, h},
                {Quantity::Area, w * h},
                {Quantity::Perimeter, 2 * (w + h)}};
    }
    case ShapeKind::Ellipse: {
        const double w = std::fabs(p[1].x() - p[0].x()), h = std::fabs(p[1].y() - p[0].y());
        std::vector<MeasureValue> values;
        if (w == h) {
            values.push_back({Quantity::Diameter, w});
        } else {
            values.push_back({Quantity::DiameterX, w});
            values.push_back({Quantity::DiameterY, h});
        }
        values.push_back({Quantity::Area, std::numbers::pi * w * h / 4});
        values.push_back({Quantity::Perimeter, EllipsePerimeter(w, h)});
        return values;
    }
    case ShapeKind::Polygon:
        return {{Quantity::Area, PolygonArea(p)}, {Quantity::Perimeter, PolygonPerimeter(p)}};
    case ShapeKind::Angle:
        return {{Quantity::Angle, AngleDegrees(p[0], p[1], p[2])}};
    case ShapeKind::Point:
        return {{Quantity::X, p[0].x()}, {Quantity::Y, p[0].y()}};
    case ShapeKind::Text:
    case ShapeKind::Select:
        break;
    }
    return {};
}

std::vector<QPointF> Handles(const MeasureObject& o) {
    if (o.kind == ShapeKind::Rectangle || o.kind == ShapeKind::Ellipse) {
        if (o.points.size() < 2) return o.points;
        const QPointF a = o.points[0], b = o.points[1];
        return {a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
    }
    return o.points;
}

void MoveHandle(MeasureObject& o, int handle, QPointF to) {
    if (handle < 0) return;
    if ((o.kind == ShapeKind::Rectangle || o.kind == ShapeKind::Ellipse) && o.points.size() >= 2) {
        // Corner 0 and 2 are the stored points; 1 and 3 mix their coordinates.
        QPointF& a = o.points[0];
        QPointF& b = o.points[1];
        switch (handle) {
        case 0:
            a = to;
            break;
        case 1:
            b.setX(to.x());
            a.setY(to.y());
            break;
        case 2:
            b = to;
            break;
        case 3:
            a.setX(to.x());
            b.setY(to.y());
            break;
        default:
            break;
        }
        return;
    }
    if (static_cast<size_t>(handle) < o.points.size()) o.points[static_cast<size_t>(handle)] = to;
}

void Translate(MeasureObject& o, QPointF delta) {
    for (QPointF& p : o.points)
        p += delta;
}

std::vector<QPointF> EllipseOutline(QPointF a, QPointF b, int segments) {
    const QPointF c = (a + b) / 2;
    const double rx = std::fabs(b.x() - a.x()) / 2, ry = std::fabs(b.y() - a.y()) / 2;
    std::vector<QPointF> outline;
    outline.reserve(static_cast<size_t>(segments));
    for (int i = 0; i < segments; ++i) {
        const double t = 2 * std::numbers::pi * i / segments;
        outline.emplace_back(c.x() + rx * std::cos(t), c.y() + ry * std::sin(t));
    }
    return outline;
}

namespace {

bool NearPath(QPointF p, const std::vector<QPointF>& path, bool closed, double tolerance) {
    for (size_t i = 0; i + 1 < path.size(); ++i)
        if (SegmentDistance(p, path[i], path[i + 1]) <= tolerance) return true;
    return closed && path.size() > 2 && SegmentDistance(p, path.back(), path.front()) <= tolerance;
}

bool Inside(QPointF p, const std::vector<QPointF>& corners) {
    return corners.size() > 2 &&
           QPolygonF(QList<QPointF>(corners.begin(), corners.end())).containsPoint(p, Qt::OddEvenFill);
}

} // namespace

bool HitsObject(const MeasureObject& o, QPointF p, double tolerance) {
    if (static_cast<int>(o.points.size()) < PointsNeeded(o.kind)) return false;
    switch (o.kind) {
    case ShapeKind::Line:
    case ShapeKind::Angle:
    case ShapeKind::Text:
        return NearPath(p, o.points, false, tolerance);
    case ShapeKind::Rectangle: {
        const std::vector<QPointF> corners = Handles(o);
        return NearPath(p, corners, true, tolerance) || Inside(p, corners);
    }
    case ShapeKind::Ellipse: {
        const std::vector<QPointF> outline = EllipseOutline(o.points[0], o.points[1]);
        return NearPath(p, outline, true, tolerance) || Inside(p, outline);
    }
    case ShapeKind::Polygon:
        return NearPath(p, o.points, true, tolerance) || Inside(p, o.points);
    case ShapeKind::Point:
        return Distance(p, o.points[0]) <= tolerance + 3;
    case ShapeKind::Select:
        break;
    }
    return false;
}

} // namespace kxvm
