// The slide under the simulated microscope: a stained tissue section, made once
// from a fixed seed, several times larger than the camera's field of view. Its
// surface is not flat: every point lies at a depth (micrometres), so a given
// focus is sharp in some places and blurred in others. The section is kept at
// a few blur levels, which the picture blends by the local defocus.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

namespace kxcam {

class SimSlide {
public:
    // Made on first use (about a second), then shared and never changed.
    static const SimSlide& Instance();

    static constexpr int kWidth = 3072;
    static constexpr int kHeight = 2304;
    static constexpr int kLevels = 4;
    // Box radius of the three box passes that make each blur level.
    static constexpr int kLevelRadius[kLevels] = {0, 2, 4, 9};
    // Spacing of the depth grid in specimen pixels.
    static constexpr int kDepthCell = 16;
    // Depth values are fixed point: 1/256 micrometre.
    static constexpr int kDepthOne = 256;

    // Blur level i (RGB32, under the microscope's warm light).
    const QImage& Level(int i) const { return m_levels[i]; }
    // Standard deviation of level i's blur in specimen pixels.
    static double LevelSigma(int i);
    // The surface's depth at a specimen pixel in 1/256 micrometre, interpolated
    // from the depth grid; x and y are clamped into the specimen.
    int32_t DepthFixed(int x, int y) const;
    double Depth(int x, int y) const { return DepthFixed(x, y) / double(kDepthOne); }
    // Row gy of the depth grid (kWidth / kDepthCell + 1 values).
    const int32_t* DepthRow(int gy) const { return m_depth.data() + size_t(gy) * kGridWidth; }

    static constexpr int kGridWidth = kWidth / kDepthCell + 1;
    static constexpr int kGridHeight = kHeight / kDepthCell + 1;

private:
    SimSlide();

    QImage m_levels[kLevels];
    std::vector<int32_t> m_depth; // kGridWidth x kGridHeight
};

} // namespace kxcam
