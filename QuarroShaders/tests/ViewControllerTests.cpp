#include "ShaderTestSupport.h"

#include "AboutShaderView.h"
#include "MetalShaderRenderer.h"
#include "SupporterShaderView.h"

namespace {

class ViewControllerTest : public ShaderTest {
  protected:
    std::shared_ptr<MetalShaderViewController> makeController() {
        return make<MetalShaderViewController>(make<NSView>(CGRect{0, 0, 300, 300}), "Main",
                                               "audioWaveformVertexShader",
                                               "audioWaveformFragmentShader");
    }
    // Shows the controller's view in the window, as the window's content does.
    void show(const std::shared_ptr<ShaderViewController>& c) {
        window->contentView()->addSubview(c->view());
        c->viewWillAppear();
        c->viewDidAppear();
        window->layoutIfNeeded();
    }
    static float time(const std::shared_ptr<ShaderViewController>& c) {
        return c->currentRenderer()->clock.shaderTime();
    }
};

TEST_F(ViewControllerTest, AppearingMakesAPinnedViewAtTheWindowsScale) {
    auto controller = makeController();
    show(controller);
    auto view = controller->metalKitView;
    ASSERT_TRUE(view);
    EXPECT_EQ(view->superview(), controller->view());
    EXPECT_EQ(view->frame(), (CGRect{0, 0, 300, 300}));
    controller->view()->setFrameSize({400, 300});
    window->layoutIfNeeded();
    EXPECT_EQ(view->frame(), (CGRect{0, 0, 400, 300})); // pinned to all sides
    EXPECT_EQ(view->layer()->contentsScale(), 2);
    EXPECT_EQ(view->drawableSize(), (CGSize{800, 600}));
    EXPECT_EQ(view->colorPixelFormat(), MTLPixelFormat::rgba16Float);
    EXPECT_EQ(view->colorspace(), CGColorSpace::extendedLinearSRGB);
    EXPECT_EQ(view->preferredFramesPerSecond(), 60);
    EXPECT_FALSE(view->isPaused());
    EXPECT_TRUE(view->enableSetNeedsDisplay);
    EXPECT_EQ(view->delegate(), controller->currentRenderer());
    // The layer follows the window's scale through the controller.
    EXPECT_EQ(view->layer()->delegate.lock(), controller);
    EXPECT_TRUE(controller->layerShouldInheritContentsScale(*view->layer(), 2, *window));
    // The frame timer draws at 60 frames a second.
    RunLoop::main().run(0.5);
    EXPECT_NEAR(double(device->recordedCommandBuffers().size()), 30, 1);

    // A view paused before it appears runs once it has.
    auto again = makeController();
    window->contentView()->addSubview(again->view());
    again->viewWillAppear();
    again->metalKitView->setPaused(true);
    again->viewDidAppear();
    EXPECT_FALSE(again->metalKitView->isPaused());

    // Without a window the scale is 1.
    auto alone = makeController();
    alone->viewWillAppear();
    EXPECT_EQ(alone->metalKitView->layer()->contentsScale(), 1.0);
}

TEST_F(ViewControllerTest, OnlyItsOwnWindowPausesAndResumesIt) {
    auto controller = makeController();
    show(controller);
    auto other = make<NSWindow>(CGRect{0, 0, 50, 50});
    loop.clock().advance(2);
    other->makeKeyWindow(); // ours resigns
    EXPECT_TRUE(controller->metalKitView->isPaused());
    loop.clock().advance(5);
    EXPECT_FLOAT_EQ(time(controller), 2);
    other->orderOut(); // another window resigning does nothing to ours
    EXPECT_TRUE(controller->metalKitView->isPaused());
    window->makeKeyWindow();
    EXPECT_FALSE(controller->metalKitView->isPaused());
    loop.clock().advance(1);
    EXPECT_FLOAT_EQ(time(controller), 3);
    // A notification about no window at all, or repeated, changes nothing.
    NotificationCenter::defaultCenter().post(NSWindow::didBecomeKeyNotification, nullptr);
    NotificationCenter::defaultCenter().post(NSWindow::didBecomeKeyNotification, window);
    EXPECT_FLOAT_EQ(time(controller), 3);
}

TEST_F(ViewControllerTest, DisappearingDropsEverythingAndAReappearanceStartsAtZero) {
    auto controller = makeController();
    show(controller);
    loop.clock().advance(4);
    EXPECT_FLOAT_EQ(time(controller), 4);
    auto firstView = controller->metalKitView;
    controller->viewDidDisappear();
    EXPECT_FALSE(controller->metalKitView);
    EXPECT_FALSE(controller->currentRenderer());
    EXPECT_FALSE(firstView->superview());
    EXPECT_TRUE(firstView->isPaused());
    // Late notifications find nothing to act on.
    window->resignKeyWindow();
    window->makeKeyWindow();
    show(controller);
    EXPECT_NE(controller->metalKitView, firstView);
    EXPECT_FLOAT_EQ(time(controller), 0);
    // A controller that goes leaves no observer behind.
    std::weak_ptr<ShaderViewController> gone = controller;
    controller->viewDidDisappear();
    controller->view()->removeFromSuperview();
    controller.reset();
    EXPECT_TRUE(gone.expired());
    window->resignKeyWindow();
    window->makeKeyWindow();
}

TEST_F(ViewControllerTest, WithoutADeviceTheViewStaysEmpty) {
    MTLDevice::setSystemDefaultDeviceAvailable(false);
    auto controller = makeController();
    show(controller);
    ASSERT_TRUE(controller->metalKitView);
    EXPECT_FALSE(controller->currentRenderer());
    EXPECT_FALSE(controller->metalKitView->delegate());
    window->snapshot(); // draws nothing, and does not fail
}

TEST_F(ViewControllerTest, TheSupporterSwitchesFollowTheirRules) {
    auto controller =
        make<SupporterShaderViewController>(make<NSView>(CGRect{0, 0, 300, 200}), "Supporter");
    controller->setInitialButtonStates(true, false, false, false, false, true);
    controller->switchOn(1); // no renderer yet: nothing
    show(controller);
    auto r = controller->supporterRenderer();
    using Values = SupporterShaderRenderer::Values;
    EXPECT_EQ(r->switchOnState, (Values{1, 0, 0, 0, 0, 1}));
    struct Case {
        const char* what;
        std::function<void()> act;
        Values on, down, history;
    };
    const Case cases[] = {
        {"switching on records an event",
         [&] { controller->switchOn(2); },
         {1, 0, 1, 0, 0, 1},
         {},
         {2, -1, -1, -1, -1, -1}},
        {"switching on an on switch records none",
         [&] { controller->switchOn(0); },
         {1, 0, 1, 0, 0, 1},
         {},
         {2, -1, -1, -1, -1, -1}},
        {"switching off records none",
         [&] { controller->switchOff(2); },
         {1, 0, 0, 0, 0, 1},
         {},
         {2, -1, -1, -1, -1, -1}},
        {"down and up",
         [&] {
             controller->switchDown(3);
             controller->switchDown(4);
             controller->switchUp(4);
         },
         {1, 0, 0, 0, 0, 1},
         {0, 0, 0, 1, 0, 0},
         {2, -1, -1, -1, -1, -1}},
        {"indexes outside 0-5 are ignored",
         [&] {
             for (int i : {-1, 6, 1000}) {
                 controller->switchOn(i);
                 controller->switchOff(i);
                 controller->switchDown(i);
                 controller->switchUp(i);
                 r->recordSwitchEvent(i);
             }
         },
         {1, 0, 0, 0, 0, 1},
         {0, 0, 0, 1, 0, 0},
         {2, -1, -1, -1, -1, -1}},
        {"seven events keep the six newest, newest first",
         [&] {
             for (int i : {1, 3, 4, 2, 1, 4, 3}) {
                 r->recordSwitchEvent(i);
             }
         },
         {1, 0, 0, 0, 0, 1},
         {0, 0, 0, 1, 0, 0},
         {3, 4, 1, 2, 4, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        loop.clock().advance(1);
        c.act();
        EXPECT_EQ(r->switchOnState, c.on);
        EXPECT_EQ(r->switchDownState, c.down);
        EXPECT_EQ(r->switchHistory(), c.history);
    }
    EXPECT_FLOAT_EQ(r->switchHistoryTime()[0], 6); // the time of the newest event
    // The kept states are applied to the next renderer as well.
    controller->viewDidDisappear();
    show(controller);
    EXPECT_EQ(controller->supporterRenderer()->switchOnState, (Values{1, 0, 0, 0, 0, 1}));
    // With a renderer, new states replace its own at once.
    controller->setInitialButtonStates(false, true, true, false, false, false);
    EXPECT_EQ(controller->supporterRenderer()->switchOnState, (Values{0, 1, 1, 0, 0, 0}));
}

} // namespace
