#pragma once
// The protocols through which the library's views, cells and styles meet:
//   Selectable      a view or cell with a selected flag
//   Validating      something that is valid or not
//   ValidatingField a field with a validity flag, a message and a tool tip
//   Style           what every style object answers (BaseStyle is its one conformer)
// (StyledView and StyledControl, the class-level side, are in StyledControl.h),
// and the helpers built on them: a cell's control state, the style getters for the
// current state, the keyboard-focus test of focus-ring drawing and the routine that
// pushes a selection flag down a view tree.
// Thread: main thread (styles, views and cells are main-thread objects).

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSControl.h"
#include "Styles/StyledControlState.h"

class NSColor;
class NSImage;
class NSView;
class FirstResponderAwareTextField;

// Images keyed by state: the bezel, button, bar and knob tables of the styles.
using StateImages = std::unordered_map<StyledControlState, std::shared_ptr<NSImage>>;

class Selectable {
  public:
    virtual ~Selectable() = default;
    virtual bool isSelected() const = 0;
    virtual void setSelected(bool selected) = 0;
};

class Validating {
  public:
    virtual ~Validating() = default;
    virtual bool isValid() const = 0;
};

// A text field that checks what is typed into it: the flag, its message and the
// tool tip (an AppKit view's own tool tip serves).
class ValidatingField : public Validating {
  public:
    virtual std::shared_ptr<FirstResponderAwareTextField> textField() const = 0;
    virtual void setValid(bool valid) = 0;
    virtual std::optional<std::string> message() const = 0;
    virtual void setMessage(std::optional<std::string> message) = 0;
    virtual std::optional<std::string> toolTip() const = 0;
    virtual void setToolTip(std::optional<std::string> toolTip) = 0;
};

class Style {
  public:
    virtual ~Style() = default;
    virtual std::optional<std::string> appearanceName() const = 0;
    virtual NSBackgroundStyle backgroundStyle() const = 0;
    virtual NSBackgroundStyle interiorBackgroundStyle() const = 0;
    virtual std::shared_ptr<NSColor> backgroundColor() const = 0;
    virtual std::shared_ptr<NSImage> findImage(StyledControlState state,
                                               const StateImages& images) const = 0;
};

// The control state of an AppKit cell: default, plus on or mixed from its state
// value, disabled when not enabled, highlighted only when enabled, selected when it
// is Selectable and selected, invalid when it is Validating and not valid. focused
// is never set here (focus is tested separately, see hasKeyboardFocus).
StyledControlState cellControlState(const NSCell& cell);

// The state of a view that is only ever disabled or highlighted (tables, outlines, headers).
StyledControlState enabledHighlightedState(bool enabled, bool highlighted);

// Whether the control has keyboard focus: its field editor, or the control itself,
// is its window's first responder.
bool hasKeyboardFocus(const NSControl& control);

// Sets isSelected on the direct subviews of `view` that are Selectable, in subview
// order; when `recursively`, each of them passes the flag on to its own Selectable
// subviews (one level further, no more). Ends the program off the main thread.
void applySelectionState(NSView& view, bool selected, bool recursively);
