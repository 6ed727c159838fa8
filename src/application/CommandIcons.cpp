#include "CommandIcons.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "Resource.h"

namespace {

constexpr int kSize = 24;

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1d, 0x35, 0x57), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    paint(p);
    return QIcon(pm);
}

void Magnifier(QPainter& p, const char* sign) {
    p.setBrush(QColor(0xa8, 0xda, 0xdc));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    if (sign[0] == '+' || sign[0] == '-') p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (sign[0] == '+') p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

void Label(QPainter& p, const QString& text, int pixelSize) {
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(pixelSize);
    p.setFont(f);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
}

void Arrow(QPainter& p, bool redo) {
    QPainterPath path;
    if (redo) {
        path.moveTo(5, 17);
        path.cubicTo(5, 8, 15, 6, 18, 11);
        p.drawPath(path);
        p.drawLine(QPointF(18, 11), QPointF(19, 5));
        p.drawLine(QPointF(18, 11), QPointF(12.5, 10));
    } else {
        path.moveTo(19, 17);
        path.cubicTo(19, 8, 9, 6, 6, 11);
        p.drawPath(path);
        p.drawLine(QPointF(6, 11), QPointF(5, 5));
        p.drawLine(QPointF(6, 11), QPointF(11.5, 10));
    }
}

} // namespace

QIcon CommandIcon(int id) {
    const QColor fill(0xf1, 0xfa, 0xee);
    const QColor accent(0xe6, 0x39, 0x46);
    switch (id) {
    case ID_FILE_NEW:
        return Draw([&](QPainter& p) {
            p.setBrush(fill);
            p.drawPolygon(QPolygonF({{5, 3}, {15, 3}, {19, 7}, {19, 21}, {5, 21}}));
            p.drawPolyline(QPolygonF({{15, 3}, {15, 7}, {19, 7}}));
        });
    case ID_FILE_OPEN:
        return Draw([&](QPainter& p) {
            p.setBrush(QColor(0xf4, 0xc4, 0x30));
            p.drawPolygon(QPolygonF({{3, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 19}, {3, 19}}));
        });
    case ID_FILE_SAVE:
        return Draw([&](QPainter& p) {
            p.setBrush(QColor(0x45, 0x7b, 0x9d));
            p.drawRect(QRectF(4, 4, 16, 16));
            p.setBrush(fill);
            p.drawRect(QRectF(7, 4, 10, 6));
            p.drawRect(QRectF(7, 13, 10, 7));
        });
    case ID_EDIT_COPY:
        return Draw([&](QPainter& p) {
            p.setBrush(fill);
            p.drawRect(QRectF(4, 3, 10, 13));
            p.drawRect(QRectF(10, 8, 10, 13));
        });
    case ID_EDIT_PASTE:
        return Draw([&](QPainter& p) {
            p.setBrush(QColor(0xc9, 0x8b, 0x4a));
            p.drawRect(QRectF(4, 5, 14, 16));
            p.setBrush(fill);
            p.drawRect(QRectF(8, 3, 6, 4));
            p.drawRect(QRectF(10, 10, 10, 11));
        });
    case ID_ZOOM_IN: return Draw([](QPainter& p) { Magnifier(p, "+"); });
    case ID_ZOOM_OUT: return Draw([](QPainter& p) { Magnifier(p, "-"); });
    case ID_TOOL_ZOOM: return Draw([](QPainter& p) { Magnifier(p, ""); });
    case ID_ZOOM_NORMAL: return Draw([](QPainter& p) { Label(p, QStringLiteral("1:1"), 10); });
    case ID_STRETCH_MODE:
        return Draw([](QPainter& p) {
            p.drawRect(QRectF(3, 3, 18, 18));
            p.drawLine(QPointF(7, 7), QPointF(17, 17));
            p.drawLine(QPointF(17, 7), QPointF(7, 17));
        });
    case ID_TOOL_MOVE:
        return Draw([](QPainter& p) {
            p.drawLine(QPointF(12, 3), QPointF(12, 21));
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            p.drawPolyline(QPolygonF({{9, 6}, {12, 3}, {15, 6}}));
            p.drawPolyline(QPolygonF({{9, 18}, {12, 21}, {15, 18}}));
            p.drawPolyline(QPolygonF({{6, 9}, {3, 12}, {6, 15}}));
            p.drawPolyline(QPolygonF({{18, 9}, {21, 12}, {18, 15}}));
        });
    case ID_TOOL_SELECT:
        return Draw([](QPainter& p) {
            QPen pen = p.pen();
            pen.setStyle(Qt::DashLine);
            p.setPen(pen);
            p.drawRect(QRectF(4, 5, 16, 14));
        });
    case ID_TOOL_TRACK:
        return Draw([](QPainter& p) {
            QPainterPath path;
            path.moveTo(3, 17);
            path.cubicTo(7, 2, 12, 24, 21, 6);
            p.drawPath(path);
        });
    case ID_TOOL_TEXT: return Draw([](QPainter& p) { Label(p, QStringLiteral("T"), 18); });
    case ID_VIEW_HISTOGRAM:
        return Draw([&](QPainter& p) {
            p.setBrush(QColor(0x45, 0x7b, 0x9d));
            const int heights[] = {5, 11, 16, 9, 13};
            for (int i = 0; i < 5; ++i) p.drawRect(QRectF(3 + i * 3.7, 21 - heights[i], 3, heights[i]));
        });
    case ID_VIEW_PALETTE:
        return Draw([&](QPainter& p) {
            const QColor colours[] = {accent, QColor(0x2a, 0x9d, 0x8f), QColor(0xf4, 0xc4, 0x30),
                                      QColor(0x45, 0x7b, 0x9d)};
            for (int i = 0; i < 4; ++i) {
                p.setBrush(colours[i]);
                p.drawRect(QRectF(4 + (i % 2) * 8.5, 4 + (i / 2) * 8.5, 7, 7));
            }
        });
    case ID_IMAGE_OPTIONS:
        return Draw([&](QPainter& p) {
            for (int a = 0; a < 180; a += 45) {
                p.save();
                p.translate(12, 12);
                p.rotate(a);
                p.drawLine(QPointF(-9, 0), QPointF(9, 0));
                p.restore();
            }
            p.setBrush(fill);
            p.drawEllipse(QRectF(6, 6, 12, 12));
            p.drawEllipse(QRectF(10, 10, 4, 4));
        });
    case 32781: // measurement: select
        return Draw([&](QPainter& p) {
            p.setBrush(fill);
            p.drawPolygon(QPolygonF({{6, 3}, {6, 19}, {10, 15}, {13, 21}, {15, 20}, {12, 14}, {17, 14}}));
        });
    case 32773: return Draw([](QPainter& p) { p.drawLine(QPointF(4, 19), QPointF(20, 5)); });
    case 32774: return Draw([](QPainter& p) { p.drawRect(QRectF(4, 6, 16, 12)); });
    case 32775: return Draw([](QPainter& p) { p.drawEllipse(QRectF(4, 4, 16, 16)); });
    case 32776:
        return Draw([](QPainter& p) {
            p.drawPolygon(QPolygonF({{4, 9}, {11, 3}, {20, 8}, {17, 20}, {7, 19}}));
        });
    case 32777:
        return Draw([](QPainter& p) {
            p.drawPolyline(QPolygonF({{20, 19}, {4, 19}, {16, 5}}));
            p.drawArc(QRectF(0, 11, 16, 16), 0, 50 * 16);
        });
    case 32779:
        return Draw([&](QPainter& p) {
            p.setBrush(accent);
            p.drawEllipse(QRectF(9, 9, 6, 6));
        });
    case 32780:
        return Draw([](QPainter& p) {
            p.drawRect(QRectF(3, 4, 18, 16));
            Label(p, QStringLiteral("A"), 13);
        });
    case ID_MEASURE_UNDO: return Draw([](QPainter& p) { Arrow(p, false); });
    case ID_MEASURE_REDO: return Draw([](QPainter& p) { Arrow(p, true); });
    case ID_APP_ABOUT: return Draw([](QPainter& p) { Label(p, QStringLiteral("?"), 18); });
    default: return {};
    }
}
