// Histogram counting and the histogram-driven tone operations (stretch,
// equalise, normalise, logarithm, root), which act on the luma of YUV, and
// the curvature-based channel repair.
#include "Image.h"

#include "ColourSpace.h"

#include "PixelLoop.h"
#include "RowRunner.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace vimg {

namespace {

RGBQUAD ToSpace(RGBQUAD c, int32_t colorSpace) {
    switch (colorSpace) {
    case 1:
        return Image::RGBtoHSL(c);
    case 2:
        return Image::RGBtoYUV(c);
    case 3:
        return Image::RGBtoYIQ(c);
    case 4:
        return Image::RGBtoXYZ(c);
    default:
        return c;
    }
}

RGBQUAD FromSpace(RGBQUAD c, int32_t colorSpace) {
    switch (colorSpace) {
    case 1:
        return Image::HSLtoRGB(c);
    case 2:
        return Image::YUVtoRGB(c);
    case 3:
        return Image::YIQtoRGB(c);
    case 4:
        return Image::XYZtoRGB(c);
    default:
        return c;
    }
}

// Replaces Y of the YUV form of a colour by map[Y]; the reserved byte is kept.
RGBQUAD MapLuma(RGBQUAD c, const uint8_t* map) {
    RGBQUAD yuv = colourspace::RgbToYuv(c);
    yuv.rgbRed = map[yuv.rgbRed];
    return colourspace::YuvToRgb(yuv);
}

} // namespace

long Image::Histogram(long* red, long* green, long* blue, long* gray, int32_t colorSpace) {
    long* arrays[4] = {red, green, blue, gray};
    for (long* a : arrays)
        if (a) std::fill(a, a + 256, 0L);
    if (!pDib) return 0;
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const bool wholeBytes = GetBpp() == 24;
    // Each block of rows counts into its own tables (red, green, blue, grey), so
    // blocks can run on all cores; the sums do not depend on the order. Plain
    // colour pixels count into two sets of tables by turns: neighbours are
    // often alike, and one set would make each count wait for the last.
    constexpr int32_t kBlock = 32;
    constexpr size_t kTables = 2048;
    const int32_t blocks = std::max(0, (box.y1 - box.y0 + kBlock - 1) / kBlock);
    std::vector<uint64_t> counts(static_cast<size_t>(blocks) * kTables, 0);
    RowRunner::Run(RowProgress{}, 0, blocks, true, [&](int32_t b) {
        uint64_t* count = &counts[static_cast<size_t>(b) * kTables];
        const int32_t yEnd = std::min(box.y1, box.y0 + (b + 1) * kBlock);
        for (int32_t y = box.y0 + b * kBlock; y < yEnd; ++y) {
            const uint8_t* mask = pSelection ? pSelection.get() + static_cast<size_t>(y) * w : nullptr;
            if (wholeBytes && colorSpace == 0) {
                const uint8_t* row = GetBits(static_cast<uint32_t>(y));
                for (int32_t x = box.x0; x < box.x1; ++x) {
                    if (mask && !mask[x]) continue;
                    const uint8_t* p = row + 3 * static_cast<size_t>(x);
                    uint64_t* set = count + (x & 1) * 1024;
                    ++set[p[2]];
                    ++set[256 + p[1]];
                    ++set[512 + p[0]];
                    ++set[768 + GreyOf(p[2], p[1], p[0])];
                }
                continue;
            }
            for (int32_t x = box.x0; x < box.x1; ++x) {
                if (mask && !mask[x]) continue;
                const RGBQUAD c = BlindGetPixelColor(x, y, false);
                const RGBQUAD s = ToSpace(c, colorSpace);
                ++count[s.rgbRed];
                ++count[256 + s.rgbGreen];
                ++count[512 + s.rgbBlue];
                ++count[768 + GreyOf(c)];
            }
        }
    });
    long most = 0;
    for (int channel = 0; channel < 4; ++channel) {
        long* a = arrays[channel];
        if (!a) continue;
        for (size_t b = 0; b < static_cast<size_t>(blocks) * kTables; b += 1024)
            for (int v = 0; v < 256; ++v) a[v] += static_cast<long>(counts[b + channel * 256 + v]);
        most = std::max(most, *std::max_element(a, a + 256));
    }
    return most;
}

namespace {

// Grey-value histogram of every pixel (palette images through their entries).
// Each block of rows counts into its own table, so blocks can run on all cores.
std::vector<uint64_t> GreyHistogram(const Image& img) {
    constexpr int32_t kBlock = 32;
    const auto w = static_cast<int32_t>(img.GetWidth());
    const auto h = static_cast<int32_t>(img.GetHeight());
    const RGBQUAD* pal = img.GetPalette();
    const int32_t blocks = (h + kBlock - 1) / kBlock;
    std::vector<uint64_t> counts(static_cast<size_t>(blocks) * 256, 0);
    RowRunner::Run(RowProgress{}, 0, blocks, true, [&](int32_t b) {
        uint64_t* count = &counts[static_cast<size_t>(b) * 256];
        for (int32_t y = b * kBlock; y < std::min(h, (b + 1) * kBlock); ++y) {
            const uint8_t* row = img.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x) {
                if (pal)
                    ++count[GreyOf(pal[img.BlindGetPixelIndex(x, y)])];
                else
                    ++count[GreyOf(row[3 * x + 2], row[3 * x + 1], row[3 * x])];
            }
        }
    });
    std::vector<uint64_t> total(256, 0);
    for (int32_t b = 0; b < blocks; ++b)
        for (size_t i = 0; i < 256; ++i)
            total[i] += counts[static_cast<size_t>(b) * 256 + i];
    return total;
}

// Largest grey value over the palette entries or every pixel.
int32_t MaxGrey(const Image& img) {
    int32_t m = 0;
    if (const RGBQUAD* pal = img.GetPalette()) {
        for (uint32_t i = 0; i < img.GetNumColors(); ++i)
            m = std::max<int32_t>(m, GreyOf(pal[i]));
        return m;
    }
    const std::vector<uint64_t> h = GreyHistogram(img);
    for (int32_t i = 255; i >= 0; --i)
        if (h[static_cast<size_t>(i)]) return i;
    return 0;
}

// MapLuma for whole images: the same float expressions as the YUV pair,
// taken apart into per-component tables so each pixel costs a few look-ups.
// Every table entry is computed exactly as the direct formula computes it, so
// the results are identical bit for bit.
class LumaMapper {
public:
    explicit LumaMapper(const uint8_t* map) : m_map(map) {
        for (int i = 0; i < 256; ++i) {
            const auto f = static_cast<float>(i);
            m_yr[i] = 0.299f * f;
            m_yg[i] = 0.587f * f;
            m_yb[i] = 0.114f * f;
            m_gu[i] = 0.344f * (f - 128.0f);
            m_gv[i] = 0.714f * (f - 128.0f);
        }
        for (int d = -255; d <= 255; ++d) {
            m_u[d + 255] = colourspace::ClampByte(static_cast<float>(d) * 0.565f + 128.0f);
            m_v[d + 255] = colourspace::ClampByte(static_cast<float>(d) * 0.713f + 128.0f);
        }
        for (int y = 0; y < 256; ++y) {
            for (int c = 0; c < 256; ++c) {
                const auto yf = static_cast<float>(y);
                const float diff = static_cast<float>(c) - 128.0f;
                m_red[y * 256 + c] = colourspace::ClampByte(yf + 1.403f * diff);
                m_blue[y * 256 + c] = colourspace::ClampByte(yf + 1.770f * diff);
            }
        }
    }

    // Maps one B, G, R pixel in place.
    void Apply(uint8_t* p) const {
        const int b = p[0], g = p[1], r = p[2];
        const int y = static_cast<int>(m_yr[r] + m_yg[g] + m_yb[b]);
        const int u = m_u[b - y + 255];
        const int v = m_v[r - y + 255];
        const int ny = m_map[y];
        p[0] = m_blue[ny * 256 + u];
        p[1] = colourspace::ClampByte(static_cast<float>(ny) - m_gu[u] - m_gv[v]);
        p[2] = m_red[ny * 256 + v];
    }

private:
    const uint8_t* m_map;
    float m_yr[256], m_yg[256], m_yb[256], m_gu[256], m_gv[256];
    uint8_t m_u[511], m_v[511];
    uint8_t m_red[256 * 256], m_blue[256 * 256];
};

// Applies map to the luma of every palette entry, or of every pixel.
bool ApplyLumaMap(Image& img, const uint8_t* map, const RowProgress& progress) {
    if (RGBQUAD* pal = img.GetPalette()) {
        for (uint32_t i = 0; i < img.GetNumColors(); ++i) {
            RGBQUAD c = MapLuma(pal[i], map);
            c.rgbReserved = pal[i].rgbReserved;
            img.SetPaletteColor(static_cast<uint8_t>(i), c);
        }
        return true;
    }
    const auto mapper = std::make_unique<LumaMapper>(map);
    const auto w = static_cast<int32_t>(img.GetWidth());
    return RowRunner::Run(progress, 0, static_cast<int32_t>(img.GetHeight()), true, [&](int32_t y) {
        uint8_t* p = img.GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < w; ++x, p += 3) mapper->Apply(p);
    });
}

} // namespace

bool Image::HistogramStretch(int32_t method) {
    if (!pDib) return false;
    const auto w = static_cast<int32_t>(GetWidth());
    const int32_t h = head.biHeight;
    const RowProgress first{this, h, 0, 50};
    const RowProgress second{this, h, 50, 100};
    // lut[i] = (i - low) * 255 / (high - low) inside low..high, clamped outside.
    const auto stretchTable = [](int32_t low, int32_t high, uint8_t* lut) {
        for (int32_t i = 0; i < 256; ++i) {
            if (high == low)
                lut[i] = static_cast<uint8_t>(i);
            else
                lut[i] = ClampByte((std::clamp(i, low, high) - low) * 255 / (high - low));
        }
    };

    if (head.biBitCount == 8 && IsGrayScale()) {
        int32_t low = 255, high = 0;
        for (int32_t y = 0; y < h; ++y) {
            const uint8_t* row = GetBits(static_cast<uint32_t>(y));
            const auto [mn, mx] = std::minmax_element(row, row + w);
            low = std::min<int32_t>(low, *mn);
            high = std::max<int32_t>(high, *mx);
        }
        if (low == 0 && high == 255) return true;
        uint8_t lut[256];
        stretchTable(low, high, lut);
        RowRunner::Run(second, 0, h, true, [&](int32_t y) {
            uint8_t* row = GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x)
                row[x] = lut[row[x]];
        });
        return true;
    }

    if (method == 1 || method == 2) {
        // Channel ranges over every pixel; palette images map their entries.
        int32_t low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
        const RGBQUAD* pal = GetPalette();
        const bool done = RowRunner::Run(first, 0, h, false, [&](int32_t y) {
            for (int32_t x = 0; x < w; ++x) {
                const RGBQUAD c = pal ? pal[BlindGetPixelIndex(x, y)] : BlindGetPixelColor(x, y, false);
                const int32_t v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
                for (int i = 0; i < 3; ++i) {
                    low[i] = std::min(low[i], v[i]);
                    high[i] = std::max(high[i], v[i]);
                }
            }
        });
        if (!done) return false;
        if (method == 1) {
            const int32_t lo = std::min({low[0], low[1], low[2]});
            const int32_t hi = std::max({high[0], high[1], high[2]});
            std::fill(low, low + 3, lo);
            std::fill(high, high + 3, hi);
        }
        if (low[0] == 0 && low[1] == 0 && low[2] == 0 && high[0] == 255 && high[1] == 255 && high[2] == 255)
            return true;
        uint8_t lut[3][256];
        for (int i = 0; i < 3; ++i)
            stretchTable(low[i], high[i], lut[i]);
        if (IsIndexed()) return Lut(lut[2], lut[1], lut[0]);
        RowRunner::Run(second, 0, h, true, [&](int32_t y) {
            uint8_t* p = GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < w; ++x, p += 3) {
                p[0] = lut[0][p[0]];
                p[1] = lut[1][p[1]];
                p[2] = lut[2][p[2]];
            }
        });
        return true;
    }

    // Luminance: the grey range over the palette entries or the pixels.
    int32_t low = 255, high = 0;
    if (const RGBQUAD* pal = GetPalette()) {
        for (uint32_t i = 0; i < head.biClrUsed; ++i) {
            low = std::min<int32_t>(low, GreyOf(pal[i]));
            high = std::max<int32_t>(high, GreyOf(pal[i]));
        }
    } else {
        const std::vector<uint64_t> hist = GreyHistogram(*this);
        for (int32_t i = 0; i < 256; ++i)
            if (hist[static_cast<size_t>(i)]) {
                low = i;
                break;
            }
        for (int32_t i = 255; i >= 0; --i)
            if (hist[static_cast<size_t>(i)]) {
                high = i;
                break;
            }
    }
    if (low >= high) {
        SetLastError("HistogramStretch: the image has a single grey level");
        return false;
    }
    uint8_t map[256];
    for (int32_t y = 0; y < 256; ++y)
        map[y] = ClampByte(static_cast<int64_t>(static_cast<double>(y - low) * 255.0 / (high - low)));
    return ApplyLumaMap(*this, map, second);
}

bool Image::HistogramEqualize() {
    if (!pDib) return false;
    const std::vector<uint64_t> hist = GreyHistogram(*this);
    // A single grey level has nothing to spread.
    if (std::count_if(hist.begin(), hist.end(), [](uint64_t n) { return n != 0; }) < 2) {
        SetLastError("HistogramEqualize: the image has a single grey level");
        return false;
    }
    uint64_t c[256];
    uint64_t run = 0;
    for (int i = 0; i < 256; ++i)
        c[i] = run += hist[static_cast<size_t>(i)];
    uint8_t map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<uint8_t>(static_cast<double>(c[i] - c[0]) * 255.0 /
                                      static_cast<double>(c[255] - c[0]));
    return ApplyLumaMap(*this, map, RowProgress{this, head.biHeight});
}

bool Image::HistogramNormalize() {
    if (!pDib) return false;
    const std::vector<uint64_t> hist = GreyHistogram(*this);
    const auto find = [&](uint64_t t, int32_t& low, int32_t& high) {
        low = 255;
        uint64_t sum = 0;
        for (int32_t i = 0; i < 255; ++i) {
            sum += hist[static_cast<size_t>(i)];
            if (sum > t) {
                low = i;
                break;
            }
        }
        high = 0;
        sum = 0;
        for (int32_t j = 255; j > 0; --j) {
            sum += hist[static_cast<size_t>(j)];
            if (sum > t) {
                high = j;
                break;
            }
        }
    };
    int32_t low = 0, high = 0;
    find(static_cast<uint64_t>(GetWidth()) * GetHeight() / 100, low, high);
    if (low == high) find(0, low, high);
    if (low >= high) {
        SetLastError("HistogramNormalize: the image has a single grey level");
        return false;
    }
    uint8_t map[256];
    for (int32_t k = 0; k < 256; ++k)
        map[k] = k < low ? 0 : k > high ? 255 : static_cast<uint8_t>(254 * (k - low) / (high - low));
    return ApplyLumaMap(*this, map, RowProgress{this, head.biHeight});
}

bool Image::HistogramLog() {
    if (!pDib) return false;
    const double k = 255.0 / std::log(1.0 + std::max(1, MaxGrey(*this)));
    uint8_t map[256];
    for (int y = 0; y < 256; ++y)
        map[y] = ClampByte(static_cast<int64_t>(std::log(1.0 + y) * k));
    return ApplyLumaMap(*this, map, RowProgress{this, head.biHeight});
}

bool Image::HistogramRoot() {
    if (!pDib) return false;
    const double k = 128.0 / std::log(1.0 + std::max(1, MaxGrey(*this)));
    uint8_t map[256];
    for (int y = 0; y < 256; ++y)
        map[y] = ClampByte(static_cast<int64_t>(std::sqrt(static_cast<double>(y)) * k));
    return ApplyLumaMap(*this, map, RowProgress{this, head.biHeight});
}

bool Image::Repair(float radius, int32_t iterations, int32_t colorSpace) {
    if (!pDib) return false;
    const auto w = static_cast<int32_t>(GetWidth());
    const auto h = static_cast<int32_t>(GetHeight());
    const size_t plane = static_cast<size_t>(w) * static_cast<size_t>(h);
    // Three channel planes in the chosen colour space.
    std::vector<uint8_t> ch[3];
    for (auto& c : ch)
        c.resize(plane);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const RGBQUAD s = ToSpace(BlindGetPixelColor(x, y, false), colorSpace);
            const size_t i = static_cast<size_t>(y) * w + x;
            ch[0][i] = s.rgbRed;
            ch[1][i] = s.rgbGreen;
            ch[2][i] = s.rgbBlue;
        }
    // One smoothing step along the level lines of each channel; the outermost
    // rows and columns stay as they are.
    std::vector<uint8_t> prev(plane);
    const int32_t steps = std::max(0, iterations) * 3;
    int32_t step = 0;
    for (int32_t it = 0; it < std::max(0, iterations); ++it) {
        for (auto& c : ch) {
            prev = c;
            const uint8_t* I = prev.data();
            const int32_t lo = static_cast<int32_t>(100LL * step / std::max(steps, 1));
            const int32_t hi = static_cast<int32_t>(100LL * (step + 1) / std::max(steps, 1));
            ++step;
            const bool done = RowRunner::Run(
                RowProgress{this, h, lo, hi}, 1, h - 1, true, [&](int32_t y) {
                    const size_t r = static_cast<size_t>(y) * w;
                    for (int32_t x = 1; x < w - 1; ++x) {
                        const size_t i = r + x;
                        const double v = I[i];
                        const double ix = (I[i + 1] - I[i - 1]) / 2.0;
                        const double iy = (I[i + w] - I[i - w]) / 2.0;
                        const double ixx = I[i + 1] - 2 * v + I[i - 1];
                        const double iyy = I[i + w] - 2 * v + I[i - w];
                        const double ixy = (I[i + w + 1] + I[i - w - 1] - I[i + w - 1] - I[i - w + 1]) / 4.0;
                        const double num = (1 + iy * iy) * ixx - ix * iy * ixy + (1 + ix * ix) * iyy;
                        const double n = v + radius * num / (1 + ix * ix + iy * iy);
                        c[i] = n <= 0 ? 0 : n >= 255 ? 255 : static_cast<uint8_t>(n);
                    }
                });
            if (!done) return false;
        }
    }
    Image out;
    if (!out.CreateLike(*this, GetWidth(), GetHeight(), 24)) return false;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = out.GetBits(static_cast<uint32_t>(y));
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const size_t i = static_cast<size_t>(y) * w + x;
            const RGBQUAD c = FromSpace(RGBQUAD{ch[2][i], ch[1][i], ch[0][i], 0}, colorSpace);
            p[0] = c.rgbBlue;
            p[1] = c.rgbGreen;
            p[2] = c.rgbRed;
        }
    }
    if (info.transIndex >= 0) {
        out.SetTransColor(IsIndexed() ? GetPaletteColor(static_cast<uint8_t>(info.transIndex))
                                      : info.transColor);
        out.SetTransIndex(0);
    }
    if (pSelection) out.SelectionCopy(*this);
    if (pAlpha) out.AlphaCopy(*this);
    Transfer(out);
    return true;
}

} // namespace vimg
