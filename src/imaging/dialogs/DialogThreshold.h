// "Schwelle": the threshold level 0..255.
#pragma once

#include <cstdint>

#include "TemplateDialog.h"

class CDialogThreshold : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogThreshold(QWidget* parent = nullptr);

    uint8_t m_level = 128; // the caller presets the image's mean brightness
};
