// "Dither": one of eight dithering methods.
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogDither : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogDither(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // 0 Floyd-Steinberg, 1 ordered, 2 Burkes, 3 Stucki, 4 Jarvis-Judice-Ninke,
    // 5 Sierra, 6 Stevenson-Arce, 7 Bayer 4x4.
    int m_method = 0;
};
