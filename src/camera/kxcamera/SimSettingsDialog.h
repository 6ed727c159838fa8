// The simulated camera's own settings dialogs. 1: the colour gains with a
// white balance button, the microscope's stage and focus, and for the
// long-exposure types (10, 11, 12, 14) the exposure; 2: the exposure (units
// and row time). Gains, stage and focus change the picture at once; Cancel
// ("Abbrechen") puts the old values back. The exposure applies on OK.
#pragma once

#include <QDialog>

#include "SimPicture.h"

class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QSlider;
class QSpinBox;

namespace kxcam {

class SimCamera;

class SimSettingsDialog : public QDialog {
    Q_OBJECT
public:
    SimSettingsDialog(int which, SimCamera* camera, QWidget* parent = nullptr);

    QSlider* GainSlider(int channel) const { return m_gain[channel]; }
    QSpinBox* StageX() const { return m_stageX; }
    QSpinBox* StageY() const { return m_stageY; }
    QDoubleSpinBox* Focus() const { return m_focus; }
    // Null where the dialog has no exposure.
    QSpinBox* ExposureRows() const { return m_rows; }
    QSpinBox* RowTime() const { return m_rowTime; }
    // The long exposure the fields give, as the user reads it ("4.00 s").
    QLabel* ExposureSeconds() const { return m_seconds; }

    void done(int result) override;

private:
    void AddGains(QFormLayout* form);
    void AddStage(QFormLayout* form);
    void AddExposure(QFormLayout* form, bool withRowTime);
    void ShowSeconds();

    SimCamera* m_camera;
    int m_type;
    QSlider* m_gain[3] = {};
    QSpinBox* m_stageX = nullptr;
    QSpinBox* m_stageY = nullptr;
    QDoubleSpinBox* m_focus = nullptr;
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_rowTime = nullptr;
    QLabel* m_seconds = nullptr;
    int m_oldGains[3] = {};
    StagePosition m_oldStage;
};

} // namespace kxcam
