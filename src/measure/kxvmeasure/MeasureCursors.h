// The cursors of the measuring tool: a cross for drawing, arrows for moving
// an object and for dragging one of its handles. Made once at start-up.
#pragma once

#include <QCursor>

namespace kxvm {

class MeasureCursors {
public:
    static void Create();
    static const QCursor& Draw();
    static const QCursor& Move();
    static const QCursor& Handle();
};

} // namespace kxvm
