#include "TrackTool.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>

#include "Image.h"
#include "KXViewDoc.h"
#include "KXViewView.h"

void CTrackTool::Press(QMouseEvent& event) {
    const CKXViewDoc* doc = m_view.GetDocument();
    const vimg::Image* image = doc ? doc->GetImage() : nullptr;
    if (!image || !image->IsValid() || doc->IsBusy()) return;
    const QPoint logical = event.position().toPoint() + m_view.ScrollPosition();
    m_start = logical;
    m_startRect = m_view.Tracker();
    m_drag = m_view.Tracker().contains(logical) ? Drag::Move : Drag::New;
    if (m_drag == Drag::New) m_view.Tracker() = QRect();
    m_view.grabKeyboard();
}

void CTrackTool::Move(QMouseEvent& event) {
    if (m_drag == Drag::None) return;
    const QPoint logical = event.position().toPoint() + m_view.ScrollPosition();
    if (m_drag == Drag::Move)
        m_view.Tracker() = m_startRect.translated(logical - m_start);
    else
        m_view.Tracker() = QRect(m_start, logical).normalized();
    m_view.ScrollArea()->viewport()->update();
}

void CTrackTool::Release(QMouseEvent&) {
    if (m_drag == Drag::None) return;
    m_view.releaseKeyboard();
    m_drag = Drag::None;
    CKXViewDoc* doc = m_view.GetDocument();
    vimg::Image* image = doc ? doc->GetImage() : nullptr;
    QRect& tracker = m_view.Tracker();
    if (tracker.width() > 0 && tracker.height() > 0 && image && !doc->IsBusy()) {
        const QPoint scroll = m_view.ScrollPosition();
        // Image pixels from a (inclusive) to b (exclusive); the library's rectangle
        // covers rows bottom .. top - 1.
        const QPoint a = m_view.ClientToImage(tracker.topLeft() - scroll);
        const QPoint b = m_view.ClientToImage(tracker.bottomRight() + QPoint(1, 1) - scroll);
        const int h = static_cast<int>(image->GetHeight());
        image->SelectionClear();
        image->SelectionAddRect(vimg::RECT{a.x(), h - a.y(), b.x(), h - b.y()});
    } else {
        tracker = QRect();
    }
    m_view.OnUpdate(nullptr, 0);
}

bool CTrackTool::Cancel() {
    if (m_drag == Drag::None) return false;
    // A cancelled drag leaves no rectangle.
    m_view.releaseKeyboard();
    m_drag = Drag::None;
    m_view.Tracker() = QRect();
    m_view.OnUpdate(nullptr, 0);
    return true;
}
