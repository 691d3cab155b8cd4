#pragma once
// Stands in for NSWindow: a content view on a background, a first responder, a
// backing scale factor, and the dispatch of injected events — a mouse-down goes to
// the view under the pointer, the drags and the mouse-up that follow go to that same
// view, keys go to the first responder, moves update tracking areas. The whole window
// can be drawn into a CGContext or written as a PNG. A real on-screen window (the
// display layer) feeds the same events and shows the same drawing.
// A titled window's frame adds a title bar above its content (none with a full-size
// content view, whose content runs under it). Windows can be placed on a screen,
// ordered in and out, made key, and keep their frame under an autosave name (in
// the process, not between launches).
// Left out: window chrome drawing, sheets, levels, delegates, field editors, cursor
// rectangles (tracking areas with cursorUpdate cover them).
// Thread: main thread; the entry points check it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSView.h"

class NSScreen;
class NSViewController;

class NSWindow : public NSResponder {
  public:
    // A window whose content area is `contentRect` (its origin is the window's
    // place on the screen, which nothing here uses).
    explicit NSWindow(CGRect contentRect = {0, 0, 480, 360}, uint64_t styleMask = 0);
    // A titled, closable, miniaturizable, resizable window holding the controller,
    // titled with its title, of its preferred content size (else its view's size).
    static std::shared_ptr<NSWindow>
    withContentViewController(std::shared_ptr<NSViewController> controller);

    enum StyleMask : uint64_t {
        borderless = 0,
        titled = 1u << 0,
        closable = 1u << 1,
        miniaturizable = 1u << 2,
        resizable = 1u << 3,
        fullSizeContentView = 1u << 15,
    };
    // The height of the title bar of a titled window.
    static constexpr CGFloat titleBarHeight = 28;

    std::string title;
    std::string identifier;
    uint64_t styleMask = borderless;
    bool preventsApplicationTerminationWhenModal = true;

    CGSize contentSize() const { return size; }
    void setContentSize(CGSize size);
    // The whole window in screen coordinates: the content area and the title bar.
    CGRect frame() const;
    void setFrame(CGRect frame, bool display = true);
    void setFrameOrigin(CGPoint origin);
    CGRect contentRectForFrameRect(CGRect frame) const;
    CGRect frameRectForContentRect(CGRect content) const;
    // The part of the content view not covered by the title bar, in window coordinates.
    CGRect contentLayoutRect() const;
    CGRect convertRectToScreen(CGRect rect) const;

    std::shared_ptr<NSScreen> screen;

    bool isVisible() const { return visible; }
    void orderFront(NSObject* sender = nullptr) { visible = true; }
    void orderOut(NSObject* sender = nullptr);
    bool isKeyWindow() const;
    void makeKeyWindow();
    void makeKeyAndOrderFront(NSObject* sender = nullptr);

    // Restores the frame saved under `name` (when there is one) and from then on
    // saves the frame there whenever it changes. False when the name is taken by
    // another live window.
    bool setFrameAutosaveName(const std::string& name);
    const std::string& frameAutosaveName() const { return autosaveName; }

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

    void saveFrame();
    CGPoint origin;
    CGSize size;
    bool visible = false;
    std::string autosaveName;
    CGFloat scale = 1;
    std::shared_ptr<NSView> content;
    std::shared_ptr<NSViewController> contentController;
    std::weak_ptr<NSResponder> first;
    std::weak_ptr<NSView> pressedView;
    bool rightButton = false;
    CGPoint lastMouse;
};
