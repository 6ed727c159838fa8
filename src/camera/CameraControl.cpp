#include "CameraControl.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "CameraCalls.h"
#include "CameraLogging.h"
#include "CameraMemory.h"
#include "ConfigFile.h"
#include "DeviceWatcher.h"
#include "PageCapture.h"
#include "PreviewMeasure.h"
#include "PreviewWindow.h"
#include "Resource.h"
#include "UserMessages.h"

Q_LOGGING_CATEGORY(lcCamera, "vistorel.camera", QtInfoMsg)

namespace {

constexpr int kCameraWait = 400;
const QString kTitle = QStringLiteral("Vistorel SoftWare");
const QString kCapturePath = QStringLiteral("CapturePath");

} // namespace

CCameraControl::CCameraControl(CMessageTarget* frame, QWidget* frameWindow, const int& notWin2000)
    : m_pConfigFile(std::make_unique<CConfigFile>()), m_frame(frame), m_frameWindow(frameWindow),
      m_notWin2000(notWin2000), m_calls(std::make_unique<CameraCalls>()),
      m_preview(new CPreviewWindow(frame, m_calls.get())), m_page(new CPageCapture(this, frame)),
      m_sleep([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }) {
    m_showError = [this](const QString& text) {
        // Not modal, so nothing waits on the user while the camera is idle.
        auto* box =
            new QMessageBox(QMessageBox::Critical, QCoreApplication::translate("CameraControl", "Error"),
                            text, QMessageBox::Ok, m_frameWindow);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    Erase(); // no camera runs yet
}

CCameraControl::~CCameraControl() {
    if (m_cameraState == 0) OnRelease();
    else if (m_libraryKept == 1) m_calls->UnInit();
    // Both windows stay parentless until their pane or tab takes them.
    if (m_preview && !m_preview->parent()) delete m_preview;
    if (m_page && !m_page->parent()) delete m_page;
}

void CCameraControl::SetCalls(std::unique_ptr<CameraCalls> calls) {
    m_calls = std::move(calls);
    if (m_preview) m_preview->SetCalls(m_calls.get()); // the preview asks the same library for gains
}

bool CCameraControl::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (!m_page || !m_preview) {
        // The frame has closed its panes: every camera message is refused.
        const bool camera = (message >= UM_DETECT_CAMERAS && message <= UM_CAMERA_RELEASE) ||
                            message == UM_CAMERA_SELECT || message == UM_CAMERA_REMOVED;
        if (camera) *result = MSG_REFUSED;
        return camera;
    }
    const bool stopped = m_cameraState == 2;
    switch (message) {
    case UM_DETECT_CAMERAS: *result = OnDetect(wParam); return true;
    case UM_FILL_RESOLUTIONS: *result = OnFillResolutions(); return true;
    case UM_CAMERA_SELECT: *result = OnSelect(wParam); return true;
    case UM_CAMERA_REMOVED: *result = OnRemoved(static_cast<uint32_t>(wParam)); return true;
    case UM_PREVIEW_START: *result = OnStart(); return true;
    case UM_PREVIEW_STOP: *result = OnStop(); return true;
    case UM_CAMERA_RELEASE: *result = OnRelease(); return true;
    case UM_PREVIEW_REFRESH:
        if (stopped) break;
        m_calls->SetExposureTime(1);
        m_calls->CancelLongExposure(1);
        *result = MSG_DONE;
        return true;
    case UM_AUTO_WHITE_BALANCE:
        if (stopped) break;
        m_calls->SetAWBState(1);
        *result = MSG_DONE;
        return true;
    case UM_AREA_WHITE_BALANCE:
        if (stopped) break;
        m_preview->m_pickWhite = m_preview->m_pickWhite ? 0 : 1;
        *result = MSG_DONE;
        return true;
    case UM_CAMERA_SETTINGS:
        if (stopped) break;
        *result = OnCameraSettings();
        return true;
    case UM_EXPOSURE_SETTINGS:
        if (stopped) break;
        m_calls->Setup2();
        *result = MSG_DONE;
        return true;
    default:
        return false;
    }
    *result = MSG_REFUSED;
    return true;
}

void CCameraControl::TakeOverIdentity(bool mayRelease) {
    const KXCameraIdentity id = m_calls->GetCameraID();
    m_cameraType = id.type;
    if (auto* name = m_page->GetDlgItem<QLineEdit>(IDC_CAMERA_NAME))
        name->setText(QString::fromUtf8(id.name, static_cast<qsizetype>(strnlen(id.name, sizeof id.name))));
    if (mayRelease && m_cameraType != 0 && m_libraryKept == 1) {
        m_calls->UnInit();
        m_libraryKept = 0;
    }
}

void CCameraControl::SetTitle(const QString& title) {
    if (m_frameWindow) m_frameWindow->setWindowTitle(title);
}

void CCameraControl::Erase() {
    if (!m_preview) return;
    // Scale bar and measurements belong to a live picture, not to the black one of a stopped camera.
    if (m_preview->Measure()) m_preview->Measure()->setVisible(m_cameraState == 0);
    m_preview->Display()->update();
}

LRESULT CCameraControl::OnDetect(WPARAM wParam) {
    if (m_cameraState != 2 || m_notWin2000 != 1) return MSG_REFUSED;
    // The camera chosen last is preferred when it is attached.
    if (const int row = m_memory ? m_memory->ChosenRow() : -1; row >= 0)
        m_calls->SetCamera(row);
    else
        m_calls->ReflashCamera();
    TakeOverIdentity(true);
    SendMessage(m_frame, UM_FILL_RESOLUTIONS, wParam);
    PostMessage(m_page, UM_CAMERA_SELECT, static_cast<WPARAM>(m_cameraState));
    SetTitle(kTitle);
    return MSG_DONE;
}

LRESULT CCameraControl::OnFillResolutions() {
    QComboBox* list = m_page->m_resolutionList;
    list->clear();
    m_calls->Registerpixel(list);
    list->setCurrentIndex(m_cameraType == 1 ? 2 : 0);
    if (m_memory && m_capture) m_memory->Restore(m_calls->GetCameraID(), list, *m_capture, *m_calls);
    return 1;
}

LRESULT CCameraControl::OnSelect(WPARAM index) {
    if (m_cameraState != 2) return MSG_REFUSED;
    m_calls->SetCamera(static_cast<int>(index));
    if (m_memory) m_memory->StoreChosenRow(static_cast<int>(index));
    TakeOverIdentity(true);
    SendMessage(m_frame, UM_FILL_RESOLUTIONS, index);
    SendMessage(m_page, UM_CAMERA_SELECT, static_cast<WPARAM>(m_cameraState));
    SetTitle(kTitle);
    SendMessage(m_frame, UM_PREVIEW_START);
    return MSG_DONE;
}

LRESULT CCameraControl::OnRemoved(uint32_t deviceId) {
    if (m_cameraState != 0) return MSG_REFUSED;
    // Another device (a memory stick, a mouse) leaves the camera running; a
    // removal that names no device may have been the camera's.
    if (deviceId != 0 && m_calls->GetCameraID().id != deviceId) return MSG_REFUSED;
    SendMessage(m_frame, UM_PREVIEW_STOP);
    m_calls->SetCamera(-1);
    TakeOverIdentity(false);
    return MSG_DONE;
}

LRESULT CCameraControl::OnStart() {
    if (m_cameraState == 0) return MSG_REFUSED;
    const auto index = static_cast<uint8_t>(m_page->m_resolutionList->currentIndex());
    m_preview->Fit(640, 480);
    if (m_cameraType == -1 || (m_cameraType == 0 && index == 0)) return MSG_REFUSED;
    if (m_libraryKept != 1 && m_calls->Init(index, m_preview->Display(), m_frame) != 1) {
        m_showError(QCoreApplication::translate("CameraControl", "Init Camera failed"));
        return MSG_REFUSED;
    }
    m_sleep(kCameraWait);
    m_calls->Play();
    int width = 640, height = 480;
    m_calls->GetImageSize(&width, &height);
    m_preview->Fit(width, height);
    m_calls->SetVideoMessage(UM_CAMERA_FRAME);
    m_calls->DisplayEnable(1);
    if (m_cameraType == 0) {
        m_page->m_exposureButton->show();
        m_page->m_exposureButton->setText(QCoreApplication::translate("CameraControl", "Eigenschaften"));
        m_page->m_configButton->setText(QCoreApplication::translate("CameraControl", "Filter Eigenschaften"));
        m_libraryKept = 1;
    } else {
        m_page->m_exposureButton->hide();
        m_page->m_configButton->setText(QCoreApplication::translate("CameraControl", "Eigenschaften..."));
    }
    m_cameraState = 0;
    SendMessage(m_savePanel, UM_CAMERA_SELECT, 0);
    SendMessage(m_page, UM_CAMERA_SELECT, static_cast<WPARAM>(m_cameraState));
    Erase();
    return MSG_DONE;
}

LRESULT CCameraControl::OnStop() {
    if (m_cameraState == 2) return MSG_REFUSED;
    // The library ends a recording when it stops; the save panel learns of the stop.
    SendMessage(m_savePanel, UM_CAPTURE_DONE);
    if (SendMessage(m_frame, UM_CAMERA_RELEASE) != 0) return MSG_REFUSED;
    Erase();
    PostMessage(m_savePanel, UM_CAMERA_SELECT, static_cast<WPARAM>(m_cameraState));
    PostMessage(m_page, UM_CAMERA_SELECT, static_cast<WPARAM>(m_cameraState));
    return MSG_DONE;
}

LRESULT CCameraControl::OnRelease() {
    if (m_cameraType == -1 || m_cameraState != 0) return MSG_REFUSED;
    if (m_memory && m_capture)
        m_memory->Store(m_calls->GetCameraID(), m_page ? m_page->m_resolutionList : nullptr, *m_capture,
                        *m_calls);
    m_calls->Stop();
    m_sleep(kCameraWait);
    if (m_libraryKept != 1) m_calls->UnInit();
    m_cameraState = 2;
    return MSG_DONE;
}

LRESULT CCameraControl::OnCameraSettings() {
    m_calls->Setup1();
    if (m_cameraType == 14) {
        uint32_t exposure = 0, rowTime = 0;
        m_calls->GetExposureTime(&exposure);
        m_calls->GetRowTime(&rowTime);
        const uint32_t seconds = (rowTime * exposure) / 1000000u;
        SetTitle(QCoreApplication::translate("CameraControl", "Wait......"));
        if (seconds < 12) m_sleep(static_cast<int>(seconds * 1000));
        SetTitle(kTitle);
    }
    return MSG_DONE;
}

QString CCameraControl::ReadCapturePath() {
    return m_pConfigFile ? m_pConfigFile->Read(kCapturePath) : QString();
}

void CCameraControl::StartWatching() {
    m_pDeviceWatcher = std::make_unique<CDeviceWatcher>();
    m_pDeviceWatcher->SetReporter(m_showError);
    m_pDeviceWatcher->Register(m_frame);
}

void CCameraControl::Close(const QString& capturePath) {
    if (m_pConfigFile && !capturePath.isEmpty()) m_pConfigFile->Write(kCapturePath, capturePath);
    m_pConfigFile.reset();
    if (m_pDeviceWatcher) m_pDeviceWatcher->Unregister();
    m_pDeviceWatcher.reset();
    if (m_cameraState == 0) {
        OnRelease();
    } else if (m_libraryKept == 1) {
        m_calls->UnInit();
        m_libraryKept = 0;
    }
}

bool CCameraControl::StartFirstCamera() {
    if (!m_page) return false;
    if (SendMessage(m_frame, UM_DETECT_CAMERAS) != MSG_DONE || m_cameraType == -1) return false;
    // The page takes the state the detection posted before the start changes it.
    QCoreApplication::sendPostedEvents();
    // A camera that needs a chosen size gets the first real one.
    if (m_cameraType == 0 && m_page->m_resolutionList->count() > 1)
        m_page->m_resolutionList->setCurrentIndex(1);
    return SendMessage(m_frame, UM_PREVIEW_START) == MSG_DONE;
}
