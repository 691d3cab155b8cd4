#include "Controls/CursorButton.h"

#include "AppKit/CALayer.h"
#include "AppKit/NSEvent.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKitSupport/PopUpButtonPresentation.h"
#include "Controls/CellArt.h"
#include "Runtime/Runtime.h"

void CursorButtonCell::highlight(bool flag, CGRect, NSView& controlView) {
    if (auto layer = controlView.layer())
        layer->setOpacity(flag ? 0.5f : 1.0f);
}

CursorButton::CursorButton(CGRect frame) : NSButton(frame), image_(NSImage::named("cursor-cycle")) {
    if (!image_)
        fatalError("the main bundle has no image named cursor-cycle");
}

void CursorButton::didInit() {
    NSButton::didInit();
    setWantsLayer(true);
    cursor_ = NSCursor::withImage(image_, cursorHotSpot);
}

void CursorButton::setCursorImage(std::shared_ptr<NSImage> image) {
    Runtime::assertMainThread("CursorButton.cursorImage");
    image_ = std::move(image);
    cursor_ = NSCursor::withImage(image_, cursorHotSpot);
}

void CursorButton::updateTrackingAreas() {
    NSButton::updateTrackingAreas();
    if (area)
        removeTrackingArea(area);
    area = NSTrackingArea::make(
        bounds(), NSTrackingArea::mouseEnteredAndExited | NSTrackingArea::activeAlways,
        weakAs<NSResponder>());
    addTrackingArea(area);
}

void CursorButton::mouseEntered(const NSEvent& event) {
    NSButton::mouseEntered(event);
    cursor_->push();
}

void CursorButton::mouseExited(const NSEvent& event) {
    NSButton::mouseExited(event);
    NSCursor::pop();
}

void PopUpCyclingButtonCell::drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                                       NSView& controlView) {
    drawArtRespectingFlip(image, imageRectForBounds(frame), controlView, isHighlighted ? 0.5 : 1);
}

void PopUpCyclingButton::didInit() {
    CursorButton::didInit();
    setImagePosition(NSCellImagePosition::imageTrailing);
}

bool PopUpCyclingButton::sendAction(const NSAction&, const std::weak_ptr<NSObject>& target) {
    const bool back = NSEvent::currentModifierFlags() & NSEvent::shift;
    return CursorButton::sendAction(back ? selectPreviousItemAction() : selectNextItemAction(),
                                    target);
}

void DarkHighlightButtonCell::drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                                        NSView& controlView) {
    const CGFloat fraction = isHighlighted ? 0.5 : artFraction(isEnabled);
    drawArtRespectingFlip(image, imageRectForBounds(frame), controlView, fraction);
}

void DarkHighlightButton::resetCursorRects() {
    NSButton::resetCursorRects();
    addCursorRect(bounds(), customCursor);
}
