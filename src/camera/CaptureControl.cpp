#include "CaptureControl.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "CameraCalls.h"
#include "CameraControl.h"
#include "CameraLibrary.h"
#include "CameraLogging.h"
#include "CameraMemory.h"
#include "CountdownBar.h"
#include "DialogCaptureConfig.h"
#include "Image.h"
#include "ImageBrowser.h"
#include "KXCamera.h"
#include "LiveComposer.h"
#include "LiveView.h"
#include "MessageTarget.h"
#include "PreviewWindow.h"
#include "Resource.h"
#include "SavePanel.h"
#include "SteadyCaptureClock.h"
#include "UserMessages.h"

namespace {

constexpr int kCaptureWait = 400;
constexpr std::chrono::milliseconds kRecordingCheck{1000};
constexpr std::chrono::milliseconds kCountdownTick{1000};
const QString kTitle = QStringLiteral("Vistorel SoftWare");

QString Native(const QString& path) { return QDir::toNativeSeparators(QDir::cleanPath(path)); }

QString MegaBytes(qint64 bytes) { return QString::number(bytes / (1000 * 1000)); }

// `base`, or `base` with "_2", "_3", ... while `taken` says a name is in use.
QString FreeName(const QString& base, const std::function<bool(const QString&)>& taken) {
    if (!taken(base)) return base;
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1_%2").arg(base).arg(n);
        if (!taken(candidate)) return candidate;
    }
}

QString TimeStampName(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    return QString::asprintf("KX_%02d_%02d_%02d_%02d_%02d", d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

} // namespace

CCaptureControl::CCaptureControl(CCameraControl* camera, CMessageTarget* frame, QWidget* frameWindow)
    : m_camera(camera), m_frame(frame), m_frameWindow(frameWindow), m_savePanel(new CSavePanel(this, frame)),
      m_browser(new CImageBrowser(frame)), m_countdownBar(new CCountdownBar),
      m_sleep([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_openFolder([](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }),
      m_freeSpace([](const QString& path) { return QStorageInfo(path).bytesAvailable(); }),
      m_live(std::make_unique<CLiveComposer>()) {
    // A message that does not hold up the frames and timers behind it.
    m_showMessage = [this](const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Vistorel"), text, QMessageBox::Ok,
                                    m_frameWindow);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    SetSteadyClock(SteadyCaptureClock::Instance());
    connect(m_countdownBar, &CCountdownBar::cancelled, this, &CCaptureControl::CancelExposure);
    m_camera->SetSavePanel(m_savePanel);
    // The panel's pane deletes it at the frame's close.
    connect(m_savePanel, &QObject::destroyed, this, [this] { m_camera->SetSavePanel(nullptr); });
    connect(m_savePanel, &CSavePanel::LiveToggled, this, [this](int control, bool on) {
        if (!on)
            FinishLive();
        else if (!StartLive(control) && m_savePanel)
            m_savePanel->ShowLive(0);
    });
}

CCaptureControl::~CCaptureControl() {
    CancelLive();
    if (m_camera) {
        m_camera->SetSavePanel(nullptr);
        m_camera->SetMemory(nullptr, nullptr);
    }
    delete m_pConfigDialog;
    // Both stay parentless until their pane takes them.
    if (m_savePanel && !m_savePanel->parent()) delete m_savePanel;
    if (m_browser && !m_browser->parent()) delete m_browser;
    if (m_countdownBar && !m_countdownBar->parent()) delete m_countdownBar;
}

void CCaptureControl::SetSteadyClock(CaptureClock& clock) {
    m_steadyClock = &clock;
    m_recordingCheck = clock.NewTimer(true, [this] { CheckRecording(); });
    m_countdownTimer = clock.NewTimer(true, [this] { OnTimer(); });
    m_intervalTimer = clock.NewTimer(false, [this] {
        m_intervalDone = true;
        SeriesAdvance();
    });
}

void CCaptureControl::SetProfile(CProfile* profile) {
    m_memory = profile ? std::make_unique<CCameraMemory>(*profile) : nullptr;
    m_camera->SetMemory(m_memory.get(), this);
}

void CCaptureControl::SetDefaultSettings() {
    m_captureBaseName.clear();
    m_captureFormat = KXCAMERA_BMP;
    m_seriesCount = 1;
    m_seriesInterval = 1;
    m_timestampNames = 1;
}

CSavePanel* CCaptureControl::SavePanel() const { return m_savePanel; }
CImageBrowser* CCaptureControl::Browser() const { return m_browser; }
CCountdownBar* CCaptureControl::CountdownBar() const {
    return m_countdownBar;
}

CameraCalls& CCaptureControl::Calls() const { return m_camera->Calls(); }
bool CCaptureControl::Running() const { return m_camera->m_cameraState == 0; }
int CCaptureControl::CameraType() const { return m_camera->m_cameraType; }

bool CCaptureControl::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT* result) {
    switch (message) {
    case UM_CAPTURE: *result = OnSeries(); return true;
    case UM_VIDEO_START: *result = OnVideoStart(); return true;
    case UM_VIDEO_STOP: *result = OnVideoStop(); return true;
    case UM_CAPTURE_CONFIG: *result = OnConfigOpen(); return true;
    case UM_CONFIG_DIALOG_DONE: *result = OnConfigDone(); return true;
    case UM_OPEN_CAPTURE_FOLDER: *result = OnOpenFolder(); return true;
    case UM_LONG_EXPOSURE_END: *result = OnUserStop(); return true;
    case UM_VIDEO_COMPRESSOR:
        Calls().CodeChoose();
        *result = MSG_DONE;
        return true;
    case UM_CAMERA_FRAME:
        if (m_pendingStill == 1) WritePendingStill();
        if (m_live->Running() != CLiveComposer::Kind::None)
            m_live->Submit(kxcam::CameraLibrary::Instance().CurrentFrame());
        *result = MSG_DONE;
        return true;
    case UM_CAMERA_RELEASE:
        // Seen before the camera control stops the camera; it answers the message.
        if (Running() && CameraType() != -1) OnCameraStopping();
        return false;
    default:
        return false;
    }
}

QString CCaptureControl::StillBaseName(const QDateTime& now) const {
    QString name;
    // Without a base name the still would be named after the folder, beside it.
    const QString base = m_captureBaseName.isEmpty() ? QStringLiteral("Bild") : m_captureBaseName;
    if (m_timestampNames != 0) name = TimeStampName(now);
    else if (m_numberedNames != 0) name = base + QString::asprintf("_%02d", m_seriesIndex);
    else name = base;
    return QDir(m_capturePath).filePath(name);
}

QString CCaptureControl::FreeStillBaseName(const QString& baseName) const {
    return FreeName(baseName, [this](const QString& base) {
        const QString full = StillFullName(base);
        // Raw stills have no name for the browser, but their file counts too.
        return QFileInfo::exists(full.isEmpty() ? base + QStringLiteral(".RAW") : full);
    });
}

QString CCaptureControl::StillFullName(const QString& baseName) const {
    if (CameraType() == 0 || m_captureFormat == KXCAMERA_BMP) return baseName + QStringLiteral(".BMP");
    if (m_captureFormat == KXCAMERA_JPEG) return baseName + QStringLiteral(".JPG");
    return QString();
}

QString CCaptureControl::VideoBaseName(const QDateTime& now) const {
    return QDir(m_capturePath).filePath(TimeStampName(now));
}

void CCaptureControl::SetTitle(const QString& title) {
    if (m_frameWindow) m_frameWindow->setWindowTitle(title);
}

void CCaptureControl::ShowCountdown() {
    SetTitle(QCoreApplication::translate("CaptureControl", "Capturing Time left :%1 S").arg(m_countdown));
    if (m_countdownBar) m_countdownBar->ShowSeconds(m_countdown);
}

void CCaptureControl::StartCountdown(int seconds) {
    m_countdown = seconds;
    ShowCountdown();
    m_countdownTimer->Start(kCountdownTick);
    m_timerRunning = 1;
}

void CCaptureControl::StopCountdown() {
    m_countdownTimer->Stop();
    m_timerRunning = 0;
    m_exposureEnd.reset();
    if (m_countdownBar) m_countdownBar->hide();
}

void CCaptureControl::StartExposure(int type, std::chrono::microseconds length) {
    Calls().CancelLongExposure(0);
    if (type != 12) Calls().StartLongExpTime();
    // The countdown shows the whole seconds left and ends with the exposure.
    const int64_t seconds = (length.count() + 999999) / 1000000;
    StartCountdown(static_cast<int>(std::min<int64_t>(seconds, INT32_MAX)));
    m_exposureEnd = m_steadyClock->Now() + length;
}

void CCaptureControl::ResumePreview() {
    const int type = CameraType();
    if (type == 10 || type == 11 || type == 12) Calls().CancelLongExposure(1);
}

void CCaptureControl::CancelExposure() {
    if (!m_timerRunning && !m_pendingStill) return;
    StopCountdown();
    m_pendingStill = 0;
    ResumePreview();
    SetTitle(kTitle);
    if (m_status) m_status(tr("Belichtung abgebrochen, kein Bild gespeichert"));
    if (m_seriesActive) EndSeries(false);
}

bool CCaptureControl::CaptureFolderUsable() const {
    const QFileInfo folder(m_capturePath);
    return !m_capturePath.isEmpty() && folder.isDir() && folder.isWritable();
}

bool CCaptureControl::EnsureCaptureFolder() {
    if (!m_capturePath.isEmpty() && !QFileInfo(m_capturePath).isDir()) QDir().mkpath(m_capturePath);
    if (CaptureFolderUsable()) return true;
    ReportFailure(QCoreApplication::translate("CaptureControl",
                                              "In den Aufnahmeordner \"%1\" kann nicht geschrieben werden.")
                      .arg(Native(m_capturePath)));
    return false;
}

void CCaptureControl::ReportFailure(const QString& message) {
    qCWarning(lcCamera) << message;
    if (m_status) m_status(QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    if (m_showMessage) m_showMessage(message);
}

bool CCaptureControl::WriteStill() {
    if (!EnsureCaptureFolder()) return false;
    const QDateTime now = m_clock();
    const QString base = FreeStillBaseName(StillBaseName(now));
    const QString full = StillFullName(base);

    int width = 0, height = 0;
    Calls().GetImageSize(&width, &height);
    const KXCameraIdentity id = Calls().GetCameraID();
    const QString camera =
        QString::fromUtf8(id.name, static_cast<qsizetype>(strnlen(id.name, sizeof id.name)));
    Calls().SetStillPixelSize(m_calibration ? m_calibration(camera, width, height) : 0.0);
    // The still carries the time its name gives, with the year.
    Calls().SetStillTime(now.toMSecsSinceEpoch());
    if (Calls().CaptureFile(QFile::encodeName(base).constData(), static_cast<uint8_t>(m_captureFormat)) != 1) {
        const QString written = full.isEmpty() ? base + QStringLiteral(".RAW") : full;
        ReportFailure(
            QCoreApplication::translate("CaptureControl", "Das Bild \"%1\" wurde nicht gespeichert.\n%2")
                .arg(Native(written), QString::fromUtf8(Calls().GetLastError())));
        return false;
    }
    m_sleep(kCaptureWait);
    if (!full.isEmpty() && m_browser && QFileInfo::exists(full)) m_browser->Add(full);
    if (m_status)
        m_status(QCoreApplication::translate("CaptureControl", "Gespeichert: %1")
                     .arg(Native(full.isEmpty() ? base : full)));
    SendMessage(m_savePanel, UM_CAPTURE_DONE);
    return true;
}

void CCaptureControl::WritePendingStill() {
    m_pendingStill = 0;
    const bool written = WriteStill();
    if (m_timerRunning) StopCountdown();
    SetTitle(kTitle);
    if (!written && m_seriesActive) {
        EndSeries(false); // the next stills would fail the same way
        return;
    }
    SeriesAdvance();
}

void CCaptureControl::CaptureOne() {
    const int type = CameraType();
    if (type == -1) return;
    if (type == 10 || type == 11 || type == 12) {
        Calls().Pause();
        m_sleep(100);
        uint32_t exposure = 0, rowTime = 0;
        Calls().GetExposureTime(&exposure);
        if (type == 11) Calls().GetRowTime(&rowTime);
        // As long as the library exposes, so the still carries the exposure counted down.
        const std::chrono::microseconds length =
            kxcam::CameraLibrary::LongExposureLength(type, exposure, rowTime);
        if (length >= kCountedExposure) {
            StartExposure(type, length);
            return;
        }
        const bool written = WriteStill();
        ResumePreview();
        if (!written && m_seriesActive) EndSeries(false);
        return;
    }
    if (type == 14) {
        uint32_t exposure = 0, rowTime = 0;
        Calls().GetExposureTime(&exposure);
        Calls().GetRowTime(&rowTime);
        const uint64_t seconds = uint64_t(rowTime) * exposure / 1000000;
        m_pendingStill = 1;
        if (seconds > 8) StartCountdown(static_cast<int>(std::min<uint64_t>(seconds, INT32_MAX)) - 4);
        return;
    }
    if (!WriteStill() && m_seriesActive) EndSeries(false);
}

void CCaptureControl::OnTimer() {
    if (m_exposureEnd) {
        const auto left = *m_exposureEnd - m_steadyClock->Now();
        if (left > decltype(left)::zero()) {
            m_countdown = static_cast<int>((std::chrono::ceil<std::chrono::seconds>(left)).count());
            ShowCountdown();
            // The last part of a second: the next tick comes when the exposure ends.
            if (left < kCountdownTick)
                m_countdownTimer->Start(std::chrono::ceil<std::chrono::milliseconds>(left));
            return;
        }
        StopCountdown();
        SetTitle(kTitle);
        const bool written = WriteStill();
        ResumePreview();
        if (!written && m_seriesActive) {
            EndSeries(false);
            return;
        }
        SeriesAdvance();
        return;
    }
    if (m_countdown != 0) {
        ShowCountdown();
        --m_countdown;
        return;
    }
    StopCountdown();
    if (CameraType() == 14) return; // the next frame or the user's stop writes it
    SetTitle(kTitle);
    if (!WriteStill() && m_seriesActive) {
        EndSeries(false);
        return;
    }
    SeriesAdvance();
}

LRESULT CCaptureControl::OnSeries() {
    if (!Running() || LiveRunning()) return MSG_REFUSED;
    if (m_seriesActive) {
        // Pressed again while a still is taken (or the hot key held down):
        // each press gets its still once the running series has ended.
        if (m_queuedPresses >= kMaxQueuedPresses) return MSG_REFUSED;
        ++m_queuedPresses;
        return MSG_DONE;
    }
    if (!EnsureCaptureFolder()) {
        SendMessage(m_savePanel, UM_CAPTURE_DONE); // the panel shows idle again
        return MSG_REFUSED;
    }
    if (m_seriesCount < 1) return MSG_DONE; // a series of no stills
    m_seriesActive = true;
    m_seriesLeft = m_seriesCount;
    if (m_seriesCount > 1 && m_savePanel) m_savePanel->ShowSeriesRunning();
    SeriesStep();
    return MSG_DONE;
}

void CCaptureControl::SeriesStep() {
    --m_seriesLeft;
    m_intervalDone = false;
    // As a capture followed by a wait: the interval starts once the still is
    // taken, so time-stamped names of one series never fall in the same second.
    CaptureOne();
    if (!m_seriesActive) return; // the still failed and ended the series
    // After the last still a waiting press need not wait for the interval.
    if (m_seriesLeft == 0 && m_queuedPresses > 0) {
        m_intervalDone = true;
        SeriesAdvance();
        return;
    }
    m_intervalTimer->Start(std::chrono::seconds(m_seriesInterval));
}

void CCaptureControl::SeriesAdvance() {
    // The next still starts once the interval has passed and the last one is written.
    if (!m_seriesActive || !m_intervalDone || m_pendingStill || m_timerRunning) return;
    m_intervalDone = false;
    ++m_seriesIndex;
    if (m_seriesLeft > 0) SeriesStep();
    else EndSeries();
}

void CCaptureControl::EndSeries(bool takeQueued) {
    m_seriesActive = false;
    m_seriesLeft = 0;
    m_intervalDone = false;
    m_intervalTimer->Stop();
    SendMessage(m_savePanel, UM_CAPTURE_DONE);
    if (!takeQueued) {
        m_queuedPresses = 0;
        return;
    }
    if (m_queuedPresses > 0) {
        --m_queuedPresses;
        // From the event loop: the handler that ended this series returns first.
        QTimer::singleShot(0, this, [this] {
            if (Running() && !m_seriesActive) OnSeries();
            else m_queuedPresses = 0;
        });
    }
}

LRESULT CCaptureControl::OnUserStop() {
    bool handled = false;
    if (CameraType() == 14 && m_pendingStill == 1) {
        WritePendingStill();
        handled = true;
    }
    if (m_seriesActive) {
        // No further stills; a long exposure under way still finishes.
        m_seriesLeft = 0;
        m_intervalTimer->Stop();
        m_intervalDone = true;
        SeriesAdvance();
        handled = true;
    }
    return handled ? MSG_DONE : MSG_REFUSED;
}

void CCaptureControl::OnCameraStopping() {
    FinishLive();
    const bool counting = m_timerRunning != 0;
    StopCountdown();
    m_pendingStill = 0;
    if (m_seriesActive) EndSeries(false);
    if (counting) SetTitle(kTitle);
    if (m_recording) {
        m_recordingCheck->Stop();
        Calls().StopRecord();
        m_recording = 0;
    }
}

LRESULT CCaptureControl::OnVideoStart() {
    if (!Running() || m_recording == 1 || LiveRunning()) return MSG_REFUSED;
    auto refuse = [this](const QString& message) {
        ReportFailure(message);
        if (m_savePanel) m_savePanel->ShowVideoStopped();
        return MSG_REFUSED;
    };
    if (!EnsureCaptureFolder()) {
        if (m_savePanel) m_savePanel->ShowVideoStopped();
        return MSG_REFUSED;
    }
    const qint64 free = m_freeSpace(m_capturePath);
    if (free >= 0 && free < kTooLittleSpace)
        return refuse(QCoreApplication::translate("CaptureControl",
                                                  "Auf dem Datenträger von \"%1\" sind nur noch %2 MB frei: "
                                                  "das Video wird nicht aufgenommen.")
                          .arg(Native(m_capturePath), MegaBytes(free)));
    const QString name = FreeName(VideoBaseName(m_clock()), [](const QString& base) {
        return QFileInfo::exists(base + QStringLiteral(".mov")) || QFileInfo::exists(base + QStringLiteral(".mp4"));
    });
    if (Calls().StartRecord(QFile::encodeName(name).constData(), 12, 1) != 1)
        return refuse(QCoreApplication::translate("CaptureControl",
                                                  "Das Video \"%1\" kann nicht aufgenommen werden.\n%2")
                          .arg(Native(name), QString::fromUtf8(Calls().GetLastError())));
    m_recording = 1;
    m_videoName = name;
    m_videoStart = m_steadyClock->Now();
    m_recordingCheck->Start(kRecordingCheck);
    CheckRecording();
    return MSG_DONE;
}

LRESULT CCaptureControl::OnVideoStop() {
    if (!Running() || m_recording != 1) return MSG_REFUSED;
    m_recordingCheck->Stop();
    Calls().StopRecord();
    m_recording = 0;
    return MSG_DONE;
}

void CCaptureControl::CheckRecording() {
    if (m_recording != 1) {
        m_recordingCheck->Stop();
        return;
    }
    if (Calls().RecordFailed()) {
        StopRecordingOnFailure(
            QCoreApplication::translate(
                "CaptureControl", "Das Video konnte nicht weiter geschrieben werden und wurde beendet.\n%1")
                .arg(QString::fromUtf8(Calls().GetLastError())));
        return;
    }
    const qint64 known = m_freeSpace(m_capturePath);
    const qint64 free = known < 0 ? kLowSpace : known; // a disk that cannot tell is taken as roomy
    if (free < kTooLittleSpace) {
        StopRecordingOnFailure(
            QCoreApplication::translate("CaptureControl",
                                        "Auf dem Datenträger von \"%1\" sind nur noch %2 MB frei: "
                                        "die Videoaufnahme wurde beendet.")
                .arg(Native(m_capturePath), MegaBytes(free)));
        return;
    }
    // Every second: how long the video runs and how large its file is, and a warning when space runs low.
    if (!m_status) return;
    const qint64 seconds =
        std::chrono::duration_cast<std::chrono::seconds>(m_steadyClock->Now() - m_videoStart).count();
    const QFileInfo mov(m_videoName + QStringLiteral(".mov")), mp4(m_videoName + QStringLiteral(".mp4"));
    const qint64 bytes = mov.exists() ? mov.size() : mp4.size();
    QString text = QCoreApplication::translate("CaptureControl", "Videoaufnahme %1:%2, %3 MB")
                       .arg(seconds / 60)
                       .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                       .arg(QLocale().toString(static_cast<double>(bytes) / 1.0e6, 'f', 1));
    if (free < kLowSpace)
        text += QCoreApplication::translate("CaptureControl", " - wenig Platz: noch %1 MB frei")
                    .arg(MegaBytes(free));
    m_status(text);
}

void CCaptureControl::StopRecordingOnFailure(const QString& message) {
    m_recordingCheck->Stop();
    Calls().StopRecord();
    m_recording = 0;
    if (m_savePanel) m_savePanel->ShowVideoStopped();
    ReportFailure(message);
}

LRESULT CCaptureControl::OnOpenFolder() {
    if (m_capturePath.isEmpty()) return MSG_REFUSED;
    m_openFolder(m_capturePath);
    return MSG_DONE;
}

LRESULT CCaptureControl::OnConfigOpen() {
    if (m_pConfigDialog) return MSG_REFUSED;
    m_pConfigDialog = new CDialogCaptureConfig(this, m_frame, m_frameWindow);
    m_pConfigDialog->Load();
    m_pConfigDialog->show();
    PostMessage(m_pConfigDialog, UM_CAMERA_SELECT, static_cast<WPARAM>(m_camera->m_cameraState));
    return MSG_DONE;
}

LRESULT CCaptureControl::OnConfigDone() {
    if (!m_pConfigDialog) return MSG_REFUSED;
    // The dialog posted this from its own handler: it goes once that has returned.
    m_pConfigDialog->hide();
    m_pConfigDialog->deleteLater();
    m_pConfigDialog = nullptr;
    if (m_memory && CameraType() != -1)
        m_memory->Store(Calls().GetCameraID(),
                        m_camera->Page() ? m_camera->Page()->m_resolutionList : nullptr, *this, Calls());
    return MSG_DONE;
}

bool CCaptureControl::LiveRunning() const {
    return m_live->Running() != CLiveComposer::Kind::None;
}

bool CCaptureControl::StartLive(int control) {
    if (!Running() || LiveRunning() || m_recording == 1 || m_seriesActive || m_pendingStill == 1)
        return false;
    if (control != IDC_SAVE_EDF && control != IDC_SAVE_PANORAMA) return false;
    int width = 0, height = 0;
    Calls().GetImageSize(&width, &height);
    const KXCameraIdentity id = Calls().GetCameraID();
    const QString camera =
        QString::fromUtf8(id.name, static_cast<qsizetype>(strnlen(id.name, sizeof id.name)));
    const double pixelSize = m_calibration ? m_calibration(camera, width, height) : 0.0;
    const auto kind = control == IDC_SAVE_EDF ? CLiveComposer::Kind::FocusStack : CLiveComposer::Kind::Mosaic;
    if (!m_live->Start(kind, pixelSize, camera)) return false;
    m_liveControl = control;
    if (CPreviewWindow* preview = m_camera->Preview()) {
        QWidget* display = preview->Display();
        m_liveView = new CLiveView(m_live.get(), display);
    }
    if (m_savePanel) m_savePanel->ShowLive(control);
    return true;
}

void CCaptureControl::FinishLive() {
    if (!LiveRunning()) return;
    delete m_liveView;
    std::unique_ptr<vimg::Image> picture = m_live->Finish();
    const int control = m_liveControl;
    m_liveControl = 0;
    if (m_savePanel) m_savePanel->ShowLive(0);
    if (!picture) {
        if (m_status)
            m_status(QCoreApplication::translate("CaptureControl", "Nichts zusammengefügt: %1")
                         .arg(m_live->LastError()));
        return;
    }
    if (m_liveResult) m_liveResult(control, std::move(picture));
}

void CCaptureControl::CancelLive() {
    delete m_liveView;
    m_live->Cancel();
    m_liveControl = 0;
    if (m_savePanel) m_savePanel->ShowLive(0);
}
