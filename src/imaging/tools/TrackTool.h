// The tracker: dragging draws a rectangle (or moves the one drawn, when the
// drag starts inside it); releasing makes it the picture's selection.
// Escape during a drag removes the rectangle.
#pragma once

#include <QPoint>
#include <QRect>

#include "ViewTool.h"

class CTrackTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
    void Move(QMouseEvent& event) override;
    void Release(QMouseEvent& event) override;
    bool Cancel() override;

private:
    enum class Drag { None, New, Move } m_drag = Drag::None;
    QPoint m_start;     // in logical (scrolled) pixels
    QRect m_startRect;
};
