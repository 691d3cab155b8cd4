#pragma once
// Four small views of the library:
// - ClickableImageView: an image view that publishes each click through `clicked` and
//   dims to half opacity while it is pressed; it can make a paired control first
//   responder when clicked. The tracking slider (TrackingSlider.h) builds on it.
// - FlippedView: a plain view with its origin at the top-left.
// - NoDividerSplitView: a split view whose dividers take no room and draw nothing.
// - StyledFlippedView: a flipped, layer-backed view painted in its style's background
//   colour (read when a view is made; a style set later colours later views).
// Style members read: StyledFlippedView's class style (a BaseStyle) backgroundColor.
// Thread: main.

#include <map>
#include <memory>
#include <variant>

#include "AppKit/NSGestureRecognizer.h"
#include "AppKit/NSImageView.h"
#include "AppKit/NSSplitView.h"
#include "Combine/Combine.h"
#include "Styles/StyledControl.h"

class ClickableImageView : public NSImageView {
  public:
    explicit ClickableImageView(CGRect frame = {}) : NSImageView(frame) {}

    // One value per recognised click; never fails. A subject of the view's own.
    PassthroughSubject<std::monostate> clicked;

    // The click recogniser's action: sends one value through `clicked`.
    void handleClickGesture(NSObject* sender);

    // A click in a window that is not key reaches the view at once.
    bool acceptsFirstMouse(const NSEvent*) const override { return true; }
    // After the image view's own handling: an enabled view dims to alpha 0.5 on the
    // press and comes back to 1 on the release. A view disabled while pressed still
    // comes back on the release (it would otherwise stay dimmed).
    void mouseDown(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;

    // For each pair, a click on the image view makes the control its window's first
    // responder (making the window key first when it is not); the control is held
    // weakly, and a control that is gone or has no window is ignored. The
    // subscriptions go into `cancellables` and live as long as the caller keeps them.
    static void makeFirstResponderOnClick(const std::map<std::shared_ptr<ClickableImageView>,
                                                         std::shared_ptr<NSControl>>& controlPairs,
                                          AnyCancellableSet& cancellables);

  protected:
    // Adds the click recogniser (which does not delay the view's own mouse events).
    void didInit() override;
    // The click recogniser, made on first use with the view as target.
    const std::shared_ptr<NSClickGestureRecognizer>& clickGestureRecognizer();

  private:
    std::shared_ptr<NSClickGestureRecognizer> clickRecognizer;
    bool dimmed = false;
};

class FlippedView : public NSView {
  public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

class NoDividerSplitView : public NSSplitView {
  public:
    using NSSplitView::NSSplitView;
    std::shared_ptr<NSColor> dividerColor() const override { return NSColor::clear(); }
    CGFloat dividerThickness() const override { return 0; }
    void drawDivider(CGRect) override {}
    bool isOpaque() const override { return true; }
    bool allowsVibrancy() const override { return false; }
};

class StyledFlippedView : public StyledView<StyledFlippedView, BaseStyle, NSView> {
  public:
    explicit StyledFlippedView(CGRect frame = {}) : StyledView(frame) {}

    bool isFlipped() const override { return true; }

    // The class style, one for the process: BaseStyle's defaults until replaced.
    static std::shared_ptr<BaseStyle> classStyle();
    static void setClassStyle(std::shared_ptr<BaseStyle> style);

  protected:
    // Layer-backed, not sized by an autoresizing mask, its layer painted in the class
    // style's background colour.
    void didInit() override;
};
