#pragma once
// Stands in for NSGestureRecognizer and its click and pan recognisers: objects attached
// to a view that watch the primary mouse button's presses on it (and on its
// subviews), decide what gesture they make and send their action to a weakly held
// target, with the recogniser as sender, whenever their state changes to one that
// reports: a click once, when recognised; a pan on began, every changed, and ended or
// cancelled. During the action the recogniser's state() is the new state; once a
// gesture has ended, been cancelled or failed, the recogniser is possible again.
//
// A window feeds the recognisers of the view a press went to and of that view's
// ancestors, nearest first, before the view itself gets the event. Recognisers of one
// press exclude one another: when a pan begins, the click recognisers of the same
// press fail.
//
// Coordinates: locations, translations and velocities are given in the coordinates of
// the view asked about (a null view: the window's); a velocity is converted as a
// direction, so in a flipped view downwards is positive y.
//
// Left out: delaying the view's own mouse events (delaysPrimaryMouseButtonEvents is
// kept, and the view always receives its events as with false), the other mouse
// buttons, magnification, rotation and press recognisers, delegates, touches and
// pressure. Thread: main thread.

#include <memory>
#include <vector>

#include "AppKit/NSControl.h"

class NSView;
class NSWindow;

class NSGestureRecognizer : public NSObject {
  public:
    // The platform's states with its raw values (recognized is ended).
    enum class State : int {
        possible = 0,
        began = 1,
        changed = 2,
        ended = 3,
        cancelled = 4,
        failed = 5,
        recognized = 3
    };

    State state() const { return state_; }
    // The view the recogniser is attached to (held weakly by it; the view owns it).
    std::shared_ptr<NSView> view() const { return view_.lock(); }

    std::shared_ptr<NSObject> target() const { return target_.lock(); }
    void setTarget(std::weak_ptr<NSObject> target) { target_ = std::move(target); }
    const NSAction& action() const { return action_; }
    void setAction(NSAction action) { action_ = std::move(action); }

    // A disabled recogniser watches nothing; disabling one in the middle of a gesture
    // it has begun cancels the gesture (and sends the action for it).
    bool isEnabled() const { return enabled; }
    void setEnabled(bool enabled);
    // Kept for callers; see the header's note.
    bool delaysPrimaryMouseButtonEvents = true;

    // Where the last event of the gesture happened, in `view`'s coordinates.
    CGPoint location(const NSView* view) const;

  protected:
    NSGestureRecognizer(std::weak_ptr<NSObject> target, NSAction action)
        : target_(std::move(target)), action_(std::move(action)) {}

    // What a recogniser does with the events of one press (location in the window).
    virtual void pressed(const NSEvent& event) = 0;
    virtual void dragged(const NSEvent& event) = 0;
    virtual void released(const NSEvent& event) = 0;
    // Another recogniser of the same press began a continuous gesture.
    virtual void otherBegan() {}
    // The gesture stopped without a release (disabled, or the view left the window).
    virtual void interrupted();
    // Gets ready for the next press.
    virtual void reset() {}

    // Moves to `state`, sending the action when the state reports; ended, cancelled
    // and failed then return to possible.
    void setState(State state);
    CGPoint lastLocation; // in the window

  private:
    friend class NSView;
    friend class NSGestureTracking;
    std::weak_ptr<NSView> view_;
    std::weak_ptr<NSObject> target_;
    NSAction action_;
    State state_ = State::possible;
    bool enabled = true;
};

// A click: a press and a release of the primary button that stays within a few
// points of where it went down, with at least numberOfClicksRequired clicks.
class NSClickGestureRecognizer : public NSGestureRecognizer {
  public:
    NSClickGestureRecognizer(std::weak_ptr<NSObject> target = {}, NSAction action = {})
        : NSGestureRecognizer(std::move(target), std::move(action)) {}

    // Bit 0: the primary button (the only one watched here).
    unsigned buttonMask = 1;
    int numberOfClicksRequired = 1;
    // How far the pointer may move between press and release, in points.
    static constexpr CGFloat allowedMovement = 4;

  protected:
    void pressed(const NSEvent& event) override;
    void dragged(const NSEvent& event) override;
    void released(const NSEvent& event) override;
    void otherBegan() override;
    void reset() override { watching = false; }

  private:
    bool watching = false;
    CGPoint start;
};

// A pan: begins once the pointer, pressed, has moved `beginDistance` points; then
// changed on every move and ended on the release.
class NSPanGestureRecognizer : public NSGestureRecognizer {
  public:
    NSPanGestureRecognizer(std::weak_ptr<NSObject> target = {}, NSAction action = {})
        : NSGestureRecognizer(std::move(target), std::move(action)) {}

    unsigned buttonMask = 1;
    static constexpr CGFloat beginDistance = 3;

    // How far the pointer moved since the press, in `view`'s coordinates, counted from
    // the translation last set.
    CGPoint translation(const NSView* view) const;
    // Makes translation(view) answer `translation` now; later moves add to it.
    void setTranslation(CGPoint translation, const NSView* view);
    // The pointer's speed over the last move, points per second in `view`'s
    // coordinates (events closer than a millisecond count as a millisecond apart);
    // zero before the first move.
    CGPoint velocity(const NSView* view) const;

  protected:
    void pressed(const NSEvent& event) override;
    void dragged(const NSEvent& event) override;
    void released(const NSEvent& event) override;
    void reset() override;

  private:
    bool watching = false;
    CGPoint start;           // window coordinates
    CGPoint translationBase; // window coordinates: translation = last - start + base
    CGPoint windowVelocity;
    double lastTime = 0;
};

// Internal to AppKit: the recognisers following one press in a window.
class NSGestureTracking {
  public:
    // A press went to `view`: its recognisers and its ancestors' start watching.
    void pressed(const std::shared_ptr<NSView>& view, const NSEvent& event);
    void dragged(const NSEvent& event);
    void released(const NSEvent& event);

  private:
    std::vector<std::shared_ptr<NSGestureRecognizer>> watching;
};
