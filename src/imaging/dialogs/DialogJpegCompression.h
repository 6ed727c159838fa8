// "JPEG compression": the quality 0..100 and the format to try it in.
#pragma once

#include "TemplateDialog.h"

class CDialogJpegCompression : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogJpegCompression(QWidget* parent = nullptr);

    int m_quality = 50;
    int m_format = 0; // 0 JPEG, 1 JPEG 2000
};
