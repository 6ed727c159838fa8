// One measurement object on a picture: its kind, its points in image
// coordinates (x right, y down, in pixels, fractions allowed), its look and,
// for annotations, its text; with the geometry every kind measures.
#pragma once

#include <vector>

#include <QColor>
#include <QPointF>
#include <QString>

#include "Calibration.h"
#include "Quantity.h"

namespace kxvm {

// The shapes of the "&Messen" menu, numbered as the child frame numbers them.
enum class ShapeKind {
    Select = 0,
    Line = 1,
    Rectangle = 2,
    Ellipse = 3,
    Polygon = 4,
    Angle = 5,
    Point = 6,
    Text = 7
};

struct MeasureObject {
    ShapeKind kind = ShapeKind::Line;
    // Line: two ends. Rectangle and ellipse: two opposite corners of the box.
    // Polygon: the corners (closed). Angle: arm end, vertex, arm end.
    // Point: one. Text: the point it refers to, then where the text stands.
    std::vector<QPointF> points;
    QColor lineColour = QColor(255, 220, 0);
    QColor textColour = Qt::white;
    QColor fillColour = QColor(0, 0, 0, 160);
    int lineWidth = 2;
    QString text;
    bool operator==(const MeasureObject&) const = default;
};

struct MeasureValue {
    Quantity quantity = Quantity::Length;
    double pixels = 0; // in pixels, square pixels or degrees
    Dimension Dim() const { return DimensionOf(quantity); }
    QString Label() const { return QuantityLabel(quantity); }
    // The value in the calibration's unit (degrees stay degrees).
    double In(const Calibration& calibration) const;
    // "12.35 µm", "3.142 mm²", "45.00°".
    QString Text(const Calibration& calibration) const;
};

// Points each kind needs to be complete (polygon: at least 3).
int PointsNeeded(ShapeKind kind);
QString KindName(ShapeKind kind);

// The measured values of an object, in pixels.
std::vector<MeasureValue> Measure(const MeasureObject& object);

// Geometry, in pixels.
double Distance(QPointF a, QPointF b);
double PolygonArea(const std::vector<QPointF>& corners);         // shoelace, never negative
double PolygonPerimeter(const std::vector<QPointF>& corners);    // closed
double EllipsePerimeter(double width, double height);            // Ramanujan's second formula
double AngleDegrees(QPointF armA, QPointF vertex, QPointF armB); // 0..180
double SegmentDistance(QPointF p, QPointF a, QPointF b);

// Editing: the handles a user can drag, in image coordinates.
std::vector<QPointF> Handles(const MeasureObject& object);
void MoveHandle(MeasureObject& object, int handle, QPointF to);
void Translate(MeasureObject& object, QPointF delta);
// Whether `p` is on the object's outline (within `tolerance` pixels) or
// inside a closed shape.
bool HitsObject(const MeasureObject& object, QPointF p, double tolerance);
// The outline of an ellipse in its box as a closed polygon.
std::vector<QPointF> EllipseOutline(QPointF a, QPointF b, int segments = 64);

} // namespace kxvm
