#include "SwiftUISupport/QuarroStyledTextField.h"

#include "AppKitSupport/AppKitExtensions.h"

QuarroStyledTextField::QuarroStyledTextField(std::optional<std::string> placeholder,
                                             SwiftUI::Binding<std::string> text,
                                             std::shared_ptr<TextFieldCellStyle> style,
                                             std::function<void(bool)> onEditingChanged)
    : placeholder(std::move(placeholder)), text(std::move(text)),
      style(style ? std::move(style) : std::make_shared<TextFieldCellStyle>()),
      onEditingChanged(std::move(onEditingChanged)) {}

std::shared_ptr<QuarroStyledTextFieldCoordinator> QuarroStyledTextField::makeCoordinator() const {
    return make<Coordinator>(*this);
}

std::shared_ptr<StyledTextField> QuarroStyledTextField::makeNSView(Context& context) const {
    Runtime::assertMainThread("QuarroStyledTextField.makeNSView");
    auto field = make<StyledTextField>();
    field->setPlaceholderString(placeholder);
    field->translatesAutoresizingMaskIntoConstraints = false;
    field->allowsExpansionToolTips = true;
    field->setDelegate(context.coordinator);
    applyEnvironment(*field, context.environment);
    return field;
}

void QuarroStyledTextField::updateNSView(StyledTextField& field, Context& context) const {
    Runtime::assertMainThread("QuarroStyledTextField.updateNSView");
    auto& coordinator = *context.coordinator;
    coordinator.parent = *this;
    // Writing the field's own text back while it is edited would reset the editor: only
    // a binding changed from elsewhere is written.
    const std::string value = text.get();
    if (value != coordinator.lastWritten) {
        field.setStringValue(value);
        coordinator.lastWritten = value;
    }
    field.setPlaceholderString(placeholder);
    applyEnvironment(field, context.environment);
}

void QuarroStyledTextField::applyEnvironment(StyledTextField& field,
                                             const SwiftUI::EnvironmentValues& env) {
    field.setAllowsDefaultTighteningForTruncation(env.allowsTightening);
    field.setMaximumNumberOfLines(env.lineLimit.value_or(0));
    field.setAlignment(nsTextAlignment(env.textAlignment));
    field.setLineBreakMode(nsLineBreakMode(env.truncationMode));
    field.setEnabled(env.isEnabled);
}

void QuarroStyledTextFieldCoordinator::controlTextDidChange(const Notification& notification) {
    Runtime::assertMainThread("QuarroStyledTextField.Coordinator.controlTextDidChange");
    auto field = std::dynamic_pointer_cast<NSTextField>(notification.object);
    if (!field)
        return;
    lastWritten = field->stringValue();
    parent.text.set(*lastWritten);
    if (parent.onEditingChanged)
        parent.onEditingChanged(true);
}

void QuarroStyledTextFieldCoordinator::controlTextDidEndEditing(const Notification&) {
    Runtime::assertMainThread("QuarroStyledTextField.Coordinator.controlTextDidEndEditing");
    if (parent.onEditingChanged)
        parent.onEditingChanged(false);
}

std::shared_ptr<QuarroStyledTextFieldCoordinator> QuarroStyledTextFieldCoordinator::plain() {
    unimplementedInitializer("Tideglass.QuarroStyledTextField.Coordinator", "init()");
}
