#pragma once
// TrackingSlider: a small image control that changes a number when the user drags
// across it or scrolls over it, with no visible track or knob — the icon beside a
// numeric field of a properties panel. Every qualifying drag or scroll event moves the
// value by one `incrementBy` (only the sign of the movement counts), within
// minimumValue…maximumValue; the control shows its own cursor while the pointer is over
// it. As a ClickableImageView it also dims while pressed and publishes clicks.
//
// A drag: began → changed… → ended (or cancelled). The start calls onSlideStarted; a
// change faster than minimumPanVelocity (points per second, along the movement
// direction) takes a step, sending the action when the control is continuous; the end
// sends the action and then calls onSlideComplete. A drag cancelled after it began
// also calls onSlideComplete (without the action), so every start has its end.
// A scroll: one step by the wheel's delta along the direction (the vertical delta
// negated for "natural" scrolling), always with the action; a zero delta does nothing.
// Style members read: none (the cursor art is the library's "cursor-trackingslider").
// Thread: main.

#include <functional>
#include <memory>
#include <optional>

#include "AppKit/NSCursor.h"
#include "Combine/Combine.h"
#include "Controls/ImageViews.h"

class TrackingSlider : public ClickableImageView {
  public:
    enum class MovementDirection : int { horizontal = 0, vertical = 1 };
    // The direction of a raw value; none for values other than 0 and 1.
    static std::optional<MovementDirection> directionFromRawValue(int rawValue);

    explicit TrackingSlider(CGRect frame = {}) : ClickableImageView(frame) {}

    MovementDirection movementDirection = MovementDirection::vertical;
    CGFloat incrementBy = 0.01;
    CGFloat minimumValue = 0;
    CGFloat maximumValue = 1;
    // True once a step was taken in the current gesture (a scroll step keeps it true
    // until the next drag begins).
    bool valueWasEdited = false;
    std::function<void(double)> onSlideStarted;
    std::function<void(double)> onSlideComplete;
    std::shared_ptr<NSTrackingArea> trackingArea;
    // The library's "cursor-trackingslider" art with its hot spot at (3, 4).
    std::shared_ptr<NSCursor> cursor;
    double currentValue = 0;
    CGFloat minimumPanVelocity = 5;

    // horizontal ⇔ true.
    bool horizontalDirection() const { return movementDirection == MovementDirection::horizontal; }
    void setHorizontalDirection(bool horizontal) {
        movementDirection =
            horizontal ? MovementDirection::horizontal : MovementDirection::vertical;
    }

    bool mouseDownCanMoveWindow() const override { return false; }
    bool acceptsFirstResponder() const override { return false; }

    // The value is currentValue. Getters: as a float, or truncated toward zero to an
    // integer (saturating at the integer's limits; NaN reads as 0). Setters store the
    // value within minimumValue…maximumValue (the minimum when a caller set it above the
    // maximum); NaN is ignored. Setting sends no action and calls no callback.
    double doubleValue() const override { return currentValue; }
    float floatValue() const override { return float(currentValue); }
    int intValue() const override;
    long integerValue() const override;
    void setDoubleValue(double value) override;
    void setFloatValue(float value) override { setDoubleValue(value); }
    void setIntValue(int value) override { setDoubleValue(value); }
    void setIntegerValue(long value) override { setDoubleValue(double(value)); }

    // The pan recogniser's action (see the header). A disabled control ignores it.
    void handlePanGesture(NSObject* sender);
    void scrollWheel(const NSEvent& event) override;

    // One tracking area over the bounds (entered and exited, always active), replacing
    // the last one; entering pushes the cursor and exiting pops it.
    void updateTrackingAreas() override;
    void mouseEntered(const NSEvent& event) override;
    void mouseExited(const NSEvent& event) override;

    // The drag recogniser, made on first use with the control as target.
    const std::shared_ptr<NSPanGestureRecognizer>& panGestureRecognizer();

  protected:
    // Builds the cursor and adds the drag recogniser (which does not delay the view's
    // own mouse events).
    void didInit() override;

  private:
    // A step by the sign of `amount` (none for 0), sending the action when `send`.
    void step(double amount, bool send);
    void sendOwnAction();
    std::shared_ptr<NSPanGestureRecognizer> panRecognizer;
    // A drag began and has not yet ended or been cancelled.
    bool sliding = false;
};

// The control's value each time it sends its action.
AnyPublisher<double> doubleValuePublisher(const std::shared_ptr<TrackingSlider>& slider);
