// The pictures the widgets are drawn from, painted in code at the size asked
// for: the slider's channel and thumb (bitmaps 184 to 187) and the dialog
// icons (154 cancel, 155 OK, 156 information).
#pragma once

#include <QIcon>
#include <QPixmap>

// Null for an id that is not one of the widget pictures.
QPixmap WidgetPicture(int id, QSize size);
// The icon at the usual small sizes; null for an unknown id.
QIcon WidgetIcon(int id);
