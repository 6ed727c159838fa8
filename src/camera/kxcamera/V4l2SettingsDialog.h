// The settings dialog of a V4L2 camera: one row per control of the device
// (sliders, check boxes, choice lists and buttons), applied as they change;
// Cancel puts the old values back. Dialog 1 shows the picture controls,
// dialog 2 the exposure controls of the camera class.
#pragma once

#include <map>

#include <QDialog>

#include "V4l2Camera.h"

namespace kxcam {

class V4l2SettingsDialog : public QDialog {
    Q_OBJECT
public:
    V4l2SettingsDialog(V4l2Camera* camera, int which, QWidget* parent = nullptr);

    // The widget for a control id (tests).
    QWidget* Editor(uint32_t id) const;
    void done(int result) override;

private:
    V4l2Camera* m_camera;
    std::vector<V4l2Camera::Control> m_controls;
    std::map<uint32_t, QWidget*> m_editors;
};

} // namespace kxcam
