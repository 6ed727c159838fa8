// Geometry operations on a 4000 x 3000 24-bit picture, with a plain copy of
// the pixel block as the memory-bound yardstick. bench/geometry_vs_peers.sh
// runs the same operations through ImageMagick and libvips beside these.
#include "Image.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

const vimg::Image& Picture() {
    static const vimg::Image picture = [] {
        vimg::Image img(4000, 3000, 24, 0);
        std::mt19937 rng(1);
        for (uint32_t y = 0; y < img.GetHeight(); ++y) {
            uint8_t* row = img.GetBits(y);
            for (uint32_t x = 0; x < img.GetEffWidth(); ++x)
                row[x] = static_cast<uint8_t>((x * 7 + y * 3 + (rng() & 15)) & 0xFF);
        }
        return img;
    }();
    return picture;
}

void BM_Memcpy(benchmark::State& state) {
    const vimg::Image& src = Picture();
    std::vector<uint8_t> dst(src.GetHeader().biSizeImage);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.GetBits(0), dst.size());
        benchmark::DoNotOptimize(dst.data());
    }
}

// In-place operations work on a fresh copy each time; the copy is not timed.
template <typename Op> void InPlace(benchmark::State& state, Op op) {
    for (auto _ : state) {
        state.PauseTiming();
        vimg::Image img(Picture());
        state.ResumeTiming();
        benchmark::DoNotOptimize(op(img));
    }
}

template <typename Op> void ToDest(benchmark::State& state, Op op) {
    vimg::Image src(Picture());
    for (auto _ : state) {
        vimg::Image dst;
        benchmark::DoNotOptimize(op(src, dst));
    }
}

void BM_Mirror(benchmark::State& s) {
    InPlace(s, [](vimg::Image& i) { return i.Mirror(); });
}
void BM_Flip(benchmark::State& s) {
    InPlace(s, [](vimg::Image& i) { return i.Flip(); });
}
void BM_RotateLeft(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) { return i.RotateLeft(&d); });
}
void BM_RotateRightInPlace(benchmark::State& s) {
    InPlace(s, [](vimg::Image& i) { return i.RotateRight(); });
}
void BM_Crop(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) { return i.Crop(500, 500, 3500, 2500, &d); });
}
void BM_ResampleMode0(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) { return i.Resample(1600, 1200, 0, &d); });
}
void BM_Resample2Bilinear(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) {
        return i.Resample2(1600, 1200, vimg::Image::IM_BILINEAR, vimg::Image::OM_REPEAT, &d);
    });
}
void BM_Resample2Bicubic(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) {
        return i.Resample2(1600, 1200, vimg::Image::IM_BICUBIC2, vimg::Image::OM_REPEAT, &d);
    });
}
void BM_Rotate2Bilinear(benchmark::State& s) {
    ToDest(s, [](vimg::Image& i, vimg::Image& d) {
        return i.Rotate2(12.345f, &d, vimg::Image::IM_BILINEAR, vimg::Image::OM_BACKGROUND);
    });
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Flip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateRightInPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleMode0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample2Bilinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample2Bicubic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate2Bilinear)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
