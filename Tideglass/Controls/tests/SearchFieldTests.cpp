// The styled search field: its size from the art, the padded drawing rectangle, where
// the search text goes, the placeholder, the cancel button, the art and the focus ring,
// and the action sent as the person types.

#include "Controls/StyledSearchField.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSTextView.h"
#include "Foundation/RunLoop.h"
#include "Styles/Styles.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Kind = CGDisplayItem::Kind;

// A 200 × 22 field at (10, 10) of a key window.
struct SearchScene {
    RunLoopTestScope scope;
    std::shared_ptr<StyledSearchField> field = make<StyledSearchField>(CGRect{10, 10, 200, 22});
    ControlHarness h = ControlHarness::holding(field, {220, 42});
    std::shared_ptr<StyledSearchFieldCell> cell() const {
        return std::dynamic_pointer_cast<StyledSearchFieldCell>(field->cell());
    }
};

TEST(StyledSearchField, SizesItselfFromTheArtLessTheAlignmentInsets) {
    SearchScene s;
    const NSEdgeInsets insets = SearchFieldCellStyle().alignmentRectInsets();
    EXPECT_EQ(s.field->alignmentRectInsets(), insets);
    const CGSize art = SearchFieldCellStyle().bezelImage(StyledControlState::default_)->size();
    const CGSize size = s.field->intrinsicContentSize();
    EXPECT_EQ(size.width, art.width - insets.left - insets.right);
    EXPECT_GE(size.height, art.height - insets.top - insets.bottom);
    s.field->setBezeled(false);
    EXPECT_EQ(s.field->intrinsicContentSize(), s.field->NSSearchField::intrinsicContentSize());
}

TEST(StyledSearchFieldCell, TheDrawingRectIsPaddedExceptWhileTheEditorIsPlaced) {
    SearchScene s;
    const CGRect b = s.field->bounds();
    EXPECT_EQ(s.cell()->drawingRectForBounds(b), (CGRect{6, 2, 188, 18}));
    // The editor goes where the search text is, unpadded.
    s.field->setStringValue("echo");
    ASSERT_TRUE(s.h.focus(s.field));
    auto editor = s.field->currentEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->frame(), s.cell()->searchTextRectForBounds(b));
    EXPECT_FALSE(editor->drawsBackground);
    s.field->abortEditing();
    s.cell()->isBezeled = false;
    EXPECT_EQ(s.cell()->drawingRectForBounds(b), b);
}

TEST(StyledSearchFieldCell, TheSearchTextLiesBetweenIconAndCancelButton) {
    struct Case {
        const char* what;
        std::function<void(StyledSearchFieldCell&)> set;
        CGRect expected; // for bounds (0, 0, 200, 22), text 0 high (empty)
    };
    const Case cases[] = {
        {"after the icon, up to the cancel button", [](auto&) {}, {16, 11, 164, 0}},
        {"no icon: from x 4", [](auto& c) { c.showsSearchIcon = false; }, {4, 11, 176, 0}},
        {"no cancel button: the base width",
         [](auto& c) { c.cancelButtonCell = nullptr; },
         {16, 11, 174, 0}},
        {"not centred: the base's y and height",
         [](auto& c) { c.verticallyCenter = false; },
         {16, 0, 164, 22}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SearchScene s;
        s.field->setStringValue("");
        c.set(*s.cell());
        CGRect r = s.cell()->searchTextRectForBounds({0, 0, 200, 22});
        EXPECT_EQ(r.minX(), c.expected.minX());
        EXPECT_EQ(r.width(), c.expected.width());
        if (!s.cell()->verticallyCenter)
            EXPECT_EQ(r, c.expected);
    }
    SearchScene s;
    s.field->setStringValue("wide text");
    ASSERT_GT(s.cell()->attributedStringValue().size().height, 4);
    const CGRect low = s.cell()->searchTextRectForBounds({0, 0, 200, 4});
    EXPECT_GE(low.minY(), 0) << "never above the field in a flipped view";
}

TEST(StyledSearchField, DrawsArtPlaceholderTextAndCancelButtonByState) {
    const auto placeholderColour = Styles::TextInput::placeholderTextColor()->cgColor();
    struct Case {
        const char* what;
        std::function<void(SearchScene&)> set;
        const char* art;
        const char* text; // "" for none
        bool placeholderColoured;
        bool cancel;
    };
    const Case cases[] = {
        {"empty, no placeholder", [](SearchScene&) {}, "tgui-searchfield", "", false, false},
        {"a placeholder", [](SearchScene& s) { s.field->setPlaceholderString("Find presets"); },
         "tgui-searchfield", "Find presets", true, false},
        {"a placeholder cleared with none",
         [](SearchScene& s) {
             s.field->setPlaceholderString("Find presets");
             s.field->setPlaceholderString(std::nullopt);
         },
         "tgui-searchfield", "", false, false},
        {"text", [](SearchScene& s) { s.field->setStringValue("tape"); }, "tgui-searchfield",
         "tape", false, true},
        {"no search icon: the text field's art",
         [](SearchScene& s) { s.cell()->showsSearchIcon = false; }, "tgui-textfield", "", false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SearchScene s;
        c.set(s);
        s.h.turn();
        auto art = s.h.image(c.art);
        ASSERT_TRUE(art);
        EXPECT_EQ(art->rect, s.h.rectOf(*s.field));
        auto texts = s.h.texts();
        if (*c.text) {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0].text, c.text);
            EXPECT_EQ(texts[0].color == placeholderColour, c.placeholderColoured);
            // In the search-text rectangle moved 2 points right.
            const CGRect r = s.cell()->searchTextRectForBounds(s.field->bounds());
            EXPECT_EQ(texts[0].rect.minX(), 10 + r.minX() + 2);
        } else {
            EXPECT_TRUE(texts.empty());
        }
        // The cancel button's disc, drawn in the last 22 points of the field.
        bool cancel = false;
        for (const auto& fill : s.h.items(Kind::fill))
            cancel = cancel || fill.rect.minX() >= s.h.rectOf(*s.field).maxX() - 22;
        EXPECT_EQ(cancel, c.cancel);
    }
}

TEST(StyledSearchField, WhileEditedTheEditorShowsTheTextInTheStylesColoursWithTheRing) {
    SearchScene s;
    s.field->setStringValue("tape");
    ASSERT_TRUE(s.h.focus(s.field));
    s.h.turn();
    auto* editor = dynamic_cast<NSTextView*>(s.field->currentEditor().get());
    ASSERT_TRUE(editor);
    const SearchFieldCellStyle style;
    EXPECT_EQ(editor->textColor->cgColor(), style.textColor()->cgColor());
    EXPECT_EQ(editor->insertionPointColor->cgColor(), style.textColor()->cgColor());
    EXPECT_EQ(editor->selectedTextAttributes.color->cgColor(),
              style.selectedTextColor()->cgColor());
    EXPECT_EQ(editor->selectedTextAttributes.backgroundColor->cgColor(),
              style.selectedBackgroundColor()->cgColor());
    // The cell draws no text of its own; the ring lies inside the field.
    for (const auto& text : s.h.texts())
        EXPECT_GT(text.rect.minX(), s.h.rectOf(*s.field).minX() + 10) << "only the editor's";
    auto strokes = s.h.items(Kind::stroke);
    ASSERT_FALSE(strokes.empty());
    EXPECT_EQ(strokes.back().rect, s.h.rectOf(*s.field).insetBy(1, 1).insetBy(-1, -1));
}

TEST(NSSearchField, TypingSendsTheActionAfterAPauseReturnAtOnceCancelClears) {
    SearchScene s;
    struct Receiver : NSObject {
        std::vector<std::string> seen;
        void search(NSObject* sender) {
            seen.push_back(dynamic_cast<NSControl*>(sender)->stringValue());
        }
    };
    auto receiver = make<Receiver>();
    s.field->setTarget(receiver);
    s.field->setAction(&Receiver::search);
    s.h.click(s.h.centre(*s.field));
    s.h.type("ta");
    EXPECT_TRUE(receiver->seen.empty()) << "not before the pause";
    s.scope.clock().advance(NSSearchField::searchDelay + 0.01);
    s.h.turn();
    EXPECT_EQ(receiver->seen, (std::vector<std::string>{"ta"}));
    s.h.type("pe");
    s.h.key(NSEventSpecialKey::carriageReturn);
    s.scope.clock().advance(1);
    s.h.turn();
    EXPECT_EQ(receiver->seen, (std::vector<std::string>{"ta", "tape"})) << "Return, once";
    const CGRect field = s.h.rectOf(*s.field);
    s.h.click({field.maxX() - 11, field.midY()});
    EXPECT_EQ(s.field->stringValue(), "");
    EXPECT_EQ(receiver->seen.back(), "");
}

} // namespace
