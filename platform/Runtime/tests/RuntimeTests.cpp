#include "Runtime/Runtime.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Hooked : NSObject {
    explicit Hooked(int v) : value(v) {}
    int value;
    bool sawSelf = false;
    void didInit() override { sawSelf = shared_from_this().get() == this; }
};

TEST(Runtime, MakeRunsTheSetUpHookWithSharedSelf) {
    auto object = make<Hooked>(7);
    EXPECT_EQ(object->value, 7);
    EXPECT_TRUE(object->sawSelf);
}

TEST(Runtime, AssociatedObjectsLiveAsLongAsTheirOwner) {
    static const char key = 0;
    auto relay = std::make_shared<int>(3);
    std::weak_ptr<int> weak = relay;
    {
        auto owner = make<Hooked>(1);
        owner->setAssociatedObject(&key, relay);
        relay.reset();
        EXPECT_FALSE(weak.expired());
        EXPECT_EQ(*std::static_pointer_cast<int>(owner->associatedObject(&key)), 3);
    }
    EXPECT_TRUE(weak.expired());
}

TEST(Runtime, MainThreadIsTheStartingThread) {
    EXPECT_TRUE(Runtime::isMainThread());
    bool other = true;
    std::thread([&] { other = Runtime::isMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(RuntimeDeathTest, FatalErrorPrintsItsMessage) {
    EXPECT_DEATH(fatalError("init(coder:) has not been implemented"),
                 "init\\(coder:\\) has not been implemented");
    EXPECT_DEATH(std::thread([] { Runtime::assertMainThread("NSView"); }).join(), "main thread");
}

} // namespace
