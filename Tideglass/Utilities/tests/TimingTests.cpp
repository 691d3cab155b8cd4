#include "Utilities/ReceiveOnMainThread.h"
#include "Utilities/UIEventThrottler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "Foundation/RunLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(ReceiveOnMainThread, MainThreadEventsArriveAtOnceOthersLaterOnTheMainThread) {
    RunLoopTestScope scope;
    PassthroughSubject<int> subject;
    std::vector<int> values;
    bool offMain = false, finished = false;
    AnyCancellable c =
        receiveOnMainThread(subject).sink([&](Subscribers::Completion) { finished = true; },
                                          [&](const int& v) {
                                              offMain = offMain || !Runtime::isMainThread();
                                              values.push_back(v);
                                          });
    subject.send(1);
    EXPECT_EQ(values, std::vector<int>{1}); // before send returned
    std::thread([&] { subject.send(2); }).join();
    EXPECT_EQ(values, std::vector<int>{1}); // queued on the main queue
    subject.send(3);                        // overtakes the queued one
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(values, (std::vector<int>{1, 3, 2}));
    EXPECT_FALSE(offMain);

    std::thread([&] { subject.send(Subscribers::Completion::finished); }).join();
    EXPECT_FALSE(finished);
    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(finished);
}

TEST(ReceiveOnMainThread, CancellingEndsTheUpstreamSubscription) {
    RunLoopTestScope scope;
    PassthroughSubject<int> subject;
    std::vector<int> values;
    AnyCancellable c = receiveOnMainThread(subject.eraseToAnyPublisher().map([](int v) {
                           return v * 10;
                       })).sink([&](const int& v) { values.push_back(v); });
    subject.send(1);
    c.cancel();
    subject.send(2);
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(values, std::vector<int>{10});
}

// An upstream that records what its one subscriber asks of it, and hands it values.
struct RecordingUpstream : Publisher<int>,
                           Subscription,
                           std::enable_shared_from_this<RecordingUpstream> {
    std::shared_ptr<Subscriber<int>> subscriber;
    std::vector<Subscribers::Demand> requested, answered;
    int cancels = 0;
    void receive(std::shared_ptr<Subscriber<int>> s) override {
        subscriber = std::move(s);
        subscriber->receive(std::static_pointer_cast<Subscription>(shared_from_this()));
    }
    void request(Subscribers::Demand demand) override { requested.push_back(demand); }
    void cancel() override { ++cancels; }
    void send(int v) { answered.push_back(subscriber->receive(v)); }
};

TEST(ReceiveOnMainThread, AsksForEverythingPassesDemandUpAndCancelsItsUpstream) {
    RunLoopTestScope scope;
    auto upstream = std::make_shared<RecordingUpstream>();
    std::vector<int> values;
    AnyCancellable c =
        receiveOnMainThread(AnyPublisher<int>(std::static_pointer_cast<Publisher<int>>(upstream)))
            .sink([&](const int& v) { values.push_back(v); });
    // The sink asks for everything, through the operator.
    EXPECT_EQ(upstream->requested, std::vector{Subscribers::Demand::unlimited()});
    upstream->send(1);
    upstream->send(2);
    EXPECT_EQ(values, (std::vector<int>{1, 2}));
    // Whatever the downstream answers, the upstream hears "everything".
    EXPECT_EQ(upstream->answered, std::vector(2, Subscribers::Demand::unlimited()));
    c.cancel();
    EXPECT_EQ(upstream->cancels, 1);
}

// The times (since `start`) at which an action ran, recorded from pool threads. The
// actions hold it, so an action still running as a test ends has it to write to.
struct Runs : std::enable_shared_from_this<Runs> {
    Clock::time_point start = Clock::now();
    std::mutex mutex;
    std::vector<double> first, second;
    std::function<void()> recorder(std::vector<double>& into) {
        return [self = shared_from_this(), &into] {
            std::lock_guard lock(self->mutex);
            into.push_back(std::chrono::duration<double>(Clock::now() - self->start).count());
            self->offMain = self->offMain || Runtime::isMainThread();
        };
    }
    size_t count(const std::vector<double>& of) {
        std::lock_guard lock(mutex);
        return of.size();
    }
    // Waits a bounded while for `n` runs of `of`.
    bool waitFor(const std::vector<double>& of, size_t n, double seconds = 30) {
        auto until = Clock::now() + std::chrono::duration<double>(seconds);
        while (count(of) < n)
            if (Clock::now() > until)
                return false;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return true;
    }
    bool offMain = false;
};

TEST(UIEventThrottler, ANewRequestRestartsTheTimerAndOnlyTheLastActionRepeats) {
    auto owner = std::make_shared<Runs>();
    Runs& runs = *owner;
    // The interval is long beside the pause, so a loaded machine's late wake-up cannot
    // let the first action run before the second request replaces it.
    UIEventThrottler throttler(1.0);
    throttler.throttle(runs.recorder(runs.first));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    throttler.throttle(runs.recorder(runs.second));
    ASSERT_TRUE(runs.waitFor(runs.second, 2)); // it repeats
    std::lock_guard lock(runs.mutex);
    EXPECT_TRUE(runs.first.empty());
    EXPECT_GE(runs.second[0], 1.1); // 0.1 s + one interval
    EXPECT_GE(runs.second[1] - runs.second[0], 0.95);
    EXPECT_FALSE(runs.offMain); // recorded on a pool thread: never the main one
}

TEST(UIEventThrottler, AfterCancelAllOrDestructionNoActionRuns) {
    auto owner = std::make_shared<Runs>();
    Runs& runs = *owner;
    {
        UIEventThrottler throttler(0.02);
        throttler.throttle(runs.recorder(runs.first));
        ASSERT_TRUE(runs.waitFor(runs.first, 1));
        throttler.cancelAll();
        throttler.throttle(runs.recorder(runs.second));
    }                                                            // destroyed with its timer running
    std::this_thread::sleep_for(std::chrono::milliseconds(250)); // a running action ends
    size_t first = runs.count(runs.first), second = runs.count(runs.second);
    std::this_thread::sleep_for(std::chrono::milliseconds(250)); // many intervals
    EXPECT_EQ(runs.count(runs.first), first);
    EXPECT_EQ(runs.count(runs.second), second);
}

} // namespace
