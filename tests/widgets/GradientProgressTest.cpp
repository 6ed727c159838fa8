#include <QImage>

#include <gtest/gtest.h>

#include "GradientProgress.h"

TEST(GradientProgress, LabelsCaptionAndPercentOfTheRange) {
    CGradientProgress bar;
    EXPECT_EQ(bar.text(), "Complete : 0%");
    bar.SetCaption("Bild speichern");
    bar.SetPos(50);
    EXPECT_EQ(bar.text(), "Bild speichern: 50%");
    bar.setRange(0, 400);
    bar.SetPos(100);
    EXPECT_EQ(bar.Percent(), 25);
    bar.setRange(-50, 50);
    bar.SetPos(50);
    EXPECT_EQ(bar.Percent(), 100);
    // A caption with a percent sign is shown as it is.
    bar.SetCaption("100% Zoom");
    EXPECT_EQ(bar.text(), "100% Zoom: 100%");
}

TEST(GradientProgress, FillsThePartDoneWithTheFamilyBlue) {
    CGradientProgress bar;
    bar.SetCaption("");
    bar.resize(200, 20);
    bar.SetPos(40);
    const QImage shot = bar.grab().toImage();
    auto bluish = [&](int x) {
        const QColor c = shot.pixelColor(x * shot.width() / 200, shot.height() * 3 / 4);
        return c.blue() > 150 && c.red() < c.blue() - 60;
    };
    EXPECT_TRUE(bluish(10));
    EXPECT_TRUE(bluish(70));
    EXPECT_FALSE(bluish(90));
    EXPECT_FALSE(bluish(190));
}
