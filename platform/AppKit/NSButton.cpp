#include "AppKit/NSButton.h"

#include "AppKit/NSImage.h"

void NSButton::setTitle(std::string title) {
    Runtime::assertMainThread("NSButton.setTitle");
    cell()->title = std::move(title);
    setNeedsDisplay();
}

void NSButton::setImage(std::shared_ptr<NSImage> image) {
    Runtime::assertMainThread("NSButton.setImage");
    cell()->image = std::move(image);
    setNeedsDisplay();
}

std::shared_ptr<NSButtonCell> NSButton::buttonCell() const {
    return std::dynamic_pointer_cast<NSButtonCell>(cell());
}

std::shared_ptr<NSImage> NSButton::alternateImage() const {
    auto c = buttonCell();
    return c ? c->alternateImage : nullptr;
}

void NSButton::setAlternateImage(std::shared_ptr<NSImage> image) {
    if (auto c = buttonCell())
        c->alternateImage = std::move(image);
    setNeedsDisplay();
}

void NSButton::setButtonType(NSButtonType t) {
    type = t;
    auto c = buttonCell();
    if (!c)
        return;
    switch (t) {
    case NSButtonType::momentaryChange:
        c->highlightsBy = contentsCellMask;
        c->showsStateBy = noCellMask;
        break;
    case NSButtonType::toggle:
        c->highlightsBy = pushInCellMask | changeGrayCellMask;
        c->showsStateBy = contentsCellMask;
        break;
    case NSButtonType::pushOnPushOff:
    case NSButtonType::onOff:
        c->highlightsBy = pushInCellMask | changeGrayCellMask;
        c->showsStateBy = changeBackgroundCellMask;
        break;
    default:
        c->highlightsBy = pushInCellMask | changeGrayCellMask;
        c->showsStateBy = noCellMask;
        break;
    }
}

void NSButton::setBordered(bool bordered) {
    cell()->isBordered = bordered;
    setNeedsDisplay();
}

void NSButton::setBezelStyle(NSBezelStyle style) {
    if (auto c = buttonCell())
        c->bezelStyle = style;
    setNeedsDisplay();
}

void NSButton::setImagePosition(NSCellImagePosition position) {
    if (auto c = buttonCell())
        c->imagePosition = position;
    setNeedsDisplay();
}

void NSButton::setImageScaling(NSImageScaling scaling) {
    if (auto c = buttonCell())
        c->imageScaling = scaling;
    setNeedsDisplay();
}

std::shared_ptr<NSImage> NSButtonCell::shownImage() const {
    const bool on = state == StateValue::on && (showsStateBy & contentsCellMask);
    const bool pressed = isHighlighted && (highlightsBy & contentsCellMask);
    return (on || pressed) && alternateImage ? alternateImage : image;
}

void NSButtonCell::drawInteriorWithFrame(CGRect frame, NSView& controlView) {
    // The plain interior with the shown image in place of the image.
    auto kept = image;
    image = shownImage();
    NSCell::drawInteriorWithFrame(frame, controlView);
    image = kept;
}

CGSize NSButtonCell::cellSize() const {
    if (title.empty() && image)
        return image->size();
    return NSCell::cellSize();
}

bool NSButton::toggles() const {
    switch (type) {
    case NSButtonType::pushOnPushOff:
    case NSButtonType::toggle:
    case NSButtonType::switchButton:
    case NSButtonType::radio:
    case NSButtonType::onOff:
        return true;
    default:
        return false;
    }
}

void NSButton::performClick(NSObject*) {
    Runtime::assertMainThread("NSButton.performClick");
    if (!isEnabled())
        return;
    if (toggles())
        setState(cell()->nextState());
    sendAction();
}

void NSButton::mouseUp(const NSEvent& event) {
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (isEnabled() && toggles() && bounds().contains(p))
        setState(cell()->nextState());
    NSControl::mouseUp(event);
}
