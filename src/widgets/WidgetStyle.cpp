#include "WidgetStyle.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace widgetstyle {

QColor BaseColour() { return QColor(0x37, 0x37, 0xFF); }

void ApplyFieldStyle(QWidget* field) {
    QPalette pal = field->palette();
    pal.setColor(QPalette::Highlight, BaseColour());
    pal.setColor(QPalette::HighlightedText, Qt::white);
    field->setPalette(pal);
}

void PaintTrough(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(150, 150, 160));
    g.setColorAt(0.35, QColor(225, 225, 232));
    g.setColorAt(1, QColor(240, 240, 245));
    p.setPen(QColor(90, 90, 110));
    p.setBrush(g);
    const double radius = std::min(4.0, r.height() / 2);
    p.drawRoundedRect(r, radius, radius);
}

void PaintBar(QPainter& p, const QRectF& r) {
    const QColor base = BaseColour();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(175));
    g.setColorAt(0.45, base.lighter(120));
    g.setColorAt(1, base.darker(140));
    p.setPen(base.darker(220));
    p.setBrush(g);
    const double radius = std::min(3.0, r.height() / 2);
    p.drawRoundedRect(r, radius, radius);
    // The light inner edge the shaded buttons also have.
    p.setPen(QColor(255, 255, 255, 140));
    p.drawLine(QPointF(r.left() + 2, r.top() + 1.5), QPointF(r.right() - 2, r.top() + 1.5));
}

} // namespace widgetstyle
