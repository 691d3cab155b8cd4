#include "AppKitSupport/OutlineViewExtensions.h"

#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

namespace {

struct Node : NSObject {
    std::vector<std::shared_ptr<NSObject>> children;
};

// Top level: a (with children a0, a1) and b.
struct Tree : NSOutlineViewDataSource {
    std::shared_ptr<Node> a = make<Node>(), a0 = make<Node>(), a1 = make<Node>(), b = make<Node>();
    Tree() { a->children = {a0, a1}; }
    long numberOfChildrenOfItem(NSOutlineView&, const Item& item) override {
        return item ? long(std::static_pointer_cast<Node>(item)->children.size()) : 2;
    }
    Item child(NSOutlineView&, long i, const Item& of) override {
        if (of)
            return std::static_pointer_cast<Node>(of)->children[size_t(i)];
        return i == 0 ? Item(a) : Item(b);
    }
    bool isItemExpandable(NSOutlineView&, const Item& item) override {
        return !std::static_pointer_cast<Node>(item)->children.empty();
    }
};

struct Outline : ::testing::Test {
    std::shared_ptr<Tree> tree = std::make_shared<Tree>();
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 100, 100});
    std::shared_ptr<NSOutlineView> view = make<NSOutlineView>(CGRect{0, 0, 100, 100});
    void SetUp() override {
        window->contentView()->addSubview(view);
        view->dataSource = tree;
        view->reloadData();
        view->expandItem(tree->a); // rows: a, a0, a1, b
    }
    void rightClickRow(long row) {
        CGPoint p{10, 100 - (row + 0.5) * view->rowHeight};
        window->sendEvent(NSEvent::mouse(NSEvent::Type::rightMouseDown, p));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::rightMouseUp, p));
    }
};

TEST_F(Outline, RowsItemsAndIndexPaths) {
    EXPECT_EQ(allRows(*view), (std::vector<long>{0, 1, 2, 3}));
    EXPECT_EQ(allItems(*view).size(), 4u);
    EXPECT_EQ(allItems(*view)[3], tree->b);
    EXPECT_EQ(indexPath(*view, tree->a1), (std::vector<long>{0, 1}));
    EXPECT_EQ(indexPath(*view, tree->b), (std::vector<long>{1}));
    EXPECT_FALSE(isItemCollapsed(*view, tree->a));
    EXPECT_TRUE(isItemCollapsed(*view, tree->b));
    auto empty = make<NSOutlineView>(CGRect{});
    EXPECT_TRUE(allRows(*empty).empty());
}

TEST_F(Outline, SelectedItemsFollowTheSelectionOfShownItems) {
    EXPECT_EQ(selectedItem(*view), nullptr);
    setSelectedItems(*view, {tree->b, tree->a0});
    EXPECT_EQ(selectedItems(*view), (std::vector<OutlineItem>{tree->a0, tree->b})); // row order
    EXPECT_EQ(selectedItem(*view), nullptr);                                        // two rows
    view->collapseItem(tree->a);
    setSelectedItems(*view, {tree->a1, tree->b}); // a1 is not shown
    EXPECT_EQ(selectedItems(*view), (std::vector<OutlineItem>{tree->b}));
    EXPECT_EQ(selectedItem(*view), tree->b);
    // The first row counts as shown, and a new selection replaces the old one.
    setSelectedItems(*view, {tree->a});
    EXPECT_EQ(selectedItems(*view), (std::vector<OutlineItem>{tree->a}));
    EXPECT_EQ(selectedItem(*view), tree->a);
}

TEST_F(Outline, ClickedItemsAreTheSelectionOnlyWhenTheClickIsInIt) {
    EXPECT_EQ(clickedItem(*view), nullptr);
    EXPECT_TRUE(clickedItems(*view).empty());
    setSelectedItems(*view, {tree->a0, tree->a1});
    rightClickRow(3); // b, not selected
    EXPECT_EQ(clickedItems(*view), (std::vector<OutlineItem>{tree->b}));
    rightClickRow(2); // a1, selected
    EXPECT_EQ(clickedItems(*view), (std::vector<OutlineItem>{tree->a0, tree->a1}));
    EXPECT_EQ(clickedItem(*view), tree->a1);
}

} // namespace
