#include "AppKit/CALayer.h"
#include "AppKit/NSBezierPath.h"
#include "AppKit/NSCursor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

namespace {

namespace Mask = NSCellStyleMask;

struct Counter : NSObject {
    int calls = 0;
    void clicked(NSObject*) { ++calls; }
};

struct ButtonScene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSView> content = make<NSView>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSButton> button = make<NSButton>(CGRect{10, 10, 80, 30});
    std::shared_ptr<Counter> receiver = make<Counter>();
    ButtonScene() {
        window->setContentView(content);
        content->addSubview(button);
        button->setTarget(receiver);
        button->setAction(&Counter::clicked);
    }
    void click(CGPoint at, uint64_t modifiers = 0) {
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, at, modifiers));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, at, modifiers));
    }
};

TEST(Buttons, TypesSetTheMasksThatDecideStateAndTheAlternateImage) {
    struct Case {
        const char* what;
        NSButtonType type;
        unsigned highlightsBy, showsStateBy;
        NSCell::StateValue afterClick;
    };
    using S = NSCell::StateValue;
    const Case cases[] = {
        {"momentary push-in", NSButtonType::momentaryPushIn, Mask::pushIn | Mask::changeGray,
         Mask::none, S::off},
        {"momentary light", NSButtonType::momentaryLight, Mask::changeBackground | Mask::changeGray,
         Mask::none, S::off},
        {"push on/push off", NSButtonType::pushOnPushOff, Mask::pushIn | Mask::changeGray,
         Mask::changeBackground | Mask::changeGray, S::on},
        {"toggle", NSButtonType::toggle, Mask::pushIn | Mask::contents, Mask::contents, S::on},
        {"switch", NSButtonType::switchButton, Mask::contents, Mask::contents, S::on},
        {"radio", NSButtonType::radio, Mask::contents, Mask::contents, S::on},
        {"momentary change", NSButtonType::momentaryChange, Mask::contents, Mask::none, S::off},
        {"on/off", NSButtonType::onOff, Mask::changeBackground, Mask::changeBackground, S::on},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonScene s;
        s.button->setButtonType(c.type);
        auto cell = s.button->buttonCell();
        ASSERT_TRUE(cell);
        EXPECT_EQ(s.button->buttonType(), c.type);
        EXPECT_EQ(cell->highlightsBy, c.highlightsBy);
        EXPECT_EQ(cell->showsStateBy, c.showsStateBy);
        s.click({20, 20});
        EXPECT_EQ(s.button->state(), c.afterClick);
        EXPECT_EQ(s.receiver->calls, 1);

        // The alternate image shows while pressed or on, as the masks say.
        auto plain = NSImage::blank({8, 8}), other = NSImage::blank({8, 8});
        s.button->setImage(plain);
        s.button->setAlternateImage(other);
        cell->isHighlighted = true;
        EXPECT_EQ(cell->imageToShow() == other, (c.highlightsBy & Mask::contents) != 0);
        cell->isHighlighted = false;
        cell->state = S::on;
        EXPECT_EQ(cell->imageToShow() == other, (c.showsStateBy & Mask::contents) != 0);
    }
}

TEST(Buttons, AKeyEquivalentClicksTheButtonForItsKeyAndModifiersOnly) {
    // The key that goes down, as the first responder would otherwise get it.
    struct Typed : NSView {
        using NSView::NSView;
        bool acceptsFirstResponder() const override { return true; }
        void keyDown(const NSEvent& e) override { keys.push_back(e.characters()); }
        std::vector<std::string> keys;
    };
    struct Case {
        const char* what;
        const char* equivalent;
        uint64_t mask;
        const char* typed;
        uint64_t modifiers;
        bool enabled, hidden;
        int clicks;
    };
    const uint64_t command = NSEvent::command, shift = NSEvent::shift;
    const Case cases[] = {
        {"Return presses the default button", "\r", 0, "\r", 0, true, false, 1},
        {"so does the keypad's Enter", "\r", 0, "\x03", 0, true, false, 1},
        {"Escape presses the cancel button", "\x1b", 0, "\x1b", 0, true, false, 1},
        {"another key does not", "\r", 0, "a", 0, true, false, 0},
        {"a modifier the equivalent lacks", "\r", 0, "\r", shift, true, false, 0},
        {"the modifiers asked for", "s", command, "s", command, true, false, 1},
        {"caps lock does not count", "\r", 0, "\r", NSEvent::capsLock, true, false, 1},
        {"a disabled button", "\r", 0, "\r", 0, false, false, 0},
        {"a hidden button", "\r", 0, "\r", 0, true, true, 0},
        {"no key equivalent", "", 0, "\r", 0, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonScene s;
        auto typed = make<Typed>(CGRect{100, 10, 50, 30});
        s.content->addSubview(typed);
        s.window->makeFirstResponder(typed);
        s.button->keyEquivalent = c.equivalent;
        s.button->keyEquivalentModifierMask = c.mask;
        s.button->setEnabled(c.enabled);
        s.button->setHidden(c.hidden);
        s.window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, c.typed, 0, c.modifiers));
        EXPECT_EQ(s.receiver->calls, c.clicks);
        // A key a button took goes no further.
        EXPECT_EQ(typed->keys.size(), c.clicks ? 0u : 1u);
    }
}

TEST(Windows, OrderingOutResignsKeyAndTellsTheDisplay) {
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    std::vector<std::string> heard;
    window->makeKeyAndOrderFront();
    window->orderedOut = [&] {
        heard.push_back(window->isKeyWindow() ? "ordered out while key" : "ordered out");
    };
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(heard, (std::vector<std::string>{"ordered out"}));
    // The hook may clear itself while it runs.
    window->orderedOut = [&] {
        heard.push_back("again");
        window->orderedOut = nullptr;
    };
    window->orderOut();
    window->orderOut();
    EXPECT_EQ(heard, (std::vector<std::string>{"ordered out", "again"}));
}

TEST(Buttons, ImageAndTitleArePlacedByTheImagePosition) {
    using P = NSCellImagePosition;
    struct Case {
        const char* what;
        P position;
        bool flipped;
        CGRect image;
        CGFloat titleMinX, titleWidth;
    };
    // A bordered 100 × 40 cell draws within 2-point margins: 96 × 36 from (2, 2); an image
    // beside the title keeps 4 more points from the border's edge (6 in all, half the
    // border width the cell's size counts).
    const Case cases[] = {
        {"leading", P::imageLeading, false, {6, 12, 16, 16}, 25, 73},
        {"left", P::imageLeft, false, {6, 12, 16, 16}, 25, 73},
        {"trailing", P::imageTrailing, false, {78, 12, 16, 16}, 2, 73},
        {"right", P::imageRight, false, {78, 12, 16, 16}, 2, 73},
        {"above, y up", P::imageAbove, false, {42, 22, 16, 16}, 2, 96},
        {"above, flipped", P::imageAbove, true, {42, 2, 16, 16}, 2, 96},
        {"below, y up", P::imageBelow, false, {42, 2, 16, 16}, 2, 96},
        {"overlaps", P::imageOverlaps, false, {42, 12, 16, 16}, 2, 96},
        {"image only", P::imageOnly, false, {42, 12, 16, 16}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Flippable : NSButton {
            using NSButton::NSButton;
            bool flip = false;
            bool isFlipped() const override { return flip; }
        };
        auto button = make<Flippable>(CGRect{0, 0, 100, 40});
        button->flip = c.flipped;
        button->setTitle("Go");
        button->setImage(NSImage::blank({16, 16}));
        button->setImagePosition(c.position);
        auto cell = button->buttonCell();
        const CGRect bounds{0, 0, 100, 40};
        EXPECT_EQ(cell->imageRectForBounds(bounds), c.image);
        const CGRect title = cell->titleRectForBounds(bounds);
        EXPECT_EQ(title.minX(), c.titleMinX);
        EXPECT_EQ(title.width(), c.titleWidth);
        if (c.position == P::imageAbove || c.position == P::imageBelow) {
            // The title takes what the image leaves, 3 points apart from it.
            EXPECT_FALSE(title.intersects(c.image.insetBy(0, -2.9)));
        }
    }

    // The cell's size: title and image side by side, plus the border's 12 × 6.
    auto button = make<NSButton>(CGRect{0, 0, 100, 40});
    button->setTitle("Go");
    const CGSize title = button->attributedTitle().size();
    button->setImage(NSImage::blank({16, 16}));
    EXPECT_EQ(button->imagePosition(), P::imageLeading);
    EXPECT_EQ(button->intrinsicContentSize(),
              (CGSize{title.width + 16 + 3 + 12, std::max<CGFloat>(title.height, 16) + 6}));
    button->setBordered(false);
    button->setImagePosition(P::imageOnly);
    EXPECT_EQ(button->intrinsicContentSize(), (CGSize{16, 16}));
}

TEST(Buttons, TrackingRunsWhatFollowsItOnceThePressEnds) {
    ButtonScene s;
    struct Tracker : NSButton {
        using NSButton::NSButton;
        std::vector<std::string> log;
        void mouseDown(const NSEvent& event) override {
            log.push_back("down");
            trackMouse(event, [this] { log.push_back(isHighlighted() ? "after, lit" : "after"); });
        }
    };
    auto button = make<Tracker>(CGRect{100, 10, 50, 30});
    s.content->addSubview(button);
    button->setTarget(s.receiver);
    button->setAction(&Counter::clicked);
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, {110, 20}));
    EXPECT_TRUE(button->isTracking());
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ(button->log, (std::vector<std::string>{"down"}));
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, {110, 20}));
    EXPECT_EQ(button->log, (std::vector<std::string>{"down", "after"}));
    EXPECT_EQ(s.receiver->calls, 1);

    // Disabled: nothing is tracked and what follows runs at once.
    button->setEnabled(false);
    button->log.clear();
    s.click({110, 20});
    EXPECT_EQ(button->log, (std::vector<std::string>{"down", "after"}));
    EXPECT_EQ(s.receiver->calls, 1);

    // Space clicks the focused button; the alpha value and a layer's opacity multiply.
    ASSERT_TRUE(s.window->makeFirstResponder(s.button));
    s.window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, " ", 49));
    EXPECT_EQ(s.receiver->calls, 2);
}

TEST(Views, OpacityAndLayerBackgroundReachTheDrawnItems) {
    auto view = make<NSView>(CGRect{0, 0, 40, 40});
    struct Box : NSView {
        using NSView::NSView;
        void drawRect(CGRect) override {
            NSColor::whiteColor()->setFill();
            NSBezierPath::fillRect(bounds());
        }
    };
    auto box = make<Box>(CGRect{10, 10, 10, 10});
    view->addSubview(box);
    box->setAlphaValue(0.5);
    box->setWantsLayer(true);
    box->layer()->setOpacity(0.5);
    box->layer()->backgroundColor = CGColor::rgb(1, 0, 0);
    auto fills = view->cacheDisplay(1, true)->displayItems(CGDisplayItem::Kind::fill);
    ASSERT_EQ(fills.size(), 2u); // the layer's background, then the view's own fill
    EXPECT_EQ(fills[0].color, (CGColor::rgb(1, 0, 0)));
    for (const auto& fill : fills)
        EXPECT_DOUBLE_EQ(fill.alpha, 0.25);
    box->setAlphaValue(0);
    EXPECT_TRUE(view->cacheDisplay(1, true)->displayItems(CGDisplayItem::Kind::fill).empty());
}

TEST(Views, CursorRectsSetTheCursorUnderThePointer) {
    ButtonScene s;
    struct Hand : NSView {
        using NSView::NSView;
        int resets = 0;
        void resetCursorRects() override {
            ++resets;
            addCursorRect(bounds(), NSCursor::pointingHand());
        }
    };
    auto hand = make<Hand>(CGRect{120, 50, 20, 20});
    s.content->addSubview(hand);
    NSCursor::arrow()->set();
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::mouseMoved, {130, 60}));
    EXPECT_EQ(NSCursor::current(), NSCursor::pointingHand());
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::mouseMoved, {180, 60}));
    EXPECT_EQ(NSCursor::current(), NSCursor::arrow());
    // Moving the view rebuilds the rectangles at the next move.
    const int resets = hand->resets;
    hand->setFrame({160, 50, 20, 20});
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::mouseMoved, {170, 60}));
    EXPECT_EQ(hand->resets, resets + 1);
    EXPECT_EQ(NSCursor::current(), NSCursor::pointingHand());
}

TEST(Views, ARightClickPopsTheViewsMenuAndAPopUpButtonsOwnMenuIsNone) {
    ButtonScene s;
    auto menu = NSMenu::make();
    menu->addItem(NSMenuItem::make("Copy"));
    s.content->setMenu(menu);
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::rightMouseDown, {150, 50}));
    ASSERT_TRUE(menu->lastPopUp());
    EXPECT_EQ(menu->lastPopUp()->location, (CGPoint{150, 50}));

    auto popUp = make<NSPopUpButton>(CGRect{0, 0, 60, 20});
    EXPECT_EQ(popUp->menuForEvent(NSEvent::mouse(NSEvent::Type::rightMouseDown, {5, 5})), nullptr);
}

TEST(PopUpButtons, TheSelectionFollowsTheItemsBeingReplaced) {
    auto popUp = make<NSPopUpButton>(CGRect{0, 0, 80, 20});
    popUp->addItem("A");
    popUp->addItem("B");
    EXPECT_EQ(popUp->titleOfSelectedItem(), "A");
    popUp->selectItem(1);
    EXPECT_EQ(popUp->popUpCell()->menuItem()->title, "B");
    EXPECT_EQ(popUp->title(), "B");

    // The items replaced: the first new item is selected and shown.
    popUp->menu()->setItemArray({NSMenuItem::make("C"), NSMenuItem::make("D")});
    EXPECT_EQ(popUp->indexOfSelectedItem(), 0);
    EXPECT_EQ(popUp->title(), "C");
    popUp->removeAllItems();
    EXPECT_EQ(popUp->selectedItem(), nullptr);
    EXPECT_EQ(popUp->title(), "");

    // An item of a submenu can be selected; its index in the menu is -1.
    auto sub = NSMenu::make();
    sub->addItem(NSMenuItem::make("Deep"));
    auto holder = NSMenuItem::make("More");
    holder->setSubmenu(sub);
    popUp->menu()->addItem(holder);
    popUp->selectItem(sub->item(0));
    EXPECT_EQ(popUp->titleOfSelectedItem(), "Deep");
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);

    // A pull-down keeps its own title and selects nothing when its items change.
    auto pullDown = make<NSPopUpButton>(CGRect{0, 0, 80, 20}, true);
    pullDown->popUpCell()->usesItemFromMenu = false;
    pullDown->popUpCell()->setMenuItem(NSMenuItem::make("Sort"));
    pullDown->addItem("Name");
    EXPECT_EQ(pullDown->selectedItem(), nullptr);
    EXPECT_EQ(pullDown->title(), "Sort");
}

TEST(AttributedStrings, RunsLieSideBySideInTheirOwnAttributes) {
    NSStringAttributes label{NSFont::systemFont(10), NSColor::secondaryLabelColor()};
    NSStringAttributes title{NSFont::systemFont(10, CGFont::medium), NSColor::controlTextColor()};
    NSAttributedString text("Sort:", label);
    text.append(NSAttributedString(" Name", title));
    EXPECT_EQ(text.string(), "Sort: Name");
    EXPECT_EQ(text.runs().size(), 2u);
    const CGFloat first = NSAttributedString("Sort:", label).size().width;
    const CGFloat second = NSAttributedString(" Name", title).size().width;
    EXPECT_DOUBLE_EQ(text.size().width, first + second);

    auto context = CGContext::makeBitmap(
        {200, 20}, {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    {
        NSGraphicsContext::Scope scope(context);
        text.draw(CGRect{0, 0, 200, 20});
    }
    auto texts = context->displayItems(CGDisplayItem::Kind::text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Sort:");
    EXPECT_EQ(texts[0].color, NSColor::secondaryLabelColor()->cgColor());
    EXPECT_EQ(texts[1].text, " Name");
    EXPECT_NEAR(texts[1].rect.minX(), first, 1);
    EXPECT_EQ(texts[1].color, NSColor::controlTextColor()->cgColor());
}

} // namespace
