#include "AppKitSupport/Geometry.h"

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"

#include <gtest/gtest.h>

namespace {

TEST(GeometryTest, CentringSnapsToThePixelGridOfTheScale) {
    EXPECT_EQ(center({0, 0, 10, 10}, {0, 0, 25, 25}, 2), (CGRect{7.5, 7.5, 10, 10}));
    EXPECT_EQ(center({0, 0, 10, 10}, {0, 0, 25, 25}, 1), (CGRect{8, 8, 10, 10}));
    EXPECT_EQ(center({0, 0, 10, 10}, {100, 100, 25, 25}, 1), (CGRect{8, 8, 10, 10}));
    // Larger than the container: −2.5 rounds away from zero to −3.
    EXPECT_EQ(center({0, 0, 30, 30}, {0, 0, 25, 25}, 1), (CGRect{-3, -3, 30, 30}));
    // No snapping at scale 0 or below (the offsets stay as computed).
    EXPECT_EQ(integral({0.3, 0.3, 1, 1}, 0), (CGRect{0.3, 0.3, 1, 1}));
    EXPECT_EQ(integral({0.3, 0.3, 1, 1}, 2), (CGRect{0, 0, 1.5, 1.5}));

    EXPECT_EQ(centerX({0, 5, 10, 10}, {100, 0, 25, 25}, 1), (CGRect{108, 5, 10, 10}));
    EXPECT_EQ(centerX({0, 5, 10, 10}, {100, 0, 25, 25}, 1, std::pair{0.0, 50.0}),
              (CGRect{50, 5, 10, 10}));
    EXPECT_EQ(centerY({5, 0, 10, 10}, {0, 100, 25, 25}, 1), (CGRect{5, 108, 10, 10}));

    // Centring on the pixel grid of a scale, then snapping outwards.
    struct Case {
        const char* what;
        CGRect got, expected;
    };
    const CGRect square{0, 5, 10, 10}, container{0, 0, 25, 25};
    for (const Case& c : {
             // 10.3 wide at scale 2: offset 7.5, then the width grows to the half point.
             Case{"center snaps the size",
                  center({0, 0, 10.3, 10}, container, 2),
                  {7.5, 7.5, 10.5, 10}},
             // 7.5 at scale 2, then whole points: the edges 7.5 and 17.5 round outwards.
             Case{"centerX at scale 2", centerX(square, container, 2), {7, 5, 11, 10}},
             Case{"centerY at scale 2", centerY({5, 0, 10, 10}, container, 2), {5, 7, 10, 11}},
             Case{"centerX below its range",
                  centerX(square, container, 1, std::pair{20.0, 60.0}),
                  {20, 5, 10, 10}},
             Case{"centerX within its range",
                  centerX(square, container, 1, std::pair{0.0, 60.0}),
                  {8, 5, 10, 10}},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(GeometryTest, InsetsMoveTheOriginByTheTopOnlyWhenFlipped) {
    NSEdgeInsets insets{1, 2, 3, 4}; // top, left, bottom, right
    EXPECT_EQ(inset(CGRect{0, 0, 100, 50}, insets, true), (CGRect{2, 1, 94, 46}));
    EXPECT_EQ(inset(CGRect{0, 0, 100, 50}, insets, false), (CGRect{2, 3, 94, 46}));
    EXPECT_EQ(outset(CGRect{10, 10, 100, 50}, insets, true), (CGRect{8, 9, 106, 54}));
    EXPECT_EQ(outset(CGRect{10, 10, 100, 50}, insets, false), (CGRect{8, 7, 106, 54}));
    // Fractional insets: the result is snapped outwards to whole points.
    EXPECT_EQ(inset(CGRect{0, 0, 100, 50}, NSEdgeInsets{1.5, 2.5, 0, 0}, true),
              (CGRect{2, 1, 98, 49}));
    EXPECT_EQ(outset(CGRect{10, 10, 100, 50}, NSEdgeInsets{0.5, 0.5, 0, 0}, true),
              (CGRect{9, 9, 101, 51}));
    EXPECT_EQ(inset(CGSize{100, 50}, insets), (CGSize{94, 46}));
    EXPECT_EQ(size(insets), (CGSize{6, 4}));
    EXPECT_EQ(inverse(insets), (NSEdgeInsets{-1, -2, -3, -4}));
    EXPECT_FALSE(inverse(insets) == insets);
}

TEST(GeometryTest, FittingMovesARectangleJustInsideItsContainer) {
    struct Case {
        CGRect r, container, expected;
    };
    for (const Case& c : {
             Case{{90, 90, 20, 20}, {0, 0, 100, 100}, {80, 80, 20, 20}},
             Case{{-5, 40, 20, 20}, {0, 0, 100, 100}, {0, 40, 20, 20}},
             Case{{10, 10, 20, 20}, {0, 0, 100, 100}, {10, 10, 20, 20}},
             Case{{50, 50, 300, 300}, {10, 20, 100, 100}, {10, 20, 300, 300}}, // larger
         })
        EXPECT_EQ(fit(c.r, c.container), c.expected);
}

TEST(GeometryTest, ScalingAndPointArithmetic) {
    EXPECT_EQ(CGRect(1, 2, 3, 4) * 2, (CGRect{2, 4, 6, 8}));
    EXPECT_EQ(CGSize(4, 8) / 4, (CGSize{1, 2}));
    EXPECT_EQ(CGPoint(1, 2) * 3, (CGPoint{3, 6}));
    CGPoint p{1, 2}, q{10, 20};
    p += q;
    EXPECT_EQ(p, (CGPoint{11, 22}));
    p -= q;
    EXPECT_EQ(p, (CGPoint{1, 2}));
    EXPECT_EQ(q - p, (CGPoint{9, 18}));
    EXPECT_EQ(midPoint({0, 0, 10, 20}), (CGPoint{5, 10}));
    EXPECT_EQ(maxPoint({1, 2, 10, 20}), (CGPoint{11, 22}));
    EXPECT_FALSE(hasNonZeroDimensions(CGRect{0, 0, 0, 5}));
    EXPECT_TRUE(hasNonZeroDimensions(CGSize{-1, 5}));
    EXPECT_FALSE(hasNonZeroDimensions(CGSize{5, 0}));
    EXPECT_FALSE(hasNonZeroDimensions(CGSize{0, 5}));
    EXPECT_EQ(size(CGImage::blank(3, 2)), (CGSize{3, 2})); // pixels, width first
    EXPECT_EQ(componentwiseMin({1, 9}, {5, 2}), (CGSize{1, 2}));
    EXPECT_EQ(componentwiseMax({1, 9}, {5, 2}), (CGSize{5, 9}));
}

TEST(GeometryTest, ColoursDescribeTheirSpaceAndComponents) {
    EXPECT_EQ(debugDescription(CGColor::withoutSpace({0.5, 1})), ": [ 0.5, 1 ]");
    auto srgb = debugDescription(CGColor::rgb(1, 0, 0.25));
    EXPECT_EQ(srgb, CGColorSpaceName(CGColorSpace::sRGB) + ": [ 1, 0, 0.25, 1 ]");
}

TEST(GeometryTest, AShakeIsBackAtRestAtTheStartAndTheEnd) {
    for (CGFloat progress : {0.0, 1.0}) {
        ShakeEffect shake{10, 3, progress};
        EXPECT_NEAR(shake.effectValue({100, 20}).tx, 0, 1e-9) << progress;
    }
    ShakeEffect quarter{10, 3, 1.0 / 6}; // sin(π / 2): the full amount
    EXPECT_NEAR(quarter.effectValue({}).tx, 10, 1e-9);
    EXPECT_EQ(quarter.effectValue({}).ty, 0);
}

TEST(GeometryTest, RoundedRectanglesCurveOnlyTheirRoundedCorners) {
    CGRect rect{0, 0, 100, 50};
    auto square = roundedRectPath(rect, {});
    int curves = 0;
    for (auto& e : square->cgPath().elements())
        curves += e.type == CGPathElement::Type::curveTo;
    EXPECT_EQ(curves, 0);

    auto path = roundedRectPath(rect, {0, 10, 0, 5}); // top-right and bottom-left
    CGRect box = path->cgPath().boundingBox();
    for (auto [got, want] : {std::pair{box.minX(), rect.minX()},
                             {box.minY(), rect.minY()},
                             {box.maxX(), rect.maxX()},
                             {box.maxY(), rect.maxY()}})
        EXPECT_NEAR(got, want, 1e-9);
    std::vector<CGPoint> arcEnds;
    const auto& elements = path->cgPath().elements();
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i].type == CGPathElement::Type::curveTo &&
            (i + 1 == elements.size() || elements[i + 1].type != CGPathElement::Type::curveTo))
            arcEnds.push_back(elements[i].points[2]);
    ASSERT_EQ(arcEnds.size(), 2u);
    EXPECT_NEAR(arcEnds[0].x, 100, 1e-9);
    EXPECT_NEAR(arcEnds[0].y, 10, 1e-9); // the top-right arc ends on the right edge
    EXPECT_NEAR(arcEnds[1].x, 0, 1e-9);
    EXPECT_NEAR(arcEnds[1].y, 45, 1e-9); // the bottom-left arc ends on the left edge
    EXPECT_EQ(elements.front().points[0], (CGPoint{0, 0}));
}

// The end points of a path's elements in order, repeated points once.
std::vector<CGPoint> endPoints(const CGPath& path) {
    std::vector<CGPoint> ends;
    for (const auto& e : path.elements()) {
        if (e.type == CGPathElement::Type::closeSubpath)
            continue;
        CGPoint p = e.type == CGPathElement::Type::curveTo ? e.points[2] : e.points[0];
        if (ends.empty() || std::hypot(ends.back().x - p.x, ends.back().y - p.y) > 1e-9)
            ends.push_back(p);
    }
    return ends;
}

TEST(GeometryTest, EachCornerHasItsOwnRadiusAndAQuarterTurnOfArc) {
    // Top left 1, top right 2, bottom right 3, bottom left 4 (top at minY).
    auto path = roundedRectPath({0, 0, 100, 50}, {1, 2, 3, 4});
    const auto& elements = path->cgPath().elements();
    const std::vector<CGPoint> expected{{1, 0},  {98, 0}, {100, 2}, {100, 47}, {97, 50},
                                        {4, 50}, {0, 46}, {0, 1},   {1, 0}};
    auto ends = endPoints(path->cgPath());
    ASSERT_EQ(ends.size(), expected.size());
    for (size_t i = 0; i < ends.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(ends[i].x, expected[i].x, 1e-9);
        EXPECT_NEAR(ends[i].y, expected[i].y, 1e-9);
    }
    // A quarter turn is one cubic; an arc the long way round would take three.
    int curves = 0;
    for (const auto& e : elements)
        curves += e.type == CGPathElement::Type::curveTo;
    EXPECT_EQ(curves, 4);
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements.back().type, CGPathElement::Type::closeSubpath);
}

TEST(GeometryTest, VerticalFlipMirrorsTheFrame) {
    auto bitmap = CGContext::makeBitmap({40, 30});
    NSGraphicsContext::Scope scope(bitmap);
    verticallyFlip({0, 0, 40, 30});
    auto t = bitmap->ctm();
    EXPECT_EQ(CGRect(0, 0, 10, 5).applying(t), (CGRect{0, 25, 10, 5}));
}

} // namespace
