#pragma once
// StyledTableView and StyledTableColumn: the library's table, which takes its
// background from the table style and keeps keyboard handling out of the way unless
// asked, and its column, which keeps the image every one of its header cells shows.
//
// Style members read (TableViewStyle, a new one on every read): backgroundColor (the
// row background). The table's control state: default, plus disabled while not
// enabled, plus highlighted while highlighted.
//   moving to a superview  the table's background becomes the style's, and the scroll
//                          view it moves into (scrollViewEnclosing) draws its
//                          background in that colour;
//   a click                makes an inactive window key first (makeKeyOnClick), then
//                          selects as any table;
//   disabled               the rows drawn at half strength (the library's disabled
//                          art fraction), the background as it is;
//   keys                   handled as any table only with allowKeyboardNavigation;
//                          otherwise passed to the superview (dropped without one);
//   setHeaderStyle         gives every visible column a new StyledTableHeaderCell with
//                          the old cell's title and image, tinted with the background
//                          colour, the title in the text colour and font;
//   allColumnIndexes       0 ..< the number of columns (hidden ones included).
// A StyledTableColumn puts its `image` into its header cell whenever the cell is read
// or set, so the column's image wins, also when it is none.
// Thread: main.

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "AppKit/NSTableView.h"
#include "Styles/StyledControl.h"

class NSScrollView;

// The scroll view that encloses a view moving into `newSuperview`: the new superview
// itself when it is one, else its enclosing scroll view; none when the view is being
// removed. (While a view is told it will move, its own superview is still the old one,
// so a table being made a scroll view's document would find no scroll view.)
std::shared_ptr<NSScrollView> scrollViewEnclosing(const std::shared_ptr<NSView>& newSuperview);

class StyledTableView : public StyledControl<StyledTableView, TableViewStyle, NSTableView> {
  public:
    static constexpr bool freshStyleEachRead = true;
    explicit StyledTableView(CGRect frame = {}) : StyledControl(frame) {}

    bool makeKeyOnClick = true;
    bool allowKeyboardNavigation = false;

    StyledControlState controlState() const override;
    void setHeaderStyle(const std::shared_ptr<NSColor>& textColor,
                        const std::shared_ptr<NSColor>& bgColor,
                        const std::shared_ptr<NSFont>& font);
    std::set<long> allColumnIndexes() const;

    // Also shows the state: a disabled table is drawn at half its opacity.
    void setEnabled(bool enabled) override;
    void viewWillMoveToSuperview(const std::shared_ptr<NSView>& newSuperview) override;
    void mouseDown(const NSEvent& event) override;
    void keyDown(const NSEvent& event) override;
};

class StyledTableColumn : public NSTableColumn {
  public:
    explicit StyledTableColumn(std::string identifier) : NSTableColumn(std::move(identifier)) {}

    // The image of every header cell of the column (applied when the cell is next read).
    std::shared_ptr<NSImage> image;
    // A free identifier for the client; the column never reads it.
    std::optional<std::string> idString;

    std::shared_ptr<NSTableHeaderCell> headerCell() const override;
    void setHeaderCell(std::shared_ptr<NSTableHeaderCell> cell) override;
};
