#pragma once
// BackButton and CornerButton with their cells: two small styled push buttons. The back
// button is the navigation bar's back arrow: fixed alignment margins, hidden when faded
// out completely. The corner button is square and can carry an alternate menu, popped
// up under it on a single click, a right click or a Control-click.
//
// Style members read: StyledButton's, from BackButtonCellStyle ("organiser-navbar-back",
// on or pressed "organiser-navbar-back-down") and CornerButtonCellStyle (the push-button
// art, no edge insets).
// A disabled corner button neither pops its menu up nor tracks.
// Thread: main.

#include <memory>

#include "AppKit/NSMenu.h"
#include "Controls/StyledButton.h"

class BackButtonCell : public StyledControl<BackButtonCell, BackButtonCellStyle, StyledButtonCell> {
  protected:
    // A shadowless square toggle.
    explicit BackButtonCell(TextCell content = {});
    explicit BackButtonCell(ImageCell content);
};

class BackButton : public StyledButton {
  public:
    using StyledButton::StyledButton;

    // Always top 6, left 5, bottom 4, right 4.
    NSEdgeInsets alignmentRectInsets() const override { return {6, 5, 4, 4}; }
    // Stores the value; a positive value shows a hidden button, exactly 0 hides a
    // visible one; anything else leaves the visibility alone.
    void setAlphaValue(CGFloat value) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
};

// The corner buttons' art with no edge insets.
class CornerButtonCell
    : public StyledControl<CornerButtonCell, CornerButtonCellStyle, StyledButtonCell> {
  public:
    static std::shared_ptr<CornerButtonCellStyle> makeStyle();

  protected:
    // A shadowless square momentary-change button.
    explicit CornerButtonCell(TextCell content = {});
    explicit CornerButtonCell(ImageCell content);
};

class CornerButton : public StyledButton {
  public:
    explicit CornerButton(CGRect frame = {});

    // Popped up at (minX, maxY + 4) of the bounds, no item under the pointer, the
    // button highlighted while it is shown; none at first.
    std::shared_ptr<NSMenu> alternateMenu;

    // A single click inside with an alternate menu pops it up (no action). Otherwise a
    // Control-click is a secondary click, anything else ordinary tracking.
    void mouseDown(const NSEvent& event) override;
    // A secondary click: the alternate menu (when there is one), never the inherited
    // contextual menu.
    void rightMouseDown(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    void popUpAlternateMenu();
    bool showAlternateMenuForSecondaryClick(const NSEvent& event);
};
