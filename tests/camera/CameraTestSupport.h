// Helpers for the camera tests: the library on a chosen simulated camera,
// a message window that records what reaches it, and mean colours.
#pragma once

#include <vector>

#include <QImage>
#include <QWidget>

#include "CameraDevice.h"
#include "MessageTarget.h"

namespace camtest {

// Makes the library list exactly one simulated camera of `type`.
void UseSimulatedCamera(int type);
// Lists no camera at all.
void UseNoCamera();
// Back to the real list and the default codec; stops and releases whatever runs.
void ResetLibrary();

// While it lives, simulated cameras started deliver frames only when Next is
// called, a frame every 40 ms of a clock that the library's long exposures go
// by too: tests count, time and record frames without waiting for them.
class SteppedCameras {
public:
    SteppedCameras();
    ~SteppedCameras();
    SteppedCameras(const SteppedCameras&) = delete;
    SteppedCameras& operator=(const SteppedCameras&) = delete;
    // Delivers the next `frames` frames of the started camera, handling the
    // events each one causes; false when no simulated camera runs.
    bool Next(int frames = 1);

    static constexpr std::chrono::milliseconds kFrameTime{40};
    kxcam::Clock::time_point now = kxcam::Clock::time_point(std::chrono::hours(1));
};

// A window that records the numbered messages sent or posted to it.
class RecordingWindow : public QWidget, public CMessageTarget {
public:
    explicit RecordingWindow(QWidget* parent = nullptr) : QWidget(parent) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
        messages.push_back(message);
        params.push_back(wParam);
        return 0;
    }
    int Count(UINT message) const;
    std::vector<UINT> messages;
    std::vector<WPARAM> params;
};

struct MeanColour {
    double r = 0, g = 0, b = 0;
};
MeanColour Mean(const QImage& image);

// Waits (serving events) until `done` holds or `ms` pass; returns `done()`.
template <class F> bool WaitFor(F done, int ms = 3000);

} // namespace camtest

#include <QTest>

template <class F> bool camtest::WaitFor(F done, int ms) {
    for (int waited = 0; !done() && waited < ms; waited += 10) QTest::qWait(10);
    return done();
}
