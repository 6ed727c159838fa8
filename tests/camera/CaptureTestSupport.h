// The main frame's part in capture to file: a window that hands the capture
// messages to its capture control and the camera messages to its camera
// control, with a scripted camera (or the real library), fixed clocks (the
// steady one moves when the test advances it) and no waits.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QDateTime>
#include <QWidget>

#include "CameraControl.h"
#include "CaptureControl.h"
#include "FakeCameraCalls.h"
#include "FakeCaptureClock.h"
#include "MessageTarget.h"
#include "TestSupport.h"

namespace camtest {

class CaptureFrame : public QWidget, public CMessageTarget {
public:
    // realLibrary: the camera library itself (with whatever camera it lists).
    explicit CaptureFrame(bool realLibrary = false);
    ~CaptureFrame() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Count(UINT message) const;
    // Detects a camera of `type` (scripted) and starts its preview.
    void Start(int type);
    // The stills the scripted camera was asked to write, as "name format".
    std::vector<std::string> Stills() const;
    std::string Folder() const { return dir.path().string() + "/"; }

    testsupport::TempDir dir;
    int notWin2000 = 1;
    std::vector<std::string> calls;
    std::vector<UINT> messages;
    std::vector<QString> reports; // messages shown to the user
    std::vector<QString> statusTexts;
    std::vector<QString> openedFolders;
    QDateTime now = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); // names the files
    FakeCaptureClock clock; // times intervals, countdowns and recording checks
    FakeCameraCalls* fake = nullptr;
    std::unique_ptr<CCameraControl> camera;
    std::unique_ptr<CCaptureControl> capture;
};

} // namespace camtest
