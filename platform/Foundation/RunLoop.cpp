#include "Foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr unsigned defaultBit = 1;
constexpr unsigned trackingBit = 2;

unsigned addedMask(RunLoop::Mode mode) {
    switch (mode) {
    case RunLoop::Mode::defaultMode:
        return defaultBit;
    case RunLoop::Mode::eventTracking:
        return trackingBit;
    case RunLoop::Mode::common:
        return defaultBit | trackingBit;
    }
    return defaultBit;
}

// Running "in the common modes" fires every timer.
unsigned runningMask(RunLoop::Mode mode) {
    return addedMask(mode);
}

class ModeScope {
  public:
    ModeScope(RunLoop::Mode& slot, RunLoop::Mode mode) : slot(slot), saved(slot) { slot = mode; }
    ~ModeScope() { slot = saved; }

  private:
    RunLoop::Mode& slot;
    RunLoop::Mode saved;
};

} // namespace

RunLoop& RunLoop::main() {
    // Never destroyed: threads and late tasks may still reach it while the
    // process exits.
    static RunLoop* loop = new RunLoop();
    return *loop;
}

RunLoop::RunLoop() : clock_(std::make_shared<SystemClock>()) {}

void RunLoop::setClock(std::shared_ptr<Clock> clock) {
    std::lock_guard lock(mutex);
    clock_ = clock ? std::move(clock) : std::make_shared<SystemClock>();
    ++changes;
    wake.notify_all();
}

std::shared_ptr<Clock> RunLoop::clock() const {
    std::lock_guard lock(mutex);
    return clock_;
}

TimeInterval RunLoop::now() const {
    return clock()->now();
}

void RunLoop::perform(std::function<void()> task) {
    if (!task)
        return;
    std::lock_guard lock(mutex);
    tasks.push_back(std::move(task));
    ++changes;
    wake.notify_all();
}

void RunLoop::add(const std::shared_ptr<Timer>& timer, Mode mode) {
    if (!timer || !timer->isValid())
        return;
    std::lock_guard lock(mutex);
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Entry& e) { return e.timer == timer; });
    if (it != timers.end())
        it->modes |= addedMask(mode);
    else
        timers.push_back({timer, addedMask(mode), nextOrder++});
    ++changes;
    wake.notify_all();
}

std::function<void()> RunLoop::popTask() {
    std::lock_guard lock(mutex);
    if (tasks.empty())
        return {};
    auto task = std::move(tasks.front());
    tasks.pop_front();
    return task;
}

std::shared_ptr<Timer> RunLoop::popDueTimer(Mode mode, TimeInterval now) {
    std::lock_guard lock(mutex);
    std::erase_if(timers, [](const Entry& e) { return !e.timer->isValid(); });
    const Entry* best = nullptr;
    for (const Entry& e : timers) {
        if (!(e.modes & runningMask(mode)))
            continue;
        TimeInterval due = e.timer->nextFire.load();
        if (due > now)
            continue;
        if (!best || due < best->timer->nextFire.load() ||
            (due == best->timer->nextFire.load() && e.order < best->order))
            best = &e;
    }
    return best ? best->timer : nullptr;
}

std::optional<TimeInterval> RunLoop::earliest(unsigned mask) const {
    std::optional<TimeInterval> first;
    for (const Entry& e : timers)
        if ((e.modes & mask) && e.timer->isValid())
            first = std::min(first.value_or(e.timer->nextFire.load()), e.timer->nextFire.load());
    return first;
}

std::optional<Date> RunLoop::nextFireDate(Mode mode) const {
    std::lock_guard lock(mutex);
    if (auto first = earliest(runningMask(mode)))
        return Date{*first};
    return std::nullopt;
}

void RunLoop::runUntilIdle(Mode mode) {
    Runtime::assertMainThread("RunLoop::runUntilIdle");
    ModeScope scope(mode_, mode);
    for (;;) {
        if (auto task = popTask()) {
            task();
            continue;
        }
        if (auto timer = popDueTimer(mode, now())) {
            timer->fireScheduled(now());
            continue;
        }
        return;
    }
}

void RunLoop::waitForWork(TimeInterval realSeconds) {
    std::unique_lock lock(mutex);
    if (!tasks.empty() || realSeconds <= 0)
        return;
    auto seen = changes;
    wake.wait_for(lock, std::chrono::duration<double>(realSeconds),
                  [&] { return changes != seen || !tasks.empty(); });
}

bool RunLoop::run(TimeInterval duration, Mode mode, const std::function<bool()>& stop) {
    Runtime::assertMainThread("RunLoop::run");
    ModeScope scope(mode_, mode);
    const TimeInterval end = now() + std::max(duration, 0.0);
    for (;;) {
        runUntilIdle(mode);
        if (stop && stop())
            return true;
        auto clockNow = clock();
        TimeInterval current = clockNow->now();
        auto next = nextFireDate(mode);
        if (auto* test = dynamic_cast<TestClock*>(clockNow.get())) {
            if (next && next->seconds <= end) {
                test->set(std::max(next->seconds, current));
                continue;
            }
            // Nothing more is due before the end: time jumps there (never to an
            // endless end, which nothing would ever reach).
            if (current < end && std::isfinite(end))
                test->set(end);
            runUntilIdle(mode);
            return stop && stop();
        }
        if (current >= end)
            return false;
        TimeInterval until = next ? std::min(next->seconds, end) : end;
        // An endless wait still wakes now and then (nothing may ever be queued).
        waitForWork(std::isfinite(until) ? until - current : 1.0);
    }
}

bool RunLoop::runUntil(const std::function<bool()>& done, TimeInterval realTimeout, Mode mode) {
    Runtime::assertMainThread("RunLoop::runUntil");
    ModeScope scope(mode_, mode);
    using steady = std::chrono::steady_clock;
    const auto deadline = steady::now() + std::chrono::duration_cast<steady::duration>(
                                              std::chrono::duration<double>(realTimeout));
    for (;;) {
        runUntilIdle(mode);
        if (done())
            return true;
        auto left = std::chrono::duration<double>(deadline - steady::now()).count();
        if (left <= 0)
            return false;
        // Short naps: `done` may turn true without anything being queued.
        TimeInterval nap = std::min(left, 0.005);
        auto clockNow = clock();
        if (!dynamic_cast<TestClock*>(clockNow.get()))
            if (auto next = nextFireDate(mode))
                nap = std::min(nap, std::max(0.0, next->seconds - clockNow->now()));
        waitForWork(nap);
    }
}

void RunLoop::cancelAllWork() {
    std::deque<std::function<void()>> droppedTasks;
    std::vector<Entry> droppedTimers;
    {
        std::lock_guard lock(mutex);
        droppedTasks.swap(tasks);
        droppedTimers.swap(timers);
        ++changes;
    }
    for (auto& e : droppedTimers)
        e.timer->invalidate();
    // Tasks and timers are released here, outside the lock.
}

RunLoopTestScope::RunLoopTestScope() : testClock(std::make_shared<TestClock>()) {
    RunLoop::main().cancelAllWork();
    RunLoop::main().setClock(testClock);
}

RunLoopTestScope::~RunLoopTestScope() {
    RunLoop::main().cancelAllWork();
    RunLoop::main().setClock(nullptr);
}
