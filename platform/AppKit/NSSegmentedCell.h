#pragma once
// Stands in for NSSegmentedCell and NSSegmentedControl: a row of segments side by side,
// each with a label, a width and an enabled flag, of which one may be selected. The
// cell holds the segments and draws them; the control forwards to it and tracks the
// mouse and the keyboard.
//
// Layout, in the control's coordinates: segment i's frame is (x_i, F.minY, w_i,
// F.height) within the cell frame F, with x_0 = F.minX and x_{i+1} = x_i + w_i. A
// segment's width is the one set with setWidth, or, while that is 0 (the default), its
// label's width in the cell's font plus 16 points (at least 16).
//
// Pressing: while the mouse is held down on an enabled segment of an enabled control,
// the segment under the pointer is the pressed one (none while the pointer is outside
// every segment); the release selects the segment it lands on and sends the action.
// With keyboard focus the control keeps a key segment (the selected one when focus
// arrives, else 0): Left and Right move it, Space selects it and sends the action.
// The platform keeps the pressed and key segments to itself; here they are public:
// segmentHighlightState(i) is 2 for the pressed segment and 1 for any other segment
// (0 outside 0…count − 1), keySegment() is the key segment (−1 without segments).
//
// Keyboard focus: by Tab or in code, never by a click.
// The plain drawing: each segment's frame stroked in the control-text colour and its
// label centred in it, in the cell's font (the disabled colour when not enabled).
// Intrinsic size: the sum of the widths by the height of the control size (24 points
// regular, 20 small, 16 mini).
// Left out: segment images, menus, tool tips, tracking modes other than select-one,
// segment styles, tags. Thread: main thread.

#include <optional>
#include <string>
#include <vector>

#include "AppKit/NSControl.h"

class NSSegmentedCell : public NSCell {
  public:
    int segmentCount() const { return int(segments.size()); }
    // Adds segments with no label, width 0 and enabled, or drops those beyond `count`.
    void setSegmentCount(int count);

    std::optional<std::string> label(int segment) const;
    void setLabel(std::optional<std::string> label, int segment);
    // The width set for the segment (0: sized to its label).
    CGFloat width(int segment) const;
    virtual void setWidth(CGFloat width, int segment);
    // The width the segment is drawn at: the set width, or the label's as above.
    CGFloat effectiveWidth(int segment) const;
    bool isEnabledForSegment(int segment) const;
    void setEnabledForSegment(bool enabled, int segment);

    // The selected segment, −1 when none; selecting an index outside the segments
    // selects none.
    int selectedSegment() const { return selected; }
    void setSelectedSegment(int segment);

    // Public stand-ins of the platform's private queries (see the header).
    virtual int segmentHighlightState(int segment) const;
    virtual int keySegment() const;
    void setKeySegment(int segment);
    // The segment being pressed, −1 when none (set by the control's tracking).
    int pressedSegment() const { return pressed; }
    void setPressedSegment(int segment) { pressed = segment; }

    // Segment i's frame within `cellFrame` (zero for an index outside the segments),
    // and the segment at a point, −1 when none.
    CGRect frameOfSegment(int segment, CGRect cellFrame) const;
    int segmentAt(CGPoint point, CGRect cellFrame) const;

    // The interior draws every segment through drawSegment in its frame.
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    virtual void drawSegment(int segment, CGRect frame, NSView& controlView);
    // The interior's background for one segment: the cell's.
    virtual NSBackgroundStyle interiorBackgroundStyle(int segment) const {
        return interiorBackgroundStyle();
    }
    using NSCell::interiorBackgroundStyle;

    // The sum of the segments' widths by the control size's height.
    CGSize cellSize() const override;

  protected:
    NSSegmentedCell() = default;

  private:
    struct Segment {
        std::optional<std::string> label;
        CGFloat width = 0;
        bool enabled = true;
    };
    const Segment* at(int segment) const;
    std::vector<Segment> segments;
    int selected = -1;
    int pressed = -1;
    int key = 0;
};

class NSSegmentedControl : public NSControl {
  public:
    explicit NSSegmentedControl(CGRect frame = {}) : NSControl(frame) {}

    // The cell as a segmented cell (null when a cell of another kind was installed;
    // then the segment members read nothing and ignore writes).
    std::shared_ptr<NSSegmentedCell> segmentedCell() const;

    int segmentCount() const;
    void setSegmentCount(int count);
    std::optional<std::string> label(int segment) const;
    void setLabel(std::optional<std::string> label, int segment);
    CGFloat width(int segment) const;
    void setWidth(CGFloat width, int segment);
    bool isEnabledForSegment(int segment) const;
    void setEnabledForSegment(bool enabled, int segment);
    int selectedSegment() const;
    void setSelectedSegment(int segment);

    CGSize intrinsicContentSize() const override;
    // Keyboard focus comes by the key-view loop or in code, not with a click: an
    // enabled control accepts it except while a mouse-down is dispatched.
    bool acceptsFirstResponder() const override;
    // Segmented controls draw with y growing downwards.
    bool isFlipped() const override { return true; }
    // Focus arriving puts the key segment on the selected one.
    bool becomeFirstResponder() override;

    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;
    void keyDown(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    // Presses the segment under the event's point (none outside); returns it.
    int pressAt(const NSEvent& event);
    bool tracking = false;
};
