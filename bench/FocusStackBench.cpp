// Live focus stacking at the camera's 1280 x 960: merging one frame into a
// running result (the goal is under 40 ms), with and without alignment, and
// the merged picture (full or half size) and depth map read back for the
// preview.
#include "FocusStack.h"
#include "Image.h"

#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include <vector>

namespace {

constexpr int kWidth = 1280, kHeight = 960, kFrames = 8;

// A textured colour picture focused at eight depths, each frame also shifted
// by a pixel or so, as a hand-held focus knob does.
const std::vector<vimg::Image>& Frames() {
    static const std::vector<vimg::Image> frames = [] {
        cv::Mat texture(kHeight + 40, kWidth + 40, CV_8UC3);
        cv::randu(texture, cv::Scalar::all(0), cv::Scalar::all(255));
        cv::GaussianBlur(texture, texture, cv::Size(0, 0), 1.2);
        std::vector<vimg::Image> list;
        for (int k = 0; k < kFrames; ++k) {
            cv::Mat blurred;
            cv::GaussianBlur(texture, blurred, cv::Size(0, 0), 0.3 + 0.6 * k);
            const cv::Mat shifted = blurred(cv::Rect(20 + k % 3, 20 + k % 2, kWidth, kHeight));
            vimg::Image img(kWidth, kHeight, 24);
            for (int y = 0; y < kHeight; ++y)
                std::copy_n(shifted.ptr<uint8_t>(y), kWidth * 3, img.GetBits(static_cast<uint32_t>(y)));
            list.push_back(std::move(img));
        }
        return list;
    }();
    return frames;
}

// One Add per iteration into a stack that already holds every frame once.
// `halvings` < 0: no result read back after each Add.
void AddFrame(benchmark::State& state, bool align, int halvings) {
    vimg::FocusStack stack(vimg::FocusStackOptions{align, true});
    for (const vimg::Image& f : Frames())
        stack.Add(f);
    vimg::Image result;
    size_t next = 0;
    for (auto _ : state) {
        if (!stack.Add(Frames()[next++ % kFrames])) state.SkipWithError("Add failed");
        if (halvings >= 0 && !stack.GetResult(result, halvings)) state.SkipWithError("GetResult failed");
    }
}

void AddFrameAligned(benchmark::State& state) {
    AddFrame(state, true, -1);
}
void AddFrameUnaligned(benchmark::State& state) {
    AddFrame(state, false, -1);
}
void AddFrameAlignedAndResult(benchmark::State& state) {
    AddFrame(state, true, 0);
}
// What a live preview shown at 640 x 480 needs per frame.
void AddFrameAlignedAndHalfResult(benchmark::State& state) {
    AddFrame(state, true, 1);
}

// GetResult or GetDepthMap of a stack holding every frame once.
void ReadBack(benchmark::State& state, bool depth) {
    vimg::FocusStack stack;
    for (const vimg::Image& f : Frames())
        stack.Add(f);
    vimg::Image picture;
    for (auto _ : state)
        if (!(depth ? stack.GetDepthMap(picture) : stack.GetResult(picture))) state.SkipWithError("failed");
}

void ResultOnly(benchmark::State& state) {
    ReadBack(state, false);
}
void DepthMapOnly(benchmark::State& state) {
    ReadBack(state, true);
}

BENCHMARK(AddFrameAligned)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(AddFrameUnaligned)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(AddFrameAlignedAndResult)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(AddFrameAlignedAndHalfResult)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ResultOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(DepthMapOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
