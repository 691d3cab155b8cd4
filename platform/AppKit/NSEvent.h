#pragma once
// Stands in for NSEvent: an input event — mouse down, dragged, up and moved with
// their location in the window, click count and modifier flags; scroll wheel; key
// down and up with characters and key code; mouse entered / exited of a tracking
// area. Events are injected into a window (NSWindow::sendEvent), by tests and by the
// real-window layer alike. The raw values of types and modifier flags are the
// platform's, because callers test them by number.
// Left out: tablet, gesture, pressure and system-defined events, event queues and
// monitors, coalescing. Thread: main thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSEventKeys.h"

#include "CoreGraphics/CGGeometry.h"

class NSWindow;
class NSTrackingArea;

class NSEvent {
  public:
    enum class Type : int {
        leftMouseDown = 1,
        leftMouseUp = 2,
        rightMouseDown = 3,
        rightMouseUp = 4,
        mouseMoved = 5,
        leftMouseDragged = 6,
        rightMouseDragged = 7,
        mouseEntered = 8,
        mouseExited = 9,
        keyDown = 10,
        keyUp = 11,
        flagsChanged = 12,
        cursorUpdate = 17,
        scrollWheel = 22,
    };

    // Modifier flags (NSEvent.ModifierFlags), combined with |.
    enum ModifierFlags : uint64_t {
        capsLock = 1u << 16,
        shift = 1u << 17,
        control = 1u << 18,
        option = 1u << 19,
        command = 1u << 20,
        numericPad = 1u << 21,
        function = 1u << 23,
    };

    static NSEvent mouse(Type type, CGPoint locationInWindow, uint64_t modifierFlags = 0,
                         int clickCount = 1, double timestamp = 0);
    static NSEvent key(Type type, std::string characters, uint16_t keyCode,
                       uint64_t modifierFlags = 0, bool isARepeat = false);
    // Scroll deltas in points (precise) or lines. `inverted`: the deltas run against
    // the device's movement ("natural" scrolling), as the person set it.
    static NSEvent scroll(CGPoint locationInWindow, CGFloat deltaX, CGFloat deltaY,
                          bool precise = true, uint64_t modifierFlags = 0, bool inverted = false);

    Type type() const { return type_; }
    CGPoint locationInWindow() const { return location; }
    uint64_t modifierFlags() const { return modifiers; }
    int clickCount() const { return clicks; }
    double timestamp() const { return time; }
    // 0 left, 1 right.
    int buttonNumber() const;

    const std::string& characters() const { return chars; }
    const std::string& charactersIgnoringModifiers() const { return chars; }
    uint16_t keyCode() const { return code; }
    // The special key the event's one character is (a function key, Return, Tab,
    // Delete, ...); none for other keys, several characters or no character.
    std::optional<NSEventSpecialKey> specialKey() const;
    bool isARepeat() const { return repeat; }

    CGFloat scrollingDeltaX() const { return dx; }
    CGFloat scrollingDeltaY() const { return dy; }
    bool hasPreciseScrollingDeltas() const { return precise; }
    // Whether the scroll deltas run against the device's movement (the person's
    // "natural" scrolling setting): a view that moves a value with the wheel negates
    // them to follow the finger.
    bool isDirectionInvertedFromDevice() const { return inverted; }
    // Movement since the previous mouse event of the window (drags and moves).
    CGFloat deltaX() const { return moveX; }
    CGFloat deltaY() const { return moveY; }

    // The window the event was sent to (set by NSWindow::sendEvent).
    std::shared_ptr<NSWindow> window() const { return window_.lock(); }
    // The tracking area of an entered / exited / cursor-update event.
    std::shared_ptr<NSTrackingArea> trackingArea() const { return area.lock(); }

    // An event-type mask (NSEvent.EventTypeMask): the bit 1 << the type's raw value.
    static constexpr uint64_t mask(Type type) { return uint64_t(1) << int(type); }
    // The longest time between the clicks of a double click, in seconds: the person's
    // setting, 0.5 until something sets another. Thread: any.
    static double doubleClickInterval();
    static void setDoubleClickInterval(double seconds);

    // The modifier flags of the event being (or last) dispatched, process-wide, as
    // the platform's class property reads the keyboard's current state.
    static uint64_t currentModifierFlags();
    // Bit 0: left button down, bit 1: right button down.
    static uint64_t pressedMouseButtons();

  private:
    friend class NSWindow;
    NSEvent() = default;

    Type type_ = Type::mouseMoved;
    CGPoint location;
    uint64_t modifiers = 0;
    int clicks = 0;
    double time = 0;
    std::string chars;
    uint16_t code = 0;
    bool repeat = false;
    CGFloat dx = 0, dy = 0;
    bool precise = true;
    bool inverted = false;
    CGFloat moveX = 0, moveY = 0;
    std::weak_ptr<NSWindow> window_;
    std::weak_ptr<NSTrackingArea> area;
};
