#include "AppKit/NSApplication.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSDocumentController.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSWindow.h"

#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct Receiver : NSObject {
    std::vector<NSObject*> senders;
    void chosen(NSObject* sender) { senders.push_back(sender); }
};

TEST(MenuTest, ItemsBelongToOneMenuAndSubmenusKnowTheirSupermenu) {
    auto menu = NSMenu::make("Main");
    auto other = NSMenu::make();
    auto a = NSMenuItem::make("A", {}, "a");
    EXPECT_EQ(a->keyEquivalentModifierMask, NSEvent::command);
    menu->addItem(a);
    menu->addItem(NSMenuItem::separatorItem());
    auto sub = NSMenu::make("Sub");
    a->setSubmenu(sub);
    EXPECT_EQ(sub->supermenu(), menu);
    other->addItem(a); // moves
    EXPECT_EQ(menu->numberOfItems(), 1);
    EXPECT_EQ(a->menu(), other);
    EXPECT_EQ(sub->supermenu(), other);
    EXPECT_TRUE(menu->item(0)->isSeparatorItem());
    EXPECT_EQ(menu->item(5), nullptr);
    other->setItemArray({NSMenuItem::sectionHeader("Head"), NSMenuItem::make("B")});
    EXPECT_EQ(a->menu(), nullptr);
    EXPECT_TRUE(other->item(0)->isSectionHeader());
    EXPECT_EQ(other->indexOfItem(*other->itemWithTitle("B")), 1);
}

TEST(MenuTest, ChosenItemsSendToTheirTargetOrAlongTheChainToTheDocumentController) {
    auto receiver = make<Receiver>();
    auto menu = NSMenu::make();
    auto targeted = NSMenuItem::make("T", &Receiver::chosen);
    targeted->target = receiver;
    menu->addItem(targeted);
    auto disabled = NSMenuItem::make("D", &Receiver::chosen);
    disabled->target = receiver;
    disabled->isEnabled = false;
    menu->addItem(disabled);
    auto& documents = NSDocumentController::shared();
    documents.noteNewRecentDocumentURL(URL::fileURL("/tmp/x.txt"));
    menu->addItem(NSMenuItem::make("Clear", &NSDocumentController::clearRecentDocuments));
    menu->addItem(NSMenuItem::make("Nobody", &Receiver::chosen));

    EXPECT_TRUE(menu->performActionForItem(0));
    EXPECT_FALSE(menu->performActionForItem(1));
    EXPECT_EQ(receiver->senders, (std::vector<NSObject*>{targeted.get()}));
    EXPECT_TRUE(menu->performActionForItem(2));
    EXPECT_TRUE(documents.recentDocumentURLs().empty());
    EXPECT_FALSE(menu->performActionForItem(3));
}

struct Filler : NSObject, NSMenuDelegate {
    int updates = 0;
    void menuNeedsUpdate(NSMenu& menu) override {
        ++updates;
        menu.setItemArray({NSMenuItem::make("filled")});
    }
};

TEST(MenuTest, TheDelegateFillsTheMenuBeforeItPopsUp) {
    auto filler = make<Filler>();
    auto menu = NSMenu::make();
    menu->delegate = filler;
    auto view = make<NSView>(CGRect{0, 0, 10, 10});
    menu->popUp(nullptr, {1, 2}, view);
    EXPECT_EQ(filler->updates, 1);
    EXPECT_EQ(menu->item(0)->title, "filled");
    ASSERT_TRUE(menu->lastPopUp());
    EXPECT_EQ(menu->lastPopUp()->view.lock(), view);
    EXPECT_EQ(menu->lastPopUp()->location, (CGPoint{1, 2}));
}

TEST(ButtonTest, ToggleTypesAdvanceTheStateBeforeTheAction) {
    struct Case {
        NSButtonType type;
        bool mixed;
        std::vector<NSCell::StateValue> states;
    };
    using S = NSCell::StateValue;
    for (const Case& c : {Case{NSButtonType::momentaryPushIn, false, {S::off, S::off}},
                          Case{NSButtonType::toggle, false, {S::on, S::off}},
                          Case{NSButtonType::switchButton, true, {S::on, S::mixed}}}) {
        auto button = make<NSButton>(CGRect{0, 0, 20, 20});
        button->setButtonType(c.type);
        button->setAllowsMixedState(c.mixed);
        std::vector<S> seen;
        struct Watcher : NSObject {
            std::vector<S>* seen;
            void clicked(NSObject* sender) {
                seen->push_back(static_cast<NSButton*>(sender)->state());
            }
        };
        auto watcher = make<Watcher>();
        watcher->seen = &seen;
        button->setTarget(watcher);
        button->setAction(&Watcher::clicked);
        button->performClick();
        button->performClick();
        EXPECT_EQ(seen, c.states) << int(c.type);
    }
}

TEST(PopUpButtonTest, ChoosingAnItemSelectsItAndSendsTheButtonsAction) {
    auto receiver = make<Receiver>();
    auto popup = make<NSPopUpButton>(CGRect{0, 0, 100, 20});
    EXPECT_EQ(popup->selectedItem(), nullptr);
    EXPECT_EQ(popup->indexOfSelectedItem(), -1);
    for (auto title : {"One", "Two", "Three"})
        popup->addItem(title);
    popup->item(2)->tag = 7;
    EXPECT_EQ(popup->titleOfSelectedItem(), "One");
    popup->setTarget(receiver);
    popup->setAction(&Receiver::chosen);

    EXPECT_TRUE(popup->menu()->performActionForItem(1));
    EXPECT_EQ(popup->indexOfSelectedItem(), 1);
    EXPECT_EQ(popup->item(1)->state, NSCell::StateValue::on);
    EXPECT_EQ(popup->item(0)->state, NSCell::StateValue::off);
    EXPECT_EQ(receiver->senders, (std::vector<NSObject*>{popup.get()}));

    EXPECT_TRUE(popup->selectItemWithTag(7));
    EXPECT_FALSE(popup->selectItemWithTag(99));
    EXPECT_EQ(popup->titleOfSelectedItem(), "Three");
    popup->selectItem(nullptr);
    EXPECT_EQ(popup->indexOfSelectedItem(), -1);
    popup->selectItem(NSMenuItem::make("stranger"));
    EXPECT_EQ(popup->selectedItem(), nullptr);

    // A menu of its own: the first item is selected; the old menu no longer chooses.
    auto old = popup->menu();
    auto menu = NSMenu::make();
    menu->addItem(NSMenuItem::make("X"));
    popup->setMenu(menu);
    EXPECT_EQ(popup->titleOfSelectedItem(), "X");
    popup->removeAllItems();
    EXPECT_EQ(popup->selectedItem(), nullptr);
}

TEST(DocumentControllerTest, RecentDocumentsAreNewestFirstAndOpeningShowsTheDocument) {
    auto& documents = NSDocumentController::shared();
    documents.clearRecentDocuments(nullptr);
    documents.closeAllDocuments();
    TemporaryDirectory dir("appkit-recent-docs");
    auto file = dir / "song.txt";
    std::ofstream(file) << "la";
    auto a = URL::fileURL(file.string());
    auto b = URL::fileURL((dir / "missing.txt").string());
    documents.noteNewRecentDocumentURL(b);
    documents.noteNewRecentDocumentURL(a);
    documents.noteNewRecentDocumentURL(b);
    EXPECT_EQ(documents.recentDocumentURLs(), (std::vector<URL>{b, a}));

    std::string error;
    bool opened = false;
    documents.openDocument(b, true, [&](const URL* d, const std::string& e) {
        opened = d != nullptr;
        error = e;
    });
    EXPECT_FALSE(opened);
    EXPECT_FALSE(error.empty());
    documents.openDocument(a, true, [&](const URL* d, const std::string&) { opened = d; });
    EXPECT_TRUE(opened);
    ASSERT_EQ(documents.documents().size(), 1u);
    EXPECT_TRUE(documents.documents()[0].isShown);
    EXPECT_EQ(documents.recentDocumentURLs().front(), a);
    documents.closeAllDocuments();
    documents.clearRecentDocuments(nullptr);
}

} // namespace
