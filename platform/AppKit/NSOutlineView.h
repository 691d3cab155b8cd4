#pragma once
// Stands in for NSOutlineView: a table whose rows show a tree of items that a data
// source hands out — the top-level items, and the children of each expanded item
// right below it. Rows are rowHeight points high from the top (the view is flipped);
// a mouse-down selects the row under it, and either button's click records the
// clicked row. Items are shared objects compared by identity.
// Left out: columns and cells, drawing, drag and drop, editing, animations, the
// delegate. Thread: main thread.

#include <memory>
#include <set>
#include <vector>

#include "AppKit/NSTableView.h"

class NSOutlineView;

class NSOutlineViewDataSource {
  public:
    using Item = std::shared_ptr<NSObject>;
    virtual ~NSOutlineViewDataSource() = default;
    // `item` is null for the top level.
    virtual long numberOfChildrenOfItem(NSOutlineView& view, const Item& item) = 0;
    virtual Item child(NSOutlineView& view, long index, const Item& ofItem) = 0;
    virtual bool isItemExpandable(NSOutlineView& view, const Item& item) = 0;
};

class NSOutlineView : public NSTableView {
  public:
    using Item = NSOutlineViewDataSource::Item;
    explicit NSOutlineView(CGRect frame = {}) : NSTableView(frame) {}

    std::weak_ptr<NSOutlineViewDataSource> dataSource;
    CGFloat rowHeight = 17;
    bool isFlipped() const override { return true; }

    // Asks the data source again (expanded items that are still there stay expanded).
    void reloadData();
    void expandItem(const Item& item);
    void collapseItem(const Item& item);
    bool isItemExpanded(const Item& item) const;

    long numberOfRows() const { return long(rows.size()); }
    // Null outside the rows.
    Item itemAtRow(long row) const;
    // -1 when the item is not shown.
    long rowForItem(const Item& item) const;
    // Null for a top-level item or one not shown.
    Item parentForItem(const Item& item) const;
    // The item's index among its parent's children; -1 when not shown.
    long childIndexForItem(const Item& item) const;

    const std::set<long>& selectedRowIndexes() const { return selection; }
    // The last row selected, -1 when none is.
    long selectedRow() const { return selection.empty() ? -1 : lastSelected; }
    long numberOfSelectedRows() const { return long(selection.size()); }
    void selectRowIndexes(const std::set<long>& rows, bool byExtendingSelection);
    void deselectAll() { selection.clear(); }

    // The row of the last click, -1 when none.
    long clickedRow() const { return clicked; }
    long rowAtPoint(CGPoint point) const;
    void mouseDown(const NSEvent& event) override;
    void rightMouseDown(const NSEvent& event) override;

  private:
    struct Row {
        Item item;
        Item parent;
        long childIndex;
    };
    void addChildren(const Item& parent);
    std::vector<Row> rows;
    std::vector<Item> expanded;
    std::set<long> selection;
    long lastSelected = -1;
    long clicked = -1;
};
