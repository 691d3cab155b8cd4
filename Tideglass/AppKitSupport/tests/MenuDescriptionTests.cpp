#include "AppKitSupport/MenuDescriptions.h"

#include "AppKit/NSApplication.h"
#include "AppKit/NSEvent.h"
#include "AppKit/NSImage.h"

#include "TestShape.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A value with an alternate item, possibly incomplete.
struct Choice final : MenuPresentable {
    std::optional<long> altTag;
    std::optional<std::string> altTitle;
    long menuTag() const override { return 5; }
    std::string menuTitle() const override { return "Choice"; }
    std::optional<long> alternateMenuTag() const override { return altTag; }
    std::optional<std::string> alternateMenuTitle() const override { return altTitle; }
    std::any alternateMenuRepresentedObject() const override { return std::string("alt"); }
    // One image per state, so that items show on, off and mixed states their own way.
    std::shared_ptr<NSImage> on = NSImage::blank({8, 8}), off = NSImage::blank({8, 8}),
                             mixed = NSImage::blank({8, 8});
    std::shared_ptr<NSImage> onStateMenuImage() const override { return on; }
    std::shared_ptr<NSImage> offStateMenuImage() const override { return off; }
    std::shared_ptr<NSImage> mixedStateMenuImage() const override { return mixed; }
};

// Calls a closure with the item that sent the action.
struct ClosureTarget : NSObject {
    std::function<void(NSMenuItem&)> closure;
    void perform(NSObject* sender) { closure(*static_cast<NSMenuItem*>(sender)); }
};

struct Delegate : NSObject, NSMenuDelegate {};

// Records which of its two actions each item sent.
struct Recorder : NSObject {
    std::vector<std::string> sent;
    void first(NSObject*) { sent.push_back("first"); }
    void second(NSObject*) { sent.push_back("second"); }
};

// A value with its own image, target and action, and an alternate item.
struct Aimed final : MenuPresentable {
    std::shared_ptr<Recorder> own = make<Recorder>();
    std::shared_ptr<NSImage> icon = NSImage::blank({8, 8});
    long menuTag() const override { return 3; }
    std::string menuTitle() const override { return "Aimed"; }
    std::shared_ptr<NSImage> menuImage() const override { return icon; }
    std::optional<long> alternateMenuTag() const override { return 30; }
    std::optional<std::string> alternateMenuTitle() const override { return "Aimed Again"; }
    std::shared_ptr<NSObject> menuTarget() const override { return own; }
    NSAction menuAction() const override { return &Recorder::first; }
};

TEST(TGMenuItemTest, DescriptionsBecomeItemsOfTheirKind) {
    auto target = make<ClosureTarget>();
    auto delegate = make<Delegate>();
    TGMenuItem full;
    full.title = "Open";
    full.action = &ClosureTarget::perform;
    full.target = target;
    full.shortcutKey = "o";
    full.modifiers = NSEvent::command | NSEvent::shift;
    full.tag = 4;
    full.representedObject = std::string("file");

    struct Case {
        const char* name;
        TGMenuType type;
        bool separator, header;
        std::string title;
        long tag;
        bool hasSubmenu, keepsTarget;
    };
    for (const Case& c : {
             Case{"standard", TGMenuType::standard(), false, false, "Open", 4, false, true},
             Case{"separator", TGMenuType::separator(), true, false, "", 0, false, false},
             Case{"header", TGMenuType::sectionHeader("Files"), false, true, "Files", 0, false,
                  false},
             Case{"recent", TGMenuType::recentDocuments(delegate), false, false, "Open", 4, true,
                  true},
         }) {
        TGMenuItem description = full;
        description.menuType = c.type;
        description.submenu = c.header ? std::optional(std::vector{TGMenuItem{}}) : std::nullopt;
        auto item = description.asMenuItem();
        EXPECT_EQ(item->isSeparatorItem(), c.separator) << c.name;
        EXPECT_EQ(item->isSectionHeader(), c.header) << c.name;
        EXPECT_EQ(item->title, c.title) << c.name;
        EXPECT_EQ(item->tag, c.tag) << c.name;
        EXPECT_EQ(item->hasSubmenu(), c.hasSubmenu) << c.name;
        EXPECT_EQ(item->target.lock() == target, c.keepsTarget) << c.name;
        EXPECT_EQ(item->representedObject.has_value(), c.keepsTarget) << c.name;
        if (c.keepsTarget) {
            EXPECT_EQ(item->keyEquivalent, "o");
            EXPECT_EQ(item->keyEquivalentModifierMask, NSEvent::command | NSEvent::shift);
        }
    }
    TGMenuItem recent;
    recent.menuType = TGMenuType::recentDocuments(delegate);
    auto recentItem = recent.asMenuItem();
    EXPECT_EQ(recentItem->submenu()->numberOfItems(), 0);
    EXPECT_EQ(recentItem->submenu()->delegate.lock(), delegate);
    EXPECT_EQ(recentItem->title, "");
    EXPECT_EQ(recentItem->keyEquivalentModifierMask, 0u);

    TGMenuItem services;
    services.title = "Services";
    services.menuType = TGMenuType::services();
    auto servicesItem = services.asMenuItem();
    EXPECT_EQ(servicesItem->submenu(), NSApplication::shared().servicesMenu);
}

TEST(TGMenuItemTest, NestedDescriptionsMakeSubmenusWhoseActionsReachTheirClosures) {
    auto target = make<ClosureTarget>();
    std::vector<std::string> chosen;
    target->closure = [&](NSMenuItem& item) { chosen.push_back(item.title); };
    TGMenuItem leaf;
    leaf.title = "Leaf";
    leaf.action = &ClosureTarget::perform;
    leaf.target = target;
    TGMenuItem branch;
    branch.title = "Branch";
    branch.submenu = std::vector{leaf, TGMenuItem::separator()};
    TGMenuItem choices;
    choices.title = "Shapes";
    choices.submenuEnum = std::vector<std::shared_ptr<const MenuPresentable>>{
        std::make_shared<Shape>(Shape::sine), std::make_shared<Shape>(Shape::square)};
    choices.submenuEmumSelector = &ClosureTarget::perform;

    auto menu = asMenu({branch, choices});
    EXPECT_FALSE(menu->autoenablesItems);
    ASSERT_EQ(menu->numberOfItems(), 2);
    auto sub = menu->item(0)->submenu();
    ASSERT_TRUE(sub);
    EXPECT_TRUE(sub->autoenablesItems);
    EXPECT_EQ(sub->numberOfItems(), 2);
    EXPECT_TRUE(sub->item(1)->isSeparatorItem());
    EXPECT_FALSE(sub->item(0)->hasSubmenu()); // a description is a plain item by default
    EXPECT_TRUE(sub->performActionForItem(0));

    auto shapes = menu->item(1)->submenu();
    ASSERT_EQ(shapes->numberOfItems(), 2);
    EXPECT_EQ(shapes->item(0)->title, "Sine");
    EXPECT_EQ(shapes->item(1)->tag, 2);
    shapes->item(1)->target = target; // the selector's receiver is the caller's to choose
    EXPECT_TRUE(shapes->performActionForItem(1));
    EXPECT_EQ(chosen, (std::vector<std::string>{"Leaf", "Square"}));

    target.reset();
    EXPECT_EQ(TGMenuItem(leaf).asMenuItem()->target.lock(), nullptr); // held weakly
}

TEST(TGMenuTypeTest, EqualityComparesKindsTitlesAndDelegateIdentity) {
    auto a = make<Delegate>(), b = make<Delegate>();
    struct Case {
        TGMenuType x, y;
        bool equal;
    };
    for (const Case& c : {
             Case{TGMenuType::sectionHeader("A"), TGMenuType::sectionHeader("A"), true},
             Case{TGMenuType::sectionHeader("A"), TGMenuType::sectionHeader("B"), false},
             Case{TGMenuType::recentDocuments(a), TGMenuType::recentDocuments(a), true},
             Case{TGMenuType::recentDocuments(a), TGMenuType::recentDocuments(b), false},
             Case{TGMenuType::recentDocuments(nullptr), TGMenuType::recentDocuments(nullptr), true},
             Case{TGMenuType::recentDocuments(nullptr), TGMenuType::recentDocuments(b), false},
             Case{TGMenuType::documentTemplates(a), TGMenuType::documentTemplates(nullptr), false},
             Case{TGMenuType::recentDocuments(a), TGMenuType::documentTemplates(a), false},
             Case{TGMenuType::services(), TGMenuType::services(), true},
             Case{TGMenuType::standard(), TGMenuType::separator(), false},
         })
        EXPECT_EQ(c.x == c.y, c.equal);
}

TEST(MenuStructureTest, AnEnumerableTypeDescribesASubmenuOfItsCasesInOrder) {
    auto structure = Shape::menuStructure();
    EXPECT_EQ(structure.kind(), MenuStructure<Shape>::Kind::submenu);
    EXPECT_EQ(structure.title(), "Shape");
    auto menu = structure.menu(nullptr, {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title, "Shape");
    ASSERT_EQ(menu->numberOfItems(), 3);
    for (long i = 0; i < 3; ++i) {
        EXPECT_EQ(menu->item(i)->tag, i);
        EXPECT_EQ(std::any_cast<long>(menu->item(i)->representedObject), i);
    }
    EXPECT_EQ(menu->item(2)->title, "Square");
    EXPECT_EQ(Shape::fromRawValue(1), Shape::sine);
    EXPECT_EQ(Shape::fromRawValue(7), std::nullopt);
}

TEST(MenuStructureTest, EachKindMakesItsItems) {
    using S = MenuStructure<Shape>;
    auto target = make<ClosureTarget>();
    auto items = S::menuItems(S::item(Shape::sine), target, &ClosureTarget::perform);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->target.lock(), target);
    EXPECT_TRUE(items[0]->action);

    auto empty = S::submenu("Empty", {});
    auto plain = S::menuItems(empty, nullptr, {});
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_FALSE(plain[0]->hasSubmenu());
    EXPECT_EQ(empty.menu(nullptr, {}), nullptr);
    EXPECT_TRUE(empty.menuItems(nullptr, {}).empty()); // the instance form only makes items

    auto separator = S::menuItems(S::separator(), nullptr, {});
    EXPECT_TRUE(separator[0]->isSeparatorItem());
    EXPECT_EQ(separator[0]->tag, -1000);
    EXPECT_TRUE(S::menuItems(S::inlineTitle("Waves"), nullptr, {})[0]->isSectionHeader());
    EXPECT_EQ(S::item(Shape::sine).menu(nullptr, {}), nullptr);
}

TEST(MenuStructureTest, AnAlternateItemNeedsBothItsTagAndItsTitle) {
    struct Case {
        std::optional<long> tag;
        std::optional<std::string> title;
        size_t items;
    };
    for (const Case& c :
         {Case{9, "Choice…", 2}, Case{9, std::nullopt, 1}, Case{std::nullopt, "Choice…", 1}}) {
        Choice value;
        value.altTag = c.tag;
        value.altTitle = c.title;
        auto items =
            MenuStructure<Choice>::menuItems(MenuStructure<Choice>::item(value), nullptr, {});
        ASSERT_EQ(items.size(), c.items);
        if (c.items == 2) {
            EXPECT_TRUE(items[1]->isAlternate);
            EXPECT_EQ(items[1]->keyEquivalentModifierMask, NSEvent::option);
            EXPECT_EQ(items[1]->tag, 9);
            EXPECT_EQ(std::any_cast<std::string>(items[1]->representedObject), "alt");
            EXPECT_FALSE(items[0]->isAlternate);
            EXPECT_EQ(items[0]->onStateImage, value.on);
            EXPECT_EQ(items[0]->offStateImage, value.off);
            EXPECT_EQ(items[0]->mixedStateImage, value.mixed);
            EXPECT_EQ(items[1]->onStateImage, nullptr); // the alternate shows no state images
        }
    }
}

TEST(MenuStructureTest, AValuesOwnTargetAndActionServeWhenTheCallerGivesNone) {
    struct Case {
        const char* what;
        bool callerGivesTarget, callerGivesAction;
        const char* expected;
        bool reachesCaller;
    };
    for (const Case& c : {Case{"neither", false, false, "first", false},
                          Case{"caller's action", false, true, "second", false},
                          Case{"caller's target", true, false, "first", true},
                          Case{"both", true, true, "second", true}}) {
        SCOPED_TRACE(c.what);
        Aimed value;
        auto caller = make<Recorder>();
        auto items = MenuStructure<Aimed>::menuItems(
            MenuStructure<Aimed>::item(value), c.callerGivesTarget ? caller : nullptr,
            c.callerGivesAction ? NSAction(&Recorder::second) : NSAction());
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0]->title, "Aimed");
        EXPECT_EQ(items[0]->image, value.icon);
        EXPECT_EQ(items[1]->title, "Aimed Again");
        EXPECT_EQ(items[1]->tag, 30);
        auto menu = NSMenu::make();
        for (auto& item : items)
            menu->addItem(item);
        EXPECT_TRUE(menu->performActionForItem(0));
        EXPECT_TRUE(menu->performActionForItem(1)); // the alternate follows the same rules
        const auto& receiver = c.reachesCaller ? caller : value.own;
        EXPECT_EQ(receiver->sent, (std::vector<std::string>{c.expected, c.expected}));
    }
}

TEST(MenuStructureTest, SubmenusAndInlineTitlesAreTitledItems) {
    using S = MenuStructure<Shape>;
    auto plain = S::menuItems(S::submenu("Empty", {}), nullptr, {});
    EXPECT_EQ(plain[0]->title, "Empty");
    EXPECT_FALSE(plain[0]->action);
    auto full = S::menuItems(S::submenu("Waves", {S::item(Shape::sine)}), nullptr, {});
    EXPECT_EQ(full[0]->title, "Waves");
    auto header = S::menuItems(S::inlineTitle("Waves"), nullptr, {});
    EXPECT_EQ(header[0]->title, "Waves");
    // The caller's target reaches the items of nested submenus.
    auto target = make<ClosureTarget>();
    auto nested = S::submenu("Outer", {S::submenu("Inner", {S::item(Shape::square)})});
    auto outer = nested.menu(target, &ClosureTarget::perform);
    ASSERT_TRUE(outer);
    auto inner = outer->item(0)->submenu();
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->item(0)->target.lock(), target);
    EXPECT_TRUE(inner->item(0)->action);
}

// Unsigned raw values, the largest among them beyond the largest signed tag.
struct Channel final : RawMenuPresentable<Channel, unsigned long> {
    explicit Channel(unsigned long raw) : RawMenuPresentable(raw) {}
    static std::vector<Channel> allCases() { return {Channel(7), Channel(ULONG_MAX)}; }
    std::string localizedDisplayName() const override { return "Channel"; }
};

// Raw values without a list of cases, and no type title of its own.
struct Loose final : RawMenuPresentable<Loose, int> {
    explicit Loose(int raw) : RawMenuPresentable(raw) {}
    std::string localizedDisplayName() const override { return "Loose"; }
};

TEST(MenuStructureTest, RawValueDefaultsForUnsignedAndUnlistedTypes) {
    auto menu = Channel::menuStructure().menu(nullptr, {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title, ""); // no type title: empty
    ASSERT_EQ(menu->numberOfItems(), 2);
    EXPECT_EQ(menu->item(0)->tag, 7);
    EXPECT_EQ(std::any_cast<unsigned long>(menu->item(0)->representedObject), 7UL);
    EXPECT_EQ(std::any_cast<unsigned long>(menu->item(1)->representedObject), ULONG_MAX);
    EXPECT_EQ(representedObjectAs<unsigned long>(menu->item(1)->representedObject), ULONG_MAX);
    EXPECT_EQ(Loose::menuStructure().kind(), MenuStructure<Loose>::Kind::separator);
    EXPECT_EQ(Loose(3).menuTitle(), "Loose");
}

TEST(TGMenuItemTest, AnExplicitSubmenuWinsOverTheKindsAndTheEnumeratedOne) {
    auto delegate = make<Delegate>();
    auto icon = std::make_shared<Aimed>();
    TGMenuItem child;
    child.title = "Child";
    struct Case {
        const char* what;
        TGMenuType type;
        bool withChildren, withEnum;
        std::vector<std::string> titles;
    };
    for (const Case& c : {
             Case{"recent documents and children",
                  TGMenuType::recentDocuments(delegate),
                  true,
                  false,
                  {"Child"}},
             Case{"children and values", TGMenuType::standard(), true, true, {"Child"}},
             Case{"values", TGMenuType::standard(), false, true, {"Aimed"}},
         }) {
        SCOPED_TRACE(c.what);
        TGMenuItem item;
        item.title = "Parent";
        item.menuType = c.type;
        if (c.withChildren)
            item.submenu = std::vector{child};
        if (c.withEnum)
            item.submenuEnum = std::vector<std::shared_ptr<const MenuPresentable>>{icon};
        auto made = item.asMenuItem();
        ASSERT_TRUE(made->submenu());
        std::vector<std::string> titles;
        for (auto& i : made->submenu()->itemArray())
            titles.push_back(i->title);
        EXPECT_EQ(titles, c.titles);
        if (c.withEnum && !c.withChildren)
            EXPECT_EQ(made->submenu()->item(0)->image, icon->icon);
    }
}

TEST(RepresentedObjectTest, NumbersReadBackAsAnyIntegerTypeThatHoldsThem) {
    EXPECT_EQ(representedObjectAs<int>(std::any(long(3))), 3);
    EXPECT_EQ(representedObjectAs<unsigned>(std::any(long(-1))), std::nullopt);
    EXPECT_EQ(representedObjectAs<long>(std::any(7UL)), 7);
    EXPECT_EQ(representedObjectAs<int>(std::any(std::string("3"))), std::nullopt);
    EXPECT_EQ(representedObjectAs<std::string>(std::any(std::string("x"))), "x");
    EXPECT_EQ(representedObjectAs<int>(std::any()), std::nullopt);
}

} // namespace
