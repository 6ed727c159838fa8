// The capture control's clock in the program: std::chrono::steady_clock, and
// precise Qt timers on the thread that makes them.
#pragma once

#include "CaptureClock.h"

class SteadyCaptureClock : public CaptureClock {
public:
    // The one every capture control starts with.
    static SteadyCaptureClock& Instance();

    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
    std::unique_ptr<Timer> NewTimer(bool repeat, std::function<void()> due) override;
};
