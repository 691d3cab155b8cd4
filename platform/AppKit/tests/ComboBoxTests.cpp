// The combo box: its items and selection, the button and title rectangles, the list
// popped up through the menu presenter with its notifications, typing and the arrow
// keys, a data source, and the range of its item reads.

#include "AppKit/NSComboBox.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSTextView.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Hears the three notifications of one combo box, as "popup", "dismiss" and
// "selection N" (the index then); counts the actions sent to it.
struct Observer : NSObject {
    std::vector<std::string> heard;
    int actions = 0;
    std::vector<NotificationCenter::Token> tokens;
    void watch(const std::shared_ptr<NSComboBox>& box) {
        auto& centre = NotificationCenter::defaultCenter();
        std::weak_ptr<NSComboBox> weak = box;
        tokens.push_back(
            centre.addObserver(NSComboBox::willPopUpNotification, box,
                               [this](const Notification&) { heard.push_back("popup"); }));
        tokens.push_back(
            centre.addObserver(NSComboBox::willDismissNotification, box,
                               [this](const Notification&) { heard.push_back("dismiss"); }));
        tokens.push_back(centre.addObserver(
            NSComboBox::selectionDidChangeNotification, box, [this, weak](const Notification&) {
                heard.push_back("selection " + std::to_string(weak.lock()->indexOfSelectedItem()));
            }));
    }
    void act(NSObject*) { ++actions; }
};

struct Numbers : NSObject, NSComboBoxDataSource {
    long numberOfItemsInComboBox(NSComboBox&) override { return 3; }
    NSComboBoxItem comboBoxObjectValueForItemAtIndex(NSComboBox&, long index) override {
        return double(index) * 10;
    }
};

// A combo box in a key window, with an observer as target.
struct ComboScene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSView> container = make<NSView>(CGRect{0, 0, 200, 100});
    std::shared_ptr<NSComboBox> box = make<NSComboBox>(CGRect{10, 40, 120, 26});
    std::shared_ptr<Observer> observer = make<Observer>();
    ComboScene() {
        window->setContentView(container);
        container->addSubview(box);
        box->addItemsWithObjectValues({std::string("Echo"), 12.5, std::string("Tape")});
        box->setTarget(observer);
        box->setAction(&Observer::act);
        observer->watch(box);
        window->makeKeyWindow();
    }
    void click(CGPoint p) {
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseDown, p, 0, 1));
        window->sendEvent(NSEvent::mouse(NSEvent::Type::leftMouseUp, p, 0, 1));
    }
    void key(const std::string& characters) {
        window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, characters, 0, 0));
        window->sendEvent(NSEvent::key(NSEvent::Type::keyUp, characters, 0, 0));
    }
    // The arrow button, in window points.
    CGPoint button() const { return {125, 53}; }
};

// Picks the item titled `title` (none: dismisses) and records what it was shown.
struct PickingPresenter {
    std::vector<std::string> shown;
    bool openWhileShown = false;
    CGPoint at{-1, -1};
    CGFloat width = -1;
    NSMenu::Presenter previous;
    PickingPresenter(std::string title, const std::shared_ptr<NSComboBox>& box) {
        previous =
            NSMenu::setPresenter([this, title, box](NSMenu& menu, const NSMenu::PopUp& request) {
                openWhileShown = box->isListOpen();
                at = request.location;
                width = menu.minimumWidth;
                for (const auto& item : menu.itemArray())
                    shown.push_back(item->title);
                return menu.itemWithTitle(title);
            });
    }
    ~PickingPresenter() { NSMenu::setPresenter(previous); }
};

TEST(ComboBox, ItemsKeepTheSelectionOnTheirItem) {
    ComboScene s;
    s.box->selectItemAtIndex(1);
    EXPECT_EQ(s.box->stringValue(), "12.5");
    EXPECT_EQ(s.box->doubleValue(), 12.5);
    struct Case {
        const char* what;
        std::function<void(NSComboBox&)> act;
        long selected;
        long count;
    };
    const Case cases[] = {
        {"inserted before", [](NSComboBox& b) { b.insertItemWithObjectValue(std::string("A"), 0); },
         2, 4},
        {"added after", [](NSComboBox& b) { b.addItemWithObjectValue(std::string("Z")); }, 2, 5},
        {"removed before", [](NSComboBox& b) { b.removeItemAtIndex(0); }, 1, 4},
        {"removed by value", [](NSComboBox& b) { b.removeItemWithObjectValue(std::string("Z")); },
         1, 3},
        {"the selected one removed", [](NSComboBox& b) { b.removeItemWithObjectValue(12.5); }, -1,
         2},
        {"all removed", [](NSComboBox& b) { b.removeAllItems(); }, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.act(*s.box);
        EXPECT_EQ(s.box->indexOfSelectedItem(), c.selected);
        EXPECT_EQ(s.box->numberOfItems(), c.count);
        EXPECT_EQ(long(s.box->objectValues().size()), c.count);
    }
    // Selecting posts, removing does not; an index outside the items selects nothing.
    EXPECT_EQ(s.observer->heard, (std::vector<std::string>{"selection 1"}));
    s.box->addItemWithObjectValue(std::string("B"));
    s.box->selectItemAtIndex(5);
    EXPECT_EQ(s.box->indexOfSelectedItem(), -1);
    EXPECT_EQ(s.observer->heard.size(), 1u);
    EXPECT_EQ(s.box->indexOfItemWithObjectValue(std::string("B")), 0);
    EXPECT_EQ(s.box->indexOfItemWithObjectValue(std::string("none")), -1);
}

TEST(ComboBox, TheButtonIsTheTrailingTwentyPointsAndTheTitleStaysLeftOfIt) {
    ComboScene s;
    auto cell = s.box->comboBoxCell();
    ASSERT_TRUE(cell);
    const CGRect b = s.box->bounds();
    EXPECT_EQ(cell->buttonRectForBounds(b), (CGRect{100, 0, 20, 26}));
    // The text field's title rect (bezeled: inset by 2) less the button.
    EXPECT_EQ(cell->titleRectForBounds(b), (CGRect{2, 2, 96, 22}));
    auto plain = make<NSTextField>(CGRect{0, 0, 120, 26});
    plain->setStringValue("Echo");
    s.box->setStringValue("Echo");
    EXPECT_EQ(cell->cellSize().width, plain->cell()->cellSize().width + 20);
    EXPECT_EQ(cell->cellSize().height, plain->cell()->cellSize().height);
    // Editable: the width is open, the height the cell's.
    EXPECT_EQ(s.box->intrinsicContentSize().width, NSView::noIntrinsicMetric);
    EXPECT_EQ(s.box->intrinsicContentSize().height, cell->cellSize().height);
}

TEST(ComboBox, TheButtonPopsTheListUpAndAChoiceSelectsBeforeItCloses) {
    ComboScene s;
    struct Case {
        const char* what;
        std::string pick; // empty: dismissed
        std::vector<std::string> heard;
        long selected;
        std::string text;
    };
    const Case cases[] = {
        {"a text item", "Tape", {"popup", "selection 2", "dismiss"}, 2, "Tape"},
        {"a number item", "12.5", {"popup", "selection 1", "dismiss"}, 1, "12.5"},
        {"the selected one again", "12.5", {"popup", "dismiss"}, 1, "12.5"},
        {"dismissed", "", {"popup", "dismiss"}, 1, "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.observer->heard.clear();
        PickingPresenter presenter(c.pick, s.box);
        s.click(s.button());
        EXPECT_EQ(presenter.shown, (std::vector<std::string>{"Echo", "12.5", "Tape"}));
        EXPECT_TRUE(presenter.openWhileShown);
        EXPECT_EQ(presenter.at, (CGPoint{0, 0}));            // below the box, from its leading edge
        EXPECT_EQ(presenter.width, s.box->bounds().width()); // and as wide as the box
        EXPECT_FALSE(s.box->isListOpen());
        EXPECT_EQ(s.observer->heard, c.heard);
        EXPECT_EQ(s.box->indexOfSelectedItem(), c.selected);
        EXPECT_EQ(s.box->stringValue(), c.text);
    }
    EXPECT_EQ(s.observer->actions, 0); // choosing is not the action
    // Disabled, or without items, the button opens nothing.
    s.observer->heard.clear();
    PickingPresenter presenter("Echo", s.box);
    s.box->setEnabled(false);
    s.click(s.button());
    s.box->setEnabled(true);
    s.box->removeAllItems();
    s.observer->heard.clear();
    s.click(s.button());
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(s.observer->heard, std::vector<std::string>{});
}

TEST(ComboBox, TypingDeselectsAndTheArrowsStepThroughTheItems) {
    ComboScene s;
    s.click({30, 53}); // the text part: editing starts
    auto editor = std::dynamic_pointer_cast<NSTextView>(s.window->fieldEditor(false, nullptr));
    ASSERT_TRUE(editor);
    ASSERT_EQ(s.box->currentEditor(), editor);
    struct Case {
        const char* what;
        std::function<void()> act;
        long selected;
        std::string text;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {"down from none",
         [&] { editor->doCommandBySelector("moveDown:"); },
         0,
         "Echo",
         {"selection 0"}},
        {"down", [&] { editor->doCommandBySelector("moveDown:"); }, 1, "12.5", {"selection 1"}},
        {"down", [&] { editor->doCommandBySelector("moveDown:"); }, 2, "Tape", {"selection 2"}},
        {"down at the end stays", [&] { editor->doCommandBySelector("moveDown:"); }, 2, "Tape", {}},
        {"up", [&] { editor->doCommandBySelector("moveUp:"); }, 1, "12.5", {"selection 1"}},
        {"typing over it deselects", [&] { s.key("7"); }, -1, "7", {"selection -1"}},
        {"typing on", [&] { s.key("5"); }, -1, "75", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.observer->heard.clear();
        c.act();
        EXPECT_EQ(s.box->indexOfSelectedItem(), c.selected);
        EXPECT_EQ(s.box->stringValue(), c.text);
        EXPECT_EQ(editor->string(), c.text); // the editor shows the item
        EXPECT_EQ(s.observer->heard, c.heard);
    }
    EXPECT_EQ(s.observer->actions, 0);
    s.key("\r"); // Return acts, as in a text field
    EXPECT_EQ(s.observer->actions, 1);
}

TEST(ComboBox, ADataSourceFillsTheListButNotTheOwnItems) {
    ComboScene s;
    auto numbers = make<Numbers>();
    s.box->setUsesDataSource(true);
    s.box->setDataSource(numbers);
    EXPECT_EQ(s.box->numberOfItems(), 3);
    PickingPresenter presenter("20", s.box);
    s.click(s.button());
    EXPECT_EQ(presenter.shown, (std::vector<std::string>{"0", "10", "20"}));
    EXPECT_EQ(s.box->indexOfSelectedItem(), 2);
    EXPECT_EQ(s.box->doubleValue(), 20);
    // Without a data source, a data-source box has no items.
    s.box->setDataSource({});
    EXPECT_EQ(s.box->numberOfItems(), 0);
}

TEST(ComboBoxDeathTest, ReadingAnItemOutsideTheOwnListEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* what;
        bool dataSource;
        long index;
    };
    const Case cases[] = {
        {"no selection", false, -1}, {"past the end", false, 3}, {"a data-source box", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ComboScene s;
        auto numbers = make<Numbers>();
        if (c.dataSource) {
            s.box->removeAllItems();
            s.box->setUsesDataSource(true);
            s.box->setDataSource(numbers);
        }
        EXPECT_DEATH(s.box->itemObjectValueAtIndex(c.index), "beyond bounds");
    }
}

} // namespace
