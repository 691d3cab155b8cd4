#include "AppKit/NSSearchField.h"

#include <cmath>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"

namespace {

// The platform's button art, drawn here: a magnifier, and a grey disc with a cross.
std::shared_ptr<NSImage> magnifierImage() {
    auto image = NSImage::withSize({14, 14}, true, [](CGRect) {
        NSColor::secondaryLabelColor()->setStroke();
        auto lens = NSBezierPath::ovalIn({1.5, 1.5, 8, 8});
        lens->lineWidth = 1.5;
        lens->stroke();
        auto handle = NSBezierPath::make();
        handle->move({8.5, 8.5});
        handle->line({12.5, 12.5});
        handle->lineWidth = 1.5;
        handle->stroke();
        return true;
    });
    image->setName("NSSearchFieldSearch");
    return image;
}

std::shared_ptr<NSImage> cancelImage() {
    auto image = NSImage::withSize({14, 14}, true, [](CGRect) {
        NSColor::secondaryLabelColor()->setFill();
        NSBezierPath::ovalIn({0, 0, 14, 14})->fill();
        NSColor::controlBackgroundColor()->setStroke();
        auto cross = NSBezierPath::make();
        cross->move({4.5, 4.5});
        cross->line({9.5, 9.5});
        cross->move({9.5, 4.5});
        cross->line({4.5, 9.5});
        cross->lineWidth = 1.5;
        cross->stroke();
        return true;
    });
    image->setName("NSSearchFieldCancel");
    return image;
}

std::shared_ptr<NSButtonCell> buttonCell(std::shared_ptr<NSImage> image) {
    auto cell = make<NSButtonCell>();
    cell->setImage(std::move(image));
    cell->imagePosition = NSCellImagePosition::imageOnly;
    cell->isBordered = false;
    return cell;
}

} // namespace

// ---- The cell

void NSSearchFieldCell::didInit() {
    NSTextFieldCell::didInit();
    isEditable = isSelectable = isBezeled = true;
    resetSearchButtonCell();
    resetCancelButtonCell();
}

void NSSearchFieldCell::resetSearchButtonCell() {
    searchButtonCell = buttonCell(magnifierImage());
}

void NSSearchFieldCell::resetCancelButtonCell() {
    cancelButtonCell = buttonCell(cancelImage());
}

CGRect NSSearchFieldCell::searchButtonRectForBounds(CGRect b) const {
    return searchButtonCell ? CGRect{b.minX(), b.minY(), 26, b.height()} : CGRect{};
}

CGRect NSSearchFieldCell::cancelButtonRectForBounds(CGRect b) const {
    return cancelButtonCell ? CGRect{b.maxX() - 22, b.minY(), 22, b.height()} : CGRect{};
}

CGRect NSSearchFieldCell::searchTextRectForBounds(CGRect b) const {
    const CGFloat from = searchButtonCell ? searchButtonRectForBounds(b).maxX() : b.minX();
    const CGFloat to = cancelButtonCell ? cancelButtonRectForBounds(b).minX() : b.maxX();
    return {from, b.minY(), std::max<CGFloat>(to - from, 0), b.height()};
}

void NSSearchFieldCell::drawInteriorWithFrame(CGRect frame, NSView& view) {
    if (searchButtonCell)
        searchButtonCell->drawInteriorWithFrame(searchButtonRectForBounds(frame), view);
    NSTextFieldCell::drawInteriorWithFrame(searchTextRectForBounds(frame), view);
    if (cancelButtonCell && !stringValue().empty())
        cancelButtonCell->drawInteriorWithFrame(cancelButtonRectForBounds(frame), view);
}

// ---- The field

namespace {
class PlainSearchFieldCell : public NSSearchFieldCell {};
} // namespace

std::shared_ptr<NSCell> NSSearchField::makeCell() {
    return make<PlainSearchFieldCell>();
}

NSSearchField::~NSSearchField() {
    if (pending)
        pending->invalidate();
}

std::shared_ptr<NSSearchFieldCell> NSSearchField::searchFieldCell() const {
    return std::dynamic_pointer_cast<NSSearchFieldCell>(cell());
}

void NSSearchField::sendSearch() {
    if (pending)
        pending->invalidate();
    pending = nullptr;
    sendAction();
}

void NSSearchField::mouseDown(const NSEvent& event) {
    auto c = searchFieldCell();
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (c && isEnabled() && !stringValue().empty() &&
        c->cancelButtonRectForBounds(bounds()).contains(p)) {
        setStringValue("");
        sendSearch();
        return;
    }
    NSTextField::mouseDown(event);
}

void NSSearchField::textDidChange(const Notification& notification) {
    NSTextField::textDidChange(notification);
    auto c = searchFieldCell();
    if (!c || c->sendsWholeSearchString)
        return;
    if (c->sendsSearchStringImmediately) {
        sendSearch();
        return;
    }
    if (pending)
        pending->invalidate();
    std::weak_ptr<NSSearchField> weak = sharedAs<NSSearchField>();
    pending = Timer::scheduled(searchDelay, false, [weak](Timer&) {
        if (auto field = weak.lock())
            field->sendSearch();
    });
}

void NSSearchField::textDidEndEditing(const Notification& notification) {
    auto movement = NSTextMovement::other;
    if (auto it = notification.userInfo.find(NSText::movementUserInfoKey);
        it != notification.userInfo.end())
        movement = std::any_cast<NSTextMovement>(it->second);
    // Return sends the action itself: what was waiting goes with it.
    if (movement == NSTextMovement::return_ && pending) {
        pending->invalidate();
        pending = nullptr;
    }
    NSTextField::textDidEndEditing(notification);
}
