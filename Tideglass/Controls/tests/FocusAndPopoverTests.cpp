// The first-responder-aware field's focus publishing and the message pop-over.

#include "Controls/FirstResponderAwareTextField.h"
#include "Controls/SimpleTextViewPopover.h"

#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

namespace {

// A field that counts the statuses it was told about.
class CountingField : public FirstResponderAwareTextField {
  public:
    using FirstResponderAwareTextField::FirstResponderAwareTextField;
    std::vector<bool> told;

  protected:
    void handleResponderStatusChanged(bool status) override { told.push_back(status); }
};

struct FocusScene {
    RunLoopTestScope scope;
    std::shared_ptr<CountingField> field = make<CountingField>(CGRect{10, 10, 120, 22});
    std::shared_ptr<NSTextField> other = make<NSTextField>(CGRect{10, 50, 120, 22});
    std::vector<bool> published;
    AnyCancellable subscription;
    ControlHarness h = [this] {
        auto content = make<NSView>(CGRect{0, 0, 200, 100});
        content->addSubview(field);
        content->addSubview(other);
        return ControlHarness(content, {200, 100});
    }();
    FocusScene() {
        subscription = field->firstResponderPublisher().sink(
            [this](const std::pair<std::shared_ptr<NSTextField>, bool>& p) {
                EXPECT_EQ(p.first, field);
                published.push_back(p.second);
            });
    }
};

TEST(FirstResponderAwareTextField, PublishesEachChangeOnceThroughTheFieldEditor) {
    FocusScene s;
    EXPECT_TRUE(s.published.empty()); // the initial value: not focused, nothing new
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<bool> published;
    };
    const Case cases[] = {
        {"clicked into: the field editor counts as the field",
         [&] { s.h.click(s.h.centre(*s.field)); },
         {true}},
        {"typing and Return keep the focus: nothing new",
         [&] {
             s.h.type("ab");
             s.h.key(NSEventSpecialKey::carriageReturn);
         },
         {true}},
        {"tabbed out to the other field", [&] { s.h.key(NSEventSpecialKey::tab); }, {true, false}},
        {"the window with no first responder",
         [&] { s.h.window->makeFirstResponder(nullptr); },
         {true, false}},
        {"tabbed back in", [&] { s.h.key(NSEventSpecialKey::tab); }, {true, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(s.published, c.published);
        EXPECT_EQ(s.field->told, c.published);
        EXPECT_EQ(s.field->publishedFirstResponderStatus(), c.published.back());
    }
}

TEST(FirstResponderAwareTextField, LeavingOrSwitchingWindowsDropsTheOldSubscription) {
    FocusScene s;
    s.h.click(s.h.centre(*s.field));
    ASSERT_EQ(s.published, std::vector<bool>{true});
    // Moved to another window (not focused there): its initial value says so.
    auto second = make<NSWindow>(CGRect{0, 0, 200, 100});
    second->contentView()->addSubview(s.field);
    s.h.turn();
    EXPECT_EQ(s.published, (std::vector<bool>{true, false}));
    // The old window's changes no longer reach it.
    s.h.focus(s.other);
    s.h.window->makeFirstResponder(nullptr);
    s.h.turn();
    EXPECT_EQ(s.published, (std::vector<bool>{true, false}));
    // The new one's do; out of any window, nothing does.
    second->makeFirstResponder(s.field);
    s.h.turn();
    EXPECT_EQ(s.published, (std::vector<bool>{true, false, true}));
    s.field->removeFromSuperview();
    second->makeFirstResponder(nullptr);
    s.h.turn();
    EXPECT_EQ(s.published, (std::vector<bool>{true, false, true}));
}

TEST(FirstResponderAwareTextField, NothingKeepsAGoneFieldAliveAndItsPublisherFinishes) {
    RunLoopTestScope scope;
    auto field = make<FirstResponderAwareTextField>(CGRect{10, 10, 120, 22});
    std::weak_ptr<FirstResponderAwareTextField> weak = field;
    bool finished = false;
    auto subscription = field->firstResponderPublisher().sink(
        [&](Subscribers::Completion) { finished = true; }, [](const auto&) {});
    auto h = ControlHarness::holding(field, {200, 60});
    h.focus(field);
    // A change is queued for the field; the field goes before it is delivered.
    h.window->makeFirstResponder(nullptr);
    field->removeFromSuperview();
    field.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(finished);
    h.turn(); // the queued delivery finds nothing
}

TEST(SimpleTextViewPopover, ShowsItsMessageSizedByOnePaddingAndClosesOnRequest) {
    RunLoopTestScope scope;
    auto anchor = make<NSTextField>(CGRect{40, 60, 120, 22});
    auto h = ControlHarness::holding(anchor, {240, 120});
    auto controller = make<SimpleTextViewPopoverController>();
    const auto& popover = controller->popover();
    const CGSize padding = popover->style()->padding();
    const auto& text = popover->contentTextField();
    EXPECT_FALSE(text->isEditable());
    EXPECT_FALSE(text->isSelectable());
    EXPECT_EQ(text->font(), popover->style()->font());
    struct Case {
        const char* what;
        std::optional<std::string> message;
    };
    const Case cases[] = {{"a message", "Must be a number"}, {"no message", std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        controller->showMessage(c.message, anchor, NSRectEdge::maxY);
        ASSERT_TRUE(popover->isShown());
        EXPECT_EQ(popover->currentPositioningView(), anchor);
        EXPECT_EQ(text->stringValue(), c.message.value_or(""));
        const CGSize label = text->intrinsicContentSize();
        EXPECT_EQ(popover->contentSize(),
                  (CGSize{label.width + 2 * padding.width, label.height + 2 * padding.height}));
        h.turn();
        popover->popoverWindow()->layoutIfNeeded();
        // The text lies exactly inside the padding: nothing of it is cut off.
        EXPECT_EQ(text->frame(),
                  (CGRect{padding.width, padding.height, label.width, label.height}));
    }
    controller->showMessage("Must be a number", anchor, NSRectEdge::maxY);
    // Above the anchor (its maxY edge, the anchor not being flipped), the message drawn.
    auto drawn = h.text("Must be a number");
    ASSERT_TRUE(drawn);
    EXPECT_LT(drawn->rect.maxY(), h.rectOf(*anchor).minY());
    EXPECT_EQ(drawn->color, popover->style()->textColor()->cgColor());
    controller->closePopover(nullptr);
    EXPECT_FALSE(popover->isShown());
    EXPECT_EQ(popover->currentPositioningView(), nullptr);
    EXPECT_FALSE(h.text("Must be a number"));
}

} // namespace
