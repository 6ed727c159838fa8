#include "LiveHistogram.h"

#include <algorithm>

namespace {

// The image library's grey: 0.299 R + 0.587 G + 0.114 B in 10-bit fixed point.
inline uint8_t Grey(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint8_t>((306 * r + 601 * g + 117 * b) >> 10);
}

} // namespace

CLiveHistogram::CLiveHistogram(Ready ready) : m_ready(std::move(ready)), m_thread([this] { Run(); }) {}

CLiveHistogram::~CLiveHistogram() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CLiveHistogram::Submit(const QImage& frame) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_pending.isNull()) ++m_skipped;
        m_pending = frame;
    }
    m_wake.notify_one();
}

uint64_t CLiveHistogram::Counted() const {
    std::lock_guard lock(m_mutex);
    return m_counted;
}

uint64_t CLiveHistogram::Skipped() const {
    std::lock_guard lock(m_mutex);
    return m_skipped;
}

void CLiveHistogram::Run() {
    for (;;) {
        QImage frame;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_pending.isNull(); });
            if (m_stop) return;
            frame = std::move(m_pending);
            m_pending = QImage();
        }
        const LiveHistogramCounts counts = Count(frame);
        {
            std::lock_guard lock(m_mutex);
            ++m_counted;
        }
        if (m_ready) m_ready(counts);
    }
}

LiveHistogramCounts CLiveHistogram::Count(const QImage& frame) {
    LiveHistogramCounts c;
    if (frame.isNull()) return c;
    const QImage rgb = frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    long* red = c.red.data();
    long* green = c.green.data();
    long* blue = c.blue.data();
    long* gray = c.gray.data();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const uint32_t r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            ++red[r];
            ++green[g];
            ++blue[b];
            ++gray[Grey(r, g, b)];
        }
    }
    // Clipped pixels are the end bins.
    for (int k = 0; k < 3; ++k) {
        const auto& h = k == 0 ? c.red : k == 1 ? c.green : c.blue;
        c.clippedLow[k] = h[0];
        c.clippedHigh[k] = h[255];
    }
    for (const auto* h : {&c.red, &c.green, &c.blue, &c.gray})
        c.max = std::max(c.max, *std::max_element(h->begin(), h->end()));
    return c;
}
