// Frames per second the simulated camera brings into the preview at 1280 x 960,
// and how long the UI thread is kept from its other work meanwhile (the largest
// gap between the fires of a 10 ms timer). Run under a display or with
// QT_QPA_PLATFORM=offscreen; BENCH_SECONDS sets the length (default 10).
#include <algorithm>
#include <chrono>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "CameraLibrary.h"
#include "EventLoopGaps.h"
#include "KXCamera.h"
#include "PreviewWindow.h"

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !kxcam::CameraLibrary::Instance().CurrentFrame().isNull())
            ++paints;
        return false;
    }
    int paints = 0;
};

void PreviewAt1280x960(benchmark::State& state) {
    const int seconds = qEnvironmentVariableIntValue("BENCH_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("BENCH_SECONDS")
                            : 10;
    qputenv("VISTOREL_SIM_CAMERA_TYPE", "2");
    CPreviewWindow preview(nullptr, nullptr);
    preview.resize(1000, 780);
    preview.SetArea(1011, 910);
    preview.show();
    PaintCounter counter;
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
        KXCameraSetVideoMessage(1273);
        KXCameraDisplayEnable(1);
        preview.Display()->installEventFilter(&counter); // after the library's: sees each paint first

        EventLoopGaps gaps;
        gaps.Start();
        const uint64_t shownBefore = kxcam::CameraLibrary::Instance().FramesShown();
        const int paintsBefore = counter.paints;
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
        QApplication::exec();
        const double elapsed = gaps.Stop();
        KXCameraUnInit();

        state.counters["frames_per_s"] =
            (kxcam::CameraLibrary::Instance().FramesShown() - shownBefore) / elapsed;
        state.counters["paints_per_s"] = (counter.paints - paintsBefore) / elapsed;
        state.counters["ui_gap_median_ms"] = gaps.MedianMs();
        state.counters["ui_gap_max_ms"] = gaps.MaxMs();
    }
}

} // namespace

BENCHMARK(PreviewAt1280x960)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
