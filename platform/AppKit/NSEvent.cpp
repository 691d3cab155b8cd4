#include "AppKit/NSEvent.h"

#include <atomic>

#include "AppKit/NSEventState.h"

namespace {
// The keyboard's and mouse's state as the last dispatched event left it: process-wide,
// like the hardware state the platform reports.
std::atomic<uint64_t> currentFlags{0};
std::atomic<uint64_t> pressedButtons{0};
} // namespace

namespace NSEventState {
void dispatched(uint64_t modifierFlags) {
    currentFlags.store(modifierFlags);
}
void setButton(int button, bool down) {
    uint64_t bit = uint64_t(1) << button;
    if (down)
        pressedButtons.fetch_or(bit);
    else
        pressedButtons.fetch_and(~bit);
}
} // namespace NSEventState

NSEvent NSEvent::mouse(Type type, CGPoint location, uint64_t modifierFlags, int clickCount,
                       double timestamp) {
    NSEvent e;
    e.type_ = type;
    e.location = location;
    e.modifiers = modifierFlags;
    e.clicks = clickCount;
    e.time = timestamp;
    return e;
}

NSEvent NSEvent::key(Type type, std::string characters, uint16_t keyCode, uint64_t modifierFlags,
                     bool isARepeat) {
    NSEvent e;
    e.type_ = type;
    e.chars = std::move(characters);
    e.code = keyCode;
    e.modifiers = modifierFlags;
    e.repeat = isARepeat;
    return e;
}

NSEvent NSEvent::scroll(CGPoint location, CGFloat deltaX, CGFloat deltaY, bool precise,
                        uint64_t modifierFlags) {
    NSEvent e;
    e.type_ = Type::scrollWheel;
    e.location = location;
    e.dx = deltaX;
    e.dy = deltaY;
    e.precise = precise;
    e.modifiers = modifierFlags;
    return e;
}

int NSEvent::buttonNumber() const {
    switch (type_) {
    case Type::rightMouseDown:
    case Type::rightMouseUp:
    case Type::rightMouseDragged:
        return 1;
    default:
        return 0;
    }
}

uint64_t NSEvent::currentModifierFlags() {
    return currentFlags.load();
}
uint64_t NSEvent::pressedMouseButtons() {
    return pressedButtons.load();
}
