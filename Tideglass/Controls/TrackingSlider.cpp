#include "Controls/TrackingSlider.h"

#include <cmath>
#include <limits>

#include "AppKit/NSApplication.h"
#include "AppKitSupport/NSControlActions.h"
#include "Styles/TideglassResources.h"

namespace {
// v truncated toward zero into I, saturating at I's limits; NaN gives 0.
template <class I> I saturated(double v) {
    if (std::isnan(v))
        return 0;
    constexpr double lo = double(std::numeric_limits<I>::min());
    constexpr double hi = double(std::numeric_limits<I>::max());
    if (v <= lo)
        return std::numeric_limits<I>::min();
    if (v >= hi)
        return std::numeric_limits<I>::max();
    return I(v);
}
} // namespace

std::optional<TrackingSlider::MovementDirection> TrackingSlider::directionFromRawValue(int raw) {
    if (raw == int(MovementDirection::horizontal) || raw == int(MovementDirection::vertical))
        return MovementDirection(raw);
    return std::nullopt;
}

void TrackingSlider::didInit() {
    Runtime::assertMainThread("TrackingSlider.init(frame:)");
    cursor = NSCursor::withImage(TideglassResources::nsImage("cursor-trackingslider"), {3, 4});
    ClickableImageView::didInit();
    addGestureRecognizer(panGestureRecognizer());
}

const std::shared_ptr<NSPanGestureRecognizer>& TrackingSlider::panGestureRecognizer() {
    Runtime::assertMainThread("TrackingSlider.panGestureRecognizer");
    if (!panRecognizer) {
        panRecognizer =
            make<NSPanGestureRecognizer>(weakAs<NSObject>(), &TrackingSlider::handlePanGesture);
        panRecognizer->delaysPrimaryMouseButtonEvents = false;
    }
    return panRecognizer;
}

int TrackingSlider::intValue() const {
    Runtime::assertMainThread("TrackingSlider.intValue");
    return saturated<int>(currentValue);
}

long TrackingSlider::integerValue() const {
    Runtime::assertMainThread("TrackingSlider.integerValue");
    return saturated<long>(currentValue);
}

void TrackingSlider::setDoubleValue(double value) {
    Runtime::assertMainThread("TrackingSlider.doubleValue");
    if (std::isnan(value))
        return;
    // Within [minimumValue, maximumValue]: the upper bound first, so a minimum set above
    // the maximum wins; fmin/fmax pass over a NaN bound.
    currentValue = std::fmax(std::fmin(value, maximumValue), minimumValue);
    setNeedsDisplay(true);
}

void TrackingSlider::sendOwnAction() {
    if (action())
        NSApplication::shared().sendAction(action(), target(), this);
}

void TrackingSlider::step(double amount, bool send) {
    Runtime::assertMainThread("TrackingSlider.step");
    if (amount == 0)
        return;
    valueWasEdited = true;
    setDoubleValue(amount > 0 ? doubleValue() + incrementBy : doubleValue() - incrementBy);
    if (send)
        sendOwnAction();
}

void TrackingSlider::handlePanGesture(NSObject* sender) {
    Runtime::assertMainThread("TrackingSlider.handlePanGesture(_:)");
    auto* pan = dynamic_cast<NSPanGestureRecognizer*>(sender);
    if (!pan || !isEnabled())
        return;
    using State = NSGestureRecognizer::State;
    switch (pan->state()) {
    case State::began:
    case State::cancelled:
    case State::failed: {
        valueWasEdited = false;
        const CGRect b = bounds();
        pan->setTranslation({b.midX(), b.midY()}, this);
        clicked.send(std::monostate{});
        if (pan->state() == State::began) {
            sliding = true;
            if (onSlideStarted)
                onSlideStarted(doubleValue());
        } else if (sliding) {
            // A drag that began ends here: its start gets its completion, without the action.
            sliding = false;
            if (onSlideComplete)
                onSlideComplete(doubleValue());
        }
        break;
    }
    case State::changed: {
        const CGPoint v = pan->velocity(this);
        const double along = horizontalDirection() ? v.x : v.y;
        if (std::abs(along) > minimumPanVelocity)
            step(along, isContinuous());
        break;
    }
    case State::ended:
        sliding = false;
        sendOwnAction();
        if (onSlideComplete)
            onSlideComplete(doubleValue());
        break;
    default:
        break;
    }
}

void TrackingSlider::scrollWheel(const NSEvent& event) {
    Runtime::assertMainThread("TrackingSlider.scrollWheel(with:)");
    ClickableImageView::scrollWheel(event);
    if (!isEnabled())
        return;
    double amount;
    if (horizontalDirection()) {
        amount = event.scrollingDeltaX();
    } else {
        amount = event.scrollingDeltaY();
        if (event.isDirectionInvertedFromDevice())
            amount = -amount;
    }
    step(amount, true);
}

void TrackingSlider::updateTrackingAreas() {
    Runtime::assertMainThread("TrackingSlider.updateTrackingAreas");
    ClickableImageView::updateTrackingAreas();
    if (trackingArea)
        removeTrackingArea(trackingArea);
    trackingArea = NSTrackingArea::make(
        bounds(), NSTrackingArea::mouseEnteredAndExited | NSTrackingArea::activeAlways,
        weakAs<NSResponder>());
    addTrackingArea(trackingArea);
}

void TrackingSlider::mouseEntered(const NSEvent& event) {
    Runtime::assertMainThread("TrackingSlider.mouseEntered(with:)");
    ClickableImageView::mouseEntered(event);
    cursor->push();
}

void TrackingSlider::mouseExited(const NSEvent& event) {
    Runtime::assertMainThread("TrackingSlider.mouseExited(with:)");
    ClickableImageView::mouseExited(event);
    NSCursor::pop();
}

AnyPublisher<double> doubleValuePublisher(const std::shared_ptr<TrackingSlider>& slider) {
    return controlEventPublisher(slider)->map(&TrackingSlider::doubleValue);
}
