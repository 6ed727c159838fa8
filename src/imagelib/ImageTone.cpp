// Tone operations: look-up tables (brightness and contrast, gamma, channel
// shift), threshold, negative, grey scale, colourise, hue palette and mean.
#include "Image.h"

#include "PixelLoop.h"
#include "RowRunner.h"

#include <cmath>
#include <cstring>

namespace vimg {

namespace {

// Calls f(p, x, y) for every selected 24-bit pixel (p points at its blue byte)
// of the working region; rows spread over the row runner's threads.
template <class F>
void ForEachSelectedRgb(Image& img, const RowProgress& progress, F f) {
    const PixelBox box = WorkingBox(img);
    RowRunner::Run(progress, box.y0, box.y1, true, [&](int32_t y) {
        uint8_t* row = img.GetBits(static_cast<uint32_t>(y));
        const uint8_t* sel = img.SelectionGetPointer(0, y);
        for (int32_t x = box.x0; x < box.x1; ++x)
            if (!sel || sel[x]) f(row + static_cast<size_t>(x) * 3, x, y);
    });
}

} // namespace

bool Image::Lut(const uint8_t* table) {
    if (!pDib || !table) return false;
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const RowProgress progress{this, head.biHeight};
    if (IsIndexed()) {
        if (pSelection && head.biBitCount == 8 && IsGrayScale()) {
            RowRunner::Run(progress, box.y0, box.y1, true, [&](int32_t y) {
                uint8_t* row = GetBits(static_cast<uint32_t>(y));
                const uint8_t* sel = pSelection.get() + static_cast<size_t>(y) * w;
                for (int32_t x = box.x0; x < box.x1; ++x)
                    if (sel[x]) row[x] = table[row[x]];
            });
        } else {
            RGBQUAD* pal = GetPalette();
            for (uint32_t i = 0; i < head.biClrUsed; ++i) {
                pal[i].rgbRed = table[pal[i].rgbRed];
                pal[i].rgbGreen = table[pal[i].rgbGreen];
                pal[i].rgbBlue = table[pal[i].rgbBlue];
            }
            ClearNearestCache();
        }
    } else if (pSelection) {
        ForEachSelectedRgb(*this, progress, [&](uint8_t* p, int32_t, int32_t) {
            p[0] = table[p[0]];
            p[1] = table[p[1]];
            p[2] = table[p[2]];
        });
    } else {
        // Every byte of each row, padding included. The table is copied to the
        // stack so the compiler knows the row's stores cannot change it.
        RowRunner::Run(progress, 0, head.biHeight, true, [&](int32_t y) {
            uint8_t local[256];
            std::memcpy(local, table, sizeof(local));
            uint8_t* row = GetBits(static_cast<uint32_t>(y));
            const uint32_t n = info.effWidth;
            for (uint32_t i = 0; i < n; ++i)
                row[i] = local[row[i]];
        });
    }
    return true;
}

bool Image::Lut(const uint8_t* redTable, const uint8_t* greenTable, const uint8_t* blueTable,
                const uint8_t* alphaTable) {
    if (!pDib || !redTable || !greenTable || !blueTable) return false;
    if (IsIndexed()) {
        RGBQUAD* pal = GetPalette();
        for (uint32_t i = 0; i < head.biClrUsed; ++i) {
            pal[i].rgbRed = redTable[pal[i].rgbRed];
            pal[i].rgbGreen = greenTable[pal[i].rgbGreen];
            pal[i].rgbBlue = blueTable[pal[i].rgbBlue];
        }
        ClearNearestCache();
        return true;
    }
    const bool mapAlpha = pAlpha && alphaTable;
    ForEachSelectedRgb(*this, RowProgress{this, head.biHeight},
                       [&](uint8_t* p, int32_t x, int32_t y) {
                           p[0] = blueTable[p[0]];
                           p[1] = greenTable[p[1]];
                           p[2] = redTable[p[2]];
                           if (mapAlpha) {
                               uint8_t& a = pAlpha.get()[static_cast<size_t>(y) * GetWidth() + x];
                               a = alphaTable[a];
                           }
                       });
    return true;
}

bool Image::Light(int32_t brightness, int32_t contrast) {
    if (!pDib) return false;
    uint8_t table[256];
    const double c = (contrast + 100) * 0.01;
    for (int v = 0; v < 256; ++v)
        table[v] = ClampByte(static_cast<int64_t>(brightness + 128 + c * (v - 128)));
    return Lut(table);
}

bool Image::Gamma(float gamma) {
    if (!pDib) return false;
    if (!(gamma > 0.0f) || !std::isfinite(gamma)) {
        SetLastError("Gamma: the value must be greater than zero");
        return false;
    }
    const double e = 1.0 / gamma;
    const double k = std::pow(255.0, e) / 255.0;
    uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = ClampByte(static_cast<int64_t>(std::pow(i, e) / k));
    return Lut(table);
}

bool Image::ShiftRGB(int32_t red, int32_t green, int32_t blue) {
    if (!pDib) return false;
    uint8_t r[256], g[256], b[256];
    for (int32_t v = 0; v < 256; ++v) {
        r[v] = ClampByte(static_cast<int64_t>(v) + red);
        g[v] = ClampByte(static_cast<int64_t>(v) + green);
        b[v] = ClampByte(static_cast<int64_t>(v) + blue);
    }
    return Lut(r, g, b);
}

bool Image::Threshold(uint8_t level) {
    if (!pDib) return false;
    if (head.biBitCount == 1) return true;
    Image grey(*this, true, false, false);
    if (!grey.IsValid() || !grey.GrayScale()) return false;
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), 1)) return false;
    out.SetPaletteColor(0, 0, 0, 0);
    out.SetPaletteColor(1, 255, 255, 255);
    const auto w = static_cast<int32_t>(GetWidth());
    const bool done = RowRunner::Run(RowProgress{this, head.biHeight}, 0, head.biHeight,
                                 true, [&](int32_t y) {
                                     const uint8_t* src = grey.GetBits(static_cast<uint32_t>(y));
                                     uint8_t* dst = out.GetBits(static_cast<uint32_t>(y));
                                     for (int32_t x = 0; x < w; ++x)
                                         if (src[x] > level)
                                             dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                                 });
    if (!done) return false;
    Transfer(out);
    return true;
}

bool Image::Negative() {
    if (!pDib) return false;
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const RowProgress progress{this, head.biHeight};
    if (!IsIndexed()) {
        if (pSelection) {
            ForEachSelectedRgb(*this, progress, [](uint8_t* p, int32_t, int32_t) {
                p[0] = static_cast<uint8_t>(255 - p[0]);
                p[1] = static_cast<uint8_t>(255 - p[1]);
                p[2] = static_cast<uint8_t>(255 - p[2]);
            });
        } else {
            RowRunner::Run(progress, 0, head.biHeight, true, [&](int32_t y) {
                uint8_t* row = GetBits(static_cast<uint32_t>(y));
                for (uint32_t i = 0; i < info.effWidth; ++i)
                    row[i] = static_cast<uint8_t>(255 - row[i]);
            });
        }
        info.transColor.rgbRed = static_cast<uint8_t>(255 - info.transColor.rgbRed);
        info.transColor.rgbGreen = static_cast<uint8_t>(255 - info.transColor.rgbGreen);
        info.transColor.rgbBlue = static_cast<uint8_t>(255 - info.transColor.rgbBlue);
    } else if (IsGrayScale()) {
        // Grey levels are indexes: complement each index within its bits.
        const auto bits = static_cast<uint8_t>((1u << head.biBitCount) - 1);
        RowRunner::Run(progress, box.y0, box.y1, head.biBitCount == 8, [&](int32_t y) {
            for (int32_t x = box.x0; x < box.x1; ++x) {
                if (pSelection && !pSelection.get()[static_cast<size_t>(y) * w + x]) continue;
                BlindSetPixelIndex(x, y, static_cast<uint8_t>(~BlindGetPixelIndex(x, y) & bits));
            }
        });
    } else {
        RGBQUAD* pal = GetPalette();
        for (uint32_t i = 0; i < head.biClrUsed; ++i) {
            pal[i].rgbRed = static_cast<uint8_t>(255 - pal[i].rgbRed);
            pal[i].rgbGreen = static_cast<uint8_t>(255 - pal[i].rgbGreen);
            pal[i].rgbBlue = static_cast<uint8_t>(255 - pal[i].rgbBlue);
        }
        ClearNearestCache();
    }
    return true;
}

bool Image::GrayScale() {
    if (!pDib) return false;
    // Built in a new 8-bit image so that a stop part way leaves this one as it was.
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), 8)) return false;
    out.SetGrayPalette();
    const auto w = static_cast<int32_t>(GetWidth());
    const RGBQUAD* pal = GetPalette();
    uint8_t greyOfIndex[256] = {};
    for (uint32_t i = 0; i < head.biClrUsed; ++i)
        greyOfIndex[i] = GreyOf(pal[i]);
    const auto row = [&](int32_t y) {
        uint8_t* dst = out.GetBits(static_cast<uint32_t>(y));
        if (IsIndexed()) {
            for (int32_t x = 0; x < w; ++x)
                dst[x] = greyOfIndex[BlindGetPixelIndex(x, y)];
        } else {
            const uint8_t* p = GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x, p += 3)
                dst[x] = GreyOf(p[2], p[1], p[0]);
        }
    };
    if (!RowRunner::Run(RowProgress{this, head.biHeight}, 0, head.biHeight, true, row))
        return false;
    // The transparent pixels keep their transparency under their new grey index.
    if (info.transIndex >= 0)
        out.SetTransIndex(IsIndexed() ? greyOfIndex[static_cast<uint8_t>(info.transIndex)]
                                      : GreyOf(info.transColor));
    if (pSelection) out.SelectionCopy(*this);
    if (pAlpha) out.AlphaCopy(*this);
    Transfer(out);
    return true;
}

bool Image::Colorize(uint8_t hue, uint8_t saturation, float blend) {
    if (!pDib) return false;
    if (!(blend > 0.0f)) blend = 0.0f;
    if (blend > 1.0f) blend = 1.0f;
    const auto a = static_cast<int32_t>(blend * 256.0f);
    const bool full = blend > 0.999f;
    // With hue and saturation fixed the new colour depends on the lightness only.
    RGBQUAD byLightness[256];
    for (int l = 0; l < 256; ++l)
        byLightness[l] = HSLtoRGB(RGBQUAD{static_cast<uint8_t>(l), saturation, hue, 0});
    const auto lightness = [](uint8_t b, uint8_t g, uint8_t r) {
        return RGBtoHSL(RGBQUAD{b, g, r, 0}).rgbBlue;
    };

    if (IsIndexed()) {
        RGBQUAD* pal = GetPalette();
        for (uint32_t i = 0; i < head.biClrUsed; ++i) {
            const RGBQUAD n = byLightness[lightness(pal[i].rgbBlue, pal[i].rgbGreen, pal[i].rgbRed)];
            if (full) {
                pal[i].rgbBlue = n.rgbBlue;
                pal[i].rgbGreen = n.rgbGreen;
                pal[i].rgbRed = n.rgbRed;
            } else {
                const auto mix = [blend](uint8_t o, uint8_t v) {
                    return static_cast<uint8_t>((1.0f - blend) * o + blend * v);
                };
                pal[i].rgbBlue = mix(pal[i].rgbBlue, n.rgbBlue);
                pal[i].rgbGreen = mix(pal[i].rgbGreen, n.rgbGreen);
                pal[i].rgbRed = mix(pal[i].rgbRed, n.rgbRed);
            }
        }
        ClearNearestCache();
        return true;
    }
    ForEachSelectedRgb(*this, RowProgress{this, head.biHeight},
                       [&](uint8_t* p, int32_t, int32_t) {
                           const RGBQUAD n = byLightness[lightness(p[0], p[1], p[2])];
                           if (full) {
                               p[0] = n.rgbBlue;
                               p[1] = n.rgbGreen;
                               p[2] = n.rgbRed;
                           } else {
                               p[0] = static_cast<uint8_t>((a * n.rgbBlue + (256 - a) * p[0]) >> 8);
                               p[1] = static_cast<uint8_t>((a * n.rgbGreen + (256 - a) * p[1]) >> 8);
                               p[2] = static_cast<uint8_t>((a * n.rgbRed + (256 - a) * p[2]) >> 8);
                           }
                       });
    return true;
}

bool Image::HuePalette(float correction) {
    if (!pDib) return false;
    const uint32_t n = head.biClrUsed;
    if (n < 2) return true;
    RGBQUAD* pal = GetPalette();
    const int32_t step = static_cast<int32_t>(255 / (n - 1));
    for (uint32_t i = 0; i < n; ++i) {
        const auto hue =
            static_cast<int32_t>(static_cast<float>(step * static_cast<int32_t>(i)) * correction);
        const RGBQUAD c = HSLtoRGB(RGB(static_cast<uint8_t>(((hue % 256) + 256) % 256), 240, 120));
        pal[i] = RGBQUAD{c.rgbBlue, c.rgbGreen, c.rgbRed, pal[i].rgbReserved};
    }
    ClearNearestCache();
    return true;
}

float Image::Mean() {
    if (!pDib) return 0.0f;
    const PixelBox box = WorkingBox(*this);
    if (box.x0 >= box.x1 || box.y0 >= box.y1) return 0.0f;
    const RGBQUAD* pal = GetPalette();
    uint64_t sum = 0;
    for (int32_t y = box.y0; y < box.y1; ++y) {
        const uint8_t* row = GetBits(static_cast<uint32_t>(y));
        for (int32_t x = box.x0; x < box.x1; ++x) {
            if (pal)
                sum += GreyOf(pal[BlindGetPixelIndex(x, y)]);
            else
                sum += GreyOf(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        }
    }
    const auto count = static_cast<double>(box.x1 - box.x0) * (box.y1 - box.y0);
    return static_cast<float>(static_cast<double>(sum) / count);
}

} // namespace vimg
