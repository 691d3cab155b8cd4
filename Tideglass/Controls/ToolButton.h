#pragma once
// ToolButton and ToolButtonCell: the image-only toolbar button on the corner-tool art.
// Besides its action it has a secondary action, sent on press-and-hold (a press still
// down after the double-click interval), on a right click and on a Control-click; a
// "more" mark on the art tells the user it is there.
//
// Style members read (ToolButtonCellStyle): bezelImage(forState:) —
// "corner-tool-background", on "…-selected", highlighted "…-down" —, imageEdgeInsets
// (the image one point higher), and StyledButton's members.
// A disabled tool button sends neither action and holds nothing.
// Thread: main.

#include "Controls/StyledButton.h"

class ToolButtonCell : public StyledControl<ToolButtonCell, ToolButtonCellStyle, StyledButtonCell> {
  public:
    bool showMoreIcon = false;
    // The inherited bezel, then with showMoreIcon the "corner-tool-more" art over the
    // whole frame (tinted when a template), upright, at full strength.
    void drawBezel(CGRect frame, NSView& controlView) override;

  protected:
    using StyledControl::StyledControl;
};

class ToolButton : public StyledButton {
  public:
    explicit ToolButton(CGRect frame = {}) : StyledButton(frame) {}
    // Not offered: ends the program with the unimplemented-initialiser report.
    ToolButton(CGRect frame, std::optional<CGFloat> fixedWidth);

    bool showMoreIcon() const { return moreIcon; }
    // Stores the flag and copies it into a tool cell (which is then redrawn).
    void setShowMoreIcon(bool show);
    // The secondary action's receiver (none, or gone: the responder chain) and action
    // (none: no hold gesture, and secondary clicks only flash the highlight).
    std::weak_ptr<NSObject> secondaryTarget;
    NSAction secondaryAction;

    // In place of StyledButton's: no highlight of the platform's own, regular square
    // bezel, toggle type, image only, no image scaling.
    void setupButton() override;
    // StyledButton's size; bordered with a tool cell and art for the state: (max(width,
    // art width), art height), no insets taken off.
    CGSize intrinsicContentSize() const override;
    // Highlighted; with a secondary action, a single click inside waits up to the
    // double-click interval for the release (left queued): none came, so the secondary
    // action is sent and the press ends there. Then a Control-click is a secondary
    // click; anything else is ordinary tracking (the action on a release inside).
    void mouseDown(const NSEvent& event) override;
    // A secondary click: never the contextual menu.
    void rightMouseDown(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;

  private:
    // A right-mouse-down, or a left one with Control: flashes the highlight around
    // sending the secondary action (when there is one). False for other events.
    bool secondaryClick(const NSEvent& event);
    void sendSecondaryAction();
    bool moreIcon = false;
};
