#include <vector>

#include <gtest/gtest.h>

#include "DeviceContext.h"

TEST(DeviceContext, BlitsBottomUpRowsAndRespectsTheClip) {
    // 2 x 2 picture, 24-bit B,G,R, rows padded to 8 bytes, bottom row first.
    const std::vector<uint8_t> bits = {
        0, 0, 255, 0, 255, 0, 0, 0,  // bottom: red, green
        255, 0, 0, 255, 255, 255, 0, 0, // top: blue, white
    };
    CDeviceContext dc(4, 4, Qt::black);
    ASSERT_TRUE(dc.SetDIBitsToDevice(1, 1, 2, 2, bits.data(), bits.size()));
    EXPECT_EQ(dc.GetPixel(1, 1), QColor(Qt::blue));
    EXPECT_EQ(dc.GetPixel(2, 1), QColor(Qt::white));
    EXPECT_EQ(dc.GetPixel(1, 2), QColor(Qt::red));
    EXPECT_EQ(dc.GetPixel(2, 2), QColor(Qt::green));
    EXPECT_EQ(dc.GetPixel(0, 0), QColor(Qt::black));
    EXPECT_FALSE(dc.GetPixel(4, 0).isValid());

    CDeviceContext clipped(4, 4, Qt::black);
    clipped.IntersectClipRect(QRect(0, 0, 2, 4));
    EXPECT_EQ(clipped.GetClipBox(), QRect(0, 0, 2, 4));
    // Placed partly off the surface on the left: only visible, unclipped pixels land.
    ASSERT_TRUE(clipped.SetDIBitsToDevice(-1, 2, 2, 2, bits.data(), bits.size()));
    EXPECT_EQ(clipped.GetPixel(0, 2), QColor(Qt::white));
    EXPECT_EQ(clipped.GetPixel(0, 3), QColor(Qt::green));
    clipped.FillSolidRect(QRect(0, 0, 4, 1), Qt::yellow);
    EXPECT_EQ(clipped.GetPixel(1, 0), QColor(Qt::yellow));
    EXPECT_EQ(clipped.GetPixel(2, 0), QColor(Qt::black));
}

TEST(DeviceContext, RefusesBuffersShorterThanTheirSize) {
    const std::vector<uint8_t> bits(15, 0); // 3 x 2 needs two rows of 12 bytes
    CDeviceContext dc(4, 4);
    EXPECT_FALSE(dc.SetDIBitsToDevice(0, 0, 3, 2, bits.data(), bits.size()));
    EXPECT_FALSE(dc.SetDIBitsToDevice(0, 0, 3, 2, nullptr, 100));
    EXPECT_EQ(dc.GetPixel(0, 0), QColor(Qt::white));
}

TEST(DeviceContext, TextStaysInsideItsRectangle) {
    CDeviceContext dc(120, 40, Qt::white);
    dc.SetTextColor(Qt::black);
    dc.DrawText(QStringLiteral("WWWW"), QRect(10, 5, 60, 30),
                CDeviceContext::DT_LEFT | CDeviceContext::DT_SINGLELINE);
    const QImage& img = dc.Image();
    int inside = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == qRgb(255, 255, 255)) continue;
            (QRect(10, 5, 60, 30).contains(x, y) ? inside : outside)++;
        }
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
}
