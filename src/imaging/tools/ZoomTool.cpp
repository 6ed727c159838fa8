#include "ZoomTool.h"

#include <QTimer>

#include "KXViewDoc.h"
#include "KXViewView.h"

void CZoomTool::Press(QMouseEvent&) {
    const CKXViewDoc* doc = m_view.GetDocument();
    // A click that picks the transparent colour does not zoom.
    if (doc && !doc->m_waitingClick) QTimer::singleShot(0, &m_view, [view = &m_view] { view->OnZoomIn(); });
}
