#pragma once
// Stands in for NSTableView, view based: rows of cell views in columns, made by the
// delegate, over row views, with a header view titling the columns, selection by
// click and arrow keys, and a background.
//
// Rows are rowHeight points high from the top (the table is flipped). reloadData asks
// the data source for the number of rows and makes every row (this stand-in keeps all
// rows, not only the visible ones): a row view (the delegate's, else a plain one) at
// the row's rect, and in it a cell view for each visible column (the delegate's
// viewForTableColumn, given the object value of the data source when it has one) at
// the column's place — or, for a group row, one view (column none) across the row.
// Reloading gives the cell views with an identifier back to makeView, which hands them
// out again (after prepareForReuse) before making new ones from a registered factory.
// In a scroll view the table is as wide as its visible columns (at least the clip) and
// as high as its rows (at least the clip); elsewhere it keeps its frame.
//
// Selection: a click selects the row under it (Command toggles, Shift extends, with
// multiple selection), a click outside the rows clears it (when empty selection is
// allowed); Up and Down move it. Row views show whether their row is selected. A click
// records the clicked row and column (a right click too, selecting nothing), makes the
// table first responder and sends the action (a double click: the double action).
// The delegate is told after every change of the selection.
// Left out: cell-based tables, editing in place, sorting, column resizing and dragging,
// drag and drop, type-select, animations, variable row heights.
// Thread: main thread; the entry points check it.

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AppKit/NSControl.h"
#include "AppKit/NSTableParts.h"

class NSTableViewDataSource {
  public:
    virtual ~NSTableViewDataSource() = default;
    virtual long numberOfRowsInTableView(NSTableView&) { return 0; }
    // The object value of a cell view; an empty value sets none.
    virtual std::any objectValueForTableColumn(NSTableView&, NSTableColumn*, long row) {
        return {};
    }
};

class NSTableViewDelegate {
  public:
    virtual ~NSTableViewDelegate() = default;
    // The cell view of a row's column (column null: a group row's single view).
    virtual std::shared_ptr<NSView> viewForTableColumn(NSTableView&, NSTableColumn*, long row) {
        return nullptr;
    }
    virtual std::shared_ptr<NSTableRowView> rowViewForRow(NSTableView&, long row) {
        return nullptr;
    }
    virtual bool isGroupRow(NSTableView&, long row) { return false; }
    virtual bool shouldSelectRow(NSTableView&, long row) { return true; }
    virtual void tableViewSelectionDidChange(const Notification&) {}
};

class NSTableView : public NSControl {
  public:
    static constexpr const char* selectionDidChangeNotification =
        "NSTableViewSelectionDidChangeNotification";

    explicit NSTableView(CGRect frame = {}) : NSControl(frame) {}

    bool isFlipped() const override { return true; }
    bool acceptsFirstResponder() const override { return true; }

    // Weak, as the platform's: told when they are an NSTableViewDataSource /
    // NSTableViewDelegate.
    std::weak_ptr<NSObject> dataSource;
    std::weak_ptr<NSObject> delegate;

    // Columns, hidden ones included, in order.
    const std::vector<std::shared_ptr<NSTableColumn>>& tableColumns() const { return columns; }
    void addTableColumn(std::shared_ptr<NSTableColumn> column);
    void removeTableColumn(const std::shared_ptr<NSTableColumn>& column);
    long columnWithIdentifier(const std::string& identifier) const;

    std::shared_ptr<NSTableHeaderView> headerView() const { return header; }
    // Also tells the header which table it titles.
    virtual void setHeaderView(std::shared_ptr<NSTableHeaderView> header);

    CGFloat rowHeight = 17;
    std::shared_ptr<NSColor> backgroundColor = NSColor::controlBackgroundColor();
    NSTableViewSelectionHighlightStyle selectionHighlightStyle() const { return highlightStyle; }
    void setSelectionHighlightStyle(NSTableViewSelectionHighlightStyle style);
    bool allowsMultipleSelection = false;
    bool allowsEmptySelection = true;
    NSAction doubleAction;

    virtual long numberOfRows() const { return rowCount; }
    // Asks the data source again and makes every row anew.
    virtual void reloadData();
    // Sizes the table (in a scroll view), its header and its rows to the columns.
    void tile();

    // Geometry in the table's coordinates.
    CGRect rectOfRow(long row) const;
    CGRect rectOfColumn(long column) const;
    // -1 outside the rows / columns.
    long rowAtPoint(CGPoint point) const;
    long columnAtPoint(CGPoint point) const;
    // The row of a row view of the table or of a view inside one; -1 otherwise.
    long rowForView(const NSView& view) const;
    // The row view of a row, and a cell view (none outside the rows).
    std::shared_ptr<NSTableRowView> rowViewAtRow(long row, bool makeIfNecessary = true) const;
    std::shared_ptr<NSView> viewAtColumn(long column, long row, bool makeIfNecessary = true) const;

    // A view for the identifier: one given back by a reload, else a new one from the
    // factory registered for it; none otherwise.
    virtual std::shared_ptr<NSView> makeViewWithIdentifier(const std::string& identifier,
                                                           const std::shared_ptr<NSObject>& owner);
    void registerViewFactory(const std::string& identifier,
                             std::function<std::shared_ptr<NSView>()> factory);

    const std::set<long>& selectedRowIndexes() const { return selection; }
    // The last row selected, -1 when none is.
    long selectedRow() const { return selection.empty() ? -1 : lastSelected; }
    long numberOfSelectedRows() const { return long(selection.size()); }
    bool isRowSelected(long row) const { return selection.count(row) > 0; }
    // Rows outside the table are left out.
    void selectRowIndexes(const std::set<long>& rows, bool byExtendingSelection);
    void deselectAll(NSObject* sender = nullptr) { selectRowIndexes({}, false); }

    // The row and column of the last click, -1 when none.
    long clickedRow() const { return clicked; }
    long clickedColumn() const { return clickedCol; }

    void layout() override;
    void drawRect(CGRect dirtyRect) override;
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override {}
    void mouseUp(const NSEvent& event) override {}
    void rightMouseDown(const NSEvent& event) override;
    void keyDown(const NSEvent& event) override;

  protected:
    void didInit() override;
    // What the rows are made of; an outline view answers from its tree.
    virtual long countRows();
    virtual std::shared_ptr<NSView> cellView(NSTableColumn* column, long row);
    virtual std::shared_ptr<NSTableRowView> makeRowView(long row);
    virtual bool isGroupRow(long row);
    virtual std::any objectValue(NSTableColumn* column, long row);
    // The place of a cell view in its row view (an outline indents its column).
    virtual CGRect cellFrame(long column, long row) const;
    // A row is made: an outline adds its disclosure button.
    virtual void didMakeRow(NSTableRowView& rowView, long row) {}
    // Selects `rows` and tells the delegate when the selection changed.
    void changeSelection(std::set<long> rows, long last);

  private:
    void makeRows();
    std::vector<std::shared_ptr<NSTableColumn>> columns;
    std::shared_ptr<NSTableHeaderView> header;
    std::vector<std::shared_ptr<NSTableRowView>> rows;
    // Each row's cell views with their columns.
    std::vector<std::vector<std::pair<long, std::weak_ptr<NSView>>>> cells;
    long rowCount = 0;
    std::set<long> selection;
    long lastSelected = -1;
    long clicked = -1;
    long clickedCol = -1;
    NSTableViewSelectionHighlightStyle highlightStyle = NSTableViewSelectionHighlightStyle::regular;
    std::map<std::string, std::vector<std::shared_ptr<NSView>>> reusable;
    std::map<std::string, std::function<std::shared_ptr<NSView>()>> factories;
};
