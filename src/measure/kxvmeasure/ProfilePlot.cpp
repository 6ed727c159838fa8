#include "ProfilePlot.h"

#include <algorithm>

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

namespace kxvm {

ProfilePlot::ProfilePlot(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("LineProfile"));
    setWindowTitle(tr("Linienprofil"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 240);
}

void ProfilePlot::SetProfile(std::vector<double> values, double length, const QString& unit) {
    m_values = std::move(values);
    m_length = length;
    m_unit = unit;
    update();
}

void ProfilePlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    // Room for the grey scale on the left and the distance below.
    const QRectF plot(fm.horizontalAdvance(QStringLiteral("255")) + 10, 8,
                      width() - fm.horizontalAdvance(QStringLiteral("255")) - 20, height() - 2 * fm.height() - 16);
    if (plot.width() < 10 || plot.height() < 10) return;
    p.setPen(palette().text().color());
    p.drawRect(plot);
    p.drawText(QRectF(0, plot.top() - fm.height() / 2.0, plot.left() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("255"));
    p.drawText(QRectF(0, plot.bottom() - fm.height() / 2.0, plot.left() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    p.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), fm.height()), Qt::AlignLeft, QStringLiteral("0"));
    p.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), fm.height()), Qt::AlignRight,
               QStringLiteral("%1 %2").arg(QLocale().toString(m_length, 'g', 4), m_unit));
    p.drawText(QRectF(plot.left(), plot.bottom() + 4 + fm.height(), plot.width(), fm.height()), Qt::AlignHCenter,
               tr("Abstand (%1)").arg(m_unit));
    if (m_values.size() < 2) return;
    QPainterPath path;
    for (size_t i = 0; i < m_values.size(); ++i) {
        const QPointF at(plot.left() + plot.width() * static_cast<double>(i) / static_cast<double>(m_values.size() - 1),
                         plot.bottom() - plot.height() * std::clamp(m_values[i], 0.0, 255.0) / 255.0);
        if (i == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    p.setPen(QPen(palette().highlight().color(), 1.5));
    p.drawPath(path);
}

} // namespace kxvm
