// The back and corner buttons and the dark-highlight button: fading out, the alternate
// menu and its position, the clicks that send the action, the disabled button, image
// strengths and the custom cursor.

#include "Controls/Buttons.h"

#include "AppKit/NSImage.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Receiver : NSObject {
    int calls = 0;
    void clicked(NSObject*) { ++calls; }
};

TEST(BackButton, FadingOutHidesItAndAnyPositiveAlphaShowsItAgain) {
    auto back = make<BackButton>(CGRect{0, 0, 30, 24});
    struct Case {
        CGFloat alpha;
        bool hidden;
    };
    const Case cases[] = {{0, true}, {0.5, false}, {-1, false}, {0, true}, {-1, true}, {1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        back->setAlphaValue(c.alpha);
        EXPECT_EQ(back->alphaValue(), c.alpha);
        EXPECT_EQ(back->isHidden(), c.hidden);
    }
    EXPECT_EQ(back->alignmentRectInsets(), (NSEdgeInsets{6, 5, 4, 4}));
    RunLoopTestScope scope;
    back->setAlphaValue(0.5);
    auto h = ControlHarness::holding(back, {60, 40});
    auto art = h.image("organiser-navbar-back");
    ASSERT_TRUE(art);
    EXPECT_DOUBLE_EQ(art->alpha, 0.5);
    back->setState(NSCell::StateValue::on);
    EXPECT_TRUE(h.image("organiser-navbar-back-down"));
}

struct CornerScene {
    RunLoopTestScope scope;
    std::shared_ptr<Receiver> receiver = make<Receiver>();
    std::shared_ptr<CornerButton> button = make<CornerButton>(CGRect{10, 10, 24, 24});
    ControlHarness h = ControlHarness::holding(button, {80, 60});
    CornerScene() {
        button->setTarget(receiver);
        button->setAction(&Receiver::clicked);
    }
    CGPoint middle() const { return h.centre(*button); }
};

TEST(CornerButton, ItsAlternateMenuPopsUpBelowItOnASingleOrSecondaryClick) {
    struct Case {
        const char* what;
        bool withMenu, enabled;
        std::function<void(CornerScene&)> act;
        bool popped;
        int actions;
    };
    const Case cases[] = {
        {"click with a menu", true, true, [](CornerScene& s) { s.h.click(s.middle()); }, true, 0},
        {"double click with a menu", true, true,
         [](CornerScene& s) { s.h.click(s.middle(), 0, 2); }, false, 1},
        {"right click with a menu", true, true, [](CornerScene& s) { s.h.rightClick(s.middle()); },
         true, 0},
        {"Control-click with a menu", true, true,
         [](CornerScene& s) { s.h.click(s.middle(), NSEvent::control); }, true, 0},
        {"click without a menu", false, true, [](CornerScene& s) { s.h.click(s.middle()); }, false,
         1},
        {"right click without a menu: swallowed", false, true,
         [](CornerScene& s) { s.h.rightClick(s.middle()); }, false, 0},
        {"disabled", true, false,
         [](CornerScene& s) {
             s.h.click(s.middle());
             s.h.rightClick(s.middle());
         },
         false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CornerScene s;
        auto menu = NSMenu::make();
        menu->addItem(NSMenuItem::make("Reveal"));
        if (c.withMenu)
            s.button->alternateMenu = menu;
        // A contextual menu that must never show instead.
        auto context = NSMenu::make();
        s.button->setMenu(context);
        s.button->setEnabled(c.enabled);
        c.act(s);
        EXPECT_EQ(menu->lastPopUp().has_value(), c.popped);
        EXPECT_FALSE(context->lastPopUp());
        EXPECT_EQ(s.receiver->calls, c.actions);
        EXPECT_FALSE(s.button->isHighlighted());
        if (c.popped) {
            const CGRect b = s.button->bounds();
            EXPECT_EQ(menu->lastPopUp()->location, (CGPoint{b.minX(), b.maxY() + 4}));
            EXPECT_EQ(menu->lastPopUp()->positioningItem.lock(), nullptr);
        }
    }
}

TEST(DarkHighlightButton, ItsImageDarkensWhilePressedOrDisabledAndItsCursorCovers) {
    RunLoopTestScope scope;
    auto button = make<DarkHighlightButton>(CGRect{10, 10, 30, 30});
    button->setBordered(false);
    button->setImage(TideglassResources::nsImage("organiser-icon-star"));
    auto h = ControlHarness::holding(button, {60, 60});
    struct Case {
        const char* what;
        bool enabled, pressed;
        CGFloat alpha;
    };
    const Case cases[] = {{"enabled", true, false, 1},
                          {"pressed", true, true, 0.5},
                          {"disabled", false, false, 0.5},
                          {"disabled, pressed", false, true, 0.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        button->setEnabled(c.enabled);
        button->cell()->isHighlighted = c.pressed;
        button->setNeedsDisplay();
        EXPECT_DOUBLE_EQ(h.image("organiser-icon-star")->alpha, c.alpha);
    }
    button->customCursor = NSCursor::pointingHand();
    h.window->invalidateCursorRects(*button);
    h.move(h.centre(*button));
    EXPECT_EQ(NSCursor::current(), NSCursor::pointingHand());
    // Over the whole button, up to its edges.
    const CGRect at = h.rectOf(*button);
    h.move({at.minX() + 0.5, at.minY() + 0.5});
    EXPECT_EQ(NSCursor::current(), NSCursor::pointingHand());
    h.move({at.maxX() - 0.5, at.maxY() - 0.5});
    EXPECT_EQ(NSCursor::current(), NSCursor::pointingHand());
    ASSERT_EQ(button->cursorRects().size(), 1u);
    EXPECT_EQ(button->cursorRects()[0].rect, button->bounds());
    h.move({55, 55});
    EXPECT_EQ(NSCursor::current(), NSCursor::arrow());
}

} // namespace
