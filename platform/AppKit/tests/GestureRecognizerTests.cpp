// Click and pan recognisers fed by a window: what they report, in what order, and
// what the view under them still receives.

#include "AppKit/NSApplication.h"
#include "AppKit/NSGestureRecognizer.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using T = NSEvent::Type;
using State = NSGestureRecognizer::State;

// A view that counts its own mouse events and records each action its recognisers
// send: the state, translation and velocity at that moment (its own coordinates).
struct Watched : NSView {
    using NSView::NSView;
    bool flipped = false;
    bool isFlipped() const override { return flipped; }
    int downs = 0, ups = 0;
    void mouseDown(const NSEvent&) override { ++downs; }
    void mouseUp(const NSEvent&) override { ++ups; }

    struct Seen {
        State state;
        CGPoint translation, velocity;
    };
    std::vector<Seen> pans;
    int clicks = 0;
    std::function<void(NSPanGestureRecognizer&)> onPan;
    void panned(NSObject* sender) {
        auto& pan = dynamic_cast<NSPanGestureRecognizer&>(*sender);
        pans.push_back({pan.state(), pan.translation(this), pan.velocity(this)});
        if (onPan)
            onPan(pan);
    }
    void clicked(NSObject*) { ++clicks; }
};

struct Scene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 200});
    std::shared_ptr<NSView> container = make<NSView>(CGRect{0, 0, 200, 200});
    std::shared_ptr<Watched> view = make<Watched>(CGRect{50, 50, 100, 100});
    std::shared_ptr<NSPanGestureRecognizer> pan;
    std::shared_ptr<NSClickGestureRecognizer> click;
    double time = 0;
    Scene() {
        window->setContentView(container);
        container->addSubview(view);
        pan = make<NSPanGestureRecognizer>(view, &Watched::panned);
        click = make<NSClickGestureRecognizer>(view, &Watched::clicked);
        pan->delaysPrimaryMouseButtonEvents = false;
        click->delaysPrimaryMouseButtonEvents = false;
        view->addGestureRecognizer(pan);
        view->addGestureRecognizer(click);
    }
    // Window points; each event 10 ms after the last.
    void send(T type, CGPoint p, int clicks = 1) {
        time += 0.01;
        window->sendEvent(NSEvent::mouse(type, p, 0, clicks, time));
    }
};

TEST(GestureRecognizers, AClickIsRecognisedOnceAndTheViewStillGetsItsEvents) {
    Scene s;
    s.send(T::leftMouseDown, {100, 100});
    s.send(T::leftMouseDragged, {102, 101}); // within the click's tolerance, below a pan's
    s.send(T::leftMouseUp, {102, 101});
    EXPECT_EQ(s.view->clicks, 1);
    EXPECT_TRUE(s.view->pans.empty());
    EXPECT_EQ(s.view->downs, 1);
    EXPECT_EQ(s.view->ups, 1);
    EXPECT_EQ(s.click->state(), State::possible);

    // A press on a subview reaches the recognisers of its ancestors.
    auto inner = make<NSView>(CGRect{10, 10, 20, 20});
    s.view->addSubview(inner);
    s.send(T::leftMouseDown, {65, 65});
    s.send(T::leftMouseUp, {65, 65});
    EXPECT_EQ(s.view->clicks, 2);
}

TEST(GestureRecognizers, APanReportsBeganChangedEndedAndTheClickFails) {
    Scene s;
    s.send(T::leftMouseDown, {100, 100});
    s.send(T::leftMouseDragged, {101, 100}); // not yet far enough to begin
    EXPECT_TRUE(s.view->pans.empty());
    s.send(T::leftMouseDragged, {104, 100});
    s.send(T::leftMouseDragged, {104, 110});
    s.send(T::leftMouseUp, {104, 110});
    ASSERT_EQ(s.view->pans.size(), 3u);
    EXPECT_EQ(s.view->pans[0].state, State::began);
    EXPECT_EQ(s.view->pans[1].state, State::changed);
    EXPECT_EQ(s.view->pans[2].state, State::ended);
    // Translation from the press, in the (unflipped) view: 4 right, then 10 up.
    EXPECT_DOUBLE_EQ(s.view->pans[0].translation.x, 4);
    EXPECT_DOUBLE_EQ(s.view->pans[1].translation.y, 10);
    // Velocity over the last move: 10 points in 10 ms upwards.
    EXPECT_NEAR(s.view->pans[1].velocity.y, 1000, 1e-6);
    EXPECT_NEAR(s.view->pans[1].velocity.x, 0, 1e-6);
    EXPECT_EQ(s.view->clicks, 0);
    EXPECT_EQ(s.pan->state(), State::possible);
}

TEST(GestureRecognizers, VelocityAndTranslationFollowTheViewsFlipping) {
    Scene s;
    s.view->flipped = true;
    s.view->onPan = [&](NSPanGestureRecognizer& pan) {
        if (pan.state() == State::began)
            pan.setTranslation({50, 50}, s.view.get());
    };
    s.send(T::leftMouseDown, {100, 100});
    s.send(T::leftMouseDragged, {100, 96}); // 4 points down the screen: begins
    EXPECT_DOUBLE_EQ(s.pan->translation(s.view.get()).y, 50);
    s.send(T::leftMouseDragged, {100, 90});
    s.send(T::leftMouseUp, {100, 90});
    ASSERT_EQ(s.view->pans.size(), 3u);
    // Downwards is positive y in a flipped view (window y grows upwards); the
    // translation set at the beginning answers at once, and later moves add to it.
    EXPECT_NEAR(s.view->pans[0].velocity.y, 400, 1e-6);
    EXPECT_DOUBLE_EQ(s.view->pans[1].translation.x, 50);
    EXPECT_DOUBLE_EQ(s.view->pans[1].translation.y, 56);
}

TEST(GestureRecognizers, EventsOfTheSameInstantCountAsAMillisecondApart) {
    Scene s;
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDown, {100, 100}, 0, 1, 5));
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {102, 100}, 0, 1, 5));
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {105, 100}, 0, 1, 5));
    ASSERT_FALSE(s.view->pans.empty());
    EXPECT_TRUE(std::isfinite(s.view->pans.back().velocity.x));
    EXPECT_NEAR(s.view->pans.back().velocity.x, 3000, 1e-6);
}

TEST(GestureRecognizers, DisablingOrLosingTheViewCancelsAPanThatBegan) {
    struct Case {
        const char* what;
        std::function<void(Scene&)> interrupt;
    };
    const Case cases[] = {
        {"recogniser disabled", [](Scene& s) { s.pan->setEnabled(false); }},
        {"view removed from the window", [](Scene& s) { s.view->removeFromSuperview(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        s.send(T::leftMouseDown, {100, 100});
        s.send(T::leftMouseDragged, {110, 100});
        c.interrupt(s);
        s.send(T::leftMouseDragged, {120, 100});
        s.send(T::leftMouseUp, {120, 100});
        ASSERT_EQ(s.view->pans.size(), 2u);
        EXPECT_EQ(s.view->pans[0].state, State::began);
        EXPECT_EQ(s.view->pans[1].state, State::cancelled);
        EXPECT_EQ(s.pan->state(), State::possible);
    }
}

TEST(GestureRecognizers, TheCurrentEventIsTheOneBeingDispatched) {
    Scene s;
    std::vector<T> seen;
    s.view->onPan = [&](NSPanGestureRecognizer&) {
        seen.push_back(NSApplication::shared().currentEvent()->type());
    };
    EXPECT_FALSE(NSApplication::shared().currentEvent());
    s.send(T::leftMouseDown, {100, 100});
    s.send(T::leftMouseDragged, {110, 100});
    s.send(T::leftMouseUp, {110, 100});
    EXPECT_EQ(seen, (std::vector<T>{T::leftMouseDragged, T::leftMouseUp}));
    EXPECT_FALSE(NSApplication::shared().currentEvent());
}

} // namespace
