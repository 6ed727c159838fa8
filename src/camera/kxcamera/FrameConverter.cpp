#include "FrameConverter.h"

#include <algorithm>

#include "Image.h"
#include "ImageTypes.h"

namespace kxcam {

namespace {

inline uint8_t Clip(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

} // namespace

void FrameConverter::YuvToRgb(int y, int u, int v, uint8_t* r, uint8_t* g, uint8_t* b) {
    const int c = 298 * (y - 16) + 128;
    const int d = u - 128;
    const int e = v - 128;
    *r = Clip((c + 409 * e) >> 8);
    *g = Clip((c - 100 * d - 208 * e) >> 8);
    *b = Clip((c + 516 * d) >> 8);
}

QImage FrameConverter::FromYuyv(const uint8_t* data, size_t size, int width, int height, int bytesPerLine) {
    if (!data || width <= 0 || height <= 0 || width % 2 || bytesPerLine < width * 2) return {};
    if (size < static_cast<size_t>(bytesPerLine) * (height - 1) + static_cast<size_t>(width) * 2) return {};
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) return {};
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = data + static_cast<size_t>(row) * bytesPerLine;
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(row));
        for (int x = 0; x < width; x += 2, src += 4) {
            const int d = src[1] - 128;
            const int e = src[3] - 128;
            const int rv = 409 * e;
            const int gv = -100 * d - 208 * e;
            const int bv = 516 * d;
            for (int k = 0; k < 2; ++k) {
                const int c = 298 * (src[k * 2] - 16) + 128;
                dst[x + k] = 0xff000000u | uint32_t(Clip((c + rv) >> 8)) << 16 |
                             uint32_t(Clip((c + gv) >> 8)) << 8 | Clip((c + bv) >> 8);
            }
        }
    }
    return out;
}

QImage FrameConverter::FromMjpeg(const uint8_t* data, size_t size) {
    if (!data || size < 4 || size > UINT32_MAX) return {};
    vimg::Image image;
    // The decoder only reads the buffer; its interface is not const.
    if (!image.Decode(const_cast<uint8_t*>(data), static_cast<uint32_t>(size), vimg::FORMAT_JPG)) return {};
    if (image.GetBpp() != 24 && !image.IncreaseBpp(24)) return {};
    const int w = static_cast<int>(image.GetWidth());
    const int h = static_cast<int>(image.GetHeight());
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull()) return {};
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = image.GetBits(static_cast<uint32_t>(h - 1 - y)); // rows are bottom-up
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < w; ++x, src += 3)
            dst[x] = 0xff000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
    }
    return out;
}

} // namespace kxcam
