// The styled text field for declarative views: the environment's text settings on the
// field, and the text's round trip between field and binding.

#include "SwiftUISupport/QuarroStyledTextField.h"

#include "AppKit/NSText.h"
#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

namespace {

using SwiftUI::EnvironmentValues;
using Context = QuarroStyledTextField::Context;

TEST(QuarroStyledTextField, TheEnvironmentsTextSettingsReachTheFieldOnCreationAndUpdate) {
    RunLoopTestScope scope;
    std::string text;
    SwiftUI::Binding<std::string> binding([&] { return text; },
                                          [&](const std::string& v) { text = v; });
    struct Case {
        const char* what;
        std::function<void(EnvironmentValues&)> set;
        bool tightening;
        int lines;
        NSTextAlignment alignment;
        NSLineBreakMode lineBreak;
        bool enabled;
    };
    const Case cases[] = {
        {"the defaults: no line limit, leading, tail", [](EnvironmentValues&) {}, false, 0,
         NSTextAlignment::left, NSLineBreakMode::byTruncatingTail, true},
        {"one line, centred, head, tightening",
         [](EnvironmentValues& e) {
             e.lineLimit = 1;
             e.textAlignment = SwiftUI::TextAlignment::center;
             e.truncationMode = SwiftUI::TruncationMode::head;
             e.allowsTightening = true;
         },
         true, 1, NSTextAlignment::center, NSLineBreakMode::byTruncatingHead, true},
        {"trailing, middle, disabled",
         [](EnvironmentValues& e) {
             e.textAlignment = SwiftUI::TextAlignment::trailing;
             e.truncationMode = SwiftUI::TruncationMode::middle;
             e.isEnabled = false;
         },
         false, 0, NSTextAlignment::right, NSLineBreakMode::byTruncatingMiddle, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QuarroStyledTextField view(std::nullopt, binding);
        Context context{view.makeCoordinator(), {}};
        c.set(context.environment);
        auto check = [&](const StyledTextField& field) {
            EXPECT_EQ(field.allowsDefaultTighteningForTruncation(), c.tightening);
            EXPECT_EQ(field.maximumNumberOfLines(), c.lines);
            EXPECT_EQ(field.alignment(), c.alignment);
            EXPECT_EQ(field.lineBreakMode(), c.lineBreak);
            EXPECT_EQ(field.isEnabled(), c.enabled);
        };
        auto field = view.makeNSView(context);
        check(*field);
        EXPECT_EQ(field->placeholderString(), std::nullopt);
        EXPECT_TRUE(field->allowsExpansionToolTips);
        EXPECT_FALSE(field->translatesAutoresizingMaskIntoConstraints);
        EXPECT_EQ(field->delegate(), context.coordinator);
        // An update over a field left in other settings brings the environment's back.
        field->setMaximumNumberOfLines(7);
        field->setEnabled(!c.enabled);
        field->setAlignment(NSTextAlignment::justified);
        field->setPlaceholderString("left over");
        view.updateNSView(*field, context);
        check(*field);
        EXPECT_EQ(field->placeholderString(), std::nullopt);
    }
}

TEST(QuarroStyledTextField, KeystrokesReachTheBindingAndUpdatesWriteOnlyOutsideChanges) {
    RunLoopTestScope scope;
    std::string text = "12";
    std::vector<bool> editing, laterEditing;
    SwiftUI::Binding<std::string> binding([&] { return text; },
                                          [&](const std::string& v) { text = v; });
    QuarroStyledTextField first("Delay", binding, nullptr,
                                [&](bool changing) { editing.push_back(changing); });
    Context context{first.makeCoordinator(), {}};
    auto field = first.makeNSView(context);
    first.updateNSView(*field, context); // as the tree does after making it
    EXPECT_EQ(field->stringValue(), "12");
    EXPECT_EQ(field->placeholderString(), "Delay");
    field->setFrame(CGRect{10, 10, 160, 22});
    auto h = ControlHarness::holding(field, {180, 42});
    h.focus(field);
    auto editor = field->currentEditor();
    ASSERT_TRUE(editor);
    editor->setSelectedRange({2, 0});

    struct Case {
        const char* what;
        std::function<void()> act;
        std::string binding, field;
        std::vector<bool> editing, laterEditing;
    };
    // Each update comes from a new value of the view with a new callback, as a rebuild makes.
    QuarroStyledTextField later("Delay", binding, nullptr,
                                [&](bool changing) { laterEditing.push_back(changing); });
    const Case cases[] = {
        {"every keystroke writes and reports",
         [&] { h.type("50"); },
         "1250",
         "1250",
         {true, true},
         {}},
        {"the update after it leaves the field and its caret",
         [&] {
             later.updateNSView(*field, context);
             EXPECT_EQ(editor->selectedRange().location, 4u);
         },
         "1250",
         "1250",
         {true, true},
         {}},
        {"later keystrokes reach the newest callback",
         [&] { h.type("0"); },
         "12500",
         "12500",
         {true, true},
         {true}},
        {"a change from elsewhere is written into the field",
         [&] {
             text = "80";
             later.updateNSView(*field, context);
         },
         "80",
         "80",
         {true, true},
         {true}},
        {"the end of editing reports once",
         [&] { h.window->makeFirstResponder(nullptr); },
         "80",
         "80",
         {true, true},
         {true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(text, c.binding);
        EXPECT_EQ(field->stringValue(), c.field);
        EXPECT_EQ(editing, c.editing);
        EXPECT_EQ(laterEditing, c.laterEditing);
    }
    EXPECT_TRUE(first.style); // made when none was given; kept, not applied
}

// A form holding the delay text in its own state, with a line that shows it.
struct DelayForm : SwiftUI::View<DelayForm> {
    std::vector<bool>* editing;
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const {
        auto text = ctx.state(std::string("12"));
        auto* log = editing;
        return SwiftUI::AnyView(SwiftUI::VStack(
            QuarroStyledTextField("Delay", text.binding(), nullptr,
                                  [log](bool changing) { log->push_back(changing); })
                .frame(160, 22)
                .lineLimit(1)
                .truncationMode(SwiftUI::TruncationMode::middle),
            SwiftUI::Text("Delay: " + text.get())));
    }
};

TEST(QuarroStyledTextField, InATreeOfViewsItsFieldTypesIntoTheStateAndTheTreeFollows) {
    RunLoopTestScope scope;
    std::vector<bool> editing;
    ControlHarness h(SwiftUI::AnyView(DelayForm{.editing = &editing}), {200, 80});
    std::shared_ptr<StyledTextField> field;
    for (const auto& view : h.host->subviews())
        if (auto f = std::dynamic_pointer_cast<StyledTextField>(view))
            field = f;
    ASSERT_TRUE(field);
    EXPECT_EQ(field->stringValue(), "12");
    EXPECT_EQ(field->placeholderString(), "Delay");
    // The modifiers reached it through the environment.
    EXPECT_EQ(field->maximumNumberOfLines(), 1);
    EXPECT_EQ(field->lineBreakMode(), NSLineBreakMode::byTruncatingMiddle);
    EXPECT_EQ(h.rectOf(*field).size, (CGSize{160, 22}));
    EXPECT_TRUE(h.text("12")); // drawn in the tree's order

    h.click(h.centre(*field));
    field->currentEditor()->setSelectedRange({2, 0});
    h.type("50");
    EXPECT_EQ(field->stringValue(), "1250");
    EXPECT_TRUE(h.text("Delay: 1250")); // the state changed and the tree was rebuilt
    EXPECT_EQ(editing, (std::vector<bool>{true, true}));
    // The same field and editor went on through the rebuilds.
    EXPECT_EQ(field->currentEditor()->selectedRange().location, 4u);
}

} // namespace
