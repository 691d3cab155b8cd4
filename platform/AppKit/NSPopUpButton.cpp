#include "AppKit/NSPopUpButton.h"

#include "AppKit/NSApplication.h"

void NSPopUpButton::didInit() {
    NSButton::didInit();
    setMenu(NSMenu::make());
}

void NSPopUpButton::setMenu(std::shared_ptr<NSMenu> menu) {
    Runtime::assertMainThread("NSPopUpButton.setMenu");
    if (menu_)
        menu_->chooser = {};
    menu_ = menu ? std::move(menu) : NSMenu::make();
    std::weak_ptr<NSPopUpButton> self = weakAs<NSPopUpButton>();
    menu_->chooser = [self](long index) {
        auto button = self.lock();
        return button && button->choose(index);
    };
    selectItem(menu_->item(0));
}

void NSPopUpButton::addItem(std::string title) {
    Runtime::assertMainThread("NSPopUpButton.addItem");
    menu_->addItem(NSMenuItem::make(std::move(title)));
    if (numberOfItems() == 1)
        selectItem(0);
}

void NSPopUpButton::removeAllItems() {
    Runtime::assertMainThread("NSPopUpButton.removeAllItems");
    menu_->removeAllItems();
    selected.reset();
    cell()->title.clear();
}

std::shared_ptr<NSMenuItem> NSPopUpButton::selectedItem() const {
    auto item = selected.lock();
    if (!item || menu_->indexOfItem(*item) < 0)
        return nullptr;
    return item;
}

long NSPopUpButton::indexOfSelectedItem() const {
    auto item = selectedItem();
    return item ? menu_->indexOfItem(*item) : -1;
}

std::string NSPopUpButton::titleOfSelectedItem() const {
    auto item = selectedItem();
    return item ? item->title : std::string();
}

void NSPopUpButton::selectItem(const std::shared_ptr<NSMenuItem>& item) {
    Runtime::assertMainThread("NSPopUpButton.selectItem");
    if (auto old = selectedItem(); old && !pullsDown)
        old->state = NSCell::StateValue::off;
    if (!item || menu_->indexOfItem(*item) < 0) {
        selected.reset();
        return;
    }
    selected = item;
    if (!pullsDown) {
        item->state = NSCell::StateValue::on;
        cell()->title = item->title;
    }
    setNeedsDisplay();
}

bool NSPopUpButton::selectItemWithTag(long tag) {
    auto item = menu_->itemWithTag(tag);
    if (!item)
        return false;
    selectItem(item);
    return true;
}

bool NSPopUpButton::choose(long index) {
    auto item = this->item(index);
    if (!item)
        return false;
    selectItem(item);
    if (item->action)
        return NSApplication::shared().sendAction(item->action, item->target.lock(), item.get());
    return sendAction();
}

void NSPopUpButton::mouseDown(const NSEvent&) {
    if (!isEnabled())
        return;
    menu_->popUp(selectedItem(), CGPoint{0, bounds().height()}, sharedAs<NSView>());
}
