#include "V4l2SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <linux/videodev2.h>

namespace kxcam {

namespace {

// A manual control and the automatic switch that overrides it.
struct AutoSwitch {
    uint32_t automatic, manual;
};
constexpr AutoSwitch kAutoSwitches[] = {
    {V4L2_CID_EXPOSURE_AUTO, V4L2_CID_EXPOSURE_ABSOLUTE},
    {V4L2_CID_EXPOSURE_AUTO, V4L2_CID_EXPOSURE},
    {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CID_WHITE_BALANCE_TEMPERATURE},
    {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CID_RED_BALANCE},
    {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CID_BLUE_BALANCE},
    {V4L2_CID_AUTOGAIN, V4L2_CID_GAIN},
    {V4L2_CID_FOCUS_AUTO, V4L2_CID_FOCUS_ABSOLUTE},
    {V4L2_CID_HUE_AUTO, V4L2_CID_HUE},
    {V4L2_CID_AUTOBRIGHTNESS, V4L2_CID_BRIGHTNESS},
};

bool IsSwitch(uint32_t id) {
    for (const AutoSwitch& s : kAutoSwitches)
        if (s.automatic == id) return true;
    return false;
}

// Whether an automatic switch at `value` takes over: exposure is manual in
// the manual and shutter-priority modes, the others are on when not 0.
bool SwitchOn(uint32_t id, int value) {
    if (id == V4L2_CID_EXPOSURE_AUTO)
        return value != V4L2_EXPOSURE_MANUAL && value != V4L2_EXPOSURE_SHUTTER_PRIORITY;
    return value != 0;
}

// The unit V4L2 gives a control's value in, where it gives one.
QString Unit(uint32_t id) {
    switch (id) {
    case V4L2_CID_EXPOSURE_ABSOLUTE:
        return QStringLiteral(" × 100 µs");
    case V4L2_CID_WHITE_BALANCE_TEMPERATURE:
        return QStringLiteral(" K");
    case V4L2_CID_PAN_ABSOLUTE:
    case V4L2_CID_TILT_ABSOLUTE:
        return QStringLiteral(" ″");
    default:
        return QString();
    }
}

} // namespace

V4l2SettingsDialog::V4l2SettingsDialog(V4l2Camera* camera, int which, QWidget* parent)
    : QDialog(parent), m_camera(camera), m_controls(camera->Controls(which)) {
    setWindowTitle(which == 2 ? tr("Belichtung") : tr("Kamera Eigenschaften"));
    auto* form = new QFormLayout(this);
    for (const V4l2Camera::Control& c : m_controls) {
        const uint32_t id = c.id;
        QWidget* editor = nullptr;
        QWidget* row = nullptr;
        switch (c.type) {
        case V4L2_CTRL_TYPE_INTEGER: {
            row = new QWidget(this);
            auto* line = new QHBoxLayout(row);
            line->setContentsMargins(0, 0, 0, 0);
            auto* slider = new QSlider(Qt::Horizontal, row);
            slider->setRange(c.minimum, c.maximum);
            slider->setSingleStep(c.step);
            slider->setValue(c.value);
            slider->setMinimumWidth(160);
            auto* number = new QSpinBox(row);
            number->setRange(c.minimum, c.maximum);
            number->setSingleStep(c.step);
            number->setSuffix(Unit(id));
            number->setValue(c.value);
            row->setToolTip(tr("%1 bis %2, Standard %3").arg(c.minimum).arg(c.maximum).arg(c.defaultValue));
            connect(slider, &QSlider::valueChanged, this, [this, id, number](int v) {
                const QSignalBlocker block(number);
                number->setValue(v);
                m_camera->SetControl(id, v);
            });
            connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
            line->addWidget(slider, 1);
            line->addWidget(number);
            editor = slider;
            m_values[id] = number;
            break;
        }
        case V4L2_CTRL_TYPE_BOOLEAN: {
            auto* box = new QCheckBox(this);
            box->setChecked(c.value != 0);
            connect(box, &QCheckBox::toggled, this, [this, id](bool on) {
                m_camera->SetControl(id, on ? 1 : 0);
                FollowAutoSwitches();
            });
            editor = box;
            break;
        }
        case V4L2_CTRL_TYPE_MENU: {
            auto* list = new QComboBox(this);
            for (int i = 0; i < c.menu.size(); ++i)
                if (!c.menu[i].isEmpty()) list->addItem(c.menu[i], c.minimum + i);
            list->setCurrentIndex(list->findData(c.value));
            connect(list, &QComboBox::currentIndexChanged, this, [this, id, list](int index) {
                if (index < 0) return;
                m_camera->SetControl(id, list->itemData(index).toInt());
                FollowAutoSwitches();
            });
            editor = list;
            break;
        }
        case V4L2_CTRL_TYPE_BUTTON: {
            auto* button = new QPushButton(c.name, this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, id] { m_camera->SetControl(id, 1); });
            editor = button;
            break;
        }
        default:
            continue;
        }
        m_editors[id] = editor;
        m_rows[id] = row ? row : editor;
        form->addRow(c.type == V4L2_CTRL_TYPE_BUTTON ? QString() : c.name, m_rows[id]);
    }
    if (m_controls.empty()) form->addRow(new QLabel(tr("Die Kamera bietet hier keine Einstellungen."), this));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(tr("Standard"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    for (QAbstractButton* b : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b); push && b != buttons->button(QDialogButtonBox::Ok))
            push->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &V4l2SettingsDialog::RestoreDefaults);
    form->addRow(buttons);
    FollowAutoSwitches();
}

QWidget* V4l2SettingsDialog::Editor(uint32_t id) const {
    auto it = m_editors.find(id);
    return it == m_editors.end() ? nullptr : it->second;
}

QSpinBox* V4l2SettingsDialog::ValueBox(uint32_t id) const {
    auto it = m_values.find(id);
    return it == m_values.end() ? nullptr : it->second;
}

void V4l2SettingsDialog::ShowValue(const V4l2Camera::Control& c, int value) {
    QWidget* editor = Editor(c.id);
    if (auto* slider = qobject_cast<QSlider*>(editor)) {
        // A slider already there does not signal: the device gets the value anyway.
        if (slider->value() == value) m_camera->SetControl(c.id, value);
        slider->setValue(value);
    } else if (auto* box = qobject_cast<QCheckBox*>(editor)) {
        if (box->isChecked() == (value != 0)) m_camera->SetControl(c.id, value);
        box->setChecked(value != 0);
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        const int index = list->findData(value);
        if (index == list->currentIndex()) m_camera->SetControl(c.id, value);
        list->setCurrentIndex(index);
    }
}

std::vector<const V4l2Camera::Control*> V4l2SettingsDialog::SwitchesFirst() const {
    std::vector<const V4l2Camera::Control*> order;
    for (const V4l2Camera::Control& c : m_controls)
        if (IsSwitch(c.id)) order.push_back(&c);
    for (const V4l2Camera::Control& c : m_controls)
        if (!IsSwitch(c.id) && c.type != V4L2_CTRL_TYPE_BUTTON) order.push_back(&c);
    return order;
}

void V4l2SettingsDialog::RestoreDefaults() {
    for (const V4l2Camera::Control* c : SwitchesFirst())
        ShowValue(*c, c->defaultValue);
}

void V4l2SettingsDialog::FollowAutoSwitches() {
    for (const AutoSwitch& s : kAutoSwitches) {
        auto manual = m_rows.find(s.manual);
        QWidget* automatic = Editor(s.automatic);
        if (manual == m_rows.end() || !automatic) continue;
        int value = 0;
        if (auto* box = qobject_cast<QCheckBox*>(automatic))
            value = box->isChecked() ? 1 : 0;
        else if (auto* list = qobject_cast<QComboBox*>(automatic))
            value = list->currentData().toInt();
        else
            continue;
        manual->second->setEnabled(!SwitchOn(s.automatic, value));
    }
}

void V4l2SettingsDialog::done(int result) {
    // The old values back, the switches first so the manual values take.
    if (result != Accepted)
        for (const V4l2Camera::Control* c : SwitchesFirst())
            m_camera->SetControl(c->id, c->value);
    QDialog::done(result);
}

} // namespace kxcam
