// The simulated camera's own settings dialogs: 1 the colour gains with a white
// balance button, 2 the exposure (rows and row time). Gains change the picture
// while the sliders move; Cancel puts the old values back.
#pragma once

#include <QDialog>

class QSlider;
class QSpinBox;

namespace kxcam {

class SimCamera;

class SimSettingsDialog : public QDialog {
    Q_OBJECT
public:
    SimSettingsDialog(int which, SimCamera* camera, QWidget* parent = nullptr);

    QSlider* GainSlider(int channel) const { return m_gain[channel]; }
    QSpinBox* ExposureRows() const { return m_rows; }
    QSpinBox* RowTime() const { return m_rowTime; }

    void done(int result) override;

private:
    SimCamera* m_camera;
    QSlider* m_gain[3] = {};
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_rowTime = nullptr;
    int m_oldGains[3] = {};
    uint32_t m_oldRows = 0;
    uint32_t m_oldRowTime = 0;
};

} // namespace kxcam
