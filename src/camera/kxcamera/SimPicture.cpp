#include "SimPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "SimSlide.h"

namespace kxcam {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Gaussian noise samples of standard deviation kNoiseUnit, clipped at about
// four deviations. Each frame row reads a run of them from a random start;
// the table is longer by one row's samples, so a run never wraps.
constexpr int kNoiseUnit = 32;
constexpr size_t kNoiseSamples = size_t(1) << 20;
constexpr size_t kLongestRow = 3 * 2048;

const std::vector<int8_t>& NoiseTable() {
    static const std::vector<int8_t> table = [] {
        std::vector<int8_t> t(kNoiseSamples + kLongestRow);
        std::mt19937 rng(7u);
        for (size_t i = 0; i < kNoiseSamples; i += 2) {
            const double u1 = (rng() + 1.0) / 4294967297.0;
            const double u2 = rng() / 4294967296.0;
            const double radius = kNoiseUnit * std::sqrt(-2 * std::log(u1));
            t[i] = static_cast<int8_t>(std::clamp(std::lround(radius * std::cos(2 * kPi * u2)), -127L, 127L));
            t[i + 1] =
                static_cast<int8_t>(std::clamp(std::lround(radius * std::sin(2 * kPi * u2)), -127L, 127L));
        }
        std::copy_n(t.begin(), kLongestRow, t.begin() + kNoiseSamples);
        return t;
    }();
    return table;
}

// Where row y of frame `index` starts reading the noise table (SplitMix64).
size_t NoiseStart(uint64_t index, int y) {
    uint64_t z = index * 0x9e3779b97f4a7c15ull + uint64_t(y) * 0xbf58476d1ce4e5b9ull + 0x94d049bb133111ebull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return (z ^ (z >> 31)) & (kNoiseSamples - 1);
}

// Noise deviation per noiseless value in 1/256 of the table's unit.
const std::array<int, 256>& NoiseScale() {
    static const std::array<int, 256> scale = [] {
        std::array<int, 256> s{};
        for (int v = 0; v < 256; ++v)
            s[v] = static_cast<int>(std::lround(SimPicture::NoiseSigma(v) * 256 / kNoiseUnit));
        return s;
    }();
    return scale;
}

// Blend codes by defocus in quarter micrometres.
constexpr int kBlendSteps = 256;
constexpr int kBlendShift = 6; // 1/256 micrometre -> 1/4

const std::array<uint32_t, kBlendSteps>& BlendTable() {
    static const std::array<uint32_t, kBlendSteps> table = [] {
        std::array<uint32_t, kBlendSteps> t{};
        constexpr int top = SimSlide::kLevels - 1;
        for (int i = 0; i < kBlendSteps; ++i) {
            const double sigma = i / 4.0 * SimPicture::kBlurPerMicrometre;
            int l = 0;
            while (l < top - 1 && sigma >= SimSlide::LevelSigma(l + 1))
                ++l;
            const double lo = SimSlide::LevelSigma(l), hi = SimSlide::LevelSigma(l + 1);
            const long w = std::clamp(std::lround(256 * (sigma - lo) / (hi - lo)), 0L, 256L);
            t[i] = uint32_t(l) << 9 | uint32_t(w);
        }
        return t;
    }();
    return table;
}

} // namespace

SimPicture::SimPicture(QSize size) : m_size(size) {
    const int w = size.width();
    const int h = size.height();
    // 256 (1 - 0.35 d^2) with d the distance from the middle relative to the
    // corner's, split into a column and a row term.
    const double cx = (w - 1) / 2.0;
    const double cy = (h - 1) / 2.0;
    const double rmax2 = cx * cx + cy * cy;
    m_vignetteColumn.resize(w);
    for (int x = 0; x < w; ++x)
        m_vignetteColumn[x] =
            static_cast<uint16_t>(std::lround(256 * (1.0 - 0.35 * (x - cx) * (x - cx) / rmax2)));
    m_vignetteRow.resize(h);
    for (int y = 0; y < h; ++y)
        m_vignetteRow[y] = static_cast<uint16_t>(std::lround(256 * 0.35 * (y - cy) * (y - cy) / rmax2));
    m_column.resize(w);
    for (int x = 0; x < w; ++x)
        m_column[x] = static_cast<int>(int64_t(x) * kFieldWidth / w);
    m_row.resize(h);
    for (int y = 0; y < h; ++y)
        m_row[y] = static_cast<int>(int64_t(y) * kFieldHeight / h);
    // Made once, before any device thread renders.
    SimSlide::Instance();
    NoiseTable();
    NoiseScale();
    BlendTable();
}

uint32_t SimPicture::Blend(int32_t defocus) {
    return BlendTable()[std::min(defocus >> kBlendShift, kBlendSteps - 1)];
}

StagePosition SimPicture::Clamped(StagePosition stage) {
    stage.x = std::clamp(stage.x, kFieldWidth / 2, SimSlide::kWidth - kFieldWidth / 2);
    stage.y = std::clamp(stage.y, kFieldHeight / 2, SimSlide::kHeight - kFieldHeight / 2);
    stage.z = std::clamp(stage.z, -100.0, 200.0);
    return stage;
}

StagePosition SimPicture::Home() {
    StagePosition home{SimSlide::kWidth / 2, SimSlide::kHeight / 2, 0};
    home.z = SimSlide::Instance().Depth(home.x, home.y);
    return home;
}

double SimPicture::NoiseSigma(int value) {
    const double read = kReadNoise / kElectronsPerUnit;
    return std::sqrt(value / kElectronsPerUnit + read * read);
}

void SimPicture::Render(uint64_t index, StagePosition stage, QImage& out, bool noise) const {
    const int w = m_size.width();
    const int h = m_size.height();
    if (out.size() != m_size || out.format() != QImage::Format_RGB32)
        out = QImage(m_size, QImage::Format_RGB32);
    stage = Clamped(stage);
    const SimSlide& specimen = SimSlide::Instance();
    const int left = Left(stage);
    const int top = Top(stage);
    const int32_t focus = static_cast<int32_t>(std::lround(stage.z * SimSlide::kDepthOne));
    constexpr int cell = SimSlide::kDepthCell;
    const int firstCell = left / cell;
    const int cells = (left + m_column[w - 1]) / cell - firstCell + 2;
    std::vector<int32_t> depth(cells); // the grid's depths interpolated to this row
    const std::array<uint32_t, kBlendSteps>& blend = BlendTable();
    const int8_t* noiseTable = NoiseTable().data();
    const int* noiseScale = NoiseScale().data();
    for (int y = 0; y < h; ++y) {
        const int sy = top + m_row[y];
        const int gy = sy / cell, fy = sy % cell;
        const int32_t* d0 = specimen.DepthRow(gy) + firstCell;
        const int32_t* d1 = specimen.DepthRow(gy + 1) + firstCell;
        for (int i = 0; i < cells; ++i)
            depth[i] = d0[i] + (d1[i] - d0[i]) * fy / cell;
        const uint32_t* level[SimSlide::kLevels];
        for (int l = 0; l < SimSlide::kLevels; ++l)
            level[l] = reinterpret_cast<const uint32_t*>(specimen.Level(l).constScanLine(sy));
        const int8_t* grain = noiseTable + NoiseStart(index, y);
        const uint16_t* vig = m_vignetteColumn.data();
        const uint32_t vigRow = m_vignetteRow[y];
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const unsigned sx = static_cast<unsigned>(left + m_column[x]);
            const int gx = static_cast<int>(sx / cell) - firstCell, fx = static_cast<int>(sx % cell);
            const int32_t z = depth[gx] + (depth[gx + 1] - depth[gx]) * fx / cell;
            const int32_t defocus = z > focus ? z - focus : focus - z;
            const uint32_t code = blend[std::min(defocus >> kBlendShift, kBlendSteps - 1)];
            const uint32_t l = code >> 9, wb = code & 511, wa = 256 - wb;
            const uint32_t a = level[l][sx], b = level[l + 1][sx];
            const uint32_t v = vig[x] - vigRow;
            // Red and blue side by side in 16-bit lanes, green alone: each lane
            // stays below 65536 since the weights add up to 256.
            uint32_t rb = (((a & 0xff00ffu) * wa + (b & 0xff00ffu) * wb + 0x800080u) >> 8) & 0xff00ffu;
            uint32_t g = ((((a >> 8) & 0xffu) * wa + ((b >> 8) & 0xffu) * wb + 0x80u) >> 8);
            rb = ((rb * v + 0x800080u) >> 8) & 0xff00ffu;
            g = (g * v + 0x80u) >> 8;
            uint32_t px = 0xff000000u | rb | g << 8;
            if (noise) {
                const int8_t* n = grain + 3 * x;
                const int r = static_cast<int>(rb >> 16), bl = static_cast<int>(rb & 0xff),
                          gr = static_cast<int>(g);
                const int nr = std::clamp(r + ((n[0] * noiseScale[r] + 128) >> 8), 0, 255);
                const int ng = std::clamp(gr + ((n[1] * noiseScale[gr] + 128) >> 8), 0, 255);
                const int nb = std::clamp(bl + ((n[2] * noiseScale[bl] + 128) >> 8), 0, 255);
                px = 0xff000000u | uint32_t(nr) << 16 | uint32_t(ng) << 8 | uint32_t(nb);
            }
            dst[x] = px;
        }
    }
}

} // namespace kxcam
