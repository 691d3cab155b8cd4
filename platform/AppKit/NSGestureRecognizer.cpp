#include "AppKit/NSGestureRecognizer.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSView.h"
#include "AppKit/NSWindow.h"

namespace {
CGFloat distance(CGPoint a, CGPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// A vector between the window's coordinates and `view`'s (into the view, or out of it
// to the window): the difference of the converted end points, so flipping and bounds
// origins apply but the position does not.
CGPoint convertVector(const NSView* view, CGPoint v, bool toWindow) {
    if (!view)
        return v;
    auto convert = [&](CGPoint p) {
        return toWindow ? view->convertToView(p, nullptr) : view->convertFromView(p, nullptr);
    };
    CGPoint o = convert({0, 0});
    CGPoint e = convert(v);
    return {e.x - o.x, e.y - o.y};
}
CGPoint vectorIn(const NSView* view, CGPoint v) {
    return convertVector(view, v, false);
}
} // namespace

void NSGestureRecognizer::setEnabled(bool enable) {
    Runtime::assertMainThread("NSGestureRecognizer.setEnabled");
    if (enabled == enable)
        return;
    enabled = enable;
    if (!enable)
        interrupted();
}

CGPoint NSGestureRecognizer::location(const NSView* view) const {
    return view ? view->convertFromView(lastLocation, nullptr) : lastLocation;
}

void NSGestureRecognizer::interrupted() {
    if (state_ == State::began || state_ == State::changed)
        setState(State::cancelled);
    reset();
}

void NSGestureRecognizer::setState(State state) {
    state_ = state;
    if (state != State::possible && state != State::failed && action_)
        if (auto t = target_.lock())
            action_.sendTo(*t, this);
    if (state == State::ended || state == State::cancelled || state == State::failed) {
        state_ = State::possible;
        reset();
    }
}

// ---- Click

void NSClickGestureRecognizer::pressed(const NSEvent& event) {
    watching = (buttonMask & 1) != 0;
    start = lastLocation = event.locationInWindow();
}

void NSClickGestureRecognizer::dragged(const NSEvent& event) {
    if (!watching)
        return;
    lastLocation = event.locationInWindow();
    if (distance(start, lastLocation) > allowedMovement)
        setState(State::failed);
}

void NSClickGestureRecognizer::released(const NSEvent& event) {
    if (!watching)
        return;
    lastLocation = event.locationInWindow();
    bool still = distance(start, lastLocation) <= allowedMovement;
    setState(still && event.clickCount() >= numberOfClicksRequired ? State::recognized
                                                                   : State::failed);
}

void NSClickGestureRecognizer::otherBegan() {
    if (watching)
        setState(State::failed);
}

// ---- Pan

CGPoint NSPanGestureRecognizer::translation(const NSView* view) const {
    if (state() == State::possible)
        return vectorIn(view, translationBase);
    CGPoint moved{lastLocation.x - start.x + translationBase.x,
                  lastLocation.y - start.y + translationBase.y};
    return vectorIn(view, moved);
}

void NSPanGestureRecognizer::setTranslation(CGPoint t, const NSView* view) {
    CGPoint inWindow = convertVector(view, t, true);
    // From now on translation = (last - start) + base answers `t` at once.
    start = lastLocation;
    translationBase = inWindow;
}

CGPoint NSPanGestureRecognizer::velocity(const NSView* view) const {
    return vectorIn(view, windowVelocity);
}

void NSPanGestureRecognizer::pressed(const NSEvent& event) {
    watching = (buttonMask & 1) != 0;
    start = lastLocation = event.locationInWindow();
    lastTime = event.timestamp();
    translationBase = {};
    windowVelocity = {};
}

void NSPanGestureRecognizer::dragged(const NSEvent& event) {
    if (!watching)
        return;
    CGPoint p = event.locationInWindow();
    // Speed over this move: v = Δp / Δt, with Δt at least a millisecond.
    double dt = std::max(event.timestamp() - lastTime, 0.001);
    windowVelocity = {CGFloat((p.x - lastLocation.x) / dt), CGFloat((p.y - lastLocation.y) / dt)};
    lastTime = event.timestamp();
    lastLocation = p;
    if (state() == State::possible) {
        if (distance(start, p) < beginDistance)
            return;
        setState(State::began);
        return;
    }
    setState(State::changed);
}

void NSPanGestureRecognizer::released(const NSEvent& event) {
    if (!watching)
        return;
    lastLocation = event.locationInWindow();
    if (state() == State::possible)
        setState(State::failed);
    else
        setState(State::ended);
}

void NSPanGestureRecognizer::reset() {
    watching = false;
}

// ---- Feeding them

void NSGestureTracking::pressed(const std::shared_ptr<NSView>& view, const NSEvent& event) {
    watching.clear();
    for (auto v = view; v; v = v->superview())
        for (const auto& r : v->gestureRecognizers())
            if (r->isEnabled())
                watching.push_back(r);
    for (const auto& r : std::vector(watching))
        r->pressed(event);
}

namespace {
// A recogniser whose view has left the window stops following the press.
bool stillShown(const NSGestureRecognizer& r) {
    auto view = r.view();
    return view && view->window();
}
} // namespace

void NSGestureTracking::dragged(const NSEvent& event) {
    for (const auto& r : std::vector(watching)) {
        if (!r->isEnabled())
            continue;
        if (!stillShown(*r)) {
            r->interrupted();
            continue;
        }
        auto before = r->state();
        r->dragged(event);
        if (before == NSGestureRecognizer::State::possible &&
            r->state() == NSGestureRecognizer::State::began)
            for (const auto& other : watching)
                if (other != r)
                    other->otherBegan();
    }
}

void NSGestureTracking::released(const NSEvent& event) {
    auto ending = std::move(watching);
    watching.clear();
    for (const auto& r : ending) {
        if (!r->isEnabled())
            continue;
        if (stillShown(*r))
            r->released(event);
        else
            r->interrupted();
    }
}
