#include "PixelLoop.h"

#include "Image.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vimg {

PixelBox WorkingBox(const Image& image) {
    const auto w = static_cast<int32_t>(image.GetWidth());
    const auto h = static_cast<int32_t>(image.GetHeight());
    if (!image.SelectionIsValid()) return PixelBox{0, 0, w, h};
    RECT r;
    image.SelectionGetBox(r);
    PixelBox b{std::clamp(r.left, 0, w), std::clamp(r.bottom, 0, h), std::clamp(r.right, 0, w),
               std::clamp(r.top, 0, h)};
    if (b.x1 < b.x0) b.x1 = b.x0;
    if (b.y1 < b.y0) b.y1 = b.y0;
    return b;
}

namespace {

// Rows below this count per band are not worth a thread.
constexpr int32_t kMinRowsPerBand = 16;

void SetProgress(const RowProgress& p, int32_t y) {
    if (!p.progress) return;
    const int64_t v = p.lo + static_cast<int64_t>(p.hi - p.lo) * y / std::max(p.height, 1);
    std::atomic_ref<int32_t>(*p.progress).store(static_cast<int32_t>(v), std::memory_order_relaxed);
}

bool Stopped(const RowProgress& p, bool checkEscape) {
    return checkEscape && p.escape &&
           std::atomic_ref<int32_t>(*p.escape).load(std::memory_order_relaxed) != 0;
}

} // namespace

bool ForEachRow(const RowProgress& p, int32_t y0, int32_t y1, bool parallel,
                const std::function<void(int32_t)>& row, bool checkEscape) {
    const int32_t rows = y1 - y0;
    if (rows <= 0) return true;
    int32_t bands = 1;
    if (parallel) {
        bands = static_cast<int32_t>(std::min(8u, std::max(1u, std::thread::hardware_concurrency())));
        bands = std::max(1, std::min(bands, rows / kMinRowsPerBand));
    }
    if (bands == 1) {
        for (int32_t y = y0; y < y1; ++y) {
            if (Stopped(p, checkEscape)) return false;
            SetProgress(p, y);
            row(y);
        }
        return true;
    }
    std::atomic<bool> stopped{false};
    // Band 0 runs on the calling thread and reports progress for the whole loop.
    const auto runBand = [&](int32_t band) {
        const int32_t from = y0 + static_cast<int32_t>(static_cast<int64_t>(rows) * band / bands);
        const int32_t to = y0 + static_cast<int32_t>(static_cast<int64_t>(rows) * (band + 1) / bands);
        for (int32_t y = from; y < to; ++y) {
            if (Stopped(p, checkEscape)) {
                stopped = true;
                return;
            }
            if (band == 0) SetProgress(p, y0 + (y - from) * bands);
            row(y);
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(bands - 1));
    int32_t inlineFrom = bands;
    for (int32_t b = 1; b < bands; ++b) {
        try {
            threads.emplace_back(runBand, b);
        } catch (const std::system_error&) {
            inlineFrom = b; // no thread to be had: the caller runs the rest
            break;
        }
    }
    runBand(0);
    for (int32_t b = inlineFrom; b < bands; ++b)
        runBand(b);
    for (std::thread& t : threads)
        t.join();
    return !stopped;
}

} // namespace vimg

namespace vimg {

bool CreateWithDepth(Image& dst, const Image& src, uint32_t bpp) {
    dst.Destroy();
    dst.CopyInfo(src);
    if (!dst.Create(src.GetWidth(), src.GetHeight(), bpp, src.GetType())) return false;
    dst.SetXDPI(src.GetXDPI());
    dst.SetYDPI(src.GetYDPI());
    dst.SetTransIndex(-1);
    return true;
}

} // namespace vimg
