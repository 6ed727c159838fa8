// One paint of the image view on a 1920 x 1080 viewport showing a
// 20-megapixel picture at 1:1, 1:4 and 4:1, with and without smoothing,
// scrolled to a new place before every paint so nothing is reused. Only the
// visible part is composed; the target is a median under 16 ms. Runs on
// Qt's offscreen platform unless another is chosen.
#include <cstdlib>
#include <memory>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include "Image.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "UserMessages.h"

namespace {

// 5472 x 3648 (20 megapixels): gradients with a fine texture, as a stage
// micrometer under a microscope looks.
std::unique_ptr<vimg::Image> Picture() {
    auto image = std::make_unique<vimg::Image>(5472, 3648, 24);
    for (uint32_t y = 0; y < image->GetHeight(); ++y) {
        uint8_t* p = image->GetBits(y);
        for (uint32_t x = 0; x < image->GetWidth(); ++x, p += 3) {
            p[0] = static_cast<uint8_t>(x / 22);
            p[1] = static_cast<uint8_t>(y / 15);
            p[2] = static_cast<uint8_t>(((x / 8 + y / 8) & 1) ? 200 : 60);
        }
    }
    return image;
}

struct Scene {
    Scene() {
        doc = new CKXViewDoc; // deletes itself with its last view
        view = new CKXViewView;
        doc->AddView(view);
        doc->SetImage(Picture());
        // Bars always shown: the viewport keeps its size at every zoom.
        view->ScrollArea()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->ScrollArea()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->resize(1920, 1080);
        view->show();
        QCoreApplication::processEvents();
        // Grown by what the scroll bars take, so the picture gets 1920 x 1080.
        view->resize(view->size() + QSize(1920, 1080) - view->ScrollArea()->viewport()->size());
        QCoreApplication::processEvents();
    }
    ~Scene() { delete view; }
    CKXViewDoc* doc;
    CKXViewView* view;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_Paint(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.view->m_zoomFactor = static_cast<float>(state.range(0)) / 100.0f;
    scene.view->m_smooth = state.range(1) != 0;
    scene.doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    QCoreApplication::processEvents();
    QWidget* port = scene.view->ScrollArea()->viewport();
    if (port->size() != QSize(1920, 1080)) state.SkipWithError("viewport is not 1920 x 1080");
    QScrollBar* h = scene.view->ScrollArea()->horizontalScrollBar();
    QScrollBar* v = scene.view->ScrollArea()->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++step;
        h->setValue(h->maximum() * (step % 7) / 7);
        v->setValue(v->maximum() * (step % 5) / 5);
        state.ResumeTiming();
        port->repaint();
    }
    state.SetLabel(QStringLiteral("%1 x %2 viewport").arg(port->width()).arg(port->height()).toStdString());
}

// Zoom in percent, smoothing.
BENCHMARK(BM_Paint)
    ->ArgsProduct({{100, 25, 400}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
