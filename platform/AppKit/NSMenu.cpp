#include "AppKit/NSMenu.h"

#include "AppKit/NSApplication.h"
#include "AppKit/NSWindow.h"

#include <algorithm>
#include <optional>
#include <utility>

std::shared_ptr<NSMenuItem> NSMenuItem::make(std::string title, NSAction action,
                                             std::string keyEquivalent) {
    Runtime::assertMainThread("NSMenuItem.init");
    auto item = ::make<NSMenuItem>();
    item->title = std::move(title);
    item->action = std::move(action);
    item->keyEquivalent = std::move(keyEquivalent);
    return item;
}

std::shared_ptr<NSMenuItem> NSMenuItem::separatorItem() {
    auto item = make({});
    item->separator = true;
    item->isEnabled = false;
    return item;
}

std::shared_ptr<NSMenuItem> NSMenuItem::sectionHeader(std::string title) {
    auto item = make(std::move(title));
    item->header = true;
    item->isEnabled = false;
    return item;
}

void NSMenuItem::setSubmenu(std::shared_ptr<NSMenu> menu) {
    Runtime::assertMainThread("NSMenuItem.setSubmenu");
    if (submenu_)
        submenu_->super.reset();
    submenu_ = std::move(menu);
    if (submenu_)
        submenu_->super = menu_;
}

std::shared_ptr<NSMenu> NSMenu::make(std::string title) {
    Runtime::assertMainThread("NSMenu.init");
    auto menu = ::make<NSMenu>();
    menu->title = std::move(title);
    return menu;
}

void NSMenu::adopt(const std::shared_ptr<NSMenuItem>& item) {
    if (auto old = item->menu(); old && old.get() != this) {
        auto& list = old->items;
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
    }
    item->menu_ = weakAs<NSMenu>();
    if (item->submenu_)
        item->submenu_->super = weakAs<NSMenu>();
}

void NSMenu::setItemArray(std::vector<std::shared_ptr<NSMenuItem>> newItems) {
    Runtime::assertMainThread("NSMenu.setItemArray");
    ++batching;
    removeAllItems();
    for (auto& item : newItems)
        addItem(std::move(item));
    --batching;
    didChange();
}

std::shared_ptr<NSMenuItem> NSMenu::item(long index) const {
    if (index < 0 || index >= numberOfItems())
        return nullptr;
    return items[size_t(index)];
}

std::shared_ptr<NSMenuItem> NSMenu::itemWithTag(long tag) const {
    for (auto& item : items)
        if (item->tag == tag)
            return item;
    return nullptr;
}

std::shared_ptr<NSMenuItem> NSMenu::itemWithTitle(const std::string& title) const {
    for (auto& item : items)
        if (item->title == title)
            return item;
    return nullptr;
}

long NSMenu::indexOfItem(const NSMenuItem& item) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == &item)
            return long(i);
    return -1;
}

void NSMenu::addItem(std::shared_ptr<NSMenuItem> item) {
    insertItem(std::move(item), numberOfItems());
}

void NSMenu::insertItem(std::shared_ptr<NSMenuItem> item, long index) {
    Runtime::assertMainThread("NSMenu.insertItem");
    if (!item)
        return;
    adopt(item);
    index = std::clamp(index, 0L, numberOfItems());
    items.insert(items.begin() + index, std::move(item));
    didChange();
}

void NSMenu::removeItem(long index) {
    Runtime::assertMainThread("NSMenu.removeItem");
    if (index < 0 || index >= numberOfItems())
        return;
    items[size_t(index)]->menu_.reset();
    items.erase(items.begin() + index);
    didChange();
}

void NSMenu::removeAllItems() {
    Runtime::assertMainThread("NSMenu.removeAllItems");
    for (auto& item : items)
        item->menu_.reset();
    items.clear();
    didChange();
}

void NSMenu::update() {
    Runtime::assertMainThread("NSMenu.update");
    if (auto d = delegate.lock())
        d->menuNeedsUpdate(*this);
}

bool NSMenu::performActionForItem(long index) {
    Runtime::assertMainThread("NSMenu.performActionForItem");
    auto chosen = item(index);
    if (!chosen || !chosen->isEnabled || chosen->isSeparatorItem() || chosen->isSectionHeader())
        return false;
    if (chooser)
        return chooser(index);
    return NSApplication::shared().sendAction(chosen->action, chosen->target.lock(), chosen.get());
}

bool NSMenu::popUp(const std::shared_ptr<NSMenuItem>& positioningItem, CGPoint location,
                   const std::shared_ptr<NSView>& view) {
    Runtime::assertMainThread("NSMenu.popUp");
    update();
    popUp_ = PopUp{positioningItem, location, view};
    const Presenter& show = presenter();
    if (!show)
        return false;
    std::shared_ptr<NSMenuItem> chosen;
    {
        auto window = view ? view->window() : nullptr;
        std::optional<NSWindow::NestedLoop> nested;
        if (window)
            nested.emplace(*window);
        chosen = show(*this, *popUp_);
    }
    auto holder = chosen ? chosen->menu() : nullptr;
    if (!holder)
        return false;
    holder->performActionForItem(holder->indexOfItem(*chosen));
    return true;
}

NSMenu::Presenter& NSMenu::presenter() {
    static Presenter shown;
    return shown;
}

NSMenu::Presenter NSMenu::setPresenter(Presenter presenter) {
    Runtime::assertMainThread("NSMenu.setPresenter");
    return std::exchange(NSMenu::presenter(), std::move(presenter));
}
