#pragma once
// Stands in for NSOutlineView: a table (NSTableView.h) whose rows show a tree of
// items that a data source hands out — the top-level items, and the children of each
// expanded item right below it. Items are shared objects compared by identity. The
// delegate (an NSOutlineViewDelegate) makes the views by item instead of by row.
//
// The outline column (the first column unless set) is indented by
// indentationPerLevel for each level below the top; an expandable item's row has a
// disclosure button in front of its cell, in the outline cell's frame
// (frameOfOutlineCellAtRow: one indentation wide, at the item's level): the view that
// makeViewWithIdentifier gives for disclosureButtonIdentifier (a plain on/off button
// unless a subclass says otherwise), on while the item is expanded; clicking it
// expands or collapses the item. Expanding and collapsing keep the selected items
// selected.
// Left out: drag and drop, animations (there are none), autosaving expanded items.
// Thread: main thread.

#include <any>
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
    // A cell view's object value; an empty value sets none.
    virtual std::any objectValueForItem(NSOutlineView&, NSTableColumn*, const Item&) { return {}; }
};

class NSOutlineViewDelegate {
  public:
    using Item = std::shared_ptr<NSObject>;
    virtual ~NSOutlineViewDelegate() = default;
    virtual std::shared_ptr<NSView> viewForTableColumn(NSOutlineView&, NSTableColumn*,
                                                       const Item&) {
        return nullptr;
    }
    virtual std::shared_ptr<NSTableRowView> rowViewForItem(NSOutlineView&, const Item&) {
        return nullptr;
    }
    virtual bool isGroupItem(NSOutlineView&, const Item&) { return false; }
};

class NSOutlineView : public NSTableView {
  public:
    using Item = NSOutlineViewDataSource::Item;
    // The identifier of the disclosure buttons' views (the platform's value).
    static constexpr const char* disclosureButtonIdentifier = "NSOutlineViewDisclosureButtonKey";

    explicit NSOutlineView(CGRect frame = {}) : NSTableView(frame) {}

    std::weak_ptr<NSOutlineViewDataSource> dataSource;
    CGFloat indentationPerLevel = 16;
    // The indented column: the one set, else the first.
    std::shared_ptr<NSTableColumn> outlineTableColumn() const;
    void setOutlineTableColumn(std::shared_ptr<NSTableColumn> column) { outlineColumn = column; }

    // Asks the data source again (expanded items that are still there stay expanded).
    void reloadData() override;
    // Expands a collapsed, expandable item (and, asked to, its descendants).
    void expandItem(const Item& item, bool expandChildren = false);
    void collapseItem(const Item& item, bool collapseChildren = false);
    bool isItemExpanded(const Item& item) const;
    bool isExpandable(const Item& item);

    long numberOfRows() const override { return long(rows.size()); }
    // Null outside the rows.
    Item itemAtRow(long row) const;
    // -1 when the item is not shown.
    long rowForItem(const Item& item) const;
    // Null for a top-level item or one not shown.
    Item parentForItem(const Item& item) const;
    // The item's index among its parent's children; -1 when not shown.
    long childIndexForItem(const Item& item) const;
    // 0 for the top level; -1 when not shown.
    long levelForRow(long row) const;
    long levelForItem(const Item& item) const { return levelForRow(rowForItem(item)); }

    // Where the disclosure button of a row goes, in the outline's coordinates; empty for
    // a row whose item does not expand.
    virtual CGRect frameOfOutlineCellAtRow(long row) const;

    // The action of the disclosure buttons: expands or collapses the sender's item.
    void disclosureButtonClicked(NSObject* sender);

  protected:
    void didInit() override;
    long countRows() override { return long(rows.size()); }
    std::shared_ptr<NSView> cellView(NSTableColumn* column, long row) override;
    std::shared_ptr<NSTableRowView> makeRowView(long row) override;
    bool isGroupRow(long row) override;
    std::any objectValue(NSTableColumn* column, long row) override;
    CGRect cellFrame(long column, long row) const override;
    void didMakeRow(NSTableRowView& rowView, long row) override;

  private:
    struct Row {
        Item item;
        Item parent;
        long childIndex;
        long level;
    };
    void addChildren(const Item& parent, long level);
    // Rebuilds the rows from the tree, keeping the selected items selected.
    void rebuild();
    std::vector<Row> rows;
    std::vector<Item> expanded;
    std::weak_ptr<NSTableColumn> outlineColumn;
};
