// "Erhöhen Bpp": 4, 8 or 24 bits per pixel.
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogIncreaseBpp : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogIncreaseBpp(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    int m_bpp = 24; // preset picks the radio: 4, 8, anything else 24

protected:
    void OnInitDialog() override;
    void OnOK() override;
};
