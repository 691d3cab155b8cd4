// The styled outline view, the actionable table header and the keyboard-action table.

#include "Controls/StyledOutlineView.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/TableExtras.h"

#include "AppKit/NSAnimationContext.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSScrollView.h"
#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Node : NSObject {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;
};

// A two-level tree: groups A and B with leaves, and C without children; cell views
// with the item's name; the delegate answers with a menu per item, or none.
struct Tree : NSObject, NSOutlineViewDataSource, NSOutlineViewDelegate, StyledOutlineViewDelegate {
    using Item = NSOutlineView::Item;
    std::vector<std::shared_ptr<Node>> top;
    std::map<std::string, std::shared_ptr<Node>> byName;
    std::shared_ptr<NSMenu> menu = make<NSMenu>();
    Tree() {
        for (const char* group : {"A", "B", "C"}) {
            auto node = add(group);
            top.push_back(node);
            if (std::string(group) != "C")
                for (int i = 1; i <= 2; ++i)
                    node->children.push_back(add(std::string(group) + std::to_string(i)));
        }
        byName["A1"]->children.push_back(add("A1x"));
    }
    std::shared_ptr<Node> add(const std::string& name) {
        auto node = make<Node>();
        node->name = name;
        return byName[name] = node;
    }
    static Node* node(const Item& item) { return static_cast<Node*>(item.get()); }
    long numberOfChildrenOfItem(NSOutlineView&, const Item& item) override {
        durations.push_back(NSAnimationContext::current().duration);
        return item ? long(node(item)->children.size()) : long(top.size());
    }
    Item child(NSOutlineView&, long i, const Item& of) override {
        return of ? node(of)->children[std::size_t(i)] : top[std::size_t(i)];
    }
    bool isItemExpandable(NSOutlineView&, const Item& item) override {
        return !node(item)->children.empty();
    }
    std::shared_ptr<NSView> viewForTableColumn(NSOutlineView&, NSTableColumn*,
                                               const Item& item) override {
        auto cell = make<StyledTableCellView>();
        cell->textField = NSTextField::labelWithString(node(item)->name);
        cell->addSubview(cell->textField);
        return cell;
    }
    std::shared_ptr<NSTableRowView> rowViewForItem(NSOutlineView&, const Item&) override {
        return make<StyledTableRowView>();
    }
    std::shared_ptr<NSMenu> outlineViewMenuForItem(NSOutlineView&, const Item& item) override {
        menuAskedFor = node(item)->name;
        return menu;
    }
    std::string menuAskedFor;
    std::vector<double> durations; // the animation duration in force at each question
};

// An outline of the tree that is its delegate for everything but menus.
struct PlainDelegate : NSObject, NSOutlineViewDelegate {};

struct OutlineScene {
    RunLoopTestScope scope;
    std::shared_ptr<Tree> tree = make<Tree>();
    std::shared_ptr<StyledOutlineView> outline = make<StyledOutlineView>(CGRect{0, 0, 240, 200});
    std::shared_ptr<NSScrollView> scroll = make<NSScrollView>(CGRect{0, 0, 240, 200});
    ControlHarness h = ControlHarness::holding(scroll, {240, 200});
    OutlineScene() {
        outline->rowHeight = 20;
        outline->addTableColumn(make<StyledTableColumn>("name"));
        outline->dataSource = tree;
        outline->delegate = tree;
        scroll->setDocumentView(outline);
        outline->reloadData();
        h.turn();
    }
    std::shared_ptr<NSButton> disclosure(long row) {
        for (const auto& view : outline->rowViewAtRow(row)->subviews())
            if (auto button = std::dynamic_pointer_cast<NSButton>(view))
                return button;
        return nullptr;
    }
    std::string rows() {
        std::string s;
        for (long r = 0; r < outline->numberOfRows(); ++r)
            s += (r ? " " : "") + Tree::node(outline->itemAtRow(r))->name;
        return s;
    }
};

TEST(StyledOutlineView, DisclosureButtonsShowTheLibrarysArtAndAreFoundByTag) {
    OutlineScene s;
    EXPECT_EQ(s.rows(), "A B C");
    EXPECT_FALSE(s.disclosure(2)); // C does not expand
    auto button = s.disclosure(0);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->tag(), 1000);
    EXPECT_EQ(button->buttonCell()->showsStateBy, NSCellStyleMask::contents);
    EXPECT_EQ(button->frame(), (CGRect{0, 0, 16, 20})); // the outline cell of level 0
    EXPECT_EQ(s.outline->frameOfOutlineCellAtRow(0), (CGRect{0, 0, 16, 20}));
    // The cell view beside it finds it.
    auto cell = std::dynamic_pointer_cast<StyledTableCellView>(s.outline->viewAtColumn(0, 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->disclosureButton(), button);
    EXPECT_EQ(cell->frame().minX(), 16);

    struct Case {
        const char* what;
        std::function<void()> act;
        const char* rows;
        const char* artOfA;
    };
    const Case cases[] = {
        {"collapsed", [] {}, "A B C", "organiser-icon-disclose"},
        {"clicked open", [&] { s.h.click(s.h.centre(*s.disclosure(0))); }, "A A1 A2 B C",
         "organiser-icon-disclose-open"},
        {"clicked shut", [&] { s.h.click(s.h.centre(*s.disclosure(0))); }, "A B C",
         "organiser-icon-disclose"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(s.rows(), c.rows);
        auto art = s.h.image(c.artOfA);
        ASSERT_TRUE(art);
        EXPECT_EQ(art->rect.midY(), s.h.rectOf(*s.outline).minY() + 10); // row A's
    }
    EXPECT_TRUE(s.outline->selectedRowIndexes().empty()); // disclosure clicks select nothing
}

TEST(StyledOutlineView, ExpandsWithoutAnimationOnlyWhatIsCollapsedAndExpandable) {
    OutlineScene s;
    s.tree->durations.clear();
    s.outline->expandItemWithoutAnimation(s.tree->byName["C"]); // not expandable
    EXPECT_EQ(s.rows(), "A B C");
    EXPECT_TRUE(s.tree->durations.empty());
    s.outline->expandItemWithoutAnimation(s.tree->byName["A"]);
    EXPECT_EQ(s.rows(), "A A1 A2 B C"); // its children stay collapsed
    EXPECT_FALSE(s.outline->isItemExpanded(s.tree->byName["A1"]));
    ASSERT_FALSE(s.tree->durations.empty());
    for (double d : s.tree->durations)
        EXPECT_EQ(d, 0); // expanded inside a group of duration 0
    s.tree->durations.clear();
    s.outline->expandItemWithoutAnimation(s.tree->byName["A"]); // already: nothing
    EXPECT_TRUE(s.tree->durations.empty());
    EXPECT_EQ(s.outline->levelForItem(s.tree->byName["A1"]), 1);
    // The group is closed again.
    EXPECT_EQ(NSAnimationContext::current().duration, 0.25);
}

TEST(StyledOutlineView, ContextMenusComeFromTheDelegateForAnItemOnly) {
    OutlineScene s;
    s.outline->setMenu(make<NSMenu>()); // never given
    auto at = [&](CGPoint p) {
        return NSEvent::mouse(NSEvent::Type::rightMouseDown,
                              {p.x, s.h.window->contentSize().height - p.y});
    };
    const CGRect outline = s.h.rectOf(*s.outline);
    EXPECT_EQ(s.outline->menuForEvent(at({20, outline.minY() + 30})), s.tree->menu);
    EXPECT_EQ(s.tree->menuAskedFor, "B");
    EXPECT_EQ(s.outline->menuForEvent(at({20, outline.minY() + 150})), nullptr); // below the rows
    s.outline->delegate = make<PlainDelegate>();
    EXPECT_EQ(s.outline->menuForEvent(at({20, outline.minY() + 30})), nullptr);
}

// A wide table in a narrow scroll view with the actionable header.
struct HeaderScene {
    RunLoopTestScope scope;
    std::shared_ptr<StyledTableView> table = make<StyledTableView>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSScrollView> scroll = make<NSScrollView>(CGRect{0, 0, 200, 100});
    std::shared_ptr<ActionableTableHeaderView> header = make<ActionableTableHeaderView>();
    ControlHarness h = ControlHarness::holding(scroll, {200, 100});
    HeaderScene() {
        for (const char* id : {"a", "b", "c", "d"})
            table->addTableColumn(make<StyledTableColumn>(id)); // 400 points wide
        scroll->setDocumentView(table);
        table->setHeaderView(header);
        h.turn();
    }
};

TEST(ActionableTableHeaderView, ButtonsStayAtTheVisibleTrailingEdge) {
    HeaderScene s;
    const CGSize option = s.header->optionButton->image()->size();
    const CGSize add = s.header->addItemButton->image()->size();
    const CGFloat midY = s.header->bounds().midY();
    struct Case {
        const char* what;
        std::function<void()> act;
        CGFloat offset;   // trailingScrollOffset
        bool optionShown; // and the add button is always shown
    };
    const Case cases[] = {
        {"scrolled to the left edge", [] {}, -200, true},
        {"scrolled half way",
         [&] {
             s.scroll->contentView()->scrollToPoint({120, 0});
         },
         -80, true},
        {"scrolled fully right",
         [&] {
             s.scroll->contentView()->scrollToPoint({200, 0});
         },
         0, true},
        {"option button removed, at the next layout",
         [&] {
             s.header->removeOptionButton();
             s.header->setNeedsLayout(true);
         },
         0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        s.h.turn(); // the clip view's change asks the header for layout
        EXPECT_EQ(s.header->trailingScrollOffset(), c.offset);
        const CGFloat edge = 400 + c.offset - 2; // 2 points in from the visible edge
        const CGRect o = s.header->optionButton->frame();
        const CGRect a = s.header->addItemButton->frame();
        if (c.optionShown) {
            EXPECT_EQ(o, (CGRect{edge - option.width, midY - option.height / 2, option.width,
                                 option.height}));
            EXPECT_EQ(a.maxX(), o.minX()); // touching, no gap
        } else {
            EXPECT_EQ(o.size, (CGSize{0, 0}));
            EXPECT_EQ(a.maxX(), edge); // the add button takes the trailing place
        }
        EXPECT_EQ(a.size, add);
        EXPECT_EQ(a.midY(), midY);
    }
    // Both gone: nothing visible, nothing else moves.
    s.header->removeAddButton();
    s.h.turn();
    s.header->setNeedsLayout(true);
    s.h.turn();
    EXPECT_EQ(s.header->addItemButton->frame().size, (CGSize{0, 0}));
    EXPECT_TRUE(s.h.images().empty());
}

TEST(ActionableTableHeaderView, EachButtonShowsItsArtAndItsPressedArtWhileHeld) {
    HeaderScene s;
    s.h.turn();
    struct Case {
        const char* what;
        std::shared_ptr<NSButton> button;
        const char *art, *pressed;
    };
    const Case cases[] = {
        {"add item", s.header->addItemButton, "properties-table-add", "properties-table-add-down"},
        {"options", s.header->optionButton, "properties-tableheader-overflow",
         "properties-tableheader-overflow-down"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.button->title(), "");
        const CGPoint middle = s.h.centre(*c.button);
        auto shows = [&](const char* name) {
            auto image = s.h.image(name);
            return image && image->rect == s.h.rectOf(*c.button);
        };
        EXPECT_TRUE(shows(c.art));
        s.h.press(middle);
        EXPECT_TRUE(shows(c.pressed)) << "held";
        EXPECT_FALSE(shows(c.art));
        s.h.release(middle);
        EXPECT_TRUE(shows(c.art)) << "let go";
    }
}

TEST(ActionableTableHeaderView, AnotherTablesClipViewDoesNotCancelAPendingLayout) {
    HeaderScene s;
    auto otherTable = make<StyledTableView>(CGRect{0, 0, 100, 50});
    auto otherScroll = make<NSScrollView>(CGRect{0, 0, 100, 50});
    otherScroll->setDocumentView(otherTable);
    otherScroll->contentView()->postsBoundsChangedNotifications = true;
    s.header->setNeedsLayout(true);
    otherScroll->contentView()->scrollToPoint({0, 10}); // nothing to scroll: posts nothing
    otherScroll->contentView()->setBoundsOrigin({5, 0});
    RunLoop::main().runUntilIdle(); // deliver, without laying out
    EXPECT_TRUE(s.header->needsLayout());
}

// Notes each action the table sends.
struct Target : NSObject {
    int sent = 0;
    void act(NSObject*) { ++sent; }
};

TEST(KeyboardActionTableView, ReturnAndEnterActOnRelease) {
    RunLoopTestScope scope;
    auto table = make<KeyboardActionTableView>(CGRect{0, 0, 200, 100});
    auto target = make<Target>();
    table->setTarget(target);
    auto h = ControlHarness::holding(table, {200, 100});
    h.focus(table);
    struct Case {
        const char* what;
        std::function<void()> act;
        int sent;
    };
    const Case cases[] = {
        {"no action set", [&] { h.key(NSEventSpecialKey::carriageReturn); }, 0},
        {"Return held down",
         [&] {
             table->keyboardAction = &Target::act;
             h.keyDown("\r");
         },
         0},
        {"Return released", [&] { h.keyUp("\r"); }, 1},
        {"keypad Enter", [&] { h.key(NSEventSpecialKey::enter); }, 2},
        {"another special key", [&] { h.key(NSEventSpecialKey::downArrow); }, 2},
        {"a letter", [&] { h.key("x"); }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(target->sent, c.sent);
    }
}

} // namespace
