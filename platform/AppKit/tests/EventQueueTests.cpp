// Nested waits for input: a handler that asks its window for the next event finds it
// queued, or waits on the run loop's clock until its deadline; events sent meanwhile
// queue up and are dispatched, in order, once the handler returns. Menus popped up
// through the presenter hold the window's events the same way.

#include "AppKit/NSApplication.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Foundation/Timer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using T = NSEvent::Type;

// On a press, waits up to half a second for the release (as a press-and-hold does).
struct WaitingView : NSView {
    using NSView::NSView;
    bool dequeue = false;
    std::optional<NSEvent> found;
    TimeInterval waitedUntil = -1;
    std::vector<T> seen;
    void mouseDown(const NSEvent& e) override {
        seen.push_back(e.type());
        found = window()->nextEvent(NSEvent::mask(T::leftMouseUp), RunLoop::main().now() + 0.5,
                                    RunLoop::Mode::defaultMode, dequeue);
        waitedUntil = RunLoop::main().now();
    }
    void mouseDragged(const NSEvent& e) override { seen.push_back(e.type()); }
    void mouseUp(const NSEvent& e) override { seen.push_back(e.type()); }
};

TEST(EventQueue, AWaitingHandlerFindsItsEventOrReachesItsDeadline) {
    struct Case {
        const char* what;
        TimeInterval releaseAt; // < 0: never
        bool dequeue;
        bool found;
        TimeInterval waitedUntil;
        std::vector<T> seen;
    };
    const Case cases[] = {
        {"released while waiting, drags queue up behind",
         0.2,
         false,
         true,
         0.2,
         {T::leftMouseDown, T::leftMouseDragged, T::leftMouseUp}},
        {"taken off the queue", 0.2, true, true, 0.2, {T::leftMouseDown, T::leftMouseDragged}},
        {"held past the deadline", -1, false, false, 0.5, {T::leftMouseDown}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunLoopTestScope scope;
        auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
        auto view = make<WaitingView>(CGRect{0, 0, 100, 100});
        view->dequeue = c.dequeue;
        window->contentView()->addSubview(view);
        std::shared_ptr<Timer> timer;
        if (c.releaseAt >= 0)
            timer = Timer::scheduled(c.releaseAt, false, [&](Timer&) {
                window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {12, 12}));
                window->sendEvent(NSEvent::mouse(T::leftMouseUp, {10, 10}));
                EXPECT_EQ(window->queuedEvents().size(), 2u);
            });
        window->sendEvent(NSEvent::mouse(T::leftMouseDown, {10, 10}));
        EXPECT_EQ(view->found.has_value(), c.found);
        EXPECT_EQ(view->waitedUntil, c.waitedUntil);
        EXPECT_EQ(view->seen, c.seen);
        EXPECT_TRUE(window->queuedEvents().empty());
        EXPECT_FALSE(window->isInNestedLoop());
    }
}

struct Receiver : NSObject {
    std::vector<std::string> chosen;
    void pick(NSObject* sender) { chosen.push_back(static_cast<NSMenuItem*>(sender)->title); }
};

TEST(EventQueue, APresentedMenuPerformsTheChosenItemAndHoldsTheWindowsEvents) {
    RunLoopTestScope scope;
    auto receiver = make<Receiver>();
    auto menu = NSMenu::make();
    auto sub = NSMenu::make();
    for (const char* title : {"A", "B"}) {
        auto item = NSMenuItem::make(title, &Receiver::pick);
        item->target = receiver;
        sub->addItem(item);
    }
    menu->addItem(NSMenuItem::make("Top", &Receiver::pick));
    menu->item(0)->target = receiver;
    menu->addItem(NSMenuItem::make("More"));
    menu->item(1)->setSubmenu(sub);
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    auto view = make<WaitingView>(CGRect{0, 0, 100, 100});
    window->contentView()->addSubview(view);

    struct Case {
        const char* what;
        std::shared_ptr<NSMenuItem> pick;
        bool chosen;
        std::vector<std::string> performed;
    };
    const Case cases[] = {
        {"an item of a submenu", sub->item(1), true, {"B"}},
        {"dismissed", nullptr, false, {}},
        {"a top-level item", menu->item(0), true, {"Top"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        receiver->chosen.clear();
        view->seen.clear();
        bool heldWhileShown = false;
        auto previous = NSMenu::setPresenter([&](NSMenu& shown, const NSMenu::PopUp& request) {
            EXPECT_EQ(&shown, menu.get());
            EXPECT_EQ(request.location, (CGPoint{3, 4}));
            // A click meanwhile waits for the handler that popped the menu up.
            window->sendEvent(NSEvent::mouse(T::leftMouseDown, {10, 10}));
            heldWhileShown = view->seen.empty() && window->isInNestedLoop();
            return c.pick;
        });
        EXPECT_EQ(menu->popUp(nullptr, {3, 4}, view), c.chosen);
        NSMenu::setPresenter(previous);
        EXPECT_TRUE(heldWhileShown);
        EXPECT_EQ(receiver->chosen, c.performed);
        EXPECT_EQ(window->queuedEvents().size(), 1u);
        window->sendEvent(NSEvent::mouse(T::leftMouseUp, {10, 10}));
        EXPECT_EQ(view->seen, (std::vector<T>{T::leftMouseDown, T::leftMouseUp}));
    }
    // Without a presenter nothing is shown or chosen; the request is still recorded.
    EXPECT_FALSE(menu->popUp(menu->item(0), {1, 1}, view));
    EXPECT_EQ(menu->lastPopUp()->positioningItem.lock(), menu->item(0));
}

} // namespace
