#include <cmath>
#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include "CameraLibrary.h"
#include "CameraTestSupport.h"
#include "KXCamera.h"
#include "SimCamera.h"
#include "SimPicture.h"
#include "SimSettingsDialog.h"
#include "TestSupport.h"

using camtest::Mean;
using camtest::RecordingWindow;
using camtest::WaitFor;
using kxcam::CameraLibrary;

namespace {

constexpr UINT kFrameMessage = 1273;

// A started simulated camera drawing into a display inside a message window,
// stepped frame by frame.
class RunningCamera : public testing::Test {
protected:
    void Start(int type, int resolution) {
        camtest::UseSimulatedCamera(type);
        window.resize(700, 560);
        display = new QWidget(&window);
        display->resize(640, 480);
        window.show();
        ASSERT_EQ(KXCameraInit(static_cast<uint8_t>(resolution), display, nullptr), 1);
        KXCameraPlay();
        KXCameraSetVideoMessage(kFrameMessage);
        KXCameraDisplayEnable(1);
        ASSERT_TRUE(frames.Next(2));
        ASSERT_EQ(window.Count(kFrameMessage), 2);
    }
    void TearDown() override { camtest::ResetLibrary(); }
    CameraLibrary& lib() { return CameraLibrary::Instance(); }

    camtest::SteppedCameras frames;
    RecordingWindow window;
    QWidget* display = nullptr;
};

TEST(SimPicture, SameFrameAndStageGiveTheSamePictureOnlyTheStageMovesIt) {
    const kxcam::SimPicture picture(QSize(640, 480));
    const kxcam::StagePosition home = kxcam::SimPicture::Home();
    kxcam::StagePosition moved = home;
    moved.x += 200;
    QImage a, b, c, d;
    picture.Render(17, home, a);
    picture.Render(17, home, b);
    picture.Render(30, home, c);
    picture.Render(17, moved, d);
    ASSERT_EQ(a.size(), QSize(640, 480));
    EXPECT_EQ(a, b);
    // Without a stage move only the noise differs; a move changes the picture.
    int noisy = 0, changed = 0;
    for (int y = 0; y < 480; y += 8)
        for (int x = 0; x < 640; x += 8) {
            noisy += std::abs(qGreen(a.pixel(x, y)) - qGreen(c.pixel(x, y))) > 20;
            changed += std::abs(qGreen(a.pixel(x, y)) - qGreen(d.pixel(x, y))) > 20;
        }
    EXPECT_LT(noisy, 10); // of 4800 samples
    EXPECT_GT(changed, 600);
    // Bright field and dark stained nuclei both appear.
    int dark = 0, bright = 0;
    for (int y = 0; y < 480; y += 4)
        for (int x = 0; x < 640; x += 4) {
            const int v = qGray(a.pixel(x, y));
            dark += v < 120;
            bright += v > 180;
        }
    EXPECT_GT(dark, 100);
    EXPECT_GT(bright, 2000);
}

TEST(CameraGains, RowLoopEqualsThePerPixelDefinitionAndClamps) {
    const kxcam::SimPicture picture(QSize(64, 48));
    QImage in;
    picture.Render(3, kxcam::SimPicture::Home(), in);
    const int gains[3] = {255, 100, 200};
    const QImage out = CameraLibrary::ApplyGains(in, gains);
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const QRgb s = in.pixel(x, y);
            const QRgb d = out.pixel(x, y);
            EXPECT_EQ(qRed(d), std::min(255, (qRed(s) * 255 + 64) / 128));
            EXPECT_EQ(qGreen(d), std::min(255, (qGreen(s) * 100 + 64) / 128));
            ASSERT_EQ(qBlue(d), std::min(255, (qBlue(s) * 200 + 64) / 128));
        }
}

TEST(CameraLibraryIdentity, NoCameraReportsTypeMinusOneAndFillsNothing) {
    camtest::UseNoCamera();
    EXPECT_EQ(KXCameraGetCameraID().type, -1);
    QComboBox list;
    KXCamera_Registerpixel(&list);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(KXCameraInit(1, nullptr, nullptr), 0);
    int w = 640, h = 480;
    KXCameraGetImageSize(&w, &h);
    EXPECT_EQ(w, 640); // untouched without a camera
    EXPECT_EQ(h, 480);
    camtest::ResetLibrary();
}

TEST(CameraLibraryIdentity, SelectNoneAndTheSimulatedTypesResolutionLists) {
    camtest::UseSimulatedCamera(0);
    KXCameraIdentity id = KXCameraGetCameraID();
    EXPECT_EQ(id.type, 0);
    QComboBox list;
    KXCamera_Registerpixel(&list);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.itemText(2), QStringLiteral("1280 x 960"));
    EXPECT_EQ(KXCameraInit(0, nullptr, nullptr), 0); // the placeholder entry cannot start
    EXPECT_EQ(KXCameraInit(9, nullptr, nullptr), 0);
    EXPECT_EQ(KXCameraInit(1, nullptr, nullptr), 1);
    int w = 0, h = 0;
    KXCameraGetImageSize(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    KXCamera_SetCamera(-1);
    EXPECT_EQ(KXCameraGetCameraID().type, -1);
    list.clear();
    KXCamera_Registerpixel(&list);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(KXCameraInit(1, nullptr, nullptr), 0);
    // The opened camera stayed open: found again, it plays without a new init.
    KXCamera_ReflashCamera();
    EXPECT_EQ(KXCameraGetCameraID().type, 0);
    EXPECT_TRUE(CameraLibrary::Instance().IsOpen());
    KXCameraUnInit();
    KXCamera_SetCamera(-1);
    EXPECT_EQ(KXCameraGetCameraID().type, -1);
    KXCamera_SetCamera(3); // no USB camera: the simulated one is taken
    EXPECT_EQ(KXCameraGetCameraID().type, 0);

    camtest::UseSimulatedCamera(14);
    list.clear();
    KXCamera_Registerpixel(&list);
    EXPECT_EQ(list.count(), 3);
    id = KXCameraGetCameraID();
    EXPECT_EQ(id.type, 14);
    EXPECT_NE(std::string(id.name).find("14"), std::string::npos);
    camtest::ResetLibrary();
}

TEST(CameraLibraryIdentity, EnvironmentChoosesTheSimulatedType) {
    camtest::ResetLibrary();
    qputenv("VISTOREL_SIM_CAMERA_TYPE", "11");
    KXCamera_ReflashCamera();
    EXPECT_EQ(KXCameraGetCameraID().type, 11); // listed first whatever else is attached
    qunsetenv("VISTOREL_SIM_CAMERA_TYPE");
    camtest::ResetLibrary();
}

TEST_F(RunningCamera, FramesAreAnnouncedToTheWindowAroundTheDisplayAndDrawn) {
    Start(2, 1);
    int w = 640, h = 480;
    KXCameraGetImageSize(&w, &h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 960);
    const int before = window.Count(kFrameMessage);
    ASSERT_TRUE(frames.Next(12));
    EXPECT_EQ(window.Count(kFrameMessage) - before, 12); // each frame once
    for (size_t i = 1; i < window.params.size(); ++i) ASSERT_GT(window.params[i], window.params[i - 1]);
    // The display shows the camera's picture, not its own empty face.
    const QImage shown = display->grab().toImage();
    EXPECT_GT(Mean(shown).g, 100);
    KXCameraStop();
    const int atStop = window.Count(kFrameMessage);
    EXPECT_FALSE(frames.Next()); // stopped: no camera delivers
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Count(kFrameMessage), atStop);
    EXPECT_TRUE(lib().CurrentFrame().isNull());
}

TEST_F(RunningCamera, GainsTintAndAutomaticWhiteBalanceNeutralisesTheCast) {
    Start(2, 0);
    const auto warm = Mean(lib().CurrentFrame());
    EXPECT_GT(warm.r / warm.b, 1.3); // the simulated light is warm

    KXCameraSetGain(128, 128, 255);
    ASSERT_TRUE(frames.Next());
    EXPECT_GT(Mean(lib().CurrentFrame()).b, warm.b * 1.6);

    // The balance is worked out from the next frame, which already shows it.
    KXCameraSetAWBState(1);
    ASSERT_TRUE(frames.Next());
    int r = 0, g = 0, b = 0;
    KXCameraGetGain(&r, &g, &b);
    EXPECT_LT(r, 128);
    EXPECT_GT(b, 140); // the warm light is taken out; the pink stain keeps blue from rising further
    EXPECT_LT(b, 255);
    const auto neutral = Mean(lib().CurrentFrame());
    EXPECT_NEAR(neutral.r / neutral.g, 1.0, 0.03);
    EXPECT_NEAR(neutral.b / neutral.g, 1.0, 0.03);
}

TEST_F(RunningCamera, StillsMatchTheShownFrameInEveryFormat) {
    Start(2, 0);
    LEKXCameraPause(); // the shown frame stays while the files are written
    ASSERT_TRUE(frames.Next());
    const QImage frame = lib().CurrentFrame();
    testsupport::TempDir dir;
    const std::string base = dir.file("still");
    for (uint8_t format : {KXCAMERA_BMP, KXCAMERA_JPEG, KXCAMERA_RAW})
        EXPECT_EQ(KXCameraCaptureFile(base.c_str(), format), 1);
    EXPECT_EQ(KXCameraCaptureFile(base.c_str(), 3), 0);
    EXPECT_FALSE(std::filesystem::exists(base + ".part"));

    int w = 0, h = 0;
    const std::vector<uint8_t> bmp = testsupport::ReferenceRGBA(base + ".BMP", &w, &h);
    ASSERT_EQ(w, 640);
    ASSERT_EQ(h, 480);
    for (int y = 0; y < h; y += 7)
        for (int x = 0; x < w; x += 5) {
            const QRgb p = frame.pixel(x, y);
            const uint8_t* q = &bmp[(static_cast<size_t>(y) * w + x) * 4];
            ASSERT_EQ(q[0], qRed(p));
            ASSERT_EQ(q[1], qGreen(p));
            ASSERT_EQ(q[2], qBlue(p));
        }
    const std::vector<uint8_t> jpg = testsupport::ReferenceRGBA(base + ".JPG", &w, &h);
    ASSERT_EQ(w, 640);
    double err = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            err += std::abs(jpg[(static_cast<size_t>(y) * w + x) * 4 + 1] - qGreen(frame.pixel(x, y)));
    EXPECT_LT(err / (w * h), 4.0);
    const std::vector<uint8_t> raw = testsupport::ReadFile(base + ".RAW");
    ASSERT_EQ(raw.size(), 640u * 480 * 3);
    EXPECT_EQ(raw[0], qBlue(frame.pixel(0, 0))); // gains are at unity: raw equals shown
    EXPECT_EQ(raw[3 * 641 + 2], qRed(frame.pixel(1, 1)));
}

TEST_F(RunningCamera, LongExposureShowsOneMeanFrameAndRefreshGoesLive) {
    Start(14, 0);
    lib().SetGains(128, 128, 128);
    uint32_t rows = 0, rowTime = 0;
    LEKXCameraGetExposureTime(&rows);
    LEKXCameraGetRowTime(&rowTime);
    EXPECT_GT(rows * rowTime, 0u);
    LEKXCameraCancelLongExposure(0);
    LEKXCameraPause();
    const int paused = window.Count(kFrameMessage);
    ASSERT_TRUE(frames.Next(5));
    EXPECT_EQ(window.Count(kFrameMessage), paused);
    const QImage before = lib().CurrentFrame();
    LEKXCameraStartLongExpTime();
    // 1.5 s by default: the frames of 1.5 s are gathered, then their mean is shown once.
    const int exposureFrames = static_cast<int>((rows * rowTime / 1000 + 39) / 40);
    ASSERT_EQ(exposureFrames, 38);
    ASSERT_TRUE(frames.Next(exposureFrames - 1));
    EXPECT_EQ(window.Count(kFrameMessage), paused);
    EXPECT_EQ(lib().CurrentFrame(), before);
    ASSERT_TRUE(frames.Next());
    EXPECT_EQ(window.Count(kFrameMessage), paused + 1);
    EXPECT_NE(lib().CurrentFrame(), before);
    ASSERT_TRUE(frames.Next(5)); // held
    EXPECT_EQ(window.Count(kFrameMessage), paused + 1);
    LEKXCameraCancelLongExposure(1);
    ASSERT_TRUE(frames.Next(3));
    EXPECT_EQ(window.Count(kFrameMessage), paused + 4);
}

TEST_F(RunningCamera, VideosPlayAtRealSpeedInBothContainers) {
    Start(2, 0);
    testsupport::TempDir dir;
    for (auto codec : {kxcam::VideoRecorder::Codec::MotionJpegMov, kxcam::VideoRecorder::Codec::H264Mp4}) {
        lib().SetCodec(codec);
        const std::string base =
            dir.file(codec == kxcam::VideoRecorder::Codec::H264Mp4 ? "clip264" : "clipmjpeg");
        ASSERT_EQ(KXCameraStartRecord(base.c_str(), 12, 1), 1);
        // 1.2 s of frames, each handed to the encoder before the next comes.
        for (int i = 1; i <= 30; ++i) {
            ASSERT_TRUE(frames.Next());
            ASSERT_TRUE(WaitFor([&] { return lib().FramesRecorded() == i; }));
        }
        KXCameraStopRecord();
        const std::string file = base + kxcam::VideoRecorder::Extension(codec).toStdString();
        ASSERT_TRUE(std::filesystem::exists(file));
        EXPECT_FALSE(std::filesystem::exists(file + ".part"));
        std::string out;
        ASSERT_EQ(testsupport::Run(
                      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                      "stream=codec_name,width,height,nb_read_frames:format=duration -of default=nw=1 " +
                          testsupport::Quote(file),
                      &out),
                  0);
        EXPECT_NE(
            out.find(codec == kxcam::VideoRecorder::Codec::H264Mp4 ? "codec_name=h264" : "codec_name=mjpeg"),
            std::string::npos)
            << out;
        EXPECT_NE(out.find("width=640"), std::string::npos);
        const auto at = out.find("duration=");
        ASSERT_NE(at, std::string::npos);
        const double duration = std::stod(out.substr(at + 9));
        EXPECT_NEAR(duration, 1.2, 0.05) << out;
        const auto count = out.find("nb_read_frames=");
        ASSERT_NE(count, std::string::npos);
        EXPECT_EQ(std::stoi(out.substr(count + 15)), 30) << out;
    }
    EXPECT_EQ(KXCameraStartRecord(nullptr, 12, 1), 0);
}

TEST(CameraLibraryDialogs, CodecChoiceAndTheSimulatedCamerasSettings) {
    camtest::UseSimulatedCamera(2);
    auto& lib = CameraLibrary::Instance();
    lib.SetCodec(kxcam::VideoRecorder::Codec::MotionJpegMov);
    // Pick H.264 in the dialog KXCameraCodeChoose opens, then OK; a second time cancel.
    auto answer = [](bool accept) {
        QTimer::singleShot(0, [accept] { // runs inside the dialog's own event loop
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const auto radios = dialog->findChildren<QRadioButton*>();
            ASSERT_EQ(radios.size(), 2);
            radios[1]->setChecked(true);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(true);
    KXCameraCodeChoose();
    EXPECT_EQ(lib.Codec(), kxcam::VideoRecorder::Codec::H264Mp4);
    lib.SetCodec(kxcam::VideoRecorder::Codec::MotionJpegMov);
    answer(false);
    KXCameraCodeChoose();
    EXPECT_EQ(lib.Codec(), kxcam::VideoRecorder::Codec::MotionJpegMov);

    kxcam::SimCamera camera(14);
    KXCameraSetGain(100, 110, 120);
    {
        kxcam::SimSettingsDialog gains(1, &camera);
        EXPECT_EQ(gains.GainSlider(2)->value(), 120);
        gains.GainSlider(0)->setValue(200); // applied while the slider moves
        int r = 0, g = 0, b = 0;
        KXCameraGetGain(&r, &g, &b);
        EXPECT_EQ(r, 200);
        gains.reject();
        KXCameraGetGain(&r, &g, &b);
        EXPECT_EQ(r, 100); // put back
    }
    kxcam::SimSettingsDialog exposure(2, &camera);
    exposure.ExposureRows()->setValue(4000);
    exposure.RowTime()->setValue(250);
    exposure.accept();
    EXPECT_EQ(camera.ExposureRows(), 4000u);
    EXPECT_EQ(camera.RowTimeMicroseconds(), 250u);
    camtest::ResetLibrary();
}

} // namespace
