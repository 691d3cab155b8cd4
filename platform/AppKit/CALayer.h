#pragma once
// Stands in for CALayer as far as a view's backing layer is asked for: its contents
// scale (pixels per point of what it shows), a delegate that is asked whether the
// layer takes its window's new scale when that changes, its opacity and its background
// colour. A view that wants a layer makes a plain one (NSView::setWantsLayer); MTKView
// makes its own.
// Left out: layer trees, geometry, animation, rendering of contents (the view that owns
// the layer shows them).
// Thread: main thread.

#include <memory>
#include <optional>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGGeometry.h"
#include "Runtime/Runtime.h"

class CALayer;
class NSWindow;

class CALayerDelegate {
  public:
    virtual ~CALayerDelegate() = default;
    // layer(_:shouldInheritContentsScale:from:): whether the layer takes `newScale` of
    // `window`. No by default.
    virtual bool layerShouldInheritContentsScale(CALayer& layer, CGFloat newScale,
                                                 NSWindow& window) {
        return false;
    }
};

class CALayer : public NSObject {
  public:
    // Filled behind the owning view's drawing when set.
    std::optional<CGColor> backgroundColor;
    // The opacity the layer's content is shown with; setting it redraws the view.
    float opacity() const { return opacity_; }
    void setOpacity(float value);

    CGFloat contentsScale() const { return scale; }
    // Calls the change hook when the value changes.
    void setContentsScale(CGFloat newScale);
    // Held weakly, as the platform holds a layer's delegate.
    std::weak_ptr<CALayerDelegate> delegate;

    // Asks the delegate and takes the window's scale when it agrees; true when the
    // layer inherited it.
    bool inheritContentsScale(NSWindow& window, CGFloat windowScale);

  protected:
    CALayer() = default;
    virtual void contentsScaleDidChange() {}
    // Called after the opacity changed.
    virtual void appearanceDidChange() {}

  private:
    CGFloat scale = 1;
    float opacity_ = 1;
};
