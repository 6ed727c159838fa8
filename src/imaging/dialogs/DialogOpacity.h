// "Opacity": the alpha maximum 0..255.
#pragma once

#include <cstdint>

#include "TemplateDialog.h"

class CDialogOpacity : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogOpacity(QWidget* parent = nullptr);

    uint8_t m_level = 255; // the caller presets the image's alpha maximum
};
