#include "PictureDrawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QImage>
#include <QPainter>

#include "DeviceContext.h"
#include "Image.h"

namespace picture {
namespace {

// Reads pixels of one depth from row pointers, with the opacity the image
// gives them (alpha plane, palette alpha, transparent index or colour).
class PixelReader {
public:
    explicit PixelReader(const vimg::Image& image)
        : m_image(image), m_bpp(static_cast<int>(image.GetBpp())) {
        m_blend = image.AlphaIsValid() || image.IsTransparent() || image.AlphaPaletteIsEnabled();
        const vimg::RGBQUAD* pal = image.GetPalette();
        const int colours = pal ? static_cast<int>(image.GetNumColors()) : 0;
        for (int i = 0; i < colours && i < 256; ++i) {
            int a = 255;
            if (image.AlphaPaletteIsEnabled()) a = (a * (pal[i].rgbReserved + 1)) >> 8;
            if (image.IsTransparent() && image.GetTransIndex() == i) a = 0;
            m_palette[i] = qRgba(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue, a);
        }
        const vimg::RGBQUAD t = image.GetTransColor();
        m_transColour = qRgb(t.rgbRed, t.rgbGreen, t.rgbBlue) & 0xFFFFFFu;
        m_alphaMax = image.AlphaGetMax();
    }

    bool Blends() const { return m_blend; }

    // Row pointers of library row `row` (0 = bottom).
    void SelectRow(int row) {
        m_bits = m_image.GetBits(static_cast<uint32_t>(row));
        m_alpha = m_image.AlphaIsValid() ? m_image.AlphaGetPointer(0, row) : nullptr;
    }

    QRgb At(int x) const {
        QRgb c;
        switch (m_bpp) {
        case 24: {
            const uint8_t* p = m_bits + 3 * x;
            c = qRgb(p[2], p[1], p[0]);
            if (m_blend && m_image.IsTransparent() && (c & 0xFFFFFFu) == m_transColour) return 0;
            break;
        }
        case 8: c = m_palette[m_bits[x]]; break;
        case 4: c = m_palette[(m_bits[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F]; break;
        default: c = m_palette[(m_bits[x >> 3] >> (7 - (x & 7))) & 1]; break;
        }
        if (!m_blend) return c;
        int a = m_alpha ? m_alpha[x] : 255;
        a = (a * (m_alphaMax + 1)) >> 8;
        a = (a * (qAlpha(c) + 1)) >> 8;
        return (c & 0xFFFFFFu) | (static_cast<QRgb>(a) << 24);
    }

private:
    const vimg::Image& m_image;
    int m_bpp;
    bool m_blend = false;
    QRgb m_palette[256] = {};
    QRgb m_transColour = 0;
    int m_alphaMax = 255;
    const uint8_t* m_bits = nullptr;
    const uint8_t* m_alpha = nullptr;
};

// Bilinear weight of two neighbours, edges repeated.
struct Tap {
    int first;
    int second;
    int weight; // of `second`, 0..256
};

std::vector<Tap> Taps(int start, int count, int destSize, int srcSize) {
    std::vector<Tap> taps(static_cast<size_t>(count));
    const double scale = static_cast<double>(srcSize) / destSize;
    for (int i = 0; i < count; ++i) {
        const double f = (start + i + 0.5) * scale - 0.5;
        const double fl = std::floor(f);
        const int a = static_cast<int>(fl);
        const int w = static_cast<int>(std::lround((f - fl) * 256.0));
        taps[static_cast<size_t>(i)] = {std::clamp(a, 0, srcSize - 1), std::clamp(a + 1, 0, srcSize - 1), w};
    }
    return taps;
}

QRgb Mix(QRgb a, QRgb b, int w) {
    const int v = 256 - w;
    return qRgba((qRed(a) * v + qRed(b) * w) >> 8, (qGreen(a) * v + qGreen(b) * w) >> 8,
                 (qBlue(a) * v + qBlue(b) * w) >> 8, (qAlpha(a) * v + qAlpha(b) * w) >> 8);
}

} // namespace

bool Draw(CDeviceContext& dc, const vimg::Image& image, const QRect& dest, bool smooth) {
    if (!image.IsValid() || !image.IsEnabled() || dest.width() <= 0 || dest.height() <= 0) return false;
    const QRect visible = dest & dc.GetClipBox();
    if (visible.isEmpty()) return false;

    const int w = static_cast<int>(image.GetWidth());
    const int h = static_cast<int>(image.GetHeight());
    const int left = visible.left() - dest.left();
    const int top = visible.top() - dest.top();
    PixelReader reader(image);
    QImage out(visible.size(), reader.Blends() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const bool natural = dest.width() == w && dest.height() == h;

    if (smooth && !natural) {
        const std::vector<Tap> cols = Taps(left, visible.width(), dest.width(), w);
        const std::vector<Tap> rows = Taps(top, visible.height(), dest.height(), h);
        std::vector<QRgb> upper(static_cast<size_t>(visible.width()));
        for (int y = 0; y < visible.height(); ++y) {
            const Tap& ty = rows[static_cast<size_t>(y)];
            reader.SelectRow(h - 1 - ty.first);
            for (int x = 0; x < visible.width(); ++x) {
                const Tap& tx = cols[static_cast<size_t>(x)];
                upper[static_cast<size_t>(x)] = Mix(reader.At(tx.first), reader.At(tx.second), tx.weight);
            }
            reader.SelectRow(h - 1 - ty.second);
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < visible.width(); ++x) {
                const Tap& tx = cols[static_cast<size_t>(x)];
                const QRgb lower = Mix(reader.At(tx.first), reader.At(tx.second), tx.weight);
                line[x] = Mix(upper[static_cast<size_t>(x)], lower, ty.weight);
            }
        }
    } else {
        std::vector<int> sx(static_cast<size_t>(visible.width()));
        for (int x = 0; x < visible.width(); ++x)
            sx[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(left + x) * w / dest.width());
        int lastRow = -1;
        for (int y = 0; y < visible.height(); ++y) {
            const int row = h - 1 - static_cast<int>(static_cast<int64_t>(top + y) * h / dest.height());
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            if (row == lastRow) { // zoomed in: the row above looks the same
                std::copy_n(reinterpret_cast<const QRgb*>(out.constScanLine(y - 1)), visible.width(), line);
                continue;
            }
            lastRow = row;
            reader.SelectRow(row);
            for (int x = 0; x < visible.width(); ++x) line[x] = reader.At(sx[static_cast<size_t>(x)]);
        }
    }
    QPainter& p = dc.Painter();
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(visible.topLeft(), out);
    p.setCompositionMode(mode);
    return true;
}

} // namespace picture
