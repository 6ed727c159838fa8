#include "MoveTool.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>

#include "KXViewDoc.h"
#include "KXViewView.h"

void CMoveTool::Press(QMouseEvent& event) {
    if (CKXViewDoc* doc = m_view.GetDocument()) {
        doc->m_rectSelection = event.modifiers() & Qt::ShiftModifier;
        if (!doc->DisplayImage()) return;
    }
    m_downScroll = m_view.ScrollPosition();
    m_downPoint = event.position().toPoint();
}

void CMoveTool::Move(QMouseEvent& event) {
    if (!(event.buttons() & Qt::LeftButton) || !m_view.OverPicture(event.position().toPoint())) return;
    const QPoint p = event.position().toPoint();
    m_view.ScrollArea()->viewport()->setCursor(Qt::SizeAllCursor);
    const QSize client = m_view.ClientSize();
    const QSize size = m_view.ScrollSize();
    const int x = size.width() > client.width() ? m_downScroll.x() + m_downPoint.x() - p.x() : 0;
    const int y = size.height() > client.height() ? m_downScroll.y() + m_downPoint.y() - p.y() : 0;
    m_view.ScrollTo(QPoint(x, y));
}
