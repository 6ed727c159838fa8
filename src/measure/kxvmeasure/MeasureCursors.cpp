#include "MeasureCursors.h"

#include <memory>

#include <QPainter>
#include <QPixmap>

namespace kxvm {

namespace {

struct Cursors {
    QCursor draw;
    QCursor move{Qt::SizeAllCursor};
    QCursor handle{Qt::PointingHandCursor};
};
std::unique_ptr<Cursors> g_cursors;

// A thin cross with a gap in the middle, so the pixel under it stays visible.
QCursor MakeDrawCursor() {
    QPixmap pixmap(25, 25);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
        p.setPen(QPen(colour, width));
        p.drawLine(12, 1, 12, 9);
        p.drawLine(12, 15, 12, 23);
        p.drawLine(1, 12, 9, 12);
        p.drawLine(15, 12, 23, 12);
    }
    return QCursor(pixmap, 12, 12);
}

Cursors& Get() {
    if (!g_cursors) MeasureCursors::Create();
    return *g_cursors;
}

} // namespace

void MeasureCursors::Create() {
    if (g_cursors) return;
    g_cursors = std::make_unique<Cursors>();
    g_cursors->draw = MakeDrawCursor();
}

const QCursor& MeasureCursors::Draw() {
    return Get().draw;
}
const QCursor& MeasureCursors::Move() {
    return Get().move;
}
const QCursor& MeasureCursors::Handle() {
    return Get().handle;
}

} // namespace kxvm
