#include "MetalKit/MTKView.h"

#include <cmath>

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "MetalKit/MTKCompositor.h"

MTKView::MTKView(CGRect frame, std::shared_ptr<MTLDevice> device) : NSView(frame) {
    layer_ = make<CAMetalLayer>();
    layer_->device = std::move(device);
}

MTKView::~MTKView() {
    if (timer)
        timer->invalidate();
}

void MTKView::didInit() {
    NSView::didInit();
    std::weak_ptr<MTKView> weak = sharedAs<MTKView>();
    layer_->onPresent = [weak] {
        if (auto view = weak.lock()) {
            // A frame's drawable is shown once; the next frame takes another.
            view->frameDrawable.reset();
            view->NSView::setNeedsDisplay(true);
        }
    };
    layer_->onContentsScaleChange = [weak] {
        if (auto view = weak.lock())
            view->updateDrawableSize();
    };
    updateDrawableSize();
}

void MTKView::setPreferredFramesPerSecond(int framesPerSecond) {
    Runtime::assertMainThread("MTKView.preferredFramesPerSecond");
    fps = framesPerSecond;
    if (timer)
        timer->invalidate(), timer.reset();
    updateTimer();
}

void MTKView::setPaused(bool pause) {
    Runtime::assertMainThread("MTKView.isPaused");
    paused = pause;
    updateTimer();
}

void MTKView::setAutoResizeDrawable(bool resize) {
    autoResize = resize;
    updateDrawableSize();
}

void MTKView::setDrawableSize(CGSize size) {
    Runtime::assertMainThread("MTKView.drawableSize");
    if (size.width == layer_->drawableSize.width && size.height == layer_->drawableSize.height)
        return;
    layer_->drawableSize = size;
    if (auto d = delegate())
        d->drawableSizeWillChange(*this, size);
}

void MTKView::updateDrawableSize() {
    if (!autoResize)
        return;
    const CGFloat scale = layer_->contentsScale();
    setDrawableSize(
        {std::round(bounds().size.width * scale), std::round(bounds().size.height * scale)});
}

void MTKView::frameSizeDidChange(CGSize) {
    updateDrawableSize();
}

void MTKView::updateTimer() {
    const bool run = !paused && window() && fps > 0;
    if (!run) {
        if (timer)
            timer->invalidate(), timer.reset();
        return;
    }
    if (timer)
        return;
    std::weak_ptr<MTKView> weak = sharedAs<MTKView>();
    timer = Timer::withInterval(1.0 / fps, true, [weak](Timer&) {
        if (auto view = weak.lock()) {
            ++view->timerDraws;
            view->draw();
        }
    });
    RunLoop::main().add(timer, RunLoop::Mode::common);
}

void MTKView::followWindowScale() {
    if (auto w = window())
        layer_->inheritContentsScale(*w, w->backingScaleFactor());
}

void MTKView::viewDidMoveToWindow() {
    windowScaleObserver.reset();
    if (auto w = window()) {
        std::weak_ptr<MTKView> weak = sharedAs<MTKView>();
        windowScaleObserver = NotificationCenter::defaultCenter().addObserver(
            NSWindow::didChangeBackingPropertiesNotification, w, [weak](const Notification&) {
                if (auto view = weak.lock())
                    view->followWindowScale();
            });
        followWindowScale();
    }
    updateTimer();
}

std::shared_ptr<CAMetalDrawable> MTKView::currentDrawable() {
    Runtime::assertMainThread("MTKView.currentDrawable");
    if (!frameDrawable)
        frameDrawable = layer_->nextDrawable();
    return frameDrawable;
}

std::optional<MTLRenderPassDescriptor> MTKView::currentRenderPassDescriptor() {
    auto drawable = currentDrawable();
    if (!drawable)
        return std::nullopt;
    MTLRenderPassDescriptor pass;
    pass.colorAttachments[0].texture = drawable->texture();
    pass.colorAttachments[0].loadAction = MTLLoadAction::clear;
    pass.colorAttachments[0].storeAction = MTLStoreAction::store;
    pass.colorAttachments[0].clearColor = clearColor;
    return pass;
}

void MTKView::draw() {
    Runtime::assertMainThread("MTKView.draw");
    auto d = delegate();
    if (!d || inDraw)
        return;
    inDraw = true;
    d->drawInMTKView(*this);
    inDraw = false;
    frameDrawable.reset();
}

void MTKView::setNeedsDisplay(bool needs) {
    if (needs && enableSetNeedsDisplay)
        drawRequested = true;
    NSView::setNeedsDisplay(needs);
}

void MTKView::drawRect(CGRect) {
    // A view shown for the first time draws its first frame, as the platform's does.
    if (drawRequested || (layer_->presentCount() == 0 && delegate())) {
        drawRequested = false;
        draw();
    }
    const auto& contents = layer_->contents();
    auto context = NSGraphicsContext::current();
    if (!contents || !context)
        return;
    if (shownPresent != layer_->presentCount() || !shown) {
        shown = MTKCompositor::image(*contents, layer_->colorspace);
        shownPresent = layer_->presentCount();
    }
    context->cgContext().drawImage(*shown, bounds());
}
