#include "ImagePrinter.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRect>

namespace {
constexpr int kDefaultDpi = 96;
}

QRect CImagePrinter::PlaceOnPage(QSize picture, QSize dpi, QSize page, int printerDpi) {
    const int dpiX = dpi.width() > 0 ? dpi.width() : kDefaultDpi;
    const int dpiY = dpi.height() > 0 ? dpi.height() : kDefaultDpi;
    QSize size(static_cast<int>(static_cast<qint64>(picture.width()) * printerDpi / dpiX),
               static_cast<int>(static_cast<qint64>(picture.height()) * printerDpi / dpiY));
    if (size.width() > page.width() || size.height() > page.height()) size.scale(page, Qt::KeepAspectRatio);
    return {QPoint(0, 0), size.expandedTo(QSize(1, 1))};
}

bool CImagePrinter::Print(QPrinter& printer, const QImage& picture, QSize dpi, const QString& title,
                          QString* error) {
    if (picture.isNull()) {
        if (error) *error = QCoreApplication::translate("ImagePrinter", "Das Dokument enthält kein Bild.");
        return false;
    }
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QCoreApplication::translate("ImagePrinter", "Der Drucker nimmt keinen Auftrag an.");
        return false;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect target = PlaceOnPage(picture.size(), dpi, page.size(), printer.resolution());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    if (!painter.end()) {
        if (error)
            *error = QCoreApplication::translate("ImagePrinter", "Der Druckauftrag wurde abgebrochen.");
        return false;
    }
    return true;
}
