// The about box: icon, version text, maker's line and a link to the maker.
#pragma once

#include "TemplateDialog.h"

class CAboutDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static const char* MakerLink();
};
