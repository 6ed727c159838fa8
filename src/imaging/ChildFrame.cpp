#include "ChildFrame.h"

#include <QMdiArea>

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {}

QSize CChildFrame::FittedClient(QSize picture, QSize area, QPoint offset) {
    return {qMin(picture.width() + 4, area.width() - offset.x() - 12),
            qMin(picture.height() + 4, area.height() - offset.y() - 12)};
}

void CChildFrame::FitToPicture(QSize picture) {
    if (isMinimized() || isMaximized() || !widget()) return;
    QMdiArea* area = mdiArea();
    if (!area) return;
    const QSize decoration = size() - widget()->size();
    const QSize client = FittedClient(picture, area->viewport()->size(), pos());
    resize(client.expandedTo(QSize(1, 1)) + decoration);
}
