#pragma once
// Clocks for the run loop: the system's monotonic clock, and a test clock whose
// time moves only when a test (or the run loop's run(for:)) moves it.
//
// Thread: any; now() may be read from any thread while a test moves the clock.

#include "Foundation/Date.h"

#include <atomic>

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds on this clock's time line.
    virtual TimeInterval now() const = 0;
};

class SystemClock final : public Clock {
  public:
    TimeInterval now() const override;
};

// Starts at 0. Moving it does not run anything by itself: the run loop fires the
// timers that became due when it next runs (runUntilIdle, run(for:)).
class TestClock final : public Clock {
  public:
    explicit TestClock(TimeInterval start = 0) : time(start) {}
    TimeInterval now() const override { return time.load(); }
    void set(TimeInterval seconds) { time.store(seconds); }
    void advance(TimeInterval by) { time.store(time.load() + by); }

  private:
    std::atomic<TimeInterval> time;
};
