#include "Controls/StyledSlider.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSApplication.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "Controls/FocusRing.h"

namespace {
using State = StyledControlState;

// Artwork as drawn: template images take the control-text colour.
std::shared_ptr<NSImage> tinted(const std::shared_ptr<NSImage>& image) {
    return image ? renderedIfTemplate(image, *NSColor::controlTextColor()) : nullptr;
}
} // namespace

// ---- The cell

std::shared_ptr<SliderCellStyle> StyledSliderCell::makeStyle() {
    auto style = std::make_shared<SliderCellStyle>();
    style->setBackgroundColor(NSColor::clear());
    return style;
}

StyledControlState StyledSliderCell::controlState() const {
    Runtime::assertMainThread("StyledSliderCell.controlState");
    State state = State::default_;
    if (!isEnabled)
        state |= State::disabled;
    else if (isHighlighted)
        state |= State::highlighted;
    return state;
}

CGRect StyledSliderCell::focusRingMaskBounds(CGRect frame, NSView&) const {
    Runtime::assertMainThread("StyledSliderCell.focusRingMaskBounds(forFrame:in:)");
    return isBezeled || isBordered ? frame : drawingRectForBounds(frame);
}

CGFloat StyledSliderCell::knobThickness() const {
    Runtime::assertMainThread("StyledSliderCell.knobThickness");
    auto bar = styleBarImage();
    if (bar && !isVertical())
        return bar->size().width;
    return NSSliderCell::knobThickness();
}

CGRect StyledSliderCell::barRect(bool flipped) const {
    Runtime::assertMainThread("StyledSliderCell.barRect(flipped:)");
    const CGRect s = NSSliderCell::barRect(flipped);
    auto view = controlView();
    auto bar = styleBarImage();
    if (!view || !bar)
        return s;
    const CGRect d = drawingRectForBounds(view->bounds());
    const CGFloat h = bar->size().height;
    const CGFloat y = std::round(d.midY() - 0.5 * h); // std::round: halves away from zero
    CGRect r = CGRect{s.minX(), y, s.width(), h}.integral();
    return CGRect{r.minX() + 2, r.minY(), r.width() - 4, r.height()}.integral();
}

CGRect StyledSliderCell::knobRect(bool flipped) const {
    Runtime::assertMainThread("StyledSliderCell.knobRect(flipped:)");
    const CGRect s = NSSliderCell::knobRect(flipped);
    auto knob = tinted(styleKnobImage());
    if (!knob)
        return s;
    const CGSize k = knob->size();
    const CGRect b = barRect(flipped);
    CGFloat x = std::round(s.midX() - 0.5 * k.width);
    x = std::min(std::max<CGFloat>(x, 0), std::max<CGFloat>(b.width() - 12, 1));
    CGRect r = CGRect{x, 0, k.width, k.height}.integral();
    r.origin.y = std::round(b.midY() - 0.5 * r.height());
    return r.integral().integral();
}

void StyledSliderCell::drawBar(CGRect r, bool flipped) {
    Runtime::assertMainThread("StyledSliderCell.drawBar(inside:flipped:)");
    auto style = styleAs<SliderCellStyle>();
    auto bar = style ? tinted(style->barImage(State::default_)) : nullptr;
    auto context = NSGraphicsContext::current();
    if (!bar || !context)
        return;
    auto view = controlView();
    NSGraphicsContext::saveGraphicsState();
    if (flipped && view) {
        // Upside down over the drawing rectangle, so the art is not drawn mirrored.
        CGContext& cg = context->cgContext();
        cg.translateBy(0, drawingRectForBounds(view->bounds()).height());
        cg.scaleBy(1, -1);
    }
    bar->draw(r, NSCompositingOperation::sourceOver, artFraction());
    if (auto fill = tinted(style->barImage(State::highlighted))) {
        // The filled part: from the bar's left edge to the knob's centre.
        CGRect part =
            CGRect{r.minX(), r.minY(), knobRect(flipped).midX() - r.minX(), r.height()}.integral();
        if (part.width() > 0)
            fill->draw(part, NSCompositingOperation::sourceOver, artFraction());
    }
    NSGraphicsContext::restoreGraphicsState();
}

void StyledSliderCell::drawKnob(CGRect knobRect) {
    Runtime::assertMainThread("StyledSliderCell.drawKnob(_:)");
    if (auto knob = tinted(styleKnobImage()))
        knob->draw(knobRect, NSCompositingOperation::sourceOver, artFraction());
}

NSBackgroundStyle StyledSliderCell::interiorBackgroundStyle() const {
    Runtime::assertMainThread("StyledSliderCell.interiorBackgroundStyle");
    return style()->interiorBackgroundStyle();
}

// ---- The slider

void StyledSlider::didInit() {
    Runtime::assertMainThread("StyledSlider.init(frame:)");
    NSSlider::didInit();
    setTarget(weakAs<NSObject>());
    setAction(&StyledSlider::sliderValueChanged);
}

void StyledSlider::sliderValueChanged(NSObject*) {
    Runtime::assertMainThread("StyledSlider.sliderValueChanged(_:)");
    const auto& event = NSApplication::shared().currentEvent();
    if (!event)
        return;
    const std::function<void(double)>* callback = nullptr;
    switch (event->type()) {
    case NSEvent::Type::leftMouseDown:
        callback = &onSlideStarted;
        break;
    case NSEvent::Type::leftMouseDragged:
        callback = &onSlideOngoing;
        break;
    case NSEvent::Type::leftMouseUp:
        callback = &onSlideComplete;
        break;
    default:
        return;
    }
    if (*callback)
        (*callback)(doubleValue());
}

CGSize StyledSlider::intrinsicContentSize() const {
    Runtime::assertMainThread("StyledSlider.intrinsicContentSize");
    CGSize size = NSSlider::intrinsicContentSize();
    if (!fixedWidth)
        return size;
    size.width = *fixedWidth;
    if (auto* styled = dynamic_cast<StyledSliderCell*>(cell().get())) {
        auto bar = styled->styleBarImage();
        auto knob = styled->styleKnobImage();
        if (bar)
            size.width = std::max(*fixedWidth, bar->size().width);
        if (bar && knob)
            size.height = std::max(knob->size().height, bar->size().height);
    }
    return size;
}

void StyledSlider::drawRect(CGRect dirtyRect) {
    Runtime::assertMainThread("StyledSlider.draw(_:)");
    NSSlider::drawRect(dirtyRect);
    if (auto* styled = dynamic_cast<StyledSliderCell*>(cell().get()))
        drawLibraryFocusRing(*this, styled->focusRingMaskBounds(bounds(), *this),
                             styled->styleFocusRingColor());
}

void StyledScrollableSlider::scrollWheel(const NSEvent& event) {
    Runtime::assertMainThread("StyledScrollableSlider.scrollWheel(with:)");
    if (!isEnabled())
        return;
    const double range = maxValue() - minValue();
    double delta;
    if (isVertical() && sliderType() == NSSliderType::linear)
        delta = event.scrollingDeltaY();
    else if (userInterfaceLayoutDirection() == NSUserInterfaceLayoutDirection::leftToRight)
        delta = event.scrollingDeltaY() - event.scrollingDeltaX();
    else
        delta = event.scrollingDeltaY() + event.scrollingDeltaX();
    if (event.isDirectionInvertedFromDevice())
        delta = -delta;
    const double step = range * delta / 100 * 0.25;
    double value = doubleValue() + step;
    if (sliderType() == NSSliderType::circular) {
        if (value < minValue())
            value = maxValue() - std::abs(step);
        else if (value > maxValue())
            value = minValue() + std::abs(step);
    }
    setDoubleValue(value);
    sendAction();
}
