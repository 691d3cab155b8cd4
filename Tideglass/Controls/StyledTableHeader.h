#pragma once
// StyledTableHeaderCell and StyledTableHeaderView: the table header cell that fills
// itself with a tint colour and draws its title and image itself, and the header view
// the actionable header builds on.
//
// Header cell drawing, for the cell frame f (the same for draw, highlight and
// colorfulDraw; the platform's drawing is never used):
//   1. the tint colour, when set, over all of f;
//   2. the attributed title in f inset by dx = 4 for the first column (f.minX < 5),
//      else 1, and dy = floor((f.height − (ascender − descender)) × 0.5) of the cell's
//      font (0 and 0 without one);
//   3. the image, when there is one, at its own size centred across the width at
//      x = f.minX + (f.width − w) / 2, y = (f.height − h) / 2 (f's own y not added),
//      over the title.
// The cell's control state: default, plus disabled while not enabled, plus highlighted
// while highlighted. Style read: none (the class style is a TableViewStyle). A header
// cell is made with its text and image; made from a text alone it ends the program.
// The header view's class style is a TableViewStyle made once that a client may
// replace for the whole process.
// Thread: main.

#include <memory>
#include <string>

#include "AppKit/NSTableParts.h"
#include "Styles/StyledControl.h"

class StyledTableHeaderCell
    : public StyledControl<StyledTableHeaderCell, TableViewStyle, NSTableHeaderCell> {
  public:
    // init(text:image:).
    static std::shared_ptr<StyledTableHeaderCell> withText(const std::string& text,
                                                           std::shared_ptr<NSImage> image);
    // init(textCell:): not available; ends the program.
    [[noreturn]] static std::shared_ptr<StyledTableHeaderCell> withTextCell(const std::string&);

    // The colour the whole cell is filled with; the control background colour at first.
    std::shared_ptr<NSColor> tintColor = NSColor::controlBackgroundColor();

    StyledControlState controlState() const override;
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    void highlight(bool flag, CGRect cellFrame, NSView& controlView) override;
    virtual void colorfulDraw(CGRect cellFrame, NSView& controlView, bool systemEffect);
    // A StyledTableHeaderCell with the same settings and the same tint colour.
    std::shared_ptr<NSTableHeaderCell> copy() const override;

  protected:
    StyledTableHeaderCell() = default;
};

class StyledTableHeaderView : public NSTableHeaderView {
  public:
    explicit StyledTableHeaderView(CGRect frame = {0, 0, 0, defaultHeight})
        : NSTableHeaderView(frame) {}

    // The class style, made on first use; a client may replace it for the process.
    static std::shared_ptr<TableViewStyle> style();
    static void setStyle(std::shared_ptr<TableViewStyle> style);
};
