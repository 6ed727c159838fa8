// Time to make one frame of the simulated microscope on one core, at each of
// its resolutions: with noise and the stage still, and with the stage and
// focus moving every frame (arrow keys held). 25 frames a second need < 40 ms.
#include <benchmark/benchmark.h>

#include "SimPicture.h"

namespace {

void Frame(benchmark::State& state) {
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)) * 3 / 4);
    const bool moving = state.range(1) != 0;
    const kxcam::SimPicture picture(size);
    kxcam::StagePosition stage = kxcam::SimPicture::Home();
    QImage frame;
    uint64_t n = 0;
    for (auto _ : state) {
        if (moving) {
            stage.x += (n % 40 < 20) ? 13 : -13;
            stage.z += (n % 20 < 10) ? 0.5 : -0.5;
        }
        picture.Render(n++, stage, frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsRate);
}

BENCHMARK(Frame)
    ->ArgsProduct({{640, 1280, 2048}, {0, 1}})
    ->ArgNames({"width", "moving"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
