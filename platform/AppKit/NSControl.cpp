#include "AppKit/NSControl.h"

#include <charconv>
#include <cstdlib>
#include <utility>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSStringDrawing.h"
#include "AppKit/NSText.h"
#include "AppKit/NSWindow.h"

double NSCell::doubleValue() const {
    if (auto* d = std::get_if<double>(&value))
        return *d;
    if (auto* s = std::get_if<std::string>(&value))
        return std::strtod(s->c_str(), nullptr);
    return 0;
}

std::string NSCell::stringValue() const {
    if (auto* s = std::get_if<std::string>(&value))
        return *s;
    if (auto* d = std::get_if<double>(&value)) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, *d);
        return std::string(buffer, result.ptr);
    }
    return {};
}

NSAttributedString NSCell::attributedStringValue() const {
    return NSAttributedString(stringValue(), valueAttributes ? *valueAttributes : textAttributes());
}

void NSCell::setAttributedStringValue(NSAttributedString value) {
    setStringValue(value.string());
    valueAttributes = value.attributes();
}

NSStringAttributes NSCell::textAttributes() const {
    NSStringAttributes attributes;
    attributes.font = font;
    attributes.color =
        isEnabled ? NSColor::controlTextColor() : NSColor::disabledControlTextColor();
    attributes.alignment = alignment;
    attributes.lineBreakMode = lineBreakMode;
    return attributes;
}

NSCell::StateValue NSCell::nextState() const {
    switch (state) {
    case StateValue::off:
        return StateValue::on;
    case StateValue::on:
        return allowsMixedState ? StateValue::mixed : StateValue::off;
    case StateValue::mixed:
        return StateValue::off;
    }
    return StateValue::off;
}

CGRect NSCell::imageRectForBounds(CGRect bounds) const {
    const auto image = this->image();
    if (!image)
        return {};
    const CGRect d = drawingRectForBounds(bounds);
    const CGSize s = image->size();
    return {d.midX() - s.width / 2, d.midY() - s.height / 2, s.width, s.height};
}

void NSCell::highlight(bool flag, CGRect, NSView& controlView) {
    isHighlighted = flag;
    controlView.setNeedsDisplay(true);
}

void NSCell::drawFocusRingMask(CGRect frame, NSView& controlView) {
    NSBezierPath::fillRect(focusRingMaskBounds(frame, controlView));
}

CGSize NSCell::cellSize() const {
    if (title.empty() || !font)
        return {};
    return CGTextMeasure(title, font->cgFont());
}

void NSCell::drawInteriorWithFrame(CGRect frame, NSView&) {
    if (auto image = this->image()) {
        CGSize size = image->size();
        image->draw(CGRect{frame.midX() - size.width / 2, frame.midY() - size.height / 2,
                           size.width, size.height},
                    NSCompositingOperation::sourceOver, isEnabled ? 1.0 : 0.5);
    }
    std::string text = title.empty() ? stringValue() : title;
    if (text.empty())
        return;
    NSStringAttributes attributes{
        font, isEnabled ? NSColor::controlTextColor() : NSColor::disabledControlTextColor(),
        alignment, lineBreakMode};
    CGFloat height = CGTextMeasure(text, font ? font->cgFont() : CGFont::system(12)).height;
    NSStringDraw(text, CGRect{frame.minX(), frame.midY() - height / 2, frame.width(), height},
                 attributes);
}

void NSControl::didInit() {
    NSView::didInit();
    if (!cell_)
        setCell(makeCell());
}

void NSControl::setCell(std::shared_ptr<NSCell> cell) {
    cell_ = cell ? std::move(cell) : makeCell();
    cell_->setControlView(weakAs<NSView>());
    setNeedsDisplay(true);
}

void NSControl::setDoubleValue(double v) {
    cell_->setDoubleValue(v);
    setNeedsDisplay(true);
    didSetValue();
}

void NSControl::setFloatValue(float v) {
    cell_->setFloatValue(v);
    setNeedsDisplay(true);
    didSetValue();
}

void NSControl::setIntegerValue(long v) {
    cell_->setIntegerValue(v);
    setNeedsDisplay(true);
    didSetValue();
}

void NSControl::setStringValue(std::string v) {
    cell_->setStringValue(std::move(v));
    setNeedsDisplay(true);
    didSetValue();
}

void NSControl::setState(NSCell::StateValue state) {
    cell_->state = state;
    setNeedsDisplay(true);
}

void NSControl::setEnabled(bool enabled) {
    cell_->isEnabled = enabled;
    setNeedsDisplay(true);
}

void NSControl::setHighlighted(bool highlighted) {
    cell_->isHighlighted = highlighted;
    setNeedsDisplay(true);
}

void NSControl::setFont(std::shared_ptr<NSFont> font) {
    cell_->font = std::move(font);
    setNeedsDisplay(true);
}

void NSControl::setControlSize(NSControlSize size) {
    cell_->controlSize = size;
    setNeedsDisplay(true);
}

std::shared_ptr<NSText> NSControl::currentEditor() const {
    auto window = this->window();
    auto editor = window ? std::dynamic_pointer_cast<NSText>(window->firstResponder()) : nullptr;
    if (editor && editor->delegate().get() == static_cast<const NSObject*>(this))
        return editor;
    return nullptr;
}

bool NSControl::sendAction(const NSAction& action, const std::weak_ptr<NSObject>& target) {
    Runtime::assertMainThread("NSControl.sendAction");
    if (!action)
        return false;
    if (auto t = target.lock())
        return action.sendTo(*t, this);
    // No target (or a released one): the first responder that understands the message.
    auto w = window();
    if (!w)
        return false;
    for (auto r = w->firstResponder(); r; r = r->nextResponder())
        if (action.sendTo(*r, this))
            return true;
    return false;
}

void NSControl::drawRect(CGRect) {
    cell_->drawWithFrame(bounds(), *this);
}

CGRect NSControl::focusRingMaskBounds() const {
    return cell_->focusRingMaskBounds(bounds(), const_cast<NSControl&>(*this));
}

void NSControl::drawFocusRingMask() {
    cell_->drawFocusRingMask(bounds(), *this);
}

void NSControl::mouseDown(const NSEvent& event) {
    trackMouse(event);
}

void NSControl::trackMouse(const NSEvent& event, std::function<void()> then) {
    if (tracking)
        endTracking();
    if (!isEnabled()) {
        if (then)
            then();
        return;
    }
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    tracking = cell_->startTracking(p, *this);
    lastPoint = p;
    highlight(true);
    afterTracking = std::move(then);
    if (cell_->isContinuous)
        sendAction();
    if (!tracking)
        endTracking();
}

void NSControl::endTracking() {
    tracking = false;
    if (auto then = std::exchange(afterTracking, {}))
        then();
}

void NSControl::mouseDragged(const NSEvent& event) {
    if (!tracking)
        return;
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    bool inside = bounds().contains(p);
    if (inside != isHighlighted())
        highlight(inside);
    tracking = cell_->continueTracking(lastPoint, p, *this);
    lastPoint = p;
    if (cell_->isContinuous)
        sendAction();
}

void NSControl::mouseUp(const NSEvent& event) {
    // Only the release of a press this control tracks ends anything.
    if (!tracking && !afterTracking)
        return;
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    const bool wasTracking = tracking;
    if (wasTracking)
        cell_->stopTracking(lastPoint, p, *this, true);
    highlight(false);
    const bool inside = bounds().contains(p);
    if (wasTracking && inside && isEnabled())
        clicked(event);
    endTracking();
}

void NSControl::clicked(const NSEvent&) {
    sendAction();
}
