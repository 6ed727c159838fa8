// The measuring tool: presses, moves, releases and double clicks on the
// picture go to the view's measurement overlay in picture-area pixels.
#pragma once

#include "ViewTool.h"

class CMeasureTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
    void Move(QMouseEvent& event) override;
    void Release(QMouseEvent& event) override;
    void DoubleClick(QMouseEvent& event) override;
};
