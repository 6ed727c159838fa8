#include "V4l2SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <linux/videodev2.h>

namespace kxcam {

V4l2SettingsDialog::V4l2SettingsDialog(V4l2Camera* camera, int which, QWidget* parent)
    : QDialog(parent), m_camera(camera), m_controls(camera->Controls(which)) {
    setWindowTitle(which == 2 ? QCoreApplication::translate("V4l2SettingsDialog", "Belichtung")
                              : QCoreApplication::translate("V4l2SettingsDialog", "Kamera Eigenschaften"));
    auto* form = new QFormLayout(this);
    for (const V4l2Camera::Control& c : m_controls) {
        const uint32_t id = c.id;
        QWidget* editor = nullptr;
        switch (c.type) {
        case V4L2_CTRL_TYPE_INTEGER: {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setRange(c.minimum, c.maximum);
            slider->setSingleStep(c.step);
            slider->setValue(c.value);
            connect(slider, &QSlider::valueChanged, this, [this, id](int v) { m_camera->SetControl(id, v); });
            editor = slider;
            break;
        }
        case V4L2_CTRL_TYPE_BOOLEAN: {
            auto* box = new QCheckBox(this);
            box->setChecked(c.value != 0);
            connect(box, &QCheckBox::toggled, this,
                    [this, id](bool on) { m_camera->SetControl(id, on ? 1 : 0); });
            editor = box;
            break;
        }
        case V4L2_CTRL_TYPE_MENU: {
            auto* list = new QComboBox(this);
            for (int i = 0; i < c.menu.size(); ++i)
                if (!c.menu[i].isEmpty()) list->addItem(c.menu[i], c.minimum + i);
            list->setCurrentIndex(list->findData(c.value));
            connect(list, &QComboBox::activated, this,
                    [this, id, list](int index) { m_camera->SetControl(id, list->itemData(index).toInt()); });
            editor = list;
            break;
        }
        case V4L2_CTRL_TYPE_BUTTON: {
            auto* button = new QPushButton(c.name, this);
            connect(button, &QPushButton::clicked, this, [this, id] { m_camera->SetControl(id, 1); });
            editor = button;
            break;
        }
        default:
            continue;
        }
        m_editors[id] = editor;
        form->addRow(c.type == V4L2_CTRL_TYPE_BUTTON ? QString() : c.name, editor);
    }
    if (m_controls.empty())
        form->addRow(new QLabel(
            QCoreApplication::translate("V4l2SettingsDialog", "Die Kamera bietet hier keine Einstellungen."),
            this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QWidget* V4l2SettingsDialog::Editor(uint32_t id) const {
    auto it = m_editors.find(id);
    return it == m_editors.end() ? nullptr : it->second;
}

void V4l2SettingsDialog::done(int result) {
    if (result != Accepted)
        for (const V4l2Camera::Control& c : m_controls)
            if (c.type != V4L2_CTRL_TYPE_BUTTON) m_camera->SetControl(c.id, c.value);
    QDialog::done(result);
}

} // namespace kxcam
