#pragma once
// Gestures: descriptions of pointer interactions that a view carries (.gesture(_:),
// .simultaneousGesture(_:), .highPriorityGesture(_:), .onTapGesture). The view graph
// hit-tests a press, collects the gestures of every view along the hit path and runs a
// recogniser for each; exclusive gestures compete (the first in priority order that
// has not failed wins, a child's before its parent's, high-priority ones before all),
// simultaneous ones run alongside. Thread: main.

#include <functional>
#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"

namespace SwiftUI {

class Node;

// Modifier keys held during an event, as a bit set.
struct EventModifiers {
    enum : unsigned {
        capsLock = 1u << 0,
        shift = 1u << 1,
        control = 1u << 2,
        option = 1u << 3,
        command = 1u << 4,
        numericPad = 1u << 5,
        function = 1u << 6,
    };
};

enum class GestureMask { none = 0, gesture = 1, subviews = 2, all = 3 };

// The space gesture locations are reported in: the gesture view's own bounds, the
// hosting view's, or those of an ancestor marked with .coordinateSpace(name:).
struct CoordinateSpace {
    enum class Kind { local, global, named } kind = Kind::local;
    std::string name;
    static CoordinateSpace local() { return {}; }
    static CoordinateSpace global() { return {Kind::global, {}}; }
    static CoordinateSpace named(std::string n) { return {Kind::named, std::move(n)}; }
};

namespace detail {

// One pointer event as a recogniser sees it.
struct PointerSample {
    CGPoint location;    // in the gesture's coordinate space
    bool inside = false; // within the gesture view's hit area
    int clickCount = 1;
    unsigned modifiers = 0;
    double timestamp = 0; // seconds
};

enum class PointerPhase { down, dragged, up };

class Recognizer {
  public:
    enum class Status { possible, ready, failed, done };
    virtual ~Recognizer() = default;
    // Follows one event; fires the gesture's actions only once active.
    virtual void handle(PointerPhase phase, const PointerSample& sample) = 0;
    // The graph lets the gesture go ahead: it fires what it has recognised so far.
    virtual void activate() = 0;
    // Another gesture won, or the view went away.
    virtual void cancel() {}
    Status status = Status::possible;
    bool active = false;
};

// Where a recogniser finds the current version of its gesture: the node and the
// position of the gesture in it (the node's gestures are replaced on every rebuild,
// and the newest actions are the ones to run).
struct GestureSite {
    std::weak_ptr<Node> node;
    size_t index = 0;
};

class GestureImpl {
  public:
    virtual ~GestureImpl() = default;
    virtual std::unique_ptr<Recognizer> makeRecognizer(GestureSite site) const = 0;
    virtual CoordinateSpace space() const { return CoordinateSpace::local(); }
};

} // namespace detail

// Any gesture, type erased.
class Gesture {
  public:
    explicit Gesture(std::shared_ptr<const detail::GestureImpl> g) : impl(std::move(g)) {}
    const detail::GestureImpl& implementation() const { return *impl; }

  private:
    std::shared_ptr<const detail::GestureImpl> impl;
};

// A press that moves: begins once the pointer has moved `minimumDistance` points from
// where it went down (at once for 0), then reports every move and the release.
class DragGesture {
  public:
    struct Value {
        CGPoint startLocation; // where the pointer went down
        CGPoint location;      // where it is now
        CGSize translation;    // location - startLocation
        double time = 0;       // of the event, seconds
        CGPoint predictedEndLocation;
    };
    explicit DragGesture(CGFloat minimumDistance = 10,
                         CoordinateSpace coordinateSpace = CoordinateSpace::local())
        : minimumDistance(minimumDistance), coordinateSpace(std::move(coordinateSpace)) {}

    DragGesture onChanged(std::function<void(const Value&)> action) const {
        DragGesture g = *this;
        g.changed = std::move(action);
        return g;
    }
    DragGesture onEnded(std::function<void(const Value&)> action) const {
        DragGesture g = *this;
        g.ended = std::move(action);
        return g;
    }
    // Runs instead of the end action when a drag that has begun stops without a
    // release: its view left the tree, or the window lost the mouse. This is where a
    // view resets what the drag set up (the platform resets gesture state then).
    DragGesture onCancelled(std::function<void()> action) const {
        DragGesture g = *this;
        g.cancelled = std::move(action);
        return g;
    }
    operator Gesture() const;

    CGFloat minimumDistance;
    CoordinateSpace coordinateSpace;
    std::function<void(const Value&)> changed, ended;
    std::function<void()> cancelled;
};

// A click, or `count` clicks in a row (the event's click count), released within the
// view without having moved more than a few points; with required modifier keys when
// set with modifiers(_:) — held at the press and at the release (a press without them
// fails the tap at once).
class TapGesture {
  public:
    explicit TapGesture(int count = 1) : count(count) {}
    TapGesture onEnded(std::function<void()> action) const {
        TapGesture g = *this;
        g.ended = std::move(action);
        return g;
    }
    TapGesture modifiers(unsigned required) const {
        TapGesture g = *this;
        g.requiredModifiers = required;
        return g;
    }
    operator Gesture() const;

    // How far the pointer may move between press and release for a tap.
    static constexpr CGFloat allowedMovement = 5;

    int count;
    unsigned requiredModifiers = 0;
    std::function<void()> ended;
};

} // namespace SwiftUI
