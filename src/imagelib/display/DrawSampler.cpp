#include "DrawSampler.h"

#include <algorithm>

#include "PixelMath.h"

namespace vimg::display {

namespace {

uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) | blue;
}

// Truncates a non-negative source position and keeps it inside the picture
// (a float product may round up onto the far edge).
int32_t SourceIndex(int32_t offset, float factor, int32_t size) {
    return std::min(static_cast<int32_t>(static_cast<float>(offset) * factor), size - 1);
}

// The clamped bilinear position of a destination offset: start, next and
// weights as GetPixelColorInterpolated derives them with repeated edges.
struct Window {
    int32_t first;
    int32_t second;
    float w0;
    float w1;
};

Window SmoothWindow(int32_t offset, float factor, int32_t size) {
    const float pos = std::clamp(static_cast<float>(offset) * factor - 0.5f, 0.0f, static_cast<float>(size - 1));
    const auto first = static_cast<int32_t>(pos); // pos >= 0: truncation is the floor
    const float d = pos - static_cast<float>(first);
    return {first, std::min(first + 1, size - 1), 1.0f - d, d};
}

} // namespace

DrawSampler::DrawSampler(const Image& image, const QRect& dest, const QRect& visible, bool smooth, bool opacity)
    : m_image(image),
      m_dest(dest),
      m_visible(visible),
      m_width(static_cast<int32_t>(image.GetWidth())),
      m_height(static_cast<int32_t>(image.GetHeight())),
      m_bpp(image.GetBpp()),
      m_smooth(smooth && (dest.width() != m_width || dest.height() != m_height)),
      m_opacity(opacity) {
    if (const RGBQUAD* palette = image.GetPalette()) {
        const uint32_t count = std::min<uint32_t>(image.GetNumColors(), 256);
        for (uint32_t i = 0; i < count; ++i) {
            m_paletteRgb[i] = Rgb(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
            m_paletteAlpha[i] = palette[i].rgbReserved;
        }
        m_alphaPalette = image.AlphaPaletteIsEnabled();
    }
    m_alphaScale = image.AlphaGetMax() + 1;
    m_transIndex = image.GetTransIndex();
    const RGBQUAD trans = image.GetTransColor();
    m_transRgb = Rgb(trans.rgbRed, trans.rgbGreen, trans.rgbBlue);

    const float fx = static_cast<float>(m_width) / static_cast<float>(dest.width());
    m_fy = static_cast<float>(m_height) / static_cast<float>(dest.height());
    const int columns = visible.width();
    m_srcX.resize(static_cast<size_t>(columns));
    if (m_smooth) {
        m_x0.resize(m_srcX.size());
        m_x1.resize(m_srcX.size());
        m_wx0.resize(m_srcX.size());
        m_wx1.resize(m_srcX.size());
    }
    for (int c = 0; c < columns; ++c) {
        const int32_t offset = visible.left() + c - dest.left();
        m_srcX[static_cast<size_t>(c)] = SourceIndex(offset, fx, m_width);
        if (!m_smooth) continue;
        const Window w = SmoothWindow(offset, fx, m_width);
        m_x0[static_cast<size_t>(c)] = w.first;
        m_x1[static_cast<size_t>(c)] = w.second;
        m_wx0[static_cast<size_t>(c)] = w.w0;
        m_wx1[static_cast<size_t>(c)] = w.w1;
    }
}

int32_t DrawSampler::SourceRow(int row) const {
    return SourceIndex(m_dest.bottom() - (m_visible.top() + row), m_fy, m_height);
}

uint8_t DrawSampler::IndexAt(const uint8_t* bits, int32_t x) const {
    switch (m_bpp) {
    case 8:
        return bits[x];
    case 4:
        return static_cast<uint8_t>((bits[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    default:
        return static_cast<uint8_t>((bits[x >> 3] >> (7 - (x & 7))) & 0x01);
    }
}

uint8_t DrawSampler::Opacity(uint32_t rgb, uint8_t index, uint8_t level) const {
    int32_t a = (level * m_alphaScale) >> 8;
    if (m_alphaPalette) a = (a * (m_paletteAlpha[index] + 1)) >> 8;
    if (m_transIndex >= 0 && (m_bpp <= 8 ? index == m_transIndex : rgb == m_transRgb)) a = 0;
    return static_cast<uint8_t>(a);
}

void DrawSampler::SampleRow(int row, uint32_t* rgb, uint8_t* alpha) const {
    if (m_smooth)
        SmoothRow(row, rgb, m_opacity ? alpha : nullptr);
    else
        NearestRow(row, rgb, m_opacity ? alpha : nullptr);
}

void DrawSampler::NearestRow(int row, uint32_t* rgb, uint8_t* alpha) const {
    const int32_t sy = SourceRow(row);
    const uint8_t* bits = m_image.GetBits(static_cast<uint32_t>(sy));
    const uint8_t* levels = m_image.AlphaGetPointer(0, sy);
    const int columns = Width();
    if (m_bpp == 24) {
        for (int c = 0; c < columns; ++c) {
            const uint8_t* p = bits + 3 * static_cast<size_t>(m_srcX[static_cast<size_t>(c)]);
            rgb[c] = Rgb(p[2], p[1], p[0]);
        }
        if (alpha)
            for (int c = 0; c < columns; ++c) {
                const int32_t sx = m_srcX[static_cast<size_t>(c)];
                alpha[c] = Opacity(rgb[c], 0, levels ? levels[sx] : uint8_t{255});
            }
        return;
    }
    for (int c = 0; c < columns; ++c) {
        const int32_t sx = m_srcX[static_cast<size_t>(c)];
        const uint8_t index = IndexAt(bits, sx);
        rgb[c] = m_paletteRgb[index];
        if (alpha) alpha[c] = Opacity(rgb[c], index, levels ? levels[sx] : uint8_t{255});
    }
}

void DrawSampler::SmoothRow(int row, uint32_t* rgb, uint8_t* alpha) const {
    using pixelmath::ClampTrunc;
    const Window wy = SmoothWindow(m_dest.bottom() - (m_visible.top() + row), m_fy, m_height);
    const uint8_t* row0 = m_image.GetBits(static_cast<uint32_t>(wy.first));
    const uint8_t* row1 = m_image.GetBits(static_cast<uint32_t>(wy.second));
    const uint8_t* levels0 = m_image.AlphaGetPointer(0, wy.first);
    const uint8_t* levels1 = m_image.AlphaGetPointer(0, wy.second);
    // Palette images take their index (for transparency and palette alpha)
    // from the nearest pixel.
    const uint8_t* nearest = m_bpp <= 8 ? m_image.GetBits(static_cast<uint32_t>(SourceRow(row))) : nullptr;
    const RGBQUAD* palette = m_image.GetPalette();
    const int columns = Width();
    for (int c = 0; c < columns; ++c) {
        const auto i = static_cast<size_t>(c);
        const int32_t x0 = m_x0[i], x1 = m_x1[i];
        const float k00 = m_wx0[i] * wy.w0, k10 = m_wx1[i] * wy.w0;
        const float k01 = m_wx0[i] * wy.w1, k11 = m_wx1[i] * wy.w1;
        uint8_t p00[3], p10[3], p01[3], p11[3];
        uint8_t index = 0;
        if (m_bpp == 24) {
            std::copy_n(row0 + 3 * static_cast<size_t>(x0), 3, p00);
            std::copy_n(row0 + 3 * static_cast<size_t>(x1), 3, p10);
            std::copy_n(row1 + 3 * static_cast<size_t>(x0), 3, p01);
            std::copy_n(row1 + 3 * static_cast<size_t>(x1), 3, p11);
        } else {
            const auto put = [&](uint8_t* p, const uint8_t* bits, int32_t x) {
                const RGBQUAD q = palette[IndexAt(bits, x)];
                p[0] = q.rgbBlue;
                p[1] = q.rgbGreen;
                p[2] = q.rgbRed;
            };
            put(p00, row0, x0);
            put(p10, row0, x1);
            put(p01, row1, x0);
            put(p11, row1, x1);
            index = IndexAt(nearest, m_srcX[i]);
        }
        uint8_t channel[3];
        for (int k = 0; k < 3; ++k) {
            float sum = k00 * p00[k];
            sum += k10 * p10[k];
            sum += k01 * p01[k];
            sum += k11 * p11[k];
            channel[k] = ClampTrunc(sum);
        }
        rgb[c] = Rgb(channel[2], channel[1], channel[0]);
        if (!alpha) continue;
        uint8_t level = 255;
        if (levels0) {
            float sum = k00 * levels0[x0];
            sum += k10 * levels0[x1];
            sum += k01 * levels1[x0];
            sum += k11 * levels1[x1];
            level = ClampTrunc(sum);
        }
        alpha[c] = Opacity(rgb[c], index, level);
    }
}

} // namespace vimg::display
