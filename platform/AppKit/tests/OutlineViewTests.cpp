#include "AppKit/NSOutlineView.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Node : NSObject {
    std::string name;
    std::vector<std::shared_ptr<NSObject>> children;
};

// A tree of named nodes: A (A1, A2), B.
struct Tree : NSOutlineViewDataSource {
    std::vector<std::shared_ptr<NSObject>> top;
    std::map<std::string, std::shared_ptr<Node>> byName;
    Tree() {
        for (auto name : {"A", "A1", "A2", "B"}) {
            auto n = make<Node>();
            n->name = name;
            byName[name] = n;
        }
        byName["A"]->children = {byName["A1"], byName["A2"]};
        top = {byName["A"], byName["B"]};
    }
    long numberOfChildrenOfItem(NSOutlineView&, const Item& item) override {
        return long(item ? std::static_pointer_cast<Node>(item)->children.size() : top.size());
    }
    Item child(NSOutlineView&, long i, const Item& of) override {
        return of ? std::static_pointer_cast<Node>(of)->children[size_t(i)] : top[size_t(i)];
    }
    bool isItemExpandable(NSOutlineView&, const Item& item) override {
        return !std::static_pointer_cast<Node>(item)->children.empty();
    }
};

std::string names(const NSOutlineView& view) {
    std::string s;
    for (long r = 0; r < view.numberOfRows(); ++r)
        s += (r ? " " : "") + std::static_pointer_cast<Node>(view.itemAtRow(r))->name;
    return s;
}

TEST(OutlineViewTest, ExpandedItemsShowTheirChildrenBelowThem) {
    auto tree = std::make_shared<Tree>();
    auto view = make<NSOutlineView>(CGRect{0, 0, 100, 200});
    view->dataSource = tree;
    view->reloadData();
    EXPECT_EQ(names(*view), "A B");
    view->expandItem(tree->byName["A"]);
    EXPECT_EQ(names(*view), "A A1 A2 B");
    EXPECT_EQ(view->parentForItem(tree->byName["A2"]), tree->byName["A"]);
    EXPECT_EQ(view->parentForItem(tree->byName["B"]), nullptr);
    EXPECT_EQ(view->childIndexForItem(tree->byName["A2"]), 1);
    EXPECT_EQ(view->rowForItem(tree->byName["B"]), 3);
    EXPECT_EQ(view->itemAtRow(4), nullptr);
    view->collapseItem(tree->byName["A"]);
    EXPECT_EQ(view->rowForItem(tree->byName["A1"]), -1);
    EXPECT_EQ(view->childIndexForItem(tree->byName["A1"]), -1);
}

TEST(OutlineViewTest, ClicksSelectAndRecordTheClickedRow) {
    auto tree = std::make_shared<Tree>();
    auto window = make<NSWindow>(CGRect{0, 0, 100, 200});
    auto view = make<NSOutlineView>(CGRect{0, 0, 100, 200});
    window->contentView()->addSubview(view);
    view->dataSource = tree;
    view->reloadData();
    EXPECT_EQ(view->selectedRow(), -1);
    EXPECT_EQ(view->clickedRow(), -1);
    // Window coordinates are y-up; row 1 (B) lies 17–34 points from the top.
    window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, {10, 200 - 20}));
    window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, {10, 200 - 20}));
    EXPECT_EQ(view->selectedRow(), 1);
    EXPECT_EQ(view->clickedRow(), 1);
    window->sendEvent(NSEvent::mouse(NSEvent::Type::rightMouseDown, {10, 200 - 5}));
    window->sendEvent(NSEvent::mouse(NSEvent::Type::rightMouseUp, {10, 200 - 5}));
    EXPECT_EQ(view->clickedRow(), 0);
    EXPECT_EQ(view->selectedRowIndexes(), (std::set<long>{1})); // a right click selects nothing
    view->selectRowIndexes({0}, true);
    EXPECT_EQ(view->numberOfSelectedRows(), 2);
    view->selectRowIndexes({0, 9}, false);
    EXPECT_EQ(view->selectedRowIndexes(), (std::set<long>{0}));
}

} // namespace
