// Images to bitmaps and back, and icons with their masks.
#include "ImageBitmap.h"

#include <gtest/gtest.h>

#include "../imagelib/TestImages.h"

using namespace vimg;
using namespace vimg::display;

TEST(ImageBitmap, SectionBitmapsKeepDepthPixelsAndPalette) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
        const Image img = testimages::Random(13, 5, bpp, 60 + bpp);
        const auto bitmap = MakeBitmap(img, nullptr);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->BitsPixel(), static_cast<int>(bpp));
        // The top row of the bitmap is the image's last row.
        const RGBQUAD top = img.GetPixelColor(4, 4);
        EXPECT_EQ(bitmap->Image().pixel(4, 0), qRgb(top.rgbRed, top.rgbGreen, top.rgbBlue)) << bpp;
        Image back;
        ASSERT_TRUE(CreateFromHBITMAP(back, bitmap.get()));
        EXPECT_EQ(back.GetBpp(), bpp);
        EXPECT_TRUE(testimages::SamePixels(back, img)) << bpp;
    }
}

TEST(ImageBitmap, DeviceBitmapsShowTheColours) {
    const Image img = testimages::Random(9, 4, 4, 3);
    CDeviceContext dc(1, 1);
    const auto bitmap = MakeBitmap(img, &dc);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->BitsPixel(), 32);
    Image back;
    ASSERT_TRUE(CreateFromHBITMAP(back, bitmap.get()));
    EXPECT_EQ(back.GetBpp(), 24u);
    EXPECT_TRUE(testimages::SamePixels(back, img));
    EXPECT_FALSE(MakeBitmap(Image(), &dc));
}

TEST(ImageBitmap, MissingBitmapsAreRefused) {
    Image img = testimages::Random(2, 2, 24, 1);
    EXPECT_FALSE(CreateFromHBITMAP(img, nullptr));
    EXPECT_STREQ(img.GetLastError(), "GetDIBits failed");
    EXPECT_FALSE(img.IsValid());
    const CBitmap wrongDepth(QImage(4, 4, QImage::Format_RGB32), 8);
    EXPECT_FALSE(CreateFromHBITMAP(img, &wrongDepth));
}

TEST(ImageBitmap, IconMaskBitsBecomeTransparentPixels) {
    QImage colour(6, 3, QImage::Format_RGB32);
    colour.fill(qRgb(10, 200, 30));
    QImage mask(6, 3, QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.fill(0);
    mask.setPixel(0, 0, 1); // top-left corner
    mask.setPixel(5, 2, 1); // bottom-right corner
    const CIcon icon{CBitmap(colour, 32), CBitmap(mask, 1)};
    Image img;
    ASSERT_TRUE(CreateFromHICON(img, icon)) << img.GetLastError();
    ASSERT_TRUE(img.AlphaIsValid());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool masked = (x == 0 && y == 2) || (x == 5 && y == 0); // rows count from the bottom
            EXPECT_EQ(img.AlphaGet(x, y), masked ? 0 : 255) << x << "," << y;
            EXPECT_EQ(img.GetPixelColor(x, y, false), testimages::Colour(10, 200, 30));
        }
    const CIcon misfit{CBitmap(colour, 32), CBitmap(mask.copy(0, 0, 5, 3), 1)};
    EXPECT_FALSE(CreateFromHICON(img, misfit));
    EXPECT_FALSE(img.IsValid());
}
