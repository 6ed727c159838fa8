// Files the simulated camera writes through the capture road, stepped frame by
// frame: a five-second video that ffprobe reads, calibrated stills whose pixel size our reader,
// and ImageJ after a save as TIFF, get back, and a long exposure whose still carries, for exiftool,
// the exposure the countdown counted and the time its name gives.
#include <sstream>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "CameraLibrary.h"
#include "CameraTestSupport.h"
#include "CaptureTestSupport.h"
#include "CountdownBar.h"
#include "Image.h"
#include "ImageTypes.h"
#include "SimSettingsDialog.h"
#include "UserMessages.h"

using camtest::CaptureFrame;
using camtest::WaitFor;
using testsupport::Quote;

namespace {

class SimulatedCapture : public testing::Test {
protected:
    void SetUp() override { camtest::UseSimulatedCamera(2); }
    void TearDown() override {
        frame.reset();
        camtest::ResetLibrary();
    }
    // The simulated camera detected and previewing, its frames arriving.
    void Start() {
        frame = std::make_unique<CaptureFrame>(true);
        ASSERT_EQ(SendMessage(frame.get(), UM_DETECT_CAMERAS), MSG_DONE);
        ASSERT_EQ(SendMessage(frame.get(), UM_PREVIEW_START), MSG_DONE);
        ASSERT_TRUE(frames.Next(3));
        ASSERT_EQ(frame->Count(UM_CAMERA_FRAME), 3);
    }
    QStringList Files(const QString& pattern) const {
        return QDir(QString::fromStdString(frame->Folder())).entryList({pattern}, QDir::Files);
    }
    camtest::SteppedCameras frames;
    std::unique_ptr<CaptureFrame> frame;
};

TEST_F(SimulatedCapture, FiveSecondVideoHasEveryFrameAtTheCameraSize) {
    if (testsupport::Run("ffprobe -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffprobe is not installed";
    Start();
    ASSERT_EQ(SendMessage(frame.get(), UM_VIDEO_START), MSG_DONE);
    // Five seconds of frames, 40 ms apart, each handed to the encoder before the next comes.
    auto& library = kxcam::CameraLibrary::Instance();
    for (int i = 1; i <= 125; ++i) {
        ASSERT_TRUE(frames.Next());
        ASSERT_TRUE(WaitFor([&] { return library.FramesRecorded() == i; }));
    }
    ASSERT_EQ(SendMessage(frame.get(), UM_VIDEO_STOP), MSG_DONE);
    const QStringList videos = Files(QStringLiteral("KX_*.mov"));
    ASSERT_EQ(videos.size(), 1) << videos.join(' ').toStdString();
    const std::string file = frame->Folder() + videos[0].toStdString();
    std::string out;
    ASSERT_EQ(testsupport::Run("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                               "stream=width,height,nb_read_frames -show_entries format=duration -of "
                               "default=noprint_wrappers=1 " +
                                   Quote(file),
                               &out),
              0);
    const QSize size = library.ImageSize();
    EXPECT_NE(out.find("width=" + std::to_string(size.width()) + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("height=" + std::to_string(size.height()) + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("nb_read_frames=125\n"), std::string::npos) << out;
    const size_t at = out.find("duration=");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::stod(out.substr(at + 9)), 5.0, 0.05) << out;
}

TEST_F(SimulatedCapture, StillsCarryTheCalibrationAndImageJReadsItFromTiff) {
    Start();
    QString askedCamera;
    QSize askedSize;
    frame->capture->SetCalibration([&](const QString& camera, int width, int height) {
        askedCamera = camera;
        askedSize = QSize(width, height);
        return 2.5;
    });
    frame->capture->m_captureFormat = 1;
    ASSERT_EQ(SendMessage(frame.get(), UM_CAPTURE), MSG_DONE);
    const QString camera = QString::fromUtf8(KXCameraGetCameraID().name);
    EXPECT_EQ(askedCamera, camera);
    EXPECT_EQ(askedSize, kxcam::CameraLibrary::Instance().ImageSize());
    const QStringList stills = Files(QStringLiteral("KX_*.JPG"));
    ASSERT_EQ(stills.size(), 1);
    const std::string still = frame->Folder() + stills[0].toStdString();
    vimg::Image image;
    ASSERT_TRUE(image.Load(still.c_str(), vimg::FORMAT_JPG)) << image.GetLastError();
    EXPECT_NEAR(image.GetPixelSize(), 2.5, 1e-9);
    EXPECT_EQ(QString::fromUtf8(image.GetCameraName()), camera);

    const std::string tiff = frame->dir.file("calibrated.tif");
    image.SetCodecOption(5, vimg::FORMAT_TIF); // LZW: ImageJ reads no JPEG inside TIFF
    ASSERT_TRUE(image.Save(tiff.c_str(), vimg::FORMAT_TIF)) << image.GetLastError();
    if (testsupport::Run("test -r /usr/share/java/ij.jar && command -v java >/dev/null && command -v "
                         "xvfb-run >/dev/null") != 0)
        GTEST_SKIP() << "ImageJ, java or xvfb-run is not installed";
    const std::string macro = frame->dir.file("pixelsize.ijm");
    const std::string text = "open(getArgument());\ngetPixelSize(unit, pw, ph);\n"
                             "print(\"CALIBRATION \" + unit + \" \" + d2s(pw, 6) + \" \" + d2s(ph, 6));\n";
    testsupport::WriteFile(macro, std::vector<uint8_t>(text.begin(), text.end()));
    std::string out;
    testsupport::Run("timeout 60 xvfb-run -a java -jar /usr/share/java/ij.jar -batch " + Quote(macro) + " " +
                         Quote(tiff) + " 2>&1",
                     &out);
    EXPECT_NE(out.find("CALIBRATION \xC2\xB5m 2.500000 2.500000"), std::string::npos) << out;
}

TEST_F(SimulatedCapture, LongExposureStillCarriesTheExposureCountedDownAndItsTime) {
    if (testsupport::Run("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
    camtest::UseSimulatedCamera(10);
    Start();
    frame->capture->m_captureFormat = KXCAMERA_JPEG;
    // Two seconds, set in the camera's settings dialog: 50 units of 40 ms.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<kxcam::SimSettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(dialog->ExposureRows(), nullptr);
        dialog->ExposureRows()->setValue(50);
        EXPECT_EQ(dialog->ExposureSeconds()->text(), QStringLiteral("2.00 s"));
        dialog->accept();
    });
    KXCameraSetup1();
    auto& library = kxcam::CameraLibrary::Instance();
    const CaptureClock::TimePoint pressed = frame->clock.Now();
    ASSERT_EQ(SendMessage(frame.get(), UM_CAPTURE), MSG_DONE);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Capturing Time left :2 S"));
    // The camera's frames and the countdown's clock move on together, a second at a time.
    while (frame->capture->CountdownActive() && frame->clock.Now() - pressed < std::chrono::seconds(10)) {
        ASSERT_TRUE(frames.Next(25));
        frame->clock.Advance(std::chrono::seconds(1));
    }
    const double counted = std::chrono::duration<double>(frame->clock.Now() - pressed).count();
    EXPECT_NEAR(counted, 2.0, 1e-9);
    const double exposed = std::chrono::duration<double>(library.LastStillExposure()).count();
    EXPECT_NEAR(exposed, counted, 0.5);

    const QStringList stills = Files(QStringLiteral("KX_*.JPG"));
    ASSERT_EQ(stills, QStringList{QStringLiteral("KX_03_04_05_06_07.JPG")});
    std::string out;
    ASSERT_EQ(testsupport::Run("exiftool -s -s -s -n -ExposureTime -DateTimeOriginal -UserComment -Warning " +
                                   Quote(frame->Folder() + stills[0].toStdString()),
                               &out),
              0);
    std::istringstream lines(out);
    std::string exposure, taken, comment;
    std::getline(lines, exposure);
    std::getline(lines, taken);
    std::getline(lines, comment);
    std::string warning;
    EXPECT_FALSE(std::getline(lines, warning)) << "exiftool warns: " << warning;
    EXPECT_NEAR(std::stod(exposure), counted, 0.5) << out;
    EXPECT_EQ(taken, "2026:03:04 05:06:07") << out;
    EXPECT_EQ(comment, "Gain R 1.000 G 1.000 B 1.000") << out;

    // The exposure over, the preview shows live frames again.
    const qint64 held = library.CurrentFrame().cacheKey();
    ASSERT_TRUE(frames.Next());
    EXPECT_NE(library.CurrentFrame().cacheKey(), held);
    EXPECT_TRUE(frame->capture->CountdownBar()->isHidden());
    // The time handed in was for that still: the next one written directly carries its own.
    const std::string direct = frame->dir.file("direct");
    ASSERT_EQ(KXCameraCaptureFile(direct.c_str(), KXCAMERA_JPEG), 1);
    ASSERT_EQ(testsupport::Run("exiftool -s -s -s -DateTimeOriginal " + Quote(direct + ".JPG"), &out), 0);
    EXPECT_EQ(out.rfind(QDateTime::currentDateTime().toString(QStringLiteral("yyyy:")).toStdString(), 0), 0u)
        << out;
}

} // namespace
