#include "AppKit/NSEvent.h"

#include <atomic>

#include "AppKit/NSEventState.h"

namespace {
// The keyboard's and mouse's state as the last dispatched event left it: process-wide,
// like the hardware state the platform reports.
std::atomic<uint64_t> currentFlags{0};
std::atomic<uint64_t> pressedButtons{0};
std::atomic<double> clickInterval{0.5};
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
                        uint64_t modifierFlags, bool inverted) {
    NSEvent e;
    e.type_ = Type::scrollWheel;
    e.location = location;
    e.dx = deltaX;
    e.dy = deltaY;
    e.precise = precise;
    e.inverted = inverted;
    e.modifiers = modifierFlags;
    return e;
}

std::optional<NSEventSpecialKey> NSEvent::specialKey() const {
    // The one code point of the characters, from UTF-8.
    const auto* b = reinterpret_cast<const unsigned char*>(chars.data());
    const std::size_t n = chars.size();
    char32_t c;
    if (n == 1 && b[0] < 0x80)
        c = b[0];
    else if (n == 3 && (b[0] & 0xF0) == 0xE0)
        c = char32_t(b[0] & 0x0F) << 12 | char32_t(b[1] & 0x3F) << 6 | char32_t(b[2] & 0x3F);
    else
        return std::nullopt;
    using K = NSEventSpecialKey;
    switch (c) {
    case 0x03:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0C:
    case 0x0D:
    case 0x19:
    case 0x7F:
    case 0x2028:
    case 0x2029:
        return K(c);
    default:
        if (c >= 0xF700 && c <= 0xF8FF) // the function-key range
            return K(c);
        return std::nullopt;
    }
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

double NSEvent::doubleClickInterval() {
    return clickInterval.load();
}
void NSEvent::setDoubleClickInterval(double seconds) {
    clickInterval.store(seconds);
}
