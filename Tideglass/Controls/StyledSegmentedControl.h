#pragma once
// StyledSegmentedControl and StyledSegmentedCell: the library's tab-like segmented
// control. The cell draws every segment from the segmented style's state artwork with
// its label centred on it, can hide the selection, sizes labelled segments from their
// labels, and draws a focus ring of its own around the segment with keyboard focus.
//
// Style members read (SegmentedCellStyle, the cell's class style): segmentPadding,
// segmentMargin, font, textColor(forState:), bezelImage(forState:),
// focusRingColor(forState:) and interiorBackgroundStyle.
//
// A segment's state: default, plus disabled when the cell is not enabled, plus
// highlighted while it is pressed (its highlight state is 2, 3 or 5), plus selected
// when it is the selected segment and the selection is not hidden.
// Thread: main.

#include <map>

#include "AppKit/NSSegmentedControl.h"
#include "Styles/StyledControl.h"

class StyledSegmentedCell
    : public StyledControl<StyledSegmentedCell, SegmentedCellStyle, NSSegmentedCell> {
  public:
    // When true (the default) no segment is ever drawn selected.
    bool hideSelection = true;

    StyledControlState segmentState(int segment) const;

    // The artwork rectangle of a segment in frame F, for the segment's state art of
    // height h (0 without art) and the style's margin m: (F.minX + m.left, F.minY +
    // m.bottom, F.width − m.left − m.right, h − m.top − m.bottom) made integral, then
    // its y = round(F.midY − height / 2) (halves away from zero), integral again.
    CGRect segmentRect(int segment, CGRect frame) const;

    // The system ring is never drawn: the mask draws nothing. Its bounds are the key
    // segment's rectangle in the frame it was last drawn in (the frame argument is not
    // used), zero until that segment has been drawn.
    void drawFocusRingMask(CGRect frame, NSView& controlView) {}
    CGRect focusRingMaskBounds(CGRect frame, NSView& controlView) const;
    // The frames segments were last drawn in, by index; never cleared.
    const std::map<int, CGRect>& cachedSegmentFrames() const { return frames; }

    NSBackgroundStyle interiorBackgroundStyle() const override;
    NSBackgroundStyle interiorBackgroundStyle(int) const override {
        return interiorBackgroundStyle();
    }

    // A labelled segment (with a font) takes its label's width in the font plus the
    // style's left and right segment padding, whatever width is asked for.
    void setWidth(CGFloat width, int segment) override;

    // Only the interior: no system bezel.
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override {
        drawInteriorWithFrame(cellFrame, controlView);
    }
    // Remembers the frame, draws the state art upright (also in a flipped view) into
    // the segment rectangle, the ring when the segment has keyboard focus, and the
    // label centred in the segment rectangle.
    void drawSegment(int segment, CGRect frame, NSView& controlView) override;

  private:
    void drawFocusRing(CGRect segmentRect, NSView& controlView) const;
    std::map<int, CGRect> frames;
};

class StyledSegmentedControl : public NSSegmentedControl {
  public:
    using NSSegmentedControl::NSSegmentedControl;

    // Kept in a styled cell: false with a cell of another kind, where writes are
    // ignored; every write redraws.
    bool hideSelection() const;
    void setHideSelection(bool hide);

    // The inherited size, grown to the art of the cell's whole-cell state.
    CGSize intrinsicContentSize() const override;

  protected:
    std::shared_ptr<NSCell> makeCell() override { return make<StyledSegmentedCell>(); }
};
