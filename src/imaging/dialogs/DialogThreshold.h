// "Schwelle": the threshold level 0..255.
#pragma once

#include <cstdint>

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogThreshold : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogThreshold(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    uint8_t m_level = 128; // the caller presets the image's mean brightness
};
