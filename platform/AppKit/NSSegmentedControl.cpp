#include <algorithm>
#include <cmath>

#include "AppKit/NSApplication.h"
#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSEventKeys.h"
#include "AppKit/NSSegmentedCell.h"
#include "AppKit/NSStringDrawing.h"

// ---- The cell

const NSSegmentedCell::Segment* NSSegmentedCell::at(int segment) const {
    return segment >= 0 && segment < segmentCount() ? &segments[std::size_t(segment)] : nullptr;
}

void NSSegmentedCell::setSegmentCount(int count) {
    segments.resize(std::size_t(std::max(count, 0)));
    if (selected >= segmentCount())
        selected = -1;
    if (pressed >= segmentCount())
        pressed = -1;
    key = std::clamp(key, 0, std::max(segmentCount() - 1, 0));
}

std::optional<std::string> NSSegmentedCell::label(int segment) const {
    const Segment* s = at(segment);
    return s ? s->label : std::nullopt;
}

void NSSegmentedCell::setLabel(std::optional<std::string> label, int segment) {
    if (at(segment))
        segments[std::size_t(segment)].label = std::move(label);
}

CGFloat NSSegmentedCell::width(int segment) const {
    const Segment* s = at(segment);
    return s ? s->width : 0;
}

void NSSegmentedCell::setWidth(CGFloat width, int segment) {
    if (at(segment))
        segments[std::size_t(segment)].width = std::max<CGFloat>(width, 0);
}

CGFloat NSSegmentedCell::effectiveWidth(int segment) const {
    const Segment* s = at(segment);
    if (!s)
        return 0;
    if (s->width > 0)
        return s->width;
    const CGFloat text = s->label ? NSStringSize(*s->label, {.font = font}).width : 0;
    return std::ceil(text) + 16;
}

bool NSSegmentedCell::isEnabledForSegment(int segment) const {
    const Segment* s = at(segment);
    return s && s->enabled;
}

void NSSegmentedCell::setEnabledForSegment(bool enabled, int segment) {
    if (at(segment))
        segments[std::size_t(segment)].enabled = enabled;
}

void NSSegmentedCell::setSelectedSegment(int segment) {
    selected = at(segment) ? segment : -1;
}

int NSSegmentedCell::segmentHighlightState(int segment) const {
    if (!at(segment))
        return 0;
    return segment == pressed ? 2 : 1;
}

int NSSegmentedCell::keySegment() const {
    return segments.empty() ? -1 : key;
}

void NSSegmentedCell::setKeySegment(int segment) {
    if (at(segment))
        key = segment;
}

CGRect NSSegmentedCell::frameOfSegment(int segment, CGRect cellFrame) const {
    if (!at(segment))
        return {};
    CGFloat x = cellFrame.minX();
    for (int i = 0; i < segment; ++i)
        x += effectiveWidth(i);
    return {x, cellFrame.minY(), effectiveWidth(segment), cellFrame.height()};
}

int NSSegmentedCell::segmentAt(CGPoint point, CGRect cellFrame) const {
    for (int i = 0; i < segmentCount(); ++i)
        if (frameOfSegment(i, cellFrame).contains(point))
            return i;
    return -1;
}

void NSSegmentedCell::drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) {
    for (int i = 0; i < segmentCount(); ++i)
        drawSegment(i, frameOfSegment(i, cellFrame), controlView);
}

void NSSegmentedCell::drawSegment(int segment, CGRect frame, NSView&) {
    const auto& colour = isEnabled && isEnabledForSegment(segment)
                             ? NSColor::controlTextColor()
                             : NSColor::disabledControlTextColor();
    colour->setStroke();
    NSBezierPath::strokeRect(frame.insetBy(0.5, 0.5));
    if (auto text = label(segment)) {
        NSStringAttributes attributes{.font = font, .color = colour};
        attributes.alignment = NSTextAlignment::center;
        const CGFloat h = NSStringSize(*text, attributes).height;
        NSStringDraw(*text, CGRect{frame.minX(), frame.midY() - h / 2, frame.width(), h},
                     attributes);
    }
}

CGSize NSSegmentedCell::cellSize() const {
    CGFloat w = 0;
    for (int i = 0; i < segmentCount(); ++i)
        w += effectiveWidth(i);
    const CGFloat h = controlSize == NSControlSize::small  ? 20
                      : controlSize == NSControlSize::mini ? 16
                                                           : 24;
    return {w, h};
}

// ---- The control

namespace {
class PlainSegmentedCell : public NSSegmentedCell {};
} // namespace

std::shared_ptr<NSCell> NSSegmentedControl::makeCell() {
    return make<PlainSegmentedCell>();
}

std::shared_ptr<NSSegmentedCell> NSSegmentedControl::segmentedCell() const {
    return std::dynamic_pointer_cast<NSSegmentedCell>(cell());
}

int NSSegmentedControl::segmentCount() const {
    auto c = segmentedCell();
    return c ? c->segmentCount() : 0;
}

void NSSegmentedControl::setSegmentCount(int count) {
    if (auto c = segmentedCell())
        c->setSegmentCount(count);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

std::optional<std::string> NSSegmentedControl::label(int segment) const {
    auto c = segmentedCell();
    return c ? c->label(segment) : std::nullopt;
}

void NSSegmentedControl::setLabel(std::optional<std::string> label, int segment) {
    if (auto c = segmentedCell())
        c->setLabel(std::move(label), segment);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

CGFloat NSSegmentedControl::width(int segment) const {
    auto c = segmentedCell();
    return c ? c->width(segment) : 0;
}

void NSSegmentedControl::setWidth(CGFloat width, int segment) {
    if (auto c = segmentedCell())
        c->setWidth(width, segment);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

bool NSSegmentedControl::isEnabledForSegment(int segment) const {
    auto c = segmentedCell();
    return c && c->isEnabledForSegment(segment);
}

void NSSegmentedControl::setEnabledForSegment(bool enabled, int segment) {
    if (auto c = segmentedCell())
        c->setEnabledForSegment(enabled, segment);
    setNeedsDisplay();
}

int NSSegmentedControl::selectedSegment() const {
    auto c = segmentedCell();
    return c ? c->selectedSegment() : -1;
}

void NSSegmentedControl::setSelectedSegment(int segment) {
    if (auto c = segmentedCell())
        c->setSelectedSegment(segment);
    setNeedsDisplay();
}

CGSize NSSegmentedControl::intrinsicContentSize() const {
    return cell()->cellSize();
}

bool NSSegmentedControl::acceptsFirstResponder() const {
    const auto& event = NSApplication::shared().currentEvent();
    const bool clicked = event && (event->type() == NSEvent::Type::leftMouseDown ||
                                   event->type() == NSEvent::Type::rightMouseDown);
    return isEnabled() && !clicked;
}

bool NSSegmentedControl::becomeFirstResponder() {
    if (auto c = segmentedCell(); c && c->selectedSegment() >= 0)
        c->setKeySegment(c->selectedSegment());
    setNeedsDisplay();
    return true;
}

int NSSegmentedControl::pressAt(const NSEvent& event) {
    auto c = segmentedCell();
    if (!c)
        return -1;
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    int i = c->segmentAt(p, bounds());
    if (i >= 0 && !c->isEnabledForSegment(i))
        i = -1;
    if (i != c->pressedSegment()) {
        c->setPressedSegment(i);
        setNeedsDisplay();
    }
    return i;
}

void NSSegmentedControl::mouseDown(const NSEvent& event) {
    tracking = isEnabled() && segmentedCell() && pressAt(event) >= 0;
}

void NSSegmentedControl::mouseDragged(const NSEvent& event) {
    if (tracking)
        pressAt(event);
}

void NSSegmentedControl::mouseUp(const NSEvent& event) {
    if (!tracking)
        return;
    tracking = false;
    const int i = pressAt(event);
    segmentedCell()->setPressedSegment(-1);
    setNeedsDisplay();
    if (i >= 0 && isEnabled()) {
        segmentedCell()->setSelectedSegment(i);
        sendAction();
    }
}

void NSSegmentedControl::keyDown(const NSEvent& event) {
    auto c = segmentedCell();
    const auto special = event.specialKey();
    if (!c || !isEnabled() || c->segmentCount() == 0) {
        NSControl::keyDown(event);
        return;
    }
    if (special == NSEventSpecialKey::leftArrow || special == NSEventSpecialKey::rightArrow) {
        const int step = special == NSEventSpecialKey::leftArrow ? -1 : 1;
        c->setKeySegment(std::clamp(c->keySegment() + step, 0, c->segmentCount() - 1));
        setNeedsDisplay();
    } else if (event.characters() == " " && c->isEnabledForSegment(c->keySegment())) {
        c->setSelectedSegment(c->keySegment());
        setNeedsDisplay();
        sendAction();
    } else {
        NSControl::keyDown(event);
    }
}
