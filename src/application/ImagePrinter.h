// Prints one picture on one page: at the size its resolution gives it,
// shrunk to the printable area when it is larger, from the area's top left.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class QImage;
class QPrinter;

class CImagePrinter {
public:
    // dpi: the picture's dots per inch, 0 or less where it has none (96 then).
    // False with a reason in *error when nothing could be printed.
    static bool Print(QPrinter& printer, const QImage& picture, QSize dpi, const QString& title,
                      QString* error);
    // Where the picture goes, in printer pixels, on a page of `page` pixels
    // at `printerDpi`.
    static QRect PlaceOnPage(QSize picture, QSize dpi, QSize page, int printerDpi);
};
