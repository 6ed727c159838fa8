// A 3 x 3 median of a 20-megapixel picture run through the document, as the
// menu command runs it: the worker filters while the user-interface thread
// keeps serving events. Measures the event loop's longest stall (the largest
// gap between the fires of a 10 ms timer; the target is under 50 ms) and how
// often the progress text in the status bar advanced; apart, the time the
// command takes to start and the last gap (the finish). Runs on Qt's offscreen
// platform unless another is chosen.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "Image.h"
#include "KXViewApp.h"
#include "KXViewDoc.h"
#include "MainFrame.h"
#include "MultiDocTemplate.h"
#include "Resource.h"
#include "UserMessages.h"

namespace {

// 5472 x 3648 (20 megapixels) with a texture that keeps the median busy.
std::unique_ptr<vimg::Image> Picture() {
    auto image = std::make_unique<vimg::Image>(5472, 3648, 24);
    uint32_t state = 12345;
    for (uint32_t y = 0; y < image->GetHeight(); ++y) {
        uint8_t* p = image->GetBits(y);
        for (uint32_t i = 0; i < image->GetWidth() * 3; ++i) {
            state = state * 1664525u + 1013904223u;
            p[i] = static_cast<uint8_t>((i / 3 + y) / 40 + (state >> 28));
        }
    }
    return image;
}

void MedianOf20Megapixels(benchmark::State& state) {
    QTemporaryDir home;
    CKXViewApp app(home.filePath(QStringLiteral("Vistorel.ini")));
    if (!app.InitInstance({})) {
        state.SkipWithError("the program did not start");
        return;
    }
    app.CloseAllDocuments();
    for (auto _ : state) {
        auto* doc = dynamic_cast<CKXViewDoc*>(app.m_pDocTemplate->OpenDocumentFile(QString()));
        doc->SetImage(Picture());
        doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
        QCoreApplication::processEvents();

        // Gaps while the job runs, apart from the start and the finish (the
        // document takes the result and the views refresh).
        std::vector<double> gaps;
        double finishGap = 0;
        std::vector<QString> texts;
        QElapsedTimer clock;
        // A loop of its own: quitting the application's would close the main window.
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        qint64 last = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            const double gap = static_cast<double>(now - last) / 1e6;
            last = now;
            const QString text = app.MainFrame()->PaneText(2);
            if (texts.empty() || texts.back() != text) texts.push_back(text);
            if (doc->IsBusy()) {
                gaps.push_back(gap);
            } else {
                finishGap = gap;
                loop.quit();
            }
        });
        clock.start();
        app.MainFrame()->ExecuteCommand(ID_FILTER_MEDIAN);
        const double startMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        last = clock.nsecsElapsed();
        tick.start(10);
        loop.exec();
        tick.stop();

        std::sort(gaps.begin(), gaps.end());
        const auto percentages =
            std::count_if(texts.begin(), texts.end(), [](const QString& t) { return t.endsWith(" %"); });
        state.counters["ui_gap_max_ms"] = gaps.empty() ? 0 : gaps.back();
        state.counters["ui_gap_median_ms"] = gaps.empty() ? 0 : gaps[gaps.size() / 2];
        state.counters["progress_texts"] = static_cast<double>(percentages);
        state.counters["median_s"] = doc->ElapsedSeconds();
        state.counters["start_ms"] = startMs;
        state.counters["finish_gap_ms"] = finishGap;
        std::string shown;
        for (const QString& t : texts)
            shown += t.toStdString() + " | ";
        state.SetLabel(shown);
        doc->MarkPictureChanged(false); // closing asks nothing
        app.CloseAllDocuments();
    }
}

} // namespace

BENCHMARK(MedianOf20Megapixels)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
