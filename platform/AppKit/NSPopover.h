#pragma once
// Stands in for NSPopover: a content view controller shown in a small window beside a
// rectangle of a view, on a preferred edge of it, until it is closed. The pop-over's
// window is a child window of the view's window (so the parent draws it over its
// content): its content view is a rounded panel of the content size with an arrow
// pointing at the rectangle, the controller's view filling the panel. The window is
// placed on the preferred edge (read in the view's own coordinates: maxY is the top of
// an unflipped view and the bottom of a flipped one), centred along it, moved inward
// to stay within the parent window.
// Behaviour and animation are kept as settings: nothing here closes a pop-over but
// close and performClose (there are no animations).
// Left out: detaching, the delegate beyond popoverShouldClose, positioning by the arrow.
// Thread: main thread; the entry points check it.

#include <memory>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSViewController.h"
#include "AppKit/NSWindow.h"

// An edge of a rectangle (the platform's NSRectEdge raw values).
enum class NSRectEdge : int { minX = 0, minY = 1, maxX = 2, maxY = 3 };

class NSPopover;

class NSPopoverDelegate {
  public:
    virtual ~NSPopoverDelegate() = default;
    // Asked by performClose; false keeps the pop-over open.
    virtual bool popoverShouldClose(NSPopover&) { return true; }
};

class NSPopover : public NSResponder {
  public:
    enum class Behavior : int { applicationDefined = 0, transient = 1, semitransient = 2 };
    // The room the arrow takes between the rectangle and the panel.
    static constexpr CGFloat arrowLength = 8;

    std::shared_ptr<NSViewController> contentViewController;
    // The panel's size; a shown pop-over takes a new one at once.
    CGSize contentSize() const { return size; }
    void setContentSize(CGSize size);
    Behavior behavior = Behavior::applicationDefined;
    bool animates = true;
    // The pop-over's own appearance (carried; see NSAppearance.h).
    std::shared_ptr<NSAppearance> appearance;
    std::weak_ptr<NSObject> delegate;

    bool isShown() const { return window_ != nullptr; }
    // The rectangle it was last shown beside, in the positioning view's coordinates,
    // and the edge.
    CGRect positioningRect() const { return rect; }
    NSRectEdge preferredEdge() const { return edge; }
    // The window it shows in while shown (a child of the view's window); null when
    // closed.
    const std::shared_ptr<NSWindow>& popoverWindow() const { return window_; }

    // Shows the content beside `rect` of `view` (which must be in a window), or moves
    // a shown pop-over there.
    virtual void show(CGRect relativeTo, const std::shared_ptr<NSView>& view, NSRectEdge edge);
    virtual void close();
    // Closes unless the delegate refuses.
    virtual void performClose(NSObject* sender);

  private:
    void place();
    CGSize size{100, 40};
    CGRect rect;
    NSRectEdge edge = NSRectEdge::maxY;
    std::weak_ptr<NSView> view;
    std::shared_ptr<NSWindow> window_;
};
