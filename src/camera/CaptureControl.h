// Capture to file, as the main frame does it: the capture settings, the names
// of stills and videos, single stills, timed series, long exposures with a
// countdown in the window title and the status bar, video recording and the
// modeless capture configuration dialog, and live merging of the preview
// ("EDF", "Panorama", through CLiveComposer). It owns the save panel and the image browser; the
// frame hands it the capture messages (1225-1232, 1245, 1273) and the camera
// stop, and the camera library writes the files.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include "CaptureClock.h"
#include "PlatformTypes.h"

class CameraCalls;
class CCameraControl;
class CDialogCaptureConfig;
class CCameraMemory;
class CCountdownBar;
class CProfile;
class CImageBrowser;
class CLiveComposer;
class CLiveView;
class CMessageTarget;
class CSavePanel;
class QWidget;
namespace vimg {
class Image;
}

class CCaptureControl : public QObject {
    Q_OBJECT
public:
    // Micrometres per pixel for a camera at a picture size; 0 when uncalibrated.
    using Calibration = std::function<double(const QString& camera, int width, int height)>;
    // Where the result of live merging goes when it stops: the button's control
    // id (IDC_SAVE_EDF, IDC_SAVE_PANORAMA) and the picture, calibrated.
    using LiveResult = std::function<void(int control, std::unique_ptr<vimg::Image> picture)>;

    CCaptureControl(CCameraControl* camera, CMessageTarget* frame, QWidget* frameWindow);
    ~CCaptureControl() override;
    CCaptureControl(const CCaptureControl&) = delete;
    CCaptureControl& operator=(const CCaptureControl&) = delete;

    // True with *result set when the message is a capture message. A camera
    // release (1264) is seen here first and passed on (false).
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // One tick of the countdown timer (timer 1, every second).
    void OnTimer();

    CSavePanel* SavePanel() const;
    CImageBrowser* Browser() const;
    // The countdown with its cancel button, for the frame's status bar.
    CCountdownBar* CountdownBar() const;
    CDialogCaptureConfig* ConfigDialog() const { return m_pConfigDialog; }
    const CCameraControl* Camera() const { return m_camera; }
    // A series is under way: more stills to come, or its last still pending.
    bool SeriesRunning() const { return m_seriesActive; }
    bool CountdownActive() const { return m_countdownTimer->IsActive(); }
    // Cancels the exposure or pending still that counts down: nothing is
    // written, the series ends and the preview goes on.
    void CancelExposure();

    // The name of a still without its extension, and with it ("" for raw
    // stills, which the image browser does not show). An empty base name
    // stands for "Bild".
    QString StillBaseName(const QDateTime& now) const;
    // `baseName`, or with "_2", "_3", ... when a still of that name exists:
    // a still is never dropped and never overwrites one.
    QString FreeStillBaseName(const QString& baseName) const;
    QString StillFullName(const QString& baseName) const;
    QString VideoBaseName(const QDateTime& now) const;

    void SetCalibration(Calibration calibration) { m_calibration = std::move(calibration); }
    void SetLiveResult(LiveResult result) { m_liveResult = std::move(result); }
    // Live focus stacking or stitching of the preview (IDC_SAVE_EDF,
    // IDC_SAVE_PANORAMA); refused while the camera is stopped, another one
    // runs, a series is taken or a video recorded.
    bool StartLive(int control);
    // Stops it and hands the result on.
    void FinishLive();
    // Stops it and drops the result (the program closes).
    void CancelLive();
    CLiveComposer* Live() const { return m_live.get(); }
    bool LiveRunning() const;
    // Each camera's settings are remembered in `profile` (see CCameraMemory; null: not remembered).
    void SetProfile(CProfile* profile);
    // The capture name, format, count, interval and time-stamp switch a new camera starts with.
    void SetDefaultSettings();
    // Tests replace the waits, the clock that names the files, the shell's folder opening
    // and the steady clock of the intervals, countdowns and recording checks (set that
    // before anything is timed; it must outlive this object).
    void SetSleep(std::function<void(int)> sleep) { m_sleep = std::move(sleep); }
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    void SetSteadyClock(CaptureClock& clock);
    void SetFolderOpener(std::function<void(const QString&)> open) { m_openFolder = std::move(open); }
    // Where failures are told: a message to the user (a window that does not
    // block) and the status bar line.
    void SetMessenger(std::function<void(const QString&)> show) { m_showMessage = std::move(show); }
    void SetStatusReporter(std::function<void(const QString&)> report) { m_status = std::move(report); }
    // Free bytes on the capture folder's disk (tests fake a full disk).
    void SetFreeSpaceProbe(std::function<qint64(const QString&)> probe) { m_freeSpace = std::move(probe); }
    // Checks the running recording every second: write failures and the disk's free space; the status
    // bar shows its time and file size.
    void CheckRecording();
    // The capture folder exists (made when missing) and takes files.
    bool CaptureFolderUsable() const;

    // Below this a recording warns in the status bar; below the second it stops.
    static constexpr qint64 kLowSpace = 1000LL * 1000 * 1000;
    static constexpr qint64 kTooLittleSpace = 200LL * 1000 * 1000;
    // Presses of "Speichern" kept while a still is being taken.
    static constexpr int kMaxQueuedPresses = 100;
    // Long exposures (types 10, 11, 12) from this length on count down.
    static constexpr std::chrono::seconds kCountedExposure{1};

    QString m_capturePath;
    QString m_captureBaseName;
    int m_captureFormat = 2; // 1 JPEG, 2 BMP, 4 raw
    int m_seriesCount = 1;
    int m_seriesInterval = 1; // seconds
    int m_seriesIndex = 0;
    int m_numberedNames = 0;
    int m_timestampNames = 1;
    int m_recording = 0;
    int m_pendingStill = 0;
    int m_timerRunning = 0;
    int m_countdown = 0;
    CDialogCaptureConfig* m_pConfigDialog = nullptr;

private:
    CameraCalls& Calls() const;
    bool Running() const;
    int CameraType() const;
    void SetTitle(const QString& title);
    void ShowCountdown();
    void StartCountdown(int seconds);
    void StopCountdown();
    // Starts a long exposure of `length` and counts it down to its end.
    void StartExposure(int type, std::chrono::microseconds length);
    // The long exposure is over (or written early): back to the live preview.
    void ResumePreview();
    // False (with the user told) when the still could not be written.
    bool WriteStill();
    void WritePendingStill();
    bool EnsureCaptureFolder();
    void ReportFailure(const QString& message);
    void StopRecordingOnFailure(const QString& message);
    void CaptureOne();
    LRESULT OnSeries();
    void SeriesStep();
    void SeriesAdvance();
    // With `takeQueued` a press that waited starts the next series.
    void EndSeries(bool takeQueued = true);
    LRESULT OnUserStop();
    LRESULT OnVideoStart();
    LRESULT OnVideoStop();
    LRESULT OnOpenFolder();
    LRESULT OnConfigOpen();
    LRESULT OnConfigDone();
    void OnCameraStopping();

    CCameraControl* m_camera;
    CMessageTarget* m_frame;
    QPointer<QWidget> m_frameWindow;
    // The panes take these; they may go at the frame's close before this object.
    QPointer<CSavePanel> m_savePanel;
    QPointer<CImageBrowser> m_browser;
    std::unique_ptr<CaptureClock::Timer> m_countdownTimer;
    QPointer<CCountdownBar> m_countdownBar;
    // When the long exposure that counts down ends.
    std::optional<CaptureClock::TimePoint> m_exposureEnd;
    std::unique_ptr<CaptureClock::Timer> m_intervalTimer;
    // The series runs on the interval timer so messages keep flowing: stills
    // still to start, and whether the interval after the last one has passed.
    bool m_seriesActive = false;
    int m_seriesLeft = 0;
    bool m_intervalDone = false;
    // Presses that arrived while a series ran; each starts a series of its own.
    int m_queuedPresses = 0;
    std::unique_ptr<CaptureClock::Timer> m_recordingCheck;
    QString m_videoName; // without its extension
    CaptureClock::TimePoint m_videoStart;
    Calibration m_calibration;
    std::unique_ptr<CCameraMemory> m_memory;
    CaptureClock* m_steadyClock = nullptr;
    std::function<void(int)> m_sleep;
    std::function<QDateTime()> m_clock;
    std::function<void(const QString&)> m_openFolder;
    std::function<void(const QString&)> m_showMessage;
    std::function<void(const QString&)> m_status;
    std::function<qint64(const QString&)> m_freeSpace;
    std::unique_ptr<CLiveComposer> m_live;
    QPointer<CLiveView> m_liveView;
    int m_liveControl = 0;
    LiveResult m_liveResult;
};
