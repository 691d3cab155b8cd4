#pragma once
// StyledTableRowView and StyledTableCellView: the row view that draws the selection as
// an inset, rounded shape merging with selected neighbours, and the cell view whose
// text colour follows the selection. Both are Selectable: a row's selection is pushed
// down into its selectable subviews (the cell views) and theirs (two levels), when it
// changes and when a subview is added.
//
// Selection drawing (a row in a table, with a highlight style other than none; else the
// platform's): r = the row's bounds inset by selectionHorizontalInset (8) left and
// right, filled in the style's row background for the row's state (the selected row
// colour while selected) and clipped to the dirty rectangle, so a partial redraw draws
// the part of the same shape. Its corners (radius 3): square where the row above or
// below is selected too, rounded where it is not — a plain rectangle between two
// selected rows, rounded bottom under a selected row, rounded top over one, rounded all
// round alone. "Top" is the smaller y, the upper edge in the flipped table.
// The row's style: a new TableViewStyle on every read; its state: default, plus
// selected while selected. The cell view's style: one shared TableViewStyle; its state:
// default, plus selected while selected; its text colour: the style's for the state.
// Thread: main.

#include <memory>
#include <string>

#include "AppKit/NSButton.h"
#include "AppKit/NSTableParts.h"
#include "AppKitSupport/Geometry.h"
#include "Styles/StyledControl.h"

// The corners of a selected row's shape: square (0) on the side of a selected
// neighbour, `radius` elsewhere — top corners by the row above, bottom by the row below.
CornerRadii selectionCornerRadii(bool aboveSelected, bool belowSelected, CGFloat radius);

class StyledTableRowView : public StyledControl<StyledTableRowView, TableViewStyle, NSTableRowView>,
                           public Selectable {
  public:
    static constexpr bool freshStyleEachRead = true;
    explicit StyledTableRowView(CGRect frame = {}) : StyledControl(frame) {}

    // The identifier a table knows these row views by (one for the process).
    static std::string userInterfaceIdentifier();
    static void setUserInterfaceIdentifier(std::string identifier);
    // The row's style.
    static std::shared_ptr<TableViewStyle> rowStyle() { return classStyle(); }

    CGFloat selectionHorizontalInset = 8;
    static constexpr CGFloat selectionCornerRadius = 3;

    StyledControlState controlState() const override;
    // The corners of the row's selection shape, by its table's selection of the rows
    // above and below (selectionCornerRadii with the row's radius); all rounded outside
    // a table.
    CornerRadii selectionCorners() const;
    bool isSelected() const override { return NSTableRowView::isSelected(); }
    // The platform's setter, then redisplay and the selection pushed down.
    void setSelected(bool selected) override;
    void didAddSubview(NSView& subview) override;
    void drawSelection(CGRect dirtyRect) override;
};

class StyledTableCellView
    : public StyledControl<StyledTableCellView, TableViewStyle, NSTableCellView>,
      public Selectable {
  public:
    explicit StyledTableCellView(CGRect frame = {}) : StyledControl(frame) {}

    StyledControlState controlState() const override;
    bool isSelected() const override { return selected; }
    // Stores the flag, recolours the text field, pushes the flag into the subviews.
    void setSelected(bool selected) override;
    // Stores the value, then clears the text (prepareForReuse) and the intrinsic size.
    void setObjectValue(std::any value) override;
    // Empties the text field and gives it the state's text colour.
    void prepareForReuse() override;
    // The text field's place plus its own width (no intrinsic height).
    CGSize intrinsicContentSize() const override;
    // The row's disclosure button: the first button tagged 1000 among the superview's
    // subviews (what the styled outline view marks its disclosure buttons with).
    std::shared_ptr<NSButton> disclosureButton() const;

  private:
    bool selected = false;
};
