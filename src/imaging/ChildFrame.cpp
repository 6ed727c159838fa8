#include "ChildFrame.h"

#include <QMdiArea>

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {
    // A tab that comes to the front after another was closed must fill the
    // area again: the MDI area leaves it at its old free size.
    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] {
        if (mdiArea() && mdiArea()->viewMode() == QMdiArea::TabbedView && !isMaximized()) showMaximized();
    });
}

QSize CChildFrame::FittedClient(QSize picture, QSize area, QPoint offset) {
    return {qMin(picture.width() + 4, area.width() - offset.x() - 12),
            qMin(picture.height() + 4, area.height() - offset.y() - 12)};
}

void CChildFrame::FitToPicture(QSize picture) {
    if (isMinimized() || isMaximized() || !widget()) return;
    QMdiArea* area = mdiArea();
    // Tabbed documents fill the area; only free windows take the picture's size.
    if (!area || area->viewMode() == QMdiArea::TabbedView) return;
    const QSize decoration = size() - widget()->size();
    const QSize client = FittedClient(picture, area->viewport()->size(), pos());
    resize(client.expandedTo(QSize(1, 1)) + decoration);
}
