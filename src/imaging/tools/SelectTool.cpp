#include "SelectTool.h"

#include <cmath>

#include <QAbstractScrollArea>
#include <QMouseEvent>

#include "Image.h"
#include "KXViewDoc.h"
#include "KXViewView.h"

void CSelectTool::Press(QMouseEvent& event) {
    if (CKXViewDoc* doc = m_view.GetDocument()) doc->m_rectSelection = event.modifiers() & Qt::ShiftModifier;
    m_view.SetSelecting(true);
}

void CSelectTool::Move(QMouseEvent& event) {
    const CKXViewDoc* doc = m_view.GetDocument();
    if (!doc || doc->IsBusy() || !m_view.OverPicture(event.position().toPoint())) return;
    const Qt::MouseButtons buttons = event.buttons();
    if ((buttons & Qt::RightButton) && !(buttons & Qt::LeftButton)) MoveOrTurn(event);
    if (buttons & Qt::LeftButton) Draw(event);
}

void CSelectTool::MoveOrTurn(QMouseEvent& event) {
    CKXViewDoc* doc = m_view.GetDocument();
    const QPointF m(m_view.ClientToImage(event.position().toPoint()));
    if (event.modifiers() & Qt::ControlModifier) {
        const int dx = static_cast<int>(m.x() - m_lastDrag.x()), dy = static_cast<int>(m.y() - m_lastDrag.y());
        for (int i = 0; i < doc->m_selCount; ++i) {
            doc->m_selPoints[static_cast<size_t>(i)].x += dx;
            doc->m_selPoints[static_cast<size_t>(i)].y += dy;
        }
    } else if (doc->m_rectSelection && doc->m_selCount == 5) {
        const double angle = std::atan2(m.y() - m_rotateCentre.y(), m.x() - m_rotateCentre.x()) -
                             std::atan2(m_lastDrag.y() - m_rotateCentre.y(), m_lastDrag.x() - m_rotateCentre.x());
        const double c = std::cos(angle), s = std::sin(angle);
        for (size_t i = 0; i < 5; ++i) {
            const QPointF d = m_rotatePoints[i] - m_rotateCentre;
            m_rotatePoints[i] = m_rotateCentre + QPointF(d.x() * c - d.y() * s, d.x() * s + d.y() * c);
            doc->m_selPoints[i] = {static_cast<int32_t>(std::floor(m_rotatePoints[i].x())),
                                   static_cast<int32_t>(std::floor(m_rotatePoints[i].y()))};
        }
    } else {
        return;
    }
    m_lastDrag = m;
    m_rightDragChanged = true;
    m_view.ScrollArea()->viewport()->update();
}

void CSelectTool::Draw(QMouseEvent& event) {
    CKXViewDoc* doc = m_view.GetDocument();
    const QPoint p = event.position().toPoint();
    const QPoint pt = m_view.ClientToImage(p);
    m_view.ScrollArea()->viewport()->setCursor(Qt::CrossCursor);
    if (event.modifiers() & Qt::ShiftModifier) {
        doc->m_rectSelection = true;
        if (doc->m_selCount == 0) {
            doc->m_selPoints[0] = {pt.x(), pt.y()};
            doc->m_selCount = 1;
        } else {
            const vimg::POINT first = doc->m_selPoints[0];
            doc->m_selPoints[1] = {pt.x(), first.y};
            doc->m_selPoints[2] = {pt.x(), pt.y()};
            doc->m_selPoints[3] = {first.x, pt.y()};
            doc->m_selPoints[4] = first;
            doc->m_selCount = 5;
        }
        m_view.ScrollArea()->viewport()->update();
    } else {
        const QPoint scroll = m_view.ScrollPosition();
        const double zoom = m_view.m_zoomFactor;
        doc->m_selPoints[static_cast<size_t>(doc->m_selCount)] = {
            static_cast<int32_t>((p.x() + scroll.x()) / zoom), static_cast<int32_t>((p.y() + scroll.y()) / zoom)};
        // Past the last entry later points overwrite it.
        if (doc->m_selCount < CKXViewDoc::kMaxSelPoints - 2) ++doc->m_selCount;
    }
    m_view.RedrawOutline();
}

void CSelectTool::Release(QMouseEvent&) {
    m_view.SetSelecting(false);
    CKXViewDoc* doc = m_view.GetDocument();
    vimg::Image* image = doc ? doc->GetImage() : nullptr;
    if (!image || !image->IsValid() || doc->IsBusy()) return;
    if (doc->m_selCount < 3) {
        image->SelectionDelete();
    } else {
        const vimg::POINT first = doc->m_selPoints[0];
        const vimg::POINT last = doc->m_selPoints[static_cast<size_t>(doc->m_selCount - 1)];
        // A free-hand polygon is closed; a Shift rectangle already ends on its first point.
        if (!(first.x == last.x && first.y == last.y) && doc->m_selCount < CKXViewDoc::kMaxSelPoints)
            doc->m_selPoints[static_cast<size_t>(doc->m_selCount++)] = first;
        m_view.StartOutlineAnimation();
        m_view.ApplySelection();
    }
    m_view.ScrollArea()->viewport()->update();
}

void CSelectTool::RightPress(QMouseEvent& event) {
    const CKXViewDoc* doc = m_view.GetDocument();
    if (!doc) return;
    // A right-button drag starts from here: the centre of a rotation is the rectangle's centre.
    m_lastDrag = QPointF(m_view.ClientToImage(event.position().toPoint()));
    m_rightDragChanged = false;
    if (doc->m_selCount != 5) return;
    QPointF sum;
    for (size_t i = 0; i < 4; ++i) {
        m_rotatePoints[i] = QPointF(doc->m_selPoints[i].x, doc->m_selPoints[i].y);
        sum += m_rotatePoints[i];
    }
    m_rotatePoints[4] = m_rotatePoints[0];
    m_rotateCentre = sum / 4.0;
}

void CSelectTool::RightRelease(QMouseEvent&) {
    const CKXViewDoc* doc = m_view.GetDocument();
    // A moved or turned outline takes the image's selection with it.
    if (doc && m_rightDragChanged && doc->m_selCount >= 3) m_view.ApplySelection();
    m_rightDragChanged = false;
}
