#include "SimPicture.h"

#include <cmath>
#include <random>

#include <QPainter>
#include <QPainterPath>

namespace kxcam {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The field of view spans this many texels across, whatever the resolution.
constexpr int kFieldSpan = 700;

// Uniform number in [lo, hi) from the engine's raw output, so the picture does
// not depend on how a standard library implements its distributions.
double Uniform(std::mt19937& rng, double lo, double hi) { return lo + (hi - lo) * (rng() / 4294967296.0); }

QImage MakeTexture() {
    const int side = SimPicture::kTextureSide;
    QImage tex(side, side, QImage::Format_RGB32);
    tex.fill(QColor(238, 236, 240));
    QPainter p(&tex);
    p.setRenderHint(QPainter::Antialiasing);
    std::mt19937 rng(20260601u);
    for (int i = 0; i < 70; ++i) {
        const double cx = Uniform(rng, 0, side);
        const double cy = Uniform(rng, 0, side);
        const double rx = Uniform(rng, 16, 44);
        const double ry = rx * Uniform(rng, 0.6, 1.0);
        const double angle = Uniform(rng, 0, 180);
        const int tone = static_cast<int>(Uniform(rng, -25, 25));
        const double nucleus = Uniform(rng, 0.28, 0.45);
        // Drawn at the eight neighbouring offsets too, so the texture tiles.
        for (int dy = -side; dy <= side; dy += side) {
            for (int dx = -side; dx <= side; dx += side) {
                p.save();
                p.translate(cx + dx, cy + dy);
                p.rotate(angle);
                p.setPen(QPen(QColor(150 + tone, 70, 130), 2.5));
                p.setBrush(QColor(228 + tone / 2, 160 + tone, 200));
                p.drawEllipse(QPointF(0, 0), rx, ry);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(95 + tone, 45, 140));
                p.drawEllipse(QPointF(rx * 0.15, 0), rx * nucleus, ry * nucleus * 1.1);
                p.restore();
            }
        }
    }
    // A few dark granules between the cells.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 400; ++i) {
        const double x = Uniform(rng, 0, side);
        const double y = Uniform(rng, 0, side);
        const double r = Uniform(rng, 1.0, 3.0);
        p.setBrush(QColor(120, 90, 110));
        for (int dy = -side; dy <= side; dy += side)
            for (int dx = -side; dx <= side; dx += side) p.drawEllipse(QPointF(x + dx, y + dy), r, r);
    }
    return tex;
}

const QImage& Texture() {
    static const QImage texture = MakeTexture();
    return texture;
}

} // namespace

SimPicture::SimPicture(QSize size) : m_size(size) {
    const int w = size.width();
    const int h = size.height();
    m_vignette.resize(static_cast<size_t>(w) * h);
    const double cx = (w - 1) / 2.0;
    const double cy = (h - 1) / 2.0;
    const double rmax2 = cx * cx + cy * cy;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / rmax2;
            m_vignette[static_cast<size_t>(y) * w + x] =
                static_cast<uint16_t>(std::lround(256 * (1.0 - 0.35 * d2)));
        }
    m_columnScale.resize(w);
    for (int x = 0; x < w; ++x) m_columnScale[x] = static_cast<int>(int64_t(x) * kFieldSpan * 256 / w);
    Texture(); // made once, before any device thread renders
}

void SimPicture::Render(uint64_t index, QImage& out) const {
    const int w = m_size.width();
    const int h = m_size.height();
    if (out.size() != m_size || out.format() != QImage::Format_RGB32)
        out = QImage(m_size, QImage::Format_RGB32);
    const QImage& tex = Texture();
    const int mask = kTextureSide - 1;
    // The stage wanders on a slow figure and drifts downwards.
    const double t = static_cast<double>(index);
    const int ox = static_cast<int>(std::lround(256 * (512 + 260 * std::sin(2 * kPi * t / 400))));
    const int oy = static_cast<int>(std::lround(256 * (512 + 180 * std::sin(2 * kPi * t / 290) + 0.6 * t)));
    const int rowStep = kFieldSpan * 256 / w; // square texels
    std::vector<int> column(w);
    for (int x = 0; x < w; ++x) column[x] = ((ox + m_columnScale[x]) >> 8) & mask;
    for (int y = 0; y < h; ++y) {
        const int ty = ((oy + y * rowStep) >> 8) & mask;
        const auto* src = reinterpret_cast<const uint32_t*>(tex.constScanLine(ty));
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const uint16_t* vig = m_vignette.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const uint32_t s = src[column[x]];
            const uint32_t v = vig[x];
            const uint32_t r = (((s >> 16) & 0xff) * v * kLight[0]) >> 16;
            const uint32_t g = (((s >> 8) & 0xff) * v * kLight[1]) >> 16;
            const uint32_t b = ((s & 0xff) * v * kLight[2]) >> 16;
            dst[x] = 0xff000000u | (r << 16) | (g << 8) | b;
        }
    }
}

} // namespace kxcam
