#include "Dispatch/DispatchSourceTimer.h"

#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Waits in real time, a bounded while, for a condition set by pool threads.
template <class F> bool eventually(F&& done, double seconds = 60) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(DispatchSourceTimer, OnTheMainQueueItRepeatsOnTheLoopsClockUntilCancelled) {
    RunLoopTestScope scope;
    std::vector<double> firedAt;
    auto timer = DispatchSourceTimer::make(DispatchQueue::main());
    timer->schedule(DispatchTime::now() + 0.3, 0.2);
    timer->setEventHandler([&] { firedAt.push_back(Date::now().seconds); });
    RunLoop::main().run(1.0);
    EXPECT_TRUE(firedAt.empty()); // suspended until resumed
    timer->schedule(DispatchTime::now() + 0.3, 0.2);
    timer->resume();
    timer->resume();           // a second resume adds no schedule
    RunLoop::main().run(0.75); // until 1.75
    EXPECT_EQ(firedAt, (std::vector<double>{1.3, 1.5, 1.7}));
    timer->cancel();
    EXPECT_TRUE(timer->isCancelled());
    RunLoop::main().run(3);
    EXPECT_EQ(firedAt.size(), 3u);
}

TEST(DispatchSourceTimer, OnAGlobalQueueItFiresOffTheMainThreadAndStopsWhenReleased) {
    std::atomic<int> fired{0};
    std::atomic<bool> offMain{true};
    auto timer = DispatchSourceTimer::make(DispatchQueue::global());
    timer->schedule(DispatchTime::now() + 0.01, 0.01);
    timer->setEventHandler([&] {
        if (Runtime::isMainThread())
            offMain = false;
        ++fired;
    });
    timer->resume();
    ASSERT_TRUE(eventually([&] { return fired >= 3; })); // it repeats
    EXPECT_TRUE(offMain);
    timer.reset();
    // A handler already running may finish (given a loaded machine's while); none
    // starts after that, though the timer's period passes many times over.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    int settled = fired;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(fired, settled);
}

} // namespace
