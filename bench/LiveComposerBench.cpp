// The camera preview with live merging on: frames per second the simulated
// camera (1280 x 960, real-timed) brings, how many of them the preview shows
// (paints of the live view), how many are merged and how many skipped while a
// merge runs, and the UI thread's largest gap. EDF with the focus sweeping up
// and down, Panorama with the stage drifting 6 specimen pixels a frame. Run
// under a display or with QT_QPA_PLATFORM=offscreen; BENCH_SECONDS sets the
// length (default 10).
#include <cmath>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "CameraLibrary.h"
#include "EventLoopGaps.h"
#include "KXCamera.h"
#include "LiveComposer.h"
#include "LiveView.h"
#include "MessageTarget.h"
#include "PreviewWindow.h"
#include "SimCamera.h"

namespace {

// Hands each frame shown to the composer, as the capture control does.
class FrameTarget : public CMessageTarget {
public:
    explicit FrameTarget(CLiveComposer& composer) : m_composer(composer) {}
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override {
        if (message == 1273) m_composer.Submit(kxcam::CameraLibrary::Instance().CurrentFrame());
        return 0;
    }

private:
    CLiveComposer& m_composer;
};

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

void LivePreview(benchmark::State& state, CLiveComposer::Kind kind) {
    const int seconds = qEnvironmentVariableIntValue("BENCH_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("BENCH_SECONDS")
                            : 10;
    auto& library = kxcam::CameraLibrary::Instance();
    kxcam::SimCamera* sim = nullptr;
    library.SetEnumerator([&sim] {
        std::vector<std::unique_ptr<kxcam::CameraDevice>> list;
        auto camera = std::make_unique<kxcam::SimCamera>(2);
        sim = camera.get();
        list.push_back(std::move(camera));
        return list;
    });
    library.Refresh();
    CLiveComposer composer;
    FrameTarget target(composer);
    // The preview passes the frame messages on to its main window, here the target.
    CPreviewWindow preview(&target, nullptr);
    preview.resize(1000, 780);
    preview.SetArea(1011, 910);
    preview.show();
    for (auto _ : state) {
        if (KXCameraInit(1, preview.Display(), &target) != 1) {
            state.SkipWithError("camera did not start");
            return;
        }
        KXCameraPlay();
        int w = 1280, h = 960;
        KXCameraGetImageSize(&w, &h);
        preview.Fit(w, h);
        KXCameraSetVideoMessage(1273);
        KXCameraDisplayEnable(1);
        composer.Start(kind, 0, QStringLiteral("bench"));
        auto* view = new CLiveView(&composer, preview.Display());
        PaintCounter counter;
        view->installEventFilter(&counter);

        // The stage moves on a timer of its own: focus up and down, or a slow drift.
        const kxcam::StagePosition home = kxcam::SimPicture::Home();
        int tick = 0;
        QTimer mover;
        QObject::connect(&mover, &QTimer::timeout, [&] {
            ++tick;
            if (kind == CLiveComposer::Kind::FocusStack)
                sim->SetStage({home.x, home.y, home.z + 12 * std::sin(tick * 0.05)});
            else
                sim->SetStage({home.x - 600 + 6 * (tick % 200), home.y, home.z});
        });
        mover.start(40);

        EventLoopGaps gaps;
        gaps.Start();
        const uint64_t shownBefore = library.FramesShown();
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
        QApplication::exec();
        const double elapsed = gaps.Stop();
        mover.stop();
        state.counters["frames_per_s"] = (library.FramesShown() - shownBefore) / elapsed;
        state.counters["view_paints_per_s"] = counter.paints / elapsed;
        state.counters["merged_per_s"] = composer.Merged() / elapsed;
        state.counters["skipped_per_s"] = composer.Skipped() / elapsed;
        state.counters["ui_gap_max_ms"] = gaps.MaxMs();
        delete view;
        composer.Cancel();
        KXCameraUnInit();
    }
    library.SetEnumerator({});
}

} // namespace

BENCHMARK_CAPTURE(LivePreview, EDF, CLiveComposer::Kind::FocusStack)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(LivePreview, Panorama, CLiveComposer::Kind::Mosaic)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
