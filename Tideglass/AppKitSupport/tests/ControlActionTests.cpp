#include "AppKitSupport/NSControlActions.h"

#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct Counter : NSObject {
    int actions = 0;
    void fired(NSObject*) { ++actions; }
};

struct FocusableButton : NSButton {
    using NSButton::NSButton;
    bool acceptsFirstResponder() const override { return true; }
};

TEST(ClosureActionTest, TheClosureLivesAsLongAsItsControlAndOnlyTheLastOneActs) {
    auto button = make<NSButton>(CGRect{0, 0, 20, 20});
    auto sentinel = std::make_shared<int>(0);
    std::weak_ptr<int> watched = sentinel;
    std::vector<std::string> calls;
    setAction<NSButton>(button, [&calls, sentinel](const std::shared_ptr<NSButton>& b) {
        calls.push_back("first " + b->title());
    });
    button->setTitle("OK");
    button->performClick();
    setAction<NSButton>(button, [&calls](const std::shared_ptr<NSButton>& b) {
        calls.push_back("second " + b->title());
    });
    sentinel.reset();
    EXPECT_TRUE(watched.expired()); // the replaced closure was released
    button->performClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"first OK", "second OK"}));

    auto sentinel2 = std::make_shared<int>(0);
    std::weak_ptr<int> watched2 = sentinel2;
    setAction<NSButton>(button, [sentinel2](const std::shared_ptr<NSButton>&) {});
    sentinel2.reset();
    EXPECT_FALSE(watched2.expired()); // kept by the control, though its target is weak
    button.reset();
    EXPECT_TRUE(watched2.expired()); // and released with it
}

TEST(ClosureActionTest, ASelectorActionSetsTheTargetAndTheAction) {
    auto button = make<NSButton>(CGRect{0, 0, 20, 20});
    auto counter = make<Counter>();
    setAction(*button, &Counter::fired, counter);
    EXPECT_EQ(button->target(), counter);
    button->performClick();
    EXPECT_EQ(counter->actions, 1);
}

TEST(ControlBridgeDeathTest, StrangeSendersStrangersUnderTheKeyAndOtherThreadsAreFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto button = make<FocusableButton>(CGRect{0, 0, 20, 20});
    auto slider = make<NSSlider>(CGRect{0, 0, 100, 20});
    setAction<FocusableButton>(button, [](const auto&) {});
    auto trampoline =
        std::dynamic_pointer_cast<ActionTrampoline<FocusableButton>>(button->target());
    ASSERT_TRUE(trampoline);
    auto publisher = controlEventPublisher(button);
    auto stranger = make<NSButton>(CGRect{0, 0, 20, 20});
    stranger->setAssociatedObject(TideglassDetail::publisherKey(), make<Counter>());
    PassthroughSubject<int> trigger;
    auto focusing = makeFirstResponder(trigger, button);
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {"closure action from a slider", [&] { trampoline->actionWithSender(slider.get()); },
         "Tideglass.ActionTrampoline"},
        {"published action from a slider",
         [&] { publisher->controlActionWithSender(slider.get()); }, "Tideglass.NSControlPublisher"},
        {"another object under the publisher key", [&] { controlEventPublisher(stranger); },
         "publisher"},
        {"focus requested off the main thread",
         [&] { std::thread([&] { trigger.send(1); }).join(); },
         "Tideglass/NSControl\\+Combine must be used from the main thread"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.call(), c.message);
    }
}

TEST(ControlPublisherTest, OnePublisherPerControlReachesEverySubscriber) {
    auto button = make<NSButton>(CGRect{0, 0, 20, 20});
    auto publisher = controlEventPublisher(button);
    EXPECT_EQ(controlEventPublisher(button), publisher);
    int first = 0, second = 0;
    AnyCancellableSet kept;
    publisher->sink([&](const std::shared_ptr<NSButton>& b) { first += b == button; }).store(kept);
    publisher->sink([&](const std::shared_ptr<NSButton>&) { ++second; }).store(kept);
    button->performClick();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(ControlPublisherTest, TheLastInstalledBridgeReceivesTheAction) {
    auto button = make<NSButton>(CGRect{0, 0, 20, 20});
    int published = 0, closures = 0;
    auto c = controlEventPublisher(button)->sink([&](const auto&) { ++published; });
    button->performClick();
    setAction<NSButton>(button, [&](const auto&) { ++closures; });
    button->performClick();
    EXPECT_EQ(published, 1);
    EXPECT_EQ(closures, 1);

    auto other = make<NSButton>(CGRect{0, 0, 20, 20});
    setAction<NSButton>(other, [&](const auto&) { ++closures; });
    auto d = controlEventPublisher(other)->sink([&](const auto&) { ++published; });
    other->performClick();
    EXPECT_EQ(published, 2);
    EXPECT_EQ(closures, 1);
}

TEST(ControlPublisherTest, ReleasingTheControlCompletesEverySubscriber) {
    auto button = make<NSButton>(CGRect{0, 0, 20, 20});
    int completions = 0;
    AnyCancellableSet kept;
    for (int i = 0; i < 2; ++i)
        controlEventPublisher(button)
            ->sink([&](Subscribers::Completion) { ++completions; }, [](const auto&) {})
            .store(kept);
    button.reset();
    EXPECT_EQ(completions, 2);
}

TEST(ControlPublisherTest, KeyPathPublishersCarryTheControlsValue) {
    auto popup = make<NSPopUpButton>(CGRect{0, 0, 80, 20});
    std::vector<std::shared_ptr<NSMenuItem>> items;
    auto c = selectedItemPublisher(popup).sink([&](const auto& item) { items.push_back(item); });
    popup->sendAction(); // empty pop-up: no selection
    popup->addItem("A");
    popup->sendAction();
    popup->addItem("B");
    popup->selectItem(1);
    popup->sendAction();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], nullptr);
    EXPECT_EQ(items[1], popup->item(0));
    EXPECT_EQ(items[2], popup->item(1));

    auto toggle = make<NSButton>(CGRect{0, 0, 20, 20});
    toggle->setButtonType(NSButtonType::toggle);
    std::vector<NSCell::StateValue> states;
    auto d = controlStatePublisher(toggle).sink([&](auto s) { states.push_back(s); });
    toggle->performClick();
    toggle->performClick();
    EXPECT_EQ(states, (std::vector{NSCell::StateValue::on, NSCell::StateValue::off}));
}

TEST(MakeFirstResponderTest, EachValueFocusesTheControlInItsWindowMadeKey) {
    PassthroughSubject<int> trigger;
    auto field = make<FocusableButton>(CGRect{0, 0, 20, 20});
    auto c = makeFirstResponder(trigger, field);
    trigger.send(1); // no window yet: ignored
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    window->contentView()->addSubview(field);
    auto other = make<NSWindow>();
    other->makeKeyWindow();
    EXPECT_FALSE(window->isKeyWindow());
    trigger.send(2);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(window->firstResponder(), field);
    field->removeFromSuperview();
    field.reset();
    trigger.send(3); // released: ignored
}

} // namespace

namespace {

TEST(ControlPublisherTest, ASlidersPublisherCarriesItsValue) {
    auto slider = make<NSSlider>(CGRect{0, 0, 100, 20});
    std::vector<double> values;
    auto c = doubleValuePublisher(slider).sink([&](double v) { values.push_back(v); });
    slider->setDoubleValue(0.25);
    slider->sendAction();
    slider->setDoubleValue(0.75);
    slider->sendAction();
    EXPECT_EQ(values, (std::vector<double>{0.25, 0.75}));
}

} // namespace
