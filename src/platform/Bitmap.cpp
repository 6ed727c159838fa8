#include "Bitmap.h"

namespace {

bool FormatFits(QImage::Format format, int bitsPixel) {
    switch (bitsPixel) {
    case 1:
        return format == QImage::Format_Mono;
    case 4:
    case 8:
        return format == QImage::Format_Indexed8;
    case 24:
        return format == QImage::Format_BGR888;
    case 32:
        return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    default:
        return false;
    }
}

} // namespace

CBitmap::CBitmap(QImage image, int bitsPixel) {
    if (image.isNull() || !FormatFits(image.format(), bitsPixel)) return;
    m_image = std::move(image);
    m_bitsPixel = bitsPixel;
}
