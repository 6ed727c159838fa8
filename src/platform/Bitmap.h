// A bitmap object of the platform layer: a picture of a given depth held in a
// QImage. Device bitmaps are 32 bits (RGB32); bitmaps made without a device
// keep the depth of their source: 1 bit (QImage Mono), 4 or 8 bits (Indexed8
// with its colour table; 4-bit ones use the first 16 entries) and 24 bits
// (BGR888).
#pragma once

#include <QImage>

class CBitmap {
public:
    // `bitsPixel` is 1, 4, 8, 24 or 32 and must fit the image's format;
    // anything else gives an empty bitmap.
    CBitmap(QImage image, int bitsPixel);

    bool IsNull() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    int BitsPixel() const { return m_bitsPixel; }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    int m_bitsPixel = 0;
};
