// The dirty region's arithmetic.

#include "CoreGraphics/CGRegion.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

std::set<std::tuple<CGFloat, CGFloat, CGFloat, CGFloat>> rectsOf(const CGRegion& region) {
    std::set<std::tuple<CGFloat, CGFloat, CGFloat, CGFloat>> out;
    for (const CGRect& r : region.rects())
        out.insert({r.minX(), r.minY(), r.width(), r.height()});
    return out;
}

TEST(Region, MergesWhatMeetsAndKeepsApartWhatDoesNot) {
    struct Case {
        const char* what;
        std::vector<CGRect> added;
        std::set<std::tuple<CGFloat, CGFloat, CGFloat, CGFloat>> expected;
    };
    const Case cases[] = {
        {"two meters far apart stay two",
         {{10, 10, 11, 176}, {450, 10, 11, 176}},
         {{10, 10, 11, 176}, {450, 10, 11, 176}}},
        {"overlapping rectangles become their bounding box",
         {{0, 0, 10, 10}, {5, 5, 10, 10}},
         {{0, 0, 15, 15}}},
        {"touching ones too", {{0, 0, 10, 10}, {10, 0, 10, 10}}, {{0, 0, 20, 10}}},
        {"a merge that reaches a third takes it in",
         {{0, 0, 10, 10}, {20, 0, 10, 10}, {5, 0, 20, 5}},
         {{0, 0, 30, 10}}},
        {"empty and null rectangles add nothing", {{0, 0, 0, 10}, CGRect::null()}, {}},
        {"negative sizes are standardised", {{10, 10, -5, -5}}, {{5, 5, 5, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGRegion region;
        for (const CGRect& r : c.added)
            region.add(r);
        EXPECT_EQ(rectsOf(region), c.expected);
    }
}

TEST(Region, ManyRectanglesBecomeTheirBoundingBox) {
    CGRegion region;
    for (size_t i = 0; i <= CGRegion::maxRects; ++i)
        region.add(CGRect{CGFloat(i) * 20, 0, 10, 10});
    ASSERT_EQ(region.rects().size(), 1u);
    EXPECT_EQ(region.rects()[0], (CGRect{0, 0, CGFloat(CGRegion::maxRects) * 20 + 10, 10}));
    EXPECT_TRUE(region.intersects({5, 5, 1, 1}));
    EXPECT_TRUE(region.contains({15, 2, 2, 2}));
}

TEST(Region, AlignsOutwardsToWholePixels) {
    CGRegion region(CGRect{10.25, 3, 5.5, 2.2});
    EXPECT_EQ(rectsOf(region.alignedToPixels(1)), (decltype(rectsOf(region)){{10, 3, 6, 3}}));
    EXPECT_EQ(rectsOf(region.alignedToPixels(2)), (decltype(rectsOf(region)){{10, 3, 6, 2.5}}));
    // Exact edges stay where they are.
    CGRegion exact(CGRect{1, 2, 3, 4});
    EXPECT_EQ(exact.alignedToPixels(2), exact);
}

} // namespace
