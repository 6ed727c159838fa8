#include "SimSettingsDialog.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "CameraLibrary.h"
#include "KXCamera.h"
#include "SimCamera.h"

namespace kxcam {

namespace {

QFormLayout* Section(QVBoxLayout* column, const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    column->addWidget(box);
    return form;
}

} // namespace

SimSettingsDialog::SimSettingsDialog(int which, SimCamera* camera, QWidget* parent)
    : QDialog(parent), m_camera(camera), m_type(camera->Identity().type) {
    auto* column = new QVBoxLayout(this);
    if (which == 1) {
        setWindowTitle(QCoreApplication::translate("SimSettingsDialog", "Kamera Eigenschaften"));
        AddGains(Section(column, QCoreApplication::translate("SimSettingsDialog", "Farbverstärkung"), this));
        AddStage(Section(column, QCoreApplication::translate("SimSettingsDialog", "Mikroskop"), this));
        if (m_type == 10 || m_type == 11 || m_type == 12 || m_type == 14)
            AddExposure(
                Section(column, QCoreApplication::translate("SimSettingsDialog", "Langzeitbelichtung"), this),
                m_type == 11 || m_type == 14);
    } else {
        setWindowTitle(QCoreApplication::translate("SimSettingsDialog", "Belichtung"));
        AddExposure(Section(column, QCoreApplication::translate("SimSettingsDialog", "Belichtung"), this),
                    true);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("SimSettingsDialog", "OK"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("SimSettingsDialog", "Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    // Wide enough for the title too, which the window frame would otherwise cut.
    setMinimumWidth(std::max(column->sizeHint().width(), fontMetrics().horizontalAdvance(windowTitle()) +
                                                             2 * fontMetrics().height() + 120));
}

void SimSettingsDialog::AddGains(QFormLayout* form) {
    KXCameraGetGain(&m_oldGains[0], &m_oldGains[1], &m_oldGains[2]);
    const char* names[3] = {QT_TRANSLATE_NOOP("SimSettingsDialog", "Rot"),
                            QT_TRANSLATE_NOOP("SimSettingsDialog", "Grün"),
                            QT_TRANSLATE_NOOP("SimSettingsDialog", "Blau")};
    for (int c = 0; c < 3; ++c) {
        m_gain[c] = new QSlider(Qt::Horizontal, this);
        m_gain[c]->setRange(0, 255);
        m_gain[c]->setValue(m_oldGains[c]);
        m_gain[c]->setMinimumWidth(200);
        form->addRow(QCoreApplication::translate("SimSettingsDialog", names[c]), m_gain[c]);
        connect(m_gain[c], &QSlider::valueChanged, this,
                [this] { KXCameraSetGain(m_gain[0]->value(), m_gain[1]->value(), m_gain[2]->value()); });
    }
    auto* balance =
        new QPushButton(QCoreApplication::translate("SimSettingsDialog", "Auto Weißabgleich"), this);
    form->addRow(balance);
    connect(balance, &QPushButton::clicked, this, [this] {
        KXCameraSetAWBState(1);
        // The balance happens on the next frame; the sliders follow it then.
        QTimer::singleShot(150, this, [this] {
            int g[3];
            KXCameraGetGain(&g[0], &g[1], &g[2]);
            for (int c = 0; c < 3; ++c) {
                const QSignalBlocker block(m_gain[c]);
                m_gain[c]->setValue(g[c]);
            }
        });
    });
}

void SimSettingsDialog::AddStage(QFormLayout* form) {
    m_oldStage = m_camera->Stage();
    const StagePosition low = SimPicture::Clamped({-1000000, -1000000, -1e9});
    const StagePosition high = SimPicture::Clamped({1000000, 1000000, 1e9});
    m_stageX = new QSpinBox(this);
    m_stageX->setRange(low.x, high.x);
    m_stageX->setSingleStep(SimPicture::kFieldWidth / 10);
    m_stageX->setSuffix(QStringLiteral(" px"));
    m_stageX->setValue(m_oldStage.x);
    m_stageY = new QSpinBox(this);
    m_stageY->setRange(low.y, high.y);
    m_stageY->setSingleStep(SimPicture::kFieldWidth / 10);
    m_stageY->setSuffix(QStringLiteral(" px"));
    m_stageY->setValue(m_oldStage.y);
    m_focus = new QDoubleSpinBox(this);
    m_focus->setRange(low.z, high.z);
    m_focus->setDecimals(2);
    m_focus->setSingleStep(0.5);
    m_focus->setSuffix(QStringLiteral(" µm"));
    m_focus->setValue(m_oldStage.z);
    form->addRow(QCoreApplication::translate("SimSettingsDialog", "Tisch X"), m_stageX);
    form->addRow(QCoreApplication::translate("SimSettingsDialog", "Tisch Y"), m_stageY);
    form->addRow(QCoreApplication::translate("SimSettingsDialog", "Fokus (Tiefe)"), m_focus);
    auto apply = [this] { m_camera->SetStage({m_stageX->value(), m_stageY->value(), m_focus->value()}); };
    connect(m_stageX, &QSpinBox::valueChanged, this, apply);
    connect(m_stageY, &QSpinBox::valueChanged, this, apply);
    connect(m_focus, &QDoubleSpinBox::valueChanged, this, apply);
}

void SimSettingsDialog::AddExposure(QFormLayout* form, bool withRowTime) {
    m_rows = new QSpinBox(this);
    m_rows->setRange(1, 1000000);
    m_rows->setValue(static_cast<int>(m_camera->ExposureRows()));
    form->addRow(QCoreApplication::translate("SimSettingsDialog", "Belichtung"), m_rows);
    connect(m_rows, &QSpinBox::valueChanged, this, &SimSettingsDialog::ShowSeconds);
    if (withRowTime) {
        m_rowTime = new QSpinBox(this);
        m_rowTime->setRange(1, 100000);
        m_rowTime->setSuffix(QStringLiteral(" µs"));
        m_rowTime->setValue(static_cast<int>(m_camera->RowTimeMicroseconds()));
        form->addRow(QCoreApplication::translate("SimSettingsDialog", "Zeilenzeit"), m_rowTime);
        connect(m_rowTime, &QSpinBox::valueChanged, this, &SimSettingsDialog::ShowSeconds);
    }
    m_seconds = new QLabel(this);
    form->addRow(QCoreApplication::translate("SimSettingsDialog", "Belichtungszeit"), m_seconds);
    ShowSeconds();
}

void SimSettingsDialog::ShowSeconds() {
    const uint32_t rowTime =
        m_rowTime ? static_cast<uint32_t>(m_rowTime->value()) : m_camera->RowTimeMicroseconds();
    const auto length =
        CameraLibrary::LongExposureLength(m_type, static_cast<uint32_t>(m_rows->value()), rowTime);
    m_seconds->setText(QStringLiteral("%1 s").arg(QLocale().toString(length.count() / 1e6, 'f', 2)));
}

void SimSettingsDialog::done(int result) {
    if (result == Accepted) {
        if (m_rows) m_camera->SetExposureRows(static_cast<uint32_t>(m_rows->value()));
        if (m_rowTime) m_camera->SetRowTime(static_cast<uint32_t>(m_rowTime->value()));
    } else {
        if (m_gain[0]) KXCameraSetGain(m_oldGains[0], m_oldGains[1], m_oldGains[2]);
        if (m_stageX) m_camera->SetStage(m_oldStage);
    }
    QDialog::done(result);
}

} // namespace kxcam
