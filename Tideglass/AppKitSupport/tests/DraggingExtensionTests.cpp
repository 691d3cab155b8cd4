#include "AppKitSupport/DraggingExtensions.h"

#include <gtest/gtest.h>

namespace {

struct Preset : NSObject {};
struct Sample : NSObject {};

TEST(DraggingExtensionTest, ItemsComeInOrderAndOnlyOfTheClassAsked) {
    auto info = make<NSDraggingInfo>();
    auto p1 = make<Preset>(), p2 = make<Preset>();
    auto s = make<Sample>();
    info->draggedObjects = {p1, s, p2};
    auto all =
        draggingItems(*info, 0, nullptr,
                      {NSDraggingInfo::readable<Preset>(), NSDraggingInfo::readable<Sample>()});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1]->item, s);
    EXPECT_EQ(items<Preset>(*info, 0, nullptr), (std::vector<std::shared_ptr<Preset>>{p1, p2}));
    EXPECT_TRUE(items<Preset>(*make<NSDraggingInfo>(), 0, nullptr).empty());
}

} // namespace
