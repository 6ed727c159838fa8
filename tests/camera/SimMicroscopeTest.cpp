// The simulated microscope: the render loop against the per-pixel definition,
// stage moves found back as picture shifts, focus sweeps peaking at the
// surface's depth, noise averaging away, long exposures as long as the
// program's countdown, and the stage driven by keys and by the stage file.
#include <cmath>

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "CameraLibrary.h"
#include "CameraTestSupport.h"
#include "KXCamera.h"
#include "SimCamera.h"
#include "SimPicture.h"
#include "SimSettingsDialog.h"
#include "SimSlide.h"
#include "SimStageScript.h"
#include "TestSupport.h"

using kxcam::CameraLibrary;
using kxcam::SimPicture;
using kxcam::SimSlide;
using kxcam::StagePosition;

namespace {

// The shift (dx, dy) that best maps patch `a` (w x w at ax, ay) onto `b`:
// b(x + dx, y + dy) = a(x, y), by brute-force search of the least absolute
// difference of the green channel within `range` of `guess`.
QPoint FindShift(const QImage& a, const QImage& b, int ax, int ay, int w, int range, QPoint guess = {}) {
    long best = -1;
    QPoint at;
    for (int dy = guess.y() - range; dy <= guess.y() + range; ++dy)
        for (int dx = guess.x() - range; dx <= guess.x() + range; ++dx) {
            long sad = 0;
            for (int y = 0; y < w && (best < 0 || sad < best); y += 2)
                for (int x = 0; x < w; x += 2)
                    sad +=
                        std::abs(qGreen(a.pixel(ax + x, ay + y)) - qGreen(b.pixel(ax + x + dx, ay + y + dy)));
            if (best < 0 || sad < best) {
                best = sad;
                at = {dx, dy};
            }
        }
    return at;
}

// Variance of the 4-neighbour Laplacian of the green channel over a square.
double Sharpness(const QImage& img, int x0, int y0, int w) {
    double sum = 0, sum2 = 0;
    for (int y = y0; y < y0 + w; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const double l = 4.0 * qGreen(img.pixel(x, y)) - qGreen(img.pixel(x - 1, y)) -
                             qGreen(img.pixel(x + 1, y)) - qGreen(img.pixel(x, y - 1)) -
                             qGreen(img.pixel(x, y + 1));
            sum += l;
            sum2 += l * l;
        }
    const double n = double(w) * w;
    return sum2 / n - (sum / n) * (sum / n);
}

// Standard deviation of a picture's green channel (or of `mean`, when given,
// instead) around a noiseless one over the middle half of the frame.
double Deviation(const QImage& clean, const QImage& noisy, const std::vector<double>* mean = nullptr) {
    double sum = 0, sum2 = 0;
    int n = 0;
    for (int y = clean.height() / 4; y < 3 * clean.height() / 4; ++y)
        for (int x = clean.width() / 4; x < 3 * clean.width() / 4; ++x) {
            const double v = mean ? (*mean)[size_t(y) * clean.width() + x] : qGreen(noisy.pixel(x, y));
            const double d = v - qGreen(clean.pixel(x, y));
            sum += d;
            sum2 += d * d;
            ++n;
        }
    return std::sqrt(sum2 / n - (sum / n) * (sum / n));
}

TEST(SimMicroscope, RenderEqualsThePerPixelDefinitionAtEveryResolution) {
    const SimSlide& specimen = SimSlide::Instance();
    StagePosition stage{900, 1700, 17.3};
    for (const QSize size : {QSize(640, 480), QSize(1280, 960), QSize(2048, 1536)}) {
        const SimPicture picture(size);
        QImage out;
        picture.Render(5, stage, out, false);
        const int32_t focus = static_cast<int32_t>(std::lround(stage.z * SimSlide::kDepthOne));
        for (int y = 0; y < size.height(); y += 3)
            for (int x = 0; x < size.width(); x += 3) {
                const int sx = picture.SpecimenColumn(stage, x);
                const int sy = picture.SpecimenRow(stage, y);
                const uint32_t code = SimPicture::Blend(std::abs(specimen.DepthFixed(sx, sy) - focus));
                const int l = int(code >> 9), wb = int(code & 511);
                const QRgb a = specimen.Level(l).pixel(sx, sy), b = specimen.Level(l + 1).pixel(sx, sy);
                const int v = picture.Vignette(x, y);
                auto channel = [&](int ca, int cb) {
                    return (((ca * (256 - wb) + cb * wb + 128) >> 8) * v + 128) >> 8;
                };
                const QRgb got = out.pixel(x, y);
                ASSERT_EQ(qRed(got), channel(qRed(a), qRed(b))) << x << "," << y << " of " << size.width();
                ASSERT_EQ(qGreen(got), channel(qGreen(a), qGreen(b)));
                ASSERT_EQ(qBlue(got), channel(qBlue(a), qBlue(b)));
            }
        stage.x += 333; // and a different field for the next size
    }
    // The stage cannot leave the specimen: a far position shows its edge.
    const StagePosition far = SimPicture::Clamped({-5000, 99999, 0});
    EXPECT_EQ(far.x, SimPicture::kFieldWidth / 2);
    EXPECT_EQ(far.y, SimSlide::kHeight - SimPicture::kFieldHeight / 2);
}

TEST(SimMicroscope, StageMovesShiftThePictureByAsManyPixels) {
    const StagePosition home = SimPicture::Home();
    // At 1280 x 960 a frame pixel is a specimen pixel; at 640 x 480 two.
    for (const auto& [size, scale] : {std::pair{QSize(1280, 960), 1}, std::pair{QSize(640, 480), 2}}) {
        const SimPicture picture(size);
        QImage before, after;
        picture.Render(1, home, before);
        const StagePosition moved{home.x + 38, home.y - 26, home.z};
        picture.Render(2, moved, after);
        const QPoint shift = FindShift(before, after, size.width() / 2 - 48, size.height() / 2 - 48, 96, 48);
        EXPECT_EQ(shift, QPoint(-38 / scale, 26 / scale)) << size.width();
    }
}

TEST(SimMicroscope, FocusSweepPeaksWhereTheSurfaceLiesInEachRegion) {
    const SimSlide& specimen = SimSlide::Instance();
    const SimPicture picture(QSize(1280, 960));
    const StagePosition stage{1000, 700, 0};
    // Two regions whose surfaces lie several micrometres apart; noiseless
    // frames, as the noise only adds the same amount at every focus.
    const QPoint regions[2] = {{200, 200}, {1000, 700}};
    double depth[2], peak[2];
    for (int r = 0; r < 2; ++r) {
        const QPoint c = regions[r] + QPoint(24, 24);
        depth[r] = specimen.Depth(picture.SpecimenColumn(stage, c.x()), picture.SpecimenRow(stage, c.y()));
    }
    ASSERT_GT(std::abs(depth[0] - depth[1]), 5.0);
    double best[2] = {-1, -1}, far[2] = {0, 0};
    for (double z = std::min(depth[0], depth[1]) - 12; z <= std::max(depth[0], depth[1]) + 12; z += 0.5) {
        QImage frame;
        picture.Render(0, {stage.x, stage.y, z}, frame, false);
        for (int r = 0; r < 2; ++r) {
            const double s = Sharpness(frame, regions[r].x(), regions[r].y(), 48);
            if (s > best[r]) {
                best[r] = s;
                peak[r] = z;
            }
            if (std::abs(z - depth[r] - 10) < 0.25) far[r] = s;
        }
    }
    for (int r = 0; r < 2; ++r) {
        EXPECT_NEAR(peak[r], depth[r], 1.5) << "region " << r;
        EXPECT_GT(best[r], 4 * far[r]) << "region " << r << " far " << far[r]; // 10 micrometres off: blurred
    }
}

TEST(SimMicroscope, NoiseFollowsTheSignalAndAveragesAwayWithTheRootOfTheFrames) {
    const SimPicture picture(QSize(640, 480));
    const StagePosition home = SimPicture::Home();
    QImage clean, frame;
    picture.Render(0, home, clean, false);
    // Shot noise: the deviation grows with the value as the Poisson law says.
    picture.Render(1, home, frame);
    double dev2[2] = {}, count[2] = {};
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const int v = qGreen(clean.pixel(x, y));
            if (v < 60 || v > 240) continue; // away from 0 and 255, where the noise is cut off
            const int band = v >= 150;
            const double d = qGreen(frame.pixel(x, y)) - v;
            const double expected = SimPicture::NoiseSigma(v);
            dev2[band] += d * d / (expected * expected);
            ++count[band];
        }
    for (int band = 0; band < 2; ++band) {
        ASSERT_GT(count[band], 1000);
        EXPECT_NEAR(std::sqrt(dev2[band] / count[band]), 1.0, 0.1) << "band " << band;
    }
    constexpr int N = 16;
    std::vector<double> mean(640 * 480, 0.0);
    for (int n = 0; n < N; ++n) {
        picture.Render(100 + n, home, frame);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                mean[size_t(y) * 640 + x] += qGreen(frame.pixel(x, y)) / double(N);
    }
    const double single = Deviation(clean, frame);
    EXPECT_GT(single, 1.5);
    EXPECT_NEAR(single / Deviation(clean, frame, &mean), std::sqrt(double(N)), 0.4);
}

// A camera that delivers only the frames a test hands the library.
class SilentCamera : public kxcam::CameraDevice {
public:
    explicit SilentCamera(int type) : m_type(type) {}
    KXCameraIdentity Identity() const override { return {0, m_type, "silent"}; }
    std::vector<kxcam::Resolution> Resolutions() const override { return {{QSize(640, 480), "640 x 480"}}; }
    bool Open(int) override { return true; }
    void Close() override {}
    bool Start(kxcam::FrameConsumer*) override { return true; }
    void Stop() override {}
    QSize FrameSize() const override { return {640, 480}; }
    void ShowSettings(int, QWidget*) override {}

private:
    int m_type;
};

// Makes `device` the library's only camera and opens it; returns it.
template <class Device> Device* Open(Device* device, int resolution = 0, QWidget* display = nullptr) {
    auto& lib = CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([device] {
        std::vector<std::unique_ptr<kxcam::CameraDevice>> list;
        list.emplace_back(device);
        return list;
    });
    lib.Refresh(); // takes the device, once
    lib.SetEnumerator({});
    lib.SetGains(128, 128, 128);
    EXPECT_EQ(KXCameraInit(static_cast<uint8_t>(resolution), display, nullptr), 1);
    return device;
}

SilentCamera* PlaySilentCamera(int type) {
    SilentCamera* camera = Open(new SilentCamera(type));
    KXCameraPlay();
    return camera;
}

TEST(SimMicroscope, LongExposureLastsTheCountdownsSecondsAndAveragesTheNoise) {
    auto& lib = CameraLibrary::Instance();
    const SimPicture picture(QSize(640, 480));
    QImage frame, clean;
    picture.Render(0, SimPicture::Home(), clean, false);
    // Type 10 starts the exposure itself, type 12 when the preview is cancelled.
    for (int type : {10, 12}) {
        PlaySilentCamera(type)->SetExposureRows(50);
        uint32_t exposure = 0;
        LEKXCameraGetExposureTime(&exposure);
        EXPECT_EQ(int64_t(exposure) * 40000 / 1000000, 2); // the program's countdown seconds
        picture.Render(0, SimPicture::Home(), frame);
        lib.OnFrame(frame, QByteArray(), kxcam::Clock::now()); // live
        const QImage live = lib.CurrentFrame();
        LEKXCameraPause();
        const kxcam::Clock::time_point t0 = kxcam::Clock::now();
        LEKXCameraCancelLongExposure(0);
        if (type == 10) LEKXCameraStartLongExpTime();
        // Frames every 40 ms on the library's clock, stamped as the device would.
        int delivered = 0;
        while (lib.CurrentFrame().cacheKey() == live.cacheKey() && delivered < 200) {
            ++delivered;
            picture.Render(delivered, SimPicture::Home(), frame);
            lib.OnFrame(frame, QByteArray(), t0 + delivered * std::chrono::milliseconds(40));
        }
        // The exposure ended with the first frame at or after 2 s from its start.
        EXPECT_GE(delivered, 50) << type;
        EXPECT_LE(delivered, 51) << type;
        const double single = Deviation(clean, frame);
        const double exposed = Deviation(clean, lib.CurrentFrame());
        // sqrt(50) ~ 7 less noise, less the rounding to whole levels (1/12).
        const double expected = std::sqrt(single * single / delivered + 1.0 / 12);
        EXPECT_NEAR(exposed, expected, 0.1 * expected) << type;
    }

    // A still asked for half way gets the 25 frames' mean, not the frame from before.
    PlaySilentCamera(10)->SetExposureRows(50);
    picture.Render(0, SimPicture::Home(), frame);
    lib.OnFrame(frame, QByteArray(), kxcam::Clock::now());
    LEKXCameraPause();
    const kxcam::Clock::time_point t0 = kxcam::Clock::now();
    LEKXCameraStartLongExpTime();
    for (int n = 1; n <= 25; ++n) {
        picture.Render(n, SimPicture::Home(), frame);
        lib.OnFrame(frame, QByteArray(), t0 + n * std::chrono::milliseconds(40));
    }
    testsupport::TempDir dir;
    ASSERT_EQ(KXCameraCaptureFile(dir.file("half").c_str(), KXCAMERA_BMP), 1); // writes what is shown
    const double single = Deviation(clean, frame);
    EXPECT_NEAR(Deviation(clean, lib.CurrentFrame()), std::sqrt(single * single / 25 + 1.0 / 12), 0.1 * single / 5);

    // The simulated types 10, 11 and 12 expose 4 s by default, and a reset goes back there.
    kxcam::SimCamera sim11(11);
    EXPECT_NEAR(
        CameraLibrary::LongExposureLength(11, sim11.ExposureRows(), sim11.RowTimeMicroseconds()).count() /
            1e6,
        4.77, 0.01);
    kxcam::SimCamera* sim10 = Open(new kxcam::SimCamera(10));
    uint32_t exposure = 0;
    LEKXCameraGetExposureTime(&exposure);
    EXPECT_EQ(exposure, 100u);
    sim10->SetExposureRows(7);
    LEKXCameraSetExposureTime(1);
    LEKXCameraGetExposureTime(&exposure);
    EXPECT_EQ(exposure, 100u);
    camtest::ResetLibrary();
}

TEST(SimMicroscope, StageFileCommandsApplyInOrderAndBadLinesStop) {
    StagePosition s = SimPicture::Home();
    const StagePosition home = s;
    ASSERT_TRUE(kxcam::SimStageScript::Apply("move 10 -5\n\n  turn 1.5\nmove 2 2\n", s));
    EXPECT_EQ(s, (StagePosition{home.x + 12, home.y - 3, home.z + 1.5}));
    ASSERT_TRUE(kxcam::SimStageScript::Apply("stage 1000 900\nfocus 12.25", s));
    EXPECT_EQ(s, (StagePosition{1000, 900, 12.25}));
    QString error;
    EXPECT_FALSE(kxcam::SimStageScript::Apply("move 5 5\nmove 5\nmove 5 5", s, &error));
    EXPECT_EQ(s, (StagePosition{1005, 905, 12.25}));
    EXPECT_NE(error.indexOf("move 5"), -1);
    EXPECT_FALSE(kxcam::SimStageScript::Apply("stage 1e300 0", s));
    EXPECT_FALSE(kxcam::SimStageScript::Apply("zoom 2", s));
}

// A running simulated camera whose device the test can reach.
class RunningMicroscope : public testing::Test {
protected:
    void Start(int type) {
        window.resize(700, 560);
        display = new QWidget(&window);
        display->resize(640, 480);
        window.show();
        camera = Open(new kxcam::SimCamera(type), 1, display); // 1280 x 960
        KXCameraPlay();
        KXCameraSetVideoMessage(1273);
        KXCameraDisplayEnable(1);
        ASSERT_TRUE(camtest::WaitFor([this] { return window.Count(1273) >= 2; }));
    }
    // The shown frame once `frames` more have arrived.
    QImage FrameAfter(int frames) {
        const int until = window.Count(1273) + frames;
        EXPECT_TRUE(camtest::WaitFor([&] { return window.Count(1273) >= until; }));
        return CameraLibrary::Instance().CurrentFrame();
    }
    void TearDown() override {
        camtest::ResetLibrary();
        qunsetenv("VISTOREL_SIM_STAGE_FILE");
    }

    camtest::RecordingWindow window;
    QWidget* display = nullptr;
    kxcam::SimCamera* camera = nullptr;
};

TEST_F(RunningMicroscope, ArrowAndPageKeysOnThePreviewMoveTheStageAndFocus) {
    Start(2);
    EXPECT_EQ(display->focusPolicy(), Qt::ClickFocus); // a click gives the picture the keys
    const StagePosition home = camera->Stage();
    const QImage before = FrameAfter(1);
    QTest::keyClick(display, Qt::Key_Right);
    QTest::keyClick(display, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(display, Qt::Key_PageDown);
    EXPECT_EQ(camera->Stage(), (StagePosition{home.x + 128, home.y + 12, home.z + 2}));
    const QImage after = FrameAfter(2);
    EXPECT_EQ(FindShift(before, after, 600, 400, 96, 8, {-128, -12}), QPoint(-128, -12));
}

TEST_F(RunningMicroscope, TheStageFileMovesTheLivePicture) {
    testsupport::TempDir dir;
    const QString file = QString::fromStdString(dir.file("stage"));
    qputenv("VISTOREL_SIM_STAGE_FILE", file.toUtf8());
    Start(2);
    const StagePosition home = camera->Stage();
    const QImage before = FrameAfter(1);
    {
        QFile out(file + ".new");
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("move -21 17\n");
    }
    ASSERT_TRUE(QFile::rename(file + ".new", file));
    ASSERT_TRUE(camtest::WaitFor([&] { return !QFile::exists(file); }));
    EXPECT_EQ(camera->Stage(), (StagePosition{home.x - 21, home.y + 17, home.z}));
    const QImage after = FrameAfter(2);
    EXPECT_EQ(FindShift(before, after, 600, 400, 96, 24), QPoint(21, -17));
}

TEST(SimMicroscope, SettingsDialogShowsStageFocusAndTheExposureInSeconds) {
    kxcam::SimCamera camera(10);
    const StagePosition home = camera.Stage();
    {
        kxcam::SimSettingsDialog dialog(1, &camera);
        ASSERT_NE(dialog.ExposureRows(), nullptr); // a long-exposure type
        EXPECT_EQ(dialog.RowTime(), nullptr);      // type 10 counts exposure units only
        EXPECT_EQ(dialog.ExposureSeconds()->text(), QStringLiteral("4.00 s"));
        dialog.ExposureRows()->setValue(50);
        EXPECT_EQ(dialog.ExposureSeconds()->text(), QStringLiteral("2.00 s"));
        dialog.StageX()->setValue(home.x + 100); // the picture follows at once
        dialog.Focus()->setValue(home.z - 3);
        EXPECT_EQ(camera.Stage().x, home.x + 100);
        EXPECT_NEAR(camera.Stage().z, home.z - 3, 0.005); // to the field's two decimals
        // German buttons, and room for every text and the title.
        QStringList texts;
        for (auto* b : dialog.findChildren<QPushButton*>())
            texts << b->text();
        EXPECT_TRUE(texts.contains("OK") && texts.contains("Abbrechen") && !texts.contains("Cancel"))
            << texts.join(",").toStdString();
        dialog.show();
        EXPECT_GT(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 100);
        for (auto* b : dialog.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << b->text().toStdString();
        dialog.reject();
    }
    EXPECT_EQ(camera.Stage(), home); // cancelled: back where it was
    EXPECT_EQ(camera.ExposureRows(), 100u);
    kxcam::SimSettingsDialog dialog(1, &camera);
    dialog.ExposureRows()->setValue(50);
    dialog.accept();
    EXPECT_EQ(camera.ExposureRows(), 50u);
    kxcam::SimCamera plain(2);
    EXPECT_EQ(kxcam::SimSettingsDialog(1, &plain).ExposureRows(), nullptr);
}

} // namespace
