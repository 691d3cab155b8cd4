#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGPath.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

void expectRectNear(const CGRect& actual, const CGRect& expected, double eps = 1e-9) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, eps);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, eps);
    EXPECT_NEAR(actual.size.width, expected.size.width, eps);
    EXPECT_NEAR(actual.size.height, expected.size.height, eps);
}

TEST(Geometry, RectangleContainmentIsHalfOpen) {
    const CGRect r{0, 0, 48, 56};
    struct Case {
        CGPoint p;
        bool inside;
    } cases[] = {{{0, 0}, true},    {{47.9, 55.9}, true}, {{48, 10}, false},
                 {{10, 56}, false}, {{-0.1, 10}, false},  {{24, 28}, true}};
    for (const Case& c : cases)
        EXPECT_EQ(r.contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    // A negative size is standardised first.
    EXPECT_TRUE((CGRect{48, 56, -48, -56}).contains(CGPoint{1, 1}));
}

TEST(Geometry, RectangleSetOperations) {
    const CGRect a{0, 0, 10, 10}, b{5, 5, 10, 10}, far{20, 20, 1, 1};
    EXPECT_EQ(a.intersection(b), (CGRect{5, 5, 5, 5}));
    EXPECT_TRUE(a.intersection(far).isNull());
    EXPECT_FALSE(a.intersects(far));
    EXPECT_EQ(a.unionWith(b), (CGRect{0, 0, 15, 15}));
    EXPECT_EQ(CGRect::null().unionWith(b), b);
    EXPECT_EQ(a.insetBy(2, 3), (CGRect{2, 3, 6, 4}));
    EXPECT_TRUE(a.insetBy(6, 0).isNull());
    EXPECT_EQ((CGRect{0.5, 1.2, 2, 2}).integral(), (CGRect{0, 1, 3, 3}));
    EXPECT_EQ(a.midX(), 5);
    EXPECT_TRUE(a.contains(CGRect{1, 1, 9, 9}));
    EXPECT_FALSE(a.contains(b));
}

TEST(Geometry, TransformsComposeInThePlatformsOrder) {
    // translatedBy prepends: the point is translated first, then scaled.
    CGAffineTransform t = CGAffineTransform::scale(2, 3).translatedBy(1, 1);
    EXPECT_EQ(t.apply(CGPoint{0, 0}), (CGPoint{2, 3}));
    // concatenating appends: scale first, then translate.
    CGAffineTransform u =
        CGAffineTransform::scale(2, 3).concatenating(CGAffineTransform::translation(1, 1));
    EXPECT_EQ(u.apply(CGPoint{0, 0}), (CGPoint{1, 1}));
    CGPoint p{3, -4};
    CGPoint back = t.inverted().apply(t.apply(p));
    EXPECT_NEAR(back.x, p.x, 1e-12);
    EXPECT_NEAR(back.y, p.y, 1e-12);
    CGPoint r = CGAffineTransform::rotation(std::numbers::pi / 2).apply(CGPoint{1, 0});
    EXPECT_NEAR(r.x, 0, 1e-12);
    EXPECT_NEAR(r.y, 1, 1e-12);
    expectRectNear((CGRect{0, 0, 2, 1}).applying(CGAffineTransform::rotation(std::numbers::pi / 2)),
                   CGRect{-1, 0, 1, 2}, 1e-12);
}

TEST(Geometry, PathShapesAndBoundingBoxes) {
    struct Case {
        const char* what;
        CGPath path;
        CGRect box;
    };
    CGPath arc;
    arc.addArc({0, 0}, 10, 0, std::numbers::pi, false); // upper half, y up
    CGPath clockwiseArc;
    clockwiseArc.addArc({0, 0}, 10, 0, std::numbers::pi / 2, true); // three quarters
    Case cases[] = {
        {"rect", CGPath::rect({1, 2, 3, 4}), {1, 2, 3, 4}},
        {"ellipse", CGPath::ellipse({0, 0, 20, 10}), {0, 0, 20, 10}},
        {"rounded rect", CGPath::roundedRect({0, 0, 30, 20}, 4, 4), {0, 0, 30, 20}},
        {"arc", arc, {-10, 0, 20, 10}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGRect box = c.path.boundingBox();
        // Curve control points of a circle stay within its box when split in quarters.
        expectRectNear(box, c.box, 1e-9);
    }
    // The clockwise arc from 0 to π/2 sweeps through π and 3π/2: it ends at (0, 10).
    EXPECT_NEAR(clockwiseArc.currentPoint().x, 0, 1e-9);
    EXPECT_NEAR(clockwiseArc.currentPoint().y, 10, 1e-9);
    expectRectNear(clockwiseArc.boundingBox(), CGRect{-10, -10, 20, 20}, 0.01);
    EXPECT_TRUE(CGPath().boundingBox().isNull());
}

} // namespace
