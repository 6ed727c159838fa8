// The time the capture control goes by: a steady clock and timers on it. The
// program uses SteadyCaptureClock (std::chrono::steady_clock and Qt timers);
// tests put in a clock they advance by hand, so series intervals, countdowns
// and recording checks run without waiting for real time.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

class CaptureClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Calls back on the clock's thread once its interval has passed after Start,
    // and, when it repeats, every interval after that, until stopped.
    class Timer {
    public:
        virtual ~Timer() = default;
        virtual void Start(std::chrono::milliseconds interval) = 0;
        virtual void Stop() = 0;
        virtual bool IsActive() const = 0;
    };

    virtual ~CaptureClock() = default;
    virtual TimePoint Now() const = 0;
    virtual std::unique_ptr<Timer> NewTimer(bool repeat, std::function<void()> due) = 0;
};
