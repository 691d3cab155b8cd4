// The cursor button and the pop-up cycling button: the application's cursor art shown
// while the pointer is over the button (the cursor stack), the hot spot, the half-opacity
// press, cycling a pop-up button forwards and back with Shift, the disabled button.
// Their art comes from the application's main bundle, which each test gives them
// (MainBundleResources).

#include "Controls/CursorButton.h"

#include "AppKit/CALayer.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSPopUpButton.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/MainBundleResources.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr const char* cursorArt =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
    R"(<path d="M3 4 L3 14 L10 10 Z"/></svg>)";

// A main bundle holding "cursor-cycle", a clean run loop and cursor stack.
struct WithCursorArt {
    MainBundleResources resources;
    RunLoopTestScope scope;
    WithCursorArt() {
        resources.addImage("cursor-cycle", cursorArt);
        NSCursor::clearHistory();
    }
};

TEST(CursorButton, ThePointerOverItShowsItsCursorAndLeavingReturnsThePreviousOne) {
    WithCursorArt art;
    auto button = make<CursorButton>(CGRect{10, 10, 40, 24});
    button->setTitle("Next");
    ASSERT_EQ(button->cursor()->image()->name(), "cursor-cycle");
    auto h = ControlHarness::holding(button, {120, 60});
    NSCursor::crosshair()->push(); // what the window showed before
    NSCursor::clearHistory();

    struct Case {
        const char* what;
        CGPoint to;
        const char* cursor;
    };
    const CGPoint middle = h.centre(*button);
    const Case cases[] = {
        {"outside", {100, 50}, "crosshair"},
        {"enters", middle, "cursor-cycle"},
        {"moves within", {middle.x + 6, middle.y + 3}, "cursor-cycle"},
        {"leaves", {100, 50}, "crosshair"},
        {"enters again", middle, "cursor-cycle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.move(c.to);
        EXPECT_EQ(NSCursor::current()->name(), c.cursor);
    }
    EXPECT_EQ(NSCursor::current()->hotSpot(), (CGPoint{3, 4}));
    // One push per entry, one pop per exit.
    EXPECT_EQ(NSCursor::history(),
              (std::vector<std::string>{"push cursor-cycle", "pop", "push cursor-cycle"}));
    h.move({100, 50});
    NSCursor::pop();

    // A new hot spot alone changes nothing; the next image makes the cursor with it.
    button->cursorHotSpot = {0, 0};
    EXPECT_EQ(button->cursor()->hotSpot(), (CGPoint{3, 4}));
    button->setCursorImage(NSImage::named("cursor-cycle"));
    EXPECT_EQ(button->cursor()->hotSpot(), (CGPoint{0, 0}));

    // The area follows the bounds.
    button->setFrameSize({60, 30});
    ASSERT_TRUE(button->trackingArea());
    EXPECT_EQ(button->trackingArea()->rect(), button->bounds());
    EXPECT_EQ(button->trackingAreas().size(), 1u);
    EXPECT_TRUE(button->acceptsFirstMouse(nullptr));
}

TEST(CursorButton, APressShowsTheWholeButtonAtHalfOpacityUntilReleased) {
    WithCursorArt art;
    struct Case {
        const char* what;
        bool enabled;
        CGFloat held;
    };
    const Case cases[] = {{"enabled", true, 0.5}, {"disabled", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto button = make<CursorButton>(CGRect{10, 10, 60, 24});
        button->setTitle("Next");
        button->setEnabled(c.enabled);
        auto h = ControlHarness::holding(button, {120, 60});
        h.press(h.centre(*button));
        EXPECT_DOUBLE_EQ(button->layer()->opacity(), c.held);
        EXPECT_DOUBLE_EQ(h.text("Next")->alpha, c.held); // bezel, image and title alike
        h.release(h.centre(*button));
        EXPECT_DOUBLE_EQ(button->layer()->opacity(), 1);
        EXPECT_DOUBLE_EQ(h.text("Next")->alpha, 1);
    }
}

struct Counter : NSObject {
    int actions = 0;
    void fired(NSObject*) { ++actions; }
};

TEST(PopUpCyclingButton, ClicksStepThePopUpForwardAndWithShiftBackWrappingBothWays) {
    WithCursorArt art;
    auto popUp = make<NSPopUpButton>(CGRect{10, 10, 100, 22});
    auto menu = NSMenu::make();
    for (const char* title : {"A", "-", "C", "D"})
        menu->addItem(std::string(title) == "-" ? NSMenuItem::separatorItem()
                                                : NSMenuItem::make(title));
    popUp->setMenu(menu);
    popUp->selectItem(0);
    auto counter = make<Counter>();
    popUp->setTarget(counter);
    popUp->setAction(&Counter::fired);

    auto cycle = make<PopUpCyclingButton>(CGRect{120, 10, 40, 22});
    cycle->setTitle("Next");
    cycle->setTarget(popUp);
    auto container = make<NSView>(CGRect{0, 0, 200, 50});
    container->addSubview(popUp);
    container->addSubview(cycle);
    ControlHarness h(container, {200, 50});

    struct Case {
        const char* what;
        uint64_t flags;
        bool enabled;
        const char* selected;
        int actions;
    };
    const Case cases[] = {
        {"forward past the separator", 0, true, "C", 1},
        {"forward", 0, true, "D", 2},
        {"forward wraps to the first", 0, true, "A", 3},
        {"back with Shift wraps to the last", NSEvent::shift, true, "D", 4},
        {"back with Shift", NSEvent::shift, true, "C", 5},
        {"back with Shift past the separator", NSEvent::shift, true, "A", 6},
        {"disabled", 0, false, "A", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cycle->setEnabled(c.enabled);
        h.click(h.centre(*cycle), c.flags);
        EXPECT_EQ(popUp->titleOfSelectedItem(), c.selected);
        EXPECT_EQ(counter->actions, c.actions);
    }

    // The image trails the title.
    cycle->setEnabled(true);
    cycle->setImage(NSImage::named("cursor-cycle"));
    EXPECT_EQ(cycle->imagePosition(), NSCellImagePosition::imageTrailing);
    auto image = h.image("cursor-cycle");
    auto title = h.text("Next");
    ASSERT_TRUE(image && title);
    EXPECT_GE(image->rect.minX(), title->rect.maxX());
    // Within the border, as far from the bezel's edge as the button's size allows for it.
    const CGRect button = h.rectOf(*cycle);
    EXPECT_EQ(image->rect.maxX(), button.maxX() - 6);
    EXPECT_EQ(image->rect.midY(), button.midY());
}

TEST(PopUpCyclingButtonCell, ItsImageDimsOnlyWhilePressed) {
    WithCursorArt art;
    auto button = make<PopUpCyclingButton>(CGRect{10, 10, 60, 24});
    button->setCell(make<PopUpCyclingButtonCell>());
    button->setBordered(false);
    button->setImage(NSImage::named("cursor-cycle"));
    button->setImagePosition(NSCellImagePosition::imageOnly);
    auto h = ControlHarness::holding(button, {100, 50});
    struct Case {
        const char* what;
        bool enabled, highlighted;
        CGFloat alpha;
    };
    const Case cases[] = {{"at rest", true, false, 1},
                          {"pressed", true, true, 0.5},
                          {"disabled: full strength", false, false, 1},
                          {"disabled, pressed", false, true, 0.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        button->setEnabled(c.enabled);
        button->cell()->isHighlighted = c.highlighted;
        button->setNeedsDisplay();
        auto image = h.image("cursor-cycle");
        ASSERT_TRUE(image);
        EXPECT_DOUBLE_EQ(image->alpha, c.alpha);
    }
}

} // namespace
