// The pop-up button for declarative views: items as menu items, the flattened menu,
// filling the button and selecting the bound value's item, the chosen value written
// back through the binding, and the wrapper inside a tree of views.

#include "SwiftUISupport/StyledPopUpButtonWrapper.h"

#include "AppKit/NSImage.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

enum class Model { bbd1, bbd2, pt1, pt2 };
std::vector<Model> allCases(std::type_identity<Model>) {
    return {Model::bbd1, Model::bbd2, Model::pt1, Model::pt2};
}
std::string displayText(Model m) {
    static const char* const names[] = {"BBD 1", "BBD 2", "Tape 1", "Tape 2"};
    return names[int(m)];
}

// Another displayable type whose first case has the same underlying value as bbd1.
enum class Flavour { echo, chorus };
std::vector<Flavour> allCases(std::type_identity<Flavour>) {
    return {Flavour::echo, Flavour::chorus};
}
std::string displayText(Flavour f) {
    return f == Flavour::echo ? "Echo" : "Chorus";
}

static_assert(Displayable<Model> && Displayable<Flavour> && !Displayable<int>);

using Item = PopupItem<Model>;
using Wrapper = StyledPopUpButtonWrapper<Model>;
using Context = Wrapper::Context;

Item withSubmenu(std::string title, std::vector<Item> children) {
    Item item(std::nullopt, std::move(title));
    item.subMenu = std::move(children);
    return item;
}

SwiftUI::Binding<Model> over(Model& value) {
    return SwiftUI::Binding<Model>([&value] { return value; },
                                   [&value](const Model& v) { value = v; });
}

// A value read back from a menu item's represented object.
std::optional<Model> valueOf(const NSMenuItem& item) {
    const Model* m = std::any_cast<Model>(&item.representedObject);
    return m ? std::optional<Model>(*m) : std::nullopt;
}

std::vector<std::string> titles(const std::vector<std::shared_ptr<NSMenuItem>>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item->isSeparatorItem() ? "-" : item->title);
    return out;
}

// While it lives, every menu that pops up is answered with its (flattened) item of this
// title ("-": its first separator), or dismissed when the title is empty or matches none.
class Choosing {
  public:
    explicit Choosing(std::string title)
        : previous(NSMenu::setPresenter([title](NSMenu& menu, const NSMenu::PopUp&) {
              for (const auto& item : flattenedItems(menu))
                  if (title == "-" ? item->isSeparatorItem()
                                   : !title.empty() && item->title == title)
                      return item;
              return std::shared_ptr<NSMenuItem>();
          })) {}
    ~Choosing() { NSMenu::setPresenter(previous); }

  private:
    NSMenu::Presenter previous;
};

TEST(PopupItem, EachKindOfItemBecomesItsMenuItem) {
    struct Receiver : NSObject {
        void chosen(NSObject*) {}
    };
    auto target = make<Receiver>();
    const NSAction action(&Receiver::chosen);
    auto art = NSImage::blank(CGSize{12, 12});
    Item disabled(Model::pt1, "Tape 1", art, false);
    struct Case {
        const char* what;
        Item item;
        bool separator;
        std::string title;
        std::optional<Model> value;
        bool enabled;
        bool image;
        std::optional<std::vector<std::string>> submenu;
    };
    const Case cases[] = {
        {"a value", Item(Model::bbd2, "BBD 2"), false, "BBD 2", Model::bbd2, true, false, {}},
        {"no value", Item(std::nullopt, "None"), false, "None", {}, true, false, {}},
        {"disabled, with an image", disabled, false, "Tape 1", Model::pt1, false, true, {}},
        {"a divider", Item::divider(), true, "", {}, true, false, {}},
        {"init(isDivider: false) is an empty item",
         Item(PopupDivider{false}),
         false,
         "",
         {},
         true,
         false,
         {}},
        {"a displayable of the type",
         Item(Model::pt2, art),
         false,
         "Tape 2",
         Model::pt2,
         true,
         true,
         {}},
        {"a displayable of another type", Item(Flavour::echo), false, "Echo", {}, true, false, {}},
        {"a submenu, its items in order",
         withSubmenu("Tape",
                     {Item(Model::pt1, "Tape 1"), Item::divider(), Item(Model::pt2, "Tape 2")}),
         false,
         "Tape",
         {},
         true,
         false,
         std::vector<std::string>{"Tape 1", "-", "Tape 2"}},
        {"an empty submenu",
         withSubmenu("Empty", {}),
         false,
         "Empty",
         {},
         true,
         false,
         std::vector<std::string>{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.item.title(), c.title);
        EXPECT_EQ(c.item.object, c.value);
        auto menuItem = c.item.asNSMenuItem(action, target);
        ASSERT_TRUE(menuItem);
        EXPECT_EQ(menuItem->isSeparatorItem(), c.separator);
        if (c.separator)
            continue;
        EXPECT_EQ(menuItem->title, c.title);
        EXPECT_EQ(valueOf(*menuItem), c.value);
        EXPECT_EQ(menuItem->representedObject.has_value(), c.value.has_value());
        EXPECT_EQ(menuItem->isEnabled, c.enabled);
        EXPECT_EQ(menuItem->image != nullptr, c.image);
        EXPECT_EQ(menuItem->keyEquivalent, "");
        EXPECT_EQ(menuItem->target.lock(), target);
        EXPECT_TRUE(menuItem->action);
        ASSERT_EQ(menuItem->hasSubmenu(), c.submenu.has_value());
        if (!c.submenu)
            continue;
        const auto& sub = *menuItem->submenu();
        EXPECT_FALSE(sub.autoenablesItems);
        EXPECT_EQ(titles(sub.itemArray()), *c.submenu);
        for (const auto& child : sub.itemArray())
            if (!child->isSeparatorItem()) {
                EXPECT_EQ(child->target.lock(), target);
                EXPECT_TRUE(child->action);
            }
    }
}

TEST(NSMenuFlattenedItems, ParentsComeBeforeTheirSubmenusDepthFirst) {
    auto leaf = NSMenu::make();
    leaf->addItem(NSMenuItem::make("c1"));
    auto inner = NSMenu::make();
    inner->addItem(NSMenuItem::make("b1"));
    auto holder = NSMenuItem::make("b2");
    holder->setSubmenu(leaf);
    inner->addItem(holder);
    auto menu = NSMenu::make();
    auto a = NSMenuItem::make("a");
    a->setSubmenu(inner);
    menu->addItem(a);
    menu->addItem(NSMenuItem::separatorItem());
    menu->addItem(NSMenuItem::make("d"));
    EXPECT_EQ(titles(flattenedItems(*menu)),
              (std::vector<std::string>{"a", "b1", "b2", "c1", "-", "d"}));
    EXPECT_TRUE(flattenedItems(*NSMenu::make()).empty());
}

// A wrapper's button made as the view graph makes it, with the binding over `value`.
struct Made {
    Model value;
    Wrapper wrapper;
    Context context;
    std::shared_ptr<StyledPopUpButton> button;

    Made(std::vector<Item> items, Model selected, std::optional<std::string> label = {},
         std::optional<CGFloat> fixedWidth = {})
        : value(selected), wrapper(std::move(items), over(value), std::move(label), fixedWidth),
          context{wrapper.makeCoordinator(), {}}, button(wrapper.makeNSView(context)) {}
    Made(const Made&) = delete;
};

std::vector<Item> models() {
    return {Item(std::nullopt, "None"), Item(Model::bbd1, "BBD 1"), Item(Model::bbd2, "BBD 2"),
            Item::divider(),
            withSubmenu("Tape",
                        {Item(Model::pt1, "Tape 1"), Item(Model::pt2, "Tape 2", nullptr, false)})};
}

TEST(StyledPopUpButtonWrapper, FillsTheButtonAndSelectsTheFirstItemOfTheBoundValue) {
    struct Case {
        const char* what;
        std::vector<Item> items;
        Model selection;
        std::string selected; // title of the selected item
        bool inSubmenu;
    };
    const Case cases[] = {
        {"a top-level item", models(), Model::bbd2, "BBD 2", false},
        {"an item of a submenu", models(), Model::pt1, "Tape 1", true},
        {"a disabled item is selected, and stays disabled", models(), Model::pt2, "Tape 2", true},
        {"equal values: the first depth first, inside a submenu",
         {Item(Model::bbd1, "BBD 1"), withSubmenu("More", {Item(Model::pt1, "Tape (more)")}),
          Item(Model::pt1, "Tape (top)")},
         Model::pt1,
         "Tape (more)",
         true},
        {"equal values at the top: the first",
         {Item(Model::bbd2, "First"), Item(Model::bbd2, "Second")},
         Model::bbd2,
         "First",
         false},
        {"no item of the value: the button's first item stays",
         {Item(Model::bbd2, "BBD 2"), Item(Model::pt1, "Tape 1")},
         Model::bbd1,
         "BBD 2",
         false},
        {"no match at all: the first item, though it has no value",
         {Item(std::nullopt, "None"), Item(Model::bbd1, "BBD 1")},
         Model::pt2,
         "None",
         false},
        {"another type's displayable never matches, though its raw value would",
         {Item(Flavour::echo), Item(std::nullopt, "None"), Item(Model::bbd1)},
         Model::bbd1,
         "BBD 1",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Made m(c.items, c.selection, "Model", 120);
        auto& button = *m.button;
        EXPECT_EQ(button.fixedWidth, std::optional<CGFloat>(120));
        EXPECT_EQ(button.label(), "Model");
        EXPECT_EQ(std::dynamic_pointer_cast<StyledPopUpButtonCell>(button.cell())->label, "Model");
        EXPECT_FALSE(button.pullsDown());
        EXPECT_FALSE(button.autoenablesItems());
        auto selected = button.selectedItem();
        ASSERT_TRUE(selected);
        EXPECT_EQ(selected->title, c.selected);
        EXPECT_EQ(button.title(), c.selected);
        EXPECT_EQ(button.titleOfSelectedItem(), c.selected);
        EXPECT_EQ(selected->menu() != button.menu(), c.inSubmenu);
        EXPECT_EQ(titles(button.itemArray()).size(), c.items.size());
        for (const auto& item : flattenedItems(*button.menu())) {
            if (item->hasSubmenu()) {
                EXPECT_FALSE(item->submenu()->autoenablesItems);
            }
        }
    }
    // The disabled item kept its flag.
    Made m(models(), Model::pt2);
    EXPECT_FALSE(m.button->selectedItem()->isEnabled);
}

TEST(StyledPopUpButtonWrapper, AnUpdateRefillsSelectsTheBindingsValueAndSetsTheLabel) {
    RunLoopTestScope scope;
    Made m(models(), Model::bbd1);
    auto h = ControlHarness::holding(m.button, {160, 40});
    m.button->setFrame({10, 10, 140, 22});
    const auto before = m.button->item(1);

    struct Case {
        const char* what;
        std::function<void()> act;
        std::string shown;
    };
    const Case cases[] = {
        {"the binding changes", [&] { m.value = Model::pt1; }, "Tape 1"},
        {"a disabled item of a submenu", [&] { m.value = Model::pt2; }, "Tape 2"},
        {"other items and a label",
         [&] {
             m.wrapper.items = {Item(Model::pt2, "Only tape 2")};
             m.wrapper.label = "By";
         },
         "Only tape 2"},
        {"the value leaves the items",
         [&] {
             m.wrapper.items = {Item(Model::bbd1, "BBD 1"), Item(Model::bbd2, "BBD 2")};
             m.value = Model::pt1;
         },
         "BBD 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        m.wrapper.updateNSView(*m.button, m.context);
        h.turn();
        EXPECT_EQ(m.button->titleOfSelectedItem(), c.shown);
        EXPECT_EQ(m.button->title(), c.shown);
        EXPECT_TRUE(h.text(c.shown) || h.text(" " + c.shown)) << "drawn as the button's title";
        EXPECT_EQ(m.button->numberOfItems(), long(m.wrapper.items.size()));
    }
    EXPECT_EQ(before->menu(), nullptr) << "the old items left the menu";
    EXPECT_EQ(m.button->label(), "By");
    EXPECT_TRUE(h.text("By"));
}

TEST(StyledPopUpButtonWrapper, ChoosingAnItemInTheMenuWritesItsValueThroughTheBinding) {
    RunLoopTestScope scope;
    Made m(models(), Model::bbd1);
    m.button->setFrame({10, 10, 140, 22});
    auto h = ControlHarness::holding(m.button, {160, 40});

    struct Case {
        const char* what;
        std::string choose;
        Model binding;
    };
    const Case cases[] = {
        {"a top-level item", "BBD 2", Model::bbd2},
        {"an item of a submenu", "Tape 1", Model::pt1},
        {"an item without a value writes nothing", "None", Model::pt1},
        {"a disabled item cannot be chosen", "Tape 2", Model::pt1},
        {"the submenu's holder writes nothing", "Tape", Model::pt1},
        {"a divider cannot be chosen", "-", Model::pt1},
        {"dismissed", "", Model::pt1},
        {"back at the top", "BBD 1", Model::bbd1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            Choosing choosing(c.choose);
            h.click(h.centre(*m.button));
        }
        EXPECT_EQ(m.value, c.binding);
        // The view graph updates the view after its state changed: the button follows.
        m.wrapper.updateNSView(*m.button, m.context);
        EXPECT_EQ(valueOf(*m.button->selectedItem()), c.binding);
    }

    // A rebuilt view's update hands its binding to the coordinator.
    Model newer = Model::bbd1;
    Wrapper rebuilt(models(), over(newer));
    rebuilt.updateNSView(*m.button, m.context);
    {
        Choosing choosing("Tape 1");
        h.click(h.centre(*m.button));
    }
    EXPECT_EQ(newer, Model::pt1);
    EXPECT_EQ(m.value, Model::bbd1) << "the old binding is left alone";

    // Senders that are no item of a value write nothing.
    m.context.coordinator->menuItemSelected(m.button.get());
    m.context.coordinator->menuItemSelected(nullptr);
    auto foreign = NSMenuItem::make("Echo");
    foreign->representedObject = Flavour::chorus;
    m.context.coordinator->menuItemSelected(foreign.get());
    EXPECT_EQ(newer, Model::pt1);
}

// A form holding the model in its own state, with a line that shows it.
struct ModelForm : SwiftUI::View<ModelForm> {
    std::optional<SwiftUI::State<Model>>* state = nullptr;
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const {
        auto model = ctx.state(Model::bbd2);
        *state = model;
        return SwiftUI::AnyView(
            SwiftUI::VStack(Wrapper(models(), model.binding(), "Model").frame(160, 22),
                            SwiftUI::Text("Now: " + displayText(model.get()))));
    }
};

TEST(StyledPopUpButtonWrapper, InATreeOfViewsThePopUpFollowsTheStateAndWritesIt) {
    RunLoopTestScope scope;
    std::optional<SwiftUI::State<Model>> state;
    ModelForm form;
    form.state = &state;
    ControlHarness h(SwiftUI::AnyView(form), {200, 80});
    std::shared_ptr<StyledPopUpButton> button;
    for (const auto& view : h.host->subviews())
        if (auto b = std::dynamic_pointer_cast<StyledPopUpButton>(view))
            button = b;
    ASSERT_TRUE(button);
    ASSERT_TRUE(state);
    EXPECT_EQ(h.rectOf(*button).size, (CGSize{160, 22}));

    struct Case {
        const char* what;
        std::function<void()> act;
        std::string shown;
    };
    const Case cases[] = {
        {"as it starts", [] {}, "BBD 2"},
        {"the state changes elsewhere", [&] { state->set(Model::pt1); }, "Tape 1"},
        {"chosen in the menu",
         [&] {
             Choosing choosing("BBD 1");
             h.click(h.centre(*button));
         },
         "BBD 1"},
        {"chosen in a submenu",
         [&] {
             Choosing choosing("Tape 1");
             h.click(h.centre(*button));
         },
         "Tape 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        h.turn();
        EXPECT_EQ(button->titleOfSelectedItem(), c.shown);
        EXPECT_TRUE(h.text(" " + c.shown)) << "the button draws it after its label";
        EXPECT_TRUE(h.text("Now: " + c.shown)) << "the state holds it";
    }
    EXPECT_TRUE(h.text("Model"));
}

TEST(StyledPopUpButtonWrapperDeathTest, WhatItDoesNotOfferEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* message;
    };
    const Case cases[] = {
        {"the coordinator's plain initialiser",
         [] { StyledPopUpButtonCoordinator<Model>::plain(); },
         "Use of unimplemented initializer 'init\\(\\)' for class 'Tideglass.Coordinator'"},
        {"a button made off the main thread",
         [] { std::thread([] { Made made(models(), Model::bbd1); }).join(); },
         "must be used from the main thread only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.act(), c.message);
    }
}

} // namespace
