#include "MeasureTool.h"

#include <QMouseEvent>

#include "KXViewView.h"
#include "MeasureOverlay.h"

namespace {

// The overlay and the point in picture-area pixels, when the event is over the picture.
CMeasureOverlay* Target(CKXViewView& view, const QMouseEvent& event, QPoint* at) {
    const QPoint p = event.position().toPoint();
    CMeasureOverlay* overlay = view.MeasureOverlay();
    if (!overlay || !view.ImageRect().contains(p)) return nullptr;
    *at = p + view.ScrollPosition();
    return overlay;
}

} // namespace

void CMeasureTool::Press(QMouseEvent& event) {
    QPoint at;
    if (CMeasureOverlay* overlay = Target(m_view, event, &at)) overlay->MouseDown(at);
}

void CMeasureTool::Move(QMouseEvent& event) {
    QPoint at;
    if (CMeasureOverlay* overlay = Target(m_view, event, &at)) overlay->MouseMove(at);
}

void CMeasureTool::Release(QMouseEvent& event) {
    QPoint at;
    if (CMeasureOverlay* overlay = Target(m_view, event, &at)) overlay->MouseUp(at);
}

void CMeasureTool::DoubleClick(QMouseEvent& event) {
    QPoint at;
    if (CMeasureOverlay* overlay = Target(m_view, event, &at)) overlay->DoubleClick(at);
}
