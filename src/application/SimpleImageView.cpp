#include "SimpleImageView.h"

#include <QPainter>

#include "DeviceContext.h"
#include "Image.h"
#include "SimpleImageDoc.h"

CSimpleImageView::CSimpleImageView(QWidget* parent) : CView(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 90);
}

void CSimpleImageView::OnUpdate(CView*, LPARAM) {
    auto* doc = dynamic_cast<CSimpleImageDoc*>(GetDocument());
    m_picture = doc && doc->GetImage() ? Render(*doc->GetImage()) : QImage();
    update();
}

QImage CSimpleImageView::Render(const vimg::Image& image) {
    if (!image.IsValid()) return {};
    const int w = static_cast<int>(image.GetWidth());
    const int h = static_cast<int>(image.GetHeight());
    CDeviceContext dc(w, h, Qt::white);
    if (image.GetBpp() == 24) {
        dc.SetDIBitsToDevice(0, 0, w, h, image.GetBits(), static_cast<size_t>(image.GetEffWidth()) * h);
        return dc.Image().copy();
    }
    QImage picture = dc.Image().copy();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const vimg::RGBQUAD c = image.GetPixelColor(x, h - 1 - y, false);
            line[x] = qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue);
        }
    }
    return picture;
}

void CSimpleImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (m_picture.isNull()) return;
    QSize size = m_picture.size();
    if (size.width() > width() || size.height() > height()) size.scale(this->size(), Qt::KeepAspectRatio);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), size), m_picture);
}
