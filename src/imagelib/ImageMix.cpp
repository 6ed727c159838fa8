// Mixing another image into this one by a raster operation, and pasting the
// non-transparent pixels of another image.
#include "Image.h"

#include "RowRunner.h"

#include <algorithm>
#include <cstdlib>

namespace vimg {

namespace {

uint8_t AddClamped(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(std::min(255, a + b));
}
uint8_t SubClamped(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(std::max(0, a - b));
}

template <typename Op> RGBQUAD PerChannel(RGBQUAD d, RGBQUAD s, bool withAlpha, Op op) {
    RGBQUAD r{op(d.rgbBlue, s.rgbBlue), op(d.rgbGreen, s.rgbGreen), op(d.rgbRed, s.rgbRed), d.rgbReserved};
    if (withAlpha) r.rgbReserved = op(d.rgbReserved, s.rgbReserved);
    return r;
}

} // namespace

bool Image::Mix(const Image& source, int op, int32_t xOffset, int32_t yOffset, bool mixAlpha) {
    if (!pDib || !source.IsValid()) return false;
    if (op < OpAdd || op > OpScreen) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    const int32_t sw = source.head.biWidth, sh = source.head.biHeight;
    // Only positions whose source pixel exists take part; negative offsets
    // move the start instead of reading outside the source.
    const int64_t xEnd = std::min<int64_t>(w, static_cast<int64_t>(sw) - xOffset);
    const int64_t yEnd = std::min<int64_t>(h, static_cast<int64_t>(sh) - yOffset);
    const int64_t xStart = std::max<int64_t>(0, -static_cast<int64_t>(xOffset));
    const int64_t yStart = std::max<int64_t>(0, -static_cast<int64_t>(yOffset));
    const bool withAlpha = mixAlpha && source.AlphaIsValid();
    if (withAlpha && !AlphaCreate()) return false;

    const RGBQUAD background = GetTransColor();
    // Palette images store through the nearest-colour cache, and a picture mixed
    // with itself reads rows that others write: those stay on one thread.
    const bool parallel = !IsIndexed() && &source != this;
    // Stopped by escape, the rows done so far stay mixed.
    RowRunner::Run(RowProgress{this, h}, static_cast<int32_t>(yStart), static_cast<int32_t>(yEnd), parallel,
                   [&](int32_t iy) {
        const auto sy = static_cast<int32_t>(iy + yOffset);
        for (int64_t x = xStart; x < xEnd; ++x) {
            const auto ix = static_cast<int32_t>(x);
            const auto sx = static_cast<int32_t>(x + xOffset);
            if (!SelectionIsInside(ix, iy) || !source.SelectionIsInside(sx, sy)) continue;
            const RGBQUAD d = GetPixelColor(ix, iy, true);
            const RGBQUAD s = source.GetPixelColor(sx, sy, true);
            RGBQUAD result = d;
            switch (op) {
            case OpAdd:
                result = PerChannel(d, s, withAlpha, AddClamped);
                break;
            case OpAnd:
                result = PerChannel(d, s, withAlpha,
                                    [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a & b); });
                break;
            case OpXor:
                result = PerChannel(d, s, withAlpha,
                                    [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a ^ b); });
                break;
            case OpOr:
                result = PerChannel(d, s, withAlpha,
                                    [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a | b); });
                break;
            case OpSub:
                result = PerChannel(d, s, withAlpha, SubClamped);
                break;
            case OpMask:
                result = (s.rgbRed || s.rgbGreen || s.rgbBlue) ? d : background;
                break;
            case OpSrcCopy:
                result = d == background ? s : d;
                break;
            case OpDstCopy:
                result = s == background ? d : s;
                break;
            case OpSrcBlend: {
                if (d == background) {
                    result = s;
                    break;
                }
                const int diff =
                    (std::abs(d.rgbRed - background.rgbRed) + std::abs(d.rgbGreen - background.rgbGreen) +
                     std::abs(d.rgbBlue - background.rgbBlue)) /
                    3;
                if (diff >= 17) break;
                const float f = static_cast<float>(diff) / 16.0f;
                const float k = static_cast<float>(16 - diff) / 16.0f * s.rgbBlue;
                const auto blend = [&](uint8_t v) {
                    return static_cast<uint8_t>(std::clamp(static_cast<int>(v * f + k), 0, 255));
                };
                result.rgbBlue = blend(d.rgbBlue);
                result.rgbGreen = blend(d.rgbGreen);
                result.rgbRed = blend(d.rgbRed);
                break;
            }
            default: { // OpScreen
                int a;
                if (source.IsTransparent(sx, sy)) {
                    a = 0;
                } else if (source.AlphaIsValid()) {
                    a = (s.rgbReserved * (source.AlphaGetMax() + 1)) >> 8;
                    if (a == 255) {
                        result = s;
                    } else if (a > 0) {
                        const auto blend = [a](uint8_t sv, uint8_t dv) {
                            return static_cast<uint8_t>((sv * a + dv * (255 - a)) >> 8);
                        };
                        result.rgbBlue = blend(s.rgbBlue, d.rgbBlue);
                        result.rgbGreen = blend(s.rgbGreen, d.rgbGreen);
                        result.rgbRed = blend(s.rgbRed, d.rgbRed);
                    }
                } else {
                    a = 255;
                    result = s;
                }
                if (withAlpha) result.rgbReserved = static_cast<uint8_t>((a * (d.rgbReserved + 1)) >> 8);
                break;
            }
            }
            SetPixelColor(ix, iy, result, withAlpha);
        }
    });
    info.progress = 0;
    return true;
}

void Image::MixFrom(const Image& source, int32_t x, int32_t y) {
    if (!pDib || !source.IsValid()) return;
    const RGBQUAD trans = source.GetTransColor();
    const int32_t sw = source.head.biWidth, sh = source.head.biHeight;
    for (int32_t j = 0; j < sh; ++j)
        for (int32_t i = 0; i < sw; ++i) {
            const RGBQUAD c = source.BlindGetPixelColor(i, j, false);
            if (c.rgbRed == trans.rgbRed && c.rgbGreen == trans.rgbGreen && c.rgbBlue == trans.rgbBlue)
                continue;
            SetPixelColor(x + i, y + j, c);
        }
}

} // namespace vimg
