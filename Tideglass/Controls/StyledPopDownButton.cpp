#include "Controls/StyledPopDownButton.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "Controls/CellArt.h"
#include "Controls/FocusRing.h"

NSBackgroundStyle StyledPopDownButtonCell::interiorBackgroundStyle() const {
    return style()->interiorBackgroundStyle();
}

CGRect StyledPopDownButtonCell::titleRectForBounds(CGRect bounds) const {
    const CGRect t = NSPopUpButtonCell::titleRectForBounds(bounds);
    const NSEdgeInsets e = style()->titleEdgeInsets();
    CGRect r = CGRect{t.minX() + e.left, t.minY() + e.bottom, t.width() - e.left - e.right,
                      t.height() - e.top - e.bottom}
                   .integral();
    r.origin.y = std::round(bounds.midY() - r.height() * 0.5);
    return r.integral();
}

void StyledPopDownButtonCell::drawBezel(CGRect frame, NSView& controlView) {
    drawUprightArt(styleBezelImage(), frame, controlView, frame.height(), artFraction(isEnabled),
                   style()->bezelImageCapInsets());
}

CGRect StyledPopDownButtonCell::drawTitle(const NSAttributedString& title, CGRect frame,
                                          NSView& controlView) {
    return NSPopUpButtonCell::drawTitle(
        menuButtonTitle(title.string(), styleTextColor(), label, NSColor::secondaryLabelColor()),
        frame, controlView);
}

// ---- The button

StyledPopDownButton::StyledPopDownButton(CGRect, bool) {
    unimplementedInitializer("Tideglass.StyledPopDownButton", "init(frame:pullsDown:)");
}

std::shared_ptr<NSCell> StyledPopDownButton::makeCell() {
    auto c = make<StyledPopDownButtonCell>();
    c->font = NSFont::systemFont(11);
    return c;
}

void StyledPopDownButton::setLabel(std::optional<std::string> label) {
    Runtime::assertMainThread("StyledPopDownButton.label");
    label_ = std::move(label);
    if (auto c = styledCell()) {
        c->label = label_;
        setNeedsDisplay();
    }
}

std::string StyledPopDownButton::title() const {
    auto c = styledCell();
    return c && c->menuItem() ? c->menuItem()->title : std::string();
}

void StyledPopDownButton::setTitle(std::string title) {
    Runtime::assertMainThread("StyledPopDownButton.title");
    if (auto c = styledCell()) {
        c->usesItemFromMenu = false;
        c->setMenuItem(NSMenuItem::make(std::move(title)));
        invalidateIntrinsicContentSize();
        setNeedsDisplay();
    }
}

NSEdgeInsets StyledPopDownButton::alignmentRectInsets() const {
    if (auto c = styledCell())
        return c->style()->alignmentRectInsets();
    return NSPopUpButton::alignmentRectInsets();
}

CGSize StyledPopDownButton::intrinsicContentSize() const {
    const CGSize size = NSPopUpButton::intrinsicContentSize();
    auto c = styledCell();
    auto art = c && isBordered() ? c->styleBezelImage() : nullptr;
    return sizeBoundedByArt(size, art, alignmentRectInsets());
}

void StyledPopDownButton::drawRect(CGRect dirtyRect) {
    NSPopUpButton::drawRect(dirtyRect);
    if (auto c = styledCell())
        drawLibraryFocusRing(*this, focusRingMaskBounds(), c->styleFocusRingColor());
}

void StyledPopDownButton::mouseDown(const NSEvent&) {
    // A disabled button acts on nothing.
    if (!isEnabled())
        return;
    pressed = true;
    highlight(true);
}

void StyledPopDownButton::mouseUp(const NSEvent& event) {
    if (!std::exchange(pressed, false))
        return;
    highlight(false);
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (bounds().contains(p) && isEnabled() && action())
        sendAction();
}
