// "Wiederherstellen": radius, iterations 1..50 and colour space of the repair.
#pragma once

#include "TemplateDialog.h"

class CDialogRepair : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogRepair(QWidget* parent = nullptr);

    float m_radius = 0.25f;
    int m_iterations = 2;   // "Wiederholen", 1..50
    int m_colourSpace = 0;  // list position: RGB, HSL, YUV, YIQ, XYZ

protected:
    void OnInitDialog() override;
};
