#include "Controls/ImageViews.h"

#include "AppKit/CALayer.h"
#include "AppKitSupport/NSControlActions.h"

// ---- ClickableImageView

void ClickableImageView::didInit() {
    NSImageView::didInit();
    addGestureRecognizer(clickGestureRecognizer());
}

const std::shared_ptr<NSClickGestureRecognizer>& ClickableImageView::clickGestureRecognizer() {
    if (!clickRecognizer) {
        clickRecognizer = make<NSClickGestureRecognizer>(weakAs<NSObject>(),
                                                         &ClickableImageView::handleClickGesture);
        clickRecognizer->delaysPrimaryMouseButtonEvents = false;
    }
    return clickRecognizer;
}

void ClickableImageView::handleClickGesture(NSObject*) {
    Runtime::assertMainThread("ClickableImageView.handleClickGesture");
    clicked.send(std::monostate{});
}

void ClickableImageView::mouseDown(const NSEvent& event) {
    NSImageView::mouseDown(event);
    if (isEnabled()) {
        setAlphaValue(0.5);
        dimmed = true;
    }
}

void ClickableImageView::mouseUp(const NSEvent& event) {
    NSImageView::mouseUp(event);
    if (isEnabled() || dimmed) {
        setAlphaValue(1.0);
        dimmed = false;
    }
}

void ClickableImageView::makeFirstResponderOnClick(
    const std::map<std::shared_ptr<ClickableImageView>, std::shared_ptr<NSControl>>& controlPairs,
    AnyCancellableSet& cancellables) {
    Runtime::assertMainThread("ClickableImageView.makeFirstResponderOnClick");
    for (const auto& [imageView, control] : controlPairs)
        makeFirstResponder(imageView->clicked, control).store(cancellables);
}

// ---- StyledFlippedView

namespace {
std::shared_ptr<BaseStyle>& flippedViewStyle() {
    static std::shared_ptr<BaseStyle> style = std::make_shared<BaseStyle>();
    return style;
}
} // namespace

std::shared_ptr<BaseStyle> StyledFlippedView::classStyle() {
    return flippedViewStyle();
}

void StyledFlippedView::setClassStyle(std::shared_ptr<BaseStyle> style) {
    Runtime::assertMainThread("StyledFlippedView.style");
    flippedViewStyle() = std::move(style);
}

void StyledFlippedView::didInit() {
    NSView::didInit();
    setWantsLayer(true);
    translatesAutoresizingMaskIntoConstraints = false;
    if (auto colour = classStyle()->backgroundColor())
        layer()->backgroundColor = colour->cgColor();
}
