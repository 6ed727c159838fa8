// "Kalibrierung": pick a stored calibration of this camera and resolution,
// or make one from the drawn line and its known length, or from a typed
// number of pixels per unit; or measure in pixels.
#pragma once

#include <QDialog>

#include "MeasurePrompts.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

namespace kxvm {

class CalibrationDialog : public QDialog {
    Q_OBJECT
public:
    CalibrationDialog(const CalibrationRequest& request, QWidget* parent = nullptr);
    CalibrationAnswer Answer() const;

private:
    void StoredChosen(int index);
    void UpdateState();

    CalibrationRequest m_request;
    QComboBox* m_stored;
    QLineEdit* m_name;
    QButtonGroup* m_way;
    QDoubleSpinBox* m_length;
    QDoubleSpinBox* m_pixels;
    QComboBox* m_unit;
    QCheckBox* m_keep;
    std::vector<QString> m_removed;
};

} // namespace kxvm
