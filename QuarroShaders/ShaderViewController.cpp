#include "ShaderViewController.h"

#include "AppKit/NSWindow.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "MetalShaderRenderer.h"

void ShaderViewController::didInit() {
    NSViewController::didInit();
    setView(std::move(givenView));
}

ShaderViewController::~ShaderViewController() {
    NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(this));
}

void ShaderViewController::viewWillAppear() {
    Runtime::assertMainThread("ShaderViewController.viewWillAppear");
    NSViewController::viewWillAppear();
    if (metalKitView)
        return;
    const auto& container = view();
    metalKitView = make<MTKView>(container->bounds(), MTLCreateSystemDefaultDevice());
    container->addSubview(metalKitView);
    anchorToAllSidesOf(*metalKitView, container, NSEdgeInsets{0, 0, 0, 0});
    metalKitView->setAutoResizeDrawable(true);
    metalKitView->enableSetNeedsDisplay = true;
    metalKitView->setColorPixelFormat(MTLPixelFormat::rgba16Float);
    metalKitView->setColorspace(CGColorSpace::extendedLinearSRGB);
    metalKitView->setPreferredFramesPerSecond(60);
    try {
        renderer = makeRenderer(*metalKitView);
    } catch (const std::exception&) {
        renderer = nullptr; // the band stays empty; the window is otherwise unaffected
    }
    metalKitView->setDelegate(renderer);
    auto window = container->window();
    metalKitView->layer()->setContentsScale(window ? window->backingScaleFactor() : 1.0);
    metalKitView->layer()->delegate = sharedAs<ShaderViewController>();
    if (renderer)
        rendererWasMade();
}

void ShaderViewController::viewDidAppear() {
    Runtime::assertMainThread("ShaderViewController.viewDidAppear");
    NSViewController::viewDidAppear();
    if (metalKitView)
        metalKitView->setPaused(false);
    auto self = sharedAs<ShaderViewController>();
    auto& center = NotificationCenter::defaultCenter();
    // Once per controller: a registration per appearance would only repeat the calls.
    center.removeObserver(static_cast<const void*>(this));
    center.addObserver(self, &ShaderViewController::handleDidBecomeKey,
                       NSWindow::didBecomeKeyNotification);
    center.addObserver(self, &ShaderViewController::handleDidResignKey,
                       NSWindow::didResignKeyNotification);
}

void ShaderViewController::viewDidDisappear() {
    Runtime::assertMainThread("ShaderViewController.viewDidDisappear");
    NSViewController::viewDidDisappear();
    if (metalKitView) {
        metalKitView->setPaused(true);
        metalKitView->removeFromSuperview();
    }
    metalKitView = nullptr;
    renderer = nullptr;
}

bool ShaderViewController::isOwnWindow(const Notification& notification) const {
    auto window = std::dynamic_pointer_cast<NSWindow>(notification.object);
    auto own = isViewLoaded() ? const_cast<ShaderViewController*>(this)->view()->window() : nullptr;
    return window && own && window == own;
}

void ShaderViewController::handleDidResignKey(const Notification& notification) {
    Runtime::assertMainThread("ShaderViewController.handleDidResignKey");
    if (!isOwnWindow(notification))
        return;
    if (renderer)
        renderer->willPause();
    if (metalKitView)
        metalKitView->setPaused(true);
}

void ShaderViewController::handleDidBecomeKey(const Notification& notification) {
    Runtime::assertMainThread("ShaderViewController.handleDidBecomeKey");
    if (!isOwnWindow(notification))
        return;
    if (renderer)
        renderer->willResume();
    if (metalKitView)
        metalKitView->setPaused(false);
}

std::shared_ptr<ShaderRendererBase> MetalShaderViewController::makeRenderer(MTKView& view) {
    return make<MetalShaderRenderer>(view, rendererName, vertxShaderName, fragmentShaderName);
}
