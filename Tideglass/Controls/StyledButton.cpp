#include "Controls/StyledButton.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSParagraphStyle.h"
#include "AppKitSupport/Geometry.h"
#include "Controls/CellArt.h"
#include "Controls/FocusRing.h"

namespace {
using State = StyledControlState;

// y = round(midY(bounds) − height / 2), halves away from zero, snapped.
CGRect centredOn(CGRect r, CGRect bounds) {
    r.origin.y = std::round(bounds.midY() - r.height() / 2);
    return r.integral();
}
} // namespace

namespace PushButtonRules {

StyledControlState controlState(const NSButtonCell& cell, bool selected) {
    using StateValue = NSCell::StateValue;
    State s = State::default_;
    if (cell.showsStateBy != NSCellStyleMask::none) {
        if (cell.state == StateValue::mixed)
            s |= State::mixed;
        else if (cell.state == StateValue::on)
            s |= State::on;
    }
    if (!cell.isEnabled)
        s |= State::disabled;
    else if (cell.isHighlighted)
        s |= State::highlighted;
    if (selected)
        s |= State::selected;
    if (auto validating = dynamic_cast<const Validating*>(&cell);
        validating && !validating->isValid())
        s |= State::invalid;
    return s;
}

CGRect insetBy(CGRect r, const NSEdgeInsets& e) {
    return CGRect{r.minX() + e.left, r.minY() + e.bottom, r.width() - e.left - e.right,
                  r.height() - e.top - e.bottom}
        .integral();
}

CGRect imageRect(const NSButtonCell& cell, CGRect bounds, const NSEdgeInsets& imageInsets) {
    const CGRect inset = insetBy(bounds, imageInsets);
    if (cell.imagePosition == NSCellImagePosition::imageOnly)
        return inset;
    return centredOn(cell.NSButtonCell::imageRectForBounds(inset), bounds);
}

void drawImage(const NSButtonCell& cell, const std::shared_ptr<NSImage>& shown, CGRect frame,
               NSView& controlView) {
    if (!shown || !NSGraphicsContext::current())
        return;
    const CGSize s = shown->size();
    CGRect r;
    switch (cell.imageScaling) {
    case NSImageScaling::scaleAxesIndependently:
        r = frame;
        break;
    case NSImageScaling::scaleNone:
        r = center(CGRect{0, 0, s.width, s.height}, frame, 1);
        r.origin.x += frame.minX();
        r.origin.y += frame.minY();
        break;
    case NSImageScaling::scaleProportionallyDown:
    case NSImageScaling::scaleProportionallyUpOrDown:
        // Its own size, no scaling, kept inside the frame's min edges.
        r = {std::max(frame.minX(), std::min(frame.maxX(), s.width) - s.width),
             std::max(frame.minY(), std::min(frame.maxY(), s.height) - s.height), s.width,
             s.height};
        break;
    default:
        fatalError("Unhandled image scaling value");
    }
    const CGFloat fraction = cell.isHighlighted ? 0.5 : artFraction(cell.isEnabled);
    drawUprightArt(shown, r, controlView, frame.height(), fraction);
}

} // namespace PushButtonRules

using PushButtonRules::insetBy;

StyledButtonCell::StyledButtonCell(TextCell content) : StyledControl(std::move(content)) {
    highlightsBy = NSCellStyleMask::none;
}

StyledButtonCell::StyledButtonCell(ImageCell content) : StyledControl(std::move(content)) {
    highlightsBy = NSCellStyleMask::none;
}

StyledControlState StyledButtonCell::controlState() const {
    return PushButtonRules::controlState(*this, isSelected());
}

NSAttributedString StyledButtonCell::attributedTitleString(const std::string& text, NSControlSize,
                                                           std::shared_ptr<NSColor> color) const {
    auto s = style();
    return NSAttributedString(text, {s->font(), color ? color : s->textColor(),
                                     NSTextAlignment::center, NSLineBreakMode::byTruncatingTail});
}

CGRect StyledButtonCell::focusRingMaskBounds(CGRect frame, NSView&) const {
    return isBordered || isBezeled ? frame : drawingRectForBounds(frame);
}

CGRect StyledButtonCell::drawingRectForBounds(CGRect bounds) const {
    return isBordered || isBezeled ? insetBy(bounds, style()->edgeInsets()) : bounds;
}

CGRect StyledButtonCell::imageRectForBounds(CGRect bounds) const {
    return PushButtonRules::imageRect(*this, bounds, style()->imageEdgeInsets());
}

CGRect StyledButtonCell::titleRectForBounds(CGRect bounds) const {
    const CGRect inherited =
        NSButtonCell::titleRectForBounds(insetBy(bounds, style()->titleEdgeInsets()));
    return verticallyCenterTitle ? centredOn(inherited, bounds) : inherited;
}

void StyledButtonCell::drawBezel(CGRect frame, NSView& controlView) {
    drawUprightArt(styleBezelImage(), frame, controlView, frame.height(), artFraction(isEnabled));
}

CGRect StyledButtonCell::drawTitle(const NSAttributedString& title, CGRect frame,
                                   NSView& controlView) {
    return NSButtonCell::drawTitle(
        attributedTitleString(title.string(), controlSize, styleTextColor()), frame, controlView);
}

void StyledButtonCell::drawImage(const std::shared_ptr<NSImage>& shown, CGRect frame,
                                 NSView& controlView) {
    PushButtonRules::drawImage(*this, shown, frame, controlView);
}

void StyledButtonCell::drawWithFrame(CGRect frame, NSView& controlView) {
    if (isBordered || isBezeled)
        drawBezel(frame, controlView);
    drawInteriorWithFrame(frame, controlView);
}

// ---- The button

bool isSecondaryClick(const NSEvent& event) {
    using T = NSEvent::Type;
    const bool control = event.modifierFlags() & NSEvent::control;
    return event.type() == T::rightMouseDown || (event.type() == T::leftMouseDown && control);
}

std::shared_ptr<NSCell> StyledButton::makeCell() {
    return make<StyledButtonCell>();
}

void StyledButton::didInit() {
    NSButton::didInit();
    setupButton();
}

void StyledButton::setupButton() {
    if (auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell()))
        c->highlightsBy = NSCellStyleMask::none;
}

bool StyledButton::isSelected() const {
    auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell());
    return c && c->isSelected();
}

void StyledButton::setSelected(bool value) {
    Runtime::assertMainThread("StyledButton.isSelected");
    if (auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell()))
        c->setSelected(value);
    setNeedsDisplay();
}

NSEdgeInsets StyledButton::alignmentRectInsets() const {
    if (std::dynamic_pointer_cast<StyledButtonCell>(cell()))
        return StyledButtonCell::classStyle()->alignmentRectInsets();
    return NSButton::alignmentRectInsets();
}

CGSize StyledButton::intrinsicContentSize() const {
    CGSize size = NSButton::intrinsicContentSize();
    if (fixedWidth)
        size.width = *fixedWidth;
    auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell());
    auto art = c && isBordered() ? c->styleBezelImage() : nullptr;
    // The art bounds the width from below also when a fixed width is set.
    return sizeBoundedByArt(size, art, alignmentRectInsets());
}

void StyledButton::drawRect(CGRect dirtyRect) {
    NSButton::drawRect(dirtyRect);
    if (auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell()))
        drawLibraryFocusRing(*this, focusRingMaskBounds(), c->styleFocusRingColor());
}
