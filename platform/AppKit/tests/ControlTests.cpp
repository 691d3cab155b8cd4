#include "AppKit/NSControl.h"
#include "AppKit/NSText.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

namespace {

struct Receiver : NSObject {
    int calls = 0;
    NSObject* lastSender = nullptr;
    void clicked(NSObject* sender) {
        ++calls;
        lastSender = sender;
    }
};

// A view in the responder chain that also understands the message.
struct ReceivingView : NSView {
    using NSView::NSView;
    int calls = 0;
    void clicked(NSObject*) { ++calls; }
};

struct ControlScene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 100, 100});
    std::shared_ptr<ReceivingView> container = make<ReceivingView>(CGRect{0, 0, 100, 100});
    std::shared_ptr<NSControl> control = make<NSControl>(CGRect{10, 10, 40, 20});
    ControlScene() {
        window->setContentView(container);
        container->addSubview(control);
    }
    void click(CGPoint down, CGPoint up) {
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, down));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDragged, up));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, up));
    }
};

TEST(Controls, ClickInsideSendsTheActionToTheTargetWithTheControlAsSender) {
    ControlScene s;
    auto receiver = make<Receiver>();
    s.control->setTarget(receiver);
    s.control->setAction(&Receiver::clicked);
    s.click({20, 20}, {25, 25});
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_EQ(receiver->lastSender, s.control.get());
    EXPECT_FALSE(s.control->isHighlighted());

    // Released outside: highlighted while pressed, nothing sent.
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, {20, 20}));
    EXPECT_TRUE(s.control->isHighlighted());
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDragged, {90, 90}));
    EXPECT_FALSE(s.control->isHighlighted());
    s.window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, {90, 90}));
    EXPECT_EQ(receiver->calls, 1);

    // Disabled: no highlight, no action.
    s.control->setEnabled(false);
    s.click({20, 20}, {20, 20});
    EXPECT_EQ(receiver->calls, 1);
}

TEST(Controls, AReleasedTargetIsNotCalledAndTheActionFallsToTheResponderChain) {
    ControlScene s;
    s.control->setAction(&ReceivingView::clicked);
    {
        auto receiver = make<Receiver>();
        s.control->setTarget(receiver);
    } // the control holds its target weakly: it is gone now
    EXPECT_EQ(s.control->target(), nullptr);
    // The first responder is the window; up its chain nobody understands the
    // message, so nothing happens and nothing crashes.
    EXPECT_FALSE(s.control->sendAction());
    // With a first responder inside the container, the container gets it.
    struct Focusable : NSView {
        using NSView::NSView;
        bool acceptsFirstResponder() const override { return true; }
    };
    auto field = make<Focusable>(CGRect{60, 60, 10, 10});
    s.container->addSubview(field);
    ASSERT_TRUE(s.window->makeFirstResponder(field));
    EXPECT_TRUE(s.control->sendAction());
    EXPECT_EQ(s.container->calls, 1);
    // A target of another class does not understand the message.
    auto other = make<Receiver>();
    EXPECT_FALSE(s.control->sendAction(&ReceivingView::clicked, other));
    EXPECT_FALSE(s.control->sendAction(NSAction(), other));
}

TEST(Controls, ContinuousControlsSendWhileTrackingAndCellsDrawTheirTitleCentred) {
    ControlScene s;
    auto receiver = make<Receiver>();
    s.control->setTarget(receiver);
    s.control->setAction(&Receiver::clicked);
    s.control->cell()->isContinuous = true;
    s.click({20, 20}, {25, 25}); // down, one drag, up inside
    EXPECT_EQ(receiver->calls, 3);

    s.control->cell()->title = "MIX";
    s.control->cell()->alignment = NSTextAlignment::center;
    s.control->setFont(NSFont::named("Dosis-Medium", 10));
    auto snapshot = s.control->cacheDisplay(1, true);
    auto texts = snapshot->displayItems(CGDisplayItem::Kind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "MIX");
    EXPECT_EQ(texts[0].fontName, "Dosis-Medium");
    EXPECT_NEAR(texts[0].rect.midX(), 20, 0.5);
    EXPECT_NEAR(texts[0].rect.midY(), 10, 0.5);
    EXPECT_EQ(texts[0].color, NSColor::controlTextColor()->cgColor());
    s.control->setEnabled(false);
    texts = s.control->cacheDisplay(1, true)->displayItems(CGDisplayItem::Kind::text);
    EXPECT_EQ(texts[0].color, NSColor::disabledControlTextColor()->cgColor());
}

TEST(Controls, ValuesConvertBetweenNumberAndTextForms) {
    auto control = make<NSControl>(CGRect{});
    struct Case {
        std::function<void()> set;
        double asDouble;
        long asInteger;
        std::string asString;
    } cases[] = {
        {[&] { control->setDoubleValue(3.75); }, 3.75, 3, "3.75"},
        {[&] { control->setDoubleValue(-2.5); }, -2.5, -2, "-2.5"},
        {[&] { control->setIntegerValue(42); }, 42, 42, "42"},
        {[&] { control->setFloatValue(0.5f); }, 0.5, 0, "0.5"},
        {[&] { control->setStringValue("12.5 dB"); }, 12.5, 12, "12.5 dB"},
        {[&] { control->setStringValue("abc"); }, 0, 0, "abc"},
    };
    EXPECT_EQ(control->stringValue(), "");
    for (Case& c : cases) {
        c.set();
        SCOPED_TRACE(c.asString);
        EXPECT_EQ(control->doubleValue(), c.asDouble);
        EXPECT_EQ(control->integerValue(), c.asInteger);
        EXPECT_EQ(control->stringValue(), c.asString);
    }
    // States advance off → on → off, or through mixed when allowed.
    auto cell = control->cell();
    EXPECT_EQ(cell->nextState(), NSCell::StateValue::on);
    cell->state = NSCell::StateValue::on;
    EXPECT_EQ(cell->nextState(), NSCell::StateValue::off);
    cell->allowsMixedState = true;
    EXPECT_EQ(cell->nextState(), NSCell::StateValue::mixed);
    EXPECT_EQ(static_cast<int>(NSCell::StateValue::mixed), -1);
    EXPECT_EQ(cell->controlView(), control);
}

TEST(Controls, TheFieldEditorIsTheCurrentEditorOnlyOfItsControlWhileFirstResponder) {
    ControlScene s;
    auto other = make<NSControl>(CGRect{60, 10, 30, 20});
    s.container->addSubview(other);
    auto editor = make<NSText>();
    s.container->addSubview(editor);
    editor->setDelegate(s.control);
    EXPECT_EQ(s.control->currentEditor(), nullptr); // not first responder yet
    ASSERT_TRUE(s.window->makeFirstResponder(editor));
    EXPECT_EQ(s.control->currentEditor(), editor);
    EXPECT_EQ(other->currentEditor(), nullptr);
    s.window->makeFirstResponder(nullptr);
    EXPECT_EQ(s.control->currentEditor(), nullptr);
    EXPECT_EQ(make<NSControl>()->currentEditor(), nullptr); // in no window
}

} // namespace

namespace {

void nudge(NSControl& control, NSObject*) {
    control.setIntegerValue(control.integerValue() + 1);
}

TEST(Controls, AnExtensionMethodReachesReceiversOfItsClassOnly) {
    auto control = make<NSControl>(CGRect{0, 0, 10, 10});
    auto action = NSAction::extensionMethod<NSControl>(&nudge);
    EXPECT_TRUE(action.sendTo(*control, nullptr));
    EXPECT_EQ(control->integerValue(), 1);
    auto window = make<NSWindow>();
    EXPECT_FALSE(action.sendTo(*window, nullptr));
}

} // namespace
