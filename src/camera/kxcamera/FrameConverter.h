// Camera buffers to RGB32 pictures: packed YUYV 4:2:2 (ITU-R BT.601, studio
// range) and Motion JPEG frames (through the image library's JPEG reader,
// which also takes frames without Huffman tables). Null on bad input.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QImage>

namespace kxcam {

class FrameConverter {
public:
    static QImage FromYuyv(const uint8_t* data, size_t size, int width, int height, int bytesPerLine);
    static QImage FromMjpeg(const uint8_t* data, size_t size);
    // The per-pixel definition the row loop follows.
    static void YuvToRgb(int y, int u, int v, uint8_t* r, uint8_t* g, uint8_t* b);
};

} // namespace kxcam
