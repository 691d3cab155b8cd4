#include "Controls/ValidatingTextField.h"

void ValidatingTextField::setValid(bool value) {
    Runtime::assertMainThread("ValidatingTextField.isValid");
    valid = value;
    if (auto c = std::dynamic_pointer_cast<ValidatingTextFieldCell>(cell()))
        c->setValid(value);
    setNeedsDisplay(true);
}

std::optional<std::string> ValidatingTextField::toolTip() const {
    return NSView::toolTip.empty() ? std::nullopt : std::optional(NSView::toolTip);
}

void ValidatingTextField::setToolTip(std::optional<std::string> toolTip) {
    NSView::toolTip = toolTip.value_or("");
}

std::shared_ptr<FirstResponderAwareTextField> ValidatingTextField::textField() const {
    return std::dynamic_pointer_cast<FirstResponderAwareTextField>(
        std::const_pointer_cast<NSObject>(shared_from_this()));
}

std::shared_ptr<NSCell> ValidatingTextField::makeCell() {
    return make<ValidatingTextFieldCell>();
}

bool ValidatingTextField::acceptsCell(const NSCell& cell) const {
    return dynamic_cast<const ValidatingTextFieldCell*>(&cell) != nullptr;
}

void ValidatingTextField::handleResponderStatusChanged(bool) {
    updateMessagePopover();
}

void ValidatingTextField::textDidChange(const Notification& notification) {
    StyledTextField::textDidChange(notification);
    updateMessagePopover();
}

void ValidatingTextField::updateMessagePopover() {
    Runtime::assertMainThread("ValidatingTextField.updateMessagePopover");
    ::updateMessagePopover(*controller, hasKeyboardFocus(*this), message_, sharedAs<NSView>(),
                           this);
}
