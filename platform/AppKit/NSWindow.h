#pragma once
// Stands in for NSWindow: a content view on a background, a first responder, a
// backing scale factor, and the dispatch of injected events — a mouse-down goes to
// the view under the pointer, the drags and the mouse-up that follow go to that same
// view, keys go to the first responder, moves update tracking areas. The whole window
// can be drawn into a CGContext or written as a PNG. A real on-screen window (the
// display layer) feeds the same events and shows the same drawing.
// Left out: window chrome, sheets, levels, ordering, screens, delegates, field
// editors, cursor rectangles (tracking areas with cursorUpdate cover them).
// Thread: main thread; the entry points check it.

#include <functional>
#include <memory>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSView.h"

class NSViewController;

class NSWindow : public NSResponder {
  public:
    // A window whose content area is `contentRect` (its origin is the window's
    // place on the screen, which nothing here uses).
    explicit NSWindow(CGRect contentRect = {0, 0, 480, 360});

    std::string title;
    std::string identifier;

    CGSize contentSize() const { return size; }
    void setContentSize(CGSize size);
    CGRect frame() const { return {origin, size}; }

    const std::shared_ptr<NSView>& contentView() const { return content; }
    // The view takes the whole content area and the window as its next responder.
    void setContentView(std::shared_ptr<NSView> view);

    // A controller whose view becomes the content view (the window takes the
    // controller's preferred content size when it has one); the window owns it.
    const std::shared_ptr<NSViewController>& contentViewController() const {
        return contentController;
    }
    void setContentViewController(std::shared_ptr<NSViewController> controller);

    std::shared_ptr<NSColor> backgroundColor = NSColor::windowBackgroundColor();

    // Pixels per point of the window's backing store (2 on a high-density screen).
    CGFloat backingScaleFactor() const { return scale; }
    void setBackingScaleFactor(CGFloat factor) { scale = factor; }

    std::shared_ptr<NSResponder> firstResponder() const;
    // Asks the current first responder to resign and `responder` to become first
    // responder (null makes the window itself first responder); false when either
    // refuses or `responder` does not accept first responder.
    bool makeFirstResponder(const std::shared_ptr<NSResponder>& responder);

    // Routes an event to the view or responder that should handle it.
    void sendEvent(NSEvent event);
    // The view a mouse-down went to, until its mouse-up.
    std::shared_ptr<NSView> mouseDownView() const { return pressedView.lock(); }

    // Draws background and content into `context` (its user space the window's:
    // origin bottom-left, y up).
    void draw(const std::shared_ptr<CGContext>& context);
    // A new bitmap context of the content size at the backing scale, drawn into.
    std::shared_ptr<CGContext> snapshot(bool recordsDisplayList = false);
    bool writePNG(const std::string& path);
    // Redraws now through displayHandler (when set), else just clears the marks.
    void display();
    // True when some view of the window needs display.
    bool viewsNeedDisplay() const;
    // Called when a view of the window asks for display (a real window schedules a
    // redraw); may be empty.
    std::function<void()> displayRequested;
    std::function<void(NSWindow&)> displayHandler;

    // Views whose size changed since the last pass are laid out, parents first.
    void layoutIfNeeded();

  protected:
    // Makes the content view; a subclass that overrides it calls NSWindow::didInit().
    void didInit() override;

  private:
    friend class NSView;
    void updateTracking(const NSEvent& event, bool dragging);
    void requestDisplay();

    CGPoint origin;
    CGSize size;
    CGFloat scale = 1;
    std::shared_ptr<NSView> content;
    std::shared_ptr<NSViewController> contentController;
    std::weak_ptr<NSResponder> first;
    std::weak_ptr<NSView> pressedView;
    bool rightButton = false;
    CGPoint lastMouse;
};
