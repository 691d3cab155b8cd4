// The search field for declarative views: the field it makes, and the search text's
// round trip between field and binding, also across rebuilds and stray updates.

#include "SwiftUISupport/StyledSearchFieldWrapper.h"

#include "AppKit/NSAppearance.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

namespace {

using Context = StyledSearchFieldWrapper::Context;

// A binding over a string of the test's.
SwiftUI::Binding<std::string> over(std::string& text) {
    return SwiftUI::Binding<std::string>([&text] { return text; },
                                         [&text](const std::string& v) { text = v; });
}

// A wrapper's field in a key window, made and updated as the view graph would.
struct WrapperScene {
    RunLoopTestScope scope;
    std::string text;
    StyledSearchFieldWrapper wrapper{over(text), "Find presets"};
    Context context{wrapper.makeCoordinator(), {}};
    std::shared_ptr<StyledSearchField> field = [this] {
        auto f = wrapper.makeNSView(context);
        f->setFrame({10, 10, 200, 22});
        wrapper.updateNSView(*f, context);
        return f;
    }();
    ControlHarness h = ControlHarness::holding(field, {220, 42});
    // Types into the field and lets the search action go out.
    void typeAndWait(const std::string& keys) {
        h.type(keys);
        scope.clock().advance(NSSearchField::searchDelay + 0.01);
        h.turn();
    }
};

TEST(StyledSearchFieldWrapper, MakesASmallDarkFieldThatDoesNotCentreItsText) {
    WrapperScene s;
    EXPECT_EQ(s.field->controlSize(), NSControlSize::small);
    EXPECT_EQ(s.field->font()->pointSize(), 11);
    auto cell = std::dynamic_pointer_cast<StyledSearchFieldCell>(s.field->cell());
    EXPECT_EQ(cell->placeholder(), "Find presets");
    EXPECT_EQ(s.field->bezelStyle, NSTextField::BezelStyle::rounded);
    EXPECT_EQ(s.field->appearance->name(), NSAppearanceName::darkAqua);
    EXPECT_FALSE(s.field->verticallyCenter());
    EXPECT_FALSE(cell->verticallyCenter);
    EXPECT_TRUE(make<StyledSearchField>()->verticallyCenter()) << "unlike a field of its own";
}

TEST(StyledSearchFieldWrapper, TheTextRoundTripsBetweenFieldAndBinding) {
    WrapperScene s;
    s.h.click(s.h.centre(*s.field));
    s.typeAndWait("tape");
    EXPECT_EQ(s.text, "tape");
    s.wrapper.updateNSView(*s.field, s.context);
    EXPECT_EQ(s.field->stringValue(), "tape");
    // Cleared from outside: the field follows at the next update.
    s.text.clear();
    s.wrapper.updateNSView(*s.field, s.context);
    EXPECT_EQ(s.field->stringValue(), "");
}

TEST(StyledSearchFieldWrapper, AStrayUpdateKeepsWhatWasJustTyped) {
    WrapperScene s;
    s.h.click(s.h.centre(*s.field));
    s.h.type("ta");
    s.wrapper.updateNSView(*s.field, s.context); // before the delayed action
    EXPECT_EQ(s.field->stringValue(), "ta");
    s.scope.clock().advance(NSSearchField::searchDelay + 0.01);
    s.h.turn();
    EXPECT_EQ(s.text, "ta");
}

TEST(StyledSearchFieldWrapper, ARebuiltViewsUpdateSendsTheTextToItsNewBinding) {
    WrapperScene s;
    std::string newer;
    StyledSearchFieldWrapper rebuilt{over(newer), "Find presets"};
    rebuilt.updateNSView(*s.field, s.context);
    s.h.click(s.h.centre(*s.field));
    s.typeAndWait("echo");
    EXPECT_EQ(newer, "echo");
    EXPECT_EQ(s.text, "") << "the old binding is left alone";
}

} // namespace
