// Runs a change of a document's picture on a thread of its own. The worker
// changes a copy it makes itself, so the user-interface thread never waits
// for a copy and keeps painting the unchanged picture meanwhile. Progress and
// escape are the working copy's atomics; a timer of the user-interface thread
// reads them every 333 ms. The job never waits on the user-interface thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <QObject>
#include <QTimer>

namespace vimg {
class Image;
} // namespace vimg

class CImageJob : public QObject {
    Q_OBJECT
public:
    // Runs on the worker thread after the change, unless escaped, with the
    // changed copy: work that spares the user-interface thread at the finish
    // (packing the source's undo step, counting the result's histograms).
    using AfterWork = std::function<void(vimg::Image& result)>;

    CImageJob();
    ~CImageJob() override;
    CImageJob(const CImageJob&) = delete;
    CImageJob& operator=(const CImageJob&) = delete;

    // Starts changing a copy of `source` with `work` ("" or its error text).
    // `source` must stay alive and unchanged until Finished or Cancel.
    bool Start(const vimg::Image& source, std::function<std::string(vimg::Image&)> work,
               AfterWork after = {});
    // From Start until Finished was emitted or Cancel returned.
    bool Running() const { return m_running; }
    // Sets the escape flag and waits for the worker; Finished does not follow.
    void Cancel();

    // The finished picture; valid in the slot of Finished.
    std::unique_ptr<vimg::Image> TakeResult();

signals:
    // Every 333 ms while the worker runs, and 100 when it is done.
    void Progress(int percent);
    // The worker is done and joined; `seconds` it took, `error` "" or why it failed.
    void Finished(const QString& error, double seconds);

private:
    void Poll();
    void Join();

    QTimer m_poll;
    QTimer m_linger; // the full bar stays a moment before the time replaces it
    std::thread m_thread;
    std::unique_ptr<vimg::Image> m_result;
    std::atomic<bool> m_done{true};
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
    // Written by the worker before it ends, read after it was joined.
    std::string m_error;
    double m_seconds = 0.0;
};
