#include "LiveComposer.h"

#include <cstring>

#include <QEventLoop>
#include <QTimer>

#include "FocusStack.h"
#include "Image.h"
#include "ImageBitmap.h"
#include "LiveMosaic.h"
#include "MosaicStitcher.h"

namespace {

// A 24-bit library picture (rows bottom-up) as a Qt picture (rows top-down).
QImage ToQImage(const vimg::Image& image) {
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    if (!image.IsValid() || image.GetBpp() != 24 || w <= 0 || h <= 0) return {};
    QImage out(w, h, QImage::Format_BGR888);
    if (out.isNull()) return out;
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), image.GetBits(static_cast<uint32_t>(h - 1 - y)),
                    static_cast<size_t>(w) * 3);
    return out;
}

} // namespace

CLiveComposer::CLiveComposer() = default;

CLiveComposer::~CLiveComposer() {
    Cancel();
}

bool CLiveComposer::Start(Kind kind, double pixelSizeUm, const QString& camera) {
    if (m_kind != Kind::None || kind == Kind::None) return false;
    m_kind = kind;
    m_pixelSize = pixelSizeUm > 0 ? pixelSizeUm : 0;
    m_camera = camera;
    if (kind == Kind::FocusStack)
        m_stack = std::make_unique<vimg::FocusStack>();
    else
        m_mosaic = std::make_unique<vimg::compose::LiveMosaic>();
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
        m_pending = QImage();
        m_view = View();
        m_error.clear();
    }
    m_merged = 0;
    m_skipped = 0;
    m_busy = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CLiveComposer::Submit(const QImage& frame) {
    if (frame.isNull()) return;
    m_frame = frame;
    if (m_kind == Kind::None) return;
    emit ViewChanged(); // the inset shows the newest frame
    // The worker takes a frame only when idle: one that comes while a merge
    // runs would be stale by the time it is merged.
    if (m_busy.exchange(true)) {
        ++m_skipped;
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_pending = frame;
    }
    m_wake.notify_one();
}

void CLiveComposer::SetViewSize(QSize size) {
    if (size.width() < 16 || size.height() < 16) return;
    m_viewWidth = size.width();
    m_viewHeight = size.height();
}

CLiveComposer::View CLiveComposer::LatestView() const {
    std::lock_guard lock(m_mutex);
    return m_view;
}

QString CLiveComposer::LastError() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

void CLiveComposer::Run() {
    for (;;) {
        QImage frame;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_pending.isNull(); });
            if (m_pending.isNull()) return; // stopped with nothing left to merge
            frame = std::move(m_pending);
            m_pending = QImage();
        }
        Merge(frame);
        m_busy = false;
        QMetaObject::invokeMethod(
            this, [this] { emit ViewChanged(); }, Qt::QueuedConnection);
    }
}

void CLiveComposer::Merge(const QImage& frame) {
    std::unique_ptr<vimg::Image> image = vimg::display::FromQImage(frame);
    if (!image) return;
    image->SetPixelSize(m_pixelSize);
    image->SetCameraName(m_camera.toUtf8().constData());
    View view;
    std::string error;
    if (m_stack) {
        if (!m_stack->Add(*image)) {
            std::lock_guard lock(m_mutex);
            m_error = QString::fromStdString(m_stack->GetLastError());
            return;
        }
        // Half size is plenty for a preview and costs a quarter of the full collapse.
        vimg::Image result;
        if (m_stack->GetResult(result, 1)) view.picture = ToQImage(result);
    } else {
        const auto report = m_mosaic->AddFrame(*image);
        vimg::Image preview;
        cv::Rect2d field;
        if (m_mosaic->GetPreview(m_viewWidth, m_viewHeight, preview, field, error)) {
            view.picture = ToQImage(preview);
            view.field = QRectF(field.x, field.y, field.width, field.height);
        }
        view.lost = m_mosaic->CurrentField().lost;
        if (report.outcome == vimg::compose::LiveMosaic::Outcome::MosaicFull) error = "mosaic full";
        const size_t bytes = static_cast<size_t>(image->GetEffWidth()) * image->GetHeight();
        if (report.outcome == vimg::compose::LiveMosaic::Outcome::Added) {
            m_keptAll = m_keptAll && m_kept.size() < kKeepFrames && m_keptBytes + bytes <= kKeepBytes;
            if (m_keptAll) {
                m_keptBytes += bytes;
                m_kept.push_back(std::move(image));
            }
        }
    }
    ++m_merged;
    std::lock_guard lock(m_mutex);
    if (!view.picture.isNull()) m_view = std::move(view);
    if (!error.empty()) m_error = QString::fromStdString(error);
}

void CLiveComposer::Stop(bool escape) {
    if (!m_thread.joinable()) return;
    if (escape && m_stack) m_stack->SetEscape(1);
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        // Escaping drops a frame not yet taken; finishing merges it first.
        if (escape) m_pending = QImage();
    }
    m_wake.notify_one();
    m_thread.join();
    m_busy = false;
}

std::unique_ptr<vimg::Image> CLiveComposer::Finish() {
    if (m_kind == Kind::None) return nullptr;
    Stop(false);
    auto result = std::make_unique<vimg::Image>();
    bool ok = false;
    std::string error;
    if (m_stack) {
        ok = m_stack->GetFrameCount() > 0 && m_stack->GetResult(*result);
        if (!ok) error = m_stack->GetFrameCount() > 0 ? m_stack->GetLastError() : "no frame merged";
    } else {
        m_kind = Kind::None; // frames shown while the stitch runs are not taken
        if (auto stitched = StitchKept())
            result = std::move(stitched), ok = true;
        else
            ok = m_mosaic->GetMosaic(*result, error);
    }
    m_stack.reset();
    m_mosaic.reset();
    m_kept.clear();
    m_keptBytes = 0;
    m_keptAll = true;
    m_kind = Kind::None;
    if (!ok) {
        std::lock_guard lock(m_mutex);
        m_error = QString::fromStdString(error);
        return nullptr;
    }
    result->SetPixelSize(m_pixelSize);
    result->SetCameraName(m_camera.toUtf8().constData());
    return result;
}

std::unique_ptr<vimg::Image> CLiveComposer::StitchKept() {
    // Without every frame the stitch would leave holes the live mosaic fills.
    if (m_kept.size() < 2 || !m_keptAll) return nullptr;
    std::vector<const vimg::Image*> pictures;
    for (const auto& picture : m_kept)
        pictures.push_back(picture.get());
    vimg::compose::MosaicStitcher::Settings settings;
    settings.flatField = true;
    vimg::compose::MosaicStitcher stitcher(settings);
    auto mosaic = std::make_unique<vimg::Image>();
    std::vector<vimg::compose::MosaicStitcher::TileResult> tiles;
    // On a thread of its own while the preview keeps painting; input waits.
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread worker([&] {
        ok = stitcher.Stitch(pictures, *mosaic, tiles);
        done = true;
    });
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done) loop.quit();
    });
    tick.start(20);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (!ok) return nullptr;
    for (const auto& tile : tiles)
        if (!tile.placed) return nullptr;
    return mosaic;
}

void CLiveComposer::Cancel() {
    Stop(true);
    m_stack.reset();
    m_mosaic.reset();
    m_kept.clear();
    m_keptBytes = 0;
    m_keptAll = true;
    m_kind = Kind::None;
}
