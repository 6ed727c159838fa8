// Two-dimensional Fourier transform of a pair of grey images (real and
// imaginary parts), with the one-dimensional radix-2 and direct transforms.
#include "Image.h"

#include "PixelMath.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace vimg {

using namespace pixelmath;

namespace {

bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

int Log2(uint32_t v) {
    int n = 0;
    while ((1u << n) < v) ++n;
    return n;
}

bool IsIdentityGrey(const Image& img) {
    if (img.GetBpp() != 8 || img.GetNumColors() != 256) return false;
    const RGBQUAD* pal = img.GetPalette();
    for (int i = 0; i < 256; ++i)
        if (pal[i].rgbRed != i || pal[i].rgbGreen != i || pal[i].rgbBlue != i) return false;
    return true;
}

// Turns an image into 8 bits with the identity grey palette, so that each
// index is the pixel's grey level.
bool MakeGrey(Image& img) {
    if (IsIdentityGrey(img)) return true;
    Image grey;
    if (!grey.Create(img.GetWidth(), img.GetHeight(), 8, img.GetType())) return false;
    grey.SetGrayPalette();
    for (uint32_t y = 0; y < img.GetHeight(); ++y) {
        uint8_t* d = grey.GetBits(y);
        for (uint32_t x = 0; x < img.GetWidth(); ++x)
            d[x] = img.GetPixelGray(static_cast<int32_t>(x), static_cast<int32_t>(y));
    }
    return img.Transfer(grey);
}

// A part that is not given: every value is 128, which the transform reads as zero.
bool MakeZeroPart(Image& img, uint32_t w, uint32_t h) {
    if (!img.Create(w, h, 8, 0)) return false;
    img.SetGrayPalette();
    img.Clear(128);
    return true;
}

// Transforms n values in place, by FFT when n is a power of two, else by DFT.
bool Transform1D(int direction, uint32_t n, double* x, double* y, std::vector<double>& w1, std::vector<double>& w2) {
    if (IsPowerOfTwo(n)) return Image::FFT(direction, Log2(n), x, y);
    return Image::DFT(direction, static_cast<int32_t>(n), x, y, w1.data(), w2.data());
}

} // namespace

bool Image::FFT(int direction, int log2n, double* x, double* y) {
    if (!x || !y || log2n < 0 || log2n > 30) return false;
    const int64_t n = int64_t{1} << log2n;
    // Bit-reversal reordering.
    for (int64_t i = 0, j = 0; i < n - 1; ++i) {
        if (i < j) {
            std::swap(x[i], x[j]);
            std::swap(y[i], y[j]);
        }
        int64_t k = n >> 1;
        while (k <= j) {
            j -= k;
            k >>= 1;
        }
        j += k;
    }
    // Butterflies; the twiddle factor advances by the half-angle recurrence.
    double c1 = -1.0, c2 = 0.0;
    int64_t span = 1;
    for (int stage = 0; stage < log2n; ++stage) {
        const int64_t half = span;
        span <<= 1;
        double u1 = 1.0, u2 = 0.0;
        for (int64_t j = 0; j < half; ++j) {
            for (int64_t i = j; i < n; i += span) {
                const int64_t i1 = i + half;
                const double t1 = u1 * x[i1] - u2 * y[i1];
                const double t2 = u1 * y[i1] + u2 * x[i1];
                x[i1] = x[i] - t1;
                y[i1] = y[i] - t2;
                x[i] += t1;
                y[i] += t2;
            }
            const double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (direction == 1) c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }
    if (direction == 1) {
        for (int64_t i = 0; i < n; ++i) {
            x[i] /= static_cast<double>(n);
            y[i] /= static_cast<double>(n);
        }
    }
    return true;
}

bool Image::DFT(int direction, int32_t n, double* x, double* y, double* work1, double* work2) {
    if (!x || !y || !work1 || !work2 || n <= 0) return false;
    for (int32_t i = 0; i < n; ++i) {
        const double arg = -direction * 2.0 * std::numbers::pi * i / n;
        double re = 0.0, im = 0.0;
        for (int32_t k = 0; k < n; ++k) {
            const double c = std::cos(k * arg), s = std::sin(k * arg);
            re += x[k] * c - y[k] * s;
            im += x[k] * s + y[k] * c;
        }
        work1[i] = re;
        work2[i] = im;
    }
    for (int32_t i = 0; i < n; ++i) {
        x[i] = direction == 1 ? work1[i] / n : work1[i];
        y[i] = direction == 1 ? work2[i] / n : work2[i];
    }
    return true;
}

bool Image::FFT2(Image* sourceReal, Image* sourceImag, Image* destReal, Image* destImag, int direction,
                 bool forceFFT, bool magnitude) {
    const Image* src = sourceReal ? sourceReal : sourceImag;
    if (!src || !src->IsValid()) return false;
    uint32_t w = src->GetWidth(), h = src->GetHeight();
    if (forceFFT && (!IsPowerOfTwo(w) || !IsPowerOfTwo(h))) {
        w = 1u << Log2(w);
        h = 1u << Log2(h);
    }

    // Working images: the destination (holding a copy of the source), else the
    // source itself, else a temporary zero part released on return.
    std::unique_ptr<Image> tempReal, tempImag;
    const auto working = [&](Image* source, Image* dest, std::unique_ptr<Image>& temp) -> Image* {
        Image* part = dest;
        if (!part) part = source;
        if (!part) {
            temp = std::make_unique<Image>();
            part = temp.get();
        }
        if (source && source->IsValid()) {
            if (dest && dest != source) dest->Copy(*source, true, false, false);
        } else if (!MakeZeroPart(*part, w, h)) {
            return nullptr;
        }
        if (!part->IsValid() || !MakeGrey(*part)) return nullptr;
        if ((part->GetWidth() != w || part->GetHeight() != h) &&
            !part->Resample(static_cast<int32_t>(w), static_cast<int32_t>(h), 0))
            return nullptr;
        return part;
    };
    Image* re = working(sourceReal, destReal, tempReal);
    Image* im = re ? working(sourceImag, destImag, tempImag) : nullptr;
    if (!re || !im) return false;

    // The complex grid, row by row.
    std::vector<double> gridRe(static_cast<size_t>(w) * h), gridIm(static_cast<size_t>(w) * h);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* r = re->GetBits(y);
        const uint8_t* i = im->GetBits(y);
        for (uint32_t x = 0; x < w; ++x) {
            gridRe[static_cast<size_t>(y) * w + x] = r[x] - 128.0;
            gridIm[static_cast<size_t>(y) * w + x] = i[x] - 128.0;
        }
    }
    std::vector<double> w1(std::max(w, h)), w2(std::max(w, h)), colRe(h), colIm(h);
    for (uint32_t y = 0; y < h; ++y)
        Transform1D(direction, w, &gridRe[static_cast<size_t>(y) * w], &gridIm[static_cast<size_t>(y) * w], w1, w2);
    for (uint32_t x = 0; x < w; ++x) {
        for (uint32_t y = 0; y < h; ++y) {
            colRe[y] = gridRe[static_cast<size_t>(y) * w + x];
            colIm[y] = gridIm[static_cast<size_t>(y) * w + x];
        }
        Transform1D(direction, h, colRe.data(), colIm.data(), w1, w2);
        for (uint32_t y = 0; y < h; ++y) {
            gridRe[static_cast<size_t>(y) * w + x] = colRe[y];
            gridIm[static_cast<size_t>(y) * w + x] = colIm[y];
        }
    }

    // Output levels are rounded, not truncated: truncation would turn the
    // -1e-17 of a zero coefficient into a whole level and bias every value,
    // and an inverse transform sums those errors over the whole picture.
    double n = static_cast<double>(std::max(w, h)) / 16.0;
    if (direction == -1) n = 1.0 / n;
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* r = re->GetBits(y);
        uint8_t* i = im->GetBits(y);
        for (uint32_t x = 0; x < w; ++x) {
            const double zr = gridRe[static_cast<size_t>(y) * w + x];
            const double zi = gridIm[static_cast<size_t>(y) * w + x];
            if (magnitude) {
                const double m = 4.0 * n;
                r[x] = ClampRound(m * (std::log(std::hypot(zr, zi)) + 3.0));
                i[x] = ClampRound(m * (zr == 0.0 ? std::atan(zi * 1e10) : std::atan(zi / zr)) + 128.0);
            } else {
                r[x] = ClampRound(n * zr + 128.0);
                i[x] = ClampRound(n * zi + 128.0);
            }
        }
    }
    return true;
}

} // namespace vimg
