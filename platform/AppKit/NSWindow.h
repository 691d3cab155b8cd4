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
// A window can be shown as a sheet of another (attached and ended, not animated).
// A key down is first offered to the views as a key equivalent (performKeyEquivalent:
// a button whose key equivalent it is clicks), then goes to the first responder.
// Escape or Command-period that no view handles becomes cancelOperation; Tab and
// Shift-Tab (Back-Tab) that no view handles move along the key-view loop. The window
// keeps one field editor for its text fields, and publishes its first responder.
// Left out: window chrome drawing, modal sessions, levels, delegates, cursor
// rectangles (tracking areas with cursorUpdate cover them).
// Thread: main thread; the entry points check it.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGestureRecognizer.h"
#include "AppKit/NSView.h"
#include "Combine/Combine.h"
#include "CoreGraphics/CGRegion.h"
#include "Foundation/RunLoop.h"

class CAKeyframeAnimation;
class NSCursor;
class NSText;
class NSScreen;
class NSViewController;

enum class NSBackingStoreType : int { retained = 0, nonretained = 1, buffered = 2 };

// What a sheet's completion handler is told: endSheet(_:) gives `stop`.
using NSModalResponse = long;
namespace NSModalResponseValue {
inline constexpr NSModalResponse stop = -1000;
}

class NSWindow : public NSResponder {
  public:
    // A window whose content area is `contentRect` (its origin is the window's
    // place on the screen, which nothing here uses). Backing and deferred creation
    // are kept and change nothing: the stand-in always draws into a buffer.
    explicit NSWindow(CGRect contentRect = {0, 0, 480, 360}, uint64_t styleMask = 0,
                      NSBackingStoreType backing = NSBackingStoreType::buffered,
                      bool defer = false);
    // A titled, closable, miniaturizable, resizable window (of class W, which has
    // this constructor) holding the controller, titled with its title, of its
    // preferred content size (else its view's size).
    template <class W = NSWindow>
    static std::shared_ptr<W>
    withContentViewController(std::shared_ptr<NSViewController> controller) {
        auto window = make<W>(CGRect{{0, 0}, preferredContentSize(*controller)},
                              uint64_t(titled | closable | miniaturizable | resizable));
        window->adoptContentViewController(std::move(controller));
        return window;
    }

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
    NSBackingStoreType backingType() const { return backing; }
    bool isDeferred() const { return deferred; }
    // The window's own appearance; none: the application's.
    std::shared_ptr<NSAppearance> appearance;

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
    // Takes the window off the screen (it resigns key first when it is key); a real
    // window that shows it closes (orderedOut).
    void orderOut(NSObject* sender = nullptr);
    // As the person's click on the close button: the window is ordered out.
    void close() { orderOut(nullptr); }
    // Called when the window is ordered out, after it resigned key; a display layer
    // takes its real window off the screen. May be empty.
    std::function<void()> orderedOut;
    bool isKeyWindow() const;
    // Whether the window may become key: a titled window may, a borderless one not.
    // A sheet is made key only when it may; makeKeyWindow does not ask.
    virtual bool canBecomeKeyWindow() const { return (styleMask & titled) != 0; }
    // Makes the window key (the key window before it resigns first) and posts
    // didBecomeKeyNotification with the window as object; nothing when it is key.
    void makeKeyWindow();
    void makeKeyAndOrderFront(NSObject* sender = nullptr);
    // Gives up key status (the desktop focused another window), posting
    // didResignKeyNotification; nothing when the window is not key.
    void resignKeyWindow();
    static constexpr const char* didBecomeKeyNotification = "NSWindowDidBecomeKeyNotification";
    static constexpr const char* didResignKeyNotification = "NSWindowDidResignKeyNotification";
    // Posted when the backing scale factor changes.
    static constexpr const char* didChangeBackingPropertiesNotification =
        "NSWindowDidChangeBackingPropertiesNotification";

    // Sheets: `sheet` is attached to this window, shown and made key (when it can
    // become key); endSheet
    // detaches it, orders it out, makes this window key again and calls the
    // completion handler with the response. Ending a window that is not this
    // window's sheet does nothing.
    void beginSheet(std::shared_ptr<NSWindow> sheet,
                    std::function<void(NSModalResponse)> completionHandler = {});
    void endSheet(NSWindow& sheet, NSModalResponse returnCode = NSModalResponseValue::stop);
    std::shared_ptr<NSWindow> attachedSheet() const { return sheet; }
    // The window this one is a sheet of; none when it is not attached as a sheet.
    std::shared_ptr<NSWindow> sheetParent() const { return parent.lock(); }

    // The end of the responder chain: Escape and Command-period become
    // cancelOperation, other keys are not handled.
    void keyDown(const NSEvent& event) override;
    // A window does nothing with it unless a subclass does.
    void cancelOperation(NSObject* sender) override {}

    // Animations by property name ("frameOrigin"), run when the property is set
    // through animator(); the key frames of the last run are kept for inspection.
    std::map<std::string, std::shared_ptr<CAKeyframeAnimation>> animations;
    struct Animator {
        NSWindow& window;
        void setFrameOrigin(CGPoint origin);
    };
    Animator animator() { return Animator{*this}; }
    const std::vector<CGPoint>& lastAnimatedFrameOrigins() const { return animatedOrigins; }

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
    void setBackingScaleFactor(CGFloat factor);

    std::shared_ptr<NSResponder> firstResponder() const;
    // Asks the current first responder to resign and `responder` to become first
    // responder (null makes the window itself first responder); false when either
    // refuses or `responder` does not accept first responder.
    bool makeFirstResponder(const std::shared_ptr<NSResponder>& responder);

    // The first responder as a key-value publisher does: the current one at once (the
    // initial value), then each new one when it changes, the window itself standing
    // for "none". The values are weak: a responder that has gone reads as empty.
    AnyPublisher<std::weak_ptr<NSResponder>> firstResponderPublisher() const {
        return firstResponderSubject.eraseToAnyPublisher();
    }

    // The window's field editor, made on the first request when `create` (null
    // otherwise): one text view, shared by every text field of the window.
    std::shared_ptr<NSText> fieldEditor(bool create, const std::shared_ptr<NSObject>& forObject);

    // The key-view loop. A view's next key view is its nextKeyView when that is set
    // (skipping, along their own links, views that cannot be key: hidden, or not
    // accepting first responder), else the next view of the window that can be key in
    // depth-first subview order, going round to the first; the previous is the view
    // whose next it is. These make it first responder; nothing when there is none.
    void selectNextKeyView(NSObject* sender = nullptr);
    void selectPreviousKeyView(NSObject* sender = nullptr);
    void selectKeyViewFollowingView(NSView& view);
    void selectKeyViewPrecedingView(NSView& view);
    std::shared_ptr<NSView> keyViewFollowing(NSView& view) const;
    std::shared_ptr<NSView> keyViewPreceding(NSView& view) const;

    // Child windows: kept by the parent, drawn by it over its content at their frame's
    // place relative to its own (so a child stays within the parent's drawing), and
    // redrawn through it. Adding one already added, or removing one that is not a
    // child, does nothing.
    void addChildWindow(std::shared_ptr<NSWindow> child);
    void removeChildWindow(const std::shared_ptr<NSWindow>& child);
    const std::vector<std::shared_ptr<NSWindow>>& childWindows() const { return children; }
    std::shared_ptr<NSWindow> parentWindow() const { return parentOfChild.lock(); }

    // Routes an event to the view or responder that should handle it. While a handler
    // waits in a nested loop (nextEvent, a menu popped up), events sent to the window
    // are queued instead, and dispatched in order once the outermost handler returns.
    void sendEvent(NSEvent event);
    // Queues an event (at the end, or at the start) for a waiting handler's nextEvent, or
    // for dispatch after the event being dispatched now (or the next one sent).
    void postEvent(NSEvent event, bool atStart = false);
    // nextEvent(matching:until:inMode:dequeue:): the first queued event whose type is in
    // `mask` (NSEvent::mask bits). While there is none the window waits for input until
    // `deadline` (seconds on the main run loop's clock): through the application's event
    // waiter when a real-window layer installed one, else by running the main run loop
    // in `mode` (with a test clock, time jumps from timer to timer, so only events that
    // timers or tasks send can arrive). None at the deadline. With `dequeue` false the
    // event stays queued and is dispatched as usual afterwards.
    std::optional<NSEvent> nextEvent(uint64_t mask, TimeInterval deadline,
                                     RunLoop::Mode mode = RunLoop::Mode::defaultMode,
                                     bool dequeue = true);
    // Marks a nested loop of a handler for its lifetime: events sent meanwhile queue up.
    class NestedLoop {
      public:
        explicit NestedLoop(NSWindow& window) : window(window) { ++window.nesting; }
        ~NestedLoop();
        NestedLoop(const NestedLoop&) = delete;
        NestedLoop& operator=(const NestedLoop&) = delete;

      private:
        NSWindow& window;
    };
    bool isInNestedLoop() const { return nesting > 0; }
    const std::deque<NSEvent>& queuedEvents() const { return queued; }
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

    // What needs redrawing, in window coordinates: the union of the rectangles that
    // views marked (setNeedsDisplayInRect) since the last pass, within the content area.
    const CGRegion& dirtyRegion() const { return dirty; }
    // Adds a rectangle of the window (window coordinates) to the dirty region and asks
    // for display.
    void invalidate(CGRect rect);
    // The redrawing pass of a window that keeps its drawing between passes: lays out
    // what needs it, then redraws the dirty region into `context` (which holds the
    // previous drawing; user space the window's), each of its rectangles grown by a
    // point for anti-aliased edges, aligned to whole pixels and clipped: cleared, the
    // background filled, and the views that meet it drawn. Returns what was redrawn,
    // in the context's device points (origin top-left, y down, as recorded drawing
    // is), and clears the region and the views' marks.
    CGRegion drawDirtyRegion(const std::shared_ptr<CGContext>& context);
    // Called when a view of the window asks for display (a real window schedules a
    // redraw); may be empty.
    std::function<void()> displayRequested;
    std::function<void(NSWindow&)> displayHandler;

    // Cursor rectangles (NSView::resetCursorRects): marks them for rebuilding when the
    // pointer next moves; resetCursorRects rebuilds them now, asking every view.
    void invalidateCursorRects(NSView& view) { cursorRectsValid = false; }
    void resetCursorRects();

    // Views whose size changed since the last pass are laid out, parents first.
    void layoutIfNeeded();

  protected:
    // Makes the content view; a subclass that overrides it calls NSWindow::didInit().
    void didInit() override;

  private:
    friend class NSView;
    static CGSize preferredContentSize(NSViewController& controller);
    void adoptContentViewController(std::shared_ptr<NSViewController> controller);
    void dispatch(NSEvent event);
    // Dispatches the queued events, in order, unless a handler is still waiting.
    void dispatchQueued();
    void updateTracking(const NSEvent& event, bool dragging);
    // Sets the cursor of the cursor rectangle under the pointer (the arrow on leaving).
    void updateCursor(CGPoint location);
    void requestDisplay();
    void clearDisplayMarks();
    // Draws the child windows into `context` (user space this window's).
    void drawChildren(const std::shared_ptr<CGContext>& context);
    // A child's rectangle in this window's coordinates.
    CGRect childRect(const NSWindow& child, CGRect rect) const;

    void saveFrame();
    // Sets the first responder and publishes it.
    void setFirst(const std::shared_ptr<NSResponder>& responder);
    // The view the key-view loop starts from: the first responder, or the control a
    // field editor edits.
    std::shared_ptr<NSView> keyLoopView() const;
    CGPoint origin;
    CGSize size;
    NSBackingStoreType backing;
    bool deferred;
    std::shared_ptr<NSWindow> sheet;
    std::weak_ptr<NSWindow> parent;
    std::function<void(NSModalResponse)> sheetCompletion;
    bool visible = false;
    std::string autosaveName;
    std::vector<CGPoint> animatedOrigins;
    CGFloat scale = 1;
    std::shared_ptr<NSView> content;
    std::shared_ptr<NSViewController> contentController;
    std::weak_ptr<NSResponder> first;
    // Counts first-responder changes, so a responder may hand the role on while
    // becoming it.
    unsigned firstChanges = 0;
    CurrentValueSubject<std::weak_ptr<NSResponder>> firstResponderSubject{
        std::weak_ptr<NSResponder>()};
    std::shared_ptr<NSText> editor;
    std::weak_ptr<NSView> pressedView;
    NSGestureTracking gestures;
    bool cursorRectsValid = false;
    std::shared_ptr<NSCursor> rectCursor;
    std::deque<NSEvent> queued;
    int nesting = 0;
    int dispatching = 0;
    bool rightButton = false;
    CGPoint lastMouse;
    CGRegion dirty;
    std::vector<std::shared_ptr<NSWindow>> children;
    std::weak_ptr<NSWindow> parentOfChild;
};
