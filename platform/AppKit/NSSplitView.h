#pragma once
// Stands in for NSSplitView: a flipped view that lays its subviews out in a row
// (vertical dividers, isVertical true) or a column (horizontal dividers), with a
// divider of dividerThickness() between each two, drawn by drawDivider in the
// divider colour.
//
// Layout (adjustSubviews, run by layout): along the axis every subview but the last
// keeps its length; the last takes what is left (at least 0); dividers follow each
// subview but the last; across the axis every subview fills the bounds.
//
// Left out: dragging the dividers, delegates and constraints on positions, holding
// priorities, collapsing, autosaving, arranged subviews that differ from subviews.
// Thread: main thread.

#include <memory>

#include "AppKit/NSColor.h"
#include "AppKit/NSView.h"

class NSSplitView : public NSView {
  public:
    explicit NSSplitView(CGRect frame = {}) : NSView(frame) {}

    bool isFlipped() const override { return true; }
    // Subviews side by side (true) or stacked top to bottom (false).
    bool isVertical() const { return vertical; }
    void setVertical(bool v);

    // The separator colour and one point, unless a subclass says otherwise.
    virtual std::shared_ptr<NSColor> dividerColor() const { return NSColor::separatorColor(); }
    virtual CGFloat dividerThickness() const { return 1; }
    // Fills `rect` (a divider, in the view's coordinates) with the divider colour.
    virtual void drawDivider(CGRect rect);

    // Lays the subviews out as the header says.
    void adjustSubviews();
    // The rectangle of the divider after subview `index` (none past the second-last).
    CGRect dividerRect(size_t index) const;

    void layout() override;
    void drawRect(CGRect dirtyRect) override;
    void frameSizeDidChange(CGSize oldSize) override { setNeedsLayout(true); }

  private:
    bool vertical = false;
};
