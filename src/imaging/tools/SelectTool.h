// The selection tool. A left drag draws a free-hand outline, with Shift a
// rectangle; releasing closes it and makes it the picture's selection. A
// right drag moves the outline (with Ctrl) or turns a rectangle about its
// centre; releasing hands the moved outline to the picture.
#pragma once

#include <array>

#include <QPointF>

#include "ViewTool.h"

class CSelectTool : public CViewTool {
public:
    using CViewTool::CViewTool;
    void Press(QMouseEvent& event) override;
    void Move(QMouseEvent& event) override;
    void Release(QMouseEvent& event) override;
    void RightPress(QMouseEvent& event) override;
    void RightRelease(QMouseEvent& event) override;

private:
    void Draw(QMouseEvent& event);
    void MoveOrTurn(QMouseEvent& event);

    QPointF m_lastDrag;
    QPointF m_rotateCentre;
    std::array<QPointF, 5> m_rotatePoints;
    bool m_rightDragChanged = false;
};
