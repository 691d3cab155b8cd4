#pragma once
// QuarroStyledTextField: a styled text field (StyledTextField) inside declarative views,
// with a placeholder, a two-way text binding and an editing callback.
//
// On creation and at every update the field takes the environment's text settings:
// tightening (allowsTightening), the line limit (maximumNumberOfLines, 0 without one),
// the multiline alignment (leading/center/trailing → left/center/right) and the
// truncation mode (head/tail/middle → truncating head/tail/middle; any other mode ends
// the program with "Unknown truncation mode"), and whether it is enabled.
//
// Editing round trip: each keystroke makes the coordinator (the field's delegate) write
// the field's text into the binding and call onEditingChanged(true); the end of editing
// calls onEditingChanged(false). An update refreshes the coordinator's copy of the view
// (so later keystrokes reach the newest binding and callback) and writes the binding
// into the field only when it differs from what the coordinator last wrote — an update
// that follows a keystroke leaves the field, and the editor's caret, as they are.
// `style` is kept and readable; the field draws with its cell's shared style.
// Thread: main.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSTextField.h"
#include "Controls/StyledTextField.h"
#include "Styles/ControlStyles.h"
#include "SwiftUI/SwiftUI.h"
#include "SwiftUI/ViewRepresentable.h"

class QuarroStyledTextFieldCoordinator;

class QuarroStyledTextField
    : public SwiftUI::NSViewRepresentable<QuarroStyledTextField, StyledTextField,
                                          QuarroStyledTextFieldCoordinator> {
  public:
    using Coordinator = QuarroStyledTextFieldCoordinator;

    QuarroStyledTextField(std::optional<std::string> placeholder,
                          SwiftUI::Binding<std::string> text,
                          std::shared_ptr<TextFieldCellStyle> style = nullptr,
                          std::function<void(bool)> onEditingChanged = nullptr);

    std::optional<std::string> placeholder;
    SwiftUI::Binding<std::string> text;
    std::shared_ptr<TextFieldCellStyle> style;
    std::function<void(bool)> onEditingChanged;

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::shared_ptr<StyledTextField> makeNSView(Context& context) const;
    void updateNSView(StyledTextField& field, Context& context) const;

  private:
    // The environment's text settings onto the field.
    static void applyEnvironment(StyledTextField& field, const SwiftUI::EnvironmentValues& env);
};

class QuarroStyledTextFieldCoordinator : public NSObject, public NSTextFieldDelegate {
  public:
    // The view it was made from; every update replaces it with the newest.
    QuarroStyledTextField parent;
    // What the coordinator last wrote into the binding (or an update into the field).
    std::optional<std::string> lastWritten;

    void controlTextDidChange(const Notification& notification) override;
    void controlTextDidEndEditing(const Notification& notification) override;
    // init(): not available; ends the program.
    [[noreturn]] static std::shared_ptr<QuarroStyledTextFieldCoordinator> plain();

  protected:
    explicit QuarroStyledTextFieldCoordinator(QuarroStyledTextField parent)
        : parent(std::move(parent)) {}
};
