#include "FakeCaptureClock.h"

#include <algorithm>

namespace camtest {

class FakeCaptureClock::FakeTimer : public CaptureClock::Timer {
public:
    FakeTimer(FakeCaptureClock& clock, bool repeat, std::function<void()> due)
        : m_clock(clock), m_repeat(repeat), m_due(std::move(due)) {
        m_clock.m_timers.push_back(this);
    }
    ~FakeTimer() override { std::erase(m_clock.m_timers, this); }
    void Start(std::chrono::milliseconds interval) override {
        m_interval = interval;
        m_at = m_clock.m_now + interval;
        m_active = true;
    }
    void Stop() override { m_active = false; }
    bool IsActive() const override { return m_active; }

    TimePoint At() const { return m_at; }
    // The clock stands at this timer's time.
    void Fire() {
        if (m_repeat) m_at += m_interval;
        else m_active = false;
        m_due();
    }

private:
    FakeCaptureClock& m_clock;
    bool m_repeat;
    std::function<void()> m_due;
    std::chrono::milliseconds m_interval{0};
    TimePoint m_at{};
    bool m_active = false;
};

std::unique_ptr<CaptureClock::Timer> FakeCaptureClock::NewTimer(bool repeat, std::function<void()> due) {
    return std::make_unique<FakeTimer>(*this, repeat, std::move(due));
}

FakeCaptureClock::FakeTimer* FakeCaptureClock::Earliest() const {
    FakeTimer* earliest = nullptr;
    for (FakeTimer* timer : m_timers)
        if (timer->IsActive() && (!earliest || timer->At() < earliest->At())) earliest = timer;
    return earliest;
}

void FakeCaptureClock::Advance(std::chrono::milliseconds by) {
    const TimePoint until = m_now + by;
    for (FakeTimer* next = Earliest(); next && next->At() <= until; next = Earliest()) {
        m_now = next->At();
        next->Fire();
    }
    m_now = until;
}

bool FakeCaptureClock::RunNextTimer() {
    FakeTimer* next = Earliest();
    if (!next) return false;
    m_now = std::max(m_now, next->At());
    next->Fire();
    return true;
}

} // namespace camtest
