#pragma once
// Timer: runs a block once or repeatedly on the main run loop, in the modes it was
// added for. The run loop holds a scheduled timer strongly until it is invalidated
// (a one-shot timer invalidates itself after firing); a block that must not keep
// its target alive captures a weak_ptr. A repeating timer that fires late fires
// once and keeps its period: missed firings are skipped.
//
// Thread: any, for every member; blocks run on the main thread.

#include "Foundation/Date.h"
#include "Runtime/Runtime.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class RunLoop;

class Timer : public NSObject {
  public:
    using Block = std::function<void(Timer&)>;

    // A timer not yet on a run loop, first due `interval` seconds from now (the
    // main run loop's clock). An interval below 0.1 ms counts as 0.1 ms.
    static std::shared_ptr<Timer> withInterval(TimeInterval interval, bool repeats, Block block);
    // The same, added to the main run loop in the default mode.
    static std::shared_ptr<Timer> scheduled(TimeInterval interval, bool repeats, Block block);

    // Removes the timer from the run loop; its block never runs again and is
    // released. Safe to call more than once and from inside the block.
    void invalidate();
    bool isValid() const { return valid.load(); }
    TimeInterval timeInterval() const { return interval; }
    bool repeats() const { return repeating; }
    Date fireDate() const { return Date{nextFire.load()}; }
    // Moves the next firing (the run loop picks the new date up).
    void setFireDate(Date date);
    // Runs the block now, outside the schedule; a one-shot timer is then invalid.
    void fire();

  protected:
    Timer(TimeInterval interval, bool repeats, Block block);

  private:
    friend class RunLoop;
    // Called by the run loop when the timer is due at `now`.
    void fireScheduled(TimeInterval now);
    void runBlock();

    const TimeInterval interval;
    const bool repeating;
    Block block; // guarded by blockMutex
    std::mutex blockMutex;
    std::atomic<bool> valid{true};
    std::atomic<TimeInterval> nextFire{0};
};
