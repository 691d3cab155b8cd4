#include "Controls/QuarroPushButton.h"

#include "AppKit/NSImage.h"
#include "Controls/CellArt.h"
#include "Controls/FocusRing.h"
#include "Controls/StyledButton.h"
#include "Styles/Styles.h"

using PushButtonRules::insetBy;

QuarroPushButtonCell::QuarroPushButtonCell(TextCell content) : StyledControl(std::move(content)) {
    highlightsBy = NSCellStyleMask::none;
}

QuarroPushButtonCell::QuarroPushButtonCell(ImageCell content) : StyledControl(std::move(content)) {
    highlightsBy = NSCellStyleMask::none;
}

StyledControlState QuarroPushButtonCell::controlState() const {
    return PushButtonRules::controlState(*this, selected);
}

CGRect QuarroPushButtonCell::drawingRectForBounds(CGRect bounds) const {
    return isBordered || isBezeled ? NSButtonCell::drawingRectForBounds(bounds) : bounds;
}

CGRect QuarroPushButtonCell::imageRectForBounds(CGRect bounds) const {
    return PushButtonRules::imageRect(*this, bounds, imageEdgeInsets);
}

CGRect QuarroPushButtonCell::titleRectForBounds(CGRect bounds) const {
    return insetBy(NSButtonCell::titleRectForBounds(bounds), titleEdgeInsets);
}

void QuarroPushButtonCell::drawBezel(CGRect frame, NSView& controlView) {
    const CGRect rect = bezelStyle == NSBezelStyle::rounded ? insetBy(frame, edgeInsets) : frame;
    drawUprightArt(styleBezelImage(), rect, controlView, frame.height(), artFraction(isEnabled));
}

CGRect QuarroPushButtonCell::drawTitle(const NSAttributedString& title, CGRect frame,
                                       NSView& controlView) {
    const NSAttributedString styled(title.string(),
                                    {.font = Styles::Control::font(),
                                     .color = styleTextColor(),
                                     .alignment = NSTextAlignment::center,
                                     .lineBreakMode = NSLineBreakMode::byTruncatingTail,
                                     .backgroundColor = nullptr});
    return NSButtonCell::drawTitle(styled, frame, controlView);
}

void QuarroPushButtonCell::drawImage(const std::shared_ptr<NSImage>& shown, CGRect frame,
                                     NSView& controlView) {
    PushButtonRules::drawImage(*this, shown, frame, controlView);
}

void QuarroPushButtonCell::drawWithFrame(CGRect frame, NSView& controlView) {
    if (isBordered || isBezeled)
        drawBezel(frame, controlView);
    drawInteriorWithFrame(frame, controlView);
}

// ---- The button

std::shared_ptr<NSCell> QuarroPushButton::makeCell() {
    return make<QuarroPushButtonCell>();
}

void QuarroPushButton::didInit() {
    NSButton::didInit();
    if (auto c = std::dynamic_pointer_cast<QuarroPushButtonCell>(cell()))
        c->highlightsBy = NSCellStyleMask::none;
}

bool QuarroPushButton::isSelected() const {
    auto c = std::dynamic_pointer_cast<QuarroPushButtonCell>(cell());
    return c && c->isSelected();
}

void QuarroPushButton::setSelected(bool value) {
    Runtime::assertMainThread("QuarroPushButton.isSelected");
    if (auto c = std::dynamic_pointer_cast<QuarroPushButtonCell>(cell()))
        c->setSelected(value);
    setNeedsDisplay();
}

CGSize QuarroPushButton::intrinsicContentSize() const {
    CGSize size = NSButton::intrinsicContentSize();
    if (fixedWidth)
        size.width = *fixedWidth;
    if (fixedHeight)
        size.height = *fixedHeight;
    return size;
}

void QuarroPushButton::drawRect(CGRect dirtyRect) {
    NSButton::drawRect(dirtyRect);
    if (auto c = std::dynamic_pointer_cast<QuarroPushButtonCell>(cell()))
        drawLibraryFocusRing(*this, focusRingMaskBounds(), c->styleFocusRingColor());
}
