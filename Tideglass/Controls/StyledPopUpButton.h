#pragma once
// StyledPopUpButton and StyledPopUpButtonCell: the library's pop-up (or pull-down) menu
// button; ToolPopUpButton and its cell: the same on the tool pop-up artwork. The cell
// draws a stretched art bezel, the selected item's title in 10-point type in a fixed
// title box and, instead of the item's image, an optional leading label in the
// secondary label colour; the button adds an optional fixed width, the label it hands
// to the cell, a size from the art and the library's focus ring.
//
// Style members read (PopUpButtonCellStyle or ToolPopUpButtonCellStyle, the cell
// class's style): bezelImage(forState:) — every highlighted state shows the pressed
// art —, textColor(forState:), textColor, focusRingColor(forState:),
// interiorBackgroundStyle, alignmentRectInsets.
//
// The cell's control state: default; on or mixed only when showsStateBy is not empty;
// disabled; highlighted while enabled. Never selected, focused or invalid. Its
// highlightsBy is empty: the pressed look is the art, redrawn as soon as the highlight
// changes.
// Title box: (10, round(midY − 7), width − 24, 14) made integral, whatever the bounds'
// origin or the font; zero for image-only or an empty title. Beside an item image (no
// label) it starts 4 points after the image instead, its right end kept.
// Bezel: the art stretched over the frame, only its middle when the style has cap
// insets (the arrows keep their shape at any width).
// Thread: main.

#include <optional>
#include <string>

#include "AppKit/NSPopUpButton.h"
#include "Styles/StyledControl.h"

// The title of the menu buttons: left aligned, truncated at the tail, the system font
// of 10 points in `color`. With both a label and a label colour, two runs: the label in
// the label colour, then a space and the title at medium weight.
NSAttributedString menuButtonTitle(const std::string& title, std::shared_ptr<NSColor> color,
                                   const std::optional<std::string>& label,
                                   std::shared_ptr<NSColor> labelColor);

class StyledPopUpButtonCell
    : public StyledControl<StyledPopUpButtonCell, PopUpButtonCellStyle, NSPopUpButtonCell> {
  public:
    // Shown before the title in place of the item's image; the button copies its own.
    std::optional<std::string> label;

    StyledControlState controlState() const override;
    NSBackgroundStyle interiorBackgroundStyle() const override;
    void drawFocusRingMask(CGRect, NSView&) override {}
    CGRect titleRectForBounds(CGRect bounds) const override;
    // The item's image only without a label.
    void drawImageWithFrame(CGRect frame, NSView& controlView) override;
    // Whether the shown item's image is drawn: it has one, the cell shows images, and
    // there is no label.
    bool drawsItemImage() const;
    // The state's art stretched over the frame, upright, at 1 enabled / 0.5 disabled.
    void drawBezel(CGRect frame, NSView& controlView) override;
    // The title rebuilt (menuButtonTitle) in the state's text colour, drawn into the
    // frame itself; returns the frame (zero when nothing is drawn).
    CGRect drawTitle(const NSAttributedString& title, CGRect frame, NSView& controlView) override;
    void highlight(bool flag, CGRect frame, NSView& controlView) override;

  protected:
    explicit StyledPopUpButtonCell(TextCell content = {}, bool pullsDown = false);
};

class StyledPopUpButton : public NSPopUpButton {
  public:
    // The designated initialiser: the menu font of 11 points.
    StyledPopUpButton(CGRect frame, bool pullsDown, std::optional<CGFloat> fixedWidth);
    // Not offered: ends the program with the unimplemented-initialiser report.
    explicit StyledPopUpButton(CGRect frame = {}, bool pullsDown = false);

    // A width in place of the one the titles ask for; none at first.
    std::optional<CGFloat> fixedWidth;
    const std::optional<std::string>& label() const { return label_; }
    // Stores the label and copies it into a styled cell.
    void setLabel(std::optional<std::string> label);

    // The alignment insets of the cell's own style (its dynamic class's) with a styled
    // cell, else none.
    NSEdgeInsets alignmentRectInsets() const override;
    // The cell's size with fixedWidth in place of its width; when bordered with a styled
    // cell whose style has art for the state: width max(that, art width) − (left +
    // right), height the art's height − (top + bottom).
    CGSize intrinsicContentSize() const override;
    CGRect focusRingMaskBounds() const override { return bounds(); }
    void drawFocusRingMask() override {}
    void drawRect(CGRect dirtyRect) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    std::optional<std::string> label_;
};

class ToolPopUpButtonCell
    : public StyledControl<ToolPopUpButtonCell, ToolPopUpButtonCellStyle, StyledPopUpButtonCell> {
  protected:
    using StyledControl::StyledControl;
};

class ToolPopUpButton : public StyledPopUpButton {
  public:
    using StyledPopUpButton::StyledPopUpButton;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
};
