// Measures how long the event loop goes without serving a 10 ms timer: the
// gaps between its ticks while the loop runs. A gap near 10 ms means the
// interface answered at once; a long one is a stall the user would feel.
#pragma once

#include <algorithm>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class EventLoopGaps {
public:
    EventLoopGaps() {
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_gaps.push_back(static_cast<double>(now - m_last) / 1e6);
            m_last = now;
        });
    }
    void Start() {
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_tick.start(10);
    }
    // Stops the timer and returns the seconds since Start.
    double Stop() {
        m_tick.stop();
        std::sort(m_gaps.begin(), m_gaps.end());
        return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
    }
    // After Stop.
    double MedianMs() const { return m_gaps.empty() ? 0 : m_gaps[m_gaps.size() / 2]; }
    double MaxMs() const { return m_gaps.empty() ? 0 : m_gaps.back(); }

private:
    QElapsedTimer m_clock;
    QTimer m_tick;
    qint64 m_last = 0;
    std::vector<double> m_gaps;
};
