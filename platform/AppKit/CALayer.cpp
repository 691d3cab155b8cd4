#include "AppKit/CALayer.h"

void CALayer::setContentsScale(CGFloat newScale) {
    Runtime::assertMainThread("CALayer.contentsScale");
    if (newScale == scale || !(newScale > 0))
        return;
    scale = newScale;
    contentsScaleDidChange();
}

bool CALayer::inheritContentsScale(NSWindow& window, CGFloat windowScale) {
    auto d = delegate.lock();
    if (!d || !d->layerShouldInheritContentsScale(*this, windowScale, window))
        return false;
    setContentsScale(windowScale);
    return true;
}

void CALayer::setOpacity(float value) {
    if (value == opacity_)
        return;
    opacity_ = value;
    appearanceDidChange();
}
