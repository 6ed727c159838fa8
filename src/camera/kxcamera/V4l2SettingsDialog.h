// The settings dialog of a V4L2 camera: one row per control of the device
// (sliders with the value, range and unit where known, check boxes, choice
// lists and buttons), applied as they change. A manual control is disabled
// while its automatic switch is on; "Standard" sets every control to the
// device's default; Cancel puts the old values back. Dialog 1 shows every
// control, dialog 2 the exposure controls of the camera class.
#pragma once

#include <map>

#include <QDialog>

#include "V4l2Camera.h"

class QSpinBox;

namespace kxcam {

class V4l2SettingsDialog : public QDialog {
    Q_OBJECT
public:
    V4l2SettingsDialog(V4l2Camera* camera, int which, QWidget* parent = nullptr);

    // The widget for a control id (tests): a slider, check box, list or button.
    QWidget* Editor(uint32_t id) const;
    // The number beside an integer control's slider.
    QSpinBox* ValueBox(uint32_t id) const;
    // Every control to its default, as "Standard" does.
    void RestoreDefaults();
    void done(int result) override;

private:
    // Sets the editor of control `c` to `value`, which applies it.
    void ShowValue(const V4l2Camera::Control& c, int value);
    // Manual controls follow their automatic switches.
    void FollowAutoSwitches();
    // The controls in the order to apply them: automatic switches first.
    std::vector<const V4l2Camera::Control*> SwitchesFirst() const;

    V4l2Camera* m_camera;
    std::vector<V4l2Camera::Control> m_controls;
    std::map<uint32_t, QWidget*> m_editors;
    std::map<uint32_t, QSpinBox*> m_values;
    std::map<uint32_t, QWidget*> m_rows; // what a switch disables
};

} // namespace kxcam
