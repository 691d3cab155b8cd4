#pragma once
// A dispatch timer source: runs its event handler on a queue at a deadline and then,
// when it repeats, every interval after that, until it is cancelled. On a global
// queue the handler runs on a pool thread in real time; on the main queue it runs
// when the main run loop does, on that loop's clock. The handler never runs
// concurrently with itself. A source starts suspended: schedule it, give it a
// handler and resume it. Releasing the last reference to a source cancels it.
// Left out: suspend, cancel and registration handlers, leeway coalescing.
//
// Thread: every member may be called from any thread. A handler that is running
// when cancel() is called finishes; no later one starts.

#include "Dispatch/Dispatch.h"

#include <functional>
#include <memory>

class DispatchSourceTimer {
  public:
    static std::shared_ptr<DispatchSourceTimer> make(DispatchQueue& queue);
    ~DispatchSourceTimer();
    DispatchSourceTimer(const DispatchSourceTimer&) = delete;
    DispatchSourceTimer& operator=(const DispatchSourceTimer&) = delete;

    // First firing at `deadline`, then every `repeating` seconds (none when it is
    // zero or less). Leeway is accepted and not used: the stand-in fires on time.
    void schedule(DispatchTime deadline, TimeInterval repeating = 0, TimeInterval leeway = 0);
    void setEventHandler(std::function<void()> handler);
    // Starts the schedule; a second call does nothing.
    void resume();
    void cancel();
    bool isCancelled() const;

  private:
    struct State;
    explicit DispatchSourceTimer(DispatchQueue& queue);
    std::shared_ptr<State> state;
};
