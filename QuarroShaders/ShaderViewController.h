#pragma once
// ShaderViewController: what the package's three view controllers share. It shows a
// renderer in an MTKView that it makes inside the view it is given, and pauses the
// animation while its window is not key.
//
// Will appear (once per appearance): an MTKView of the view's bounds on the system
// default device (possibly none), pinned to all four sides, with automatic drawable
// resizing, set-needs-display, rgba16Float, extended linear sRGB and 60 frames a second;
// the renderer (makeRenderer; none when it throws, and then the view draws nothing);
// the layer's contents scale from the window (1 without one), with this controller as
// the layer's delegate so that it follows the window's scale.
// Did appear: unpauses the view and observes the key-window notifications of every
// window, acting only on its own window's. Resign opens a pause and pauses the view;
// become closes it and unpauses. Did disappear: pauses and removes the view, drops view
// and renderer, so that the next appearance starts at time 0 with a new seed.
// Observers are held weakly and removed when the controller goes; a late or repeated
// notification finds no renderer or changes nothing.
// Thread: main thread; every entry point checks it.

#include <memory>
#include <string>

#include "AppKit/CALayer.h"
#include "AppKit/NSViewController.h"
#include "Foundation/NotificationCenter.h"
#include "ShaderRenderer.h"

class ShaderViewController : public NSViewController, public CALayerDelegate {
  public:
    ~ShaderViewController() override;

    std::shared_ptr<MTKView> metalKitView;
    // The renderer shown now (none before the view appears, after it disappears, or when
    // it could not be made).
    std::shared_ptr<ShaderRendererBase> currentRenderer() const { return renderer; }

    void viewWillAppear() override;
    void viewDidAppear() override;
    void viewDidDisappear() override;
    void handleDidBecomeKey(const Notification& notification);
    void handleDidResignKey(const Notification& notification);
    bool layerShouldInheritContentsScale(CALayer&, CGFloat, NSWindow&) override { return true; }

  protected:
    explicit ShaderViewController(std::shared_ptr<NSView> view) : givenView(std::move(view)) {}
    void didInit() override;
    // The renderer for the new view; may throw (the error is dropped).
    virtual std::shared_ptr<ShaderRendererBase> makeRenderer(MTKView& view) = 0;
    // After a renderer was made (the supporter view applies its kept states).
    virtual void rendererWasMade() {}

    std::shared_ptr<ShaderRendererBase> renderer;

  private:
    bool isOwnWindow(const Notification& notification) const;
    std::shared_ptr<NSView> givenView;
};

// MetalShaderViewController: the main window's band, a MetalShaderRenderer of the
// given renderer name and function pair.
class MetalShaderViewController : public ShaderViewController {
  public:
    const std::string rendererName, vertxShaderName, fragmentShaderName;

  protected:
    MetalShaderViewController(std::shared_ptr<NSView> view, std::string rendererName,
                              std::string vertxShaderName, std::string fragmentShaderName)
        : ShaderViewController(std::move(view)), rendererName(std::move(rendererName)),
          vertxShaderName(std::move(vertxShaderName)),
          fragmentShaderName(std::move(fragmentShaderName)) {}
    std::shared_ptr<ShaderRendererBase> makeRenderer(MTKView& view) override;
};
