// The live camera histogram at 1280 x 960: how long one frame takes to count,
// and whether the simulated camera's preview keeps its frame rate while the
// histogram bar follows it. PreviewWithHistogram/0 runs without the bar (the
// baseline), /1 with it. Run under a display or with QT_QPA_PLATFORM=offscreen;
// BENCH_SECONDS sets the length of the preview runs (default 10).
#include <algorithm>
#include <vector>

#include <QApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "CameraLibrary.h"
#include "EventLoopGaps.h"
#include "HistogramBar.h"
#include "KXCamera.h"
#include "LiveHistogram.h"
#include "PreviewWindow.h"

namespace {

void CountFrame1280x960(benchmark::State& state) {
    QImage frame(1280, 960, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < frame.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) row[x] = random.generate() | 0xff000000u;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CLiveHistogram::Count(frame).max);
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void PreviewWithHistogram(benchmark::State& state) {
    const bool withBar = state.range(0) != 0;
    const int seconds = qEnvironmentVariableIntValue("BENCH_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("BENCH_SECONDS")
                            : 10;
    qputenv("VISTOREL_SIM_CAMERA_TYPE", "2");
    CPreviewWindow preview(nullptr, nullptr);
    preview.resize(1000, 780);
    preview.SetArea(1011, 910);
    preview.show();
    CHistogramBar bar;
    bar.m_cameraMode = [] { return true; };
    bar.m_activeDocument = [] { return nullptr; };
    bar.resize(260, 240);
    if (withBar) bar.show();
    KXCamera_ReflashCamera();
    for (auto _ : state) {
        if (KXCameraInit(1, preview.Display(), nullptr) != 1) {
            state.SkipWithError("camera did not start");
            return;
        }
        KXCameraPlay();
        int w = 640, h = 480;
        KXCameraGetImageSize(&w, &h);
        preview.Fit(w, h);
        KXCameraDisplayEnable(1);

        EventLoopGaps gaps;
        gaps.Start();
        const uint64_t shownBefore = kxcam::CameraLibrary::Instance().FramesShown();
        const uint64_t updatesBefore = bar.LiveUpdates();
        const uint64_t skippedBefore = bar.LiveCounter().Skipped();
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
        QApplication::exec();
        const double elapsed = gaps.Stop();
        KXCameraUnInit();

        state.counters["width"] = w;
        state.counters["frames_per_s"] =
            (kxcam::CameraLibrary::Instance().FramesShown() - shownBefore) / elapsed;
        state.counters["histograms_per_s"] = (bar.LiveUpdates() - updatesBefore) / elapsed;
        state.counters["frames_skipped"] = static_cast<double>(bar.LiveCounter().Skipped() - skippedBefore);
        state.counters["ui_gap_median_ms"] = gaps.MedianMs();
        state.counters["ui_gap_max_ms"] = gaps.MaxMs();
    }
}

} // namespace

BENCHMARK(CountFrame1280x960)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewWithHistogram)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
