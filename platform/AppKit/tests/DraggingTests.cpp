#include "AppKit/NSDragging.h"

#include <gtest/gtest.h>

namespace {

struct Track : NSObject {};
struct Clip : NSObject {};

TEST(DraggingTest, ReadableObjectsAreOfferedInOrderUntilStopped) {
    auto info = make<NSDraggingInfo>();
    auto t1 = make<Track>(), t2 = make<Track>();
    auto c = make<Clip>();
    info->draggedObjects = {t1, c, t2};
    std::vector<std::shared_ptr<NSObject>> seen;
    std::vector<long> indexes;
    info->enumerateDraggingItems(0, nullptr, {NSDraggingInfo::readable<Track>()}, {},
                                 [&](const auto& item, long index, bool&) {
                                     seen.push_back(item->item);
                                     indexes.push_back(index);
                                 });
    EXPECT_EQ(seen, (std::vector<std::shared_ptr<NSObject>>{t1, t2}));
    EXPECT_EQ(indexes, (std::vector<long>{0, 1}));
    int offered = 0;
    info->enumerateDraggingItems(
        0, nullptr, {NSDraggingInfo::readable<Track>(), NSDraggingInfo::readable<Clip>()}, {},
        [&](const auto&, long, bool& stop) { stop = ++offered == 2; });
    EXPECT_EQ(offered, 2);
}

} // namespace
