// Bit-depth conversions: reduction to a palette (optionally with error
// diffusion), widening, and dithering to black and white.
#include "Image.h"

#include "NearestColour.h"
#include "PixelLoop.h"
#include "RowRunner.h"

#include <algorithm>
#include <vector>

namespace vimg {

namespace {

struct DiffusionTap {
    int32_t dx;
    int32_t dy;
    int32_t weight;
};

struct DiffusionKernel {
    std::vector<DiffusionTap> taps;
    int32_t divisor;
};

// The published error-diffusion weights, rows below the current one by dy.
DiffusionKernel KernelFor(int32_t method) {
    switch (method) {
    case 2: // Burkes
        return {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}, 32};
    case 3: // Stucki
        return {{{1, 0, 8},
                 {2, 0, 4},
                 {-2, 1, 2},
                 {-1, 1, 4},
                 {0, 1, 8},
                 {1, 1, 4},
                 {2, 1, 2},
                 {-2, 2, 1},
                 {-1, 2, 2},
                 {0, 2, 4},
                 {1, 2, 2},
                 {2, 2, 1}},
                42};
    case 4: // Jarvis, Judice and Ninke
        return {{{1, 0, 7},
                 {2, 0, 5},
                 {-2, 1, 3},
                 {-1, 1, 5},
                 {0, 1, 7},
                 {1, 1, 5},
                 {2, 1, 3},
                 {-2, 2, 1},
                 {-1, 2, 3},
                 {0, 2, 5},
                 {1, 2, 3},
                 {2, 2, 1}},
                48};
    case 5: // Sierra
        return {{{1, 0, 5},
                 {2, 0, 3},
                 {-2, 1, 2},
                 {-1, 1, 4},
                 {0, 1, 5},
                 {1, 1, 4},
                 {2, 1, 2},
                 {-1, 2, 2},
                 {0, 2, 3},
                 {1, 2, 2}},
                32};
    case 6: // Stevenson and Arce
        return {{{2, 0, 32},
                 {-3, 1, 12},
                 {-1, 1, 26},
                 {1, 1, 30},
                 {3, 1, 16},
                 {-2, 2, 12},
                 {0, 2, 26},
                 {2, 2, 12},
                 {-3, 3, 5},
                 {-1, 3, 12},
                 {1, 3, 12},
                 {3, 3, 5}},
                200};
    default: // Floyd and Steinberg
        return {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16};
    }
}

} // namespace

bool Image::DecreaseBpp(uint32_t bits, bool errorDiffusion, const RGBQUAD* palette, uint32_t clrImportant) {
    if (!pDib) return false;
    if (bits > head.biBitCount) {
        SetLastError("DecreaseBpp: the new depth is above the current one");
        return false;
    }
    if (bits == head.biBitCount) {
        if (clrImportant == 0) return true;
        if (head.biClrImportant != 0 && head.biClrImportant < clrImportant) return true;
    }
    if (bits != 1 && bits != 4 && bits != 8) {
        SetLastError("DecreaseBpp: the new depth must be 1, 4 or 8 bits");
        return false;
    }
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), bits)) return false;
    if (clrImportant) out.SetClrImportant(clrImportant);
    if (palette) {
        out.SetPalette(palette, out.GetNumColors());
    } else if (bits == 1) {
        out.SetPaletteColor(0, 0, 0, 0);
        out.SetPaletteColor(1, 255, 255, 255);
    } else {
        out.SetStdPalette();
    }
    const uint32_t searched =
        std::min(out.GetClrImportant() ? out.GetClrImportant() : out.GetNumColors(), out.GetNumColors());
    const NearestColour nearest(out.GetPalette(), searched);
    const RGBQUAD* newPal = out.GetPalette();

    const auto w = static_cast<int32_t>(GetWidth());
    const int32_t h = head.biHeight;
    const RGBQUAD* pal = GetPalette();
    // Source colours of row y as blue, green, red bytes.
    const auto loadRow = [&](int32_t y, uint8_t* dst) {
        if (pal) {
            for (int32_t x = 0; x < w; ++x, dst += 3) {
                const RGBQUAD& c = pal[BlindGetPixelIndex(x, y)];
                dst[0] = c.rgbBlue;
                dst[1] = c.rgbGreen;
                dst[2] = c.rgbRed;
            }
        } else {
            std::copy(GetBits(static_cast<uint32_t>(y)),
                      GetBits(static_cast<uint32_t>(y)) + static_cast<size_t>(w) * 3, dst);
        }
    };
    const RowProgress progress{this, h};
    bool done;
    if (!errorDiffusion) {
        done = RowRunner::Run(progress, 0, h, true, [&](int32_t y) {
            std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
            loadRow(y, row.data());
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t* p = &row[static_cast<size_t>(x) * 3];
                out.BlindSetPixelIndex(x, y, nearest.Find(p[2], p[1], p[0]));
            }
        });
    } else {
        // The error goes 7/16 to the right and 2/16, 4/16, 1/16 to the pixels
        // left-below, below and right-below in the next row processed.
        std::vector<uint8_t> cur(static_cast<size_t>(w) * 3), next(static_cast<size_t>(w) * 3);
        loadRow(0, cur.data());
        done = RowRunner::Run(progress, 0, h, false, [&](int32_t y) {
            const bool hasNext = y + 1 < h;
            if (hasNext) loadRow(y + 1, next.data());
            for (int32_t x = 0; x < w; ++x) {
                uint8_t* p = &cur[static_cast<size_t>(x) * 3];
                const uint8_t index = nearest.Find(p[2], p[1], p[0]);
                out.BlindSetPixelIndex(x, y, index);
                const int32_t chosen[3] = {newPal[index].rgbBlue, newPal[index].rgbGreen,
                                           newPal[index].rgbRed};
                for (size_t c = 0; c < 3; ++c) {
                    const int32_t e = p[c] - chosen[c];
                    const auto spread = [&](uint8_t& v, int32_t weight) {
                        v = ClampByte(v + e * weight / 16);
                    };
                    if (x + 1 < w) spread(cur[static_cast<size_t>(x + 1) * 3 + c], 7);
                    if (!hasNext) continue;
                    if (x > 0) spread(next[static_cast<size_t>(x - 1) * 3 + c], 2);
                    spread(next[static_cast<size_t>(x) * 3 + c], 4);
                    if (x + 1 < w) spread(next[static_cast<size_t>(x + 1) * 3 + c], 1);
                }
            }
            std::swap(cur, next);
        });
    }
    if (!done) return false;
    // The transparent colour keeps its transparency through its nearest entry.
    if (info.transIndex >= 0) {
        const RGBQUAD t = pal ? GetPaletteColor(static_cast<uint8_t>(info.transIndex)) : info.transColor;
        out.SetTransIndex(nearest.Find(t.rgbRed, t.rgbGreen, t.rgbBlue));
    }
    if (pSelection) out.SelectionCopy(*this);
    if (pAlpha) out.AlphaCopy(*this);
    Transfer(out);
    return true;
}

bool Image::IncreaseBpp(uint32_t bits) {
    if (!pDib) return false;
    if ((bits != 4 && bits != 8 && bits != 24) || bits < head.biBitCount) {
        SetLastError("IncreaseBpp: the new depth must be 4, 8 or 24 bits and not below the current one");
        return false;
    }
    if (bits == head.biBitCount) return true;
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), bits)) return false;
    const auto w = static_cast<int32_t>(GetWidth());
    const RGBQUAD* pal = GetPalette();
    const bool alphaFromPalette = bits == 24 && !pAlpha && info.alphaPaletteEnabled;
    if (alphaFromPalette && !out.AlphaCreate()) return false;
    uint8_t* outAlpha = out.AlphaGetPointer(0, 0);
    if (bits != 24) {
        out.SetPalette(pal, head.biClrUsed);
        out.SetClrImportant(head.biClrImportant);
    }
    const bool done = RowRunner::Run(RowProgress{this, head.biHeight}, 0, head.biHeight,
                                 true, [&](int32_t y) {
                                     uint8_t* dst = out.GetBits(static_cast<uint32_t>(y));
                                     for (int32_t x = 0; x < w; ++x) {
                                         const uint8_t i = BlindGetPixelIndex(x, y);
                                         if (bits != 24) {
                                             out.BlindSetPixelIndex(x, y, i);
                                             continue;
                                         }
                                         dst[3 * x] = pal[i].rgbBlue;
                                         dst[3 * x + 1] = pal[i].rgbGreen;
                                         dst[3 * x + 2] = pal[i].rgbRed;
                                         if (alphaFromPalette)
                                             outAlpha[static_cast<size_t>(y) * w + x] = pal[i].rgbReserved;
                                     }
                                 });
    if (!done) return false;
    if (info.transIndex >= 0) {
        if (bits == 24) out.SetTransColor(GetPaletteColor(static_cast<uint8_t>(info.transIndex)));
        out.SetTransIndex(info.transIndex);
    }
    if (pSelection) out.SelectionCopy(*this);
    if (pAlpha) out.AlphaCopy(*this);
    Transfer(out);
    return true;
}

bool Image::Dither(int32_t method) {
    if (!pDib) return false;
    if (head.biBitCount == 1) return true;
    const auto w = static_cast<int32_t>(GetWidth());
    const int32_t h = head.biHeight;
    // The grey levels, as GrayScale gives them.
    std::vector<uint8_t> grey(static_cast<size_t>(w) * static_cast<size_t>(h));
    const RGBQUAD* pal = GetPalette();
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* g = &grey[static_cast<size_t>(y) * w];
        const uint8_t* p = GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < w; ++x)
            g[x] = pal ? GreyOf(pal[BlindGetPixelIndex(x, y)]) : GreyOf(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
    }
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), 1)) return false;
    out.SetPaletteColor(0, 0, 0, 0);
    out.SetPaletteColor(1, 255, 255, 255);
    const auto setWhite = [&](int32_t x, uint8_t* row) {
        row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    };
    const RowProgress progress{this, h};
    bool done;
    if (method == 1) {
        static const uint8_t ordered[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
        done = RowRunner::Run(progress, 0, h, true, [&](int32_t y) {
            uint8_t* row = out.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x) {
                const int32_t m = grey[static_cast<size_t>(y) * w + x] * 16 / 255;
                if (m == 16 || ordered[y & 3][x & 3] < m % 16) setWhite(x, row);
            }
        });
    } else if (method == 7) {
        static const uint8_t bayer[16] = {0,  192, 48, 240, 128, 64, 176, 112,
                                          32, 224, 16, 208, 160, 96, 144, 80};
        done = RowRunner::Run(progress, 0, h, true, [&](int32_t y) {
            uint8_t* row = out.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x)
                if (bayer[(x & 3) + 4 * (y & 3)] < grey[static_cast<size_t>(y) * w + x]) setWhite(x, row);
        });
    } else {
        const DiffusionKernel k = KernelFor(method);
        done = RowRunner::Run(progress, 0, h, false, [&](int32_t y) {
            uint8_t* row = out.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x) {
                const int32_t v = grey[static_cast<size_t>(y) * w + x];
                int32_t error = v;
                if (v >= 129) {
                    setWhite(x, row);
                    error = v - 255;
                }
                for (const DiffusionTap& t : k.taps) {
                    const int32_t nx = x + t.dx, ny = y + t.dy;
                    if (nx < 0 || nx >= w || ny >= h) continue;
                    uint8_t& n = grey[static_cast<size_t>(ny) * w + nx];
                    n = ClampByte(n + error * t.weight / k.divisor);
                }
            }
        });
    }
    if (!done) return false;
    if (pSelection) out.SelectionCopy(*this);
    if (pAlpha) out.AlphaCopy(*this);
    Transfer(out);
    return true;
}

} // namespace vimg
