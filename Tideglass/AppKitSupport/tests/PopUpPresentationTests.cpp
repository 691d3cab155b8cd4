#include "AppKitSupport/PopUpButtonPresentation.h"

#include "TestShape.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Counter : NSObject {
    int actions = 0;
    void fired(NSObject*) { ++actions; }
};

// Items from a pattern: a letter is an enabled item, a lower-case letter a disabled
// one, '-' a separator and '=' a separator marked enabled.
std::shared_ptr<NSPopUpButton> popUpWith(const std::string& pattern, long selected) {
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    auto menu = NSMenu::make();
    for (char c : pattern) {
        bool separator = c == '-' || c == '=';
        auto item = separator ? NSMenuItem::separatorItem() : NSMenuItem::make(std::string(1, c));
        item->isEnabled = separator ? c == '=' : std::isupper(c);
        menu->addItem(item);
    }
    button->setMenu(menu);
    button->selectItem(selected);
    return button;
}

TEST(PopUpStepTest, NextAndPreviousSkipUnusableItemsAndWrapAround) {
    struct Case {
        std::string pattern;
        long selected;
        bool next;
        long expected;
    };
    for (const Case& c : {
             Case{"A-bC", 0, true, 3},  // skips the separator and the disabled item
             Case{"A-bC", 3, true, 0},  // wraps to the first
             Case{"tAB", 2, true, 0},   // wraps to a disabled title item
             Case{"-bAC", -1, true, 2}, // nothing selected: the first usable item
             Case{"A-bC", 0, false, 3}, // from the first usable item: the last item
             Case{"AbC", 2, false, 0},
             Case{"Ab-", -1, false, 2}, // nothing selected: falls through to the last
             Case{"A=C", 0, true, 2},   // a separator is skipped even when enabled
             Case{"A=C", 2, false, 0},
             Case{"A", 0, true, 0},
             Case{"", -1, true, -1},
         }) {
        auto button = popUpWith(c.pattern, c.selected);
        ASSERT_EQ(button->indexOfSelectedItem(), c.selected) << c.pattern;
        auto counter = make<Counter>();
        button->setTarget(counter);
        button->setAction(&Counter::fired);
        (c.next ? selectNextItem : selectPreviousItem)(*button, nullptr);
        EXPECT_EQ(button->indexOfSelectedItem(), c.expected) << c.pattern << " " << c.selected;
        EXPECT_EQ(counter->actions, 1) << c.pattern; // also when nothing changed
    }
}

TEST(PopUpStepTest, AnotherControlCanSendTheStepActions) {
    auto popup = popUpWith("ABC", 0);
    auto next = make<NSButton>(CGRect{0, 0, 10, 10});
    next->setTarget(popup);
    next->setAction(selectNextItemAction());
    auto previous = make<NSButton>(CGRect{0, 0, 10, 10});
    previous->setTarget(popup);
    previous->setAction(selectPreviousItemAction());
    next->performClick();
    next->performClick();
    EXPECT_EQ(popup->indexOfSelectedItem(), 2);
    previous->performClick();
    EXPECT_EQ(popup->indexOfSelectedItem(), 1);
}

TEST(PopUpPresentationTest, ConfiguredItemsSelectAndReadBackValues) {
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    EXPECT_EQ(selectedRawRepresentableValue(*button, Shape::square), Shape::square);
    configureWithMenuPresentableValue(*button, Shape::sine);
    ASSERT_EQ(button->numberOfItems(), 3);
    EXPECT_EQ(button->titleOfSelectedItem(), "Sine");
    EXPECT_EQ(selectedRawRepresentableValue<Shape>(*button), Shape::sine);
    EXPECT_EQ(selectedRawRepresentableValue(*button, Shape::square), Shape::sine);
    selectItemMatchingRawRepresentableValue(*button, Shape::square);
    EXPECT_EQ(button->indexOfSelectedItem(), 2);
    selectItemMatchingRawRepresentableValue(*button, Shape(9)); // no item: unchanged
    EXPECT_EQ(button->indexOfSelectedItem(), 2);
    button->item(2)->representedObject = std::string("not a number");
    EXPECT_EQ(selectedRawRepresentableValue<Shape>(*button), std::nullopt);
    EXPECT_EQ(selectedRawRepresentableValue(*button, Shape::triangle), Shape::triangle);
}

// Cases whose raw values are not their positions: 4, 1, 2 in that order.
struct Speed final : RawMenuPresentable<Speed, int> {
    explicit Speed(int raw) : RawMenuPresentable(raw) {}
    static std::vector<Speed> allCases() { return {Speed(4), Speed(1), Speed(2)}; }
    std::string localizedDisplayName() const override { return std::to_string(rawValue()) + "x"; }
};

TEST(PopUpPresentationTest, ItemsAreFoundByTheirValuesNotTheirPositions) {
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    CurrentValueSubject<Speed> model(Speed(1));
    std::vector<int> reported;
    AnyCancellableSet cancellables;
    bindMenu(button, Speed(2), model, cancellables,
             [&](const Speed& s) { reported.push_back(s.rawValue()); });
    EXPECT_EQ(button->titleOfSelectedItem(), "1x"); // the model's current value, by tag
    model.send(Speed(4));
    EXPECT_EQ(button->indexOfSelectedItem(), 0);
    EXPECT_TRUE(button->menu()->performActionForItem(2));
    EXPECT_EQ(reported, (std::vector<int>{2}));
    selectItemMatchingRawRepresentableValue(*button, Speed(1));
    EXPECT_EQ(button->indexOfSelectedItem(), 1);
    EXPECT_EQ(selectedRawRepresentableValue<Speed>(*button), Speed(1));

    // Two items with one represented object: the first is the value's.
    button->item(2)->representedObject = long(4);
    selectItemMatchingRawRepresentableValue(*button, Speed(4));
    EXPECT_EQ(button->indexOfSelectedItem(), 0);
    cancellables.clear();
}

TEST(PopUpPresentationDeathTest, EveryEntryAndModelValueRefusesOtherThreads) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto offMain = [](const std::function<void()>& work) { std::thread(work).join(); };
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    CurrentValueSubject<Shape> model(Shape::triangle);
    AnyCancellableSet cancellables;
    bindMenu(button, Shape::sine, model, cancellables, [](const Shape&) {});
    auto choices = controlEventPublisher(button);
    struct Case {
        const char* what;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"select next", [&] { selectNextItem(*button, nullptr); }},
        {"select previous", [&] { selectPreviousItem(*button, nullptr); }},
        {"select a value", [&] { selectItemMatchingRawRepresentableValue(*button, Shape::sine); }},
        {"configure", [&] { configureWithMenuPresentableValue(*button, Shape::sine); }},
        {"a model value", [&] { model.send(Shape::square); }},
        {"a choice on the button", [&] { choices->controlActionWithSender(button.get()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(offMain(c.call),
                     "Tideglass/NSPopupButton\\+Presentable must be used from the main thread");
    }
    cancellables.clear();
}

TEST(PopUpPresentationTest, BindingFollowsTheModelAndReportsChoices) {
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    CurrentValueSubject<Shape> model(Shape::triangle);
    std::vector<int> reported;
    {
        AnyCancellableSet cancellables;
        bindMenu(button, Shape::sine, model, cancellables,
                 [&](const Shape& s) { reported.push_back(s.rawValue()); });
        // The current value arrives at once and selects its item.
        EXPECT_EQ(button->indexOfSelectedItem(), 0);
        model.send(Shape::square);
        EXPECT_EQ(button->indexOfSelectedItem(), 2);
        model.send(Shape(9)); // no item of that tag: the selection stays
        EXPECT_EQ(button->indexOfSelectedItem(), 2);
        EXPECT_TRUE(button->menu()->performActionForItem(1));
        EXPECT_EQ(reported, (std::vector<int>{1}));
    } // released before the button
    model.send(Shape::triangle);
    EXPECT_EQ(button->indexOfSelectedItem(), 1);
    EXPECT_TRUE(button->menu()->performActionForItem(0));
    EXPECT_EQ(reported, (std::vector<int>{1}));
}

// A presentable value whose raw value is a string: its items carry the string as
// their represented object and their position as their tag.
struct Flavour final : MenuPresentable, DisplayNameLocalizable {
    using RawValue = std::string;
    explicit Flavour(std::string raw) : raw(std::move(raw)) {}
    std::string raw;
    const std::string& rawValue() const { return raw; }
    static std::vector<Flavour> allCases() {
        return {Flavour("plain"), Flavour("salted"), Flavour("smoked")};
    }
    static std::optional<Flavour> fromRawValue(const std::string& value) {
        for (const auto& f : allCases())
            if (f.raw == value)
                return f;
        return std::nullopt;
    }
    static MenuStructure<Flavour> menuStructure() {
        std::vector<MenuStructure<Flavour>> items;
        for (const auto& f : allCases())
            items.push_back(MenuStructure<Flavour>::item(f));
        return MenuStructure<Flavour>::submenu("Flavour", std::move(items));
    }
    long menuTag() const override { return raw == "plain" ? 0 : raw == "salted" ? 1 : 2; }
    std::string menuTitle() const override { return localizedDisplayName(); }
    std::any menuRepresentedObject() const override { return raw; }
    std::string localizedDisplayName() const override { return raw; }
};

TEST(PopUpPresentationTest, AStringBindingShowsItsValueAndDropsTheRest) {
    auto button = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    CurrentValueSubject<Flavour> model(Flavour("plain"));
    std::vector<std::string> reported;
    AnyCancellableSet cancellables;
    bindMenu(button, Flavour("salted"), model, cancellables,
             [&](const Flavour& f) { reported.push_back(f.raw); });
    // Configured by represented object; the model's values are not tags and are
    // dropped, so the model's current value does not move the selection.
    EXPECT_EQ(button->titleOfSelectedItem(), "salted");
    EXPECT_EQ(selectedRawRepresentableValue<Flavour>(*button)->raw, "salted");
    model.send(Flavour("smoked"));
    EXPECT_EQ(button->titleOfSelectedItem(), "salted");
    // A choice on the button: its tag is no string, nothing reaches the model.
    EXPECT_TRUE(button->menu()->performActionForItem(2));
    EXPECT_EQ(button->titleOfSelectedItem(), "smoked");
    EXPECT_TRUE(reported.empty());
    cancellables.clear();
}

} // namespace
