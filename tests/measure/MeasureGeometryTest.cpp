// Values every shape measures, against numbers worked out by hand, in pixels
// and in calibrated units; the scale bar's round lengths; hit testing and
// handles.
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "Calibration.h"
#include "MeasureObject.h"

using namespace kxvm;

namespace {

MeasureObject Make(ShapeKind kind, std::vector<QPointF> points) {
    MeasureObject o;
    o.kind = kind;
    o.points = std::move(points);
    return o;
}

double ValueOf(const MeasureObject& o, Quantity quantity, const Calibration& c = {}) {
    for (const MeasureValue& v : Measure(o))
        if (v.quantity == quantity) return v.In(c);
    ADD_FAILURE() << "no value " << QuantityLabel(quantity).toStdString();
    return NAN;
}

// 10 pixels make one millimetre.
const Calibration kTenPerMm{QStringLiteral("10x"), 10.0, LengthUnit::Millimetre};

} // namespace

TEST(MeasureGeometry, LineLengthInPixelsAndCalibratedUnits) {
    const MeasureObject line = Make(ShapeKind::Line, {{3, 4}, {33, 44}}); // 30, 40 -> 50
    EXPECT_DOUBLE_EQ(ValueOf(line, Quantity::Length), 50.0);
    EXPECT_DOUBLE_EQ(ValueOf(line, Quantity::Length, kTenPerMm), 5.0);
    const auto fromLine = Calibration::FromLine("line", 50.0, 20.0, LengthUnit::Micrometre); // 2.5 px per µm
    ASSERT_TRUE(fromLine);
    EXPECT_DOUBLE_EQ(fromLine->pixelsPerUnit, 2.5);
    EXPECT_DOUBLE_EQ(ValueOf(line, Quantity::Length, *fromLine), 20.0);
    EXPECT_DOUBLE_EQ(fromLine->MicronsPerPixel(), 0.4);
    EXPECT_EQ(Measure(line)[0].Text(*fromLine), QStringLiteral("20.00 µm"));
    EXPECT_EQ(Measure(line)[0].Text({}), QStringLiteral("50.00 px"));
}

TEST(MeasureGeometry, RectangleWidthHeightAreaPerimeterWhicheverCornerComesFirst) {
    for (const auto& corners :
         {std::vector<QPointF>{{10, 20}, {40, 60}}, std::vector<QPointF>{{40, 60}, {10, 20}}}) {
        const MeasureObject r = Make(ShapeKind::Rectangle, corners);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Width), 30);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Height), 40);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Area), 1200);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Perimeter), 140);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Area, kTenPerMm), 12);
        EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Perimeter, kTenPerMm), 14);
    }
    EXPECT_EQ(Measure(Make(ShapeKind::Rectangle, {{0, 0}, {30, 40}}))[2].Text(kTenPerMm),
              QStringLiteral("12.00 mm²"));
}

TEST(MeasureGeometry, CircleAndEllipseDiameterAreaPerimeter) {
    const MeasureObject circle = Make(ShapeKind::Ellipse, {{0, 0}, {20, 20}});
    EXPECT_DOUBLE_EQ(ValueOf(circle, Quantity::Diameter), 20);
    EXPECT_NEAR(ValueOf(circle, Quantity::Area), 100 * std::numbers::pi, 1e-9);
    EXPECT_NEAR(ValueOf(circle, Quantity::Perimeter), 20 * std::numbers::pi, 1e-9);
    EXPECT_NEAR(ValueOf(circle, Quantity::Area, kTenPerMm), std::numbers::pi, 1e-12);
    const MeasureObject ellipse = Make(ShapeKind::Ellipse, {{0, 0}, {20, 10}}); // semi-axes 10 and 5
    EXPECT_DOUBLE_EQ(ValueOf(ellipse, Quantity::DiameterX), 20);
    EXPECT_DOUBLE_EQ(ValueOf(ellipse, Quantity::DiameterY), 10);
    EXPECT_NEAR(ValueOf(ellipse, Quantity::Area), 50 * std::numbers::pi, 1e-9);
    EXPECT_NEAR(ValueOf(ellipse, Quantity::Perimeter), 48.44224110, 1e-6); // the complete elliptic integral
}

TEST(MeasureGeometry, PolygonAreaAndPerimeterInEitherWindingOrder) {
    // An L: a 4 x 4 square without its 2 x 2 upper right quarter.
    std::vector<QPointF> l = {{0, 0}, {2, 0}, {2, 2}, {4, 2}, {4, 4}, {0, 4}};
    EXPECT_DOUBLE_EQ(ValueOf(Make(ShapeKind::Polygon, l), Quantity::Area), 12);
    EXPECT_DOUBLE_EQ(ValueOf(Make(ShapeKind::Polygon, l), Quantity::Perimeter), 16);
    std::reverse(l.begin(), l.end());
    EXPECT_DOUBLE_EQ(ValueOf(Make(ShapeKind::Polygon, l), Quantity::Area), 12);
    const MeasureObject triangle = Make(ShapeKind::Polygon, {{0, 0}, {30, 0}, {0, 40}});
    EXPECT_DOUBLE_EQ(ValueOf(triangle, Quantity::Area), 600);
    EXPECT_DOUBLE_EQ(ValueOf(triangle, Quantity::Perimeter), 120);
    EXPECT_DOUBLE_EQ(ValueOf(triangle, Quantity::Area, kTenPerMm), 6);
}

TEST(MeasureGeometry, AngleFromThreePointsIsTheInnerAngle) {
    EXPECT_NEAR(AngleDegrees({10, 0}, {0, 0}, {0, 10}), 90, 1e-12);
    EXPECT_NEAR(AngleDegrees({0, 10}, {0, 0}, {10, 0}), 90, 1e-12);
    EXPECT_NEAR(AngleDegrees({15, 5}, {5, 5}, {15, 15}), 45, 1e-12);
    EXPECT_NEAR(AngleDegrees({-10, 0}, {0, 0}, {10, 0}), 180, 1e-12);
    EXPECT_NEAR(AngleDegrees({10, 0}, {0, 0}, {-5, 5 * std::sqrt(3.0)}), 120, 1e-9);
    EXPECT_EQ(AngleDegrees({0, 0}, {0, 0}, {5, 5}), 0); // an arm of no length
    // Calibration does not change an angle.
    EXPECT_NEAR(ValueOf(Make(ShapeKind::Angle, {{10, 0}, {0, 0}, {0, 10}}), Quantity::Angle, kTenPerMm), 90, 1e-12);
}

TEST(MeasureGeometry, ScaleBarLengthsAreOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_EQ(RoundScaleLength(1), 1);
    EXPECT_EQ(RoundScaleLength(7.3), 5);
    EXPECT_EQ(RoundScaleLength(19.9), 10);
    EXPECT_EQ(RoundScaleLength(20), 20);
    EXPECT_EQ(RoundScaleLength(999.9), 500);
    EXPECT_EQ(RoundScaleLength(1000), 1000);
    EXPECT_DOUBLE_EQ(RoundScaleLength(0.034), 0.02);
    EXPECT_DOUBLE_EQ(RoundScaleLength(0.001), 0.001);
    EXPECT_EQ(RoundScaleLength(0), 0);
    EXPECT_EQ(RoundScaleLength(-4), 0);
    for (double v = 0.0013; v < 1e6; v *= 1.37) {
        const double r = RoundScaleLength(v);
        ASSERT_LE(r, v * (1 + 1e-12));
        ASSERT_GT(r, v / 2.5 - 1e-12) << v; // never less than the next step below allows
        const double mantissa = r / std::pow(10.0, std::floor(std::log10(r) + 1e-12));
        ASSERT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                    std::fabs(mantissa - 5) < 1e-9)
            << v << " -> " << r;
    }
}

TEST(MeasureGeometry, CalibrationFromPixelSizeAndRefusedInput) {
    const auto c = Calibration::FromMicronsPerPixel("Bild", 0.5);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->unit, LengthUnit::Micrometre);
    EXPECT_DOUBLE_EQ(c->pixelsPerUnit, 2.0);
    EXPECT_DOUBLE_EQ(c->MicronsPerPixel(), 0.5);
    const auto big = Calibration::FromMicronsPerPixel("Bild", 250); // 0.25 mm per pixel
    ASSERT_TRUE(big);
    EXPECT_EQ(big->unit, LengthUnit::Millimetre);
    EXPECT_DOUBLE_EQ(big->Length(4), 1.0);
    EXPECT_FALSE(Calibration::FromMicronsPerPixel("x", 0));
    EXPECT_FALSE(Calibration::FromMicronsPerPixel("x", -1));
    EXPECT_FALSE(Calibration::FromLine("x", 10, 0, LengthUnit::Micrometre));
    EXPECT_FALSE(Calibration::FromLine("x", 0, 10, LengthUnit::Micrometre));
    EXPECT_FALSE(Calibration::FromLine("x", 10, INFINITY, LengthUnit::Micrometre));
    EXPECT_FALSE(Calibration::FromLine("x", 10, 5, LengthUnit::Pixel));
    EXPECT_EQ(Calibration{}.MicronsPerPixel(), 0);
}

TEST(MeasureGeometry, HitTestingFollowsOutlinesAndInsides) {
    const MeasureObject line = Make(ShapeKind::Line, {{0, 0}, {100, 0}});
    EXPECT_TRUE(HitsObject(line, {50, 3}, 4));
    EXPECT_FALSE(HitsObject(line, {50, 6}, 4));
    EXPECT_FALSE(HitsObject(line, {106, 0}, 4)); // beyond the end
    const MeasureObject rect = Make(ShapeKind::Rectangle, {{10, 10}, {50, 30}});
    EXPECT_TRUE(HitsObject(rect, {30, 20}, 2)); // inside
    EXPECT_TRUE(HitsObject(rect, {51, 20}, 2)); // on the edge
    EXPECT_FALSE(HitsObject(rect, {55, 20}, 2));
    const MeasureObject circle = Make(ShapeKind::Ellipse, {{0, 0}, {20, 20}});
    EXPECT_TRUE(HitsObject(circle, {10, 10}, 1));
    EXPECT_FALSE(HitsObject(circle, {1, 1}, 1)); // inside the box, outside the circle
    const MeasureObject angle = Make(ShapeKind::Angle, {{0, 0}, {10, 10}, {20, 0}});
    EXPECT_FALSE(HitsObject(angle, {10, 2}, 1)); // between the arms is not the angle
    EXPECT_TRUE(HitsObject(angle, {15, 5}, 1));
}

TEST(MeasureGeometry, DraggingARectanglesCornerKeepsTheOppositeOne) {
    MeasureObject r = Make(ShapeKind::Rectangle, {{10, 10}, {50, 30}});
    ASSERT_EQ(Handles(r).size(), 4u);
    EXPECT_EQ(Handles(r)[1], QPointF(50, 10));
    MoveHandle(r, 1, {60, 5});                 // upper right
    EXPECT_EQ(Handles(r)[3], QPointF(10, 30)); // lower left stays
    EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Width), 50);
    EXPECT_DOUBLE_EQ(ValueOf(r, Quantity::Height), 25);
    MoveHandle(r, 3, {0, 40}); // lower left
    EXPECT_EQ(Handles(r)[1], QPointF(60, 5));
    MeasureObject poly = Make(ShapeKind::Polygon, {{0, 0}, {10, 0}, {0, 10}});
    MoveHandle(poly, 2, {0, 20});
    EXPECT_DOUBLE_EQ(ValueOf(poly, Quantity::Area), 100);
    MoveHandle(poly, 7, {5, 5}); // no such handle
    EXPECT_DOUBLE_EQ(ValueOf(poly, Quantity::Area), 100);
}
