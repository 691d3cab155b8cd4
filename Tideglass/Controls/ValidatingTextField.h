#pragma once
// ValidatingTextField and ValidatingTextFieldCell: a styled text field with a validity
// flag and an optional message. The cell reports the flag in its control state
// (invalid), so an invalid field draws the style's invalid bezel image, text colour
// and focus-ring colour. The message shows in the field's own message pop-over, above
// the field (its max-Y edge), while the field has keyboard focus: it appears when focus
// arrives or the text changes with a message set, its text is replaced in place (the
// pop-over keeps its size and place) at later updates, and it closes at the first update
// that finds no focus or no message. Setting the message or the flag updates nothing
// by itself: the pop-over follows at the next focus change or keystroke. The caller
// decides what is valid and what the message says.
// Style members read: those of StyledTextFieldCell, for the state with `invalid`.
// Thread: main.

#include <memory>
#include <optional>
#include <string>

#include "Controls/SimpleTextViewPopover.h"
#include "Controls/StyledTextField.h"

class ValidatingTextFieldCell : public StyledTextFieldCell, public Validating {
  public:
    bool isValid() const override { return valid; }
    void setValid(bool value) { valid = value; }

  protected:
    ValidatingTextFieldCell() = default;

  private:
    bool valid = true;
};

class ValidatingTextField : public StyledTextField, public ValidatingField {
  public:
    explicit ValidatingTextField(CGRect frame = {}) : StyledTextField(frame) {}

    bool isValid() const override { return valid; }
    // Stores the flag, copies it into the cell and redisplays; the pop-over is left
    // as it is.
    void setValid(bool value) override;
    std::optional<std::string> message() const override { return message_; }
    void setMessage(std::optional<std::string> message) override { message_ = std::move(message); }
    // The view's own tool tip.
    std::optional<std::string> toolTip() const override;
    void setToolTip(std::optional<std::string> toolTip) override;
    // The field itself.
    std::shared_ptr<FirstResponderAwareTextField> textField() const override;
    const std::shared_ptr<SimpleTextViewPopoverController>& popoverController() const {
        return controller;
    }

    // Shows, refreshes or closes the message pop-over for the focus and message now.
    virtual void updateMessagePopover();

    void textDidChange(const Notification& notification) override;

  protected:
    void handleResponderStatusChanged(bool newStatus) override;
    std::shared_ptr<NSCell> makeCell() override;
    bool acceptsCell(const NSCell& cell) const override;
    const char* cellClassName() const override { return "ValidatingTextFieldCell"; }

  private:
    bool valid = true;
    std::optional<std::string> message_;
    std::shared_ptr<SimpleTextViewPopoverController> controller =
        make<SimpleTextViewPopoverController>();
};
