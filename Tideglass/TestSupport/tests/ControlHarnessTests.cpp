// The control harness: a test clicks where it sees a thing drawn, and the view under
// it gets the event at that place in its own coordinates; keys reach the first
// responder; the drawn items come with their rectangles in the same points.

#include "TestSupport/ControlHarness.h"

#include "AppKit/NSGraphicsContext.h"
#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A view that fills its bounds and notes every event it gets, in its own coordinates.
struct Probe : NSView {
    using NSView::NSView;
    bool flipped = false;
    std::vector<std::string> events;
    std::vector<CGPoint> points;
    CGFloat scrolled = 0;

    bool isFlipped() const override { return flipped; }
    bool acceptsFirstResponder() const override { return true; }
    void drawRect(CGRect) override {
        auto& context = NSGraphicsContext::current()->cgContext();
        context.setFillColor(CGColor::rgb(0.2, 0.4, 0.6, 1));
        context.fillRect(bounds());
    }
    void note(const char* what, const NSEvent& e) {
        events.push_back(what);
        points.push_back(convertFromView(e.locationInWindow(), nullptr));
    }
    void mouseDown(const NSEvent& e) override { note("down", e); }
    void mouseDragged(const NSEvent& e) override { note("drag", e); }
    void mouseUp(const NSEvent& e) override { note("up", e); }
    void rightMouseDown(const NSEvent& e) override { note("right down", e); }
    void scrollWheel(const NSEvent& e) override {
        note("scroll", e);
        scrolled += e.scrollingDeltaY();
    }
    void keyDown(const NSEvent& e) override { events.push_back("key " + e.characters()); }
    void keyUp(const NSEvent& e) override { events.push_back("up " + e.characters()); }
};

TEST(ControlHarness, AHeldControlIsClickedWhereItIsDrawn) {
    RunLoopTestScope scope;
    for (bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped view" : "plain view");
        auto probe = make<Probe>(CGRect{20, 10, 60, 24});
        probe->flipped = flipped;
        auto h = ControlHarness::holding(probe, {120, 50}, 2);
        EXPECT_TRUE(h.window->isKeyWindow());
        EXPECT_EQ(h.rectOf(*probe), (CGRect{20, 10, 60, 24}));

        auto fills = h.items(CGDisplayItem::Kind::fill);
        ASSERT_EQ(fills.size(), 2u) << "the window's background, then the probe";
        EXPECT_EQ(fills[1].rect, h.rectOf(*probe)) << fills[1];
        auto own = itemsOfKind(h.drawnBy(*probe), CGDisplayItem::Kind::fill);
        ASSERT_EQ(own.size(), 1u);
        EXPECT_EQ(own[0].rect, (CGRect{0, 0, 60, 24}));

        // 5 points in from the left, 4 down from the top of the probe.
        h.click({25, 14});
        h.rightClick(h.centre(*probe));
        ASSERT_EQ(probe->events, (std::vector<std::string>{"down", "up", "right down"}));
        const CGFloat fromTop = 4;
        EXPECT_EQ(probe->points[0], (CGPoint{5, flipped ? fromTop : 24 - fromTop}));
        EXPECT_EQ(probe->points[2], (CGPoint{30, 12}));
    }
}

TEST(ControlHarness, DragsScrollsAndKeysReachTheirViews) {
    RunLoopTestScope scope;
    auto probe = make<Probe>(CGRect{0, 0, 100, 40});
    probe->flipped = true;
    auto h = ControlHarness::holding(probe, {100, 40});

    h.dragFromTo({10, 20}, {50, 20}, 4);
    EXPECT_EQ(probe->events,
              (std::vector<std::string>{"down", "drag", "drag", "drag", "drag", "up"}));
    EXPECT_EQ(probe->points.back(), (CGPoint{50, 20}));
    EXPECT_EQ(probe->points[2], (CGPoint{30, 20})) << "equal steps";

    probe->events.clear();
    h.scroll({30, 30}, 0, -3);
    EXPECT_EQ(probe->events, std::vector<std::string>{"scroll"});
    EXPECT_EQ(probe->scrolled, -3);

    probe->events.clear();
    ASSERT_TRUE(h.focus(probe));
    h.type("aé²");
    h.key(NSEventSpecialKey::carriageReturn);
    EXPECT_EQ(probe->events, (std::vector<std::string>{"key a", "up a", "key é", "up é", "key ²",
                                                       "up ²", "key \r", "up \r"}));
}

TEST(ControlHarness, DeclarativeViewsAreHostedAndDrawnInTheSamePoints) {
    RunLoopTestScope scope;
    using namespace SwiftUI;
    int taps = 0;
    ControlHarness h(AnyView(Text("TAP")
                                 .padding(10)
                                 .onTapGesture([&] { ++taps; })
                                 .frame(100, 60, Alignment::topLeading())),
                     {100, 60});
    ASSERT_TRUE(h.host);
    auto label = h.text("TAP");
    ASSERT_TRUE(label);
    EXPECT_NEAR(label->rect.minX(), 10, 0.5) << *label;
    EXPECT_NEAR(label->rect.minY(), 10, 0.5) << *label;
    h.click({label->rect.midX(), label->rect.midY()});
    EXPECT_EQ(taps, 1);
    h.click({90, 55});
    EXPECT_EQ(taps, 1) << "outside the padded text";
    EXPECT_FALSE(h.image("anything"));
}

} // namespace
