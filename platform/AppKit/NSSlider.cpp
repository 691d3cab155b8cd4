#include "AppKit/NSSlider.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"

// ---- The cell

void NSSliderCell::setMinValue(double value) {
    minimum = value;
    setDoubleValue(doubleValue());
}

void NSSliderCell::setMaxValue(double value) {
    maximum = value;
    setDoubleValue(doubleValue());
}

void NSSliderCell::setDoubleValue(double value) {
    const double lo = std::min(minimum, maximum), hi = std::max(minimum, maximum);
    if (std::isnan(value))
        value = lo;
    if (type == NSSliderType::circular && hi > lo) {
        // Wrapped into [lo, hi): a full turn is hi − lo.
        value = lo + std::fmod(value - lo, hi - lo);
        if (value < lo)
            value += hi - lo;
    } else {
        value = std::clamp(value, lo, hi);
    }
    NSCell::setDoubleValue(value);
}

CGFloat NSSliderCell::knobThickness() const {
    switch (controlSize) {
    case NSControlSize::small:
        return 16;
    case NSControlSize::mini:
        return 12;
    default:
        return 20;
    }
}

CGRect NSSliderCell::trackRect() const {
    auto view = controlView();
    return view ? drawingRectForBounds(view->bounds()) : CGRect{};
}

bool NSSliderCell::controlViewIsFlipped() const {
    auto view = controlView();
    return view && view->isFlipped();
}

double NSSliderCell::fraction() const {
    const double range = maxValue() - minValue();
    return range > 0 ? std::clamp((doubleValue() - minValue()) / range, 0.0, 1.0) : 0;
}

CGRect NSSliderCell::barRect(bool) const {
    CGRect t = trackRect();
    if (isVertical())
        return {t.midX() - 2, t.minY(), 4, t.height()};
    return {t.minX(), t.midY() - 2, t.width(), 4};
}

CGRect NSSliderCell::knobRect(bool flipped) const {
    CGRect t = trackRect();
    const CGFloat kt = knobThickness();
    const CGFloat f = CGFloat(fraction());
    if (isVertical()) {
        // The minimum is at the bottom of the screen: the larger y when flipped.
        CGFloat travel = std::max<CGFloat>(t.height() - kt, 0);
        CGFloat y = flipped ? t.maxY() - kt - f * travel : t.minY() + f * travel;
        return {t.midX() - kt / 2, y, kt, kt};
    }
    CGFloat travel = std::max<CGFloat>(t.width() - kt, 0);
    return {t.minX() + f * travel, t.midY() - kt / 2, kt, kt};
}

double NSSliderCell::valueAt(CGPoint point, bool flipped) const {
    CGRect t = trackRect();
    const CGFloat kt = knobThickness();
    // f = (p − (start + kt/2)) / travel along the bar.
    double f = 0;
    if (isVertical()) {
        double travel = t.height() - kt;
        double from = point.y - t.minY() - kt / 2;
        f = travel > 0 ? (flipped ? travel - from : from) / travel : 0;
    } else {
        double travel = t.width() - kt;
        f = travel > 0 ? (point.x - t.minX() - kt / 2) / travel : 0;
    }
    return minValue() + std::clamp(f, 0.0, 1.0) * (maxValue() - minValue());
}

void NSSliderCell::drawWithFrame(CGRect, NSView& controlView) {
    const bool flipped = controlView.isFlipped();
    drawBar(barRect(flipped), flipped);
    drawTickMarks();
    drawKnob();
}

void NSSliderCell::drawBar(CGRect inside, bool flipped) {
    const CGFloat alpha = isEnabled ? 1 : 0.5;
    NSColor::white(0.2, alpha)->setFill();
    NSBezierPath::roundedRect(inside, 2, 2)->fill();
    // The part of the bar below the value, filled in the accent colour.
    CGRect knob = knobRect(flipped);
    CGRect filled = inside;
    if (isVertical()) {
        filled.size.height = flipped ? inside.maxY() - knob.midY() : knob.midY() - inside.minY();
        if (flipped)
            filled.origin.y = knob.midY();
    } else {
        filled.size.width = knob.midX() - inside.minX();
    }
    if (filled.width() > 0 && filled.height() > 0) {
        NSColor::controlAccentColor()->withAlphaComponent(alpha)->setFill();
        NSBezierPath::roundedRect(filled, 2, 2)->fill();
    }
}

void NSSliderCell::drawKnob(CGRect knob) {
    const CGFloat alpha = isEnabled ? 1 : 0.5;
    auto disc = NSBezierPath::ovalIn(knob.insetBy(1, 1));
    NSColor::white(isHighlighted ? 0.7 : 0.85, alpha)->setFill();
    disc->fill();
    NSColor::white(0, 0.5 * alpha)->setStroke();
    disc->stroke();
}

void NSSliderCell::drawKnob() {
    drawKnob(knobRect(controlViewIsFlipped()));
}

bool NSSliderCell::startTracking(CGPoint point, NSView& controlView) {
    const bool flipped = controlView.isFlipped();
    CGRect knob = knobRect(flipped);
    // Grabbed on the knob: it keeps its place under the pointer; elsewhere it jumps.
    grabOffset = 0;
    if (knob.contains(point))
        grabOffset = isVertical() ? point.y - knob.midY() : point.x - knob.midX();
    continueTracking(point, point, controlView);
    return true;
}

bool NSSliderCell::continueTracking(CGPoint, CGPoint current, NSView& controlView) {
    CGPoint p = current;
    if (isVertical())
        p.y -= grabOffset;
    else
        p.x -= grabOffset;
    setDoubleValue(valueAt(p, controlView.isFlipped()));
    return true;
}

// ---- The control

double NSSlider::minValue() const {
    auto* c = sliderCell();
    return c ? c->minValue() : 0;
}
void NSSlider::setMinValue(double value) {
    if (auto* c = sliderCell())
        c->setMinValue(value);
    setNeedsDisplay(true);
}
double NSSlider::maxValue() const {
    auto* c = sliderCell();
    return c ? c->maxValue() : 1;
}
void NSSlider::setMaxValue(double value) {
    if (auto* c = sliderCell())
        c->setMaxValue(value);
    setNeedsDisplay(true);
}
NSSliderType NSSlider::sliderType() const {
    auto* c = sliderCell();
    return c ? c->sliderType() : NSSliderType::linear;
}
void NSSlider::setSliderType(NSSliderType type) {
    if (auto* c = sliderCell())
        c->setSliderType(type);
    setNeedsDisplay(true);
}
bool NSSlider::isVertical() const {
    auto* c = sliderCell();
    return c && c->isVertical();
}
void NSSlider::setVertical(bool vertical) {
    if (auto* c = sliderCell())
        c->setVertical(vertical);
    setNeedsDisplay(true);
}
CGFloat NSSlider::knobThickness() const {
    auto* c = sliderCell();
    return c ? c->knobThickness() : 0;
}

CGSize NSSlider::intrinsicContentSize() const {
    CGFloat height = controlSize() == NSControlSize::small  ? 16
                     : controlSize() == NSControlSize::mini ? 13
                                                            : 21;
    if (isVertical())
        return {height, noIntrinsicMetric};
    return {noIntrinsicMetric, height};
}

void NSSlider::mouseDown(const NSEvent& event) {
    if (!isEnabled())
        return;
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    tracking = true;
    lastPoint = p;
    cell()->isHighlighted = true;
    cell()->startTracking(p, *this);
    setNeedsDisplay(true);
    if (cell()->isContinuous)
        sendAction();
}

void NSSlider::mouseDragged(const NSEvent& event) {
    if (!tracking)
        return;
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    cell()->continueTracking(lastPoint, p, *this);
    lastPoint = p;
    setNeedsDisplay(true);
    if (cell()->isContinuous)
        sendAction();
}

void NSSlider::mouseUp(const NSEvent& event) {
    if (!tracking)
        return;
    tracking = false;
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    cell()->stopTracking(lastPoint, p, *this, true);
    cell()->isHighlighted = false;
    setNeedsDisplay(true);
    sendAction();
}
