#include "DialogCaptureConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "CameraControl.h"
#include "CaptureControl.h"
#include "NumericEditRule.h"
#include "Resource.h"
#include "Resources.h"
#include "UserMessages.h"

namespace {

// Up and down arrows in the spin's place that step the numeric edit beside it.
void AddSpinButtons(QWidget* place, CNumericEditRule* rule) {
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, step] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(place);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const int by = step;
        QObject::connect(button, &QToolButton::clicked, rule, [rule, by] { rule->Step(by); });
        layout->addWidget(button);
    }
}

} // namespace

CDialogCaptureConfig::CDialogCaptureConfig(CCaptureControl* settings, CMessageTarget* frame, QWidget* owner)
    : CTemplateDialog(*resources::Dialog(IDD_CAPTURE_CONFIG), owner), m_settings(settings), m_frame(frame) {
    // A pop-up with a caption and no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setObjectName(QStringLiteral("CaptureConfig"));
    m_nameEdit = GetDlgItem<QLineEdit>(IDC_CONFIG_NAME);
    m_numButton = GetDlgItem<QPushButton>(IDC_CONFIG_NUMBERED);
    m_numButton->setCheckable(true);
    m_typeList = GetDlgItem<QComboBox>(IDC_CONFIG_FILE_TYPE);
    m_timestampBox = GetDlgItem<QCheckBox>(IDC_CONFIG_TIMESTAMP);
    m_folderEdit = GetDlgItem<QLineEdit>(IDC_CONFIG_FOLDER);
    m_browseButton = GetDlgItem<QPushButton>(IDC_CONFIG_BROWSE);
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

    // The template's height includes the drop-down list; the box itself is one line.
    m_typeList->resize(m_typeList->width(), m_typeList->sizeHint().height());
    FillTypes(true);
    m_typeList->setCurrentIndex(0);
    m_countRule = new CNumericEditRule(GetDlgItem<QLineEdit>(IDC_CONFIG_COUNT), 1, 50);
    m_intervalRule = new CNumericEditRule(GetDlgItem<QLineEdit>(IDC_CONFIG_INTERVAL), 1, 60);
    AddSpinButtons(GetDlgItem(IDC_CONFIG_COUNT_SPIN), m_countRule);
    AddSpinButtons(GetDlgItem(IDC_CONFIG_INTERVAL_SPIN), m_intervalRule);
    m_countRule->Edit()->setText(QStringLiteral("1"));
    m_intervalRule->Edit()->setText(QStringLiteral("1"));

    connect(m_timestampBox, &QCheckBox::clicked, this, &CDialogCaptureConfig::OnTimestampClicked);
    connect(m_browseButton, &QPushButton::clicked, this, &CDialogCaptureConfig::OnBrowse);
    m_chooseFolder = [this] {
        return QFileDialog::getExistingDirectory(
            this, QCoreApplication::translate("CaptureConfigDialog", "Select a directory"), m_folder,
            QFileDialog::ShowDirsOnly);
    };
    m_report = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    ToControls();
}

void CDialogCaptureConfig::FillTypes(bool withRaw) {
    m_typeList->clear();
    m_typeList->addItem(QStringLiteral(".jpg"));
    m_typeList->addItem(QStringLiteral(".bmp"));
    if (withRaw) m_typeList->addItem(QStringLiteral(".raw"));
}

void CDialogCaptureConfig::Load() {
    m_folder = m_settings->m_capturePath;
    m_name = m_settings->m_captureBaseName;
    m_numbered = m_settings->m_numberedNames;
    m_timestamp = m_settings->m_timestampNames;
    m_count = m_settings->m_seriesCount;
    m_interval = m_settings->m_seriesInterval;
    m_nameEdit->setEnabled(m_timestamp == 0);
    m_numButton->setEnabled(m_timestamp == 0);
    const int type = m_settings->Camera()->m_cameraType;
    if (type == 0 || type == 16) {
        m_typeList->setEnabled(false);
        m_typeList->setCurrentIndex(1);
    } else {
        m_typeList->setEnabled(true);
        FillTypes(type != 7);
        const int code = m_settings->m_captureFormat;
        // Camera type 7 has no ".raw": code 4 then leaves nothing selected.
        m_typeList->setCurrentIndex(code == 1 ? 0 : code == 2 ? 1 : 2);
    }
    ToControls();
}

void CDialogCaptureConfig::ToControls() {
    m_nameEdit->setText(m_name);
    m_numButton->setChecked(m_numbered != 0);
    m_timestampBox->setChecked(m_timestamp != 0);
    if (m_count != 0) m_countRule->SetValue(m_count);
    if (m_interval != 0) m_intervalRule->SetValue(m_interval);
    m_folderEdit->setText(m_folder);
}

bool CDialogCaptureConfig::FromControls(bool validate) {
    m_name = m_nameEdit->text();
    m_numbered = m_numButton->isChecked() ? 1 : 0;
    m_timestamp = m_timestampBox->isChecked() ? 1 : 0;
    m_folder = m_folderEdit->text();
    const std::pair<CNumericEditRule*, int*> numbers[] = {{m_countRule, &m_count},
                                                          {m_intervalRule, &m_interval}};
    const std::pair<int, int> ranges[] = {{1, 50}, {1, 60}};
    for (int i = 0; i < 2; ++i) {
        const std::optional<int> value = numbers[i].first->Value();
        const auto [low, high] = ranges[i];
        if (value && *value >= low && *value <= high) {
            *numbers[i].second = *value;
            continue;
        }
        if (!validate) continue;
        numbers[i].first->Edit()->setFocus();
        numbers[i].first->Edit()->selectAll();
        m_report(value ? QCoreApplication::translate("CaptureConfigDialog",
                                                     "Please enter an integer between %1 and %2.")
                             .arg(low)
                             .arg(high)
                       : QCoreApplication::translate("CaptureConfigDialog", "Please enter an integer."));
        return false;
    }
    return true;
}

void CDialogCaptureConfig::OnTimestampClicked() {
    FromControls(false);
    m_nameEdit->setEnabled(m_timestamp == 0);
    m_numButton->setEnabled(m_timestamp == 0);
    m_name.clear();
    m_nameEdit->clear();
}

QString CDialogCaptureConfig::FolderText(const QString& picked) {
    const QString path = QDir::cleanPath(picked);
    if (QDir(path).isRoot()) return path;
    return path + QLatin1Char('/');
}

void CDialogCaptureConfig::OnBrowse() {
    const QString picked = m_chooseFolder();
    if (picked.isEmpty()) return;
    m_folderEdit->setText(FolderText(picked));
    FromControls(false);
}

void CDialogCaptureConfig::accept() {
    if (!FromControls(true)) return; // the dialog stays open, nothing is stored
    m_settings->m_capturePath = m_folder;
    m_settings->m_captureBaseName = m_name;
    m_settings->m_numberedNames = m_numbered;
    m_settings->m_timestampNames = m_timestamp;
    m_settings->m_seriesCount = m_count;
    m_settings->m_seriesInterval = m_interval;
    const int selection = m_typeList->currentIndex();
    m_settings->m_captureFormat = selection == 0 ? 1 : selection == 1 ? 2 : 4;
    PostMessage(m_frame, UM_CONFIG_DIALOG_DONE, reinterpret_cast<WPARAM>(this));
    hide();
}

void CDialogCaptureConfig::reject() {
    PostMessage(m_frame, UM_CONFIG_DIALOG_DONE, reinterpret_cast<WPARAM>(this));
    hide();
}

void CDialogCaptureConfig::mousePressEvent(QMouseEvent* event) {
    // The whole client area drags the dialog, as its caption does.
    if (event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    CTemplateDialog::mousePressEvent(event);
}
