#pragma once
// Stands in for the parts of a view-based table (NSTableView.h): its columns, the
// header view and header cells that title them, the row views that carry a row's cell
// views and draw its background and selection, and the cell views (NSTableCellView)
// with their text field and object value.
//
// Header cells draw a filled background, their title (the attributed string value)
// centred vertically 4 points in, and a separator line on their trailing edge; the
// header view draws each visible column's header cell in that column's header rect.
// Row views draw their background colour (when set) and, while selected with a
// highlight style other than none, the selection: the selected-content colour over the
// bounds (within the dirty rectangle).
// Left out: sorting, column resizing and moving by the mouse, tool tips, the cell
// views' background style.
// Thread: main thread.

#include <any>
#include <memory>
#include <string>

#include "AppKit/NSImageView.h"
#include "AppKit/NSTextField.h"

class NSTableView;

// How a table shows selected rows (the platform's raw values).
enum class NSTableViewSelectionHighlightStyle : int { none = -1, regular = 0, sourceList = 1 };

class NSTableHeaderCell : public NSTextFieldCell {
  public:
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    // Draws the cell highlighted or not (here: as drawWithFrame).
    virtual void highlight(bool flag, CGRect cellFrame, NSView& controlView);
    // A copy: a new cell of the same settings.
    virtual std::shared_ptr<NSTableHeaderCell> copy() const;

  protected:
    NSTableHeaderCell() = default;
    // Copies this cell's settings into `into` (for copy in subclasses).
    void copySettings(NSTableHeaderCell& into) const;
};

class NSTableColumn : public NSObject {
  public:
    explicit NSTableColumn(std::string identifier);

    const std::string& identifier() const { return id; }
    CGFloat width() const { return width_; }
    void setWidth(CGFloat width);
    bool isHidden() const { return hidden; }
    void setHidden(bool hidden);
    // The header cell's text.
    std::string title() const;
    void setTitle(const std::string& title);
    virtual std::shared_ptr<NSTableHeaderCell> headerCell() const { return header; }
    virtual void setHeaderCell(std::shared_ptr<NSTableHeaderCell> cell);
    std::shared_ptr<NSTableView> tableView() const { return table.lock(); }

  protected:
    void didInit() override;

  private:
    friend class NSTableView;
    std::string id;
    CGFloat width_ = 100;
    bool hidden = false;
    std::shared_ptr<NSTableHeaderCell> header;
    std::weak_ptr<NSTableView> table;
};

class NSTableHeaderView : public NSView {
  public:
    static constexpr CGFloat defaultHeight = 23;
    explicit NSTableHeaderView(CGRect frame = {0, 0, 0, defaultHeight}) : NSView(frame) {}

    bool isFlipped() const override { return true; }
    virtual std::shared_ptr<NSTableView> tableView() const { return table.lock(); }
    virtual void setTableView(std::shared_ptr<NSTableView> tableView);
    // Column `column`'s part of the header (the full height), in the header's bounds.
    CGRect headerRectOfColumn(long column) const;
    long columnAtPoint(CGPoint point) const;
    void drawRect(CGRect dirtyRect) override;

  private:
    std::weak_ptr<NSTableView> table;
};

class NSTableRowView : public NSView {
  public:
    explicit NSTableRowView(CGRect frame = {}) : NSView(frame) {}

    bool isFlipped() const override { return true; }
    virtual bool isSelected() const { return selected; }
    virtual void setSelected(bool selected);
    NSTableViewSelectionHighlightStyle selectionHighlightStyle =
        NSTableViewSelectionHighlightStyle::regular;
    bool isGroupRowStyle = false;
    // Filled behind the row when set.
    std::shared_ptr<NSColor> backgroundColor;

    virtual void drawBackground(CGRect dirtyRect);
    virtual void drawSelection(CGRect dirtyRect);
    void drawRect(CGRect dirtyRect) override;

  private:
    bool selected = false;
};

class NSTableCellView : public NSView {
  public:
    explicit NSTableCellView(CGRect frame = {}) : NSView(frame) {}

    std::shared_ptr<NSTextField> textField;
    std::shared_ptr<NSImageView> imageView;
    // What the cell shows, as the table's data source gave it.
    virtual std::any objectValue() const { return value; }
    virtual void setObjectValue(std::any value) { this->value = std::move(value); }
    // Called before the table hands the view out again (makeView).
    virtual void prepareForReuse() {}

  private:
    std::any value;
};
