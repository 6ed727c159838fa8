// Drawing images to the device context, checked pixel by pixel against a
// reference written from the definition with the image's own accessors.
#include "ImageDraw.h"

#include <algorithm>
#include <optional>
#include <random>

#include <gtest/gtest.h>

#include "../imagelib/TestImages.h"

using namespace vimg;
using namespace vimg::display;

namespace {

// A device with a random picture on it, so blending and untouched pixels show.
std::unique_ptr<CDeviceContext> NoisyDevice(int w, int h, uint32_t seed) {
    auto dc = std::make_unique<CDeviceContext>(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) dc->SetPixel(x, y, QColor::fromRgb(rng() & 0xFFFFFF));
    return dc;
}

// What Draw must leave at every device pixel: the definition, one pixel at a
// time, with the image's checked accessors and its interpolating sampler.
QImage ReferenceDraw(const Image& img, QImage device, int x, int y, int cx, int cy, std::optional<QRect> clip,
                     bool smooth) {
    const int w = static_cast<int>(img.GetWidth()), h = static_cast<int>(img.GetHeight());
    if (cx < 0) cx = w;
    if (cy < 0) cy = h;
    QRect visible = QRect(x, y, cx, cy) & device.rect();
    if (clip) visible &= *clip;
    const bool blend = img.GetTransIndex() >= 0 || img.AlphaIsValid() || img.AlphaPaletteIsEnabled();
    const bool scaled = cx != w || cy != h;
    const float fx = float(w) / float(cx), fy = float(h) / float(cy);
    for (int dy = visible.top(); dy <= visible.bottom(); ++dy)
        for (int dx = visible.left(); dx <= visible.right(); ++dx) {
            const int ox = dx - x, oy = (y + cy - 1) - dy; // from the left, from the bottom
            const int sx = std::min(int(float(ox) * fx), w - 1), sy = std::min(int(float(oy) * fy), h - 1);
            RGBQUAD c = img.GetPixelColor(sx, sy, true);
            int level = img.AlphaIsValid() ? img.AlphaGet(sx, sy) : 255;
            if (smooth && scaled) {
                c = img.GetPixelColorInterpolated(float(ox) * fx - 0.5f, float(oy) * fy - 0.5f, Image::IM_BILINEAR,
                                                  Image::OM_REPEAT);
                if (img.AlphaIsValid()) level = c.rgbReserved;
            }
            int a = 255;
            if (blend) {
                a = level * (img.AlphaGetMax() + 1) >> 8;
                const uint8_t index = img.IsIndexed() ? img.GetPixelIndex(sx, sy) : 0;
                if (img.IsIndexed() && img.AlphaPaletteIsEnabled())
                    a = a * (img.GetPaletteColor(index).rgbReserved + 1) >> 8;
                const RGBQUAD t = img.GetTransColor();
                if (img.GetTransIndex() >= 0 &&
                    (img.IsIndexed() ? index == img.GetTransIndex()
                                     : (c.rgbRed == t.rgbRed && c.rgbGreen == t.rgbGreen && c.rgbBlue == t.rgbBlue)))
                    a = 0;
            }
            if (a == 0) continue;
            const QRgb d = device.pixel(dx, dy);
            const auto mix = [&](int back, int fore) { return (back * (255 - a) + fore * a) >> 8; };
            device.setPixel(dx, dy, a == 255 ? qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue)
                                             : qRgb(mix(qRed(d), c.rgbRed), mix(qGreen(d), c.rgbGreen),
                                                    mix(qBlue(d), c.rgbBlue)));
        }
    return device;
}

// Number of device pixels that differ, with the first few reported.
int Differences(const QImage& ours, const QImage& expected) {
    int bad = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            if (ours.pixel(x, y) != expected.pixel(x, y) && ++bad <= 3)
                ADD_FAILURE() << "device pixel (" << x << ", " << y << ") ours " << std::hex << ours.pixel(x, y)
                              << " expected " << expected.pixel(x, y);
    return bad;
}

struct Placement {
    int x, y, cx, cy;
    bool smooth;
    std::optional<QRect> clip;
};

// Draws `img` at each placement on a fresh noisy device and compares with the reference.
void ExpectDrawsAsDefined(const Image& img, const std::vector<Placement>& placements, int devW = 120, int devH = 90) {
    for (const Placement& p : placements) {
        const QImage before = NoisyDevice(devW, devH, 7)->Image().copy();
        CDeviceContext device(devW, devH);
        device.Painter().drawImage(0, 0, before);
        const QRect clip = p.clip.value_or(QRect());
        Draw(img, &device, p.x, p.y, p.cx, p.cy, p.clip ? &clip : nullptr, p.smooth);
        const QImage expected = ReferenceDraw(img, before, p.x, p.y, p.cx, p.cy, p.clip, p.smooth);
        EXPECT_EQ(Differences(device.Image(), expected), 0)
            << "bpp " << img.GetBpp() << " at " << p.x << "," << p.y << " size " << p.cx << "x" << p.cy
            << (p.smooth ? " smooth" : "") << (p.clip ? " clipped" : "");
    }
}

const std::vector<Placement> kPlacements = {
    {5, 4, -1, -1, false, {}},              // natural size
    {-6, -3, -1, -1, true, {}},             // natural size, partly off the device: smoothing has no say
    {2, 1, 111, 83, false, {}},             // enlarged, uneven factors
    {2, 1, 111, 83, true, {}},
    {-40, -25, 150, 120, true, QRect(10, 8, 50, 40)}, // enlarged beyond the device, clipped
    {30, 20, 17, 11, false, {}},            // reduced
    {30, 20, 17, 11, true, {}},
    {0, 0, 37 * 3, 29 * 3, true, QRect(0, 0, 60, 90)}, // whole-number zoom
};

} // namespace

TEST(ImageDraw, NothingIsDrawnWithoutSizeContextPictureOrPermission) {
    const Image img = testimages::Random(8, 6, 24, 1);
    CDeviceContext dc(20, 20, Qt::white);
    EXPECT_EQ(Draw(img, &dc, 0, 0, 0, 10), 0);
    EXPECT_EQ(Draw(img, &dc, 0, 0, 10, 0), 0);
    EXPECT_EQ(Draw(img, nullptr, 0, 0), 0);
    EXPECT_EQ(Draw(Image(), &dc, 0, 0), 0);
    EXPECT_EQ(Draw(img, &dc, 25, 0), 0) << "right of the device";
    const QRect elsewhere(15, 15, 5, 5);
    EXPECT_EQ(Draw(img, &dc, 0, 0, 8, 6, &elsewhere), 0) << "outside the clip rectangle";
    Image disabled(img);
    disabled.Enable(false);
    EXPECT_EQ(Draw(disabled, &dc, 0, 0), 0);
    EXPECT_EQ(Draw2(disabled, &dc, 0, 0), 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(dc.GetPixel(x, y), QColor(Qt::white)) << x << "," << y;
    EXPECT_EQ(Draw(img, &dc, 0, 0), 1);
    EXPECT_NE(dc.GetPixel(0, 0), QColor(Qt::white));
}

TEST(ImageDraw, TransparentColourLeavesTheDeviceVisible) {
    Image img = testimages::Random(10, 7, 24, 2);
    const RGBQUAD magenta = testimages::Colour(255, 0, 255);
    for (int i = 0; i < 10; ++i) img.SetPixelColor(i, i % 7, magenta);
    img.SetTransIndex(0);
    img.SetTransColor(magenta);
    CDeviceContext dc(12, 9, Qt::darkGreen);
    ASSERT_EQ(Draw(img, &dc, 1, 1), 1);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) {
            const RGBQUAD c = img.GetPixelColor(x, 6 - y);
            const QColor expected = c == magenta ? QColor(Qt::darkGreen) : QColor(c.rgbRed, c.rgbGreen, c.rgbBlue);
            EXPECT_EQ(dc.GetPixel(1 + x, 1 + y), expected) << x << "," << y;
        }
    // Draw2 masks the same colour.
    CDeviceContext masked(12, 9, Qt::darkGreen);
    ASSERT_EQ(Draw2(img, &masked, 1, 1), 1);
    EXPECT_EQ(masked.Image(), dc.Image());
}

TEST(ImageDraw, OpaquePicturesOfEveryDepthMatchTheDefinition) {
    for (uint32_t bpp : {1u, 4u, 8u, 24u}) ExpectDrawsAsDefined(testimages::Random(37, 29, bpp, 10 + bpp), kPlacements);
}

TEST(ImageDraw, AlphaPlaneAndAlphaMaximumBlendAsDefined) {
    Image img = testimages::Random(37, 29, 24, 3, true);
    ExpectDrawsAsDefined(img, kPlacements);
    img.AlphaSetMax(140);
    img.SetTransIndex(0);
    img.SetTransColor(img.GetPixelColor(3, 3, false));
    ExpectDrawsAsDefined(img, kPlacements);
}

TEST(ImageDraw, PaletteAlphaAndTransparentIndexBlendAsDefined) {
    for (uint32_t bpp : {1u, 4u, 8u}) {
        Image img = testimages::Random(37, 29, bpp, 20 + bpp);
        for (uint32_t i = 0; i < img.GetNumColors(); ++i) {
            RGBQUAD c = img.GetPaletteColor(static_cast<uint8_t>(i));
            c.rgbReserved = static_cast<uint8_t>(i * 97 + 31);
            img.SetPaletteColor(static_cast<uint8_t>(i), c);
        }
        img.AlphaPaletteEnable(true);
        img.SetTransIndex(1);
        ExpectDrawsAsDefined(img, kPlacements);
        Image withPlane = img;
        withPlane.AlphaCreate();
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 37; ++x) withPlane.AlphaSet(x, y, static_cast<uint8_t>(x * 7 + y * 3));
        ExpectDrawsAsDefined(withPlane, kPlacements);
    }
}

TEST(ImageDraw, LargeAreasSplitOverThreadsGiveTheSameResult) {
    // Enough visible pixels for the composition to run on several threads.
    ExpectDrawsAsDefined(testimages::Random(301, 257, 24, 5, true),
                         {{-13, -7, 650, 530, true, {}}, {3, 2, 380, 300, false, QRect(0, 0, 400, 290)}}, 400, 300);
    ExpectDrawsAsDefined(testimages::Random(301, 257, 8, 6), {{-13, -7, 650, 530, true, {}}}, 400, 300);
}

TEST(ImageDraw, StretchCombinesThroughTheRasterOperation) {
    const Image img = testimages::Random(9, 5, 8, 4);
    const QImage before = NoisyDevice(30, 20, 3)->Image().copy();
    CDeviceContext device(30, 20);
    device.Painter().drawImage(0, 0, before);
    ASSERT_EQ(Stretch(img, &device, 2, 3, 25, 14, SRCINVERT), 1);
    auto opaque = std::make_unique<CDeviceContext>(30, 20);
    Draw(img, opaque.get(), 2, 3, 25, 14);
    const QImage drawn = opaque->Image();
    const QImage& result = device.Image();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = QRect(2, 3, 25, 14).contains(x, y);
            const QRgb expected = inside ? (0xFF000000u | ((before.pixel(x, y) ^ drawn.pixel(x, y)) & 0xFFFFFF))
                                         : before.pixel(x, y);
            ASSERT_EQ(result.pixel(x, y), expected) << x << "," << y;
        }
    CDeviceContext anded(30, 20, QColor(0x0F, 0xF0, 0x3C));
    ASSERT_EQ(Stretch(img, &anded, QRect(0, 0, 30, 20), SRCAND), 1);
    auto plain = std::make_unique<CDeviceContext>(30, 20);
    Stretch(img, plain.get(), QRect(0, 0, 30, 20));
    EXPECT_EQ(anded.GetPixel(17, 11).rgb(), 0xFF000000u | (plain->GetPixel(17, 11).rgb() & 0x0FF03C));
}

TEST(ImageDraw, TileRepeatsFromTheCornerAndStopsAtTheRectangle) {
    const Image img = testimages::Random(3, 2, 24, 8);
    CDeviceContext dc(12, 10, Qt::black);
    ASSERT_EQ(Tile(img, &dc, QRect(1, 2, 8, 5)), 1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            QColor expected = Qt::black;
            if (QRect(1, 2, 8, 5).contains(x, y)) {
                const RGBQUAD c = img.GetPixelColor((x - 1) % 3, 1 - (y - 2) % 2);
                expected = QColor(c.rgbRed, c.rgbGreen, c.rgbBlue);
            }
            EXPECT_EQ(dc.GetPixel(x, y), expected) << x << "," << y;
        }
}
