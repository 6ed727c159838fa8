// Grey-level statistics of area shapes and the line profile, against numpy
// on a rendered microscope picture: the same pixels (centres inside the shape)
// and the same grey ((R + G + B) / 3) must give the same numbers.
#include <cmath>
#include <cstring>
#include <sstream>

#include <QImage>

#include <gtest/gtest.h>

#include "GreyStatistics.h"
#include "Image.h"
#include "SimPicture.h"
#include "TestSupport.h"

using kxvm::GreyStatistics;
using kxvm::MeasureObject;
using kxvm::ShapeKind;

namespace {

// numpy's reading of the rule, on the picture as Pillow decodes it.
constexpr const char* kScript = R"(
import sys, numpy as np
from PIL import Image
rgb = np.asarray(Image.open(sys.argv[1]).convert('RGB')).astype(np.float64)
grey = (rgb[:, :, 0] + rgb[:, :, 1] + rgb[:, :, 2]) / 3.0
h, w = grey.shape
cy, cx = np.mgrid[0:h, 0:w] + 0.5
def report(mask):
    v = grey[mask]
    print(v.size, repr(v.mean()), repr(v.std(ddof=1)), repr(v.min()), repr(v.max()), repr(v.sum()))
# rectangle (12.3, 40.6)-(230.8, 151.2)
report((cx >= 12.3) & (cx < 230.8) & (cy >= 40.6) & (cy < 151.2))
# ellipse in the box (300.2, 60.7)-(455.9, 170.4), reaching over the right edge in the second
for x0, y0, x1, y1 in ((300.2, 60.7, 455.9, 170.4), (580.3, 300.1, 700.7, 400.9)):
    a, b = abs(x1 - x0) / 2, abs(y1 - y0) / 2
    dx, dy = cx - (x0 + x1) / 2, cy - (y0 + y1) / 2
    report((dx * dx) / (a * a) + (dy * dy) / (b * b) <= 1.0)
# polygon, concave, even-odd crossing test at the centres
poly = [(50.2, 250.3), (260.7, 210.9), (180.4, 330.2), (300.6, 440.8), (70.9, 420.1)]
inside = np.zeros((h, w), dtype=bool)
j = len(poly) - 1
for i in range(len(poly)):
    (xi, yi), (xj, yj) = poly[i], poly[j]
    with np.errstate(divide='ignore', invalid='ignore'):
        cross = ((yi > cy) != (yj > cy)) & (cx < xi + (cy - yi) * (xj - xi) / (yj - yi))
    inside ^= cross
    j = i
report(inside)
)";

MeasureObject Shape(ShapeKind kind, std::vector<QPointF> points) {
    MeasureObject o;
    o.kind = kind;
    o.points = std::move(points);
    return o;
}

} // namespace

TEST(GreyStatistics, RectangleEllipseAndPolygonMatchNumpy) {
    if (testsupport::Run("/usr/bin/python3 -c 'import numpy, PIL' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "numpy or Pillow is not installed";
    testsupport::TempDir dir;
    QImage rendered;
    kxcam::SimPicture(QSize(640, 480)).Render(0, kxcam::SimPicture::Home(), rendered);
    const std::string path = dir.file("cells.bmp");
    ASSERT_TRUE(rendered.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path), "BMP"));
    vimg::Image picture;
    ASSERT_TRUE(picture.Load(path.c_str(), vimg::FORMAT_BMP));
    ASSERT_EQ(picture.GetBpp(), 24u);

    const std::vector<MeasureObject> shapes = {
        Shape(ShapeKind::Rectangle, {{230.8, 151.2}, {12.3, 40.6}}),
        Shape(ShapeKind::Ellipse, {{300.2, 60.7}, {455.9, 170.4}}),
        Shape(ShapeKind::Ellipse, {{580.3, 300.1}, {700.7, 400.9}}),
        Shape(ShapeKind::Polygon, {{50.2, 250.3}, {260.7, 210.9}, {180.4, 330.2}, {300.6, 440.8}, {70.9, 420.1}})};
    std::string out;
    testsupport::WriteFile(dir.file("grey.py"), std::vector<uint8_t>(kScript, kScript + std::strlen(kScript)));
    ASSERT_EQ(testsupport::Run("/usr/bin/python3 " + testsupport::Quote(dir.file("grey.py")) + " " +
                                   testsupport::Quote(path),
                               &out),
              0)
        << out;
    std::istringstream lines(out);
    for (const MeasureObject& shape : shapes) {
        int64_t count = 0;
        double mean = 0, sd = 0, lo = 0, hi = 0, sum = 0;
        ASSERT_TRUE(lines >> count >> mean >> sd >> lo >> hi >> sum) << out;
        const std::optional<GreyStatistics> s = GreyStatistics::Of(picture, shape);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->count, count) << static_cast<int>(shape.kind);
        EXPECT_NEAR(s->mean, mean, 1e-9 * std::fabs(mean));
        EXPECT_NEAR(s->stdDev, sd, 1e-9 * std::fabs(sd));
        EXPECT_DOUBLE_EQ(s->min, lo);
        EXPECT_DOUBLE_EQ(s->max, hi);
        EXPECT_NEAR(s->sum, sum, 1e-9 * std::fabs(sum));
        EXPECT_GT(s->stdDev, 1.0); // the shapes lie on structure, not on a flat background
    }
    // Lines and shapes beside the picture have no area statistics.
    EXPECT_FALSE(GreyStatistics::Of(picture, Shape(ShapeKind::Line, {{1, 1}, {50, 50}})));
    EXPECT_FALSE(GreyStatistics::Of(picture, Shape(ShapeKind::Rectangle, {{700, 10}, {800, 90}})));
}

TEST(GreyStatistics, TheLineProfileSamplesEveryPixelOfLengthBetweenCentres) {
    // A horizontal ramp whose channels differ: grey (R + G + B) / 3 = 3x + 2.
    vimg::Image picture(40, 10, 24);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            picture.SetPixelColor(x, y, vimg::RGBQUAD{uint8_t(3 * x + 6), uint8_t(3 * x), uint8_t(3 * x - 6 + 6), 0});
    // Along pixel centres of one row: exactly the pixels' grey values.
    const std::vector<double> profile = kxvm::LineProfile(picture, {2.5, 4.5}, {12.5, 4.5});
    ASSERT_EQ(profile.size(), 11u);
    for (size_t i = 0; i < profile.size(); ++i)
        EXPECT_NEAR(profile[i], 3.0 * static_cast<double>(i + 2) + 2.0, 1e-9) << i;
    // Halfway between centres, the mean of the two neighbours.
    EXPECT_NEAR(kxvm::LineProfile(picture, {3.0, 2.5}, {3.0, 7.5})[0], (3.0 * 2 + 2 + 3.0 * 3 + 2) / 2, 1e-9);
}
