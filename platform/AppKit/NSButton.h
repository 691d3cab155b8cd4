#pragma once
// Stands in for NSButton: a control with a title and an image whose click (a
// mouse-up inside, or performClick) advances its state first when its type toggles
// (push on/push off, toggle, switch, radio) and then sends its action.
// Left out: bezel styles' drawing, key equivalents, sounds, radio groups.
// Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSButtonCell.h"
#include "AppKit/NSControl.h"

enum class NSButtonType {
    momentaryLight,
    pushOnPushOff,
    toggle,
    switchButton,
    radio,
    momentaryChange,
    onOff,
    momentaryPushIn
};

class NSButton : public NSControl {
  public:
    explicit NSButton(CGRect frame = {}) : NSControl(frame) {}

    std::string title() const { return cell()->title; }
    void setTitle(std::string title);
    std::shared_ptr<NSImage> image() const { return cell()->image; }
    void setImage(std::shared_ptr<NSImage> image);
    // The image shown while the button is pressed (or on, for toggling types): the
    // cell's, when the cell is a button cell.
    std::shared_ptr<NSImage> alternateImage() const;
    void setAlternateImage(std::shared_ptr<NSImage> image);
    NSButtonType buttonType() const { return type; }
    // Also sets the cell's masks as the platform's types do: momentary change shows the
    // alternate image while pressed, toggle while on.
    void setButtonType(NSButtonType t);
    // The button cell's settings (a cell of another kind keeps none).
    std::shared_ptr<NSButtonCell> buttonCell() const;
    bool isBordered() const { return cell()->isBordered; }
    void setBordered(bool bordered);
    void setBezelStyle(NSBezelStyle style);
    void setImagePosition(NSCellImagePosition position);
    void setImageScaling(NSImageScaling scaling);
    bool allowsMixedState() const { return cell()->allowsMixedState; }
    void setAllowsMixedState(bool allows) { cell()->allowsMixedState = allows; }

    // As a click: state advanced (when the type toggles), then the action sent.
    void performClick(NSObject* sender = nullptr);

    void mouseUp(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override { return make<NSButtonCell>(); }

  private:
    bool toggles() const;
    NSButtonType type = NSButtonType::momentaryPushIn;
};
