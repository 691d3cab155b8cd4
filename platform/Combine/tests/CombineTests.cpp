#include "Combine/Combine.h"

#include "Foundation/RunLoop.h"
#include "Runtime/Runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(PassthroughSubjectTest, BroadcastsToTheSubscribersAttachedAtThatMoment) {
    PassthroughSubject<int> subject;
    std::vector<int> first, second;
    subject.send(0); // nobody listens yet: lost
    auto a = subject.sink([&](int v) { first.push_back(v); });
    subject.send(1);
    auto b = subject.sink([&](int v) { second.push_back(v); });
    subject.send(2);
    a.cancel();
    subject.send(3);
    {
        AnyCancellable moved = std::move(b);
        subject.send(4);
    } // destroying the cancellable ends the subscription
    subject.send(5);
    EXPECT_EQ(first, (std::vector<int>{1, 2}));
    EXPECT_EQ(second, (std::vector<int>{2, 3, 4}));
}

TEST(PassthroughSubjectTest, CompletionEndsEverySubscriberOnceAndReachesLateOnes) {
    PassthroughSubject<std::string> subject;
    int completions = 0;
    std::vector<std::string> values;
    AnyCancellableSet kept;
    for (int i = 0; i < 2; ++i)
        subject
            .sink([&](Subscribers::Completion) { ++completions; },
                  [&](const std::string& s) { values.push_back(s); })
            .store(kept);
    subject.send("a");
    subject.send(Subscribers::Completion::finished);
    subject.send("after");
    subject.send(Subscribers::Completion::finished);
    EXPECT_EQ(completions, 2);
    auto late = subject.sink([&](Subscribers::Completion) { ++completions; },
                             [&](const std::string& s) { values.push_back(s); });
    EXPECT_EQ(completions, 3);
    EXPECT_EQ(values, (std::vector<std::string>{"a", "a"}));
}

TEST(PassthroughSubjectTest, ClearingTheSetCancelsItsSubscriptions) {
    PassthroughSubject<int> subject;
    int received = 0;
    AnyCancellableSet kept;
    subject.sink([&](int) { ++received; }).store(kept);
    subject.map([](int v) { return v * 2; }).sink([&](int) { ++received; }).store(kept);
    subject.send(1);
    kept.clear();
    subject.send(2);
    EXPECT_EQ(received, 2);
}

TEST(CurrentValueSubjectTest, ANewSubscriberGetsTheCurrentValueFirst) {
    CurrentValueSubject<int> subject(7);
    std::vector<int> seen;
    auto c = subject.sink([&](int v) { seen.push_back(v); });
    subject.send(8);
    subject.setValue(9);
    EXPECT_EQ(seen, (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(subject.value(), 9);
    std::vector<int> late;
    auto d = subject.sink([&](int v) { late.push_back(v); });
    EXPECT_EQ(late, (std::vector<int>{9}));
}

struct Item {
    int tag = 0;
    int doubled() const { return tag * 2; }
};

TEST(OperatorTest, MapCompactMapAndFilterTransformInOrder) {
    PassthroughSubject<std::shared_ptr<Item>> subject;
    std::vector<int> tags, doubled, odd, evenTags;
    AnyCancellableSet kept;
    subject.map(&Item::tag).sink([&](int v) { tags.push_back(v); }).store(kept);
    subject.map(&Item::doubled).sink([&](int v) { doubled.push_back(v); }).store(kept);
    subject
        .compactMap([](const std::shared_ptr<Item>& i) -> std::optional<int> {
            if (i->tag % 2 == 0)
                return std::nullopt;
            return i->tag;
        })
        .sink([&](int v) { odd.push_back(v); })
        .store(kept);
    subject.map(&Item::tag)
        .filter([](int v) { return v % 2 == 0; })
        .sink([&](int v) { evenTags.push_back(v); })
        .store(kept);
    for (int t : {1, 2, 3, 4})
        subject.send(std::make_shared<Item>(Item{t}));
    EXPECT_EQ(tags, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(doubled, (std::vector<int>{2, 4, 6, 8}));
    EXPECT_EQ(odd, (std::vector<int>{1, 3}));
    EXPECT_EQ(evenTags, (std::vector<int>{2, 4}));
}

TEST(OperatorTest, CompletionPassesThroughOperators) {
    PassthroughSubject<int> subject;
    bool finished = false;
    auto c = subject.map([](int v) { return v + 1; })
                 .filter([](int) { return true; })
                 .sink([&](Subscribers::Completion) { finished = true; }, [](int) {});
    subject.send(Subscribers::Completion::finished);
    EXPECT_TRUE(finished);
}

// Asks for one value at a time, and for more only when told to.
struct CountingSubscriber : Subscriber<int> {
    std::shared_ptr<Subscription> subscription;
    std::vector<int> values;
    void receive(std::shared_ptr<Subscription> s) override {
        subscription = s;
        s->request(Subscribers::Demand::max(1));
    }
    Subscribers::Demand receive(const int& v) override {
        values.push_back(v);
        return Subscribers::Demand::none();
    }
    void receive(Subscribers::Completion) override {}
};

TEST(DemandTest, ASubjectSendsNoMoreThanWasAskedFor) {
    PassthroughSubject<int> subject;
    auto subscriber = std::make_shared<CountingSubscriber>();
    subject.map([](int v) { return v; }).receive(subscriber);
    subject.send(1);
    subject.send(2); // not asked for: dropped for this subscriber
    subscriber->subscription->request(Subscribers::Demand::max(2));
    subject.send(3);
    subject.send(4);
    subject.send(5);
    EXPECT_EQ(subscriber->values, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(Subscribers::Demand::unlimited() + Subscribers::Demand::max(1),
              Subscribers::Demand::unlimited());
    subscriber->subscription->cancel();
}

TEST(ReceiveOnTest, MainQueueDeliveryWaitsForTheLoopAndLandsOnTheMainThread) {
    Runtime::registerCurrentThreadAsMain();
    RunLoopTestScope scope;
    PassthroughSubject<int> subject;
    std::vector<int> values;
    bool allOnMain = true, finished = false;
    auto c = subject.receive(DispatchQueue::main())
                 .sink([&](Subscribers::Completion) { finished = true; },
                       [&](int v) {
                           allOnMain = allOnMain && Runtime::isMainThread();
                           values.push_back(v);
                       });
    subject.send(1);
    std::thread([&] { subject.send(2); }).join();
    subject.send(Subscribers::Completion::finished);
    EXPECT_TRUE(values.empty()); // never inside send
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(values, (std::vector<int>{1, 2}));
    EXPECT_TRUE(allOnMain);
    EXPECT_TRUE(finished);
}

} // namespace
