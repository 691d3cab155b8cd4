#pragma once
// StyledComboBox and StyledComboBoxCell: the library's combo box. The cell draws the
// field from two pieces of art instead of the system bezel — the body, "tgui-combobox"
// stretched, and the right end at the art's own width: "tgui-combobox-up" while the list
// is closed, "tgui-combobox" while it is open — and draws no focus-ring mask; the box
// follows its list's opening and closing, turns a chosen number item into its value and
// action, sizes itself for the art and draws the library's focus ring around the body.
//
// Style members read (ComboBoxStyle, the cell class's style): titleEdgeInsets,
// alignmentRectInsets, interiorBackgroundStyle, focusRingColor(forState:).
//
// Geometry (tests call these without drawing), for a rectangle r and bounds b:
//   left frame   (r.minX, 0, r.width − the right end's width, the body art's height):
//                its y is 0 whatever r's origin;
//   right end    (f.maxX − its width, 0, its width, its height) for the frame f;
//   title rect   the combo-box cell's title rect inset by titleEdgeInsets (x + left,
//                y + bottom, width − left − right, height − top − bottom), integral,
//                then centred on b: y = round(midY(b) − height / 2), halves away from
//                zero, integral;
//   intrinsic    (max(the combo box's width, 47) − left − right insets,
//                26 − top − bottom insets): with the style's (3, 2, 3, 2), a frame at
//                least 47 wide and exactly 26 high.
// Drawing: bordered or bezeled, the bezel (body, then right end; upright in a flipped
// view; fraction 1 enabled, 0.5 disabled); then the interior in the frame inset by
// titleEdgeInsets. The focus ring (FocusRing.h) goes on the left frame of the bounds,
// so around the body only, and only in the key window with keyboard focus.
// The control state is the cells' plain mapping (never selected or invalid here).
// Thread: main; every entry point checks it.

#include <memory>

#include "AppKit/NSComboBox.h"
#include "Styles/StyledControl.h"

class StyledComboBoxCell : public StyledControl<StyledComboBoxCell, ComboBoxStyle, NSComboBoxCell> {
  public:
    // Whether the list is open: the right end shows the open art then.
    bool isPopupOpen = false;

    virtual void drawBezel(CGRect frame, NSView& controlView);
    virtual CGRect leftFrame(CGRect rect) const;
    // The body art and the right end's art for the list's state, tinted when template.
    virtual std::shared_ptr<NSImage> leftImage() const;
    virtual std::shared_ptr<NSImage> rightImage() const;

    NSBackgroundStyle interiorBackgroundStyle() const override;
    CGRect titleRectForBounds(CGRect bounds) const override;
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    // Nothing: the system draws no ring around a styled combo box.
    void drawFocusRingMask(CGRect, NSView&) override {}

  protected:
    StyledComboBoxCell() = default;
    void didInit() override;
};

class StyledComboBox : public NSComboBox {
  public:
    explicit StyledComboBox(CGRect frame = {}) : NSComboBox(frame) {}
    // Stops hearing its list's notifications.
    ~StyledComboBox() override;

    // The list's notifications, heard from the box itself: the styled cell's
    // isPopupOpen follows the list (another cell is left alone).
    void willPopUp(const Notification& notification);
    void willDismiss(const Notification& notification);
    // A selected item of the box's own list that is a number becomes the box's value,
    // and the action is sent. Nothing for a text item, no selection (−1), an index
    // outside the items, or a box that uses a data source.
    void selectionDidChange(const Notification& notification);

    // The style's insets with a styled cell.
    NSEdgeInsets alignmentRectInsets() const override;
    CGSize intrinsicContentSize() const override;
    // The cell, then the library's focus ring.
    void drawRect(CGRect dirtyRect) override;
    // The styled cell's left frame of the bounds.
    CGRect focusRingMaskBounds() const override;

  protected:
    // Makes the cell, then listens to the box's own three notifications.
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;

  private:
    std::shared_ptr<StyledComboBoxCell> styledCell() const;
};
