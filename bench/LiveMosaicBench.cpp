// Live stitching: placing one 1280 x 960 camera frame against the mosaic built so
// far (registration, and blending when the frame brings new area), as the camera
// worker does for every frame while the stage moves; and the scaled preview the
// UI reads.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "Image.h"
#include "LiveMosaic.h"

using vimg::compose::LiveMosaic;

namespace {

const cv::Size kFrame(1280, 960);

// A seeded specimen with detail at several scales (stained cells at low power look much like it).
cv::Mat Specimen(cv::Size size) {
    cv::RNG rng(5);
    cv::Mat sum = cv::Mat::zeros(size, CV_32FC3);
    for (double sigma : {1.5, 5.0, 20.0}) {
        cv::Mat noise(size, CV_32FC3);
        rng.fill(noise, cv::RNG::NORMAL, 0, 1);
        cv::GaussianBlur(noise, noise, cv::Size(), sigma);
        cv::normalize(noise, noise, -1, 1, cv::NORM_MINMAX);
        sum += noise;
    }
    cv::Mat out;
    cv::normalize(sum, sum, 30, 225, cv::NORM_MINMAX);
    sum.convertTo(out, CV_8UC3);
    return out;
}

// Frames along a serpentine stage path, 150 px a frame, sub-pixel positions, sensor noise.
const std::vector<cv::Mat>& Frames() {
    static const std::vector<cv::Mat> frames = [] {
        const cv::Mat specimen = Specimen({4200, 3200});
        std::vector<cv::Mat> out;
        cv::RNG rng(9);
        for (int row = 0; row < 3; ++row)
            for (int k = 0; k < 18; ++k) {
                const double x = 40 + 150.3 * (row % 2 ? 17 - k : k), y = 40 + 700.7 * row + 4.1 * k;
                cv::Mat frame;
                cv::warpAffine(specimen, frame, cv::Matx23d(1, 0, -x, 0, 1, -y), kFrame, cv::INTER_LINEAR);
                cv::Mat grain(kFrame, CV_8UC3);
                rng.fill(grain, cv::RNG::NORMAL, 0, 2);
                out.push_back(frame + grain);
            }
        return out;
    }();
    return frames;
}

} // namespace

// Each iteration places the next frame of the path; the mosaic grows to about 4000 x 2500.
void BM_PlaceFrameGrowingMosaic(benchmark::State& state) {
    const std::vector<cv::Mat>& frames = Frames();
    auto live = std::make_unique<LiveMosaic>();
    size_t next = 0, added = 0, failed = 0;
    for (auto _ : state) {
        if (next == frames.size()) {
            state.PauseTiming();
            live = std::make_unique<LiveMosaic>();
            next = 0;
            state.ResumeTiming();
        }
        const LiveMosaic::Report r = live->AddFrame(frames[next++]);
        added += r.outcome == LiveMosaic::Outcome::Added;
        failed += r.outcome != LiveMosaic::Outcome::Added && r.outcome != LiveMosaic::Outcome::Placed;
    }
    state.counters["added"] = static_cast<double>(added);
    state.counters["not_placed"] = static_cast<double>(failed);
}
BENCHMARK(BM_PlaceFrameGrowingMosaic)->Unit(benchmark::kMillisecond)->Iterations(108);

// The stage stands still: registration only, nothing new to blend in.
void BM_PlaceFrameStandingStill(benchmark::State& state) {
    const std::vector<cv::Mat>& frames = Frames();
    LiveMosaic live;
    for (size_t k = 0; k < 10; ++k)
        live.AddFrame(frames[k]);
    for (auto _ : state)
        benchmark::DoNotOptimize(live.AddFrame(frames[9]));
}
BENCHMARK(BM_PlaceFrameStandingStill)->Unit(benchmark::kMillisecond);

// The UI's preview of a mosaic of a whole serpentine, scaled into a 640 x 480 pane.
void BM_PreviewOfMosaic(benchmark::State& state) {
    LiveMosaic live;
    for (const cv::Mat& frame : Frames())
        live.AddFrame(frame);
    vimg::Image preview;
    cv::Rect2d field;
    std::string error;
    for (auto _ : state)
        benchmark::DoNotOptimize(live.GetPreview(640, 480, preview, field, error));
    state.counters["mosaic_mp"] = live.MosaicSize().area() / 1e6;
}
BENCHMARK(BM_PreviewOfMosaic)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
