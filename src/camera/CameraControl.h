// The camera state the main frame keeps and the handlers of its camera
// messages (1255-1264, 1270, 1271): detection, selection, start and stop with
// their 400 ms pauses, white balance and the settings dialogs. It owns the
// preview window, the camera page, the device watcher and the configuration
// file; the frame hands it the messages and calls its life-cycle steps.
#pragma once

#include <functional>
#include <memory>

#include <QPointer>
#include <QString>

#include "MessageTarget.h"
#include "PageCapture.h"
#include "PreviewWindow.h"

class CameraCalls;
class CCameraMemory;
class CCaptureControl;
class CConfigFile;
class CDeviceWatcher;
class QWidget;

class CCameraControl {
public:
    // frame: the main window the messages go to (and whose title changes);
    // notWin2000: the frame's flag that allows re-detection.
    CCameraControl(CMessageTarget* frame, QWidget* frameWindow, const int& notWin2000);
    ~CCameraControl();
    CCameraControl(const CCameraControl&) = delete;
    CCameraControl& operator=(const CCameraControl&) = delete;

    // True with *result set when the message is a camera message.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    CPageCapture* Page() const { return m_page; }
    CPreviewWindow* Preview() const { return m_preview; }
    void SetSavePanel(CMessageTarget* panel) { m_savePanel = panel; }
    int NotWin2000() const { return m_notWin2000; }

    // Frame creation: the capture folder from the configuration file (empty:
    // none stored) and the start of the USB watch.
    QString ReadCapturePath();
    void StartWatching();
    // Frame close: store the capture folder (an empty one is not stored), stop
    // watching, release the camera.
    void Close(const QString& capturePath);
    // Detects the cameras and starts the first one's preview (start-up option).
    bool StartFirstCamera();

    // The calls into the camera library, the 400 ms pauses and how errors are
    // shown; tests replace them.
    void SetCalls(std::unique_ptr<CameraCalls> calls);
    CameraCalls& Calls() const { return *m_calls; }
    void SetSleep(std::function<void(int)> sleep) { m_sleep = std::move(sleep); }
    void SetErrorReporter(std::function<void(const QString&)> report) { m_showError = std::move(report); }
    CDeviceWatcher* DeviceWatcher() const { return m_pDeviceWatcher.get(); }
    // Remembers each camera's settings (null: nothing is remembered): the
    // camera chosen, and per camera its resolution, gains and `capture`'s settings.
    void SetMemory(CCameraMemory* memory, CCaptureControl* capture) {
        m_memory = memory;
        m_capture = capture;
    }

    int m_cameraType = -1;
    int m_cameraState = 2;
    int m_libraryKept = 0;
    std::unique_ptr<CConfigFile> m_pConfigFile;
    std::unique_ptr<CDeviceWatcher> m_pDeviceWatcher;

private:
    LRESULT OnDetect(WPARAM wParam);
    LRESULT OnFillResolutions();
    LRESULT OnSelect(WPARAM index);
    LRESULT OnRemoved(uint32_t deviceId);
    LRESULT OnStart();
    LRESULT OnStop();
    LRESULT OnRelease();
    LRESULT OnCameraSettings();
    void TakeOverIdentity(bool mayRelease);
    void SetTitle(const QString& title);
    void Erase();

    CMessageTarget* m_frame;
    QWidget* m_frameWindow;
    const int& m_notWin2000;
    std::unique_ptr<CameraCalls> m_calls;
    // Their panes may delete them at the frame's close, before this object goes.
    QPointer<CPreviewWindow> m_preview;
    QPointer<CPageCapture> m_page;
    CMessageTarget* m_savePanel = nullptr;
    CCameraMemory* m_memory = nullptr;
    CCaptureControl* m_capture = nullptr;
    std::function<void(int)> m_sleep;
    std::function<void(const QString&)> m_showError;
};
