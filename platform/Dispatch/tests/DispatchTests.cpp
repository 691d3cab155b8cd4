#include "Dispatch/Dispatch.h"

#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

class MainQueueTest : public ::testing::Test {
  protected:
    RunLoopTestScope scope;
    RunLoop& loop = RunLoop::main();
    DispatchQueue& main = DispatchQueue::main();
};

TEST_F(MainQueueTest, AsyncWorkRunsInOrderOnlyWhenTheLoopRuns) {
    std::vector<int> order;
    main.async([&] { order.push_back(1); });
    std::thread([&] { main.async([&] { order.push_back(2); }); }).join();
    MainActor::run([&] { order.push_back(3); });
    EXPECT_TRUE(order.empty()); // never inside the call, also on the main thread
    loop.runUntilIdle(RunLoop::Mode::eventTracking);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(main.isMain());
    EXPECT_FALSE(DispatchQueue::global().isMain());
}

TEST_F(MainQueueTest, AsyncAfterWaitsForTheRunLoopsClock) {
    std::vector<double> ranAt;
    main.asyncAfter(DispatchTime::now() + 0.5, [&] { ranAt.push_back(Date::now().seconds); });
    main.asyncAfter(DispatchTime::now() + 0.2, [&] { ranAt.push_back(Date::now().seconds); });
    loop.run(0.1);
    EXPECT_TRUE(ranAt.empty());
    loop.run(0.6, RunLoop::Mode::eventTracking); // delayed main-queue work runs in every mode
    EXPECT_EQ(ranAt, (std::vector<double>{0.2, 0.5}));
}

TEST_F(MainQueueTest, SyncFromAnotherThreadWaitsForTheMainThread) {
    std::atomic<bool> returned{false};
    int answer = 0;
    std::thread caller([&] {
        answer = main.sync([] { return Runtime::isMainThread() ? 42 : -1; });
        returned = true;
    });
    EXPECT_TRUE(loop.runUntil([&] { return returned.load(); }));
    caller.join();
    EXPECT_EQ(answer, 42);

    // An exception thrown by the work reaches the waiting caller.
    std::atomic<bool> caught{false};
    std::thread thrower([&] {
        try {
            main.sync([] { throw std::logic_error("no"); });
        } catch (const std::logic_error&) {
            caught = true;
        }
    });
    EXPECT_TRUE(loop.runUntil([&] { return caught.load(); }));
    thrower.join();

    // On the main thread it runs at once.
    bool ran = false;
    main.sync([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(MainQueueTest, SyncWorkDroppedUnrunReleasesTheCaller) {
    std::atomic<bool> released{false};
    std::thread caller([&] {
        try {
            main.sync([] {});
        } catch (const std::runtime_error&) {
            released = true;
        }
    });
    // The loop never runs here: whenever the work gets queued, it is dropped.
    while (!released) {
        loop.cancelAllWork();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    caller.join();
    EXPECT_TRUE(released);
}

TEST(GlobalQueue, RunsWorkConcurrentlyOffTheMainThread) {
    DispatchQueue& global = DispatchQueue::global(DispatchQoS::utility);
    std::latch bothRunning(2); // each task waits for the other: needs two threads
    std::latch done(2);
    std::atomic<int> offMain{0};
    for (int i = 0; i < 2; ++i)
        global.async([&] {
            offMain += Runtime::isMainThread() ? 0 : 1;
            bothRunning.arrive_and_wait();
            done.count_down();
        });
    done.wait();
    EXPECT_EQ(offMain, 2);

    // Sync from the main thread runs elsewhere and returns the result.
    EXPECT_FALSE(global.sync([] { return Runtime::isMainThread(); }));

    std::latch later(1);
    auto start = std::chrono::steady_clock::now();
    global.asyncAfter(DispatchTime::now() + 0.02, [&] { later.count_down(); });
    later.wait();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

// The workers wait for the earliest deadline while new work arrives: every push may
// move the queue's storage under a waiting worker, which must not read the old one
// (AddressSanitizer reports it). Every item runs, none before its time.
TEST(GlobalQueue, DelayedWorkArrivingWhileWorkersWaitRunsOnTime) {
    DispatchQueue& global = DispatchQueue::global();
    constexpr int count = 2000;
    std::latch done(count + 1);
    std::atomic<int> early{0};
    using steady = std::chrono::steady_clock;
    auto schedule = [&](double delay) {
        const auto due = steady::now() + std::chrono::duration_cast<steady::duration>(
                                             std::chrono::duration<double>(delay));
        global.asyncAfter(DispatchTime::now() + delay, [&, due] {
            if (steady::now() < due - std::chrono::milliseconds(1))
                ++early;
            done.count_down();
        });
    };
    schedule(0.05);
    std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the workers now wait
    for (int i = count; i > 0; --i)
        schedule(0.001 + 0.02 * i / count);
    done.wait();
    EXPECT_EQ(early, 0);
}

TEST(Task, DetachedRunsOffMainAndMainActorTasksOnMain) {
    RunLoopTestScope scope;
    std::atomic<bool> detachedOnMain{true};
    Task detached = Task::detached([&] { detachedOnMain = Runtime::isMainThread(); });
    detached.wait();
    EXPECT_TRUE(detached.isFinished());
    EXPECT_FALSE(detachedOnMain);

    bool onMain = false;
    Task hop = Task::onMainActor([&] { onMain = MainActor::isCurrent(); });
    EXPECT_FALSE(hop.isFinished());
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return hop.isFinished(); }));
    EXPECT_TRUE(onMain);

    Task failing = Task::detached([] { throw std::runtime_error("x"); });
    EXPECT_THROW(failing.wait(), std::runtime_error);
}

TEST(DispatchPreconditionDeathTest, EndsTheProgramOnTheWrongThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    dispatchPrecondition(DispatchPredicate::onMainQueue);
    MainActor::assertIsolated("test");
    EXPECT_DEATH(dispatchPrecondition(DispatchPredicate::notOnMainQueue), "off the main queue");
    EXPECT_DEATH(std::thread([] { dispatchPrecondition(DispatchPredicate::onMainQueue); }).join(),
                 "on the main queue");
    EXPECT_DEATH(std::thread([] { MainActor::assertIsolated("Widget.update"); }).join(),
                 "Widget.update");
}

} // namespace
