// The hand: dragging with the left button scrolls a picture larger than the window.
#pragma once

#include <QPoint>

#include "ViewTool.h"

class CMoveTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
    void Move(QMouseEvent& event) override;

private:
    QPoint m_downPoint;
    QPoint m_downScroll;
};
