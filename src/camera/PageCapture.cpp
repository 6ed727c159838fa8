#include "PageCapture.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "CameraControl.h"
#include "Resource.h"
#include "Resources.h"
#include "UserMessages.h"

namespace {

bool OneOf(int value, std::initializer_list<int> list) {
    for (int v : list)
        if (v == value) return true;
    return false;
}

// The control column is 260 pixels wide; the page's 170 dialog units must fit,
// so the units are never wider than the classic 6 x 13 of an 8-point dialog font.
// A narrow face where one is installed: the template's buttons were laid out
// for a smaller dialog font than the desktop's.
QFont PageFont() {
    QFont font;
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

// The preview button's two texts, in the user's language.
QString PreviewStartText() { return QCoreApplication::translate("PageCapture", "Vorschau Starten"); }
QString PreviewStopText() { return QCoreApplication::translate("PageCapture", "Vorschau Stoppen"); }

// The control column is 260 pixels wide and the page 170 dialog units: the
// classic 6 x 13 base units of an 8-point dialog font make it fit.
constexpr QSize kPageBaseUnits(6, 13);

} // namespace

CPageCapture::CPageCapture(const CCameraControl* state, CMessageTarget* frame, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_PAGE_CAPTURE), parent, kPageBaseUnits), m_state(state),
      m_frame(frame) {
    setWindowFlags(Qt::Widget); // a page inside the tab control, not a window
    setFont(PageFont());
    setObjectName(QStringLiteral("PageCapture"));
    m_resolutionList = GetDlgItem<QComboBox>(IDC_RESOLUTION);
    m_previewButton = GetDlgItem<QPushButton>(IDC_PREVIEW_BUTTON);
    m_refreshButton = GetDlgItem<QPushButton>(IDC_REFRESH_PREVIEW);
    m_configButton = GetDlgItem<QPushButton>(IDC_CAMERA_CONFIG);
    m_exposureButton = GetDlgItem<QPushButton>(IDC_EXPOSURE);
    m_findButton = GetDlgItem<QPushButton>(IDC_FIND_CAMERA);
    m_autoWhiteButton = GetDlgItem<QPushButton>(IDC_AUTO_WHITE_BALANCE);
    m_areaWhiteButton = GetDlgItem<QPushButton>(IDC_AREA_WHITE_BALANCE);
    if (auto* name = GetDlgItem<QLineEdit>(IDC_CAMERA_NAME)) name->setAlignment(Qt::AlignCenter);
    // The template's height includes the drop-down list; the box itself is one line.
    m_resolutionList->resize(m_resolutionList->width(), m_resolutionList->sizeHint().height());
    // A dialog page has no default button that Enter would press.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

    connect(m_findButton, &QPushButton::clicked, this,
            [this] { SendMessage(m_frame, UM_DETECT_CAMERAS, 0, 0); });
    connect(m_previewButton, &QPushButton::clicked, this, &CPageCapture::OnPreview);
    connect(m_refreshButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_PREVIEW_REFRESH, Self()); });
    connect(m_autoWhiteButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_AUTO_WHITE_BALANCE, Self()); });
    connect(m_areaWhiteButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_AREA_WHITE_BALANCE, Self()); });
    connect(m_configButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_CAMERA_SETTINGS, Self()); });
    connect(m_exposureButton, &QPushButton::clicked, this,
            [this] { PostMessage(m_frame, UM_EXPOSURE_SETTINGS, Self()); });
    // Only the user's choice counts; the frame refilling the list does not.
    connect(m_resolutionList, &QComboBox::activated, this, &CPageCapture::OnResolutionChosen);
    ApplyEnablingRules();
    FitButtonTexts({{m_previewButton, {PreviewStartText(), PreviewStopText()}}});
}

void CPageCapture::OnPreview() {
    SendMessage(m_frame, m_state->m_cameraState == 2 ? UM_PREVIEW_START : UM_PREVIEW_STOP, Self());
}

void CPageCapture::OnResolutionChosen() {
    const auto index = static_cast<uint8_t>(m_resolutionList->currentIndex());
    if (index == m_lastResolution) return;
    m_lastResolution = index;
    ApplyEnablingRules();
}

void CPageCapture::ApplyEnablingRules() {
    const int m = m_state->m_cameraType;
    const int s = m_state->m_cameraState;
    m_findButton->setEnabled(s == 2 && m_state->NotWin2000() == 1);
    m_resolutionList->setEnabled(m != -1 && s == 2);
    m_refreshButton->setEnabled(s == 0 && m >= 7);
    m_autoWhiteButton->setEnabled(s == 0 && OneOf(m, {1, 2, 3, 4, 5, 6, 8, 11, 13, 14}));
    m_areaWhiteButton->setEnabled((s == 0 && m == 1) || OneOf(m, {2, 3, 4, 5, 6, 8, 11, 13}));
    m_configButton->setEnabled(s == 0);
    m_exposureButton->setEnabled(s == 0);
    m_previewButton->setEnabled(m != 0 ? m != -1 : m_resolutionList->currentIndex() != 0);
}

LRESULT CPageCapture::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != UM_CAMERA_SELECT) return 0;
    if (wParam == 2) {
        m_previewButton->setText(PreviewStartText());
        m_lastResolution = 0;
    } else {
        m_previewButton->setText(PreviewStopText());
    }
    ApplyEnablingRules();
    return 1;
}
