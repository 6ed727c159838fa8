#include "CameraTestSupport.h"

#include <algorithm>

#include <QCoreApplication>

#include "CameraLibrary.h"
#include "FakeCameraCalls.h"
#include "KXCamera.h"
#include "SimCamera.h"

namespace camtest {

void UseSimulatedCamera(int type) {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([type] {
        std::vector<std::unique_ptr<kxcam::CameraDevice>> list;
        list.push_back(std::make_unique<kxcam::SimCamera>(type));
        return list;
    });
    lib.Refresh();
    lib.SetGains(128, 128, 128);
}

void UseNoCamera() {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([] { return std::vector<std::unique_ptr<kxcam::CameraDevice>>(); });
    lib.Refresh();
}

void ResetLibrary() {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator({});
    lib.SetGains(128, 128, 128);
    // The library's default codec: a test that chose another does not leave it to the next.
    lib.SetCodec(kxcam::VideoRecorder::Codec::MotionJpegMov);
}

SteppedCameras::SteppedCameras() {
    kxcam::SimCamera::SetStepped(true);
    kxcam::CameraLibrary::Instance().SetClock([this] { return now; });
}

SteppedCameras::~SteppedCameras() {
    kxcam::SimCamera::SetStepped(false);
    kxcam::CameraLibrary::Instance().SetClock({});
}

bool SteppedCameras::Next(int frames) {
    for (int i = 0; i < frames; ++i) {
        now += kFrameTime;
        if (kxcam::SimCamera::Step(now) == 0) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

int RecordingWindow::Count(UINT message) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

MeanColour Mean(const QImage& image) {
    MeanColour m;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    double n = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            m.r += qRed(p);
            m.g += qGreen(p);
            m.b += qBlue(p);
            ++n;
        }
    if (n > 0) {
        m.r /= n;
        m.g /= n;
        m.b /= n;
    }
    return m;
}

} // namespace camtest

namespace camtest {

TestFrame::TestFrame() : control(std::make_unique<CCameraControl>(this, this, notWin2000)) {
    auto calls = std::make_unique<FakeCameraCalls>();
    fake = calls.get();
    fake->calls = &this->calls;
    control->SetCalls(std::move(calls));
    control->SetSleep([this](int ms) {
        sleeps.push_back(ms);
        this->calls.push_back("sleep " + std::to_string(ms));
    });
    control->SetErrorReporter([this](const QString& text) { errors.push_back(text); });
}

LRESULT TestFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    messages.push_back(message);
    LRESULT result = 0;
    control->HandleMessage(message, wParam, lParam, &result);
    return result;
}

int TestFrame::Count(UINT message) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

} // namespace camtest
