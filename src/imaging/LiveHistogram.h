// Histograms of camera frames, counted on a thread of their own so the
// preview never waits for them. Frames are handed in as they are shown; while
// one is being counted only the newest waiting frame is kept, so a slow count
// skips frames instead of falling behind.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include <QImage>

struct LiveHistogramCounts {
    std::array<long, 256> red{}, green{}, blue{}, gray{};
    long max = 0;
    // Pixels at 0 and at 255, per channel red, green, blue.
    std::array<long, 3> clippedLow{}, clippedHigh{};
};

class CLiveHistogram {
public:
    // `ready` runs on the counting thread with each result.
    using Ready = std::function<void(const LiveHistogramCounts&)>;
    explicit CLiveHistogram(Ready ready);
    ~CLiveHistogram();
    CLiveHistogram(const CLiveHistogram&) = delete;
    CLiveHistogram& operator=(const CLiveHistogram&) = delete;

    // Hands in a frame; replaces one still waiting (counted as skipped).
    void Submit(const QImage& frame);
    uint64_t Counted() const;
    uint64_t Skipped() const;

    // The counts of a picture (any format; 32-bit RGB is read directly).
    static LiveHistogramCounts Count(const QImage& frame);

private:
    void Run();

    Ready m_ready;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QImage m_pending;
    bool m_stop = false;
    uint64_t m_counted = 0;
    uint64_t m_skipped = 0;
    std::thread m_thread;
};
