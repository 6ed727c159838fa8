// The simulated camera's picture: stained cells on a bright field under warm
// light, drifting slowly as if the stage moved. The same frame number and size
// always give the same picture.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QSize>

namespace kxcam {

class SimPicture {
public:
    explicit SimPicture(QSize size);

    QSize Size() const { return m_size; }
    // Renders frame `index` into `out` (RGB32, reallocated when its size differs).
    void Render(uint64_t index, QImage& out) const;

    // Colour of the light relative to white, per channel in 1/256 (R, G, B):
    // the cast an automatic white balance has to take out.
    static constexpr int kLight[3] = {256, 232, 170};
    // Side of the square, tileable texture the field of view moves over.
    static constexpr int kTextureSide = 1024;

private:
    QSize m_size;
    std::vector<uint16_t> m_vignette;  // per pixel, 0..256
    std::vector<int> m_columnScale;    // texture column offset per frame column, in 1/256 texel
};

} // namespace kxcam
