// The histogram bar: grid geometry, linear and logarithmic curves, the
// buttons, caching in the document, and the live camera histogram.
#include <QCheckBox>
#include <QDockWidget>
#include <QPushButton>
#include <QMdiArea>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "HistogramBar.h"
#include "Image.h"
#include "KXCamera.h"
#include "MDIChildWnd.h"
#include "LiveHistogram.h"
#include "Resource.h"
#include "UserMessages.h"

namespace {

constexpr QRgb kRed = qRgb(222, 0, 0), kGreen = qRgb(0, 222, 0), kBlue = qRgb(0, 0, 222),
               kGrey = qRgb(64, 64, 64);

// A bar drawing `doc` (never in camera mode), `height` pixels high.
struct Bar {
    Bar(CKXViewDoc* doc, int height) {
        bar.m_activeDocument = [doc] { return doc; };
        bar.m_cameraMode = [] { return false; };
        bar.resize(270, height);
    }
    // Drawn with the histogram counted (a bar on screen counts it just after its first paint).
    QImage Picture() {
        if (CKXViewDoc* doc = bar.m_activeDocument()) doc->Histogram();
        return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    CHistogramBar bar;
};

// Pixels of `colour` below the buttons (whose icons have the curves' colours).
int CountColour(const QImage& picture, QRgb colour, int* highest = nullptr) {
    int n = 0;
    if (highest) *highest = picture.height();
    for (int y = 36; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour) {
                ++n;
                if (highest) *highest = std::min(*highest, y);
            }
    return n;
}

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(int* count) : m_count(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++*m_count;
        return false;
    }

private:
    int* m_count;
};

class HistogramBarTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(s.started);
        s.app->CloseAllDocuments();
    }
    // A document with a 24-bit picture of one colour.
    CKXViewDoc* OneColour(uint8_t r, uint8_t g, uint8_t b) {
        vimg::Image image(10, 10, 24);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) image.SetPixelColor(x, y, vimg::RGB(r, g, b));
        const std::string path = dir.file("one.bmp");
        image.Save(path.c_str(), vimg::FORMAT_BMP);
        return doctest::Open(s, QString::fromStdString(path));
    }
    testsupport::TempDir dir;
    apptest::StartedApp s{dir};
};

TEST(HistogramBarGeometry, HorizontalLinesEveryTenthOfTheHeightAndNoneBelowFiftyPixels) {
    EXPECT_EQ(CHistogramBar::HorizontalGridRows(140),
              (std::vector<int>{131, 121, 111, 101, 91, 81, 71, 61, 51, 41}));
    EXPECT_EQ(CHistogramBar::HorizontalGridRows(145).size(), 11u); // 10 × 10 < 105: k runs to 10
    for (int h : {0, 20, 39, 40, 45, 49}) EXPECT_TRUE(CHistogramBar::HorizontalGridRows(h).empty()) << h;
}

TEST(HistogramBarGeometry, LinearAndLogarithmicCurvesReachTheTopAtTheLargestCount) {
    std::array<long, 256> counts{};
    counts[0] = 0;
    counts[1] = 1;
    counts[2] = 999;
    counts[255] = 1000;
    for (int h : {100, 157, 333}) {
        const int y0 = h - 10, top = y0 - (h - 50);
        const QPolygon linear = CHistogramBar::Curve(counts.data(), 1000, h, false);
        ASSERT_EQ(linear.size(), 256);
        EXPECT_EQ(linear[0], QPoint(10, y0));
        EXPECT_EQ(linear[255], QPoint(265, top)) << h;
        EXPECT_EQ(linear[2].y(), static_cast<int>(std::trunc(y0 - 999.0 * (h - 50) / 1000))) << h;
        EXPECT_EQ(linear[1].y(), y0 - 1) << h; // a single count shows
        const QPolygon log = CHistogramBar::Curve(counts.data(), 1000, h, true);
        EXPECT_EQ(log[0].y(), y0) << h;
        EXPECT_EQ(log[255].y(), top) << h;
        EXPECT_EQ(log[1].y(), static_cast<int>(y0 - std::log10(2.0f) * (float(h - 50) / std::log10(1001.0f))))
            << h;
    }
}

TEST_F(HistogramBarTest, SingleColourDrawsFullHeightSpikesAndNothingElseAboveTheBaseline) {
    CKXViewDoc* doc = OneColour(200, 100, 50);
    ASSERT_TRUE(doc);
    Bar bar(doc, 200);
    const QImage picture = bar.Picture();
    EXPECT_EQ(doc->Histogram().Max(), 100); // counted once, kept in the document
    EXPECT_EQ(doc->Histogram().Red()[200], 100);
    const int y0 = 190, top = 40;
    EXPECT_EQ(picture.pixel(10 + 200, top), kRed);
    EXPECT_EQ(picture.pixel(10 + 100, top), kGreen);
    EXPECT_EQ(picture.pixel(10 + 50, top), kBlue);
    const int grey = (306 * 200 + 601 * 100 + 117 * 50) >> 10;
    EXPECT_EQ(picture.pixel(10 + grey, top), kGrey);
    // Zero elsewhere: along the baseline, away from the spikes.
    EXPECT_EQ(picture.pixel(10 + 20, y0), kGrey); // drawn last over the other three
    int highest = 0;
    CountColour(picture, kRed, &highest);
    EXPECT_EQ(highest, top);
    for (int y = top + 1; y < y0 - 1; ++y) EXPECT_NE(picture.pixel(10 + 150, y), kRed) << y;
}

TEST_F(HistogramBarTest, LogButtonAndChannelButtonsChooseWhatIsDrawn) {
    CKXViewDoc* doc = OneColour(10, 20, 30);
    ASSERT_TRUE(doc);
    Bar bar(doc, 180);
    // At first all four curves, though "gray" is not pressed.
    EXPECT_FALSE(bar.bar.Button(CHistogramBar::GRAY)->isChecked());
    QImage picture = bar.Picture();
    for (QRgb c : {kRed, kGreen, kBlue, kGrey}) EXPECT_GT(CountColour(picture, c), 0);

    bar.bar.show();
    QTest::mouseClick(bar.bar.Button(CHistogramBar::RED), Qt::LeftButton);
    QTest::mouseClick(bar.bar.Button(CHistogramBar::GREEN), Qt::LeftButton);
    QTest::mouseClick(bar.bar.Button(CHistogramBar::BLUE), Qt::LeftButton);
    QTest::mouseClick(bar.bar.Button(CHistogramBar::GRAY), Qt::LeftButton);
    EXPECT_FALSE(bar.bar.IsShown(CHistogramBar::RED));
    EXPECT_TRUE(bar.bar.IsShown(CHistogramBar::GRAY));
    picture = bar.Picture();
    EXPECT_EQ(CountColour(picture, kRed), 0);
    EXPECT_EQ(CountColour(picture, kGreen), 0);
    EXPECT_EQ(CountColour(picture, kBlue), 0);
    EXPECT_GT(CountColour(picture, kGrey), 200);

    QTest::mouseClick(bar.bar.LogBox(), Qt::LeftButton);
    EXPECT_TRUE(bar.bar.IsLogarithmic());
    int highest = 0;
    picture = bar.Picture();
    CountColour(picture, kGrey, &highest);
    EXPECT_EQ(highest, 40);
}

TEST_F(HistogramBarTest, BarUnderFiftyPixelsDrawsNoHorizontalLinesNorCurves) {
    CKXViewDoc* doc = OneColour(0, 0, 0);
    ASSERT_TRUE(doc);
    for (int h : {30, 45, 49}) {
        Bar bar(doc, h);
        const QImage picture = bar.Picture(); // returns: no endless grid loop
        EXPECT_EQ(CountColour(picture, kRed) + CountColour(picture, kGrey), 0) << h;
        // No dotted row: the frame's bottom line is the only long horizontal one.
        int longRows = 0;
        for (int y = 36; y < h; ++y) {
            int run = 0;
            for (int x = 30; x < 250; ++x) run += picture.pixel(x, y) != picture.pixel(2, 2);
            longRows += run > 100;
        }
        EXPECT_LE(longRows, 1) << h;
    }
}

TEST_F(HistogramBarTest, WithoutActiveDocumentOnlyTheBackgroundIsPainted) {
    Bar bar(nullptr, 200);
    const QImage picture = bar.Picture();
    const QRgb background = picture.pixel(5, 100);
    for (int y = 36; y < 200; ++y)
        for (int x = 0; x < 270; ++x) ASSERT_EQ(picture.pixel(x, y), background) << x << "," << y;
}

TEST_F(HistogramBarTest, APictureChangeDropsTheCountsAnnouncesItAndTheNextDrawingCountsAnew) {
    CKXViewDoc* doc = OneColour(5, 5, 5);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Histogram().Max(), 100);
    int announced = 0;
    QObject::connect(doc, &CKXViewDoc::HistogramChanged, [&announced] { ++announced; });
    doc->GetImage()->SetPixelColor(0, 0, vimg::RGB(255, 255, 255));
    doc->UpdateAllViews(nullptr, 0); // a repaint only: the picture is the same
    EXPECT_EQ(announced, 0);
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(doc->Histogram().Max(), 99);
    EXPECT_EQ(doc->Histogram().Red()[255], 1);
}

TEST_F(HistogramBarTest, SwitchingDocumentsRedrawsTheBarForTheActiveOne) {
    s.frame()->show();
    if (s.frame()->IsPaneClosed(IDD_HISTOGRAM)) s.frame()->ExecuteCommand(ID_VIEW_HISTOGRAM);
    CKXViewDoc* dark = OneColour(5, 5, 5);
    ASSERT_TRUE(dark);
    vimg::Image white(10, 10, 24);
    white.Clear(255);
    const std::string path = dir.file("white.bmp");
    ASSERT_TRUE(white.Save(path.c_str(), vimg::FORMAT_BMP));
    CKXViewDoc* light = doctest::Open(s, QString::fromStdString(path));
    ASSERT_TRUE(light);
    QWidget* bar = s.frame()->Pane(IDD_HISTOGRAM)->widget();
    int paints = 0;
    PaintCounter counter(&paints);
    bar->installEventFilter(&counter);
    for (CKXViewDoc* doc : {dark, light}) {
        paints = 0;
        s.frame()->MdiArea()->setActiveSubWindow(doc->FirstView()->GetParentFrame());
        ASSERT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 3000));
        // What it draws is the active document's: a bar of its own shows the same.
        Bar alone(doc, bar->height());
        alone.bar.resize(bar->size());
        EXPECT_EQ(bar->grab().toImage().convertToFormat(QImage::Format_RGB32), alone.Picture());
    }
}

// ---- live camera histogram ----

QImage RandomFrame(int w, int h, quint32 seed) {
    QImage frame(w, h, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) frame.setPixel(x, y, random.generate() | 0xff000000u);
    frame.setPixel(0, 0, qRgb(0, 255, 0));
    frame.setPixel(1, 0, qRgb(255, 255, 255));
    return frame;
}

TEST(LiveHistogram, CountsEqualThePixelByPixelDefinitionWithClippedEnds) {
    for (const QImage& frame :
         {RandomFrame(37, 23, 1), RandomFrame(64, 48, 2).convertToFormat(QImage::Format_RGB888)}) {
        LiveHistogramCounts expected;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const QRgb p = frame.pixel(x, y);
                ++expected.red[qRed(p)];
                ++expected.green[qGreen(p)];
                ++expected.blue[qBlue(p)];
                ++expected.gray[(306 * qRed(p) + 601 * qGreen(p) + 117 * qBlue(p)) >> 10];
            }
        const LiveHistogramCounts got = CLiveHistogram::Count(frame);
        EXPECT_EQ(got.red, expected.red);
        EXPECT_EQ(got.green, expected.green);
        EXPECT_EQ(got.blue, expected.blue);
        EXPECT_EQ(got.gray, expected.gray);
        EXPECT_EQ(got.clippedLow,
                  (std::array<long, 3>{expected.red[0], expected.green[0], expected.blue[0]}));
        EXPECT_EQ(got.clippedHigh,
                  (std::array<long, 3>{expected.red[255], expected.green[255], expected.blue[255]}));
        EXPECT_GE(got.clippedHigh[1], 2);
        long most = 0;
        for (const auto* a : {&expected.red, &expected.green, &expected.blue, &expected.gray})
            most = std::max(most, *std::max_element(a->begin(), a->end()));
        EXPECT_EQ(got.max, most);
    }
}

TEST(LiveHistogram, CountingThreadKeepsOnlyTheNewestWaitingFrame) {
    std::mutex mutex;
    std::vector<long> seen;
    {
        CLiveHistogram live([&](const LiveHistogramCounts& c) {
            std::lock_guard lock(mutex);
            seen.push_back(c.red[255]);
        });
        for (int i = 1; i <= 50; ++i) {
            QImage frame(i, 1, QImage::Format_RGB32);
            frame.fill(qRgb(255, 0, 0));
            live.Submit(frame);
        }
        QTest::qWaitFor([&] { return live.Counted() + live.Skipped() >= 50; }, 5000);
        EXPECT_EQ(live.Counted() + live.Skipped(), 50u);
    } // joins the thread
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 50); // the last frame is always counted
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

// The whole road in camera mode: frames the simulated camera shows at
// 1280 x 960 are counted and drawn, with the clipped counts above the curves.
TEST(LiveHistogramBar, FollowsTheSimulatedCameraPreview) {
    qputenv("VISTOREL_SIM_CAMERA_TYPE", "2");
    KXCamera_ReflashCamera();
    QWidget display;
    display.resize(320, 240);
    display.show();
    ASSERT_EQ(KXCameraInit(1, &display, nullptr), 1);
    KXCameraPlay();
    KXCameraDisplayEnable(1);
    CHistogramBar bar;
    bar.m_cameraMode = [] { return true; };
    bar.m_activeDocument = [] { return nullptr; };
    bar.resize(270, 240);
    EXPECT_EQ(bar.LiveCounts(), nullptr);
    bar.show();
    QTest::qWaitFor([&] { return bar.LiveUpdates() >= 3; }, 5000);
    const QImage picture = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    KXCameraUnInit();
    qunsetenv("VISTOREL_SIM_CAMERA_TYPE");
    KXCamera_ReflashCamera();

    ASSERT_GE(bar.LiveUpdates(), 3u);
    const LiveHistogramCounts* counts = bar.LiveCounts();
    ASSERT_TRUE(counts);
    long pixels = 0;
    for (long n : counts->red) pixels += n;
    EXPECT_EQ(pixels, 1280L * 960);
    EXPECT_EQ(counts->clippedLow[0], counts->red[0]);
    // Curves only below the band that holds the clipped counts.
    int highest = 0;
    EXPECT_GT(CountColour(picture, kRed, &highest), 20);
    EXPECT_GE(highest, CHistogramBar::kPlotTop + CHistogramBar::kClippedBand);
}

} // namespace
