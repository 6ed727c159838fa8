// Neighbourhood filters (convolution, erode, dilate, edge, median, contour,
// jitter) and noise. Window operations read the image, write a copy and move
// the copy back; neighbours outside the image take the out-of-range colour.
#include "Image.h"

#include "NearestColour.h"
#include "PixelLoop.h"
#include "RowRunner.h"
#include "RandomSequence.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>
#include <type_traits>
#include <vector>

namespace vimg {

namespace {

// A window of size k covers the offsets lo..hi in each direction.
struct Window {
    int32_t lo;
    int32_t hi;
    explicit Window(int32_t k) : lo(-(k / 2)), hi(k - k / 2 - 1) {}
};

// Computes one pixel of a window operation from the checked accessors.
using SlowPixel = std::function<RGBQUAD(int32_t x, int32_t y)>;
// Computes the selected 24-bit pixels xFrom..xTo-1 of row y, whose whole
// window lies inside the image, from row pointers into dstRow.
using FastRun =
    std::function<void(int32_t y, int32_t xFrom, int32_t xTo, const uint8_t* maskRow, uint8_t* dstRow)>;

// Splits a size x size kernel into column weights u and row weights v with
// kernel[r * size + c] == u[r] * v[c] for every tap; leaves both empty when
// the kernel is not such a product (or is all zero).
void SplitKernel(const int32_t* kernel, int32_t size, std::vector<int32_t>& u, std::vector<int32_t>& v) {
    u.clear();
    v.clear();
    const auto n = static_cast<size_t>(size);
    size_t r0 = 0, c0 = 0;
    while (r0 < n * n && kernel[r0] == 0) ++r0;
    if (r0 == n * n) return;
    c0 = r0 % n;
    r0 /= n;
    // v: the first non-zero row divided by the greatest common divisor of its entries.
    int64_t g = 0;
    for (size_t c = 0; c < n; ++c) g = std::gcd(g, static_cast<int64_t>(kernel[r0 * n + c]));
    std::vector<int64_t> row(n), column(n);
    for (size_t c = 0; c < n; ++c) row[c] = kernel[r0 * n + c] / g;
    for (size_t r = 0; r < n; ++r) {
        if (kernel[r * n + c0] % row[c0] != 0) return;
        column[r] = kernel[r * n + c0] / row[c0];
    }
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < n; ++c)
            if (column[r] * row[c] != kernel[r * n + c]) return;
    u.assign(column.begin(), column.end());
    v.assign(row.begin(), row.end());
}

// One row of a window operation on a 24-bit image, into `dst` (which holds
// the row's original bytes): interior runs go to `fast`, every other selected
// pixel of the working box to `slow`.
void WindowRow24(const Image& image, int32_t y, const Window& win, const PixelBox& box, int32_t xi0,
                 int32_t xi1, const SlowPixel& slow, const FastRun& fast, uint8_t* dst) {
    const auto h = static_cast<int32_t>(image.GetHeight());
    const uint8_t* mask = image.SelectionGetPointer(0, 0);
    const auto slowRange = [&](int32_t from, int32_t to) {
        for (int32_t x = from; x < to; ++x) {
            if (!image.SelectionIsInside(x, y)) continue;
            const RGBQUAD c = slow(x, y);
            uint8_t* p = dst + static_cast<size_t>(x) * 3;
            p[0] = c.rgbBlue;
            p[1] = c.rgbGreen;
            p[2] = c.rgbRed;
        }
    };
    if (y + win.lo >= 0 && y + win.hi < h && xi0 < xi1) {
        slowRange(box.x0, xi0);
        fast(y, xi0, xi1, mask ? mask + static_cast<size_t>(y) * image.GetWidth() : nullptr, dst);
        slowRange(xi1, box.x1);
    } else {
        slowRange(box.x0, box.x1);
    }
}

// 24-bit images are filtered in place, band by band, so the operation needs
// no second picture. A band sweeps up its rows and writes a result back once
// no later row of the band reads that row's original; its first `hi` and last
// `-lo` rows, which the neighbouring bands read, are written when every band
// has finished, and so is row 0, whose first pixel stands for every neighbour
// outside the image. So slow pixels see originals too.
void RunWindowOpInPlace(Image& image, const Window& win, const RowProgress& progress, const PixelBox& box,
                        int32_t xi0, int32_t xi1, const SlowPixel& slow, const FastRun& fast) {
    const int32_t k = win.hi - win.lo + 1;
    const int32_t rows = box.y1 - box.y0;
    // At least k rows a band keeps every band's reads within its neighbours.
    const int32_t bandRows = std::max((rows + 63) / 64, k);
    const int32_t bands = (rows + bandRows - 1) / bandRows;
    const size_t rowBytes = image.GetEffWidth();
    const auto lag = static_cast<size_t>(-win.lo);
    struct Held {
        int32_t y;
        std::vector<uint8_t> bytes;
    };
    std::vector<std::vector<Held>> held(static_cast<size_t>(bands));
    const RowProgress bandProgress{progress.image, bands, progress.lo, progress.hi};
    RowRunner::Run(bandProgress, 0, bands, true, [&](int32_t band) {
        const int32_t b0 = box.y0 + band * bandRows, b1 = std::min(b0 + bandRows, box.y1);
        std::vector<std::vector<uint8_t>> ring(lag + 1, std::vector<uint8_t>(rowBytes));
        std::vector<Held>& keep = held[static_cast<size_t>(band)];
        const auto release = [&](int32_t r) {
            std::vector<uint8_t>& result = ring[static_cast<size_t>(r - b0) % ring.size()];
            // Row 0 too: neighbours outside the image read pixel (0, 0).
            if (r < b0 + win.hi || r >= b1 + win.lo || r == 0)
                keep.push_back(Held{r, result});
            else
                std::copy(result.begin(), result.end(), image.GetBits(static_cast<uint32_t>(r)));
        };
        for (int32_t y = b0; y < b1; ++y) {
            std::vector<uint8_t>& result = ring[static_cast<size_t>(y - b0) % ring.size()];
            const uint8_t* original = image.GetBits(static_cast<uint32_t>(y));
            std::copy(original, original + rowBytes, result.begin());
            WindowRow24(image, y, win, box, xi0, xi1, slow, fast, result.data());
            // Row y - lag is read by no row after y.
            if (y + win.lo >= b0) release(y + win.lo);
        }
        for (int32_t r = std::max(b0, b1 + win.lo); r < b1; ++r) release(r);
    });
    for (const std::vector<Held>& band : held)
        for (const Held& row : band)
            std::copy(row.bytes.begin(), row.bytes.end(), image.GetBits(static_cast<uint32_t>(row.y)));
}

// The frame shared by the window operations: working region and mask, row
// loop. Interior runs of 24-bit rows go to `fast`, every other pixel to
// `slow`. Palette images are read from the image and written to a copy.
bool RunWindowOp(Image& image, int32_t k, const RowProgress& progress, const SlowPixel& slow,
                 const FastRun& fast) {
    if (!image.IsValid() || k < 1) return false;
    const Window win(k);
    const PixelBox box = WorkingBox(image);
    const auto w = static_cast<int32_t>(image.GetWidth());
    const int32_t xi0 = std::max(box.x0, -win.lo);
    const int32_t xi1 = std::min(box.x1, w - win.hi);
    if (image.GetBpp() == 24) {
        RunWindowOpInPlace(image, win, progress, box, xi0, xi1, slow, fast);
        return true;
    }

    Image tmp(image);
    if (!tmp.IsValid()) return false;
    // Palette images store the nearest entry, found as SetPixelColor would
    // but without its one-colour cache, so rows can run on several threads.
    std::optional<NearestColour> nearest;
    if (image.IsIndexed()) {
        const uint32_t n = tmp.GetClrImportant() ? tmp.GetClrImportant() : tmp.GetNumColors();
        nearest.emplace(tmp.GetPalette(), std::min(n, tmp.GetNumColors()));
    }
    const auto row = [&](int32_t y) {
        for (int32_t x = box.x0; x < box.x1; ++x) {
            if (!image.SelectionIsInside(x, y)) continue;
            const RGBQUAD c = slow(x, y);
            if (nearest)
                tmp.BlindSetPixelIndex(x, y, nearest->Find(c.rgbRed, c.rgbGreen, c.rgbBlue));
            else
                tmp.SetPixelColor(x, y, c);
        }
    };
    RowRunner::Run(progress, box.y0, box.y1, true, row);
    image.Transfer(tmp);
    return true;
}

// Per-channel minimum, maximum, or 255 - (maximum - minimum) over the window.
enum class Morph { Min, Max, Edge };

RGBQUAD MorphPixel(const Image& img, int32_t x, int32_t y, const Window& win, Morph op) {
    int mn[3] = {255, 255, 255}, mx[3] = {0, 0, 0};
    for (int32_t dy = win.lo; dy <= win.hi; ++dy)
        for (int32_t dx = win.lo; dx <= win.hi; ++dx) {
            const RGBQUAD c = img.GetPixelColor(x + dx, y + dy, false);
            const int v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
            for (int i = 0; i < 3; ++i) {
                mn[i] = std::min(mn[i], v[i]);
                mx[i] = std::max(mx[i], v[i]);
            }
        }
    int r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = op == Morph::Min ? mn[i] : op == Morph::Max ? mx[i] : 255 - (mx[i] - mn[i]);
    return RGBQUAD{static_cast<uint8_t>(r[0]), static_cast<uint8_t>(r[1]), static_cast<uint8_t>(r[2]), 0};
}

bool RunMorph(Image& image, int32_t k, Morph op, const RowProgress& progress) {
    if (k < 1) return false;
    const Window win(k);
    const auto slow = [&](int32_t x, int32_t y) { return MorphPixel(image, x, y, win, op); };
    // Column extremes over the window rows, then row extremes over the columns.
    const auto fast = [&](int32_t y, int32_t xFrom, int32_t xTo, const uint8_t* maskRow, uint8_t* dst) {
        const size_t b0 = static_cast<size_t>(xFrom + win.lo) * 3;
        const size_t n = static_cast<size_t>(xTo - xFrom + k - 1) * 3;
        std::vector<uint8_t> vmin(n), vmax(n);
        const uint8_t* first = image.GetBits(static_cast<uint32_t>(y + win.lo)) + b0;
        std::copy(first, first + n, vmin.begin());
        std::copy(first, first + n, vmax.begin());
        for (int32_t dy = win.lo + 1; dy <= win.hi; ++dy) {
            const uint8_t* s = image.GetBits(static_cast<uint32_t>(y + dy)) + b0;
            uint8_t* a = vmin.data();
            uint8_t* b = vmax.data();
            for (size_t i = 0; i < n; ++i) {
                a[i] = std::min(a[i], s[i]);
                b[i] = std::max(b[i], s[i]);
            }
        }
        for (int32_t x = xFrom; x < xTo; ++x) {
            if (maskRow && !maskRow[x]) continue;
            const size_t base = static_cast<size_t>(x - xFrom) * 3;
            for (size_t c = 0; c < 3; ++c) {
                uint8_t lo = 255, hi = 0;
                for (int32_t j = 0; j < k; ++j) {
                    lo = std::min(lo, vmin[base + static_cast<size_t>(j) * 3 + c]);
                    hi = std::max(hi, vmax[base + static_cast<size_t>(j) * 3 + c]);
                }
                dst[static_cast<size_t>(x) * 3 + c] = op == Morph::Min ? lo
                                                      : op == Morph::Max
                                                          ? hi
                                                          : static_cast<uint8_t>(255 - (hi - lo));
            }
        }
    };
    return RunWindowOp(image, k, progress, slow, fast);
}

// Grey values of `count` 24-bit pixels.
void GreyRow(const uint8_t* bgr, size_t count, uint8_t* grey) {
    for (size_t i = 0; i < count; ++i) grey[i] = GreyOf(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
}

// For each of `count` pixels, the window position (0..8, rows of `grey` from
// the first) of the middle of its nine keys grey << 4 | position. A fixed
// network of 19 compare-exchanges with no branches, so the loop vectorises.
void Median3x3Keys(const uint8_t* grey, size_t stride, size_t count, uint16_t* middle) {
    const uint8_t* g0 = grey;
    const uint8_t* g1 = grey + stride;
    const uint8_t* g2 = grey + 2 * stride;
    for (size_t i = 0; i < count; ++i) {
        int16_t p[9] = {
            static_cast<int16_t>(g0[i] << 4 | 0), static_cast<int16_t>(g0[i + 1] << 4 | 1),
            static_cast<int16_t>(g0[i + 2] << 4 | 2), static_cast<int16_t>(g1[i] << 4 | 3),
            static_cast<int16_t>(g1[i + 1] << 4 | 4), static_cast<int16_t>(g1[i + 2] << 4 | 5),
            static_cast<int16_t>(g2[i] << 4 | 6), static_cast<int16_t>(g2[i + 1] << 4 | 7),
            static_cast<int16_t>(g2[i + 2] << 4 | 8)};
        const auto sort = [&p](int a, int b) {
            const int16_t lo = std::min(p[a], p[b]);
            p[b] = std::max(p[a], p[b]);
            p[a] = lo;
        };
        sort(1, 2), sort(4, 5), sort(7, 8), sort(0, 1), sort(3, 4), sort(6, 7);
        sort(1, 2), sort(4, 5), sort(7, 8), sort(0, 3), sort(5, 8), sort(4, 7);
        sort(3, 6), sort(1, 4), sort(2, 5), sort(4, 7), sort(4, 2), sort(6, 4);
        sort(4, 2);
        middle[i] = static_cast<uint16_t>(p[4] & 15);
    }
}

} // namespace

bool Image::Filter(const int32_t* kernel, int32_t size, int32_t divisor, int32_t offset) {
    if (!pDib || !kernel || size < 1) return false;
    const Window win(size);
    const auto w = static_cast<int32_t>(GetWidth());
    const auto h = static_cast<int32_t>(GetHeight());

    if (head.biBitCount == 8 && IsGrayScale()) {
        // Grey images: indexes are grey levels; pixels whose window leaves the
        // image keep their value.
        Image tmp(*this);
        if (!tmp.IsValid()) return false;
        if (divisor == 0) divisor = 1;
        const PixelBox box = WorkingBox(*this);
        const int32_t x0 = std::max(box.x0, -win.lo), x1 = std::min(box.x1, w - win.hi);
        const auto row = [&](int32_t y) {
            if (y + win.lo < 0 || y + win.hi >= h) return;
            uint8_t* dst = tmp.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = x0; x < x1; ++x) {
                if (pSelection && !pSelection.get()[static_cast<size_t>(y) * w + x]) continue;
                int64_t sum = 0;
                const int32_t* kw = kernel;
                for (int32_t dy = win.lo; dy <= win.hi; ++dy) {
                    const uint8_t* src = GetBits(static_cast<uint32_t>(y + dy)) + x + win.lo;
                    for (int32_t j = 0; j < size; ++j)
                        sum += static_cast<int64_t>(*kw++) * src[j];
                }
                dst[x] = ClampByte(offset + sum / divisor);
            }
        };
        RowRunner::Run(RowProgress{this, h}, box.y0, box.y1, true, row);
        Transfer(tmp);
        return true;
    }

    const auto finish = [divisor, offset](int64_t sum) {
        return ClampByte(divisor != 0 ? offset + sum / divisor : offset + sum);
    };
    const auto slow = [&](int32_t x, int32_t y) {
        int64_t sum[3] = {0, 0, 0};
        for (int32_t dy = win.lo; dy <= win.hi; ++dy)
            for (int32_t dx = win.lo; dx <= win.hi; ++dx) {
                const int64_t kw = kernel[(dx - win.lo) + size * (dy - win.lo)];
                const RGBQUAD c = GetPixelColor(x + dx, y + dy, false);
                sum[0] += kw * c.rgbBlue;
                sum[1] += kw * c.rgbGreen;
                sum[2] += kw * c.rgbRed;
            }
        return RGBQUAD{finish(sum[0]), finish(sum[1]), finish(sum[2]), 0};
    };

    // Row sums over the non-zero taps; 32-bit accumulators when no sum can
    // overflow them, and then a division and clamp that vectorise.
    struct Tap {
        int32_t dx, dy, weight;
    };
    std::vector<Tap> taps;
    int64_t weightSum = 0;
    for (int32_t dy = win.lo; dy <= win.hi; ++dy)
        for (int32_t dx = win.lo; dx <= win.hi; ++dx) {
            const int32_t kw = kernel[(dx - win.lo) + size * (dy - win.lo)];
            if (kw == 0) continue;
            taps.push_back(Tap{dx, dy, kw});
            weightSum += std::abs(static_cast<int64_t>(kw));
        }
    const bool narrow = weightSum * 255 <= std::numeric_limits<int32_t>::max();
    const bool smallOffset = offset >= -(1 << 24) && offset <= (1 << 24);
    // When every possible sum lies in a range of at most 65536 values, the
    // sums are taken modulo 2^16 (16-bit lanes, twice as many a step) and a
    // table holds the result byte of each sum in the range.
    int64_t lowestSum = 0;
    for (const Tap& t : taps) lowestSum += 255 * std::min<int64_t>(t.weight, 0);
    std::vector<uint8_t> bySum;
    if (weightSum * 255 < 65536) {
        bySum.resize(static_cast<size_t>(weightSum * 255 + 1));
        for (size_t i = 0; i < bySum.size(); ++i) bySum[i] = finish(lowestSum + static_cast<int64_t>(i));
    }
    // A kernel that is the product of a column and a row of integers (box,
    // binomial) is applied as a sum over rows, then over columns: with sums
    // taken modulo 2^16 the two give exactly the sums of the full window.
    std::vector<int32_t> columnWeights, rowWeights;
    if (!bySum.empty()) SplitKernel(kernel, size, columnWeights, rowWeights);
    const auto fast = [&](int32_t y, int32_t xFrom, int32_t xTo, const uint8_t* maskRow, uint8_t* dst) {
        const size_t n = static_cast<size_t>(xTo - xFrom) * 3;
        std::vector<uint8_t> result(n);
        const auto accumulate = [&](auto* a) {
            using Acc = std::remove_pointer_t<decltype(a)>;
            std::fill(a, a + n, Acc{0});
            for (const Tap& t : taps) {
                const uint8_t* s =
                    GetBits(static_cast<uint32_t>(y + t.dy)) + static_cast<size_t>(xFrom + t.dx) * 3;
                const Acc kw = t.weight;
                for (size_t i = 0; i < n; ++i)
                    a[i] += kw * static_cast<Acc>(s[i]);
            }
        };
        if (!bySum.empty() && !rowWeights.empty()) {
            // Column sums for every pixel the row's windows cover, then row sums of those.
            const size_t spread = static_cast<size_t>(size - 1) * 3;
            std::vector<uint16_t> columns(n + spread, 0), acc(n, 0);
            uint16_t* c = columns.data();
            for (int32_t dy = win.lo; dy <= win.hi; ++dy) {
                const auto kw = static_cast<uint16_t>(columnWeights[static_cast<size_t>(dy - win.lo)]);
                if (kw == 0) continue;
                const uint8_t* s =
                    GetBits(static_cast<uint32_t>(y + dy)) + static_cast<size_t>(xFrom + win.lo) * 3;
                for (size_t i = 0; i < n + spread; ++i) c[i] = static_cast<uint16_t>(c[i] + kw * s[i]);
            }
            uint16_t* a = acc.data();
            for (int32_t j = 0; j < size; ++j) {
                const auto kw = static_cast<uint16_t>(rowWeights[static_cast<size_t>(j)]);
                if (kw == 0) continue;
                const uint16_t* cj = c + static_cast<size_t>(j) * 3;
                for (size_t i = 0; i < n; ++i) a[i] = static_cast<uint16_t>(a[i] + uint32_t{kw} * cj[i]);
            }
            const auto base = static_cast<uint16_t>(lowestSum);
            for (size_t i = 0; i < n; ++i) result[i] = bySum[static_cast<uint16_t>(a[i] - base)];
        } else if (!bySum.empty()) {
            std::vector<uint16_t> acc(n);
            uint16_t* a = acc.data();
            std::fill(a, a + n, uint16_t{0});
            for (const Tap& t : taps) {
                const uint8_t* s =
                    GetBits(static_cast<uint32_t>(y + t.dy)) + static_cast<size_t>(xFrom + t.dx) * 3;
                const auto kw = static_cast<uint16_t>(t.weight);
                for (size_t i = 0; i < n; ++i) a[i] = static_cast<uint16_t>(a[i] + kw * s[i]);
            }
            const auto base = static_cast<uint16_t>(lowestSum);
            for (size_t i = 0; i < n; ++i) result[i] = bySum[static_cast<uint16_t>(a[i] - base)];
        } else if (narrow && smallOffset) {
            std::vector<int32_t> acc(n);
            int32_t* a = acc.data();
            accumulate(a);
            // offset + quotient clamped to 0..255 is the quotient clamped to
            // -offset..255-offset, plus offset: all in 32 bits.
            const int32_t lo = -offset, hi = 255 - offset;
            uint8_t* r = result.data();
            if (divisor == 0 || divisor == 1) {
                for (size_t i = 0; i < n; ++i) r[i] = static_cast<uint8_t>(std::clamp(a[i], lo, hi) + offset);
            } else {
                // For 32-bit operands the correctly rounded double quotient never
                // crosses an integer, so truncating it gives the integer quotient.
                const double d = divisor;
                for (size_t i = 0; i < n; ++i) {
                    const auto q = static_cast<int32_t>(static_cast<double>(a[i]) / d);
                    r[i] = static_cast<uint8_t>(std::clamp(q, lo, hi) + offset);
                }
            }
        } else if (narrow) {
            std::vector<int32_t> acc(n);
            accumulate(acc.data());
            for (size_t i = 0; i < n; ++i) result[i] = finish(acc[i]);
        } else {
            std::vector<int64_t> acc(n);
            accumulate(acc.data());
            for (size_t i = 0; i < n; ++i) result[i] = finish(acc[i]);
        }
        uint8_t* out = dst + static_cast<size_t>(xFrom) * 3;
        if (!maskRow) {
            std::copy(result.begin(), result.end(), out);
            return;
        }
        for (int32_t x = xFrom; x < xTo; ++x) {
            const size_t i = static_cast<size_t>(x - xFrom) * 3;
            if (!maskRow[x]) continue;
            out[i] = result[i];
            out[i + 1] = result[i + 1];
            out[i + 2] = result[i + 2];
        }
    };
    return RunWindowOp(*this, size, RowProgress{this, head.biHeight}, slow, fast);
}

bool Image::Erode(int32_t size) {
    return RunMorph(*this, size, Morph::Min, RowProgress{this, head.biHeight});
}

bool Image::Dilate(int32_t size) {
    return RunMorph(*this, size, Morph::Max, RowProgress{this, head.biHeight});
}

bool Image::Edge(int32_t size) {
    return RunMorph(*this, size, Morph::Edge, RowProgress{this, head.biHeight});
}

bool Image::Median(int32_t size) {
    if (size < 1) return false;
    const Window win(size);
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    // Equal grey values keep their window order (rows from the lowest, left to right).
    const auto slow = [&](int32_t x, int32_t y) {
        std::vector<RGBQUAD> cells;
        cells.reserve(count);
        for (int32_t dy = win.lo; dy <= win.hi; ++dy)
            for (int32_t dx = win.lo; dx <= win.hi; ++dx)
                cells.push_back(GetPixelColor(x + dx, y + dy, false));
        std::stable_sort(cells.begin(), cells.end(),
                         [](const RGBQUAD& a, const RGBQUAD& b) { return GreyOf(a) < GreyOf(b); });
        return cells[count / 2];
    };
    // Keys grey << 16 | window position are unique and sort like the stable
    // order; the key in the middle names the pixel to copy.
    const auto fast = [&](int32_t y, int32_t xFrom, int32_t xTo, const uint8_t* maskRow, uint8_t* dst) {
        const auto m = static_cast<size_t>(xTo - xFrom);
        const size_t span = m + static_cast<size_t>(size) - 1;
        std::vector<const uint8_t*> rows;
        std::vector<uint8_t> greys(span * static_cast<size_t>(size));
        for (int32_t dy = win.lo; dy <= win.hi; ++dy) {
            const uint8_t* r = GetBits(static_cast<uint32_t>(y + dy));
            rows.push_back(r);
            GreyRow(r + static_cast<size_t>(xFrom + win.lo) * 3, span,
                    greys.data() + static_cast<size_t>(dy - win.lo) * span);
        }
        std::vector<uint16_t> middle(m);
        if (size == 3) {
            Median3x3Keys(greys.data(), span, m, middle.data());
        } else {
            std::vector<uint32_t> keys(count);
            for (size_t i = 0; i < m; ++i) {
                size_t n = 0;
                for (size_t r = 0; r < static_cast<size_t>(size); ++r)
                    for (size_t j = 0; j < static_cast<size_t>(size); ++j, ++n)
                        keys[n] =
                            static_cast<uint32_t>(greys[r * span + i + j]) << 16 | static_cast<uint32_t>(n);
                std::nth_element(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(count / 2),
                                 keys.end());
                middle[i] = static_cast<uint16_t>(keys[count / 2] & 0xFFFFu);
            }
        }
        for (size_t i = 0; i < m; ++i) {
            const auto x = static_cast<int32_t>(xFrom + static_cast<int32_t>(i));
            if (maskRow && !maskRow[x]) continue;
            const int32_t pos = middle[i];
            const uint8_t* p =
                rows[static_cast<size_t>(pos / size)] + static_cast<size_t>(x + win.lo + pos % size) * 3;
            uint8_t* d = dst + static_cast<size_t>(x) * 3;
            d[0] = p[0];
            d[1] = p[1];
            d[2] = p[2];
        }
    };
    return RunWindowOp(*this, size, RowProgress{this, head.biHeight}, slow, fast);
}

bool Image::Contour() {
    // Per channel m starts at 0 and takes the neighbour's value whenever the
    // neighbour exceeds the centre by more than m; the channel becomes 255 - m.
    const auto contour = [](const int centre[3], const auto& neighbour) {
        int m[3] = {0, 0, 0};
        for (int32_t dx = -1; dx <= 1; ++dx)
            for (int32_t dy = -1; dy <= 1; ++dy) {
                const RGBQUAD c = neighbour(dx, dy);
                const int v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
                for (int i = 0; i < 3; ++i)
                    if (v[i] - centre[i] > m[i]) m[i] = v[i];
            }
        return RGBQUAD{static_cast<uint8_t>(255 - m[0]), static_cast<uint8_t>(255 - m[1]),
                       static_cast<uint8_t>(255 - m[2]), 0};
    };
    const auto slow = [&](int32_t x, int32_t y) {
        const RGBQUAD c = GetPixelColor(x, y, false);
        const int centre[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
        return contour(centre, [&](int32_t dx, int32_t dy) { return GetPixelColor(x + dx, y + dy, false); });
    };
    const auto fast = [&](int32_t y, int32_t xFrom, int32_t xTo, const uint8_t* maskRow, uint8_t* dst) {
        const uint8_t* rows[3] = {GetBits(static_cast<uint32_t>(y - 1)), GetBits(static_cast<uint32_t>(y)),
                                  GetBits(static_cast<uint32_t>(y + 1))};
        for (int32_t x = xFrom; x < xTo; ++x) {
            if (maskRow && !maskRow[x]) continue;
            const uint8_t* p = rows[1] + static_cast<size_t>(x) * 3;
            const int centre[3] = {p[0], p[1], p[2]};
            const RGBQUAD r = contour(centre, [&](int32_t dx, int32_t dy) {
                const uint8_t* q = rows[dy + 1] + static_cast<size_t>(x + dx) * 3;
                return RGBQUAD{q[0], q[1], q[2], 0};
            });
            uint8_t* d = dst + static_cast<size_t>(x) * 3;
            d[0] = r.rgbBlue;
            d[1] = r.rgbGreen;
            d[2] = r.rgbRed;
        }
    };
    return RunWindowOp(*this, 3, RowProgress{this, head.biHeight}, slow, fast);
}

bool Image::Jitter(int32_t radius, uint64_t seed) {
    if (!pDib) return false;
    Image tmp(*this);
    if (!tmp.IsValid()) return false;
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const auto h = static_cast<int32_t>(GetHeight());
    const bool indexed = IsIndexed();
    uint8_t* tmpAlpha = tmp.AlphaGetPointer(0, 0);
    // Each row draws from its own sequence and writes only its own bytes of tmp.
    const auto row = [&](int32_t y) {
        RandomSequence random(seed, static_cast<uint64_t>(y));
        for (int32_t x = box.x0; x < box.x1; ++x) {
            if (pSelection && !pSelection.get()[static_cast<size_t>(y) * w + x]) continue;
            const auto dx = static_cast<int32_t>((random.Unit() - 0.5) * 2 * radius);
            const auto dy = static_cast<int32_t>((random.Unit() - 0.5) * 2 * radius);
            int32_t sx = x + dx, sy = y + dy;
            if (!IsInside(sx, sy)) {
                sx = x;
                sy = y;
            }
            if (indexed) {
                tmp.BlindSetPixelIndex(x, y, BlindGetPixelIndex(sx, sy));
            } else {
                const uint8_t* s = BlindGetPixelPointer(sx, sy);
                uint8_t* d = tmp.BlindGetPixelPointer(x, y);
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
            if (pAlpha && tmpAlpha) tmpAlpha[static_cast<size_t>(y) * w + x] = BlindAlphaGet(sx, sy);
        }
    };
    RowRunner::Run(RowProgress{this, h}, box.y0, box.y1, true, row);
    Transfer(tmp);
    return true;
}

bool Image::Noise(int32_t level, uint64_t seed) {
    if (!pDib) return false;
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const auto h = static_cast<int32_t>(GetHeight());
    const auto row = [&](int32_t y) {
        RandomSequence random(seed, static_cast<uint64_t>(y));
        const auto shift = [&](uint8_t v) {
            return ClampByte(v + static_cast<int32_t>((random.Unit() - 0.5) * level));
        };
        for (int32_t x = box.x0; x < box.x1; ++x) {
            if (pSelection && !pSelection.get()[static_cast<size_t>(y) * w + x]) continue;
            if (IsIndexed()) {
                RGBQUAD c = BlindGetPixelColor(x, y, false);
                c.rgbRed = shift(c.rgbRed);
                c.rgbGreen = shift(c.rgbGreen);
                c.rgbBlue = shift(c.rgbBlue);
                SetPixelColor(x, y, c);
            } else {
                uint8_t* p = BlindGetPixelPointer(x, y);
                p[2] = shift(p[2]);
                p[1] = shift(p[1]);
                p[0] = shift(p[0]);
            }
        }
    };
    // Palette images store through the shared nearest-colour cache: one thread.
    RowRunner::Run(RowProgress{this, h}, box.y0, box.y1, !IsIndexed(), row, false);
    return true;
}

} // namespace vimg

namespace vimg {

namespace {

// Normalised Gaussian weights for offsets -half..half, sigma = radius.
std::vector<double> GaussianWeights(float radius, int32_t& half) {
    half = std::max(1, static_cast<int32_t>(std::ceil(3.0 * radius)));
    std::vector<double> w(static_cast<size_t>(2 * half + 1));
    double sum = 0;
    for (int32_t i = -half; i <= half; ++i)
        sum += w[static_cast<size_t>(i + half)] = std::exp(-(i * i) / (2.0 * radius * radius));
    for (double& v : w)
        v /= sum;
    return w;
}

} // namespace

// The blur repeats the edge pixels beyond the border. Per pixel it is the
// vertical weighted sum, lowest row first, of the horizontal weighted sums
// of each window row.
bool Image::UnsharpMask(float radius, float amount, int32_t threshold) {
    if (!pDib) return false;
    if (!(radius > 0.0f) || radius > 100.0f) {
        SetLastError("UnsharpMask: the radius must lie in 0..100");
        return false;
    }
    Image tmp(*this);
    if (!tmp.IsValid()) return false;
    int32_t half = 0;
    const std::vector<double> weight = GaussianWeights(radius, half);
    const PixelBox box = WorkingBox(*this);
    const auto w = static_cast<int32_t>(GetWidth());
    const int32_t h = head.biHeight;
    // Horizontal sums of one source row, three channels per pixel.
    const auto rowSums = [&](int32_t y, std::vector<double>& out) {
        out.assign(static_cast<size_t>(w) * 3, 0.0);
        for (int32_t x = 0; x < w; ++x)
            for (int32_t i = -half; i <= half; ++i) {
                const RGBQUAD c = BlindGetPixelColor(std::clamp(x + i, 0, w - 1), y, false);
                const double k = weight[static_cast<size_t>(i + half)];
                out[static_cast<size_t>(x) * 3] += k * c.rgbBlue;
                out[static_cast<size_t>(x) * 3 + 1] += k * c.rgbGreen;
                out[static_cast<size_t>(x) * 3 + 2] += k * c.rgbRed;
            }
    };
    // Horizontal sums of the window rows y - half .. y + half, kept in a ring
    // indexed by the (unclamped) row number.
    const auto span = static_cast<size_t>(2 * half + 1);
    std::vector<std::vector<double>> ring(span);
    const auto slot = [&](int32_t row) { return static_cast<size_t>(row - (box.y0 - half)) % span; };
    int32_t loaded = box.y0 - half;
    const auto sharpen = [&](int32_t y) {
        for (; loaded <= y + half; ++loaded)
            rowSums(std::clamp(loaded, 0, h - 1), ring[slot(loaded)]);
        std::vector<double> blur(static_cast<size_t>(w) * 3, 0.0);
        for (int32_t j = -half; j <= half; ++j) {
            const std::vector<double>& s = ring[slot(y + j)];
            const double k = weight[static_cast<size_t>(j + half)];
            for (int32_t i = box.x0 * 3; i < box.x1 * 3; ++i)
                blur[static_cast<size_t>(i)] += k * s[static_cast<size_t>(i)];
        }
        for (int32_t x = box.x0; x < box.x1; ++x) {
            if (pSelection && !pSelection.get()[static_cast<size_t>(y) * w + x]) continue;
            const RGBQUAD c = BlindGetPixelColor(x, y, false);
            const uint8_t v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
            uint8_t r[3];
            for (size_t ch = 0; ch < 3; ++ch) {
                const double d = v[ch] - blur[static_cast<size_t>(x) * 3 + ch];
                r[ch] = std::abs(d) >= threshold
                            ? ClampByte(static_cast<int64_t>(std::lround(v[ch] + amount * d)))
                            : v[ch];
            }
            tmp.SetPixelColor(x, y, RGBQUAD{r[0], r[1], r[2], 0});
        }
    };
    RowRunner::Run(RowProgress{this, h}, box.y0, box.y1, false, sharpen);
    Transfer(tmp);
    return true;
}

} // namespace vimg
