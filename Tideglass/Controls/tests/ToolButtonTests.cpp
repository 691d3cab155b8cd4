// The tool button: press-and-hold, double, Control- and right clicks against its two
// actions, a secondary target that is gone, the disabled button and the "more" mark.

#include "Controls/ToolButton.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSMenu.h"
#include "Foundation/RunLoop.h"
#include "Foundation/Timer.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Receiver : NSObject {
    int primary = 0, secondary = 0;
    void primaryAction(NSObject*) { ++primary; }
    void secondaryAction(NSObject*) { ++secondary; }
};

// A container in the responder chain that also understands the secondary action.
struct Chain : NSView {
    using NSView::NSView;
    int secondary = 0;
    void secondaryAction(NSObject*) { ++secondary; }
};

struct ToolScene {
    RunLoopTestScope scope;
    std::shared_ptr<Receiver> receiver = make<Receiver>();
    std::shared_ptr<Chain> chain = make<Chain>(CGRect{0, 0, 100, 60});
    std::shared_ptr<ToolButton> button = make<ToolButton>(CGRect{10, 10, 30, 24});
    ControlHarness h = [this] {
        chain->addSubview(button);
        return ControlHarness(chain, {100, 60});
    }();
    std::shared_ptr<Timer> timer;
    ToolScene() {
        button->setTarget(receiver);
        button->setAction(&Receiver::primaryAction);
        button->secondaryTarget = receiver;
        button->secondaryAction = &Receiver::secondaryAction;
    }
    CGPoint middle() const { return h.centre(*button); }
    // A release `after` seconds from now, sent as the window receives it while the button
    // may be waiting for it.
    void releaseAfter(double after) {
        timer = Timer::scheduled(after, false, [this](Timer&) {
            const CGRect b = button->bounds();
            h.window->sendEvent(NSEvent::mouse(
                NSEvent::Type::leftMouseUp, button->convertToView({b.midX(), b.midY()}, nullptr)));
        });
    }
};

TEST(ToolButton, TheHoldTheClicksAndTheirActions) {
    const double interval = NSEvent::doubleClickInterval();
    struct Case {
        const char* what;
        std::function<void(ToolScene&)> act;
        int primary, secondary;
    };
    const Case cases[] = {
        {"released within the interval",
         [&](ToolScene& s) {
             s.releaseAfter(interval / 2);
             s.h.press(s.middle());
         },
         1, 0},
        {"released half an interval late: the hold fired when the interval ended",
         [&](ToolScene& s) {
             s.releaseAfter(interval * 1.5);
             const auto start = RunLoop::main().now();
             s.h.press(s.middle());
             EXPECT_LT(RunLoop::main().now() - start, interval * 1.5);
         },
         0, 1},
        {"held past the interval",
         [](ToolScene& s) {
             s.h.press(s.middle());
             EXPECT_FALSE(s.button->isHighlighted()); // the press ended with the action
             s.h.release(s.middle());
         },
         0, 1},
        {"double click",
         [&](ToolScene& s) {
             s.releaseAfter(interval / 2);
             s.h.press(s.middle());
             s.h.click(s.middle(), 0, 2); // the second click does not wait
         },
         2, 0},
        {"no secondary action: an ordinary click",
         [](ToolScene& s) {
             s.button->secondaryAction = {};
             s.h.click(s.middle());
         },
         1, 0},
        {"Control-click",
         [&](ToolScene& s) {
             s.releaseAfter(interval / 2);
             s.h.press(s.middle(), NSEvent::control);
         },
         0, 1},
        {"Control-click held",
         [](ToolScene& s) {
             s.h.press(s.middle(), NSEvent::control);
             s.h.release(s.middle(), NSEvent::control);
         },
         0, 1},
        {"Control-click without a secondary action",
         [](ToolScene& s) {
             s.button->secondaryAction = {};
             s.h.click(s.middle(), NSEvent::control);
         },
         0, 0},
        {"right click, with a menu that never opens",
         [](ToolScene& s) {
             auto menu = NSMenu::make();
             menu->addItem(NSMenuItem::make("Reset"));
             s.button->setMenu(menu);
             s.h.rightClick(s.middle());
             EXPECT_FALSE(menu->lastPopUp());
         },
         0, 1},
        {"disabled: neither action, no hold",
         [](ToolScene& s) {
             s.button->setEnabled(false);
             s.h.press(s.middle());
             s.h.release(s.middle());
             s.h.rightClick(s.middle());
             s.h.click(s.middle(), NSEvent::control);
         },
         0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ToolScene s;
        c.act(s);
        EXPECT_EQ(s.receiver->primary, c.primary);
        EXPECT_EQ(s.receiver->secondary, c.secondary);
        EXPECT_FALSE(s.button->isHighlighted());
    }
}

TEST(ToolButton, AGoneSecondaryTargetLeavesTheActionToTheResponderChain) {
    ToolScene s;
    s.button->secondaryAction = &Chain::secondaryAction;
    s.button->secondaryTarget = make<Chain>(); // released at once
    ASSERT_TRUE(s.h.focus(s.button));
    s.h.rightClick(s.middle());
    EXPECT_EQ(s.chain->secondary, 1);
}

TEST(ToolButton, SetUpAsAnImageOnlyToggleWithTheMoreMarkOnItsArt) {
    ToolScene s;
    auto cell = std::dynamic_pointer_cast<ToolButtonCell>(s.button->cell());
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->highlightsBy, NSCellStyleMask::none);
    EXPECT_EQ(s.button->bezelStyle(), NSBezelStyle::regularSquare);
    EXPECT_EQ(s.button->buttonType(), NSButtonType::toggle);
    EXPECT_EQ(s.button->imagePosition(), NSCellImagePosition::imageOnly);
    EXPECT_EQ(s.button->imageScaling(), NSImageScaling::scaleNone);
    auto art = ToolButtonCell::classStyle()->bezelImage(StyledControlState::default_);
    ASSERT_TRUE(art);
    EXPECT_EQ(s.button->intrinsicContentSize().height, art->size().height);

    EXPECT_TRUE(s.h.image("corner-tool-background"));
    EXPECT_FALSE(s.h.image("corner-tool-more"));
    s.button->setShowMoreIcon(true);
    EXPECT_TRUE(cell->showMoreIcon);
    auto more = s.h.image("corner-tool-more");
    ASSERT_TRUE(more);
    EXPECT_EQ(more->rect, s.h.rectOf(*s.button));

    // On another kind of cell the flag stays in the button.
    auto plain = make<ToolButton>(CGRect{0, 0, 30, 24});
    plain->setCell(make<StyledButtonCell>());
    plain->setShowMoreIcon(true);
    EXPECT_TRUE(plain->showMoreIcon());
}

TEST(ToolButtonDeathTest, TheFixedWidthInitialiserIsNotOffered) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(make<ToolButton>(CGRect{}, std::optional<CGFloat>(40)),
                 "Use of unimplemented initializer 'init\\(frame:fixedWidth:\\)' for class "
                 "'Tideglass.ToolButton'");
}

} // namespace
