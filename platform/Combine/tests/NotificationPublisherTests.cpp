#include "Combine/NotificationPublisher.h"

#include <gtest/gtest.h>

namespace {

struct Thing : NSObject {};

TEST(NotificationPublisher, DeliversEachNameForAnyObjectUntilCancelled) {
    NotificationCenter center;
    auto a = make<Thing>(), b = make<Thing>();
    std::vector<std::string> seen;
    auto subscription = notificationPublisher(center, {"frame", "bounds"})
                            .filter([&](const Notification& n) { return n.object == a; })
                            .sink([&](const Notification& n) { seen.push_back(n.name); });
    center.post("frame", a);
    center.post("bounds", b); // filtered out
    center.post("bounds", a);
    center.post("other", a); // not observed
    EXPECT_EQ(seen, (std::vector<std::string>{"frame", "bounds"}));
    subscription.cancel();
    center.post("frame", a);
    EXPECT_EQ(seen.size(), 2u);
}

} // namespace
