#include "DeviceContext.h"

#include <QFontMetrics>

CDeviceContext::CDeviceContext(int width, int height, QColor background)
    : m_image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32), m_clip(m_image.rect()) {
    m_image.fill(background);
    m_painter.begin(&m_image);
}

CDeviceContext::~CDeviceContext() {
    if (m_painter.isActive()) m_painter.end();
}

void CDeviceContext::IntersectClipRect(const QRect& r) {
    m_clip &= r;
    m_painter.setClipRect(m_clip);
}

void CDeviceContext::SelectClipRect(const QRect& r) {
    m_clip = r.isEmpty() ? m_image.rect() : (r & m_image.rect());
    m_painter.setClipRect(m_clip);
}

void CDeviceContext::FillSolidRect(const QRect& r, QColor colour) { m_painter.fillRect(r, colour); }

void CDeviceContext::FillRect(const QRect& r, const QBrush& brush) { m_painter.fillRect(r, brush); }

bool CDeviceContext::SetDIBitsToDevice(int x, int y, int srcWidth, int srcHeight, const uint8_t* bits,
                                       size_t size) {
    if (!bits || srcWidth <= 0 || srcHeight <= 0) return false;
    const size_t stride = ((static_cast<size_t>(srcWidth) * 3 + 3) / 4) * 4;
    if (size / stride < static_cast<size_t>(srcHeight)) return false;
    const QRect target = QRect(x, y, srcWidth, srcHeight) & m_clip;
    for (int ty = target.top(); ty <= target.bottom(); ++ty) {
        // Row 0 of the buffer is the bottom row of the picture.
        const uint8_t* src = bits + stride * static_cast<size_t>(srcHeight - 1 - (ty - y));
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(ty));
        for (int tx = target.left(); tx <= target.right(); ++tx) {
            const uint8_t* p = src + 3 * (tx - x);
            dst[tx] = qRgb(p[2], p[1], p[0]);
        }
    }
    return true;
}

QColor CDeviceContext::GetPixel(int x, int y) const {
    if (!m_image.rect().contains(x, y)) return {};
    return QColor::fromRgb(m_image.pixel(x, y));
}

void CDeviceContext::SetPixel(int x, int y, QColor colour) {
    if (m_clip.contains(x, y)) m_image.setPixel(x, y, colour.rgb());
}

void CDeviceContext::SelectFont(const QFont& font) { m_painter.setFont(font); }

void CDeviceContext::DrawText(const QString& text, const QRect& r, int flags) {
    int align = Qt::AlignLeft;
    if (flags & DT_CENTER) align = Qt::AlignHCenter;
    if (flags & DT_RIGHT) align = Qt::AlignRight;
    align |= (flags & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    if (!(flags & DT_SINGLELINE)) align |= Qt::TextWordWrap;
    m_painter.setPen(m_textColor);
    m_painter.drawText(r, align, text);
}

void CDeviceContext::TextOut(int x, int y, const QString& text) {
    m_painter.setPen(m_textColor);
    const QFontMetrics fm(m_painter.font());
    m_painter.drawText(x, y + fm.ascent(), text);
}

QSize CDeviceContext::GetTextExtent(const QString& text) const {
    const QFontMetrics fm(m_painter.font());
    return {fm.horizontalAdvance(text), fm.height()};
}

const QImage& CDeviceContext::Image() {
    if (m_painter.isActive()) m_painter.end();
    return m_image;
}
