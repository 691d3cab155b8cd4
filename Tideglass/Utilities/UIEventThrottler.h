#pragma once
// Runs an action on a timer that every new request restarts: throttle(action) drops
// the pending timer and starts a new one that runs the action after `interval` and
// then again every `interval`, until the next throttle or cancelAll. The action runs
// on a global queue, not on the main thread. Destroying the throttler stops its timer.
//
// Thread: throttle and cancelAll from one thread (the caller's); no lock is taken.
// Actions run on a global-queue thread.

#include <functional>
#include <memory>

#include "Dispatch/DispatchSourceTimer.h"

class UIEventThrottler {
  public:
    explicit UIEventThrottler(double interval) : interval(interval) {}
    ~UIEventThrottler() { cancelAll(); }
    UIEventThrottler(const UIEventThrottler&) = delete;
    UIEventThrottler& operator=(const UIEventThrottler&) = delete;

    void throttle(std::function<void()> action);
    void cancelAll();

    double interval; // seconds

  private:
    std::shared_ptr<DispatchSourceTimer> timer;
};
