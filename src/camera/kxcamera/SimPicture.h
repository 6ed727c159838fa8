// The simulated camera's picture: what a camera of the given size sees of the
// SimSlide through the microscope, for a stage position and a focus. Each
// frame point is sharp where the section's surface lies at the focus and
// blurred in proportion to the distance; a darker rim (vignetting) and sensor
// noise (photon shot noise and read noise, new in every frame) go on top. The
// field of view spans kFieldWidth x kFieldHeight specimen pixels whatever the
// resolution. The same frame number, stage position and size always give the
// same picture.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QSize>

namespace kxcam {

// Where the microscope looks: x, y the specimen pixel at the middle of the
// field of view, z the focus in micrometres of depth.
struct StagePosition {
    int x = 0;
    int y = 0;
    double z = 0;
    bool operator==(const StagePosition&) const = default;
};

class SimPicture {
public:
    explicit SimPicture(QSize size);

    QSize Size() const { return m_size; }
    // Renders frame `index` at `stage` into `out` (RGB32, reallocated when its
    // size differs). Without noise it is the picture the noise scatters around.
    void Render(uint64_t index, StagePosition stage, QImage& out, bool noise = true) const;

    // Specimen pixel seen at frame pixel (x, y), and the vignetting there (0..256).
    int SpecimenColumn(StagePosition stage, int x) const { return Left(stage) + m_column[x]; }
    int SpecimenRow(StagePosition stage, int y) const { return Top(stage) + m_row[y]; }
    int Vignette(int x, int y) const { return m_vignetteColumn[x] - m_vignetteRow[y]; }
    // How a defocus (1/256 micrometre, not negative) blends the blur levels:
    // level l and l + 1 with weight w / 256 on the second, as l << 9 | w.
    static uint32_t Blend(int32_t defocus);
    // The stage position kept inside the specimen, the field of view whole.
    static StagePosition Clamped(StagePosition stage);
    // The middle of the specimen, focused on its surface there.
    static StagePosition Home();
    // Standard deviation of a frame's noise around a noiseless value 0..255.
    static double NoiseSigma(int value);

    // Colour of the light relative to white, per channel in 1/256 (R, G, B):
    // the cast an automatic white balance has to take out.
    static constexpr int kLight[3] = {256, 232, 170};
    static constexpr int kFieldWidth = 1280;
    static constexpr int kFieldHeight = 960;
    // Blur radius (specimen pixels) per micrometre of defocus.
    static constexpr double kBlurPerMicrometre = 0.45;
    // The sensor: electrons per digital unit and read noise in electrons.
    static constexpr double kElectronsPerUnit = 20;
    static constexpr double kReadNoise = 8;

private:
    static int Left(StagePosition stage) { return stage.x - kFieldWidth / 2; }
    static int Top(StagePosition stage) { return stage.y - kFieldHeight / 2; }

    QSize m_size;
    std::vector<uint16_t> m_vignetteColumn; // 0..256 less the row's part
    std::vector<uint16_t> m_vignetteRow;
    std::vector<int> m_column; // specimen column per frame column, from the field's left
    std::vector<int> m_row;    // specimen row per frame row, from the field's top
};

} // namespace kxcam
