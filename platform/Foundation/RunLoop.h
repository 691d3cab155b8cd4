#pragma once
// RunLoop: the main thread's loop of queued tasks and timers. There is one, the
// main run loop, shared by every module of the process (this library is shared).
// It runs only when the main thread runs it: an application's event loop, or a
// test that drains it by hand with runUntilIdle() / run(for:) on a clock it sets.
//
// Modes: a timer fires only while the loop runs in a mode it was added for;
// `common` stands for both the default and the event-tracking mode. Tasks run in
// every mode.
//
// Thread: perform(), add(), clock access and cancelAllWork() from any thread; the
// running members from the main thread only.

#include "Foundation/Clock.h"
#include "Foundation/Timer.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class RunLoop {
  public:
    enum class Mode { defaultMode, common, eventTracking };

    static RunLoop& main();

    // The clock of timers, Date::now() and delayed main-queue work. The system
    // clock until a test sets another.
    void setClock(std::shared_ptr<Clock> clock);
    std::shared_ptr<Clock> clock() const;
    TimeInterval now() const;

    // Queues a task; tasks run in the order they were queued. Wakes the loop.
    void perform(std::function<void()> task);
    // Schedules a timer in a mode (adding it again adds a mode).
    void add(const std::shared_ptr<Timer>& timer, Mode mode);

    // Runs queued tasks and due timers (in order of their fire dates) until none
    // is left, including those they queue. Time does not move.
    void runUntilIdle(Mode mode = Mode::defaultMode);
    // Runs for `duration` seconds of the clock's time. With a test clock, time is
    // moved from one timer's fire date to the next, so every firing in the window
    // happens, in order, at its own time; with the system clock the thread sleeps
    // between work.
    void run(TimeInterval duration, Mode mode = Mode::defaultMode) { run(duration, mode, {}); }
    // As run(for:), ending early (after the work in hand) once `stop` returns true;
    // returns whether it did. A nested wait uses it: a handler waiting for input runs
    // the loop until the input came or its deadline passed.
    bool run(TimeInterval duration, Mode mode, const std::function<bool()>& stop);
    // Runs (sleeping in real time between work) until `done` returns true or
    // `realTimeout` seconds have passed; returns whether `done` became true. For
    // waiting on work that other threads hand to the main thread.
    bool runUntil(const std::function<bool()>& done, TimeInterval realTimeout = 10,
                  Mode mode = Mode::defaultMode);

    // The mode of the innermost run in progress; defaultMode when not running.
    // Thread: main.
    Mode currentMode() const { return mode_; }
    // The earliest fire date among the valid timers of `mode`.
    std::optional<Date> nextFireDate(Mode mode = Mode::defaultMode) const;

    // Drops every queued task and invalidates every timer (a test's clean start).
    void cancelAllWork();

  private:
    RunLoop();
    struct Entry {
        std::shared_ptr<Timer> timer;
        unsigned modes;
        unsigned long long order;
    };
    std::function<void()> popTask();
    std::shared_ptr<Timer> popDueTimer(Mode mode, TimeInterval now);
    std::optional<TimeInterval> earliest(unsigned mask) const; // locked by caller
    void waitForWork(TimeInterval realSeconds);

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::shared_ptr<Clock> clock_;
    std::deque<std::function<void()>> tasks;
    std::vector<Entry> timers;
    unsigned long long nextOrder = 0;
    unsigned long long changes = 0; // bumped by every perform/add
    Mode mode_ = Mode::defaultMode;
};

// For tests: gives the main run loop a fresh test clock at 0 and a clean slate;
// on destruction drops what is left and puts the system clock back.
// Thread: main.
class RunLoopTestScope {
  public:
    RunLoopTestScope();
    ~RunLoopTestScope();
    RunLoopTestScope(const RunLoopTestScope&) = delete;
    RunLoopTestScope& operator=(const RunLoopTestScope&) = delete;
    TestClock& clock() { return *testClock; }

  private:
    std::shared_ptr<TestClock> testClock;
};
