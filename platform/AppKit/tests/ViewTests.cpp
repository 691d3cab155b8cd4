#include "AppKit/NSBox.h"
#include "AppKit/NSCursor.h"
#include "AppKit/NSLayoutConstraint.h"
#include "AppKit/NSViewController.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A view that records the mouse and key events it receives.
struct RecordingView : NSView {
    RecordingView(CGRect frame, std::string name, bool flipped = false)
        : NSView(frame), flipped(flipped), acceptsFirst(false) {
        identifier = std::move(name);
    }
    bool isFlipped() const override { return flipped; }
    bool acceptsFirstResponder() const override { return acceptsFirst; }

    struct Seen {
        NSEvent::Type type;
        CGPoint local;
        int clicks;
        uint64_t flags;
    };
    std::vector<Seen> seen;
    void note(const NSEvent& e) {
        seen.push_back({e.type(), convertFromView(e.locationInWindow(), nullptr), e.clickCount(),
                        e.modifierFlags()});
    }
    void mouseDown(const NSEvent& e) override { note(e); }
    void mouseDragged(const NSEvent& e) override { note(e); }
    void mouseUp(const NSEvent& e) override { note(e); }
    void keyDown(const NSEvent& e) override { note(e); }
    void scrollWheel(const NSEvent& e) override { note(e); }
    void mouseEntered(const NSEvent& e) override { note(e); }
    void mouseExited(const NSEvent& e) override { note(e); }
    void mouseMoved(const NSEvent& e) override { note(e); }
    void cursorUpdate(const NSEvent& e) override { note(e); }

    bool flipped;
    bool acceptsFirst;
};

// Window 200 × 200 (y up). A is flipped at (20, 20, 100, 100); inside A, B sits near
// A's top-left, C (not flipped) lower right, and D in C's bottom-left corner.
struct Scene {
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{0, 0, 200, 200});
    std::shared_ptr<RecordingView> a = make<RecordingView>(CGRect{20, 20, 100, 100}, "A", true);
    std::shared_ptr<RecordingView> b = make<RecordingView>(CGRect{10, 10, 30, 20}, "B");
    std::shared_ptr<RecordingView> c = make<RecordingView>(CGRect{50, 50, 40, 40}, "C");
    std::shared_ptr<RecordingView> d = make<RecordingView>(CGRect{0, 0, 10, 10}, "D");
    Scene() {
        window->contentView()->identifier = "content";
        window->contentView()->addSubview(a);
        a->addSubview(b);
        a->addSubview(c);
        c->addSubview(d);
    }
    std::string hit(CGPoint p) const {
        auto v = window->contentView()->hitTest(p);
        return v ? v->identifier : "none";
    }
};

TEST(Views, HitTestingFollowsFlippedAndNestedCoordinates) {
    Scene s;
    struct Case {
        CGPoint windowPoint;
        const char* view;
    } cases[] = {
        {{35, 100}, "B"},      // A is flipped: B hangs from A's top edge (window y 120)
        {{35, 85}, "A"},       // just below B
        {{75, 35}, "D"},       // D is at C's bottom, C at A's lower part
        {{75, 45}, "C"},       // above D, inside C
        {{10, 10}, "content"}, // outside A
        {{120, 50}, "content"} // A's right edge is outside A (half-open)
    };
    for (const Case& c : cases)
        EXPECT_EQ(s.hit(c.windowPoint), c.view) << c.windowPoint.x << "," << c.windowPoint.y;
    EXPECT_EQ(s.hit({250, 10}), "none");

    // Conversions both ways: B is not flipped inside the flipped A.
    CGPoint inB = s.b->convertFromView(CGPoint{35, 100}, nullptr);
    EXPECT_EQ(inB, (CGPoint{5, 10}));
    EXPECT_EQ(s.b->convertToView(inB, nullptr), (CGPoint{35, 100}));
    EXPECT_EQ(s.d->convertToView(CGPoint{0, 0}, s.a.get()), (CGPoint{50, 90}));

    // Hidden views and their subviews are not hit.
    s.c->setHidden(true);
    EXPECT_EQ(s.hit({75, 35}), "A");
}

TEST(Views, MouseDownDragAndUpGoToThePressedViewWithClicksAndFlags) {
    Scene s;
    using T = NSEvent::Type;
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDown, {35, 100}, NSEvent::option, 2));
    EXPECT_EQ(s.window->mouseDownView(), s.b);
    EXPECT_EQ(NSEvent::pressedMouseButtons() & 1, 1u);
    EXPECT_EQ(NSEvent::currentModifierFlags() & NSEvent::option, uint64_t(NSEvent::option));
    // Dragged far outside B, and released over another view: still B.
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {75, 35}, NSEvent::option, 2));
    s.window->sendEvent(NSEvent::mouse(T::leftMouseUp, {190, 190}, 0, 2));
    ASSERT_EQ(s.b->seen.size(), 3u);
    EXPECT_EQ(s.b->seen[0].type, T::leftMouseDown);
    EXPECT_EQ(s.b->seen[0].clicks, 2);
    EXPECT_TRUE(s.b->seen[0].flags & NSEvent::option);
    EXPECT_EQ(s.b->seen[0].local, (CGPoint{5, 10}));
    EXPECT_EQ(s.b->seen[1].type, T::leftMouseDragged);
    EXPECT_EQ(s.b->seen[2].type, T::leftMouseUp);
    EXPECT_FALSE(s.b->seen[2].flags & NSEvent::option);
    EXPECT_TRUE(s.d->seen.empty());
    EXPECT_EQ(s.window->mouseDownView(), nullptr);
    EXPECT_EQ(NSEvent::pressedMouseButtons() & 1, 0u);

    // A drag without a mouse-down reaches nobody.
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {35, 100}));
    EXPECT_EQ(s.b->seen.size(), 3u);
}

TEST(Views, UnhandledEventsClimbTheResponderChainAndKeysGoToTheFirstResponder) {
    Scene s;
    using T = NSEvent::Type;
    // A plain view does not handle mouse-downs: D's goes up to C (its superview).
    auto plain = make<NSView>(CGRect{0, 0, 5, 5});
    s.d->addSubview(plain);
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDown, {71, 31}));
    ASSERT_EQ(s.d->seen.size(), 1u);
    EXPECT_EQ(s.d->seen[0].type, T::leftMouseDown);

    // Scrolling goes to the view under the pointer and climbs from there.
    s.window->sendEvent(NSEvent::scroll({71, 31}, 0, -3));
    EXPECT_EQ(s.d->seen.size(), 2u);
    EXPECT_EQ(s.d->seen[1].type, T::scrollWheel);

    // A view that accepts first responder becomes it on mouse-down and gets keys.
    s.c->acceptsFirst = true;
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDown, {75, 45}));
    EXPECT_EQ(s.window->firstResponder(), s.c);
    s.window->sendEvent(NSEvent::key(T::keyDown, "a", 0));
    EXPECT_EQ(s.c->seen.back().type, T::keyDown);
    // Refusing views leave the window as first responder; removal resigns it.
    EXPECT_FALSE(s.window->makeFirstResponder(s.b));
    EXPECT_EQ(s.window->firstResponder(), s.window);
    EXPECT_TRUE(s.window->makeFirstResponder(s.c));
    s.c->removeFromSuperview();
    EXPECT_EQ(s.window->firstResponder(), s.window);
}

TEST(Views, TrackingAreasReportEnteringMovingAndLeaving) {
    Scene s;
    using T = NSEvent::Type;
    auto area =
        NSTrackingArea::make({},
                             NSTrackingArea::mouseEnteredAndExited | NSTrackingArea::mouseMoved |
                                 NSTrackingArea::cursorUpdate | NSTrackingArea::inVisibleRect |
                                 NSTrackingArea::activeAlways,
                             s.b);
    s.b->addTrackingArea(area);
    s.window->sendEvent(NSEvent::mouse(T::mouseMoved, {10, 10}));
    EXPECT_TRUE(s.b->seen.empty());
    s.window->sendEvent(NSEvent::mouse(T::mouseMoved, {35, 100}));
    EXPECT_TRUE(s.b->isMouseInside());
    s.window->sendEvent(NSEvent::mouse(T::mouseMoved, {36, 101}));
    // While pressed, an area without enabledDuringMouseDrag keeps its state.
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDown, {36, 101}));
    s.window->sendEvent(NSEvent::mouse(T::leftMouseDragged, {190, 190}));
    EXPECT_TRUE(s.b->isMouseInside());
    s.window->sendEvent(NSEvent::mouse(T::leftMouseUp, {190, 190}));
    std::vector<T> types;
    for (const auto& e : s.b->seen)
        types.push_back(e.type);
    EXPECT_EQ(types,
              (std::vector<T>{T::mouseEntered, T::cursorUpdate, T::mouseMoved, T::leftMouseDown,
                              T::leftMouseDragged, T::leftMouseUp, T::mouseExited}));
    EXPECT_FALSE(s.b->isMouseInside());

    // An area whose owner is gone is skipped.
    auto owner = make<RecordingView>(CGRect{}, "gone");
    s.b->addTrackingArea(
        NSTrackingArea::make({0, 0, 30, 20}, NSTrackingArea::mouseEnteredAndExited, owner));
    owner.reset();
    s.window->sendEvent(NSEvent::mouse(T::mouseMoved, {35, 100}));
}

TEST(Views, LayoutRunsParentsFirstForViewsWhoseSizeChanged) {
    struct LayingOut : NSView {
        LayingOut(CGRect f, std::vector<std::string>* log, std::string name) : NSView(f), log(log) {
            identifier = std::move(name);
        }
        void layout() override {
            log->push_back(identifier);
            if (identifier == "parent" && !subviews().empty())
                subviews()[0]->setFrame({0, 0, bounds().size.width / 2, bounds().size.height});
        }
        std::vector<std::string>* log;
    };
    std::vector<std::string> log;
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    auto parent = make<LayingOut>(CGRect{0, 0, 100, 100}, &log, "parent");
    auto child = make<LayingOut>(CGRect{}, &log, "child");
    parent->addSubview(child);
    window->setContentView(parent);
    window->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"parent", "child"}));
    EXPECT_EQ(child->frame().size, (CGSize{50, 100}));
    log.clear();
    window->layoutIfNeeded();
    EXPECT_TRUE(log.empty());
    window->setContentSize({300, 100});
    window->layoutIfNeeded();
    EXPECT_EQ(child->frame().size, (CGSize{150, 100}));
}

TEST(Views, ConstraintsPinAViewToItsSuperviewWithInsetsInEitherFlipping) {
    for (bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped" : "not flipped");
        auto window = make<NSWindow>(CGRect{0, 0, 200, 100});
        auto container = make<RecordingView>(CGRect{0, 0, 200, 100}, "container", flipped);
        window->setContentView(container);
        auto pinned = make<NSView>(CGRect{});
        container->addSubview(pinned);
        // Insets top 10, left 20, bottom 30, right 40: layout space grows downwards.
        pinned->translatesAutoresizingMaskIntoConstraints = false;
        NSLayoutConstraint::activate({
            pinned->leadingAnchor().constraint(container->leadingAnchor(), 20),
            pinned->trailingAnchor().constraint(container->trailingAnchor(), -40),
            pinned->bottomAnchor().constraint(container->bottomAnchor(), -30),
            pinned->topAnchor().constraint(container->topAnchor(), 10),
        });
        window->layoutIfNeeded();
        EXPECT_EQ(pinned->frame(), flipped ? CGRect(20, 10, 140, 60) : CGRect(20, 30, 140, 60));
        // The view's gaps seen in the window: 20 left, 40 right, 10 at the top.
        CGRect inWindow = pinned->convertToView(pinned->bounds(), nullptr);
        EXPECT_EQ(inWindow, (CGRect{20, 30, 140, 60}));
        // Resizing the superview moves the pinned edges with it.
        window->setContentSize({300, 100});
        window->layoutIfNeeded();
        EXPECT_EQ(pinned->frame().size, (CGSize{240, 60}));
        // Sizes and centres: a 50 × 20 view centred on the pinned one.
        auto badge = make<NSView>(CGRect{});
        container->addSubview(badge);
        badge->translatesAutoresizingMaskIntoConstraints = false;
        NSLayoutConstraint::activate({badge->widthAnchor().constraint(50),
                                      badge->heightAnchor().constraint(20),
                                      badge->centerXAnchor().constraint(pinned->centerXAnchor()),
                                      badge->centerYAnchor().constraint(pinned->centerYAnchor())});
        window->layoutIfNeeded();
        EXPECT_EQ(badge->frame().size, (CGSize{50, 20}));
        EXPECT_EQ(badge->frame().midX(), pinned->frame().midX());
        EXPECT_EQ(badge->frame().midY(), pinned->frame().midY());
    }
}

TEST(Views, ViewControllersLoadTheirViewOnceAndSitBetweenViewAndSuperview) {
    struct Controller : NSViewController {
        int loads = 0, didLoads = 0;
        std::vector<std::string> keys;
        void loadView() override {
            ++loads;
            setView(make<NSView>(CGRect{0, 0, 10, 10}));
        }
        void viewDidLoad() override { ++didLoads; }
        void keyDown(const NSEvent& e) override { keys.push_back(e.characters()); }
    };
    auto controller = make<Controller>();
    EXPECT_FALSE(controller->isViewLoaded());
    controller->preferredContentSize = {300, 200};
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    window->setContentViewController(controller);
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(controller->didLoads, 1);
    controller->view();
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(window->contentView(), controller->view());
    EXPECT_EQ(window->contentSize(), (CGSize{300, 200}));
    EXPECT_EQ(controller->view()->frame(), (CGRect{0, 0, 300, 200}));
    // The chain: view → its controller → the window.
    EXPECT_EQ(controller->view()->nextResponder(), controller);
    EXPECT_EQ(controller->nextResponder(), window);
    // A key that the focused view and the controlled view pass on reaches the controller.
    struct Focusable : NSView {
        using NSView::NSView;
        bool acceptsFirstResponder() const override { return true; }
    };
    auto field = make<Focusable>(CGRect{0, 0, 5, 5});
    controller->view()->addSubview(field);
    ASSERT_TRUE(window->makeFirstResponder(field));
    window->sendEvent(NSEvent::key(NSEvent::Type::keyDown, "q", 12));
    EXPECT_EQ(controller->keys, (std::vector<std::string>{"q"}));
    // Placed in another view, the controller leads to that view.
    auto other = make<NSView>(CGRect{0, 0, 50, 50});
    other->addSubview(controller->view());
    EXPECT_EQ(controller->nextResponder(), other);
}

TEST(Views, CursorsArePushedPoppedAndSetInOrder) {
    NSCursor::clearHistory();
    std::vector<std::string> shown;
    NSCursor::setChangeHandler(
        [&](const std::shared_ptr<NSCursor>& c) { shown.push_back(c->name()); });
    NSCursor::pointingHand()->push();
    NSCursor::resizeUpDown()->set();
    EXPECT_EQ(NSCursor::current(), NSCursor::resizeUpDown());
    NSCursor::pop();
    EXPECT_EQ(NSCursor::current(), NSCursor::arrow());
    NSCursor::pop(); // popping an empty stack keeps the arrow
    NSCursor::setChangeHandler(nullptr);
    EXPECT_EQ(NSCursor::history(),
              (std::vector<std::string>{"push pointingHand", "set resizeUpDown", "pop", "pop"}));
    EXPECT_EQ(shown, (std::vector<std::string>{"pointingHand", "resizeUpDown", "arrow", "arrow"}));
}

} // namespace

namespace {

TEST(Views, PrioritiesStartAtThePlatformsDefaultsAndASeparatorDrawsALine) {
    auto view = make<NSView>(CGRect{0, 0, 10, 10});
    using O = NSView::Orientation;
    EXPECT_EQ(view->contentHuggingPriority(O::horizontal), 250);
    EXPECT_EQ(view->compressionResistancePriority(O::vertical), 750);
    view->setContentHuggingPriority(50, O::vertical);
    EXPECT_EQ(view->contentHuggingPriority(O::vertical), 50);
    EXPECT_EQ(view->contentHuggingPriority(O::horizontal), 250);

    auto box = make<NSBox>(CGRect{0, 0, 50, 1});
    box->boxType = NSBox::BoxType::separator;
    auto bitmap = box->cacheDisplay(1, true);
    int fills = 0;
    for (auto& item : bitmap->displayList())
        fills += item.kind == CGDisplayItem::Kind::fill;
    EXPECT_EQ(fills, 1);
}

} // namespace
