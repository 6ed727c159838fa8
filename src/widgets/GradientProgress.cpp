#include "GradientProgress.h"

#include <algorithm>

#include <QPainter>

#include "WidgetStyle.h"

CGradientProgress::CGradientProgress(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
}

void CGradientProgress::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

int CGradientProgress::Percent() const {
    const qint64 span = static_cast<qint64>(maximum()) - minimum();
    if (span <= 0) return 0;
    const qint64 done = std::clamp<qint64>(static_cast<qint64>(value()) - minimum(), 0, span);
    return static_cast<int>(done * 100 / span);
}

QString CGradientProgress::text() const { return QStringLiteral("%1: %2%").arg(m_caption).arg(Percent()); }

void CGradientProgress::SetPos(int pos) {
    setValue(pos);
    repaint();
}

void CGradientProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF trough = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    widgetstyle::PaintTrough(p, trough);
    const int percent = Percent();
    if (percent > 0) {
        QRectF bar = trough.adjusted(1.5, 1.5, -1.5, -1.5);
        bar.setWidth(bar.width() * percent / 100.0);
        widgetstyle::PaintBar(p, bar);
    }
    // Dark text over the trough, white over the bar.
    const QString label = text();
    const QRect filled(0, 0, static_cast<int>(width() * percent / 100.0), height());
    p.setPen(QColor(30, 30, 60));
    p.setClipRegion(QRegion(rect()).subtracted(filled));
    p.drawText(rect(), Qt::AlignCenter, label);
    p.setPen(Qt::white);
    p.setClipRect(filled);
    p.drawText(rect(), Qt::AlignCenter, label);
}
