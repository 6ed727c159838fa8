// Text written into images: record repairs, placement, the rounded background
// box and its opacity, line breaks. Fonts come from the QGuiApplication that
// the metafile text tests' environment starts for this program.
#include "TextDraw.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <QRect>

#include <gtest/gtest.h>

#include "../imagelib/TestImages.h"

using namespace vimg;
using namespace vimg::display;

namespace {

const RGBQUAD kGround = testimages::Colour(200, 100, 50);

TextInfo Record(const char* text, int align, bool opaque) {
    TextInfo info;
    Image::InitTextInfo(&info);
    std::strcpy(info.text, text);
    std::strcpy(info.font.lfFaceName, "DejaVu Sans");
    info.align = align;
    info.opaque = opaque;
    return info;
}

// Bounds of the pixels that differ from the ground, in top-down picture
// coordinates.
QRect Changed(const Image& img) {
    QRect r;
    const int h = static_cast<int>(img.GetHeight());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
            if (!(img.GetPixelColor(x, y, false) == kGround)) r |= QRect(x, h - 1 - y, 1, 1);
    return r;
}

RGBQUAD At(const Image& img, int x, int topY) {
    return img.GetPixelColor(x, static_cast<int>(img.GetHeight()) - 1 - topY, false);
}

RGBQUAD Quad(COLORREF c) { return testimages::Colour(GetRValue(c), GetGValue(c), GetBValue(c)); }

} // namespace

TEST(TextDraw, OutOfRangeSettingsAreRepairedInTheRecord) {
    TextInfo info = Record("Centre", 7, true);
    info.backRound = 80;
    info.backOpacity = std::numeric_limits<float>::quiet_NaN();
    Image img = testimages::Filled(300, 80, kGround);
    ASSERT_EQ(DrawStringEx(img, 150, 10, &info), 1);
    EXPECT_EQ(info.align, 1);
    EXPECT_EQ(info.backRound, 10);
    EXPECT_EQ(info.backOpacity, 0.0f);
    // Centred on x, and the same as asking for centring.
    const QRect box = Changed(img);
    EXPECT_LE(std::abs(box.left() + box.right() + 1 - 2 * 150), 1) << box.left() << ".." << box.right();
    EXPECT_EQ(box.top(), 10);
    Image centred = testimages::Filled(300, 80, kGround);
    TextInfo asked = info;
    DrawStringEx(centred, 150, 10, &asked);
    EXPECT_TRUE(testimages::SamePixels(img, centred));

    info.backOpacity = 1.5f;
    info.align = -1;
    DrawStringEx(img, 150, 10, &info);
    EXPECT_EQ(info.backOpacity, 0.0f);
    EXPECT_EQ(info.align, 1);

    Image empty;
    EXPECT_EQ(DrawStringEx(empty, 0, 0, &info), -1);
}

TEST(TextDraw, BackgroundBoxIsSolidWithRoundedCornersAndTextInside) {
    TextInfo info = Record("Box", 0, true);
    info.backRound = 50;
    Image img = testimages::Filled(300, 120, kGround);
    img.AlphaCreate();
    ASSERT_EQ(DrawStringEx(img, 20, 30, &info, true), 1);
    const QRect box = Changed(img);
    EXPECT_EQ(box.topLeft(), QPoint(20, 30));
    const RGBQUAD back = Quad(info.backColor), ink = Quad(info.textColor);
    // Corners rounded off, edges at mid height and width painted.
    EXPECT_EQ(At(img, box.left(), box.top()), kGround);
    EXPECT_EQ(At(img, box.right(), box.bottom()), kGround);
    EXPECT_EQ(At(img, box.left(), box.center().y()), back);
    EXPECT_EQ(At(img, box.center().x(), box.top()), back);
    int inkPixels = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const RGBQUAD c = At(img, x, y);
            ASSERT_TRUE(c == back || c == ink || c == kGround) << x << "," << y;
            inkPixels += c == ink;
            // Written pixels become opaque when asked to set alpha.
            if (!(c == kGround)) {
                ASSERT_EQ(img.AlphaGet(x, static_cast<int>(img.GetHeight()) - 1 - y), 255) << x << "," << y;
            }
        }
    EXPECT_GT(inkPixels, 50);
}

TEST(TextDraw, BoxOpacityMixesInThePicture) {
    TextInfo info = Record("Mix", 0, true);
    info.backOpacity = 0.25f;
    Image img = testimages::Filled(200, 80, kGround);
    DrawStringEx(img, 5, 5, &info);
    const QRect box = Changed(img);
    const auto mix = [](int picture, int backPart) { return int(picture * 0.25f + backPart * 0.75f); };
    EXPECT_EQ(At(img, box.left(), box.center().y()),
              testimages::Colour(mix(200, 0x20), mix(100, 0x60), mix(50, 0)));
}

TEST(TextDraw, EveryKindOfLineBreakAddsALine) {
    int heights[3] = {};
    const char* texts[3] = {"Ag", "Ag\r\nAg", "Ag\rAg\nAg"};
    for (int i = 0; i < 3; ++i) {
        TextInfo info = Record(texts[i], 0, true);
        Image img = testimages::Filled(200, 250, kGround);
        DrawStringEx(img, 0, 0, &info);
        heights[i] = Changed(img).height();
    }
    EXPECT_GT(heights[1], heights[0]);
    EXPECT_EQ(heights[2] - heights[1], heights[1] - heights[0]);
}

TEST(TextDraw, TextIsReadInTheFontsCodePage) {
    // 0xF5 is o with double acute in Central European, o with tilde in Western.
    TextInfo central = Record("\xF5", 0, false), western = central;
    western.font.lfCharSet = 0;
    Image a = testimages::Filled(80, 60, kGround), b = a;
    DrawStringEx(a, 0, 0, &central);
    DrawStringEx(b, 0, 0, &western);
    EXPECT_FALSE(Changed(a).isEmpty());
    EXPECT_FALSE(testimages::SamePixels(a, b));
}

TEST(TextDraw, DrawStringWritesOnlyTextPixelsFromTheCorner) {
    Image img = testimages::Filled(200, 60, kGround);
    ASSERT_EQ(DrawString(img, 10, 5, QStringLiteral("Hello"), RGB(0, 0, 255), QStringLiteral("DejaVu Sans"), 24), 1);
    const QRect text = Changed(img);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 10);
    EXPECT_LT(text.left(), 14);
    EXPECT_GE(text.top(), 5);
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x) {
            const RGBQUAD c = At(img, x, y);
            ASSERT_TRUE(c == kGround || c == testimages::Colour(0, 0, 255)) << x << "," << y;
        }
}
