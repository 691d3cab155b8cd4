#pragma once
// Stands in for NSButton: a control drawn and tracked by an NSButtonCell (its cell
// class; NSButtonCell.h holds the types, bezel styles, image positions and the rules
// of drawing and geometry). A click — a tracked press released inside, Space while
// it has keyboard focus, or performClick — advances the state first when the cell
// shows its state, and then sends the action. Its accessors forward to the cell; with
// a cell that is not a button cell they keep to NSCell's part.
// A new button is bordered. Buttons take keyboard focus (full keyboard access is on
// here); their intrinsic size is the cell's size. A view's contextual menu on a right
// click is NSView's.
// A key equivalent ("\r" for a default button, "\x1b" for a cancel button, as the
// platform names them) clicks an enabled, visible button when its key goes down with
// exactly the modifiers of keyEquivalentModifierMask (none by default).
// Left out: sounds, radio groups, spring loading.
// Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSButtonCell.h"

class NSButton : public NSControl {
  public:
    explicit NSButton(CGRect frame = {}) : NSControl(frame) {}

    // The button cell, or none when another kind of cell is installed.
    std::shared_ptr<NSButtonCell> buttonCell() const {
        return std::dynamic_pointer_cast<NSButtonCell>(cell());
    }

    virtual std::string title() const { return cell()->title; }
    virtual void setTitle(std::string title);
    NSAttributedString attributedTitle() const;
    void setAttributedTitle(NSAttributedString title);
    std::shared_ptr<NSImage> image() const { return cell()->image(); }
    // Setting an image while the position is noImage moves it to imageLeading (imageOnly
    // without a title).
    void setImage(std::shared_ptr<NSImage> image);
    std::shared_ptr<NSImage> alternateImage() const;
    void setAlternateImage(std::shared_ptr<NSImage> image);
    NSButtonType buttonType() const;
    void setButtonType(NSButtonType type);
    NSBezelStyle bezelStyle() const;
    void setBezelStyle(NSBezelStyle style);
    NSCellImagePosition imagePosition() const;
    void setImagePosition(NSCellImagePosition position);
    NSImageScaling imageScaling() const;
    void setImageScaling(NSImageScaling scaling);
    bool isBordered() const { return cell()->isBordered; }
    void setBordered(bool bordered);
    bool allowsMixedState() const { return cell()->allowsMixedState; }
    void setAllowsMixedState(bool allows) { cell()->allowsMixedState = allows; }

    // As a click: state advanced (when the cell shows its state), then the action sent.
    void performClick(NSObject* sender = nullptr);

    CGSize intrinsicContentSize() const override { return cell()->cellSize(); }
    bool acceptsFirstResponder() const override { return true; }
    // Keyboard focus comes by Tab (or in code), never by a click, as on the platform.
    bool focusesOnClick() const override { return false; }
    // Space clicks the focused button.
    void keyDown(const NSEvent& event) override;

    std::string keyEquivalent;
    uint64_t keyEquivalentModifierMask = 0;
    bool performKeyEquivalent(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
    void clicked(const NSEvent& mouseUp) override;

  private:
    // Whether a click advances the state.
    bool showsState() const;
};
