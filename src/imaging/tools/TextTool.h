// The text tool: the next click writes the text asked for into the picture, once.
#pragma once

#include "ViewTool.h"

class CTextTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
};
