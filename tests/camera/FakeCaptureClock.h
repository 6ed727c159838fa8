// A steady clock for the capture control that moves only when the test moves
// it: timers fall due as it advances and run at their own times, in order.
#pragma once

#include <vector>

#include "CaptureClock.h"

namespace camtest {

class FakeCaptureClock : public CaptureClock {
public:
    TimePoint Now() const override { return m_now; }
    std::unique_ptr<Timer> NewTimer(bool repeat, std::function<void()> due) override;

    // Moves the clock on by `by`, running every timer that falls due on the way.
    void Advance(std::chrono::milliseconds by);
    // Moves the clock to the earliest running timer's time and runs it; false when none runs.
    bool RunNextTimer();

private:
    class FakeTimer;
    FakeTimer* Earliest() const;

    TimePoint m_now{std::chrono::hours(1)};
    std::vector<FakeTimer*> m_timers;
};

} // namespace camtest
