// Focus stacking ("EDF") and stitching ("Panorama") of the live camera picture.
// The UI thread hands in frames as they are shown; one worker thread of the
// composer merges them into a running FocusStack or LiveMosaic and makes the
// picture the preview shows (the half-size stack, or the mosaic shrunk to the
// preview's size with the current field). A frame that arrives while a merge
// runs is skipped, so the preview never waits for the merge and never falls
// behind. Finish waits for the merge in hand and gives the whole result.
//
// The live mosaic takes each new area whole, so the camera's vignetting shows
// as seams there. The frames it added are kept (see kKeepFrames), and Finish
// stitches them again with a flat-field correction and feathered blending; the
// live mosaic is the result only when that does not place every frame.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QSize>
#include <QString>

namespace vimg {
class FocusStack;
class Image;
namespace compose {
class LiveMosaic;
}
} // namespace vimg

class CLiveComposer : public QObject {
    Q_OBJECT
public:
    enum class Kind { None, FocusStack, Mosaic };
    // What the preview shows: the running result, and for a mosaic where the
    // current field lies in it (in the picture's pixels) and whether the last
    // frame could not be placed.
    struct View {
        QImage picture;
        QRectF field;
        bool lost = false;
    };

    CLiveComposer();
    // Stops a running merge and drops its result.
    ~CLiveComposer() override;
    CLiveComposer(const CLiveComposer&) = delete;
    CLiveComposer& operator=(const CLiveComposer&) = delete;

    // Starts merging the frames handed in from now on; the results carry
    // `pixelSizeUm` (0: uncalibrated) and `camera`. False while one runs.
    bool Start(Kind kind, double pixelSizeUm, const QString& camera);
    Kind Running() const { return m_kind; }
    // Waits for the frame being merged, stops, and returns the whole result
    // (null when nothing was merged or it cannot be allocated; LastError says why).
    std::unique_ptr<vimg::Image> Finish();
    // Stops at once (a running stack merge is escaped) and drops the result.
    void Cancel();

    // UI thread: a new camera frame (RGB32). Merged when the worker is idle,
    // else skipped. The newest frame is kept for the preview's inset either way.
    void Submit(const QImage& frame);
    // The size the mosaic preview is shrunk to fit (the preview's size).
    void SetViewSize(QSize size);

    View LatestView() const;
    const QImage& LatestFrame() const { return m_frame; }
    uint64_t Merged() const { return m_merged; }
    uint64_t Skipped() const { return m_skipped; }
    bool Busy() const { return m_busy; }
    QString LastError() const;

    // Frames kept for the final stitch: at most this many bytes of pixels, and
    // this many frames (the stitch registers every pair, so its time grows
    // with the square of the count). A longer sweep ends as the live mosaic.
    static constexpr size_t kKeepBytes = size_t{512} << 20;
    static constexpr size_t kKeepFrames = 36;

signals:
    // A new view is ready (emitted on the UI thread).
    void ViewChanged();

private:
    void Run();
    void Merge(const QImage& frame);
    void Stop(bool escape);
    // The kept frames stitched with a flat-field correction; null unless every one is placed.
    std::unique_ptr<vimg::Image> StitchKept();

    Kind m_kind = Kind::None;
    double m_pixelSize = 0;
    QString m_camera;
    std::unique_ptr<vimg::FocusStack> m_stack;
    std::unique_ptr<vimg::compose::LiveMosaic> m_mosaic;
    QImage m_frame;                                   // UI thread only
    std::vector<std::unique_ptr<vimg::Image>> m_kept; // the worker's while it runs
    size_t m_keptBytes = 0;
    bool m_keptAll = true; // every frame added to the mosaic is kept

    mutable std::mutex m_mutex; // the hand-over, the view and the error text
    std::condition_variable m_wake;
    QImage m_pending;
    bool m_stop = false;
    View m_view;
    QString m_error;
    std::atomic<bool> m_busy{false};
    std::atomic<int> m_viewWidth{640};
    std::atomic<int> m_viewHeight{480};
    std::atomic<uint64_t> m_merged{0};
    std::atomic<uint64_t> m_skipped{0};
    std::thread m_thread;
};
