#include "Foundation/Timer.h"

#include "Foundation/RunLoop.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr TimeInterval shortestInterval = 0.0001;
}

Timer::Timer(TimeInterval interval, bool repeats, Block block)
    : interval(std::max(interval, shortestInterval)), repeating(repeats), block(std::move(block)) {
    nextFire.store(RunLoop::main().now() + this->interval);
}

std::shared_ptr<Timer> Timer::withInterval(TimeInterval interval, bool repeats, Block block) {
    return make<Timer>(interval, repeats, std::move(block));
}

std::shared_ptr<Timer> Timer::scheduled(TimeInterval interval, bool repeats, Block block) {
    auto timer = withInterval(interval, repeats, std::move(block));
    RunLoop::main().add(timer, RunLoop::Mode::defaultMode);
    return timer;
}

void Timer::invalidate() {
    if (!valid.exchange(false))
        return;
    Block released;
    {
        std::lock_guard lock(blockMutex);
        released.swap(block);
    }
    // `released` dies here, outside the lock: its captures may own anything.
}

void Timer::setFireDate(Date date) {
    nextFire.store(date.seconds);
}

void Timer::runBlock() {
    Block copy;
    {
        std::lock_guard lock(blockMutex);
        copy = block;
    }
    if (copy && isValid())
        copy(*this);
}

void Timer::fire() {
    if (!isValid())
        return;
    runBlock();
    if (!repeating)
        invalidate();
}

void Timer::fireScheduled(TimeInterval now) {
    if (repeating) {
        // Next firing: the first whole period after now, so a late loop fires once.
        TimeInterval due = nextFire.load();
        TimeInterval next = due + interval;
        if (next <= now)
            next = due + interval * (std::floor((now - due) / interval) + 1);
        if (next <= now)
            next = now + interval;
        nextFire.store(next);
    }
    runBlock();
    if (!repeating)
        invalidate();
}
