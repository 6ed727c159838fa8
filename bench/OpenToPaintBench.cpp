// Opening a 20-megapixel JPEG and TIFF as the "Öffnen" command does, timed
// from the call to the end of the first paint of the new view, beside the
// library's own decode of the same file in the same process. The goal: the
// open-to-paint time is at most the decode time plus 50 ms ("overhead_ms").
// Runs on Qt's offscreen platform unless another is chosen.
#include <cstdlib>
#include <ctime>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "Image.h"
#include "KXViewApp.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "MultiDocTemplate.h"

namespace {

// 5472 x 3648 with a texture, so the JPEG is of a realistic size.
std::unique_ptr<vimg::Image> Picture() {
    auto image = std::make_unique<vimg::Image>(5472, 3648, 24);
    uint32_t state = 2024;
    for (uint32_t y = 0; y < image->GetHeight(); ++y) {
        uint8_t* p = image->GetBits(y);
        for (uint32_t i = 0; i < image->GetWidth() * 3; ++i) {
            state = state * 1664525u + 1013904223u;
            p[i] = static_cast<uint8_t>((i / 3 + 2 * y) / 30 + (state >> 29));
        }
    }
    return image;
}

// CPU time of the whole process (all threads), which shared cores disturb less than wall time.
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool InImageView(QObject* object) {
    for (auto* widget = qobject_cast<QWidget*>(object); widget; widget = widget->parentWidget())
        if (dynamic_cast<CKXViewView*>(widget)) return true;
    return false;
}

// Notes when the first paint of an image view is over: the window paints all
// its parts in one pass and then shows them, so the first event of another
// kind after the view's paint marks the picture on screen. Ends the loop then.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QEventLoop& loop) : m_loop(loop) { m_clock.start(); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            m_viewPainted = m_viewPainted || InImageView(object);
        } else if (m_viewPainted && m_shownMs < 0) {
            m_shownMs = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
            m_shownCpuMs = ProcessCpuMs();
            QMetaObject::invokeMethod(&m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        }
        return false;
    }
    double ShownMs() const { return m_shownMs; }
    double ShownCpuMs() const { return m_shownCpuMs; }

private:
    QEventLoop& m_loop;
    QElapsedTimer m_clock;
    bool m_viewPainted = false;
    double m_shownMs = -1, m_shownCpuMs = 0;
};

void OpenToPaint(benchmark::State& state, uint32_t type, const char* name) {
    QTemporaryDir home;
    const QString path = home.filePath(QString::fromLatin1(name));
    if (!Picture()->Save(path.toLocal8Bit().constData(), type)) {
        state.SkipWithError("the test picture could not be written");
        return;
    }
    CKXViewApp app(home.filePath(QStringLiteral("Vistorel.ini")));
    if (!app.InitInstance({})) {
        state.SkipWithError("the program did not start");
        return;
    }
    app.CloseAllDocuments();
    QCoreApplication::processEvents();

    double decodeTotal = 0, openTotal = 0, decodeCpu = 0, openCpu = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        double cpu = ProcessCpuMs();
        clock.start();
        vimg::Image decoded;
        const bool read = decoded.Load(path.toLocal8Bit().constData(), type);
        const double decodeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        decodeCpu += ProcessCpuMs() - cpu;
        if (!read) {
            state.SkipWithError("the library could not read the test picture");
            return;
        }

        QEventLoop loop;
        QTimer giveUp; // a view that never paints is reported, not waited for
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
        cpu = ProcessCpuMs();
        FirstPaint filter(loop);
        qApp->installEventFilter(&filter);
        auto* doc = app.m_pDocTemplate->OpenDocumentFile(path);
        giveUp.start(30000);
        loop.exec();
        qApp->removeEventFilter(&filter);
        const double openMs = filter.ShownMs();
        openCpu += filter.ShownCpuMs() - cpu;
        if (!doc || openMs < 0) {
            state.SkipWithError("the picture was not opened and painted");
            return;
        }
        decodeTotal += decodeMs;
        openTotal += openMs;
        app.CloseAllDocuments();
        QCoreApplication::processEvents();
    }
    const auto mean = benchmark::Counter::kAvgIterations;
    state.counters["decode_ms"] = benchmark::Counter(decodeTotal, mean);
    state.counters["open_to_paint_ms"] = benchmark::Counter(openTotal, mean);
    state.counters["overhead_ms"] = benchmark::Counter(openTotal - decodeTotal, mean);
    state.counters["decode_cpu_ms"] = benchmark::Counter(decodeCpu, mean);
    state.counters["open_cpu_ms"] = benchmark::Counter(openCpu, mean);
}

} // namespace

BENCHMARK_CAPTURE(OpenToPaint, Jpeg20MP, vimg::FORMAT_JPG, "picture.jpg")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(OpenToPaint, Tiff20MP, vimg::FORMAT_TIF, "picture.tif")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
