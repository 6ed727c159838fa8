#include "SimSettingsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include "KXCamera.h"
#include "SimCamera.h"

namespace kxcam {

SimSettingsDialog::SimSettingsDialog(int which, SimCamera* camera, QWidget* parent)
    : QDialog(parent), m_camera(camera) {
    auto* form = new QFormLayout(this);
    if (which == 1) {
        setWindowTitle(QStringLiteral("Kamera Eigenschaften"));
        KXCameraGetGain(&m_oldGains[0], &m_oldGains[1], &m_oldGains[2]);
        const char* names[3] = {"Rot", "Grün", "Blau"};
        for (int c = 0; c < 3; ++c) {
            m_gain[c] = new QSlider(Qt::Horizontal, this);
            m_gain[c]->setRange(0, 255);
            m_gain[c]->setValue(m_oldGains[c]);
            form->addRow(QString::fromUtf8(names[c]), m_gain[c]);
            connect(m_gain[c], &QSlider::valueChanged, this,
                    [this] { KXCameraSetGain(m_gain[0]->value(), m_gain[1]->value(), m_gain[2]->value()); });
        }
        auto* balance = new QPushButton(QStringLiteral("Auto Weißabgleich"), this);
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
    } else {
        setWindowTitle(QStringLiteral("Belichtung"));
        m_oldRows = camera->ExposureRows();
        m_oldRowTime = camera->RowTimeMicroseconds();
        m_rows = new QSpinBox(this);
        m_rows->setRange(1, 1000000);
        m_rows->setValue(static_cast<int>(m_oldRows));
        m_rowTime = new QSpinBox(this);
        m_rowTime->setRange(1, 100000);
        m_rowTime->setSuffix(QStringLiteral(" µs"));
        m_rowTime->setValue(static_cast<int>(m_oldRowTime));
        form->addRow(QStringLiteral("Belichtung (Zeilen)"), m_rows);
        form->addRow(QStringLiteral("Zeilenzeit"), m_rowTime);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void SimSettingsDialog::done(int result) {
    if (m_rows) {
        if (result == Accepted) {
            m_camera->SetExposureRows(static_cast<uint32_t>(m_rows->value()));
            m_camera->SetRowTime(static_cast<uint32_t>(m_rowTime->value()));
        }
    } else if (result != Accepted) {
        KXCameraSetGain(m_oldGains[0], m_oldGains[1], m_oldGains[2]);
    }
    QDialog::done(result);
}

} // namespace kxcam
