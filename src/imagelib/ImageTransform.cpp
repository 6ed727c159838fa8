// Operations that move pixels without resizing the picture's content: mirror,
// flip, quarter and free turns, skew, crop, canvas expansion and the circular
// distortions.
#include "Image.h"

#include "InPlaceQuarterTurn.h"
#include "PixelLoop.h"
#include "RowRunner.h"
#include "PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

namespace vimg {

namespace {

constexpr double kDegreesToRadians = std::numbers::pi / 180.0;

// Copies a plane of N-byte pixels turned by a quarter: with `right`, dest(x', y')
// = src(srcW - 1 - y', x'), else dest(x', y') = src(y', srcH - 1 - x'); only the
// destination rows y0 <= y' < y1 and columns x0 <= x' < x1. Works in square
// tiles so that the column-wise reads stay in cache.
template <size_t N>
void TurnPlane(const uint8_t* src, size_t srcStride, int32_t srcW, int32_t srcH, uint8_t* dst,
               size_t dstStride, int32_t y0, int32_t y1, int32_t x0, int32_t x1, bool right) {
    constexpr int32_t kTile = 64;
    for (int32_t xb = x0; xb < x1; xb += kTile) {
        const int32_t xe = std::min(x1, xb + kTile);
        for (int32_t y = y0; y < y1; ++y) {
            uint8_t* d = dst + static_cast<size_t>(y) * dstStride + static_cast<size_t>(xb) * N;
            if (right) {
                const uint8_t* s = src + static_cast<size_t>(srcW - 1 - y) * N;
                for (int32_t x = xb; x < xe; ++x, d += N)
                    std::memcpy(d, s + static_cast<size_t>(x) * srcStride, N);
            } else {
                const uint8_t* s = src + static_cast<size_t>(y) * N;
                for (int32_t x = xb; x < xe; ++x, d += N)
                    std::memcpy(d, s + static_cast<size_t>(srcH - 1 - x) * srcStride, N);
            }
        }
    }
}

// Moves `rows` rows of `used` bytes from a stride of `from` bytes to one of
// `to` inside the same memory, clearing the new padding.
void Restride(uint8_t* pixels, size_t rows, size_t used, size_t from, size_t to) {
    if (from == to) return;
    const auto move = [&](size_t y) {
        std::memmove(pixels + y * to, pixels + y * from, used);
        std::memset(pixels + y * to + used, 0, to - used);
    };
    if (to < from)
        for (size_t y = 0; y < rows; ++y) move(y);
    else
        for (size_t y = rows; y-- > 0;) move(y);
}

} // namespace

bool Image::CreateLike(const Image& src, uint32_t width, uint32_t height, uint32_t bpp) {
    Destroy();
    CopyInfo(src);
    const bool keepDepth = bpp == 0;
    if (!Create(width, height, keepDepth ? src.GetBpp() : bpp, src.GetType())) return false;
    SetXDPI(src.GetXDPI());
    SetYDPI(src.GetYDPI());
    if (!keepDepth) {
        info.transIndex = -1;
    } else if (src.GetPalette()) {
        SetPalette(src.GetPalette(), src.GetNumColors());
        SetClrImportant(src.GetClrImportant());
    }
    SelectionDelete();
    info.progress = 0;
    info.escape = 0;
    return true;
}

bool Image::CreateLikeWithAlpha(const Image& src, uint32_t width, uint32_t height) {
    return CreateLike(src, width, height) && (!src.pAlpha || AlphaCreate());
}

bool Image::TransferPixels(Image& from) {
    ImageInfo kept = info;
    kept.nearestCacheValid = false;
    const bool done = Transfer(from);
    kept.effWidth = info.effWidth;
    kept.pixels = info.pixels;
    info = kept;
    return done;
}

bool Image::Deliver(Image& result, Image* dest) {
    result.info.progress = 0;
    result.info.escape = 0;
    if (dest) return dest->Transfer(result);
    return Transfer(result);
}

bool Image::Mirror() {
    if (!pDib) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    const uint32_t bpp = head.biBitCount;
    std::vector<uint8_t> line;
    // Whole-byte pixels reverse in place, rows spread over the pool; 1 and 4
    // bits go pixel by pixel through a copy of the row. Working in place, it
    // cannot stop half way without leaving a half-mirrored picture, so it
    // does not honour escape.
    RowRunner::Run(
        RowProgress{this, h}, 0, h, bpp >= 8,
        [&](int32_t y) {
            uint8_t* row = GetBits(static_cast<uint32_t>(y));
            if (bpp == 24) {
                for (uint8_t *a = row, *b = row + static_cast<size_t>(w - 1) * 3; a < b; a += 3, b -= 3) {
                    const uint8_t t0 = a[0], t1 = a[1], t2 = a[2];
                    a[0] = b[0];
                    a[1] = b[1];
                    a[2] = b[2];
                    b[0] = t0;
                    b[1] = t1;
                    b[2] = t2;
                }
            } else if (bpp == 8) {
                std::reverse(row, row + w);
            } else {
                line.assign(row, row + info.effWidth);
                for (int32_t x = 0; x < w; ++x) {
                    const int32_t from = w - 1 - x;
                    uint8_t index;
                    if (bpp == 4)
                        index = (from & 1) ? (line[from >> 1] & 0x0F) : (line[from >> 1] >> 4);
                    else
                        index = (line[from >> 3] >> (7 - (from & 7))) & 1;
                    BlindSetPixelIndex(x, static_cast<int32_t>(y), index);
                }
            }
        },
        false);
    AlphaMirror();
    SelectionDelete();
    return true;
}

bool Image::Flip() {
    if (!pDib || !FlipRows()) return false;
    AlphaFlip();
    SelectionDelete();
    return true;
}

bool Image::RotateLeft(Image* dest) {
    return QuarterTurn(false, dest);
}

bool Image::RotateRight(Image* dest) {
    return QuarterTurn(true, dest);
}

bool Image::QuarterTurn(bool clockwise, Image* dest) {
    if (!pDib) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    // Whole-byte pixels turned into the image itself turn in its own memory
    // (not a ghost's, which belongs to another image).
    if (!dest && !info.ghostOf && head.biBitCount >= 8) {
        // The rows lose their padding, the pixel array turns, and the turned rows
        // take the padding a new picture of the turned size has (zeros), in a block
        // grown beforehand if that needs more bytes. Having started it cannot stop
        // half way, so escape counts only before the start.
        const uint32_t pixelBytes = head.biBitCount / 8;
        if (info.escape) return false;
        const uint64_t stride = (static_cast<uint64_t>(h) * head.biBitCount + 31) / 32 * 4;
        const uint64_t imageBytes = stride * static_cast<uint64_t>(w);
        if (imageBytes > GetMaxMemory() || imageBytes > std::numeric_limits<uint32_t>::max())
            return Fail("IMAGE_MAX_MEMORY exceeded by the turned picture");
        InPlaceQuarterTurn pixels(h, w, pixelBytes, clockwise), alpha(h, w, 1, clockwise);
        if (!pixels.Reserve() || (pAlpha && !alpha.Reserve()))
            return Fail("Image::QuarterTurn can't allocate memory");
        const size_t pixelsAt = static_cast<size_t>(info.pixels - pDib.get());
        if (imageBytes > head.biSizeImage) {
            if (!pDib.Resize(pixelsAt + head.biSizeImage, pixelsAt + imageBytes))
                return Fail("Image::QuarterTurn can't allocate memory");
            info.pixels = pDib.get() + pixelsAt;
        }
        Restride(info.pixels, static_cast<size_t>(h), static_cast<size_t>(w) * pixelBytes, info.effWidth,
                 static_cast<size_t>(w) * pixelBytes);
        pixels.Run(info.pixels, RowProgress{this, 1, 0, pAlpha ? 75 : 100});
        if (pAlpha) alpha.Run(pAlpha.get(), RowProgress{this, 1, 75, 100});
        Restride(info.pixels, static_cast<size_t>(w), static_cast<size_t>(h) * pixelBytes,
                 static_cast<size_t>(h) * pixelBytes, stride);
        // The rest as a new picture of the turned size has it.
        head.biWidth = h;
        head.biHeight = w;
        head.biSizeImage = static_cast<uint32_t>(imageBytes);
        info.effWidth = static_cast<uint32_t>(stride);
        if (!GetPalette()) head.biClrImportant = 0;
        std::memcpy(pDib.get(), &head, sizeof(head));
        info.sampleRangeKnown = false;
        info.hotSpotX = info.hotSpotY = -1;
        info.progress = 0;
        info.escape = 0;
        ClearNearestCache();
        SelectionDelete();
        return true;
    }
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(h), static_cast<uint32_t>(w)))
        return Fail(tmp.GetLastError());
    const uint32_t bpp = head.biBitCount;
    // Bands of destination rows; below 8 bits neighbouring pixels share bytes,
    // so those bands stay on one thread.
    constexpr int32_t kBand = 64;
    const int32_t bands = (w + kBand - 1) / kBand;
    const bool done = RowRunner::Run(RowProgress{this, bands}, 0, bands, bpp >= 8, [&](int32_t band) {
        const auto y0 = static_cast<int32_t>(band * kBand);
        const int32_t y1 = std::min(w, y0 + kBand);
        if (bpp == 24) {
            TurnPlane<3>(info.pixels, info.effWidth, w, h, tmp.info.pixels, tmp.info.effWidth, y0, y1, 0, h,
                         clockwise);
        } else if (bpp == 8) {
            TurnPlane<1>(info.pixels, info.effWidth, w, h, tmp.info.pixels, tmp.info.effWidth, y0, y1, 0, h,
                         clockwise);
        } else {
            for (int32_t y = y0; y < y1; ++y)
                for (int32_t x = 0; x < h; ++x)
                    tmp.BlindSetPixelIndex(x, y,
                                           clockwise ? BlindGetPixelIndex(w - 1 - y, x)
                                                     : BlindGetPixelIndex(y, h - 1 - x));
        }
        if (pAlpha)
            TurnPlane<1>(pAlpha.get(), static_cast<size_t>(w), w, h, tmp.pAlpha.get(), static_cast<size_t>(h),
                         y0, y1, 0, h, clockwise);
    });
    return done && Deliver(tmp, dest);
}

bool Image::Rotate180(Image* dest) {
    if (!pDib) return false;
    // Turned into itself, a picture of whole-byte pixels takes a flip and a
    // mirror, with no second picture. Row padding is cleared as a new picture
    // would have it (below 8 bits the last byte's spare bits would move).
    if (!dest && head.biBitCount >= 8) {
        if (!Flip() || !Mirror()) return false;
        const size_t used = static_cast<size_t>(head.biWidth) * (head.biBitCount / 8);
        if (used < info.effWidth)
            for (int32_t y = 0; y < head.biHeight; ++y)
                std::memset(GetBits(static_cast<uint32_t>(y)) + used, 0, info.effWidth - used);
        return true;
    }
    const int32_t w = head.biWidth, h = head.biHeight;
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(w), static_cast<uint32_t>(h)))
        return Fail(tmp.GetLastError());
    const bool done = RowRunner::Run(RowProgress{this, h}, 0, h, true, [&](int32_t y) {
        const uint8_t* s = GetBits(static_cast<uint32_t>(h - 1 - y));
        uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
        if (head.biBitCount == 24) {
            for (int32_t x = 0; x < w; ++x, d += 3)
                std::memcpy(d, s + static_cast<size_t>(w - 1 - x) * 3, 3);
        } else if (head.biBitCount == 8) {
            std::reverse_copy(s, s + w, d);
        } else {
            for (int32_t x = 0; x < w; ++x)
                tmp.BlindSetPixelIndex(x, y, BlindGetPixelIndex(w - 1 - x, h - 1 - y));
        }
        if (pAlpha) {
            const uint8_t* a = pAlpha.get() + static_cast<size_t>(h - 1 - y) * w;
            std::reverse_copy(a, a + w, tmp.pAlpha.get() + static_cast<size_t>(y) * w);
        }
    });
    return done && Deliver(tmp, dest);
}

bool Image::Rotate(float angle, Image* dest) {
    if (!pDib || !std::isfinite(angle)) return false;
    const double theta = -static_cast<double>(angle) * kDegreesToRadians;
    const double c = std::cos(theta), s = std::sin(theta);
    const double cx = head.biWidth / 2.0 - 0.5, cy = head.biHeight / 2.0 - 0.5;
    // Extent of the rotated corner pixel centres.
    const double ex = std::fabs(c * cx) + std::fabs(s * cy), ey = std::fabs(s * cx) + std::fabs(c * cy);
    const auto newW = static_cast<uint32_t>(std::floor(2.0 * ex + 1.5)) + 2;
    const auto newH = static_cast<uint32_t>(std::floor(2.0 * ey + 1.5));
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, newW, newH)) return Fail(tmp.GetLastError());
    const double dcx = newW / 2.0 - 0.5, dcy = newH / 2.0 - 0.5;
    const int32_t w = head.biWidth, h = head.biHeight;
    // Each row writes only its own bytes, whatever the depth.
    const bool done = RowRunner::Run(
        RowProgress{this, static_cast<int32_t>(newH)}, 0, static_cast<int32_t>(newH), true, [&](int32_t y) {
            const double dy = y - dcy;
            for (int32_t x = 0; x < static_cast<int32_t>(newW); ++x) {
                const double dx = x - dcx;
                const auto sx = static_cast<int32_t>(std::floor(c * dx + s * dy + cx + 0.5));
                const auto sy = static_cast<int32_t>(std::floor(-s * dx + c * dy + cy + 0.5));
                if (sx < 0 || sy < 0 || sx >= w || sy >= h) {
                    if (tmp.pAlpha) tmp.AlphaSet(x, y, 0);
                    continue;
                }
                if (head.biClrUsed)
                    tmp.BlindSetPixelIndex(x, y, BlindGetPixelIndex(sx, sy));
                else
                    std::memcpy(tmp.BlindGetPixelPointer(x, y), BlindGetPixelPointer(sx, sy), 3);
                if (pAlpha) tmp.AlphaSet(x, y, BlindAlphaGet(sx, sy));
            }
        });
    return done && Deliver(tmp, dest);
}

bool Image::Rotate2(float angle, Image* dest, InterpolationMethod method, OverflowMethod overflow,
                    const RGBQUAD* replacementColour, bool optimizeRightAngles, bool keepSize) {
    if (!pDib || !std::isfinite(angle)) return false;
    const double theta = -static_cast<double>(angle) * kDegreesToRadians;
    const double c = std::cos(theta), s = std::sin(theta);
    const int32_t w = head.biWidth, h = head.biHeight;
    const double cx = w / 2.0 - 0.5, cy = h / 2.0 - 0.5;

    if (optimizeRightAngles) {
        // Where the corner (cx, cy) lands, against where each exact turn puts it.
        const double px = c * cx - s * cy, py = s * cx + c * cy;
        const auto near = [&](double qx, double qy) {
            return std::fabs(px - qx) <= 0.25 && std::fabs(py - qy) <= 0.25;
        };
        // A quarter turn swaps the sides, which keepSize forbids unless the image is square.
        const bool mayTurn = !keepSize || w == h;
        if (near(cx, cy)) {
            if (!dest) return true;
            dest->Copy(*this);
            return dest->IsValid();
        }
        if (mayTurn && near(cy, -cx)) return RotateRight(dest);
        if (near(-cx, -cy)) return Rotate180(dest);
        if (mayTurn && near(-cy, cx)) return RotateLeft(dest);
    }

    uint32_t newW = static_cast<uint32_t>(w), newH = static_cast<uint32_t>(h);
    if (!keepSize) {
        const double ex = std::fabs(c * cx) + std::fabs(s * cy), ey = std::fabs(s * cx) + std::fabs(c * cy);
        newW = static_cast<uint32_t>(std::floor(2.0 * ex + 1.5));
        newH = static_cast<uint32_t>(std::floor(2.0 * ey + 1.5));
    }
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, newW, newH)) return Fail(tmp.GetLastError());
    const double dcx = newW / 2.0 - 0.5, dcy = newH / 2.0 - 0.5;
    const bool bilinearRows = method == IM_BILINEAR && head.biClrUsed == 0;
    // Rows are independent unless palette lookups share tmp's nearest-colour cache.
    const bool done = RowRunner::Run(
        RowProgress{this, static_cast<int32_t>(newH)}, 0, static_cast<int32_t>(newH), head.biClrUsed == 0,
        [&](int32_t y) {
            const double dy = y - dcy;
            uint8_t* bits = tmp.GetBits(static_cast<uint32_t>(y));
            uint8_t* rowAlpha = tmp.pAlpha ? tmp.pAlpha.get() + static_cast<size_t>(y) * newW : nullptr;
            for (int32_t x = 0; x < static_cast<int32_t>(newW); ++x) {
                const double dx = x - dcx;
                const auto fx = static_cast<float>(c * dx + s * dy + cx);
                const auto fy = static_cast<float>(-s * dx + c * dy + cy);
                RGBQUAD colour;
                const int32_t x0 = pixelmath::FloorToInt(fx), y0 = pixelmath::FloorToInt(fy);
                if (bilinearRows && x0 >= 0 && y0 >= 0 && x0 + 2 <= w && y0 + 2 <= h) {
                    // The sampler's own bilinear window, without the call.
                    const float wx[2] = {1.0f - (fx - static_cast<float>(x0)), fx - static_cast<float>(x0)};
                    const float wy[2] = {1.0f - (fy - static_cast<float>(y0)), fy - static_cast<float>(y0)};
                    float sums[4];
                    pixelmath::SumWindow<2>(
                        info.pixels + static_cast<size_t>(y0) * info.effWidth + static_cast<size_t>(x0) * 3,
                        info.effWidth, pAlpha ? pAlpha.get() + static_cast<size_t>(y0) * w + x0 : nullptr,
                        static_cast<size_t>(w), wx, wy, 2, sums);
                    colour = RGBQUAD{pixelmath::ClampTrunc(sums[0]), pixelmath::ClampTrunc(sums[1]),
                                     pixelmath::ClampTrunc(sums[2]),
                                     pAlpha ? pixelmath::ClampTrunc(sums[3]) : uint8_t{0}};
                } else {
                    colour = GetPixelColorInterpolated(fx, fy, method, overflow, replacementColour);
                }
                if (head.biClrUsed) {
                    tmp.BlindSetPixelIndex(x, y, tmp.GetNearestIndex(colour));
                } else {
                    bits[3 * x] = colour.rgbBlue;
                    bits[3 * x + 1] = colour.rgbGreen;
                    bits[3 * x + 2] = colour.rgbRed;
                }
                if (rowAlpha) rowAlpha[x] = colour.rgbReserved;
            }
        });
    return done && Deliver(tmp, dest);
}

bool Image::Skew(float xGain, float yGain, int32_t xPivot, int32_t yPivot, bool interpolate) {
    if (!pDib || !std::isfinite(xGain) || !std::isfinite(yGain)) return false;
    Image tmp(*this, true, true, true);
    if (!tmp.IsValid()) return false;
    const PixelBox b = WorkingBox(*this);
    // Stopped early, the rows done so far stay skewed. Interpolated colours of a
    // palette image go through tmp's nearest-colour cache, so those rows stay on one thread.
    RowRunner::Run(RowProgress{this, head.biHeight}, b.y0, b.y1, !interpolate || head.biClrUsed == 0,
                   [&](int32_t y) {
        for (int32_t x = b.x0; x < b.x1; ++x) {
            if (!SelectionIsInside(x, y)) continue;
            const float sx = static_cast<float>(x) + xGain * static_cast<float>(y - yPivot);
            const float sy = static_cast<float>(y) + yGain * static_cast<float>(x - xPivot);
            if (interpolate) {
                tmp.SetPixelColor(x, y, GetPixelColorInterpolated(sx, sy, IM_BILINEAR, OM_BACKGROUND), true);
                continue;
            }
            const auto ix = static_cast<int32_t>(std::clamp(sx, -1.0e9f, 1.0e9f));
            const auto iy = static_cast<int32_t>(std::clamp(sy, -1.0e9f, 1.0e9f));
            if (head.biClrUsed)
                tmp.BlindSetPixelIndex(x, y, GetPixelIndex(ix, iy));
            else
                tmp.SetPixelColor(x, y, GetPixelColor(ix, iy, false));
            if (pAlpha) tmp.AlphaSet(x, y, AlphaGet(ix, iy));
        }
    });
    return Transfer(tmp);
}

bool Image::Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, Image* dest) {
    if (!pDib) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    left = std::clamp(left, 0, w);
    right = std::clamp(right, 0, w);
    top = std::clamp(top, 0, h);
    bottom = std::clamp(bottom, 0, h);
    if (left == right || top == bottom) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int32_t newW = right - left, newH = bottom - top;
    const int32_t firstRow = h - bottom; // bottom-up index of the crop's lowest row
    Image tmp;
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(newW), static_cast<uint32_t>(newH)))
        return Fail(tmp.GetLastError());
    const bool done = RowRunner::Run(RowProgress{this, newH}, 0, newH, true, [&](int32_t y) {
        const uint8_t* s = GetBits(static_cast<uint32_t>(firstRow + y));
        uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
        if (head.biBitCount >= 8) {
            const size_t bpp = head.biBitCount / 8;
            std::memcpy(d, s + static_cast<size_t>(left) * bpp, static_cast<size_t>(newW) * bpp);
        } else {
            for (int32_t x = 0; x < newW; ++x)
                tmp.BlindSetPixelIndex(x, y, BlindGetPixelIndex(left + x, firstRow + y));
        }
        if (pAlpha)
            std::memcpy(tmp.pAlpha.get() + static_cast<size_t>(y) * newW,
                        pAlpha.get() + static_cast<size_t>(firstRow + y) * w + left,
                        static_cast<size_t>(newW));
    });
    return done && Deliver(tmp, dest);
}

bool Image::Crop(const RECT& rect, Image* dest) {
    return Crop(rect.left, rect.top, rect.right, rect.bottom, dest);
}

bool Image::CropRotatedRectangle(int32_t left, int32_t top, int32_t width, int32_t height, float angle,
                                 Image* dest) {
    if (!pDib || width <= 0 || height <= 0 || !std::isfinite(angle)) return false;
    if (std::fabs(angle) < 0.0002f) return Crop(left, top, left + width, top + height, dest);
    // Corners of the rectangle in picture coordinates (y down from the top):
    // its width runs along (cos, sin), its height along (-sin, cos).
    const double c = std::cos(angle), s = std::sin(angle);
    const double xs[4] = {0.0, width * c, width * c - height * s, -height * s};
    const double ys[4] = {0.0, width * s, width * s + height * c, height * c};
    // The box is widened to whole pixels; rounding noise of sin and cos (a
    // right angle leaves 1e-7 behind) must not add a pixel.
    constexpr double kSlack = 1e-4;
    const auto bx0 = static_cast<int32_t>(std::floor(left + *std::min_element(xs, xs + 4) + kSlack));
    const auto bx1 = static_cast<int32_t>(std::ceil(left + *std::max_element(xs, xs + 4) - kSlack));
    const auto by0 = static_cast<int32_t>(std::floor(top + *std::min_element(ys, ys + 4) + kSlack));
    const auto by1 = static_cast<int32_t>(std::ceil(top + *std::max_element(ys, ys + 4) - kSlack));
    const int32_t w = head.biWidth, h = head.biHeight;
    if (bx0 < 0 || by0 < 0 || bx1 > w || by1 > h) return false;

    Image box(*this, true, false, true);
    if (!box.IsValid() || !box.Crop(bx0, by0, bx1, by1)) return false;
    if (!box.Rotate(static_cast<float>(-angle * 57.29577951308232))) return false;
    const int32_t l = (static_cast<int32_t>(box.GetWidth()) - width) / 2;
    const int32_t t = (static_cast<int32_t>(box.GetHeight()) - height) / 2;
    if (!box.Crop(l, t, l + width, t + height)) return false;
    return Deliver(box, dest);
}

bool Image::Expand(int32_t left, int32_t top, int32_t right, int32_t bottom, RGBQUAD canvasColour,
                   Image* dest) {
    if (!pDib) return false;
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return Fail("Expand: border widths must not be negative");
    const int64_t newW = static_cast<int64_t>(head.biWidth) + left + right;
    const int64_t newH = static_cast<int64_t>(head.biHeight) + top + bottom;
    if (newW > INT32_MAX || newH > INT32_MAX) {
        SetLastError("IMAGE_MAX_MEMORY exceeded");
        return false;
    }
    Image tmp;
    // The canvas is painted: opaque in the alpha plane.
    if (!tmp.CreateLikeWithAlpha(*this, static_cast<uint32_t>(newW), static_cast<uint32_t>(newH)))
        return Fail(tmp.GetLastError());
    const int32_t w = head.biWidth, h = head.biHeight;
    const uint8_t index = head.biClrUsed ? tmp.GetNearestIndex(canvasColour) : 0;
    const bool done = RowRunner::Run(
        RowProgress{this, static_cast<int32_t>(newH)}, 0, static_cast<int32_t>(newH), true, [&](int32_t y) {
            uint8_t* d = tmp.GetBits(static_cast<uint32_t>(y));
            const int32_t sy = y - bottom;
            const bool sourceRow = sy >= 0 && sy < h;
            for (int32_t x = 0; x < newW; ++x) {
                if (sourceRow && x >= left && x < left + w) continue;
                if (head.biClrUsed) {
                    tmp.BlindSetPixelIndex(x, y, index);
                } else {
                    d[3 * x] = canvasColour.rgbBlue;
                    d[3 * x + 1] = canvasColour.rgbGreen;
                    d[3 * x + 2] = canvasColour.rgbRed;
                }
            }
            if (!sourceRow) return;
            if (head.biBitCount >= 8) {
                const size_t bpp = head.biBitCount / 8;
                std::memcpy(d + static_cast<size_t>(left) * bpp, GetBits(static_cast<uint32_t>(sy)),
                            static_cast<size_t>(w) * bpp);
            } else {
                for (int32_t x = 0; x < w; ++x)
                    tmp.BlindSetPixelIndex(left + x, y, BlindGetPixelIndex(x, sy));
            }
            if (pAlpha)
                std::memcpy(tmp.pAlpha.get() + static_cast<size_t>(y) * newW + left,
                            pAlpha.get() + static_cast<size_t>(sy) * w, static_cast<size_t>(w));
        });
    return done && Deliver(tmp, dest);
}

bool Image::Expand(int32_t newWidth, int32_t newHeight, RGBQUAD canvasColour, Image* dest) {
    if (!pDib) return false;
    if (newWidth < head.biWidth || newHeight < head.biHeight)
        return Fail("Expand: the new size is smaller than the image; use Crop to make it smaller");
    const int32_t left = (newWidth - head.biWidth) / 2;
    const int32_t bottomOrTop = (newHeight - head.biHeight) / 2;
    return Expand(left, bottomOrTop, newWidth - head.biWidth - left, newHeight - head.biHeight - bottomOrTop,
                  canvasColour, dest);
}

bool Image::CircleTransform(int type, int32_t radius, float factor) {
    if (!pDib || !std::isfinite(factor)) return false;
    Image tmp(*this, true, true, true);
    if (!tmp.IsValid()) return false;
    const PixelBox b = WorkingBox(*this);
    const int32_t cx = head.biWidth / 2, cy = head.biHeight / 2;
    if (radius == 0)
        radius = static_cast<int32_t>(std::sqrt(static_cast<double>(cx - b.x0) * (cx - b.x0) +
                                                static_cast<double>(cy - b.y0) * (cy - b.y0)));
    if (factor == 0.0f) factor = 1.0f;
    const double rad = radius;
    const bool done = RowRunner::Run(RowProgress{this, head.biHeight}, b.y0, b.y1, true, [&](int32_t y) {
        for (int32_t x = b.x0; x < b.x1; ++x) {
            if (!SelectionIsInside(x, y)) continue;
            const double nx = cx - x, ny = cy - y;
            const double dist = std::sqrt(nx * nx + ny * ny);
            int32_t sx = -1, sy = -1;
            if (dist < rad) {
                double a = std::atan2(ny, nx);
                if (type <= 2) {
                    double rr = dist;
                    if (type == 0)
                        rr = dist * dist / rad;
                    else if (type == 1)
                        rr = std::sqrt(rad * dist);
                    else
                        a += dist / factor;
                    sx = cx + static_cast<int32_t>(rr * std::cos(a));
                    sy = cy - static_cast<int32_t>(rr * std::sin(a));
                } else if (type == 3) {
                    sx = static_cast<int32_t>(std::fabs(a * b.x1 / (2.0 * std::numbers::pi)));
                    sy = static_cast<int32_t>(std::fabs(b.y1 * dist / rad));
                } else {
                    sx = x + (x % 32) - 16;
                    sy = y;
                }
            }
            if (head.biClrUsed)
                tmp.BlindSetPixelIndex(x, y, GetPixelIndex(sx, sy));
            else
                tmp.SetPixelColor(x, y, GetPixelColor(sx, sy, false));
            if (pAlpha) tmp.AlphaSet(x, y, AlphaGet(sx, sy));
        }
    });
    return done && Transfer(tmp);
}

} // namespace vimg
