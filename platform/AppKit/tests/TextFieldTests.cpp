#include "AppKit/NSEventKeys.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSTextField.h"
#include "AppKit/NSTextView.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// What a text field's delegate heard, and the action it was sent.
struct Listener : NSObject, NSTextFieldDelegate {
    std::vector<std::string> heard;
    std::string takes; // a command this delegate handles
    int actions = 0;
    void controlTextDidBeginEditing(const Notification&) override { heard.push_back("begin"); }
    void controlTextDidChange(const Notification& n) override {
        heard.push_back("change " +
                        std::dynamic_pointer_cast<NSTextField>(n.object)->stringValue());
    }
    void controlTextDidEndEditing(const Notification& n) override {
        heard.push_back("end " + std::to_string(int(std::any_cast<NSTextMovement>(
                                     n.userInfo.at(NSText::movementUserInfoKey)))));
    }
    bool controlTextViewDoCommandBySelector(NSControl&, NSTextView&,
                                            const std::string& selector) override {
        return selector == takes;
    }
    void act(NSObject*) { ++actions; }
};

// A view that sees the cancelOperation the field editor passes up.
struct Container : NSView {
    using NSView::NSView;
    int cancels = 0;
    void cancelOperation(NSObject*) override { ++cancels; }
};

// Two fields and a label in a key window; the first field reports to `listener`.
struct FieldScene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 100});
    std::shared_ptr<Container> container = make<Container>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSTextField> first = make<NSTextField>(CGRect{10, 60, 120, 22});
    std::shared_ptr<NSTextField> label = NSTextField::labelWithString("Label");
    std::shared_ptr<NSTextField> second = make<NSTextField>(CGRect{10, 20, 120, 22});
    std::shared_ptr<Listener> listener = make<Listener>();
    FieldScene() {
        window->setContentView(container);
        container->addSubview(first);
        container->addSubview(label);
        container->addSubview(second);
        first->setDelegate(listener);
        first->setTarget(listener);
        first->setAction(&Listener::act);
        window->makeKeyWindow();
    }
    void click(CGPoint p, int clicks = 1) {
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, p, 0, clicks));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, p, 0, clicks));
    }
    void key(const std::string& characters, uint64_t flags = 0) {
        window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, characters, 0, flags));
        window->sendEvent(NSEvent::key(NSEvent::Type::keyUp, characters, 0, flags));
    }
    void key(NSEventSpecialKey k, uint64_t flags = 0) {
        char16_t c = char16_t(k);
        std::string s = c < 0x80
                            ? std::string(1, char(c))
                            : std::string{char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)),
                                          char(0x80 | (c & 0x3F))};
        key(s, flags);
    }
    void type(const std::string& text) {
        for (char c : text)
            key(std::string(1, c));
    }
    std::shared_ptr<NSTextView> editor() const {
        return std::dynamic_pointer_cast<NSTextView>(window->fieldEditor(false, nullptr));
    }
};

TEST(TextField, TypingEditsTheValueAndReturnActsAndSelectsItAgain) {
    FieldScene s;
    s.click({30, 70});
    ASSERT_TRUE(s.editor());
    EXPECT_EQ(s.first->currentEditor(), s.editor());
    EXPECT_EQ(s.window->firstResponder(), s.editor());
    EXPECT_TRUE(s.first->cell()->showsFirstResponder);
    s.type("ab");
    EXPECT_EQ(s.first->stringValue(), "ab"); // at once, while still editing
    s.key(NSEventSpecialKey::carriageReturn);
    EXPECT_EQ(s.listener->heard,
              (std::vector<std::string>{"begin", "change a", "change ab", "end 16"}));
    EXPECT_EQ(s.listener->actions, 1);
    // Still editing, the whole text selected.
    EXPECT_EQ(s.first->currentEditor(), s.editor());
    EXPECT_EQ(s.editor()->selectedRange(), (NSRange{0, 2}));
    s.type("z");
    EXPECT_EQ(s.first->stringValue(), "z");
}

TEST(TextField, TabMovesAlongTheKeyViewLoopAndEscapeGoesUpTheChain) {
    FieldScene s;
    s.first->setStringValue("one");
    s.click({30, 70});
    s.key(NSEventSpecialKey::tab);
    // The label cannot be key: the second field edits, the first has ended with Tab.
    EXPECT_EQ(s.second->currentEditor(), s.editor());
    EXPECT_EQ(s.first->currentEditor(), nullptr);
    EXPECT_FALSE(s.first->cell()->showsFirstResponder);
    EXPECT_EQ(s.listener->heard.back(), "end 17");
    EXPECT_EQ(s.listener->actions, 0); // only Return acts, unless asked
    s.key(NSEventSpecialKey::tab);     // round again to the first
    EXPECT_EQ(s.first->currentEditor(), s.editor());
    EXPECT_EQ(s.editor()->selectedRange(), (NSRange{0, 3}));
    s.key(NSEventSpecialKey::tab, NSEvent::shift); // Shift-Tab: back
    EXPECT_EQ(s.second->currentEditor(), s.editor());
    s.key("\x1b");
    EXPECT_EQ(s.container->cancels, 1);
    EXPECT_EQ(s.second->currentEditor(), s.editor()); // Escape does not end editing

    // A delegate may take a command first.
    s.click({30, 70});
    s.listener->takes = "insertTab:";
    s.key(NSEventSpecialKey::tab);
    EXPECT_EQ(s.first->currentEditor(), s.editor());
}

TEST(TextField, ClickingElsewhereEndsEditingAndActsOnlyWhenAskedTo) {
    FieldScene s;
    s.click({30, 70});
    s.type("x");
    s.click({30, 30});
    EXPECT_EQ(s.listener->heard.back(), "end 0");
    EXPECT_EQ(s.listener->actions, 0);
    EXPECT_EQ(s.second->currentEditor(), s.editor());
    s.first->textFieldCell()->sendsActionOnEndEditing = true;
    s.click({30, 70});
    s.click({30, 30});
    EXPECT_EQ(s.listener->actions, 1);
    // A value set in code while editing shows in the editor.
    s.second->setStringValue("set");
    EXPECT_EQ(s.editor()->string(), "set");
}

TEST(TextField, TheEditorsKeysMoveSelectAndDelete) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, uint64_t>> keys;
        std::string text;
        NSRange selection;
    };
    const std::string left = "\xEF\x9C\x82", right = "\xEF\x9C\x83", home = "\xEF\x9C\xA9",
                      forward = "\xEF\x9C\xA8";
    const Case cases[] = {
        {"typing replaces the selection", {{"x", 0}}, "x", {1, 0}},
        {"right collapses to the end", {{right, 0}, {"!", 0}}, "h\xC3\xA9llo!", {6, 0}},
        {"left then delete backwards", {{right, 0}, {left, 0}, {"\x7f", 0}}, "h\xC3\xA9lo", {3, 0}},
        {"delete across a two-byte character",
         {{home, 0}, {right, 0}, {forward, 0}},
         "hllo",
         {1, 0}},
        {"shift extends the selection",
         {{home, 0}, {right, NSEvent::shift}, {right, NSEvent::shift}, {"J", 0}},
         "Jllo",
         {1, 0}},
        {"command-A selects everything",
         {{home, 0}, {"a", NSEvent::command}},
         "h\xC3\xA9llo",
         {0, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FieldScene s;
        s.first->setStringValue("h\xC3\xA9llo");
        s.window->makeFirstResponder(s.first); // as Tab does: the whole text selected
        for (const auto& [k, flags] : c.keys)
            s.key(k, flags);
        EXPECT_EQ(s.editor()->string(), c.text);
        EXPECT_EQ(s.first->stringValue(), c.text);
        EXPECT_EQ(s.editor()->selectedRange(), c.selection);
    }
}

TEST(TextField, ACellDrawsItsTextOrPlaceholderAndTheEditorDrawsWhileEditing) {
    FieldScene s;
    s.first->setPlaceholderString("Name");
    auto drawn = [&] { return s.window->snapshot(true)->displayItems(CGDisplayItem::Kind::text); };
    auto texts = drawn();
    ASSERT_EQ(texts.size(), 2u); // the placeholder and the label
    EXPECT_EQ(texts[0].text, "Name");
    EXPECT_EQ(texts[0].color, NSColor::placeholderTextColor()->cgColor());
    // Two points in from the bezel's drawing rectangle, from its top.
    EXPECT_EQ(texts[0].rect.minX(), 10 + 2 + 2);
    EXPECT_EQ(texts[0].rect.minY(), 100 - 82 + 2);

    s.click({30, 70});
    s.type("Ann");
    texts = drawn();
    ASSERT_EQ(texts.size(), 2u); // the cell draws nothing now: the editor draws "Ann"
    EXPECT_EQ(texts[0].text, "Ann");
    EXPECT_EQ(texts[0].rect.minX(), 10 + 2 + 2);
    EXPECT_EQ(texts[0].rect.minY(), 100 - 82 + 2);
    auto fills = s.window->snapshot(true)->displayItems(CGDisplayItem::Kind::fill);
    auto caret = std::find_if(fills.begin(), fills.end(),
                              [](const CGDisplayItem& f) { return f.rect.width() == 1; });
    ASSERT_NE(caret, fills.end()); // one point wide, after the text
    EXPECT_NEAR(caret->rect.minX(), texts[0].rect.maxX(), 1);
}

TEST(TextField, SizesComeFromTheTextAtAnUnboundedWidth) {
    auto label = NSTextField::labelWithString("A label");
    const CGSize text = CGTextMeasure("A label", NSFont::systemFont(13)->cgFont());
    const CGFloat huge = std::numeric_limits<CGFloat>::max();
    EXPECT_EQ(label->cell()->cellSizeForBounds({0, 0, huge, huge}),
              (CGSize{text.width + 4, text.height}));
    EXPECT_EQ(label->intrinsicContentSize(), (CGSize{text.width + 4, text.height}));
    auto field = make<NSTextField>(CGRect{0, 0, 50, 22});
    field->setStringValue("A label");
    // Editable: no width of its own; the bezel's margins are added.
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize{NSView::noIntrinsicMetric, text.height + 4}));
    // Wrapping within a narrow width gives more lines.
    field->textFieldCell()->wraps = true;
    field->setLineBreakMode(NSLineBreakMode::byWordWrapping);
    field->setMaximumNumberOfLines(0);
    EXPECT_GT(field->cell()->cellSizeForBounds({0, 0, 40, huge}).height, 1.5 * text.height);
}

TEST(TextField, TheWindowPublishesItsFirstResponderWithTheInitialValue) {
    FieldScene s;
    std::vector<std::shared_ptr<NSResponder>> seen;
    auto subscription = s.window->firstResponderPublisher().sink(
        [&](const std::weak_ptr<NSResponder>& r) { seen.push_back(r.lock()); });
    s.click({30, 70});
    s.window->makeFirstResponder(nullptr);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), s.window); // none: the window itself
    EXPECT_NE(std::find(seen.begin(), seen.end(), s.editor()), seen.end());
    EXPECT_EQ(seen.back(), s.window);
}

} // namespace
