#include "SteadyCaptureClock.h"

#include <QTimer>

namespace {

class QtTimer : public CaptureClock::Timer {
public:
    QtTimer(bool repeat, std::function<void()> due) {
        m_timer.setSingleShot(!repeat);
        m_timer.setTimerType(Qt::PreciseTimer); // a series keeps its seconds
        QObject::connect(&m_timer, &QTimer::timeout, [due = std::move(due)] { due(); });
    }
    void Start(std::chrono::milliseconds interval) override { m_timer.start(interval); }
    void Stop() override { m_timer.stop(); }
    bool IsActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

SteadyCaptureClock& SteadyCaptureClock::Instance() {
    static SteadyCaptureClock clock;
    return clock;
}

std::unique_ptr<CaptureClock::Timer> SteadyCaptureClock::NewTimer(bool repeat, std::function<void()> due) {
    return std::make_unique<QtTimer>(repeat, std::move(due));
}
