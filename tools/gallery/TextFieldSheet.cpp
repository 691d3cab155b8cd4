// The control library's text fields, labels and validating fields, each in its states;
// the validating ones with their message pop-over.

#include "Controls/StyledTextField.h"
#include "Controls/StyledTextLabel.h"
#include "Controls/ValidatingPropertiesField.h"
#include "Controls/ValidatingTextField.h"
#include "Sheets.h"
#include "Styles/TideglassResources.h"
#include "SwiftUISupport/QuarroStyledTextField.h"
#include "TestSupport/ControlHarness.h"

#include <cctype>

namespace {

const CGRect fieldFrame{10, 9, 180, 22};

template <class Field = StyledTextField>
std::shared_ptr<Field> field(const std::string& text, CGRect frame = fieldFrame) {
    auto f = make<Field>(frame);
    f->setStringValue(text);
    f->setPlaceholderString("Delay in ms");
    logsActions(*f);
    return f;
}

std::shared_ptr<NSView> disabled() {
    auto f = field("250");
    f->setEnabled(false);
    return f;
}

std::shared_ptr<NSView> plain() {
    auto f = field("Not bezeled");
    f->setBezeled(false);
    return f;
}

template <class Label> std::shared_ptr<NSView> label(const std::string& text) {
    auto l = make<Label>(CGRect{10, 12, 0, 16});
    l->setStringValue(text);
    l->setBezeled(false);
    l->setEditable(false);
    l->setSelectable(false);
    l->setDrawsBackground(false); // a label on the page's ground, as labels are set up
    l->setFrameSize(l->intrinsicContentSize());
    return l;
}

// Valid while the text is a whole number of milliseconds from 1 to 2000; otherwise
// invalid with a message saying what it takes. Kept alive by its field.
class DelayValidator : public NSObject, public NSTextFieldDelegate {
  public:
    static void attach(const std::shared_ptr<ValidatingTextField>& field) {
        auto validator = make<DelayValidator>();
        field->setDelegate(validator);
        field->setAssociatedObject(key(), validator);
        check(*field);
    }
    void controlTextDidChange(const Notification& n) override {
        if (auto f = std::dynamic_pointer_cast<ValidatingTextField>(n.object))
            check(*f);
    }

  private:
    static const void* key() {
        static const char k = 0;
        return &k;
    }
    static void check(ValidatingTextField& f) {
        const std::string text = f.stringValue();
        bool digits = !text.empty() && text.size() <= 4;
        for (char c : text)
            digits = digits && std::isdigit(static_cast<unsigned char>(c));
        const bool valid = digits && std::stoi(text) >= 1 && std::stoi(text) <= 2000;
        f.setValid(valid);
        f.setMessage(valid ? std::nullopt
                           : std::optional<std::string>("A whole number of ms, 1 to 2000"));
    }
};

// A validating field low in a tall cell, so that its pop-over shows above it.
const CGRect lowField{10, 58, 180, 22};

std::shared_ptr<ValidatingTextField> validating(const std::string& text) {
    auto f = field<ValidatingTextField>(text, lowField);
    DelayValidator::attach(f);
    return f;
}

// Focused, with a keystroke that brings up its message.
void focusedAndTyped(ControlHarness& h) {
    focusedControl(h);
    h.type("x");
}

std::shared_ptr<ValidatingPropertiesField> properties(bool icon, bool valid) {
    auto f = make<ValidatingPropertiesField>(
        icon ? TideglassResources::nsImage("organiser-icon-star-empty") : nullptr);
    f->setFrame(CGRect{10, 56, 120, 24});
    f->textField()->setStringValue(valid ? "0.50" : "1.70");
    f->setValid(valid);
    if (!valid)
        f->setMessage("0 to 1");
    return f;
}

// The properties field's text field focused (its message shows when it has one).
void propertiesFocused(ControlHarness& h) {
    auto f = std::dynamic_pointer_cast<ValidatingPropertiesField>(heldControl(h));
    h.focus(f->textField());
}

// The declarative field over a state of its own, in a tree of views.
SwiftUI::AnyView declarative() {
    SwiftUI::State<std::string> text("480");
    // Each keystroke and the end of an edit, in the log.
    auto edited = [text](bool editing) {
        GalleryActionLog::shared()->say(editing ? "declarative: editing \"" + text.get() + "\""
                                                : "declarative: edit ended");
    };
    return SwiftUI::AnyView(QuarroStyledTextField("Delay in ms", text.binding(), nullptr, edited)
                                .frame(180, 22)
                                .padding(9));
}

GallerySheet textFields() {
    const CGSize size{200, 40};
    return {"text-fields",
            4,
            {
                controlCell("empty, placeholder", size, [] { return field(""); }),
                controlCell("with text", size, [] { return field("250"); }),
                controlCell("disabled", size, disabled),
                controlCell("not bezeled", size, plain),
                controlCell(
                    "focused", size, [] { return field("250"); }, focusedControl),
                controlCell(
                    "focused, window not key", size, [] { return field("250"); },
                    focusedInInactiveWindow),
                controlCell("width-resizing", size,
                            [] {
                                auto f = field<WidthResizingTextField>("Grows with its text");
                                f->setFrameSize(f->intrinsicContentSize());
                                return f;
                            }),
                controlCell("text label", size, [] { return label<StyledTextLabel>("Feedback"); }),
                controlCell("table row label", size,
                            [] { return label<StyledTableRowLabel>("1234 ms"); }),
                controlCell("table group-row label", size,
                            [] { return label<StyledTableGroupRowLabel>("Delay lines"); }),
                GalleryCell{"declarative", declarative, size},
            }};
}

GallerySheet validatingFields() {
    const CGSize size{200, 90};
    return {"validating-fields",
            4,
            {
                controlCell("valid", size, [] { return validating("250"); }),
                controlCell("invalid", size, [] { return validating("25000"); }),
                controlCell(
                    "invalid, focused: message", size, [] { return validating("25000"); },
                    focusedAndTyped),
                controlCell(
                    "valid, focused", size, [] { return validating("250"); }, focusedControl),
                controlCell("properties", size, [] { return properties(false, true); }),
                controlCell("properties, icon", size, [] { return properties(true, true); }),
                controlCell("properties, invalid", size, [] { return properties(true, false); }),
                controlCell(
                    "properties, focused", size, [] { return properties(true, true); },
                    propertiesFocused),
                controlCell(
                    "properties, invalid, focused: message", size,
                    [] { return properties(true, false); }, propertiesFocused),
            }};
}

const GalleryRegistration fields([] {
    return std::vector<GallerySheet>{textFields(), validatingFields()};
});

} // namespace
