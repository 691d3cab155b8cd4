#include "AppKit/NSPopUpButton.h"
#include <algorithm>

#include "AppKit/NSApplication.h"
#include "AppKit/NSImage.h"

void NSPopUpButtonCell::setMenuItem(std::shared_ptr<NSMenuItem> item) {
    shown = std::move(item);
    title = shown ? shown->title : std::string();
}

CGRect NSPopUpButtonCell::drawingRectForBounds(CGRect bounds) const {
    if (!isBordered && !isBezeled)
        return bounds;
    constexpr CGFloat left = 8, right = 18, vertical = 2;
    return {bounds.minX() + left, bounds.minY() + vertical,
            std::max<CGFloat>(0, bounds.width() - left - right),
            std::max<CGFloat>(0, bounds.height() - 2 * vertical)};
}

CGRect NSPopUpButtonCell::imageRectForBounds(CGRect bounds) const {
    auto picture = shown ? shown->image : nullptr;
    if (!picture || imagePosition == NSCellImagePosition::noImage)
        return {};
    const CGRect d = drawingRectForBounds(bounds);
    const CGSize s = picture->size();
    return {d.minX(), d.midY() - s.height / 2, s.width, s.height};
}

void NSPopUpButtonCell::drawInteriorWithFrame(CGRect frame, NSView& controlView) {
    drawImageWithFrame(frame, controlView);
    if (!title.empty() && imagePosition != NSCellImagePosition::imageOnly)
        drawTitle(attributedTitle(), titleRectForBounds(frame), controlView);
}

void NSPopUpButtonCell::drawImageWithFrame(CGRect frame, NSView& controlView) {
    if (auto picture = shown ? shown->image : nullptr)
        drawImage(picture, imageRectForBounds(frame), controlView);
}

std::shared_ptr<NSCell> NSPopUpButton::makeCell() {
    return make<NSPopUpButtonCell>(NSButtonCell::TextCell{}, initialPullsDown);
}

void NSPopUpButton::didInit() {
    NSButton::didInit();
    setMenu(NSMenu::make());
}

bool NSPopUpButton::pullsDown() const {
    auto c = popUpCell();
    return c ? c->pullsDown : initialPullsDown;
}

void NSPopUpButton::setPullsDown(bool pulls) {
    if (auto c = popUpCell())
        c->pullsDown = pulls;
    initialPullsDown = pulls;
    setNeedsDisplay();
}

void NSPopUpButton::setMenu(std::shared_ptr<NSMenu> menu) {
    Runtime::assertMainThread("NSPopUpButton.setMenu");
    if (menu_) {
        menu_->chooser = {};
        menu_->changed = {};
    }
    menu_ = menu ? std::move(menu) : NSMenu::make();
    std::weak_ptr<NSPopUpButton> self = weakAs<NSPopUpButton>();
    menu_->chooser = [self](long index) {
        auto button = self.lock();
        return button && button->choose(index);
    };
    menu_->changed = [self] {
        if (auto button = self.lock())
            button->menuChanged();
    };
    selected.reset();
    menuChanged();
}

void NSPopUpButton::addItem(std::string title) {
    Runtime::assertMainThread("NSPopUpButton.addItem");
    menu_->addItem(NSMenuItem::make(std::move(title)));
}

void NSPopUpButton::removeAllItems() {
    Runtime::assertMainThread("NSPopUpButton.removeAllItems");
    menu_->removeAllItems();
}

void NSPopUpButton::menuChanged() {
    if (selectedItem())
        return;
    selected.reset();
    if (pullsDown() || numberOfItems() == 0) {
        if (auto c = popUpCell(); c && c->usesItemFromMenu && !pullsDown())
            c->setMenuItem(nullptr);
        setNeedsDisplay();
        return;
    }
    selectItem(0);
}

bool NSPopUpButton::inMenu(const NSMenuItem& item) const {
    for (auto holder = item.menu(); holder; holder = holder->supermenu())
        if (holder == menu_)
            return true;
    return false;
}

std::shared_ptr<NSMenuItem> NSPopUpButton::selectedItem() const {
    auto item = selected.lock();
    if (!item || !inMenu(*item))
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
    if (auto old = selectedItem(); old && !pullsDown())
        old->state = NSCell::StateValue::off;
    if (!item || !inMenu(*item)) {
        selected.reset();
        return;
    }
    selected = item;
    if (!pullsDown()) {
        item->state = NSCell::StateValue::on;
        if (auto c = popUpCell(); c && c->usesItemFromMenu)
            c->setMenuItem(item);
        else if (!c)
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
    // A pop-up puts the selected item over the button, a pull-down hangs below it.
    const bool pulls = pullsDown();
    const CGFloat top = isFlipped() ? 0 : bounds().height();
    const CGFloat bottom = isFlipped() ? bounds().height() : 0;
    highlight(true);
    menu_->popUp(pulls ? nullptr : selectedItem(), CGPoint{0, pulls ? bottom : top},
                 sharedAs<NSView>());
    highlight(false);
}
