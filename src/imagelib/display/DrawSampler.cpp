#include "DrawSampler.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    const float pos =
        std::clamp(static_cast<float>(offset) * factor - 0.5f, 0.0f, static_cast<float>(size - 1));
    const auto first = static_cast<int32_t>(pos); // pos >= 0: truncation is the floor
    const float d = pos - static_cast<float>(first);
    return {first, std::min(first + 1, size - 1), 1.0f - d, d};
}

// Four channels (blue, green, red, alpha) side by side. Each lane is plain
// single-precision arithmetic, so it gives the bits the image's sampler
// gives for its channel, four channels in one vector register.
using Lanes = float __attribute__((vector_size(16)));

#if defined(__SSE2__)
// Byte unpacking and packing with SSE2 (Lanes and __m128 are the same vector type).
Lanes Channels(uint32_t packed) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(packed)), zero);
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
}

// Back to bytes the way ClampTrunc does it, lane by lane.
uint32_t PackClampTrunc(Lanes sum) {
    sum = _mm_add_ps(sum, _mm_set1_ps(1.0e-3f));
    sum = _mm_min_ps(_mm_max_ps(sum, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    const __m128i v = _mm_cvttps_epi32(sum);
    const __m128i words = _mm_packs_epi32(v, v);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}
#else
using IntLanes = int32_t __attribute__((vector_size(16)));

Lanes Channels(uint32_t packed) {
    const IntLanes v = {static_cast<int32_t>(packed & 0xFF), static_cast<int32_t>((packed >> 8) & 0xFF),
                        static_cast<int32_t>((packed >> 16) & 0xFF), static_cast<int32_t>(packed >> 24)};
    return __builtin_convertvector(v, Lanes);
}

uint32_t PackClampTrunc(Lanes sum) {
    const Lanes zero = {0.0f, 0.0f, 0.0f, 0.0f}, top = {255.0f, 255.0f, 255.0f, 255.0f};
    sum += 1.0e-3f;
    sum = sum > zero ? sum : zero;
    sum = sum < top ? sum : top;
    const IntLanes v = __builtin_convertvector(sum, IntLanes);
    return static_cast<uint32_t>(v[0]) | (static_cast<uint32_t>(v[1]) << 8) |
           (static_cast<uint32_t>(v[2]) << 16) | (static_cast<uint32_t>(v[3]) << 24);
}
#endif

} // namespace

DrawSampler::DrawSampler(const Image& image, const QRect& dest, const QRect& visible, bool smooth,
                         bool opacity)
    : m_image(image), m_dest(dest), m_visible(visible), m_width(static_cast<int32_t>(image.GetWidth())),
      m_height(static_cast<int32_t>(image.GetHeight())), m_bpp(image.GetBpp()),
      m_smooth(smooth && (dest.width() != m_width || dest.height() != m_height)), m_opacity(opacity) {
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
        m_wx.resize(4 * m_srcX.size());
    }
    for (int c = 0; c < columns; ++c) {
        const int32_t offset = visible.left() + c - dest.left();
        m_srcX[static_cast<size_t>(c)] = SourceIndex(offset, fx, m_width);
        if (!m_smooth) continue;
        const Window w = SmoothWindow(offset, fx, m_width);
        m_x0[static_cast<size_t>(c)] = w.first;
        m_x1[static_cast<size_t>(c)] = w.second;
        const float quad[4] = {w.w0, w.w1, w.w0, w.w1};
        std::copy_n(quad, 4, m_wx.begin() + 4 * static_cast<ptrdiff_t>(c));
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
    if (m_bpp == 24)
        SmoothRowOf<true>(row, rgb, alpha);
    else
        SmoothRowOf<false>(row, rgb, alpha);
}

template <bool kTrueColour> void DrawSampler::SmoothRowOf(int row, uint32_t* rgb, uint8_t* alpha) const {
    const Window wy = SmoothWindow(m_dest.bottom() - (m_visible.top() + row), m_fy, m_height);
    const uint8_t* row0 = m_image.GetBits(static_cast<uint32_t>(wy.first));
    const uint8_t* row1 = m_image.GetBits(static_cast<uint32_t>(wy.second));
    const uint8_t* levels0 = m_image.AlphaGetPointer(0, wy.first);
    const uint8_t* levels1 = m_image.AlphaGetPointer(0, wy.second);
    // Palette images take their index (for transparency and palette alpha)
    // from the nearest pixel.
    const uint8_t* nearest = kTrueColour ? nullptr : m_image.GetBits(static_cast<uint32_t>(SourceRow(row)));
    // A pixel as blue, green, red and its alpha-plane value, one per byte.
    const auto fetch = [&](const uint8_t* bits, const uint8_t* levels, int32_t x) {
        uint32_t v;
        if constexpr (kTrueColour) {
            const uint8_t* p = bits + 3 * static_cast<size_t>(x);
            v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                (static_cast<uint32_t>(p[2]) << 16);
        } else {
            v = m_paletteRgb[IndexAt(bits, x)];
        }
        return levels ? v | (static_cast<uint32_t>(levels[x]) << 24) : v;
    };
    // The four weights wx0 wy0, wx1 wy0, wx0 wy1, wx1 wy1 come from one product.
    const Lanes wyQuad = {wy.w0, wy.w0, wy.w1, wy.w1};
    const int columns = Width();
    // Enlarged pictures use one source window for several device pixels in a
    // row: its four pixels are converted once.
    int32_t lastX0 = -1;
    Lanes p00{}, p10{}, p01{}, p11{};
    for (int c = 0; c < columns; ++c) {
        const auto i = static_cast<size_t>(c);
        const int32_t x0 = m_x0[i];
        if (x0 != lastX0) {
            const int32_t x1 = m_x1[i];
            p00 = Channels(fetch(row0, levels0, x0));
            p10 = Channels(fetch(row0, levels0, x1));
            p01 = Channels(fetch(row1, levels1, x0));
            p11 = Channels(fetch(row1, levels1, x1));
            lastX0 = x0;
        }
        // The sampler's order: k00, k10, k01, k11, each product added in turn.
        Lanes wx;
        std::memcpy(&wx, m_wx.data() + 4 * i, sizeof(wx));
        const Lanes k = wx * wyQuad;
        Lanes sum = k[0] * p00;
        sum += k[1] * p10;
        sum += k[2] * p01;
        sum += k[3] * p11;
        const uint32_t sample = PackClampTrunc(sum);
        rgb[c] = sample & 0x00FFFFFF;
        if (!alpha) continue;
        const uint8_t index = kTrueColour ? 0 : IndexAt(nearest, m_srcX[i]);
        alpha[c] = Opacity(rgb[c], index, levels0 ? static_cast<uint8_t>(sample >> 24) : uint8_t{255});
    }
}

} // namespace vimg::display
