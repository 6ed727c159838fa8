// Measuring on the live preview: lines and rectangles in the camera's
// pixels with the calibration stored for its resolution, the scale bar, and
// clicks that hit no measurement reaching the preview underneath.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "CalibrationStore.h"
#include "MeasureManager.h"
#include "PreviewMeasure.h"
#include "PreviewWindow.h"
#include "Resource.h"

using namespace kxvm;

namespace {

// A display that counts the presses reaching it.
class CountingDisplay : public QLabel {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST(PreviewMeasure, LinesLieInCameraPixelsWithTheCalibrationOfTheResolution) {
    testsupport::TempDir dir;
    apptest::StartedApp s(dir);
    ASSERT_TRUE(s.started);
    CalibrationStore(s.app->Profile())
        .Put("SimCam", 640, 480, Calibration{"10x", 2, LengthUnit::Micrometre}, true);
    CountingDisplay display;
    display.resize(320, 240); // the preview shows the frame at half size
    display.show();
    PreviewMeasure layer(&display, [] { return QStringLiteral("SimCam"); });
    layer.SetFrameSize(QSize(640, 480));
    EXPECT_EQ(layer.geometry(), display.rect());
    MeasureManager& m = layer.Manager();
    EXPECT_FLOAT_EQ(m.Scale(), 0.5f);
    EXPECT_DOUBLE_EQ(m.ActiveCalibration().pixelsPerUnit, 2);
    EXPECT_DOUBLE_EQ(m.ScaleBarLength(), 50); // a fifth of 640 pixels is 64 µm

    // Nothing to move: the click goes on to the display (white-point pick).
    Mouse(&layer, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    EXPECT_EQ(display.presses, 1);

    EXPECT_FALSE(m.MenuItem(ID_MEASURE_POLYGON)); // only lines and rectangles here
    ASSERT_TRUE(m.MenuItem(ID_MEASURE_LINE));
    Mouse(&layer, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    Mouse(&layer, QEvent::MouseMove, {60, 10}, Qt::LeftButton);
    Mouse(&layer, QEvent::MouseMove, {110, 10}, Qt::LeftButton);
    Mouse(&layer, QEvent::MouseButtonRelease, {110, 10}, Qt::NoButton);
    EXPECT_EQ(display.presses, 1);
    ASSERT_EQ(m.Objects().size(), 1u);
    EXPECT_EQ(m.Objects()[0].points, (std::vector<QPointF>{{20, 20}, {220, 20}}));
    EXPECT_DOUBLE_EQ(Measure(m.Objects()[0])[0].In(m.ActiveCalibration()), 100);

    // Another resolution has its own calibration (none here); the line stays in camera pixels.
    layer.SetFrameSize(QSize(1280, 960));
    EXPECT_FALSE(m.ActiveCalibration().IsCalibrated());
    display.resize(640, 480);
    EXPECT_FLOAT_EQ(m.Scale(), 0.5f);
    // And back: the stored one again.
    layer.SetFrameSize(QSize(640, 480));
    EXPECT_DOUBLE_EQ(m.ActiveCalibration().pixelsPerUnit, 2);

    // The layer draws the scale bar over the picture.
    display.resize(320, 240);
    const QImage shot = layer.grab().toImage();
    EXPECT_EQ(shot.pixelColor(320 - 12 - 3, 240 - 12 - 3), QColor(Qt::white));
}

TEST(PreviewMeasure, ThePreviewWindowHandsItTheCameraResolution) {
    CPreviewWindow preview(nullptr, nullptr);
    preview.resize(800, 700);
    preview.SetArea(800, 700);
    preview.show();
    preview.Fit(640, 480);
    ASSERT_TRUE(preview.Measure());
    EXPECT_EQ(preview.Measure()->Manager().ImageSize(), QSize(640, 480));
    EXPECT_EQ(preview.Measure()->geometry(), QRect(QPoint(0, 0), preview.Display()->size()));
}
