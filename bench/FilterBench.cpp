// Timings of the pixel filters, tone and depth operations on a 4000 x 3000
// 24-bit picture. `filter_bench --write-image FILE` writes the picture as BMP
// so that other programs can be timed on the same pixels.
#include "Image.h"
#include "ReduceBitDepth.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

namespace {

// A microscope-like picture: smooth shading, a few large blobs, sensor noise.
const vimg::Image& Picture() {
    static const vimg::Image picture = [] {
        const int w = 4000, h = 3000;
        vimg::Image img(w, h, 24, 0);
        std::mt19937 rng(2024);
        std::uniform_int_distribution<int> noise(-12, 12);
        for (int y = 0; y < h; ++y) {
            uint8_t* p = img.GetBits(static_cast<uint32_t>(y));
            for (int x = 0; x < w; ++x, p += 3) {
                const int dx = (x % 800) - 400, dy = (y % 600) - 300;
                const int blob = dx * dx + dy * dy < 200 * 200 ? 70 : 0;
                const int base[3] = {40 + x * 150 / w + blob, 60 + y * 120 / h,
                                     90 + (x + y) * 100 / (w + h) - blob / 2};
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(std::clamp(base[c] + noise(rng), 0, 255));
            }
        }
        return img;
    }();
    return picture;
}

void Run(benchmark::State& state, const std::function<bool(vimg::Image&)>& op) {
    for (auto _ : state) {
        state.PauseTiming();
        vimg::Image img(Picture());
        state.ResumeTiming();
        if (!op(img)) state.SkipWithError("the operation failed");
        benchmark::DoNotOptimize(img.GetBits(0));
    }
}

const int32_t kBox3[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
const int32_t kGauss5[25] = {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8, 4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0};
const int32_t kSharpen3[9] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};

#define VBENCH(name, expr)                                                                                   \
    void name(benchmark::State& state) {                                                                     \
        Run(state, [](vimg::Image& img) { return expr; });                                                   \
    }                                                                                                        \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)

VBENCH(BoxBlur3, img.Filter(kBox3, 3, 9, 0));
VBENCH(Gaussian5, img.Filter(kGauss5, 5, 52, 0));
VBENCH(Sharpen3, img.Filter(kSharpen3, 3, 7, 0));
VBENCH(Median3, img.Median(3));
VBENCH(Erode2, img.Erode(2));
VBENCH(Dilate2, img.Dilate(2));
VBENCH(Gamma, img.Gamma(1.23f));
VBENCH(Negate, img.Negative());
VBENCH(GrayScale, img.GrayScale());
VBENCH(Equalize, img.HistogramEqualize());
VBENCH(Normalize, img.HistogramNormalize());
VBENCH(Threshold, img.Threshold(128));
VBENCH(FloydSteinberg, img.Dither(0));
VBENCH(Octree256, vimg::ReduceBitDepth(img, 8, false, true, 256));

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-image") == 0) {
        vimg::Image img(Picture());
        if (img.Save(argv[2], vimg::FORMAT_BMP)) return 0;
        std::fprintf(stderr, "filter_bench: %s: %s\n", argv[2], img.GetLastError());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
