#include "AppKit/NSComboBox.h"

#include <algorithm>
#include <charconv>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSMenu.h"

std::string comboBoxItemText(const NSComboBoxItem& item) {
    if (auto* text = std::get_if<std::string>(&item))
        return *text;
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(item));
    return std::string(buffer, result.ptr);
}

// MARK: - The cell

namespace {
[[noreturn]] void outOfRange(long index, std::size_t count) {
    fatalError("NSComboBox: index " + std::to_string(index) + " beyond bounds of the " +
               std::to_string(count) + " items");
}
} // namespace

void NSComboBoxCell::addItemWithObjectValue(NSComboBoxItem item) {
    Runtime::assertMainThread("NSComboBoxCell.addItem");
    items.push_back(std::move(item));
}

void NSComboBoxCell::addItemsWithObjectValues(std::vector<NSComboBoxItem> more) {
    Runtime::assertMainThread("NSComboBoxCell.addItems");
    for (auto& item : more)
        items.push_back(std::move(item));
}

void NSComboBoxCell::insertItemWithObjectValue(NSComboBoxItem item, long index) {
    Runtime::assertMainThread("NSComboBoxCell.insertItem");
    if (index < 0 || std::size_t(index) > items.size())
        outOfRange(index, items.size());
    items.insert(items.begin() + index, std::move(item));
    if (selected >= index)
        ++selected;
}

void NSComboBoxCell::removeItemAtIndex(long index) {
    Runtime::assertMainThread("NSComboBoxCell.removeItem");
    if (index < 0 || std::size_t(index) >= items.size())
        outOfRange(index, items.size());
    items.erase(items.begin() + index);
    if (selected == index)
        selected = -1;
    else if (selected > index)
        --selected;
}

void NSComboBoxCell::removeItemWithObjectValue(const NSComboBoxItem& item) {
    if (long index = indexOfItemWithObjectValue(item); index >= 0)
        removeItemAtIndex(index);
}

void NSComboBoxCell::removeAllItems() {
    Runtime::assertMainThread("NSComboBoxCell.removeAllItems");
    items.clear();
    selected = -1;
}

long NSComboBoxCell::indexOfItemWithObjectValue(const NSComboBoxItem& item) const {
    auto it = std::find(items.begin(), items.end(), item);
    return it == items.end() ? -1 : long(it - items.begin());
}

const NSComboBoxItem& NSComboBoxCell::itemObjectValueAtIndex(long index) const {
    if (index < 0 || std::size_t(index) >= items.size())
        outOfRange(index, items.size());
    return items[std::size_t(index)];
}

CGRect NSComboBoxCell::buttonRectForBounds(CGRect b) const {
    return {b.maxX() - buttonWidth, b.minY(), std::min(buttonWidth, b.width()), b.height()};
}

CGRect NSComboBoxCell::textRectForBounds(CGRect bounds) const {
    CGRect r = drawingRectForBounds(bounds);
    r.size.width = std::max<CGFloat>(0, r.width() - buttonWidth);
    return r;
}

CGRect NSComboBoxCell::titleRectForBounds(CGRect bounds) const {
    return textRectForBounds(bounds);
}

void NSComboBoxCell::drawInteriorWithFrame(CGRect frame, NSView&) {
    drawTextInRect(textRectForBounds(frame));
}

CGSize NSComboBoxCell::cellSizeForBounds(CGRect bounds) const {
    CGSize size = NSTextFieldCell::cellSizeForBounds(bounds);
    size.width += buttonWidth;
    return size;
}

void NSComboBoxCell::drawWithFrame(CGRect frame, NSView& controlView) {
    if (!NSGraphicsContext::current())
        return;
    NSTextFieldCell::drawWithFrame(frame, controlView);
    // The plain arrow key: a chevron pointing down in the button's middle.
    const CGRect button = buttonRectForBounds(frame);
    auto chevron = NSBezierPath::make();
    const CGFloat x = button.midX(), y = button.midY();
    const CGFloat down = controlView.isFlipped() ? 1.5 : -1.5;
    chevron->move({x - 3, y - down});
    chevron->line({x, y + down});
    chevron->line({x + 3, y - down});
    chevron->lineWidth = 1.5;
    (isEnabled ? NSColor::controlTextColor() : NSColor::disabledControlTextColor())->setStroke();
    chevron->stroke();
}

// MARK: - The combo box

namespace {
class PlainComboBoxCell : public NSComboBoxCell {};
} // namespace

std::shared_ptr<NSCell> NSComboBox::makeCell() {
    return make<PlainComboBoxCell>();
}

std::shared_ptr<NSComboBoxCell> NSComboBox::comboBoxCell() const {
    return std::dynamic_pointer_cast<NSComboBoxCell>(cell());
}

bool NSComboBox::usesDataSource() const {
    auto c = comboBoxCell();
    return c && c->usesDataSource;
}

void NSComboBox::setUsesDataSource(bool uses) {
    if (auto c = comboBoxCell())
        c->usesDataSource = uses;
}

std::shared_ptr<NSObject> NSComboBox::dataSource() const {
    auto c = comboBoxCell();
    return c ? c->dataSource.lock() : nullptr;
}

void NSComboBox::setDataSource(std::weak_ptr<NSObject> source) {
    if (auto c = comboBoxCell())
        c->dataSource = std::move(source);
}

std::vector<NSComboBoxItem> NSComboBox::objectValues() const {
    auto c = comboBoxCell();
    return c ? c->objectValues() : std::vector<NSComboBoxItem>{};
}

void NSComboBox::addItemWithObjectValue(NSComboBoxItem item) {
    if (auto c = comboBoxCell())
        c->addItemWithObjectValue(std::move(item));
}

void NSComboBox::addItemsWithObjectValues(std::vector<NSComboBoxItem> items) {
    if (auto c = comboBoxCell())
        c->addItemsWithObjectValues(std::move(items));
}

void NSComboBox::insertItemWithObjectValue(NSComboBoxItem item, long index) {
    if (auto c = comboBoxCell())
        c->insertItemWithObjectValue(std::move(item), index);
}

void NSComboBox::removeItemWithObjectValue(const NSComboBoxItem& item) {
    if (auto c = comboBoxCell())
        c->removeItemWithObjectValue(item);
}

void NSComboBox::removeItemAtIndex(long index) {
    if (auto c = comboBoxCell())
        c->removeItemAtIndex(index);
}

void NSComboBox::removeAllItems() {
    if (auto c = comboBoxCell())
        c->removeAllItems();
}

long NSComboBox::indexOfItemWithObjectValue(const NSComboBoxItem& item) const {
    auto c = comboBoxCell();
    return c ? c->indexOfItemWithObjectValue(item) : -1;
}

NSComboBoxItem NSComboBox::itemObjectValueAtIndex(long index) const {
    Runtime::assertMainThread("NSComboBox.itemObjectValue(at:)");
    auto c = comboBoxCell();
    if (!c)
        outOfRange(index, 0);
    return c->itemObjectValueAtIndex(index);
}

long NSComboBox::numberOfItems() const {
    auto c = comboBoxCell();
    if (!c)
        return 0;
    if (!c->usesDataSource)
        return long(c->objectValues().size());
    auto source = lockAs<NSComboBoxDataSource>(c->dataSource);
    return source ? std::max(0L, source->numberOfItemsInComboBox(const_cast<NSComboBox&>(*this)))
                  : 0;
}

std::optional<NSComboBoxItem> NSComboBox::listItem(long index) const {
    auto c = comboBoxCell();
    if (!c || index < 0 || index >= numberOfItems())
        return std::nullopt;
    if (!c->usesDataSource)
        return c->objectValues()[std::size_t(index)];
    auto source = lockAs<NSComboBoxDataSource>(c->dataSource);
    if (!source)
        return std::nullopt;
    return source->comboBoxObjectValueForItemAtIndex(const_cast<NSComboBox&>(*this), index);
}

long NSComboBox::indexOfSelectedItem() const {
    auto c = comboBoxCell();
    return c ? c->indexOfSelectedItem() : -1;
}

void NSComboBox::post(const char* name) {
    NotificationCenter::defaultCenter().post(name, sharedAs<NSObject>());
}

void NSComboBox::selectItemAtIndex(long index) {
    Runtime::assertMainThread("NSComboBox.selectItem(at:)");
    auto c = comboBoxCell();
    if (!c)
        return;
    const auto item = listItem(index);
    const long now = item ? index : -1;
    if (item) {
        if (auto* number = std::get_if<double>(&*item))
            setDoubleValue(*number);
        else
            setStringValue(std::get<std::string>(*item));
    }
    if (now == c->selected)
        return;
    c->selected = now;
    setNeedsDisplay(true);
    post(selectionDidChangeNotification);
}

void NSComboBox::deselectItemAtIndex(long index) {
    Runtime::assertMainThread("NSComboBox.deselectItem(at:)");
    auto c = comboBoxCell();
    if (!c || index < 0 || c->selected != index)
        return;
    c->selected = -1;
    post(selectionDidChangeNotification);
}

void NSComboBox::chooseListItem(NSObject* sender) {
    if (auto* item = dynamic_cast<NSMenuItem*>(sender))
        selectItemAtIndex(item->tag);
}

bool NSComboBox::popUpList() {
    Runtime::assertMainThread("NSComboBox.popUpList");
    const long count = numberOfItems();
    if (listOpen || !isEnabled() || count == 0)
        return false;
    auto self = sharedAs<NSComboBox>(); // an observer may let go of the box
    auto menu = NSMenu::make();
    menu->minimumWidth = bounds().width(); // the list is as wide as the box
    for (long i = 0; i < count; ++i) {
        auto item =
            NSMenuItem::make(comboBoxItemText(*listItem(i)), NSAction(&NSComboBox::chooseListItem));
        item->target = weakAs<NSObject>();
        item->tag = i;
        item->state = i == indexOfSelectedItem() ? NSCell::StateValue::on : NSCell::StateValue::off;
        menu->addItem(std::move(item));
    }
    listOpen = true;
    post(willPopUpNotification);
    setNeedsDisplay(true);
    // Below the box, from its leading edge.
    menu->popUp(nullptr, {bounds().minX(), isFlipped() ? bounds().maxY() : bounds().minY()}, self);
    listOpen = false;
    post(willDismissNotification);
    setNeedsDisplay(true);
    return true;
}

void NSComboBox::mouseDown(const NSEvent& event) {
    auto c = comboBoxCell();
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (c && isEnabled() && c->buttonRectForBounds(bounds()).contains(p)) {
        popUpList();
        return;
    }
    NSTextField::mouseDown(event);
}

void NSComboBox::textDidChange(const Notification& notification) {
    NSTextField::textDidChange(notification);
    const long index = indexOfSelectedItem();
    if (index < 0)
        return;
    const auto item = listItem(index);
    if (!item || comboBoxItemText(*item) != stringValue())
        deselectItemAtIndex(index);
}

bool NSComboBox::textViewDoCommandBySelector(NSTextView& view, const std::string& selector) {
    if (NSTextField::textViewDoCommandBySelector(view, selector))
        return true;
    const long count = numberOfItems();
    if ((selector != "moveDown:" && selector != "moveUp:") || count == 0)
        return false;
    const long index = indexOfSelectedItem();
    const long next =
        selector == "moveDown:" ? std::min(index + 1, count - 1) : std::max(index - 1, 0L);
    selectItemAtIndex(next);
    view.selectAll();
    return true;
}
