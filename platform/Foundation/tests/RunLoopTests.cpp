#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Mode = RunLoop::Mode;

class RunLoopTest : public ::testing::Test {
  protected:
    RunLoopTestScope scope;
    RunLoop& loop = RunLoop::main();
    std::vector<std::pair<std::string, double>> fired;

    Timer::Block record(std::string name) {
        return [this, name](Timer&) { fired.emplace_back(name, Date::now().seconds); };
    }
};

TEST_F(RunLoopTest, TimersFireInOrderOfTheirDatesAtTheirOwnTimes) {
    Timer::scheduled(0.3, false, record("once"));
    Timer::scheduled(0.1, false, record("early"));
    auto tick = Timer::scheduled(0.2, true, record("tick"));
    loop.run(0.65);
    std::vector<std::pair<std::string, double>> expected{
        {"early", 0.1}, {"tick", 0.2}, {"once", 0.3}, {"tick", 0.4}, {"tick", 0.6}};
    ASSERT_EQ(fired.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fired[i].first, expected[i].first) << i;
        EXPECT_NEAR(fired[i].second, expected[i].second, 1e-9) << i;
    }
    EXPECT_DOUBLE_EQ(scope.clock().now(), 0.65);
    EXPECT_TRUE(tick->isValid());
    EXPECT_NEAR(tick->fireDate().seconds, 0.8, 1e-9);
}

TEST_F(RunLoopTest, ALateRepeatingTimerFiresOnceAndKeepsItsPeriod) {
    auto tick = Timer::scheduled(1.0, true, record("tick"));
    loop.runUntilIdle();
    EXPECT_TRUE(fired.empty()); // not due: time does not move by itself
    scope.clock().advance(3.5);
    loop.runUntilIdle();
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_DOUBLE_EQ(tick->fireDate().seconds, 4.0);
}

TEST_F(RunLoopTest, TimersFireOnlyInTheModesTheyWereAddedFor) {
    struct Case {
        Mode added;
        Mode running;
        bool fires;
    };
    const Case cases[] = {
        {Mode::defaultMode, Mode::defaultMode, true},
        {Mode::defaultMode, Mode::eventTracking, false},
        {Mode::eventTracking, Mode::defaultMode, false},
        {Mode::eventTracking, Mode::eventTracking, true},
        {Mode::common, Mode::defaultMode, true},
        {Mode::common, Mode::eventTracking, true},
    };
    for (const Case& c : cases) {
        int count = 0;
        auto timer = Timer::withInterval(0.01, false, [&](Timer&) { ++count; });
        loop.add(timer, c.added);
        loop.run(0.02, c.running);
        EXPECT_EQ(count == 1, c.fires) << int(c.added) << " " << int(c.running);
        timer->invalidate();
    }
    // Tasks run in every mode.
    int tasks = 0;
    loop.perform([&] { ++tasks; });
    loop.runUntilIdle(Mode::eventTracking);
    EXPECT_EQ(tasks, 1);
}

TEST_F(RunLoopTest, InvalidationStopsATimerAndReleasesItsBlock) {
    auto captured = std::make_shared<int>(0);
    std::weak_ptr<int> watch = captured;
    auto early = Timer::scheduled(0.1, true, [captured](Timer&) { ++*captured; });
    captured.reset();
    early->invalidate();
    EXPECT_FALSE(early->isValid());
    EXPECT_TRUE(watch.expired()); // the block and its captures are gone

    int selfStopping = 0;
    Timer::scheduled(0.1, true, [&](Timer& t) {
        ++selfStopping;
        t.invalidate();
    });
    auto once = Timer::scheduled(0.1, false, record("once"));
    loop.run(1.0);
    EXPECT_EQ(selfStopping, 1);
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_FALSE(once->isValid()); // a one-shot timer is spent after firing
    EXPECT_FALSE(loop.nextFireDate());
}

TEST_F(RunLoopTest, ATimerCapturingItsOwnerWeaklyDoesNotKeepItAlive) {
    struct Owner {
        std::shared_ptr<Timer> timer;
        int ticks = 0;
    };
    auto owner = std::make_shared<Owner>();
    std::weak_ptr<Owner> weak = owner;
    owner->timer = Timer::scheduled(0.1, true, [weak](Timer& t) {
        if (auto strong = weak.lock())
            ++strong->ticks;
        else
            t.invalidate();
    });
    loop.add(owner->timer, Mode::common);
    std::weak_ptr<Timer> timer = owner->timer;
    loop.run(0.35);
    EXPECT_EQ(owner->ticks, 3);
    owner.reset();
    EXPECT_TRUE(weak.expired());
    loop.run(0.2); // fires once more, finds the owner gone, stops itself
    EXPECT_TRUE(timer.expired());
}

TEST_F(RunLoopTest, TasksRunInOrderIncludingThoseQueuedWhileDraining) {
    std::vector<int> order;
    loop.perform([&] {
        order.push_back(1);
        loop.perform([&] { order.push_back(3); });
    });
    std::thread([&] { loop.perform([&] { order.push_back(2); }); }).join();
    loop.runUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));

    bool arrived = false;
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.perform([&] { arrived = true; });
    });
    EXPECT_TRUE(loop.runUntil([&] { return arrived; }, 60));
    sender.join();
    EXPECT_FALSE(loop.runUntil([] { return false; }, 0.01));
}

TEST(RunLoopSystemClock, RunSleepsInRealTimeUntilTimersAreDue) {
    RunLoop& loop = RunLoop::main();
    loop.cancelAllWork();
    int count = 0;
    auto start = Date::now();
    Timer::scheduled(0.01, false, [&](Timer&) { ++count; });
    loop.run(0.05);
    EXPECT_EQ(count, 1);
    EXPECT_GE(Date::now().timeIntervalSince(start), 0.05);
}

} // namespace
