#include "LiveView.h"

#include <QEvent>
#include <QPainter>

#include "LiveComposer.h"

CLiveView::CLiveView(CLiveComposer* composer, QWidget* display) : QWidget(display), m_composer(composer) {
    setObjectName(QStringLiteral("LiveView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Mouse and keys go to the display below (stage keys, measurements).
    setAttribute(Qt::WA_TransparentForMouseEvents);
    display->installEventFilter(this);
    setGeometry(display->rect());
    composer->SetViewSize(size());
    connect(composer, &CLiveComposer::ViewChanged, this, qOverload<>(&QWidget::update));
    show();
    // Below the measurement layer, which the display's other children are.
    lower();
}

QRectF CLiveView::Fitted(QSizeF size, QRectF area) {
    if (size.isEmpty() || area.isEmpty()) return {};
    const QSizeF fitted = size.scaled(area.size(), Qt::KeepAspectRatio);
    return {area.left() + (area.width() - fitted.width()) / 2,
            area.top() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

QRect CLiveView::Inset(QSize frame, QRect area) {
    if (frame.isEmpty() || area.isEmpty()) return {};
    const int margin = 6;
    const int w = area.width() / 4;
    const int h = w * frame.height() / frame.width();
    return {area.right() + 1 - margin - w, area.top() + margin, w, h};
}

bool CLiveView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        m_composer->SetViewSize(size());
    }
    return QWidget::eventFilter(watched, event);
}

void CLiveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const CLiveComposer::View view = m_composer->LatestView();
    const QImage& frame = m_composer->LatestFrame();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_composer->Running() == CLiveComposer::Kind::Mosaic) {
        const QImage& shown = view.picture.isNull() ? frame : view.picture;
        const QRectF target = Fitted(shown.size(), rect());
        painter.drawImage(target, shown);
        if (view.picture.isNull() || view.field.isEmpty()) return;
        const double s = target.width() / view.picture.width();
        const QRectF field(target.left() + view.field.left() * s, target.top() + view.field.top() * s,
                           view.field.width() * s, view.field.height() * s);
        painter.setPen(QPen(view.lost ? QColor(230, 30, 30) : QColor(60, 220, 60), 2));
        painter.drawRect(field);
        return;
    }
    // The running stack over the whole display, the raw frame small in a corner.
    painter.drawImage(rect(), view.picture.isNull() ? frame : view.picture);
    const QRect inset = Inset(frame.size(), rect());
    if (inset.isEmpty() || view.picture.isNull()) return;
    painter.drawImage(inset, frame);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(inset.adjusted(0, 0, -1, -1));
}
