#include "ZoomTool.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "KXViewDoc.h"
#include "KXViewView.h"

void CZoomTool::Press(QMouseEvent& event) {
    Zoom(event, !(event.modifiers() & Qt::ShiftModifier));
}

void CZoomTool::RightPress(QMouseEvent& event) {
    Zoom(event, false);
}

void CZoomTool::Zoom(QMouseEvent& event, bool in) {
    const CKXViewDoc* doc = m_view.GetDocument();
    // A click that picks the transparent colour does not zoom.
    if (!doc || doc->m_waitingClick) return;
    const QPoint at = event.position().toPoint();
    QTimer::singleShot(0, &m_view, [view = &m_view, at, in] { view->ZoomAt(at, in); });
}
