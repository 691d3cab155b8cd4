#pragma once
// SimpleTextViewPopover and SimpleTextViewPopoverController: a pop-over that shows one
// line of text that cannot be edited or selected, in the pop-over style's font and
// colour, and the controller that owns one and shows a message beside a view or
// closes it. The validating fields show their messages through the controller.
//
// Style members read (PopoverStyle): appearanceName (the pop-over takes that
// appearance when set), font, textColor, padding. The text sits `padding` in from the
// panel's edges (width left and right, height top and bottom), and the panel is the
// text's size plus twice the padding: one padding for both, so the text is never
// clipped by its own margins.
// Thread: main.

#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSPopover.h"
#include "AppKit/NSTextField.h"
#include "Styles/StyledControl.h"

class SimpleTextViewPopover : public StyledControl<SimpleTextViewPopover, PopoverStyle, NSPopover> {
  public:
    // The text shown.
    const std::shared_ptr<NSTextField>& contentTextField() const { return textField; }
    // The view it was last shown beside (weak): set by show, forgotten by close.
    std::shared_ptr<NSView> currentPositioningView() const { return positioningView.lock(); }
    void setCurrentPositioningView(const std::shared_ptr<NSView>& view) { positioningView = view; }

    StyledControlState controlState() const override { return state; }

    void show(CGRect relativeTo, const std::shared_ptr<NSView>& view, NSRectEdge edge) override;
    void close() override;
    // The platform's showing, without remembering the view.
    void showWithoutRemembering(CGRect relativeTo, const std::shared_ptr<NSView>& view,
                                NSRectEdge edge) {
        NSPopover::show(relativeTo, view, edge);
    }

    // Pins the text `padding` in from the panel's edges (the style's padding now).
    void applyPadding();

  protected:
    SimpleTextViewPopover();
    void didInit() override;

  private:
    std::shared_ptr<NSTextField> textField;
    std::weak_ptr<NSView> positioningView;
    StyledControlState state = StyledControlState::default_;
};

class SimpleTextViewPopoverController : public NSObject {
  public:
    const std::shared_ptr<SimpleTextViewPopover>& popover() const { return popover_; }

    // Shows `message` ("" when none) beside the bounds of `view` on `edge`, the
    // panel sized to the text plus twice the style's padding.
    void showMessage(const std::optional<std::string>& message, const std::shared_ptr<NSView>& view,
                     NSRectEdge edge);
    // The pop-over's performClose with `sender`.
    void closePopover(NSObject* sender);

  protected:
    SimpleTextViewPopoverController();

  private:
    std::shared_ptr<SimpleTextViewPopover> popover_;
};

// The validating fields' rule for their message: while `focused` and a message is set,
// the pop-over shows it beside `view` on the max-Y edge, or, when already shown, takes
// the new text in place (keeping its size and place); otherwise a shown pop-over closes
// with `sender`.
void updateMessagePopover(SimpleTextViewPopoverController& controller, bool focused,
                          const std::optional<std::string>& message,
                          const std::shared_ptr<NSView>& view, NSObject* sender);
