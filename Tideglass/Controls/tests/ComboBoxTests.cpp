// The styled combo box: its size and rectangles, the art per state and list state, the
// library's focus ring, a chosen number becoming the value and the action, and the
// selections that cannot be read (none, a data source) left alone.

#include "Controls/StyledComboBox.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSTextView.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using State = StyledControlState;

struct Receiver : NSObject {
    int actions = 0;
    void act(NSObject*) { ++actions; }
};

struct Tens : NSObject, NSComboBoxDataSource {
    long numberOfItemsInComboBox(NSComboBox&) override { return 4; }
    NSComboBoxItem comboBoxObjectValueForItemAtIndex(NSComboBox&, long index) override {
        return double(index) * 10;
    }
};

std::shared_ptr<StyledComboBox> comboBox(const std::shared_ptr<Receiver>& receiver = nullptr) {
    auto box = make<StyledComboBox>(CGRect{20, 10, 160, 26});
    box->addItemsWithObjectValues({std::string("Echo"), 12.5, std::string("Tape")});
    if (receiver) {
        box->setTarget(receiver);
        box->setAction(&Receiver::act);
    }
    return box;
}

std::shared_ptr<StyledComboBoxCell> cellOf(const NSControl& c) {
    return std::dynamic_pointer_cast<StyledComboBoxCell>(c.cell());
}

// Picks the item titled `title` (empty: dismisses); `whileOpen` runs as the list shows.
class Presenter {
  public:
    Presenter(std::string title, std::function<void()> whileOpen = {}) {
        previous = NSMenu::setPresenter([title, whileOpen](NSMenu& menu, const NSMenu::PopUp&) {
            if (whileOpen)
                whileOpen();
            return menu.itemWithTitle(title);
        });
    }
    ~Presenter() { NSMenu::setPresenter(previous); }

  private:
    NSMenu::Presenter previous;
};

TEST(StyledComboBox, SizeAndRectanglesFollowTheStyleAndTheArt) {
    auto box = comboBox();
    auto cell = cellOf(*box);
    ASSERT_TRUE(cell);
    const auto style = StyledComboBoxCell::classStyle();
    EXPECT_EQ(box->alignmentRectInsets(), style->alignmentRectInsets());
    const CGSize end = TideglassResources::nsImage("tgui-combobox-up")->size();
    const CGSize body = TideglassResources::nsImage("tgui-combobox")->size();
    // The body: left of the right end, at y 0 with the art's height, whatever the origin.
    EXPECT_EQ(cell->leftFrame({0, 0, 160, 26}), (CGRect{0, 0, 160 - end.width, body.height}));
    EXPECT_EQ(cell->leftFrame({30, 8, 100, 30}), (CGRect{30, 0, 100 - end.width, body.height}));
    EXPECT_EQ(box->focusRingMaskBounds(), cell->leftFrame(box->bounds()));
    // The combo box's title rect (2, 2, 136, 22) inset by (3, 7, 2, 0), centred on the
    // bounds: y = round(13 − 17 / 2) = 5.
    EXPECT_EQ(cell->titleRectForBounds({0, 0, 160, 26}), (CGRect{9, 5, 129, 17}));
    EXPECT_EQ(cell->titleRectForBounds({0, 10, 160, 26}), (CGRect{9, 15, 129, 17}));

    struct Case {
        const char* what;
        std::function<void(StyledComboBox&)> set;
        CGSize size;
    };
    auto natural = [](StyledComboBox& b) { return b.NSComboBox::intrinsicContentSize().width; };
    const Case cases[] = {
        // An editable box's own width is open: the 47-point minimum, less the insets.
        {"editable", [](StyledComboBox&) {}, {43, 20}},
        {"narrow text, not editable",
         [](StyledComboBox& b) {
             b.setEditable(false);
             b.setStringValue("1");
         },
         {43, 20}},
        {"wide text, not editable",
         [](StyledComboBox& b) {
             b.setEditable(false);
             b.setStringValue("A long delay line name");
         },
         {-1, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = comboBox();
        c.set(*b);
        const CGSize size = b->intrinsicContentSize();
        EXPECT_EQ(size.height, c.size.height);
        if (c.size.width < 0) {
            ASSERT_GT(natural(*b), 47);
            EXPECT_EQ(size.width, natural(*b) - 4);
        } else {
            EXPECT_LT(natural(*b), 47);
            EXPECT_EQ(size.width, c.size.width);
        }
    }
    // Another kind of cell: the combo box's own insets and mask.
    auto other = comboBox();
    other->setCell(make<NSTextFieldCell>());
    EXPECT_EQ(other->alignmentRectInsets(), NSEdgeInsets{});
    EXPECT_EQ(other->focusRingMaskBounds(), other->bounds());
}

TEST(StyledComboBox, TheArtFollowsTheListAndHalvesWhenDisabled) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        bool open, enabled;
        const char* end;
        CGFloat alpha;
    };
    const Case cases[] = {
        {"closed", false, true, "tgui-combobox-up", 1},
        {"open", true, true, "tgui-combobox", 1},
        {"disabled", false, false, "tgui-combobox-up", 0.5},
        {"disabled, open", true, false, "tgui-combobox", 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto box = comboBox();
        auto h = ControlHarness::holding(box, {200, 46});
        box->setEnabled(c.enabled);
        cellOf(*box)->isPopupOpen = c.open;
        const CGRect at = h.rectOf(*box);
        std::vector<CGDisplayItem> art = h.items(ControlHarness::Kind::image);
        ASSERT_EQ(art.size(), 2u);
        // The body stretched over the left frame, then the right end at its own width.
        EXPECT_EQ(art[0].imageName, "tgui-combobox");
        EXPECT_EQ(art[0].rect, (CGRect{at.minX(), at.minY(), 140, 26}));
        EXPECT_EQ(art[1].imageName, c.end);
        EXPECT_EQ(art[1].rect, (CGRect{at.minX() + 140, at.minY(), 20, 26}));
        for (const auto& item : art)
            EXPECT_DOUBLE_EQ(item.alpha, c.alpha);
        EXPECT_EQ(cellOf(*box)->controlState(),
                  c.enabled ? State::default_ : State::default_ | State::disabled);
    }
}

TEST(StyledComboBox, TheLibrarysRingGoesAroundTheBodyOnlyWithFocusInTheKeyWindow) {
    RunLoopTestScope scope;
    auto box = comboBox();
    box->setStringValue("Echo");
    auto h = ControlHarness::holding(box, {200, 46});
    EXPECT_TRUE(h.items(ControlHarness::Kind::stroke).empty()); // no focus
    ASSERT_TRUE(h.focus(box));
    const CGRect at = h.rectOf(*box);
    const auto colour = StyledComboBoxCell::classStyle()->focusRingColor();
    auto strokes = h.items(ControlHarness::Kind::stroke);
    ASSERT_EQ(strokes.size(), 1u); // the library's ring, not the system's
    // The left frame inset by 1, grown by half the 2-point line: the left frame itself.
    EXPECT_EQ(strokes[0].rect, (CGRect{at.minX(), at.minY(), 140, 26}));
    EXPECT_EQ(strokes[0].color, colour->cgColor());
    EXPECT_EQ(strokes[0].lineWidth, 2);
    const CGColor ringFill = colour->withAlphaComponent(0.3)->cgColor();
    auto fills = h.items(ControlHarness::Kind::fill);
    auto fill = std::find_if(fills.begin(), fills.end(),
                             [&](const CGDisplayItem& f) { return f.color == ringFill; });
    ASSERT_NE(fill, fills.end());
    EXPECT_EQ(fill->rect, (CGRect{at.minX() + 1, at.minY() + 1, 138, 24}));
    // The field editor edits in the title rect and draws the text.
    auto editor = box->currentEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->frame(), cellOf(*box)->titleRectForBounds(box->bounds()));
    EXPECT_TRUE(h.text("Echo"));
    h.window->resignKeyWindow();
    EXPECT_TRUE(h.items(ControlHarness::Kind::stroke).empty());
}

TEST(StyledComboBox, OpeningTheListSwapsTheRightEndAndAChosenNumberActs) {
    RunLoopTestScope scope;
    auto receiver = make<Receiver>();
    auto box = comboBox(receiver);
    auto h = ControlHarness::holding(box, {200, 46});
    const CGRect at = h.rectOf(*box);
    const CGPoint button{at.maxX() - 10, at.midY()};
    struct Case {
        const char* what;
        std::string pick; // empty: dismissed
        int actions;
        std::string text;
    };
    const Case cases[] = {
        {"a number", "12.5", 1, "12.5"},
        {"a text", "Tape", 0, "Tape"},
        {"dismissed", "", 0, "Tape"},
        {"the number again", "12.5", 1, "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        receiver->actions = 0;
        std::vector<std::string> whileOpen;
        Presenter presenter(c.pick, [&] { whileOpen = h.images(); });
        h.click(button);
        // While the list showed, the right end was the open art.
        EXPECT_EQ(whileOpen, (std::vector<std::string>{"tgui-combobox", "tgui-combobox"}));
        EXPECT_FALSE(cellOf(*box)->isPopupOpen);
        EXPECT_EQ(h.images(), (std::vector<std::string>{"tgui-combobox", "tgui-combobox-up"}));
        EXPECT_EQ(receiver->actions, c.actions);
        EXPECT_EQ(box->stringValue(), c.text);
    }
    EXPECT_EQ(box->doubleValue(), 12.5);
    // A cell of another kind is left alone by the list's notifications.
    box->setCell(make<NSTextFieldCell>());
    box->willPopUp(Notification{});
    box->willDismiss(Notification{});
}

TEST(StyledComboBox, SelectionsThatCannotBeReadAreLeftAlone) {
    RunLoopTestScope scope;
    struct Case {
        const char* what;
        std::function<void(StyledComboBox&, ControlHarness&)> act;
        int actions;
    };
    auto tens = make<Tens>();
    auto fromDataSource = [tens](StyledComboBox& b) {
        b.setUsesDataSource(true);
        b.setDataSource(tens);
    };
    const Case cases[] = {
        {"typing over a chosen number leaves no selection",
         [](StyledComboBox& b, ControlHarness& h) {
             b.selectItemAtIndex(1); // 12.5: acts once
             h.focus(b.sharedAs<NSView>());
             h.type("7");
             EXPECT_EQ(b.indexOfSelectedItem(), -1);
         },
         1},
        {"told of a change with nothing selected",
         [](StyledComboBox& b, ControlHarness&) { b.selectionDidChange(Notification{}); }, 0},
        {"a data source's number chosen from the list",
         [fromDataSource](StyledComboBox& b, ControlHarness& h) {
             b.removeAllItems();
             fromDataSource(b);
             Presenter presenter("20");
             const CGRect at = h.rectOf(b);
             h.click({at.maxX() - 10, at.midY()});
             EXPECT_EQ(b.indexOfSelectedItem(), 2);
             EXPECT_EQ(b.stringValue(), "20"); // the box shows it; no action
         },
         0},
        {"a data source box that still holds items of its own",
         [fromDataSource](StyledComboBox& b, ControlHarness&) {
             fromDataSource(b);
             b.selectItemAtIndex(1);
             EXPECT_EQ(b.indexOfSelectedItem(), 1);
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto receiver = make<Receiver>();
        auto box = comboBox(receiver);
        auto h = ControlHarness::holding(box, {200, 46});
        c.act(*box, h);
        EXPECT_EQ(receiver->actions, c.actions);
    }
}

} // namespace
