#pragma once
// StyledCheckBox and StyledCheckBoxCell: the library's check box, a styled push button
// whose cell draws a 16 × 16 box from the check-box style at the left edge and the title
// beside it, and whose clicks go between on and off only (a mixed state set in code goes
// to on). FavouriteCheckBox and its cell: the star toggle, the same box drawn from the
// favourite style's two stars, the whole control at half opacity while pressed.
//
// Style members read (CheckBoxCellStyle or FavouriteCheckBoxCellStyle, the cell class's
// style): image(forState:) over buttonImages, font, textColor(forState:),
// focusRingColor(forState:). highlightsBy and showsStateBy are both the contents mask
// (value 1), so the state keys carry on and mixed. The cell is not bordered: the box
// stands on its own, without the push button's bezel behind it.
//
// Geometry: the image rectangle is (0, round(midY(drawing rect) − h / 2), w, h) made
// integral and moved by xOffset (−2): it does not follow the bounds' origin. The title
// rectangle starts at x = imageSize.width, as large as the title (rounded up); centred on
// the bounds' mid-line while verticallyCenterTitle, else at y 0. The focus-ring mask is
// the image rectangle: the ring surrounds the box, never the title.
// Thread: main.

#include "Controls/StyledButton.h"

class StyledCheckBoxCell
    : public StyledControl<StyledCheckBoxCell, CheckBoxCellStyle, StyledButtonCell> {
  public:
    // The box's horizontal shift.
    const CGFloat xOffset = -2;
    // The box's size: 16 × 16 here.
    virtual CGSize imageSize() const { return {16, 16}; }

    CGRect focusRingMaskBounds(CGRect frame, NSView& controlView) const override;
    CGRect imageRectForBounds(CGRect bounds) const override;
    CGRect titleRectForBounds(CGRect bounds) const override;
    // The style's box for the state (the image passed in is ignored), respecting the
    // view's flip, at 1 enabled / 0.5 disabled; nothing when the class style is not a
    // check-box style or has no box for the state.
    void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                   NSView& controlView) override;
    // The box always (whatever image the cell holds), then the title beside it.
    void drawInteriorWithFrame(CGRect frame, NSView& controlView) override;
    // on → off; off or mixed → on.
    StateValue nextState() const override;

  protected:
    explicit StyledCheckBoxCell(TextCell content = {});
    explicit StyledCheckBoxCell(ImageCell content);
};

class StyledCheckBox : public StyledButton {
  public:
    using StyledButton::StyledButton;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
};

// The star: image() and alternateImage() are the style's entries for exactly default and
// on (none without them); the setters discard what they are given, so the art changes
// only through the style. The box is as large as the star for the state (16 × 16
// without one).
class FavouriteCheckBoxCell
    : public StyledControl<FavouriteCheckBoxCell, FavouriteCheckBoxCellStyle, StyledCheckBoxCell> {
  public:
    std::shared_ptr<NSImage> image() const override;
    void setImage(std::shared_ptr<NSImage>) override {}
    std::shared_ptr<NSImage> alternateImage() const override;
    void setAlternateImage(std::shared_ptr<NSImage>) override {}
    CGSize imageSize() const override;

  protected:
    using StyledControl::StyledControl;
};

class FavouriteCheckBox : public StyledCheckBox {
  public:
    using StyledCheckBox::StyledCheckBox;

    // The control at alpha 0.5 while the press is tracked, 1 again once it ends.
    void mouseDown(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
};
