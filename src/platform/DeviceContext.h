// A drawing context over an RGB32 QImage: the target of the image library's
// display functions and of the views, which put the finished picture on the
// screen in one call.
#pragma once

#include <cstdint>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

class CDeviceContext {
public:
    enum TextFlags { DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_SINGLELINE = 0x20 };

    CDeviceContext(int width, int height, QColor background = Qt::white);
    ~CDeviceContext();
    CDeviceContext(const CDeviceContext&) = delete;
    CDeviceContext& operator=(const CDeviceContext&) = delete;

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }

    // The part of the surface drawing may reach: the whole surface narrowed
    // by IntersectClipRect.
    QRect GetClipBox() const { return m_clip; }
    void IntersectClipRect(const QRect& r);
    void SelectClipRect(const QRect& r); // empty: the whole surface

    void FillSolidRect(const QRect& r, QColor colour);
    void FillRect(const QRect& r, const QBrush& brush);
    // Puts a bottom-up 24-bit B,G,R buffer (rows padded to 4 bytes) of
    // srcWidth x srcHeight at (x, y); false when the buffer is too short.
    bool SetDIBitsToDevice(int x, int y, int srcWidth, int srcHeight, const uint8_t* bits, size_t size);
    // Row y of the surface (0 <= y < Height()) for drawing code that composes
    // whole rows itself; it must keep to the clip box.
    QRgb* ScanLine(int y) { return reinterpret_cast<QRgb*>(m_image.scanLine(y)); }
    // Colour at (x, y); invalid outside the surface.
    QColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, QColor colour);
    void SetTextColor(QColor colour) { m_textColor = colour; }
    void SelectFont(const QFont& font);
    void DrawText(const QString& text, const QRect& r, int flags = DT_LEFT);
    void TextOut(int x, int y, const QString& text);
    QSize GetTextExtent(const QString& text) const;

    // The painter, clipped to the clip box, for drawing the helpers above do not cover.
    QPainter& Painter() { return m_painter; }
    // Ends painting and hands out the picture; the context is unusable after.
    const QImage& Image();

private:
    QImage m_image;
    QPainter m_painter;
    QRect m_clip;
    QColor m_textColor = Qt::black;
};
