#pragma once
// StyledPopDownButton and its cell: a button that looks like a pop-down menu button —
// art bezel, an optional leading label in the secondary label colour, the title in
// 10-point type — and behaves like a push button: a release inside sends its action, it
// never opens its menu by itself. Its title is its own, whatever the menu holds.
//
// Style members read (StyledPopDownButtonCellStyle): bezelImage(forState:) —
// "tgui-popdown", pressed "tgui-popdown-down" —, textColor(forState:),
// focusRingColor(forState:), titleEdgeInsets, interiorBackgroundStyle,
// alignmentRectInsets. The cell's control state is the library's default for cells.
// A disabled button neither highlights nor sends anything.
// Thread: main.

#include <optional>
#include <string>

#include "Controls/StyledPopUpButton.h"

class StyledPopDownButtonCell
    : public StyledControl<StyledPopDownButtonCell, StyledPopDownButtonCellStyle,
                           NSPopUpButtonCell> {
  public:
    std::optional<std::string> label;

    NSBackgroundStyle interiorBackgroundStyle() const override;
    void drawFocusRingMask(CGRect, NSView&) override {}
    // The inherited title rectangle inset by titleEdgeInsets, made integral, then centred
    // on the bounds' mid-line (halves away from zero) and made integral again.
    CGRect titleRectForBounds(CGRect bounds) const override;
    void drawBezel(CGRect frame, NSView& controlView) override;
    // The title rebuilt (menuButtonTitle) in the state's text colour, drawn as inherited.
    CGRect drawTitle(const NSAttributedString& title, CGRect frame, NSView& controlView) override;

  protected:
    explicit StyledPopDownButtonCell(TextCell content = {}, bool pullsDown = false)
        : StyledControl(std::move(content), pullsDown) {}
};

class StyledPopDownButton : public NSPopUpButton {
  public:
    // A pop-up (not pull-down) button in the menu font of 11 points.
    explicit StyledPopDownButton(CGRect frame = {}) : NSPopUpButton(frame, false) {}
    // Not offered: ends the program with the unimplemented-initialiser report.
    StyledPopDownButton(CGRect frame, bool pullsDown);

    const std::optional<std::string>& label() const { return label_; }
    void setLabel(std::optional<std::string> label);
    // The title of the cell's own item ("" with another cell class); setting it gives a
    // styled cell a new item of that title, independent of the menu and its selection.
    std::string title() const override;
    void setTitle(std::string title) override;

    NSEdgeInsets alignmentRectInsets() const override;
    CGSize intrinsicContentSize() const override;
    CGRect focusRingMaskBounds() const override { return bounds(); }
    void drawFocusRingMask() override {}
    void drawRect(CGRect dirtyRect) override;
    // Highlights; no menu, no tracking loop.
    void mouseDown(const NSEvent& event) override;
    // Unhighlights and, released inside, sends the action to the target (nil: the
    // responder chain).
    void mouseUp(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    std::shared_ptr<StyledPopDownButtonCell> styledCell() const {
        return std::dynamic_pointer_cast<StyledPopDownButtonCell>(cell());
    }
    std::optional<std::string> label_;
    bool pressed = false;
};
