// The view's paint: a 20-megapixel picture (5472 x 3648, 24 bits) drawn into a
// 1920 x 1080 viewport scrolled to its middle, at 1:1, 0.25 and 4x zoom, with
// and without smoothing, opaque and with an alpha plane. Only the visible part
// is composed; the target for one paint is under 16 ms. "Time" is the wall
// clock, "CPU" the processor time of all threads. Report the medians:
//   DisplayBench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include "ImageDraw.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

constexpr int kViewWidth = 1920, kViewHeight = 1080;

const vimg::Image& Picture(bool alpha) {
    static const vimg::Image opaque = [] {
        vimg::Image img(5472, 3648, 24, 0);
        std::mt19937 rng(1);
        for (uint32_t y = 0; y < img.GetHeight(); ++y) {
            uint8_t* row = img.GetBits(y);
            for (uint32_t x = 0; x < img.GetEffWidth(); ++x)
                row[x] = static_cast<uint8_t>((x * 7 + y * 3 + (rng() & 15)) & 0xFF);
        }
        return img;
    }();
    static const vimg::Image blended = [] {
        vimg::Image img(opaque);
        img.AlphaCreate();
        for (uint32_t y = 0; y < img.GetHeight(); ++y) {
            uint8_t* a = img.AlphaGetPointer(0, static_cast<int32_t>(y));
            for (uint32_t x = 0; x < img.GetWidth(); ++x)
                a[x] = static_cast<uint8_t>((x + y) & 0xFF);
        }
        return img;
    }();
    return alpha ? blended : opaque;
}

// Arguments: zoom in percent, smoothing, alpha plane.
void BM_Paint(benchmark::State& state) {
    const vimg::Image& img = Picture(state.range(2) != 0);
    const double zoom = static_cast<double>(state.range(0)) / 100.0;
    const bool smooth = state.range(1) != 0;
    const int cx = static_cast<int>(img.GetWidth() * zoom), cy = static_cast<int>(img.GetHeight() * zoom);
    const int x = -std::max(0, cx - kViewWidth) / 2, y = -std::max(0, cy - kViewHeight) / 2;
    CDeviceContext dc(kViewWidth, kViewHeight, Qt::darkGray);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vimg::display::Draw(img, &dc, x, y, cx, cy, nullptr, smooth));
        benchmark::ClobberMemory();
    }
    state.counters["visible_px"] = static_cast<double>(std::min(cx, kViewWidth)) * std::min(cy, kViewHeight);
}

} // namespace

BENCHMARK(BM_Paint)
    ->ArgNames({"zoom%", "smooth", "alpha"})
    ->ArgsProduct({{100, 25, 400}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK_MAIN();
