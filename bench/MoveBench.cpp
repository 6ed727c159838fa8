// Moving an image hands over its blocks: the time must not depend on the
// picture's size. Copying the same picture is timed beside it for scale.
#include "Image.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace {

// 100 megapixels at 24 bits (300 MB), with an alpha plane and a selection.
vimg::Image& Picture() {
    static vimg::Image picture = [] {
        vimg::Image img(10000, 10000, 24, 0);
        img.AlphaCreate();
        img.SelectionCreate();
        return img;
    }();
    return picture;
}

void BM_Move100Megapixels(benchmark::State& state) {
    vimg::Image a(std::move(Picture()));
    vimg::Image b;
    for (auto _ : state) {
        b = std::move(a);
        a = std::move(b);
        benchmark::DoNotOptimize(a.GetDIB());
    }
    Picture() = std::move(a);
    state.SetLabel("two moves per iteration");
}
BENCHMARK(BM_Move100Megapixels)->Unit(benchmark::kMicrosecond);

void BM_Copy100Megapixels(benchmark::State& state) {
    for (auto _ : state) {
        vimg::Image copy(Picture());
        benchmark::DoNotOptimize(copy.GetDIB());
    }
}
BENCHMARK(BM_Copy100Megapixels)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
