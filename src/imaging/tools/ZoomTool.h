// The magnifier: a click zooms in one step about the point clicked; with
// Shift, or with the right button, it zooms out.
#pragma once

#include "ViewTool.h"

class CZoomTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
    void RightPress(QMouseEvent& event) override;

private:
    void Zoom(QMouseEvent& event, bool in);
};
