#include "SimSlide.h"

#include <algorithm>
#include <cmath>
#include <random>

#include <QPainter>

#include "SimPicture.h"

namespace kxcam {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int W = SimSlide::kWidth;
constexpr int H = SimSlide::kHeight;

// Uniform number in [lo, hi) from the engine's raw output, so the section does
// not depend on how a standard library implements its distributions.
double Uniform(std::mt19937& rng, double lo, double hi) {
    return lo + (hi - lo) * (rng() / 4294967296.0);
}

// A smooth random field 0..255 of the specimen's size: random values on a
// cellsX x cellsY lattice, scaled up bilinearly.
QImage Field(int cellsX, int cellsY, std::mt19937& rng) {
    QImage lattice(cellsX, cellsY, QImage::Format_Grayscale8);
    for (int y = 0; y < cellsY; ++y) {
        uchar* row = lattice.scanLine(y);
        for (int x = 0; x < cellsX; ++x)
            row[x] = static_cast<uchar>(rng() >> 24);
    }
    return lattice.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The section's surface in micrometres: a few slow waves, about 1 to 43.
double SurfaceDepth(double x, double y) {
    return 22 + 9 * std::sin(2 * kPi * x / 2300 + 0.7) + 7 * std::sin(2 * kPi * y / 1700 + 1.9) +
           4 * std::sin(2 * kPi * (x + y) / 1500 + 0.3);
}

// Stain amounts: red = haematoxylin (nuclei), green = eosin (cytoplasm, stroma).
QImage StainDensities() {
    std::mt19937 rng(20261208u);
    const QImage tissue = Field(W / 180 + 2, H / 180 + 2, rng); // tissue or empty lumen
    const QImage stroma = Field(W / 40 + 2, H / 40 + 2, rng);
    const QImage fibres = Field(W / 90 + 2, H / 6 + 2, rng); // streaks along x
    QImage dens(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        const uchar* t = tissue.constScanLine(y);
        const uchar* s = stroma.constScanLine(y);
        const uchar* f = fibres.constScanLine(y);
        auto* out = reinterpret_cast<uint32_t*>(dens.scanLine(y));
        for (int x = 0; x < W; ++x) {
            // A soft edge around the lumens, where the tissue field is low.
            const double m = std::clamp((t[x] - 80) / 40.0, 0.0, 1.0);
            const int eosin = static_cast<int>(m * (40 + 0.25 * s[x] + 0.3 * f[x]));
            out[x] = 0xff000000u | uint32_t(eosin) << 8;
        }
    }
    // Cells on a jittered lattice, only inside the tissue; amounts add up.
    QPainter p(&dens);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.setPen(Qt::NoPen);
    constexpr int kPitch = 38;
    for (int cy = kPitch / 2; cy < H; cy += kPitch)
        for (int cx = kPitch / 2; cx < W; cx += kPitch) {
            const double x = cx + Uniform(rng, -13, 13);
            const double y = cy + Uniform(rng, -13, 13);
            const double r = Uniform(rng, 11, 19);
            const double angle = Uniform(rng, 0, 180);
            const double stretch = Uniform(rng, 0.6, 1.0);
            const double nucleus = Uniform(rng, 0.35, 0.55);
            const int dark = static_cast<int>(Uniform(rng, 120, 200));
            const int xi = std::clamp(static_cast<int>(x), 0, W - 1);
            const int yi = std::clamp(static_cast<int>(y), 0, H - 1);
            if (tissue.constScanLine(yi)[xi] < 100) continue;
            p.save();
            p.translate(x, y);
            p.rotate(angle);
            p.setBrush(QColor(0, 45, 0));
            p.drawEllipse(QPointF(0, 0), r, r * stretch);
            p.setBrush(QColor(dark, 10, 0));
            p.drawEllipse(QPointF(r * 0.1, 0), r * nucleus, r * nucleus * stretch * 1.1);
            p.restore();
        }
    // Small dark granules scattered over everything.
    for (int i = 0; i < 3000; ++i) {
        const QPointF at(Uniform(rng, 0, W), Uniform(rng, 0, H));
        const double r = Uniform(rng, 1.0, 2.5);
        p.setBrush(QColor(90, 30, 0));
        p.drawEllipse(at, r, r);
    }
    p.end();
    // Chromatin: the nuclei's stain is grainy.
    const QImage grain = Field(W / 3, H / 3, rng);
    for (int y = 0; y < H; ++y) {
        const uchar* g = grain.constScanLine(y);
        auto* row = reinterpret_cast<uint32_t*>(dens.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const uint32_t h = (row[x] >> 16) & 0xff;
            const uint32_t hg = std::min<uint32_t>(255, h * (160 + g[x] / 2) / 256);
            row[x] = (row[x] & 0xff00ffffu) | hg << 16;
        }
    }
    return dens;
}

// Light through the stains (Beer-Lambert), tinted by the microscope's lamp.
QImage Transmitted(const QImage& dens) {
    // Optical density per unit of stain, per channel R, G, B.
    constexpr double kHaem[3] = {0.65, 0.70, 0.29};
    constexpr double kEosin[3] = {0.07, 0.99, 0.11};
    constexpr double kHaemMax = 2.2; // optical density at amount 255
    constexpr double kEosinMax = 1.2;
    // Optical density in 1/64 steps up to 8.
    uint8_t light[3][512];
    for (int c = 0; c < 3; ++c)
        for (int od = 0; od < 512; ++od)
            light[c][od] = static_cast<uint8_t>(
                std::lround(255.0 * SimPicture::kLight[c] / 256.0 * std::exp(-od / 64.0)));
    int haem[3][256], eosin[3][256];
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) {
            haem[c][v] = static_cast<int>(std::lround(64 * kHaemMax * kHaem[c] * v / 255.0));
            eosin[c][v] = static_cast<int>(std::lround(64 * kEosinMax * kEosin[c] * v / 255.0));
        }
    QImage out(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(dens.constScanLine(y));
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const int h = (src[x] >> 16) & 0xff;
            const int e = (src[x] >> 8) & 0xff;
            uint32_t px = 0xff000000u;
            for (int c = 0; c < 3; ++c)
                px |= uint32_t(light[c][std::min(511, haem[c][h] + eosin[c][e])]) << (16 - 8 * c);
            dst[x] = px;
        }
    }
    return out;
}

// One box pass of radius r along rows (step 1) or columns (step = width) of
// the three channels, edges repeated.
void BoxPass(const QImage& src, QImage& dst, int r, bool alongRows) {
    const int n = alongRows ? W : H;
    const int lines = alongRows ? H : W;
    const auto* s = reinterpret_cast<const uint32_t*>(src.constBits());
    auto* d = reinterpret_cast<uint32_t*>(dst.bits());
    const size_t step = alongRows ? 1 : size_t(W);
    const size_t lineStep = alongRows ? size_t(W) : 1;
    const int width = 2 * r + 1;
    std::vector<uint32_t> line(n);
    for (int l = 0; l < lines; ++l) {
        const uint32_t* in = s + l * lineStep;
        for (int i = 0; i < n; ++i)
            line[i] = in[i * step];
        auto at = [&](int i) { return line[std::clamp(i, 0, n - 1)]; };
        int sum[3] = {};
        for (int i = -r; i <= r; ++i)
            for (int c = 0; c < 3; ++c)
                sum[c] += (at(i) >> (16 - 8 * c)) & 0xff;
        uint32_t* out = d + l * lineStep;
        for (int i = 0; i < n; ++i) {
            uint32_t px = 0xff000000u;
            for (int c = 0; c < 3; ++c)
                px |= uint32_t((sum[c] + width / 2) / width) << (16 - 8 * c);
            out[i * step] = px;
            const uint32_t leaving = at(i - r), entering = at(i + r + 1);
            for (int c = 0; c < 3; ++c)
                sum[c] += int((entering >> (16 - 8 * c)) & 0xff) - int((leaving >> (16 - 8 * c)) & 0xff);
        }
    }
}

// Three box passes each way: close to a Gaussian of variance r (r + 1).
QImage Blurred(const QImage& sharp, int r) {
    QImage a = sharp.copy();
    QImage b(W, H, QImage::Format_RGB32);
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(a, b, r, true);
        BoxPass(b, a, r, false);
    }
    return a;
}

} // namespace

const SimSlide& SimSlide::Instance() {
    static const SimSlide specimen;
    return specimen;
}

SimSlide::SimSlide() {
    m_levels[0] = Transmitted(StainDensities());
    for (int i = 1; i < kLevels; ++i)
        m_levels[i] = Blurred(m_levels[0], kLevelRadius[i]);
    m_depth.resize(size_t(kGridWidth) * kGridHeight);
    for (int gy = 0; gy < kGridHeight; ++gy)
        for (int gx = 0; gx < kGridWidth; ++gx)
            m_depth[size_t(gy) * kGridWidth + gx] =
                static_cast<int32_t>(std::lround(kDepthOne * SurfaceDepth(gx * kDepthCell, gy * kDepthCell)));
}

double SimSlide::LevelSigma(int i) {
    const int r = kLevelRadius[i];
    return std::sqrt(double(r) * (r + 1));
}

int32_t SimSlide::DepthFixed(int x, int y) const {
    x = std::clamp(x, 0, kWidth - 1);
    y = std::clamp(y, 0, kHeight - 1);
    const int gx = x / kDepthCell, fx = x % kDepthCell;
    const int gy = y / kDepthCell, fy = y % kDepthCell;
    const int32_t* r0 = DepthRow(gy);
    const int32_t* r1 = DepthRow(gy + 1);
    const int32_t left = r0[gx] + (r1[gx] - r0[gx]) * fy / kDepthCell;
    const int32_t right = r0[gx + 1] + (r1[gx + 1] - r0[gx + 1]) * fy / kDepthCell;
    return left + (right - left) * fx / kDepthCell;
}

} // namespace kxcam
