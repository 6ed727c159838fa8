// Which part of a picture each visible device pixel of a destination
// rectangle shows. At natural size every device pixel shows one image pixel;
// scaled, the source position is the offset into the destination times
// (width / cx, height / cy), counted from the left and from the bottom the
// way the image's rows are, and either truncated to the nearest pixel or,
// when smoothing, sampled bilinearly half a pixel back with the edge pixels
// repeated. The bilinear sums are made in exactly the order and precision of
// Image::GetPixelColorInterpolated, so a drawn picture equals the one built
// from that sampler pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include <QRect>

#include "Image.h"

namespace vimg::display {

class DrawSampler {
public:
    // dest: where the whole picture goes (non-empty); visible: the part of
    // dest to compose. With `opacity` each sample also carries the weight
    // with which it covers the device (alpha plane, alpha maximum, palette
    // alpha, transparent colour or index).
    DrawSampler(const Image& image, const QRect& dest, const QRect& visible, bool smooth, bool opacity);

    int Width() const { return m_visible.width(); }
    int Height() const { return m_visible.height(); }
    // Visible row `row` (0 the top one) as 0x00RRGGBB colours and, when asked
    // for at construction, opacities 0..255 (else `alpha` may be null).
    void SampleRow(int row, uint32_t* rgb, uint8_t* alpha) const;

private:
    int32_t SourceRow(int row) const;
    uint8_t IndexAt(const uint8_t* bits, int32_t x) const;
    void NearestRow(int row, uint32_t* rgb, uint8_t* alpha) const;
    void SmoothRow(int row, uint32_t* rgb, uint8_t* alpha) const;
    // The opacity of a sample of colour `rgb` and palette index `index`
    // whose alpha-plane value (or 255 without a plane) is `level`.
    uint8_t Opacity(uint32_t rgb, uint8_t index, uint8_t level) const;

    const Image& m_image;
    QRect m_dest;
    QRect m_visible;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint32_t m_bpp = 0;
    bool m_smooth = false;
    bool m_opacity = false;
    float m_fy = 1.0f;
    uint32_t m_paletteRgb[256] = {};
    uint8_t m_paletteAlpha[256] = {};
    bool m_alphaPalette = false;
    int32_t m_alphaScale = 256; // alpha maximum + 1
    int32_t m_transIndex = -1;
    uint32_t m_transRgb = 0;
    // Per visible column: the nearest source column and, when smoothing, the
    // two columns of the bilinear window with their weights.
    std::vector<int32_t> m_srcX;
    std::vector<int32_t> m_x0;
    std::vector<int32_t> m_x1;
    std::vector<float> m_wx0;
    std::vector<float> m_wx1;
};

} // namespace vimg::display
