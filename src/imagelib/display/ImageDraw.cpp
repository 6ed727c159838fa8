#include "ImageDraw.h"

#include <vector>

#include "DrawSampler.h"
#include "PixelLoop.h"

namespace vimg::display {

namespace {

// Below this many visible pixels a second thread costs more than it saves.
constexpr int64_t kParallelPixels = 1 << 16;

enum class Mode {
    Copy,   // the sample replaces the device pixel
    Blend,  // weighted by the sample's opacity
    Masked, // samples of the key colour leave the device pixel
    Rop,    // combined with the device pixel through a raster operation
};

// The destination and its visible part; false when there is nothing to draw.
bool Place(const Image& image, CDeviceContext* dc, int x, int y, int cx, int cy, const QRect* clip, QRect& dest,
           QRect& visible) {
    if (!image.IsValid() || !dc || cx == 0 || cy == 0) return false;
    if (cx < 0) cx = static_cast<int>(image.GetWidth());
    if (cy < 0) cy = static_cast<int>(image.GetHeight());
    dest = QRect(x, y, cx, cy);
    QRect box = dc->GetClipBox();
    if (clip) box &= *clip;
    visible = dest & box;
    return !visible.isEmpty();
}

// Evaluates a ternary raster operation on 24-bit colours, bit by bit.
uint32_t Ternary(uint8_t table, uint32_t pattern, uint32_t source, uint32_t destination) {
    uint32_t result = 0;
    for (int entry = 0; entry < 8; ++entry) {
        if (!((table >> entry) & 1)) continue;
        result |= ((entry & 4) ? pattern : ~pattern) & ((entry & 2) ? source : ~source) &
                  ((entry & 1) ? destination : ~destination);
    }
    return result & 0x00FFFFFF;
}

uint32_t BlendChannel(uint32_t background, uint32_t colour, uint32_t a, int shift) {
    const uint32_t b = (background >> shift) & 0xFF, c = (colour >> shift) & 0xFF;
    return ((b * (255 - a) + c * a) >> 8) << shift;
}

// Composes the visible part row by row straight into the device's rows.
void Compose(const Image& image, CDeviceContext* dc, const QRect& dest, const QRect& visible, bool smooth, Mode mode,
             uint32_t key = 0) {
    const DrawSampler sampler(image, dest, visible, smooth, mode == Mode::Blend);
    // Row pointers are fetched here, on the calling thread: QImage::scanLine
    // is not safe to call from several threads at once.
    std::vector<QRgb*> rows(static_cast<size_t>(visible.height()));
    for (int r = 0; r < visible.height(); ++r) rows[static_cast<size_t>(r)] = dc->ScanLine(visible.top() + r) + visible.left();
    const int width = visible.width();
    const bool parallel = static_cast<int64_t>(width) * visible.height() >= kParallelPixels;
    const uint8_t table = static_cast<uint8_t>(key >> 16);
    ForEachRow(RowProgress{}, 0, visible.height(), parallel, [&](int32_t r) {
        thread_local std::vector<uint32_t> rgb;
        thread_local std::vector<uint8_t> alpha;
        rgb.resize(static_cast<size_t>(width));
        alpha.resize(mode == Mode::Blend ? static_cast<size_t>(width) : 0);
        sampler.SampleRow(r, rgb.data(), alpha.data());
        QRgb* dst = rows[static_cast<size_t>(r)];
        switch (mode) {
        case Mode::Copy:
            for (int c = 0; c < width; ++c) dst[c] = 0xFF000000u | rgb[static_cast<size_t>(c)];
            break;
        case Mode::Blend:
            for (int c = 0; c < width; ++c) {
                const uint32_t a = alpha[static_cast<size_t>(c)], s = rgb[static_cast<size_t>(c)];
                if (a == 0) continue;
                if (a == 255) {
                    dst[c] = 0xFF000000u | s;
                    continue;
                }
                const uint32_t d = dst[c];
                dst[c] = 0xFF000000u | BlendChannel(d, s, a, 16) | BlendChannel(d, s, a, 8) | BlendChannel(d, s, a, 0);
            }
            break;
        case Mode::Masked:
            for (int c = 0; c < width; ++c)
                if (rgb[static_cast<size_t>(c)] != key) dst[c] = 0xFF000000u | rgb[static_cast<size_t>(c)];
            break;
        case Mode::Rop:
            for (int c = 0; c < width; ++c)
                dst[c] = 0xFF000000u | Ternary(table, 0x00FFFFFF, rgb[static_cast<size_t>(c)], dst[c] & 0x00FFFFFF);
            break;
        }
    }, false);
}

} // namespace

long Draw(const Image& image, CDeviceContext* dc, int x, int y, int cx, int cy, const QRect* clip, bool smooth) {
    QRect dest, visible;
    if (!image.IsEnabled() || !Place(image, dc, x, y, cx, cy, clip, dest, visible)) return 0;
    const bool blend = image.GetTransIndex() >= 0 || image.AlphaIsValid() || image.AlphaPaletteIsEnabled();
    Compose(image, dc, dest, visible, smooth, blend ? Mode::Blend : Mode::Copy);
    return 1;
}

long Draw(const Image& image, CDeviceContext* dc, const QRect& rect, const QRect* clip, bool smooth) {
    return Draw(image, dc, rect.x(), rect.y(), rect.width(), rect.height(), clip, smooth);
}

long Draw2(const Image& image, CDeviceContext* dc, int x, int y, int cx, int cy) {
    QRect dest, visible;
    if (!image.IsEnabled() || !Place(image, dc, x, y, cx, cy, nullptr, dest, visible)) return 0;
    const int32_t index = image.GetTransIndex();
    if (index < 0) {
        Compose(image, dc, dest, visible, false, Mode::Copy);
        return 1;
    }
    const RGBQUAD trans = image.IsIndexed() ? image.GetPaletteColor(static_cast<uint8_t>(index)) : image.GetTransColor();
    const uint32_t key = (static_cast<uint32_t>(trans.rgbRed) << 16) | (static_cast<uint32_t>(trans.rgbGreen) << 8) |
                         trans.rgbBlue;
    Compose(image, dc, dest, visible, false, Mode::Masked, key);
    return 1;
}

long Draw2(const Image& image, CDeviceContext* dc, const QRect& rect) {
    return Draw2(image, dc, rect.x(), rect.y(), rect.width(), rect.height());
}

long Stretch(const Image& image, CDeviceContext* dc, int x, int y, int cx, int cy, uint32_t rop) {
    QRect dest, visible;
    if (!Place(image, dc, x, y, cx, cy, nullptr, dest, visible)) return 0;
    Compose(image, dc, dest, visible, false, rop == SRCCOPY ? Mode::Copy : Mode::Rop, rop);
    return 1;
}

long Stretch(const Image& image, CDeviceContext* dc, const QRect& rect, uint32_t rop) {
    return Stretch(image, dc, rect.x(), rect.y(), rect.width(), rect.height(), rop);
}

long Tile(const Image& image, CDeviceContext* dc, const QRect& rect) {
    if (!image.IsValid() || !dc || rect.isEmpty()) return 0;
    const QRect area = rect & dc->GetClipBox();
    if (area.isEmpty()) return 0;
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    // Tiles wholly outside the clip box are skipped without a call.
    const int left = rect.left() + (area.left() - rect.left()) / w * w;
    const int top = rect.top() + (area.top() - rect.top()) / h * h;
    long drawn = 0;
    for (int ty = top; ty <= area.bottom(); ty += h)
        for (int tx = left; tx <= area.right(); tx += w) drawn |= Draw(image, dc, tx, ty, w, h, &rect);
    return drawn;
}

} // namespace vimg::display
