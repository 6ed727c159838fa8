// Resizing: the fast Resample used for previews, the quality Resample2 built on
// the samplers, the block-averaging QIShrink, and thumbnails.
#include "Image.h"

#include "PixelMath.h"
#include "RowRunner.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace vimg {

using namespace pixelmath;

namespace {

// Source pixels covering one destination pixel along an axis, with their
// coverage in thousandths.
struct Coverage {
    int32_t first = 0;
    std::vector<uint32_t> weights;
};

// Destination pixel d covers the source interval d * scale .. (d + 1) * scale.
std::vector<Coverage> AreaCoverage(int32_t destSize, int32_t srcSize, float scale) {
    std::vector<Coverage> result(static_cast<size_t>(destSize));
    for (int32_t d = 0; d < destSize; ++d) {
        const double lo = static_cast<double>(d) * scale;
        const double hi = std::min(static_cast<double>(d + 1) * scale, static_cast<double>(srcSize));
        Coverage& c = result[static_cast<size_t>(d)];
        c.first = static_cast<int32_t>(std::floor(lo));
        const auto last = std::min(srcSize - 1, static_cast<int32_t>(std::ceil(hi)) - 1);
        for (int32_t i = c.first; i <= last; ++i) {
            const double cover = std::min(hi, i + 1.0) - std::max(lo, static_cast<double>(i));
            c.weights.push_back(static_cast<uint32_t>(std::lround(cover * 1000.0)));
        }
    }
    return result;
}

void PutColour(Image& img, uint8_t* row, int32_t x, int32_t y, RGBQUAD c) {
    if (img.IsIndexed()) {
        img.BlindSetPixelIndex(x, y, img.GetNearestIndex(c));
    } else {
        row[3 * x] = c.rgbBlue;
        row[3 * x + 1] = c.rgbGreen;
        row[3 * x + 2] = c.rgbRed;
    }
}

// The four cubic B-spline taps around position `f` on one axis: their weights
// and their indexes, clamped to 0 .. last.
void BSplineTaps(float f, int32_t last, float (&weights)[4], int32_t (&indexes)[4]) {
    const int32_t i0 = FloorToInt(f);
    for (int k = 0; k < 4; ++k) {
        weights[k] = Image::KernelBSpline(f - static_cast<float>(i0 - 1 + k));
        indexes[k] = std::clamp(i0 - 1 + k, 0, last);
    }
}

// The outcome of a resize that has nothing to compute: false without a picture
// or size, true when the size stays (dest, if given, gets a copy); else none.
std::optional<bool> EarlyResize(const Image& img, int32_t newWidth, int32_t newHeight, Image* dest) {
    if (!img.IsValid() || newWidth <= 0 || newHeight <= 0) return false;
    if (img.GetWidth() != static_cast<uint32_t>(newWidth) ||
        img.GetHeight() != static_cast<uint32_t>(newHeight))
        return std::nullopt;
    if (dest) dest->Copy(img);
    return true;
}

} // namespace

bool Image::Resample(int32_t newWidth, int32_t newHeight, int mode, Image* dest) {
    if (const auto early = EarlyResize(*this, newWidth, newHeight, dest)) return *early;
    const int32_t w = head.biWidth, h = head.biHeight;
    const float xScale = static_cast<float>(w) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(h) / static_cast<float>(newHeight);
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(newWidth), static_cast<uint32_t>(newHeight)))
        return Fail(tmp.GetLastError());

    // Nearest source column and row of every destination pixel (also used for alpha).
    std::vector<int32_t> nearX(static_cast<size_t>(newWidth));
    for (int32_t x = 0; x < newWidth; ++x)
        nearX[static_cast<size_t>(x)] = std::min(w - 1, static_cast<int32_t>(static_cast<float>(x) * xScale));
    const auto nearY = [&](int32_t y) {
        return std::min(h - 1, static_cast<int32_t>(static_cast<float>(y) * yScale));
    };

    const bool area = mode != 1 && mode != 2 && head.biClrUsed == 0 && xScale > 1.0f && yScale > 1.0f;
    std::vector<Coverage> coverX, coverY;
    if (area) {
        coverX = AreaCoverage(newWidth, w, xScale);
        coverY = AreaCoverage(newHeight, h, yScale);
    }
    const RGBQUAD* pal = GetPalette();

    // Rows are independent unless palette lookups share tmp's nearest-colour cache.
    const bool done =
        RowRunner::Run(RowProgress{this, newHeight}, 0, newHeight, head.biClrUsed == 0, [&](int32_t y) {
            uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
            const int32_t sy = nearY(y);
            if (mode == 1) {
                const uint8_t* s = GetBits(static_cast<uint32_t>(sy));
                for (int32_t x = 0; x < newWidth; ++x) {
                    const int32_t sx = nearX[static_cast<size_t>(x)];
                    if (head.biBitCount == 24)
                        std::memcpy(d + 3 * x, s + 3 * sx, 3);
                    else if (head.biBitCount == 8)
                        d[x] = s[sx];
                    else
                        tmp.BlindSetPixelIndex(x, y, BlindGetPixelIndex(sx, sy));
                }
            } else if (mode == 2) {
                // Cubic B-spline over the 4 x 4 neighbourhood, indexes clamped.
                float wy[4];
                int32_t rows[4];
                BSplineTaps(static_cast<float>(y) * yScale, h - 1, wy, rows);
                for (int32_t x = 0; x < newWidth; ++x) {
                    float wx[4];
                    int32_t cols[4];
                    BSplineTaps(static_cast<float>(x) * xScale, w - 1, wx, cols);
                    float b = 0.0f, g = 0.0f, r = 0.0f;
                    for (int j = 0; j < 4; ++j) {
                        const uint8_t* s = GetBits(static_cast<uint32_t>(rows[j]));
                        for (int i = 0; i < 4; ++i) {
                            RGBQUAD c;
                            if (pal)
                                c = pal[BlindGetPixelIndex(cols[i], rows[j])];
                            else
                                c = RGBQUAD{s[3 * cols[i]], s[3 * cols[i] + 1], s[3 * cols[i] + 2], 0};
                            const float k = wx[i] * wy[j];
                            b += k * c.rgbBlue;
                            g += k * c.rgbGreen;
                            r += k * c.rgbRed;
                        }
                    }
                    PutColour(tmp, d, x, y, RGBQUAD{ClampTrunc(b), ClampTrunc(g), ClampTrunc(r), 0});
                }
            } else if (area) {
                // Area average in fixed point: coverage weights in thousandths.
                const Coverage& cy = coverY[static_cast<size_t>(y)];
                for (int32_t x = 0; x < newWidth; ++x) {
                    const Coverage& cx = coverX[static_cast<size_t>(x)];
                    uint64_t b = 0, g = 0, r = 0, total = 0;
                    for (size_t j = 0; j < cy.weights.size(); ++j) {
                        const uint8_t* s =
                            GetBits(static_cast<uint32_t>(cy.first + static_cast<int32_t>(j))) + 3 * cx.first;
                        uint64_t rb = 0, rg = 0, rr = 0, rt = 0;
                        for (size_t i = 0; i < cx.weights.size(); ++i, s += 3) {
                            const uint32_t k = cx.weights[i];
                            rb += k * s[0];
                            rg += k * s[1];
                            rr += k * s[2];
                            rt += k;
                        }
                        const uint64_t k = cy.weights[j];
                        b += k * rb;
                        g += k * rg;
                        r += k * rr;
                        total += k * rt;
                    }
                    if (total == 0) total = 1;
                    d[3 * x] = static_cast<uint8_t>((b + total / 2) / total);
                    d[3 * x + 1] = static_cast<uint8_t>((g + total / 2) / total);
                    d[3 * x + 2] = static_cast<uint8_t>((r + total / 2) / total);
                }
            } else {
                // Bilinear between (floor(fx), floor(fy)) and its right and upper
                // neighbours, weights in 1/256.
                const float fy = static_cast<float>(y) * yScale;
                const int32_t y0 = std::min(h - 1, FloorToInt(fy));
                const int32_t y1 = std::min(h - 1, y0 + 1);
                const auto wy = static_cast<uint32_t>((fy - static_cast<float>(y0)) * 256.0f);
                const uint8_t* s0 = GetBits(static_cast<uint32_t>(y0));
                const uint8_t* s1 = GetBits(static_cast<uint32_t>(y1));
                for (int32_t x = 0; x < newWidth; ++x) {
                    const float fx = static_cast<float>(x) * xScale;
                    const int32_t x0 = std::min(w - 1, FloorToInt(fx));
                    const int32_t x1 = std::min(w - 1, x0 + 1);
                    const auto wx = static_cast<uint32_t>((fx - static_cast<float>(x0)) * 256.0f);
                    RGBQUAD c00, c10, c01, c11;
                    if (pal) {
                        c00 = pal[BlindGetPixelIndex(x0, y0)];
                        c10 = pal[BlindGetPixelIndex(x1, y0)];
                        c01 = pal[BlindGetPixelIndex(x0, y1)];
                        c11 = pal[BlindGetPixelIndex(x1, y1)];
                    } else {
                        c00 = RGBQUAD{s0[3 * x0], s0[3 * x0 + 1], s0[3 * x0 + 2], 0};
                        c10 = RGBQUAD{s0[3 * x1], s0[3 * x1 + 1], s0[3 * x1 + 2], 0};
                        c01 = RGBQUAD{s1[3 * x0], s1[3 * x0 + 1], s1[3 * x0 + 2], 0};
                        c11 = RGBQUAD{s1[3 * x1], s1[3 * x1 + 1], s1[3 * x1 + 2], 0};
                    }
                    const uint32_t k00 = (256 - wx) * (256 - wy), k10 = wx * (256 - wy),
                                   k01 = (256 - wx) * wy, k11 = wx * wy;
                    const auto mix = [&](uint8_t RGBQUAD::*ch) {
                        return static_cast<uint8_t>(
                            (c00.*ch * k00 + c10.*ch * k10 + c01.*ch * k01 + c11.*ch * k11 + 32768) >> 16);
                    };
                    PutColour(
                        tmp, d, x, y,
                        RGBQUAD{mix(&RGBQUAD::rgbBlue), mix(&RGBQUAD::rgbGreen), mix(&RGBQUAD::rgbRed), 0});
                }
            }
            if (pAlpha) {
                uint8_t* a = tmp.pAlpha.get() + static_cast<size_t>(y) * newWidth;
                const uint8_t* sa = pAlpha.get() + static_cast<size_t>(sy) * w;
                for (int32_t x = 0; x < newWidth; ++x)
                    a[x] = sa[nearX[static_cast<size_t>(x)]];
            }
        });
    return done && Deliver(tmp, dest);
}

bool Image::Resample2(int32_t newWidth, int32_t newHeight, InterpolationMethod method,
                      OverflowMethod overflow, Image* dest, bool disableAveraging) {
    if (const auto early = EarlyResize(*this, newWidth, newHeight, dest)) return *early;
    const int32_t w = head.biWidth, h = head.biHeight;
    const float xScale = static_cast<float>(w) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(h) / static_cast<float>(newHeight);
    const bool average = !disableAveraging && (xScale > 1.0f || yScale > 1.0f);
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(newWidth), static_cast<uint32_t>(newHeight)))
        return Fail(tmp.GetLastError());
    // Shrinking a true-colour image in both directions: the footprints of a
    // destination row are summed source row by source row, straight from the
    // pixel rows, in the order GetAreaColorInterpolated uses, so the result is
    // the same to the bit. Footprints reaching outside go through the sampler.
    const bool rowSums = average && head.biClrUsed == 0 && xScale > 1.0f && yScale > 1.0f;
    std::vector<AreaSpan> spansX;
    // Each destination column's source columns and cover weights (those above
    // zero), and the sum of the weights, added in the sampler's order.
    std::vector<int32_t> tapStart, tapColumn;
    std::vector<double> tapWeight, weightSum;
    if (rowSums) {
        spansX.resize(static_cast<size_t>(newWidth));
        tapStart.push_back(0);
        for (int32_t x = 0; x < newWidth; ++x) {
            const AreaSpan sx = AreaSpan::Make((static_cast<float>(x) + 0.5f) * xScale - 0.5f, xScale);
            spansX[static_cast<size_t>(x)] = sx;
            double rt = 0.0;
            if (sx.Inside(w))
                for (int32_t i = sx.first; i <= sx.last; ++i) {
                    const float cx = sx.Cover(i);
                    if (cx <= 0.0f) continue;
                    tapColumn.push_back(i);
                    tapWeight.push_back(cx);
                    rt += static_cast<double>(cx);
                }
            tapStart.push_back(static_cast<int32_t>(tapColumn.size()));
            weightSum.push_back(rt);
        }
    }
    const bool done =
        RowRunner::Run(RowProgress{this, newHeight}, 0, newHeight, head.biClrUsed == 0, [&](int32_t y) {
            uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
            uint8_t* a = tmp.pAlpha ? tmp.pAlpha.get() + static_cast<size_t>(y) * newWidth : nullptr;
            const float sy = (static_cast<float>(y) + 0.5f) * yScale - 0.5f;
            const AreaSpan spanY = AreaSpan::Make(sy, yScale);
            std::vector<double> sums;
            if (rowSums && spanY.Inside(h)) {
                sums.assign(static_cast<size_t>(newWidth) * 5, 0.0);
                for (int32_t j = spanY.first; j <= spanY.last; ++j) {
                    const float cy = spanY.Cover(j);
                    if (cy <= 0.0f) continue;
                    const uint8_t* src = GetBits(static_cast<uint32_t>(j));
                    const uint8_t* srcAlpha = pAlpha ? pAlpha.get() + static_cast<size_t>(j) * w : nullptr;
                    const double k = cy;
                    for (int32_t x = 0; x < newWidth; ++x) {
                        const auto t0 = static_cast<size_t>(tapStart[static_cast<size_t>(x)]);
                        const auto t1 = static_cast<size_t>(tapStart[static_cast<size_t>(x) + 1]);
                        if (t0 == t1) continue;
                        double rb = 0.0, rg = 0.0, rr = 0.0, ra = 0.0;
                        for (size_t t = t0; t < t1; ++t) {
                            const uint8_t* p = src + static_cast<size_t>(tapColumn[t]) * 3;
                            const double c = tapWeight[t];
                            rb += c * p[0];
                            rg += c * p[1];
                            rr += c * p[2];
                            if (srcAlpha) ra += c * srcAlpha[tapColumn[t]];
                        }
                        double* acc = &sums[static_cast<size_t>(x) * 5];
                        acc[0] += k * rb;
                        acc[1] += k * rg;
                        acc[2] += k * rr;
                        acc[3] += k * ra;
                        acc[4] += k * weightSum[static_cast<size_t>(x)];
                    }
                }
            }
            for (int32_t x = 0; x < newWidth; ++x) {
                const float sx = (static_cast<float>(x) + 0.5f) * xScale - 0.5f;
                const double* acc = sums.empty() ? nullptr : &sums[static_cast<size_t>(x) * 5];
                RGBQUAD c;
                if (acc && spansX[static_cast<size_t>(x)].Inside(w) && acc[4] > 0.0) {
                    c = RGBQUAD{ClampRound(acc[0] / acc[4]), ClampRound(acc[1] / acc[4]),
                                ClampRound(acc[2] / acc[4]),
                                pAlpha ? ClampRound(acc[3] / acc[4]) : uint8_t{0}};
                } else if (average) {
                    c = GetAreaColorInterpolated(sx, sy, xScale, yScale, method, overflow);
                } else {
                    c = GetPixelColorInterpolated(sx, sy, method, overflow);
                }
                PutColour(tmp, d, x, y, c);
                if (a) a[x] = c.rgbReserved;
            }
        });
    return done && Deliver(tmp, dest);
}

bool Image::QIShrink(int32_t newWidth, int32_t newHeight, Image* dest) {
    if (const auto early = EarlyResize(*this, newWidth, newHeight, dest)) return *early;
    const int32_t w = head.biWidth, h = head.biHeight;
    if (newWidth > w || newHeight > h) {
        SetLastError("QIShrink can't enlarge image");
        return false;
    }
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(newWidth), static_cast<uint32_t>(newHeight)))
        return Fail(tmp.GetLastError());
    const RGBQUAD* pal = GetPalette();
    // Palette results go through tmp's nearest-colour cache: one thread then.
    const bool done =
        RowRunner::Run(RowProgress{this, newHeight}, 0, newHeight, head.biClrUsed == 0, [&](int32_t y) {
            const auto y0 = static_cast<int32_t>(static_cast<int64_t>(y) * h / newHeight);
            const auto y1 = static_cast<int32_t>(static_cast<int64_t>(y + 1) * h / newHeight);
            uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
            for (int32_t x = 0; x < newWidth; ++x) {
                const auto x0 = static_cast<int32_t>(static_cast<int64_t>(x) * w / newWidth);
                const auto x1 = static_cast<int32_t>(static_cast<int64_t>(x + 1) * w / newWidth);
                uint64_t b = 0, g = 0, r = 0, al = 0;
                for (int32_t j = y0; j < y1; ++j) {
                    const uint8_t* s = GetBits(static_cast<uint32_t>(j));
                    const uint8_t* sa = pAlpha ? pAlpha.get() + static_cast<size_t>(j) * w : nullptr;
                    for (int32_t i = x0; i < x1; ++i) {
                        if (pal) {
                            const RGBQUAD c = pal[BlindGetPixelIndex(i, j)];
                            b += c.rgbBlue;
                            g += c.rgbGreen;
                            r += c.rgbRed;
                        } else {
                            b += s[3 * i];
                            g += s[3 * i + 1];
                            r += s[3 * i + 2];
                        }
                        if (sa) al += sa[i];
                    }
                }
                const uint64_t n = static_cast<uint64_t>(x1 - x0) * static_cast<uint64_t>(y1 - y0);
                const auto avg = [n](uint64_t sum) { return static_cast<uint8_t>((sum + n / 2) / n); };
                PutColour(tmp, d, x, y, RGBQUAD{avg(b), avg(g), avg(r), 0});
                if (pAlpha) tmp.pAlpha.get()[static_cast<size_t>(y) * newWidth + x] = avg(al);
            }
        });
    return done && Deliver(tmp, dest);
}

bool Image::Thumbnail(int32_t newWidth, int32_t newHeight, RGBQUAD canvasColour, Image* dest) {
    if (!pDib || newWidth <= 0 || newHeight <= 0) return false;
    Image tmp(*this, true, false, true);
    if (!tmp.IsValid()) return false;
    const int64_t w = head.biWidth, h = head.biHeight;
    if (w > newWidth || h > newHeight) {
        // The largest size with the image's aspect ratio that fits the box.
        int64_t fitW = newWidth, fitH = newHeight;
        if (w * newHeight > h * newWidth)
            fitH = std::max<int64_t>(1, h * newWidth / w);
        else
            fitW = std::max<int64_t>(1, w * newHeight / h);
        if (!tmp.Resample(static_cast<int32_t>(fitW), static_cast<int32_t>(fitH), 0)) return false;
    }
    if (!tmp.Expand(newWidth, newHeight, canvasColour)) return false;
    return Deliver(tmp, dest);
}

} // namespace vimg
