#pragma once
// QuarroPushButton and QuarroPushButtonCell: the library's second push button, a
// sibling of StyledButton rather than a subclass of it. The button can fix its height
// as well as its width (the art plays no part in its size); the cell keeps a style of
// its own (a push-button style separate from StyledButtonCell's, so restyling one
// leaves the other alone), fixed title and bezel margins and the library's control
// font, and shrinks the bezel of rounded buttons. State keys, image placement and
// drawing and the focus ring are the styled push button's (StyledButton.h).
//
// Style members read (its own ButtonCellStyle): textColor(forState:),
// focusRingColor(forState:), bezelImage(forState:).
//
// Geometry (insetting by E: x + left, y + bottom, width − left − right, height − top −
// bottom, snapped outward to whole points):
//   drawingRect  the inherited drawing rectangle when bordered or bezeled, else the
//                bounds (the bezel margins play no part);
//   imageRect    the styled push button's rule with the cell's own image margins (zero);
//   titleRect    the inherited title rectangle of the bounds inset by the title margins
//                (top 4, bottom 6): y + 6, height − 10, snapped; no vertical centring;
//   bezel        rounded bezel style: the frame inset by the bezel margins (top 3, left
//                4, bottom 5, right 4): x + 4, y + 5, width − 8, height − 8, snapped;
//                any other style: the whole frame;
//   focus-ring mask bounds: the frame.
// Thread: main.

#include <optional>

#include "AppKit/NSButton.h"
#include "Styles/StyledControl.h"

class QuarroPushButtonCell
    : public StyledControl<QuarroPushButtonCell, ButtonCellStyle, NSButtonCell>,
      public Selectable {
  public:
    // Its members are final. Margins taken from the inherited title rectangle, and from the bezel
    // rectangle of rounded buttons.
    static constexpr NSEdgeInsets titleEdgeInsets{4, 0, 6, 0};
    static constexpr NSEdgeInsets edgeInsets{3, 4, 5, 4};

    bool isSelected() const final { return selected; }
    void setSelected(bool value) final { selected = value; }
    // As the styled push button's cell.
    StyledControlState controlState() const final;

    void drawFocusRingMask(CGRect, NSView&) final {}
    CGRect focusRingMaskBounds(CGRect frame, NSView&) const final { return frame; }
    CGRect drawingRectForBounds(CGRect bounds) const final;
    CGRect imageRectForBounds(CGRect bounds) const final;
    CGRect titleRectForBounds(CGRect bounds) const final;
    // The style's bezel art for the state, stretched over the bezel rectangle, upright.
    void drawBezel(CGRect frame, NSView& controlView) final;
    // The title in the library's control font and the state's text colour, centred and
    // truncated at the tail.
    CGRect drawTitle(const NSAttributedString& title, CGRect frame, NSView& controlView) final;
    // The styled push button's image drawing.
    void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame, NSView& controlView) final;
    // The bezel when bordered or bezeled, then the interior.
    void drawWithFrame(CGRect frame, NSView& controlView) final;

  protected:
    explicit QuarroPushButtonCell(TextCell content = {});
    explicit QuarroPushButtonCell(ImageCell content);

  private:
    NSEdgeInsets imageEdgeInsets{};
    bool selected = false;
};

class QuarroPushButton : public NSButton, public Selectable {
  public:
    explicit QuarroPushButton(CGRect frame = {}, std::optional<CGFloat> fixedHeight = std::nullopt,
                              std::optional<CGFloat> fixedWidth = std::nullopt)
        : NSButton(frame), fixedHeight(fixedHeight), fixedWidth(fixedWidth) {}

    // The cell's mark (false for another cell class); writing redraws the button.
    bool isSelected() const override;
    void setSelected(bool selected) override;
    // Replace the intrinsic height and width when set; none at first.
    std::optional<CGFloat> fixedHeight;
    std::optional<CGFloat> fixedWidth;

    // The cell's size with fixedWidth and fixedHeight in place where set.
    CGSize intrinsicContentSize() const override;
    CGRect focusRingMaskBounds() const override { return bounds(); }
    void drawFocusRingMask() override {}
    // The cell's drawing, then the library's focus ring in the cell style's colour.
    void drawRect(CGRect dirtyRect) override;

  protected:
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;
};
