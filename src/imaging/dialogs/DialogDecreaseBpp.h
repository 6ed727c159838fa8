// "Reduzierung Bpp": 1, 4 or 8 bits per pixel, standard or optimised
// palette, error diffusion and an optional colour limit.
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogDecreaseBpp : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogDecreaseBpp(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    int m_bpp = 4;               // preset picks the radio: 8, 4, anything else 1
    int m_paletteMethod = 1;     // after OK: 1 "Optimiert", 0 "Standard"
    bool m_errorDiffusion = false;
    bool m_limitColours = false; // "Limit max colors:"
    int m_maxColours = 256;      // typed 2..256; after OK capped by the bit depth

protected:
    void OnInitDialog() override;
    void OnOK() override;
};
