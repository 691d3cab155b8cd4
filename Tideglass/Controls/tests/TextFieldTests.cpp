// The styled text field and its cell, the width-resizing field, the labels and the
// validating field: geometry, drawing, the field editor's set-up and the message
// pop-over's state machine.

#include "Controls/StyledTableHeader.h"
#include "Controls/StyledTextField.h"
#include "Controls/StyledTextLabel.h"
#include "Controls/ValidatingPropertiesField.h"
#include "Controls/ValidatingTextField.h"
#include "SwiftUISupport/QuarroStyledTextField.h"

#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const CGFloat huge = std::numeric_limits<CGFloat>::max();

// The text's height in the style's font (what the title rect centres).
CGFloat textHeight(const StyledTextFieldCell& cell) {
    return cell.attributedStringValue().size().height;
}

TEST(StyledTextField, GeometryFollowsPaddingInsetsAndTheBezelImage) {
    RunLoopTestScope scope;
    auto field = make<StyledTextField>(CGRect{20, 10, 160, 22});
    field->setStringValue("Delay");
    auto cell = std::dynamic_pointer_cast<StyledTextFieldCell>(field->cell());
    ASSERT_TRUE(cell);
    const CGRect b = field->bounds();
    const CGFloat h = textHeight(*cell);
    // Padding 2, 6, 2, 6 off the bounds; the text's height centred in that.
    EXPECT_EQ(cell->drawingRectForBounds(b), (CGRect{6, 2, 148, 18}));
    EXPECT_EQ(cell->titleRectForBounds(b), (CGRect{6, 2 + (18 - h) / 2, 148, h}));
    field->setVerticallyCenter(false);
    EXPECT_FALSE(cell->verticallyCenter);
    EXPECT_EQ(cell->titleRectForBounds(b), (CGRect{6, 2, 148, 18}));
    field->setVerticallyCenter(true);

    // Insets and baselines (an unflipped field: from the title rect's bottom and top).
    field->verticalInset = 3;
    EXPECT_EQ(field->alignmentRectInsets(), (NSEdgeInsets{3, 2, 3, 2}));
    const CGRect t = cell->titleRectForBounds(b);
    EXPECT_EQ(field->firstBaselineOffsetFromTop(), b.maxY() - t.minY() + 3);
    EXPECT_EQ(field->lastBaselineOffsetFromBottom(), b.minY() + t.minY() - 3);
    EXPECT_EQ(StyledTextField::withVerticalPadding({}, 4)->verticalInset, 4);

    // The bezel image (100 × 22) is the floor of the intrinsic size; an editable field
    // has no width of its own otherwise.
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize{100, 22}));
    field->setBezeled(false);
    EXPECT_EQ(cell->drawingRectForBounds(b), b);
    EXPECT_EQ(field->alignmentRectInsets(), (NSEdgeInsets{}));
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize{NSView::noIntrinsicMetric, h}));
    field->setBordered(true); // a border counts as a bezel
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize{100, 22}));
}

struct DrawCase {
    const char* what;
    std::function<void(StyledTextField&)> set;
    const char* bezel; // the image drawn, or none
    const char* text;  // the text drawn
    std::shared_ptr<NSColor> color;
};

TEST(StyledTextField, DrawsTheStatesBezelTextAndPlaceholder) {
    RunLoopTestScope scope;
    const auto style = StyledTextFieldCell::classStyle();
    const DrawCase cases[] = {
        {"a value", [](StyledTextField& f) { f.setStringValue("Feedback"); }, "tgui-textfield",
         "Feedback", style->textColor()},
        {"empty with a placeholder", [](StyledTextField& f) { f.setPlaceholderString("Name"); },
         "tgui-textfield", "Name", Styles::TextInput::placeholderTextColor()},
        {"disabled",
         [](StyledTextField& f) {
             f.setStringValue("Off");
             f.setEnabled(false);
         },
         "tgui-textfield", "Off", style->disabledTextColor()},
        {"without bezel",
         [](StyledTextField& f) {
             f.setStringValue("Plain");
             f.setBezeled(false);
         },
         nullptr, "Plain", style->textColor()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto field = make<StyledTextField>(CGRect{20, 10, 160, 22});
        c.set(*field);
        auto h = ControlHarness::holding(field, {200, 42}, 2);
        auto cell = std::dynamic_pointer_cast<StyledTextFieldCell>(field->cell());
        const CGRect where = h.rectOf(*field);
        if (c.bezel) {
            auto bezel = h.image(c.bezel);
            ASSERT_TRUE(bezel);
            EXPECT_EQ(bezel->rect, where);
        } else {
            EXPECT_TRUE(h.images().empty());
        }
        auto text = h.text(c.text);
        ASSERT_TRUE(text);
        EXPECT_EQ(text->color, c.color->cgColor());
        EXPECT_EQ(text->fontSize, style->font()->pointSize());
        // 2 points right of the title rect in a bezel, one device pixel left without.
        const CGRect t = cell->titleRectForBounds(field->bounds());
        EXPECT_NEAR(text->rect.minX(), where.minX() + t.minX() + (c.bezel ? 2 : -0.5), 1e-9);
        EXPECT_NEAR(text->rect.minY(), where.maxY() - t.maxY(), 0.01);
        // No focus, no ring.
        EXPECT_TRUE(h.items(ControlHarness::Kind::stroke).empty());
    }
}

TEST(StyledTextField, TheFocusRingShowsOnlyInTheKeyWindowWithFocusAndTheEditorDrawsTheText) {
    RunLoopTestScope scope;
    auto field = make<StyledTextField>(CGRect{20, 10, 160, 22});
    field->setStringValue("Mix");
    auto h = ControlHarness::holding(field, {200, 42});
    auto cell = std::dynamic_pointer_cast<StyledTextFieldCell>(field->cell());
    ASSERT_TRUE(h.focus(field));
    auto strokes = h.items(ControlHarness::Kind::stroke);
    ASSERT_EQ(strokes.size(), 1u);
    // The mask (the frame) inset by 2, grown by half the 2-point line.
    EXPECT_EQ(strokes[0].rect, h.rectOf(*field).insetBy(2, 2).insetBy(-1, -1));
    EXPECT_EQ(strokes[0].color, StyledTextFieldCell::classStyle()->focusRingColor()->cgColor());
    // The editor, over the title rect, draws the text; the cell does not.
    auto editor = std::dynamic_pointer_cast<NSTextView>(field->currentEditor());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->frame(), cell->titleRectForBounds(field->bounds()));
    auto texts = h.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Mix");
    EXPECT_TRUE(h.image("tgui-textfield"));
    // Another window key: no ring.
    h.window->resignKeyWindow();
    EXPECT_TRUE(h.items(ControlHarness::Kind::stroke).empty());
}

TEST(StyledTextField, TheFieldEditorTakesTheStylesFontAndColours) {
    RunLoopTestScope scope;
    auto field = make<StyledTextField>(CGRect{20, 10, 160, 22});
    auto h = ControlHarness::holding(field, {200, 42});
    h.focus(field);
    auto editor = std::dynamic_pointer_cast<NSTextView>(field->currentEditor());
    ASSERT_TRUE(editor);
    // Edited (as a click into the field starts it) the editor lies over the title rect,
    // as when selected.
    auto cell = std::dynamic_pointer_cast<StyledTextFieldCell>(field->cell());
    cell->editWithFrame(field->bounds(), *field, *editor, field, nullptr);
    EXPECT_EQ(editor->frame(), cell->titleRectForBounds(field->bounds()));
    const auto style = StyledTextFieldCell::classStyle();
    EXPECT_EQ(editor->font, style->font());
    EXPECT_FALSE(editor->drawsBackground);
    EXPECT_EQ(editor->backgroundColor, style->textBackgroundColor());
    EXPECT_EQ(editor->textColor, style->textColor());
    EXPECT_EQ(editor->insertionPointColor, style->textColor());
    EXPECT_EQ(editor->selectedTextAttributes.color, style->selectedTextColor());
    EXPECT_EQ(editor->selectedTextAttributes.backgroundColor, style->selectedBackgroundColor());
    h.type("12");
    EXPECT_EQ(field->stringValue(), "12");
}

TEST(WidthResizingTextField, GrowsWithItsTextMeasuredAtAnUnboundedWidth) {
    RunLoopTestScope scope;
    auto field = make<WidthResizingTextField>(CGRect{0, 0, 40, 22});
    const auto font = StyledTextFieldCell::classStyle()->font()->cgFont();
    for (const char* text : {"1", "1.25 s", "a much longer value than the field is wide"}) {
        SCOPED_TRACE(text);
        field->setStringValue(text);
        const CGSize size = field->intrinsicContentSize();
        // The text, the editor's 2-point padding each side and the style's 6-point padding.
        EXPECT_NEAR(size.width, CGTextMeasure(text, font).width + 4 + 12, 0.01);
        EXPECT_EQ(size, field->cell()->cellSizeForBounds({0, 0, huge, 22}));
    }
    // A wrapping field is measured on one line too, not wrapped at its present width.
    std::dynamic_pointer_cast<NSTextFieldCell>(field->cell())->wraps = true;
    const std::string longer = "a value that would wrap in forty points";
    field->setStringValue(longer);
    EXPECT_NEAR(field->intrinsicContentSize().width, CGTextMeasure(longer, font).width + 4 + 12,
                0.01);
}

TEST(StyledTextLabel, LabelsDrawTheirOwnFontsAndColoursWithoutBezelOrPadding) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        std::shared_ptr<StyledTextField> field;
        std::shared_ptr<NSFont> font;
        std::shared_ptr<NSColor> color;
    };
    const Case cases[] = {
        {"text label", make<StyledTextLabel>(CGRect{10, 10, 150, 20}), Styles::Label::font(),
         Styles::Label::nsTextColor()},
        {"row label", make<StyledTableRowLabel>(CGRect{10, 10, 150, 20}), Styles::TableRow::font(),
         Styles::TableRow::textColor()},
        {"group row label", make<StyledTableGroupRowLabel>(CGRect{10, 10, 150, 20}),
         Styles::TableGroupRow::font(), Styles::TableGroupRow::textColor()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.field->setStringValue("0.5 s");
        auto cell = std::dynamic_pointer_cast<StyledTextFieldCell>(c.field->cell());
        EXPECT_EQ(cell->drawingRectForBounds(c.field->bounds()), c.field->bounds());
        auto h = ControlHarness::holding(c.field, {200, 40});
        EXPECT_TRUE(h.images().empty()); // bezeled, yet no art
        auto text = h.text("0.5 s");
        ASSERT_TRUE(text);
        EXPECT_EQ(text->fontSize, c.font->pointSize());
        EXPECT_EQ(cell->font, c.font); // the row label's digits are of equal width
        EXPECT_EQ(text->color, c.color->cgColor());
        // The style's insets; bordered or bezeled, no image to subtract them from.
        EXPECT_EQ(c.field->alignmentRectInsets(), (NSEdgeInsets{2, 2, 2, 2}));
        const CGSize bezeled = c.field->intrinsicContentSize();
        c.field->setBezeled(false);
        c.field->setBordered(true);
        EXPECT_EQ(c.field->intrinsicContentSize(), bezeled);
    }
    EXPECT_EQ(StyledTableRowLabelCell::classStyle()->selectedFont(),
              Styles::TableRow::selectedFont());
    // A disabled label draws in the label's disabled colour.
    auto disabled = make<StyledTextLabel>(CGRect{10, 10, 150, 20});
    disabled->setStringValue("Off");
    disabled->setEnabled(false);
    auto h = ControlHarness::holding(disabled, {200, 40});
    ASSERT_TRUE(h.text("Off"));
    EXPECT_EQ(h.text("Off")->color, Styles::Label::disabledTextColor()->cgColor());
    EXPECT_TRUE(Styles::TableRow::font()->isMonospacedDigits());
}

TEST(StyledTextLabel, OnlyABezeledLabelTakesItsInsetsOffTheBezelArt) {
    RunLoopTestScope scope;
    // The label style given art for a while: the label then measures against it.
    const auto style = StyledTextLabelCell::classStyle();
    const StateImages kept = style->bezelImages();
    auto art = TideglassResources::nsImage("tgui-textfield");
    style->setBezelImages({{StyledControlState::default_, art}});
    auto label = make<StyledTextLabel>(CGRect{10, 10, 20, 10});
    label->setStringValue("1");
    const NSEdgeInsets i = style->alignmentRectInsets();
    struct Case {
        const char* what;
        bool bezeled, bordered;
        CGSize size;
    };
    const CGSize image = art->size();
    const Case cases[] = {
        {"bezeled",
         true,
         false,
         {image.width - (i.left + i.right), image.height - (i.top + i.bottom)}},
        {"bordered only", false, true, image},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        label->setBezeled(c.bezeled);
        label->setBordered(c.bordered);
        EXPECT_EQ(label->intrinsicContentSize(), c.size);
    }
    style->setBezelImages(kept);
}

TEST(ValidatingTextField, TheMessagePopoverFollowsFocusAndTyping) {
    RunLoopTestScope scope;
    auto field = make<ValidatingTextField>(CGRect{20, 60, 160, 22});
    auto other = make<StyledTextField>(CGRect{20, 100, 160, 22});
    auto content = make<NSView>(CGRect{0, 0, 240, 140});
    content->addSubview(field);
    content->addSubview(other);
    ControlHarness h(content, {240, 140});
    const auto& popover = field->popoverController()->popover();
    auto shownText = [&] { return popover->contentTextField()->stringValue(); };
    struct Case {
        const char* what;
        std::function<void()> act;
        bool shown;
        std::string text;
    };
    CGSize sizeWhenShown;
    const Case cases[] = {
        {"focused with no message", [&] { h.focus(field); }, false, ""},
        {"a message set while focused waits", [&] { field->setMessage("Too low"); }, false, ""},
        {"the next keystroke shows it", [&] { h.type("1"); }, true, "Too low"},
        {"replaced in place",
         [&] {
             sizeWhenShown = popover->contentSize();
             field->setMessage("Must be at least 10 ms");
             h.type("2");
         },
         true, "Must be at least 10 ms"},
        {"tabbing out closes it", [&] { h.key(NSEventSpecialKey::tab); }, false,
         "Must be at least 10 ms"},
        {"tabbing back in shows it again", [&] { h.key(NSEventSpecialKey::tab); }, true,
         "Must be at least 10 ms"},
        {"a keystroke with no message closes it",
         [&] {
             field->setMessage(std::nullopt);
             h.type("0");
         },
         false, "Must be at least 10 ms"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(popover->isShown(), c.shown);
        EXPECT_EQ(shownText(), c.text);
        EXPECT_EQ(h.text(c.text).has_value(), c.shown && !c.text.empty());
        if (std::string(c.what) == "replaced in place")
            EXPECT_EQ(popover->contentSize(), sizeWhenShown);
    }
}

TEST(ValidatingTextField, InvalidDrawsTheErrorBezelAndColoursButNoPopover) {
    RunLoopTestScope scope;
    auto field = make<ValidatingTextField>(CGRect{20, 10, 160, 22});
    field->setStringValue("abc");
    field->setMessage("Not a number");
    auto h = ControlHarness::holding(field, {200, 42});
    field->setValid(false);
    EXPECT_TRUE(field->needsDisplay());
    EXPECT_TRUE(h.image("tgui-textfield-error"));
    EXPECT_EQ(h.text("abc")->color,
              StyledTextFieldCell::classStyle()->invalidTextColor()->cgColor());
    EXPECT_FALSE(field->popoverController()->popover()->isShown());
    // Focused: the ring takes the invalid colour.
    h.focus(field);
    auto strokes = h.items(ControlHarness::Kind::stroke); // the ring, the pop-over's panel
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0].color,
              StyledTextFieldCell::classStyle()->invalidFocusRingColor()->cgColor());
    EXPECT_TRUE(field->popoverController()->popover()->isShown()); // focus arrived
    field->setToolTip("Delay in ms");
    EXPECT_EQ(field->toolTip(), "Delay in ms");
    EXPECT_EQ(field->textField(), field);
}

TEST(TextFieldDeathTest, RefusedCellsAndUnsupportedInitialisersEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* message;
    };
    const Case cases[] = {
        {"a plain cell in a styled field",
         [] { make<StyledTextField>()->setCell(make<NSTextFieldCell>()); }, "StyledTextFieldCell"},
        {"a styled cell in a validating field",
         [] { make<ValidatingTextField>()->setCell(make<StyledTextFieldCell>()); },
         "ValidatingTextFieldCell"},
        {"a styled cell in a label",
         [] { make<StyledTextLabel>()->setCell(make<StyledTextFieldCell>()); },
         "StyledTextLabelCell"},
        {"a plain cell in a row label",
         [] { make<StyledTableRowLabel>()->setCell(make<NSTextFieldCell>()); },
         "StyledTableRowLabelCell"},
        {"a row label's cell in a group-row label",
         [] { make<StyledTableGroupRowLabel>()->setCell(make<StyledTableRowLabelCell>()); },
         "StyledTableGroupRowLabelCell"},
        {"a header cell from a text alone", [] { StyledTableHeaderCell::withTextCell("Name"); },
         "unimplemented initializer 'init\\(textCell:\\)' for class "
         "'Tideglass.StyledTableHeaderCell'"},
        {"a properties field with a frame",
         [] {
             ValidatingPropertiesField::withFrame(CGRect{0, 0, 80, 24});
         },
         "unimplemented initializer 'init\\(frame:\\)' for class "
         "'Tideglass.ValidatingPropertiesField'"},
        {"a properties field from an archive", [] { ValidatingPropertiesField::fromArchive(); },
         "init\\(coder:\\) has not been implemented"},
        {"a declarative field's coordinator without its view",
         [] { QuarroStyledTextFieldCoordinator::plain(); },
         "unimplemented initializer 'init\\(\\)' for class "
         "'Tideglass.QuarroStyledTextField.Coordinator'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.act(), c.message);
    }
    // None is accepted: the field takes a new cell of its own class.
    auto label = make<StyledTableGroupRowLabel>();
    label->setCell(nullptr);
    EXPECT_TRUE(std::dynamic_pointer_cast<StyledTableGroupRowLabelCell>(label->cell()));
}

} // namespace
