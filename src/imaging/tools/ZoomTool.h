// The magnifier: a click zooms in one step.
#pragma once

#include "ViewTool.h"

class CZoomTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
};
