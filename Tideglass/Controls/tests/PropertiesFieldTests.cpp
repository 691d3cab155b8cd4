// The validating properties field: its layout with and without the icon, its bezel,
// ring and text by focus and validity, the message pop-over and the icon's click.

#include "Controls/ValidatingPropertiesField.h"

#include "AppKit/NSTextView.h"
#include "AppKit/NSWindow.h"
#include "Controls/StyledTextField.h"
#include "Foundation/RunLoop.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Kind = ControlHarness::Kind;

struct PropertiesScene {
    RunLoopTestScope scope;
    std::shared_ptr<ValidatingPropertiesField> field;
    std::shared_ptr<NSTextField> other = make<NSTextField>(CGRect{20, 100, 120, 22});
    ControlHarness h;
    explicit PropertiesScene(std::shared_ptr<NSImage> icon = nullptr)
        : field(make<ValidatingPropertiesField>(std::move(icon))), h([this] {
              auto content = make<NSView>(CGRect{0, 0, 240, 140});
              field->setFrame(CGRect{20, 60, 120, 24});
              content->addSubview(field);
              content->addSubview(other);
              return ControlHarness(content, {240, 140});
          }()) {}
    // The field's rectangle in the window, widened by 2 points on each side.
    CGRect bezel() const { return h.rectOf(*field).insetBy(-2, 0); }
};

TEST(ValidatingPropertiesField,
     WithoutAnIconTheTextFillsItWithOneTheIconLeadsAtFourteenByTwentyFour) {
    {
        PropertiesScene s;
        EXPECT_EQ(s.field->icon(), nullptr);
        EXPECT_EQ(s.h.rectOf(*s.field->textField()), s.h.rectOf(*s.field));
    }
    PropertiesScene s(TideglassResources::nsImage("tgui-slider-handle"));
    ASSERT_TRUE(s.field->icon());
    EXPECT_TRUE(s.field->icon()->isContinuous());
    const CGRect f = s.h.rectOf(*s.field);
    const CGRect icon = s.h.rectOf(*s.field->icon());
    const CGRect text = s.h.rectOf(*s.field->textField());
    EXPECT_EQ(icon, (CGRect{f.minX() + 3, f.midY() - 12, 14, 24}));
    EXPECT_EQ(text.minX(), icon.maxX() + 8);
    EXPECT_EQ(text.maxX(), f.maxX() - 3);
    EXPECT_EQ(text.midY(), f.midY());
    // The text field is borderless, plain and in the small system font.
    const auto& t = s.field->textField();
    EXPECT_FALSE(t->isBordered());
    EXPECT_FALSE(t->isBezeled());
    EXPECT_FALSE(t->drawsBackground());
    EXPECT_EQ(t->focusRingType(), NSFocusRingType::none);
    EXPECT_EQ(t->font()->pointSize(), 10);
}

TEST(ValidatingPropertiesField, BezelRingAndTextFollowFocusAndValidity) {
    PropertiesScene s;
    s.field->textField()->setStringValue("42");
    const auto highlight = TideglassResources::nsColor("Highlight/System")->cgColor();
    const auto error = Styles::Control::errorFocusRingColor()->cgColor();
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* art;
        std::optional<CGColor> ring;
        std::optional<CGColor> text;
    };
    const Case cases[] = {
        {"at rest", [] {}, "tgui-textfield", std::nullopt,
         Styles::TextInput::textColor()->cgColor()},
        {"invalid: the error art at once",
         [&] {
             s.field->setValid(false);
             EXPECT_TRUE(s.field->needsDisplay());
         },
         "tgui-textfield-error", std::nullopt, Styles::TextInput::errorTextColor()->cgColor()},
        {"invalid and focused: the plain art, the error ring",
         [&] { s.h.focus(s.field->textField()); }, "tgui-textfield", error, std::nullopt},
        {"valid and focused: the highlight ring", [&] { s.field->setValid(true); },
         "tgui-textfield", highlight, std::nullopt},
        {"focus elsewhere: no ring", [&] { s.h.focus(s.other); }, "tgui-textfield", std::nullopt,
         Styles::TextInput::textColor()->cgColor()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(s.field->isSelected(), c.ring.has_value());
        auto art = s.h.image(c.art);
        ASSERT_TRUE(art);
        EXPECT_EQ(art->rect, s.bezel());
        // What the field alone draws, in its own points: the widened rectangle is
        // (−2, 0, width + 4, height).
        const auto own = s.h.drawnBy(*s.field);
        const CGRect local{-2, 0, s.field->frame().width() + 4, s.field->frame().height()};
        EXPECT_EQ(itemsOfKind(own, Kind::image).size(), 1u);
        auto strokes = itemsOfKind(own, Kind::stroke);
        ASSERT_EQ(strokes.size(), c.ring ? 1u : 0u);
        if (c.ring) {
            EXPECT_EQ(strokes[0].color, c.ring);
            // Radius-3 ring 2 points inside the widened rectangle, grown by half its width.
            EXPECT_EQ(strokes[0].rect, local.insetBy(1, 1));
            const auto fills = itemsOfKind(own, Kind::fill);
            auto ringFill = std::find_if(fills.begin(), fills.end(), [&](const auto& f) {
                return f.rect == local.insetBy(2, 2);
            });
            ASSERT_NE(ringFill, fills.end());
            EXPECT_EQ(ringFill->color, c.ring->withAlpha(0.3));
        } else {
            // Unfocused the text cell draws the text itself.
            EXPECT_EQ(s.h.text("42")->color, c.text);
        }
    }
}

TEST(ValidatingPropertiesField, TheTextSitsOnTheMiddleLineAndIsSelectedAsInTheOtherFields) {
    // Without an icon the text field is as high as the bezel: its line is centred in
    // it, not set against the top; with one, the text field is centred already.
    for (bool icon : {false, true}) {
        SCOPED_TRACE(icon ? "with an icon" : "without an icon");
        PropertiesScene s(icon ? TideglassResources::nsImage("tgui-slider-handle") : nullptr);
        s.field->textField()->setStringValue("0.50");
        auto text = s.h.text("0.50");
        ASSERT_TRUE(text);
        EXPECT_NEAR(text->rect.midY(), s.h.rectOf(*s.field).midY(), 0.5);
        // Edited, its line stays where it was drawn.
        ASSERT_TRUE(s.h.focus(s.field->textField()));
        auto editor = std::dynamic_pointer_cast<NSTextView>(s.field->textField()->currentEditor());
        ASSERT_TRUE(editor);
        EXPECT_NEAR(s.h.rectOf(*editor).midY(), s.h.rectOf(*s.field).midY(), 0.5);
        // The selection in the colours of the library's styled fields.
        const auto styled = StyledTextFieldCell::classStyle();
        EXPECT_EQ(editor->selectedTextAttributes.color->cgColor(),
                  styled->selectedTextColor()->cgColor());
        EXPECT_EQ(editor->selectedTextAttributes.backgroundColor->cgColor(),
                  styled->selectedBackgroundColor()->cgColor());
    }
}

TEST(ValidatingPropertiesField, TheMessageFollowsFocusAndSelectionButNotTyping) {
    PropertiesScene s;
    const auto& popover = s.field->popoverController()->popover();
    struct Case {
        const char* what;
        std::function<void()> act;
        bool shown;
        std::string text;
    };
    const Case cases[] = {
        {"focused with no message", [&] { s.h.focus(s.field->textField()); }, false, ""},
        {"a message set while focused waits", [&] { s.field->setMessage("0 to 100"); }, false, ""},
        {"typing does not show it", [&] { s.h.type("5"); }, false, ""},
        {"selected again: shown", [&] { s.field->setSelected(true); }, true, "0 to 100"},
        {"replaced in place at the next update",
         [&] {
             s.field->setMessage("Whole numbers only");
             s.field->setSelected(true);
         },
         true, "Whole numbers only"},
        {"tabbing out closes it", [&] { s.h.key(NSEventSpecialKey::tab); }, false,
         "Whole numbers only"},
        {"tabbing back in shows it", [&] { s.h.key(NSEventSpecialKey::tab); }, true,
         "Whole numbers only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(popover->isShown(), c.shown);
        EXPECT_EQ(popover->contentTextField()->stringValue(), c.text);
        if (c.shown) {
            EXPECT_EQ(popover->currentPositioningView(), s.field);
            auto drawn = s.h.text(c.text);
            ASSERT_TRUE(drawn);
            EXPECT_LT(drawn->rect.maxY(), s.h.rectOf(*s.field).minY()); // above the field
        }
    }
}

TEST(ValidatingPropertiesField, ClickingTheIconFocusesTheTextFieldInABackgroundWindow) {
    PropertiesScene s(TideglassResources::nsImage("tgui-slider-handle"));
    auto front = make<NSWindow>(CGRect{0, 0, 100, 100});
    front->makeKeyWindow();
    ASSERT_FALSE(s.h.window->isKeyWindow());
    s.h.click(s.h.centre(*s.field->icon()));
    EXPECT_TRUE(s.h.window->isKeyWindow());
    EXPECT_TRUE(hasKeyboardFocus(*s.field->textField()));
    EXPECT_TRUE(s.field->isSelected());
    // The field's tool tip is the view's own; `override` is only kept.
    s.field->setToolTip("Feedback in %");
    EXPECT_EQ(s.field->toolTip(), "Feedback in %");
    EXPECT_EQ(s.field->NSView::toolTip, "Feedback in %");
    s.field->override = "0.5";
    EXPECT_EQ(s.field->toolTip(), "Feedback in %");
}

} // namespace
