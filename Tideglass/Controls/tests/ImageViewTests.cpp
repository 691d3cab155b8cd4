// The clickable image view, the divider-less split view and the styled flipped view.

#include "Controls/ImageViews.h"

#include "AppKit/CALayer.h"
#include "AppKit/NSTextField.h"
#include "Foundation/RunLoop.h"
#include "Styles/StyleProtocols.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = CGDisplayItem::Kind;

// An image view with art at (20, 20) of a key window, counting its clicks.
struct ImageScene {
    RunLoopTestScope scope;
    std::shared_ptr<ClickableImageView> view = [] {
        auto v = make<ClickableImageView>(CGRect{20, 20, 16, 16});
        v->setImage(TideglassResources::nsImage("cursor-trackingslider"));
        return v;
    }();
    ControlHarness h = ControlHarness::holding(view, {120, 80});
    int clicks = 0;
    AnyCancellable counting = view->clicked.sink([this](const std::monostate&) { ++clicks; });
    CGFloat drawnAlpha() { return h.image("cursor-trackingslider")->alpha; }
};

TEST(ClickableImageView, OneClickSendsOneValueAlsoInAWindowThatIsNotKey) {
    ImageScene s;
    s.h.click(s.h.centre(*s.view));
    EXPECT_EQ(s.clicks, 1);

    auto other = make<NSWindow>(CGRect{0, 0, 50, 50});
    other->makeKeyWindow();
    ASSERT_FALSE(s.h.window->isKeyWindow());
    s.h.click(s.h.centre(*s.view));
    EXPECT_EQ(s.clicks, 2);
    EXPECT_TRUE(s.view->acceptsFirstMouse(nullptr));

    // A press dragged away is no click.
    s.h.dragFromTo(s.h.centre(*s.view), {100, 70});
    EXPECT_EQ(s.clicks, 2);
}

TEST(ClickableImageView, DimsWhilePressedOnlyWhenEnabled) {
    struct Case {
        const char* what;
        bool enabledAtPress, enabledAtRelease;
        CGFloat whilePressed, afterRelease;
    };
    const Case cases[] = {
        {"enabled", true, true, 0.5, 1},
        {"disabled", false, false, 1, 1},
        {"disabled while pressed: still comes back", true, false, 0.5, 1},
        {"enabled while pressed", false, true, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ImageScene s;
        s.view->setEnabled(c.enabledAtPress);
        // The drawn image: the view's opacity times the cell's own dimming (0.5 when
        // the cell is disabled).
        auto cellDimming = [&] { return s.view->isEnabled() ? 1.0 : 0.5; };
        s.h.press(s.h.centre(*s.view));
        EXPECT_DOUBLE_EQ(s.view->alphaValue(), c.whilePressed);
        EXPECT_DOUBLE_EQ(s.drawnAlpha(), c.whilePressed * cellDimming());
        s.view->setEnabled(c.enabledAtRelease);
        s.h.release(s.h.centre(*s.view));
        EXPECT_DOUBLE_EQ(s.view->alphaValue(), c.afterRelease);
        EXPECT_DOUBLE_EQ(s.drawnAlpha(), c.afterRelease * cellDimming());
    }
}

// An image view paired with a text field beside it, in a window that is not key.
struct PairScene : ImageScene {
    std::shared_ptr<NSTextField> field = make<NSTextField>(CGRect{50, 20, 60, 22});
    std::shared_ptr<NSWindow> other = make<NSWindow>(CGRect{0, 0, 50, 50});
    AnyCancellableSet cancellables;
    PairScene() {
        field->setEditable(true);
        h.window->contentView()->addSubview(field);
        other->makeKeyWindow();
    }
};

TEST(ClickableImageView, AClickMakesThePairedControlFirstResponder) {
    PairScene s;
    ClickableImageView::makeFirstResponderOnClick({{s.view, s.field}}, s.cancellables);
    EXPECT_EQ(s.cancellables.size(), 1u);
    s.h.click(s.h.centre(*s.view));
    EXPECT_TRUE(s.h.window->isKeyWindow());
    EXPECT_TRUE(hasKeyboardFocus(*s.field));
}

TEST(ClickableImageView, APairKeepsNoControlAliveAndIgnoresOneWithoutAWindow) {
    struct Case {
        const char* what;
        std::function<void(PairScene&)> loseIt;
    };
    const Case cases[] = {
        {"the control released",
         [](PairScene& s) {
             std::weak_ptr<NSTextField> weak = s.field;
             s.field->removeFromSuperview();
             s.field.reset();
             EXPECT_TRUE(weak.expired()) << "the pairing holds the control weakly";
         }},
        {"the control out of its window", [](PairScene& s) { s.field->removeFromSuperview(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PairScene s;
        ClickableImageView::makeFirstResponderOnClick({{s.view, s.field}}, s.cancellables);
        c.loseIt(s);
        s.h.click(s.h.centre(*s.view));
        EXPECT_EQ(s.clicks, 1);
        EXPECT_FALSE(s.h.window->isKeyWindow());
    }
}

TEST(SplitViews, ANoDividerSplitViewPutsItsViewsEdgeToEdgeAndDrawsNoLine) {
    struct Case {
        const char* what;
        std::shared_ptr<NSSplitView> split;
        CGFloat gap;
        size_t fills;
    };
    const Case cases[] = {
        {"a plain split view: a one-point divider", make<NSSplitView>(CGRect{0, 0, 200, 100}), 1,
         1},
        {"no divider", make<NoDividerSplitView>(CGRect{0, 0, 200, 100}), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunLoopTestScope scope;
        c.split->setVertical(true);
        auto left = make<NSView>(CGRect{0, 0, 80, 10});
        auto right = make<NSView>(CGRect{0, 0, 10, 10});
        c.split->addSubview(left);
        c.split->addSubview(right);
        ControlHarness h(c.split, {200, 100});
        EXPECT_EQ(left->frame(), (CGRect{0, 0, 80, 100}));
        EXPECT_EQ(right->frame(), (CGRect{80 + c.gap, 0, 120 - c.gap, 100}));
        EXPECT_EQ(itemsOfKind(h.drawnBy(*c.split), Kind::fill).size(), c.fills);
    }
}

TEST(StyledFlippedView, LaysOutFromTheTopLeftOnTheBackgroundColour) {
    RunLoopTestScope scope;
    auto view = make<StyledFlippedView>(CGRect{0, 0, 100, 60});
    auto child = make<NSView>(CGRect{0, 0, 10, 10});
    view->addSubview(child);
    ControlHarness h(view, {100, 60});
    EXPECT_TRUE(view->wantsLayer());
    EXPECT_FALSE(view->translatesAutoresizingMaskIntoConstraints);
    EXPECT_EQ(h.rectOf(*child), (CGRect{0, 0, 10, 10}));
    auto fills = itemsOfKind(h.drawnBy(*view), Kind::fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].rect, (CGRect{0, 0, 100, 60}));
    EXPECT_EQ(fills[0].color, TideglassResources::nsColor("Background/Normal")->cgColor());

    // A style set later colours the views made afterwards only.
    auto original = StyledFlippedView::classStyle();
    auto red = std::make_shared<BaseStyle>();
    red->setBackgroundColor(NSColor::rgb(1, 0, 0));
    StyledFlippedView::setClassStyle(red);
    auto later = make<StyledFlippedView>(CGRect{0, 0, 10, 10});
    StyledFlippedView::setClassStyle(original);
    EXPECT_EQ(later->layer()->backgroundColor, NSColor::rgb(1, 0, 0)->cgColor());
    EXPECT_EQ(view->layer()->backgroundColor,
              TideglassResources::nsColor("Background/Normal")->cgColor());
}

} // namespace
