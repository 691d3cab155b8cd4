#include "AppKit/NSButton.h"

std::shared_ptr<NSCell> NSButton::makeCell() {
    return make<NSButtonCell>();
}

void NSButton::setTitle(std::string title) {
    Runtime::assertMainThread("NSButton.setTitle");
    cell()->title = std::move(title);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

NSAttributedString NSButton::attributedTitle() const {
    if (auto c = buttonCell())
        return c->attributedTitle();
    return NSAttributedString(cell()->title, cell()->textAttributes());
}

void NSButton::setAttributedTitle(NSAttributedString title) {
    Runtime::assertMainThread("NSButton.setAttributedTitle");
    if (auto c = buttonCell())
        c->setAttributedTitle(std::move(title));
    else
        cell()->title = title.string();
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

void NSButton::setImage(std::shared_ptr<NSImage> image) {
    Runtime::assertMainThread("NSButton.setImage");
    cell()->setImage(std::move(image));
    if (auto c = buttonCell(); c && c->image() && c->imagePosition == NSCellImagePosition::noImage)
        c->imagePosition =
            c->title.empty() ? NSCellImagePosition::imageOnly : NSCellImagePosition::imageLeading;
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

std::shared_ptr<NSImage> NSButton::alternateImage() const {
    auto c = buttonCell();
    return c ? c->alternateImage() : nullptr;
}

void NSButton::setAlternateImage(std::shared_ptr<NSImage> image) {
    if (auto c = buttonCell())
        c->setAlternateImage(std::move(image));
    setNeedsDisplay();
}

NSButtonType NSButton::buttonType() const {
    auto c = buttonCell();
    return c ? c->buttonType() : NSButtonType::momentaryPushIn;
}

void NSButton::setButtonType(NSButtonType type) {
    if (auto c = buttonCell())
        c->setButtonType(type);
    setNeedsDisplay();
}

NSBezelStyle NSButton::bezelStyle() const {
    auto c = buttonCell();
    return c ? c->bezelStyle : NSBezelStyle::rounded;
}

void NSButton::setBezelStyle(NSBezelStyle style) {
    if (auto c = buttonCell())
        c->bezelStyle = style;
    setNeedsDisplay();
}

NSCellImagePosition NSButton::imagePosition() const {
    auto c = buttonCell();
    return c ? c->imagePosition : NSCellImagePosition::imageOverlaps;
}

void NSButton::setImagePosition(NSCellImagePosition position) {
    if (auto c = buttonCell())
        c->imagePosition = position;
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

NSImageScaling NSButton::imageScaling() const {
    auto c = buttonCell();
    return c ? c->imageScaling : NSImageScaling::scaleProportionallyDown;
}

void NSButton::setImageScaling(NSImageScaling scaling) {
    if (auto c = buttonCell())
        c->imageScaling = scaling;
    setNeedsDisplay();
}

void NSButton::setBordered(bool bordered) {
    cell()->isBordered = bordered;
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

bool NSButton::showsState() const {
    auto c = buttonCell();
    return c && c->showsState();
}

void NSButton::performClick(NSObject*) {
    Runtime::assertMainThread("NSButton.performClick");
    if (!isEnabled())
        return;
    if (showsState())
        setState(cell()->nextState());
    sendAction();
}

void NSButton::clicked(const NSEvent&) {
    if (showsState())
        setState(cell()->nextState());
    sendAction();
}

bool NSButton::performKeyEquivalent(const NSEvent& event) {
    constexpr uint64_t significant =
        NSEvent::shift | NSEvent::control | NSEvent::option | NSEvent::command;
    const std::string& typed = event.charactersIgnoringModifiers();
    // The keypad's Enter counts as Return, as for the platform's default button.
    const bool matches = typed == keyEquivalent || (keyEquivalent == "\r" && typed == "\x03");
    if (keyEquivalent.empty() || event.type() != NSEvent::Type::keyDown || !matches ||
        (event.modifierFlags() & significant) != keyEquivalentModifierMask ||
        isHiddenOrHasHiddenAncestor() || !isEnabled())
        return NSControl::performKeyEquivalent(event);
    performClick(this);
    return true;
}

void NSButton::keyDown(const NSEvent& event) {
    if (event.characters() == " ")
        performClick(this);
    else
        NSControl::keyDown(event);
}
