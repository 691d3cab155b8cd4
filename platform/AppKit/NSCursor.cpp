#include "AppKit/NSCursor.h"

#include "AppKit/NSImage.h"

namespace {
// The cursor state of the process (there is one pointer), main thread only.
struct CursorState {
    std::vector<std::shared_ptr<NSCursor>> stack;
    std::shared_ptr<NSCursor> current;
    std::vector<std::string> history;
    std::function<void(const std::shared_ptr<NSCursor>&)> handler;
};

CursorState& state() {
    static CursorState s;
    return s;
}

void show(const std::shared_ptr<NSCursor>& cursor) {
    CursorState& s = state();
    s.current = cursor;
    if (s.handler)
        s.handler(cursor);
}
} // namespace

#define SYSTEM_CURSOR(function)                                                                    \
    const std::shared_ptr<NSCursor>& NSCursor::function() {                                        \
        static const std::shared_ptr<NSCursor> cursor =                                            \
            make<NSCursor>(#function, nullptr, CGPoint{});                                         \
        return cursor;                                                                             \
    }
SYSTEM_CURSOR(arrow)
SYSTEM_CURSOR(pointingHand)
SYSTEM_CURSOR(iBeam)
SYSTEM_CURSOR(crosshair)
SYSTEM_CURSOR(openHand)
SYSTEM_CURSOR(closedHand)
SYSTEM_CURSOR(resizeLeftRight)
SYSTEM_CURSOR(resizeUpDown)
#undef SYSTEM_CURSOR

std::shared_ptr<NSCursor> NSCursor::withImage(std::shared_ptr<NSImage> image, CGPoint hotSpot) {
    std::string name = image ? image->name() : std::string();
    return make<NSCursor>(std::move(name), std::move(image), hotSpot);
}

std::shared_ptr<NSCursor> NSCursor::current() {
    Runtime::assertMainThread("NSCursor.current");
    return state().current ? state().current : arrow();
}

void NSCursor::set() {
    Runtime::assertMainThread("NSCursor.set");
    state().history.push_back("set " + name_);
    show(sharedAs<NSCursor>());
}

void NSCursor::push() {
    Runtime::assertMainThread("NSCursor.push");
    state().history.push_back("push " + name_);
    state().stack.push_back(sharedAs<NSCursor>());
    show(state().stack.back());
}

void NSCursor::pop() {
    Runtime::assertMainThread("NSCursor.pop");
    CursorState& s = state();
    s.history.push_back("pop");
    if (!s.stack.empty())
        s.stack.pop_back();
    show(s.stack.empty() ? arrow() : s.stack.back());
}

const std::vector<std::string>& NSCursor::history() {
    return state().history;
}

void NSCursor::clearHistory() {
    state().history.clear();
}

void NSCursor::setChangeHandler(std::function<void(const std::shared_ptr<NSCursor>&)> handler) {
    state().handler = std::move(handler);
}
