// What the pages' and dialogs' own widgets share so they look like one family
// with the shaded buttons and the bitmap slider: the base colour 0x00FF3737
// and the way fields and bars use it.
#pragma once

#include <QColor>

class QPainter;
class QRectF;
class QWidget;

namespace widgetstyle {

// The family's base colour (COLORREF 0x00FF3737: red 0x37, green 0x37, blue 0xFF).
QColor BaseColour();
// Selection and focus frame of an edit field in the base colour.
void ApplyFieldStyle(QWidget* field);
// A rounded, lightly shaded trough, as under the slider's thumb.
void PaintTrough(QPainter& p, const QRectF& r);
// A bar filled with the base colour, light at the top and deep at the bottom.
void PaintBar(QPainter& p, const QRectF& r);

} // namespace widgetstyle
