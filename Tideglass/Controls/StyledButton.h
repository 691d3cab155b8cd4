#pragma once
// StyledButton and StyledButtonCell: the library's push button, the base of the back,
// corner and tool buttons and of the check boxes. The cell draws bezel, image and title
// from its class style; the button adds an optional fixed width, a selected mark and
// the library's focus ring (FocusRing.h) in place of the system's.
//
// Style members read (ButtonCellStyle, or the cell class's own style): font,
// textColor(forState:), focusRingColor(forState:), bezelImage(forState:), edgeInsets,
// imageEdgeInsets, titleEdgeInsets; the button's alignmentRectInsets come from the
// push-button style itself, whatever the cell's class.
//
// The cell's control state: default, plus on or mixed only when showsStateBy is not
// empty; disabled when not enabled; highlighted when highlighted and enabled; selected
// when isSelected. Its highlightsBy is empty, so the platform adds no highlight of its
// own: a press shows only the style's highlighted art, the half-strength image and the
// highlighted text colour.
//
// Geometry (insetting by E: x + left, y + bottom, width − left − right, height − top −
// bottom, snapped outward to whole points):
//   drawingRect  the bounds inset by edgeInsets when bordered or bezeled, else the bounds;
//   imageRect    the bounds inset by imageEdgeInsets; image-only takes that, any other
//                position the inherited image rectangle of it with
//                y = round(midY(bounds) − h / 2) (halves away from zero), snapped;
//   titleRect    the inherited title rectangle of the bounds inset by titleEdgeInsets,
//                with y = round(midY(bounds) − h / 2) and snapped while
//                verticallyCenterTitle, else as inherited;
//   focus-ring mask bounds: the frame when bordered or bezeled, else the drawing rect.
// Thread: main.

#include <optional>
#include <string>

#include "AppKit/NSButton.h"
#include "Styles/StyledControl.h"

// A right-mouse-down, or a left one with Control held: what the tool and corner buttons
// take as a secondary click.
bool isSecondaryClick(const NSEvent& event);

// The rules the library's two push-button cells share (this one and the fixed-size
// push button's, QuarroPushButton.h).
namespace PushButtonRules {
// The state key: default, plus on or mixed only when showsStateBy is not empty;
// disabled when not enabled; highlighted when highlighted and enabled; selected when
// `selected`; invalid when the cell is Validating and not valid.
StyledControlState controlState(const NSButtonCell& cell, bool selected);
// x + left, y + bottom, width − left − right, height − top − bottom, snapped outward.
CGRect insetBy(CGRect r, const NSEdgeInsets& e);
// The image rectangle: the bounds inset by `imageInsets`; image-only takes that, any
// other position the cell's inherited image rectangle of it with
// y = round(midY(bounds) − h / 2) (halves away from zero), snapped.
CGRect imageRect(const NSButtonCell& cell, CGRect bounds, const NSEdgeInsets& imageInsets);
// The image placed by the cell's imageScaling (axes independently: the frame; none: its
// own size centred on whole points; proportionally down or up-or-down: its own size at
// x = max(minX, min(maxX, w) − w), y = max(minY, min(maxY, h) − h)), upright, at 0.5
// while highlighted, else 1 enabled / 0.5 disabled. Any other scaling value ends the
// program ("Unhandled image scaling value").
void drawImage(const NSButtonCell& cell, const std::shared_ptr<NSImage>& image, CGRect frame,
               NSView& controlView);
} // namespace PushButtonRules

class StyledButtonCell : public StyledControl<StyledButtonCell, ButtonCellStyle, NSButtonCell>,
                         public Selectable {
  public:
    bool isSelected() const override { return selected; }
    void setSelected(bool value) override { selected = value; }
    // Centres the title rectangle vertically on the bounds (true at first).
    bool verticallyCenterTitle = true;

    StyledControlState controlState() const override;

    // The title drawn: the text with the style's font, `color` (the style's text colour
    // when none), centred and truncated at the tail. One font serves every size.
    virtual NSAttributedString attributedTitleString(const std::string& text, NSControlSize size,
                                                     std::shared_ptr<NSColor> color) const;

    void drawFocusRingMask(CGRect, NSView&) override {}
    CGRect focusRingMaskBounds(CGRect frame, NSView& controlView) const override;
    CGRect drawingRectForBounds(CGRect bounds) const override;
    CGRect imageRectForBounds(CGRect bounds) const override;
    CGRect titleRectForBounds(CGRect bounds) const override;
    // The style's bezel art for the state stretched over the frame, upright; no bezel at
    // all when the style has none.
    void drawBezel(CGRect frame, NSView& controlView) override;
    // The title rebuilt in the style's font and the state's text colour.
    CGRect drawTitle(const NSAttributedString& title, CGRect frame, NSView& controlView) override;
    // The image placed by imageScaling (axes independently: the frame; none: its own
    // size centred on whole points; proportionally down or up-or-down: its own size at
    // x = max(minX, min(maxX, w) − w), y = max(minY, min(maxY, h) − h)), upright, at 0.5
    // while highlighted, else 1 enabled / 0.5 disabled. Any other scaling value ends the
    // program ("Unhandled image scaling value").
    void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                   NSView& controlView) override;
    // The bezel when bordered or bezeled, then the interior.
    void drawWithFrame(CGRect frame, NSView& controlView) override;

  protected:
    explicit StyledButtonCell(TextCell content = {});
    explicit StyledButtonCell(ImageCell content);

  private:
    bool selected = false;
};

class StyledButton : public NSButton, public Selectable {
  public:
    explicit StyledButton(CGRect frame = {}, std::optional<CGFloat> fixedWidth = std::nullopt)
        : NSButton(frame), fixedWidth(fixedWidth) {}

    // The cell's mark (false for another cell class); writing redraws the button.
    bool isSelected() const override;
    void setSelected(bool selected) override;
    // A width the intrinsic size uses in place of the natural one; none at first.
    std::optional<CGFloat> fixedWidth;

    // Run by every initialiser: a styled cell's highlightsBy becomes empty.
    virtual void setupButton();

    // The push-button style's insets with a styled cell, else none.
    NSEdgeInsets alignmentRectInsets() const override;
    // The cell's size with fixedWidth in place of its width; when bordered with a styled
    // cell whose style has bezel art for the state: width max(that, fixedWidth or the
    // art's width) − (left + right), height the art's height − (top + bottom).
    CGSize intrinsicContentSize() const override;
    CGRect focusRingMaskBounds() const override { return bounds(); }
    void drawFocusRingMask() override {}
    // The cell's drawing, then the library's focus ring.
    void drawRect(CGRect dirtyRect) override;

  protected:
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;
};
