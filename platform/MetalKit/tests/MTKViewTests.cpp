#include "MetalKit/MetalKit.h"

#include <gtest/gtest.h>

#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"

namespace {

// A delegate that clears the frame to a colour and presents it, and remembers sizes.
struct Clearing : NSObject, MTKViewDelegate {
    std::vector<CGSize> sizes;
    int draws = 0, presented = 0;
    void drawableSizeWillChange(MTKView&, CGSize size) override { sizes.push_back(size); }
    void drawInMTKView(MTKView& view) override {
        ++draws;
        auto pass = view.currentRenderPassDescriptor();
        if (!pass)
            return;
        auto buffer = view.device()->makeCommandQueue()->makeCommandBuffer();
        buffer->makeRenderCommandEncoder(*pass)->endEncoding();
        if (auto drawable = view.currentDrawable()) {
            buffer->present(drawable);
            ++presented;
        }
        buffer->commit();
    }
};

struct Inheriting : NSObject, CALayerDelegate {
    bool answer = true;
    bool layerShouldInheritContentsScale(CALayer&, CGFloat, NSWindow&) override { return answer; }
};

class MTKViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view = make<MTKView>(CGRect{0, 0, 40, 30}, MTLCreateSystemDefaultDevice());
        view->setDelegate(delegate);
        view->setColorPixelFormat(MTLPixelFormat::rgba16Float);
        view->setColorspace(CGColorSpace::extendedLinearSRGB);
    }
    RunLoopTestScope loop;
    std::shared_ptr<Clearing> delegate = make<Clearing>();
    std::shared_ptr<MTKView> view;
};

TEST_F(MTKViewTest, TheDrawableFollowsBoundsTimesTheLayersScale) {
    EXPECT_EQ(view->drawableSize(), (CGSize{40, 30}));
    view->layer()->setContentsScale(2);
    view->setFrameSize({50, 20});
    EXPECT_EQ(view->drawableSize(), (CGSize{100, 40}));
    ASSERT_EQ(delegate->sizes.size(), 2u);
    EXPECT_EQ(delegate->sizes[0], (CGSize{80, 60}));
    EXPECT_EQ(delegate->sizes[1], (CGSize{100, 40}));

    view->setFrameSize({0, 0});
    EXPECT_FALSE(view->currentDrawable());
    EXPECT_FALSE(view->currentRenderPassDescriptor());
    view->setFrameSize({10, 10});
    view->setDevice(nullptr);
    EXPECT_FALSE(view->currentRenderPassDescriptor());
}

TEST_F(MTKViewTest, TheLayerTakesTheWindowsScaleWhenItsDelegateAgrees) {
    auto inheriting = make<Inheriting>();
    view->layer()->delegate = inheriting;
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    window->setBackingScaleFactor(2);
    window->contentView()->addSubview(view);
    EXPECT_EQ(view->layer()->contentsScale(), 2);
    EXPECT_EQ(view->drawableSize(), (CGSize{80, 60}));
    window->setBackingScaleFactor(3);
    EXPECT_EQ(view->layer()->contentsScale(), 3);
    inheriting->answer = false;
    window->setBackingScaleFactor(1);
    EXPECT_EQ(view->layer()->contentsScale(), 3);
}

TEST_F(MTKViewTest, FramesRunOnTheTimerOnlyWhileUnpausedInAWindow) {
    view->setPreferredFramesPerSecond(60);
    RunLoop::main().run(0.5);
    EXPECT_EQ(delegate->draws, 0); // no window
    auto window = make<NSWindow>(CGRect{0, 0, 100, 100});
    window->contentView()->addSubview(view);
    RunLoop::main().run(1.0);
    EXPECT_NEAR(delegate->draws, 60, 1);
    EXPECT_EQ(delegate->presented, delegate->draws);
    view->setPaused(true);
    int before = delegate->draws;
    RunLoop::main().run(1.0);
    EXPECT_EQ(delegate->draws, before);
    view->setPaused(false);
    view->removeFromSuperview();
    RunLoop::main().run(1.0);
    EXPECT_EQ(delegate->draws, before);
}

TEST_F(MTKViewTest, ASetNeedsDisplayAsksForOneDrawWhenTheWindowDraws) {
    view->setPaused(true);
    view->enableSetNeedsDisplay = true;
    auto window = make<NSWindow>(CGRect{0, 0, 40, 30});
    window->contentView()->addSubview(view);
    window->snapshot(); // the first display draws the first frame
    window->snapshot();
    EXPECT_EQ(delegate->draws, 1);
    view->setNeedsDisplay(true);
    window->snapshot();
    window->snapshot();
    EXPECT_EQ(delegate->draws, 2);
}

TEST_F(MTKViewTest, ThePresentedFrameIsShownInTheWindowConvertedForTheDisplay) {
    struct Case {
        const char* what;
        MTLClearColor clear;
        std::optional<CGColorSpace> space;
        CGImage::Pixel shown;
    };
    const Case cases[] = {
        {"linear mid grey is encoded",
         {0.5, 0.5, 0.5, 1},
         CGColorSpace::extendedLinearSRGB,
         {188, 188, 188, 255}},
        {"values above 1 are clamped",
         {2, 0, -1, 1},
         CGColorSpace::extendedLinearSRGB,
         {255, 0, 0, 255}},
        {"P3 red is clamped to sRGB's",
         {1, 0, 0, 1},
         CGColorSpace::extendedLinearDisplayP3,
         {255, 0, 0, 255}},
        {"P3 green's sRGB red is clamped away",
         {0, 1, 0, 1},
         CGColorSpace::extendedLinearDisplayP3,
         {0, 255, 0, 255}},
        {"P3 grey stays grey",
         {0.5, 0.5, 0.5, 1},
         CGColorSpace::extendedLinearDisplayP3,
         {188, 188, 188, 255}},
    };
    auto window = make<NSWindow>(CGRect{0, 0, 40, 30});
    window->backgroundColor = NSColor::rgb(0, 0, 1, 1);
    window->contentView()->addSubview(view);
    view->setPaused(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->clearColor = c.clear;
        view->setColorspace(c.space);
        view->draw();
        CGImage shot = window->snapshot()->makeImage();
        EXPECT_EQ(shot.pixel(20, 15), c.shown);
    }
}

} // namespace
