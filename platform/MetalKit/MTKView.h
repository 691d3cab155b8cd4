#pragma once
// Stands in for MTKView and MTKViewDelegate: a view that shows what a Metal device
// renders. Its layer (a CAMetalLayer) hands out a drawable of the drawable size each
// frame; presenting it makes it the layer's contents, which the view draws into the
// window (converted by MTKCompositor) in its bounds.
//
// Drawable size: with autoResizeDrawable, bounds × the layer's contentsScale (pixels,
// rounded); any change calls the delegate's drawableSizeWillChange. The layer takes the
// window's backing scale when the view moves to a window or the window's scale changes,
// if the layer's delegate agrees (CALayerDelegate).
// Frames: while not paused and in a window, a repeating run-loop timer (common modes)
// calls draw() preferredFramesPerSecond times a second. With enableSetNeedsDisplay, a
// setNeedsDisplay(true) on the view asks for one draw, made when the window next draws
// the view. draw() asks the delegate to draw; the current drawable and render-pass
// descriptor are made on first request during a draw and dropped after it.
// Left out: depth and stencil attachments, multisampling, presentsWithTransaction,
// framebufferOnly, the display link.
// Thread: main thread; the entry points check it.

#include <memory>
#include <optional>

#include "AppKit/NSView.h"
#include "Foundation/NotificationCenter.h"
#include "Foundation/Timer.h"
#include "MetalKit/CAMetalLayer.h"

class MTKView;

class MTKViewDelegate {
  public:
    virtual ~MTKViewDelegate() = default;
    // mtkView(_:drawableSizeWillChange:), size in pixels.
    virtual void drawableSizeWillChange(MTKView& view, CGSize size) = 0;
    // draw(in:)
    virtual void drawInMTKView(MTKView& view) = 0;
};

class MTKView : public NSView {
  public:
    MTKView(CGRect frame, std::shared_ptr<MTLDevice> device);
    ~MTKView() override;

    std::shared_ptr<MTLDevice> device() const { return layer_->device; }
    void setDevice(std::shared_ptr<MTLDevice> device) { layer_->device = std::move(device); }
    // Held weakly, as the platform holds it.
    std::shared_ptr<MTKViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<MTKViewDelegate>& delegate) { delegate_ = delegate; }

    MTLPixelFormat colorPixelFormat() const { return layer_->pixelFormat; }
    void setColorPixelFormat(MTLPixelFormat format) { layer_->pixelFormat = format; }
    std::optional<CGColorSpace> colorspace() const { return layer_->colorspace; }
    void setColorspace(std::optional<CGColorSpace> space) { layer_->colorspace = space; }
    MTLClearColor clearColor{0, 0, 0, 1};

    int preferredFramesPerSecond() const { return fps; }
    void setPreferredFramesPerSecond(int framesPerSecond);
    bool isPaused() const { return paused; }
    void setPaused(bool pause);
    bool enableSetNeedsDisplay = false;
    bool autoResizeDrawable() const { return autoResize; }
    void setAutoResizeDrawable(bool resize);

    CGSize drawableSize() const { return layer_->drawableSize; }
    // For a view that does not resize its drawable itself.
    void setDrawableSize(CGSize size);

    // The drawable of this frame (made on first request, kept until it is presented or
    // the draw ends), null when the drawable size is less than a pixel or there is no
    // device; and a pass that clears into it.
    std::shared_ptr<CAMetalDrawable> currentDrawable();
    std::optional<MTLRenderPassDescriptor> currentRenderPassDescriptor();

    // Renders a frame now through the delegate.
    void draw();
    // Asks for a draw (with enableSetNeedsDisplay) and for the view to be shown again.
    void setNeedsDisplay(bool needs = true);

    const std::shared_ptr<CAMetalLayer>& layer() const { return layer_; }
    // Draws seen by the frame timer, for tests.
    unsigned long timerDrawCount() const { return timerDraws; }

    void drawRect(CGRect dirtyRect) override;
    void viewDidMoveToWindow() override;
    void frameSizeDidChange(CGSize oldSize) override;

  protected:
    void didInit() override;

  private:
    void updateTimer();
    void updateDrawableSize();
    void followWindowScale();

    std::shared_ptr<CAMetalLayer> layer_;
    std::weak_ptr<MTKViewDelegate> delegate_;
    int fps = 60;
    bool paused = false;
    bool autoResize = true;
    bool drawRequested = false;
    std::shared_ptr<Timer> timer;
    unsigned long timerDraws = 0;
    std::shared_ptr<CAMetalDrawable> frameDrawable;
    bool inDraw = false;
    // The bitmap of the layer's contents, made when they change.
    std::optional<CGImage> shown;
    unsigned long shownPresent = ~0ul;
    NotificationCenter::Token windowScaleObserver;
};
