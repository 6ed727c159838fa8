// The shaded button's faces and the bitmap slider's quiet positioning.
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "BitmapSlider.h"
#include "Resource.h"
#include "ShadeButton.h"
#include "WidgetPictures.h"

namespace {

QRgb Centre(QWidget& w) {
    const QImage face = w.grab().toImage();
    return face.pixel(face.width() / 2, 3);
}

TEST(ShadeButton, FaceIsTintedLighterUnderTheMouseAndTurnedOverWhenPressed) {
    CShadeButton button; // no text: the face alone
    button.resize(80, 24);
    // Colouring 5 of 10: a quarter of the base colour over the button colour.
    const QColor face = button.FaceColour();
    const QColor window = button.palette().color(QPalette::Button);
    EXPECT_NEAR(face.blue(), window.blue() * 3 / 4 + 0xFF / 4, 2);
    EXPECT_NEAR(face.red(), window.red() * 3 / 4 + 0x37 / 4, 2);

    const QRgb normal = Centre(button);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    const QRgb hover = Centre(button);
    EXPECT_GE(qGreen(hover) - qGreen(normal), 15); // highlight 20, less the noise
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    button.setDown(true);
    const QRgb pressed = Centre(button);
    EXPECT_LT(qGreen(pressed), qGreen(normal) - 20); // the lit top becomes the dark one
    button.setDown(false);
    EXPECT_EQ(Centre(button), normal);
}

TEST(BitmapSlider, SetPosIsQuietAndTheThumbFollowsTheValue) {
    CBitmapSlider slider;
    slider.setRange(0, 200);
    slider.resize(200, 14);
    QSignalSpy changed(&slider, &QSlider::valueChanged);
    slider.SetPos(50);
    EXPECT_EQ(slider.value(), 50);
    EXPECT_EQ(changed.count(), 0);
    const int left = slider.ThumbRect().center().x();
    slider.setValue(150); // as the user's drag does: heard
    EXPECT_EQ(changed.count(), 1);
    EXPECT_GT(slider.ThumbRect().center().x(), left + 80);
    EXPECT_EQ(slider.ThumbRect().height(), 14);

    EXPECT_TRUE(WidgetPicture(12345, QSize(8, 8)).isNull());
    for (int id : {IDB_SLIDER_CHANNEL, IDB_SLIDER_CHANNEL_ACTIVE, IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_ACTIVE,
                   IDI_DLG_CANCEL, IDI_DLG_OK, IDI_DLG_INFO})
        EXPECT_EQ(WidgetPicture(id, QSize(11, 14)).size(), QSize(11, 14)) << id;
    EXPECT_NE(WidgetPicture(IDB_SLIDER_THUMB, QSize(11, 14)).toImage(),
              WidgetPicture(IDB_SLIDER_THUMB_ACTIVE, QSize(11, 14)).toImage());
}

} // namespace
