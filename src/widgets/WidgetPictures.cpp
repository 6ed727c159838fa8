#include "WidgetPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Resource.h"
#include "WidgetStyle.h"

namespace {

void Channel(QPainter& p, QSize size, bool active) {
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    widgetstyle::PaintTrough(p, r);
    // The focused slider's channel takes a wash of the family colour.
    if (active) {
        QColor wash = widgetstyle::BaseColour();
        wash.setAlpha(60);
        p.setPen(Qt::NoPen);
        p.setBrush(wash);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.height() / 2, r.height() / 2);
    }
}

void Thumb(QPainter& p, QSize size, bool active) {
    const QColor base = widgetstyle::BaseColour();
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient g(0, 0, size.width(), 0);
    const QColor face = active ? base.lighter(135) : base;
    g.setColorAt(0, face.lighter(160));
    g.setColorAt(1, face.darker(130));
    p.setPen(base.darker(220));
    p.setBrush(g);
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawLine(QPointF(r.center().x(), r.top() + 3), QPointF(r.center().x(), r.bottom() - 3));
}

void DialogIcon(QPainter& p, QSize size, int id) {
    const QColor base = widgetstyle::BaseColour();
    const double s = std::min(size.width(), size.height());
    p.scale(s / 16.0, s / 16.0);
    QPen pen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QColor disc = id == IDI_DLG_OK       ? QColor(30, 150, 50)
                        : id == IDI_DLG_CANCEL ? QColor(200, 40, 40)
                                               : base;
    p.setPen(disc.darker(150));
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(pen);
    if (id == IDI_DLG_OK) {
        p.drawPolyline(QPolygonF({QPointF(4.2, 8.3), QPointF(6.8, 11), QPointF(11.8, 5)}));
    } else if (id == IDI_DLG_CANCEL) {
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    } else {
        p.drawLine(QPointF(8, 7.2), QPointF(8, 12));
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(8, 4.4), 1.3, 1.3);
    }
}

} // namespace

QPixmap WidgetPicture(int id, QSize size) {
    if (size.isEmpty()) return {};
    switch (id) {
    case IDB_SLIDER_CHANNEL:
    case IDB_SLIDER_CHANNEL_ACTIVE:
    case IDB_SLIDER_THUMB:
    case IDB_SLIDER_THUMB_ACTIVE:
    case IDI_DLG_CANCEL:
    case IDI_DLG_OK:
    case IDI_DLG_INFO:
        break;
    default:
        return {};
    }
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (id == IDB_SLIDER_CHANNEL || id == IDB_SLIDER_CHANNEL_ACTIVE)
        Channel(p, size, id == IDB_SLIDER_CHANNEL_ACTIVE);
    else if (id == IDB_SLIDER_THUMB || id == IDB_SLIDER_THUMB_ACTIVE)
        Thumb(p, size, id == IDB_SLIDER_THUMB_ACTIVE);
    else
        DialogIcon(p, size, id);
    return pm;
}

QIcon WidgetIcon(int id) {
    QIcon icon;
    for (int s : {16, 24, 32}) {
        const QPixmap pm = WidgetPicture(id, QSize(s, s));
        if (pm.isNull()) return {};
        icon.addPixmap(pm);
    }
    return icon;
}
