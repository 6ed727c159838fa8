#include "SavePanel.h"

#include <QCoreApplication>
#include <QPushButton>

#include "CameraControl.h"
#include "CaptureControl.h"
#include "Resource.h"
#include "Resources.h"
#include "UserMessages.h"

namespace {

// The buttons' changing texts, in the user's language.
QString IdleText() { return QCoreApplication::translate("SavePanel", "Aufnahme"); }
QString StopText() { return QCoreApplication::translate("SavePanel", "Aufnahme Stoppen"); }
QString VideoStartText() { return QCoreApplication::translate("SavePanel", "Video starten"); }
QString VideoStopText() { return QCoreApplication::translate("SavePanel", "Video Stoppen"); }

bool HasVideo(int type) {
    for (int t : {1, 3, 4, 5, 6, 8, 10, 11, 13, 14})
        if (t == type) return true;
    return false;
}

// The panel sits in the 260 pixel wide control column, as the camera page does.
constexpr QSize kPanelBaseUnits(6, 13);

} // namespace

CSavePanel::CSavePanel(const CCaptureControl* capture, CMessageTarget* frame, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_SAVE_PANEL), parent, kPanelBaseUnits), m_capture(capture),
      m_frame(frame) {
    setWindowFlags(Qt::Widget);
    setObjectName(QStringLiteral("SavePanel"));
    // In a docking pane: the pane decides the size, the template only suggests it.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_stillButton = GetDlgItem<QPushButton>(IDC_SAVE_STILL);
    m_videoButton = GetDlgItem<QPushButton>(IDC_SAVE_VIDEO);
    m_configButton = GetDlgItem<QPushButton>(IDC_SAVE_CONFIG);
    m_compressorButton = GetDlgItem<QPushButton>(IDC_SAVE_COMPRESSOR);
    m_folderButton = GetDlgItem<QPushButton>(IDC_SAVE_OPEN_FOLDER);
    m_edfButton = GetDlgItem<QPushButton>(IDC_SAVE_EDF);
    m_panoramaButton = GetDlgItem<QPushButton>(IDC_SAVE_PANORAMA);
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    connect(m_stillButton, &QPushButton::clicked, this, &CSavePanel::OnStill);
    connect(m_videoButton, &QPushButton::clicked, this, &CSavePanel::OnVideo);
    connect(m_configButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_CAPTURE_CONFIG, Self()); });
    connect(m_compressorButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_VIDEO_COMPRESSOR, 0); });
    connect(m_folderButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_OPEN_CAPTURE_FOLDER, Self()); });
    for (auto [button, control] :
         {std::pair{m_edfButton, IDC_SAVE_EDF}, {m_panoramaButton, IDC_SAVE_PANORAMA}}) {
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this,
                [this, control](bool on) { emit LiveToggled(control, on); });
    }
    FitButtonTexts({{m_stillButton, {IdleText(), StopText()}},
                    {m_videoButton, {VideoStartText(), VideoStopText()}}});
}

void CSavePanel::OnStill() {
    // A press while a series runs (or a long-exposure camera exposes) ends it.
    if (m_seriesRunning == 1) {
        PostMessage(m_frame, UM_LONG_EXPOSURE_END, Self());
        m_stillButton->setText(IdleText());
        m_seriesRunning = 0;
        UpdateLiveButtons();
        return;
    }
    PostMessage(m_frame, UM_CAPTURE, Self());
    if (m_capture->Camera()->m_cameraType == 14) ShowSeriesRunning();
    else m_stillButton->setText(IdleText());
}

void CSavePanel::ShowSeriesRunning() {
    m_stillButton->setText(StopText());
    m_seriesRunning = 1;
    UpdateLiveButtons();
}

void CSavePanel::ShowVideoStopped() {
    m_videoButton->setText(VideoStartText());
    m_recording = 0;
    m_compressorButton->setEnabled(true);
    UpdateLiveButtons();
}

void CSavePanel::ShowLive(int control) {
    m_live = control;
    m_edfButton->setChecked(control == IDC_SAVE_EDF);
    m_panoramaButton->setChecked(control == IDC_SAVE_PANORAMA);
    ApplyCameraState(m_cameraState);
}

void CSavePanel::UpdateLiveButtons() {
    const bool free = m_cameraState == 0 && m_recording == 0 && m_seriesRunning == 0;
    m_edfButton->setEnabled(free && m_live != IDC_SAVE_PANORAMA);
    m_panoramaButton->setEnabled(free && m_live != IDC_SAVE_EDF);
    if (m_live == 0) return;
    m_stillButton->setEnabled(false);
    m_videoButton->setEnabled(false);
    m_compressorButton->setEnabled(false);
}

void CSavePanel::OnVideo() {
    if (m_recording == 0) {
        m_videoButton->setText(VideoStopText());
        m_recording = 1;
        PostMessage(m_frame, UM_VIDEO_START, Self());
        m_compressorButton->setEnabled(false);
    } else {
        m_videoButton->setText(VideoStartText());
        m_recording = 0;
        PostMessage(m_frame, UM_VIDEO_STOP, Self());
        m_compressorButton->setEnabled(true);
    }
    UpdateLiveButtons();
}

void CSavePanel::ApplyCameraState(int state) {
    const int type = m_capture->Camera()->m_cameraType;
    m_cameraState = state;
    // The camera stopping or pausing ends live merging; its result is kept.
    if (state != 0 && m_live != 0) emit LiveToggled(m_live, false);
    m_stillButton->setEnabled(state == 0);
    m_videoButton->setEnabled(state == 0);
    if (state != 0) {
        m_videoButton->setEnabled(false);
        m_compressorButton->setEnabled(false);
        if (state == 2 && m_recording == 1) {
            m_videoButton->setText(VideoStartText());
            m_recording = 0;
        }
        UpdateLiveButtons();
        return;
    }
    m_videoButton->setEnabled(type == 0 || type == 16 || HasVideo(type));
    m_compressorButton->setEnabled(HasVideo(type));
    UpdateLiveButtons();
}

LRESULT CSavePanel::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case UM_CAMERA_SELECT:
        ApplyCameraState(static_cast<int>(wParam));
        return 0;
    case UM_CAPTURE_DONE:
        // A still of a running series is done, not the series itself.
        if (m_capture->SeriesRunning()) return 0;
        m_stillButton->setText(IdleText());
        m_seriesRunning = 0;
        UpdateLiveButtons();
        return 0;
    default:
        return 0;
    }
}
