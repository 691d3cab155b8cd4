#pragma once
// Stands in for NSView and NSTrackingArea: a rectangle in its superview with its
// own coordinate system (bounds, optionally flipped so that y grows downwards), a
// list of subviews it owns and a superview and window it does not, hit testing,
// drawing through the current NSGraphicsContext, layout hooks and tracking areas
// that tell a view when the mouse enters, moves inside or leaves it.
//
// Coordinates: a view's frame is in its superview's coordinates; a content view's
// superview space is the window's (origin bottom-left, y up). A view's y axis points
// the other way from its superview's exactly when the two differ in isFlipped()
// (the window counts as not flipped).
//
// A view can tell Auto Layout what its content wants (an intrinsic size, alignment
// insets, text baselines) and post notifications when its frame or bounds change.
//
// Left out: most of Auto Layout (see NSLayoutConstraint.h), autoresizing masks,
// layers, drag and drop, rotation of bounds, printing (scroll views: NSScrollView.h).
// Thread: main thread; the entry points check it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSLayoutConstraint.h"
#include "AppKit/NSResponder.h"
#include "CoreGraphics/CGContext.h"

class NSAppearance;

class CALayer;
class NSGestureRecognizer;
class NSMenu;
class NSScrollView;
class NSView;
class NSCursor;
class NSMenu;
class NSWindow;

// How a view's keyboard-focus ring is drawn: the platform's default, none, or the
// exterior ring (raw values as the platform's).
enum class NSFocusRingType : int { defaultType = 0, none = 1, exterior = 2 };

// Which way the view's content reads: left to right, or right to left (raw values as
// the platform's).
enum class NSUserInterfaceLayoutDirection : int { leftToRight = 0, rightToLeft = 1 };

class NSTrackingArea : public NSObject {
  public:
    enum Options : unsigned {
        mouseEnteredAndExited = 0x01,
        mouseMoved = 0x02,
        cursorUpdate = 0x04,
        activeWhenFirstResponder = 0x10,
        activeInKeyWindow = 0x20,
        activeInActiveApp = 0x40,
        activeAlways = 0x80,
        assumeInside = 0x100,
        inVisibleRect = 0x200,
        enabledDuringMouseDrag = 0x400,
    };

    // `rect` in the view's coordinates (ignored with inVisibleRect: the bounds).
    static std::shared_ptr<NSTrackingArea> make(CGRect rect, unsigned options,
                                                std::weak_ptr<NSResponder> owner);

    CGRect rect() const { return rect_; }
    unsigned options() const { return options_; }
    std::shared_ptr<NSResponder> owner() const { return owner_.lock(); }

  protected:
    NSTrackingArea(CGRect rect, unsigned options, std::weak_ptr<NSResponder> owner)
        : rect_(rect), options_(options), owner_(std::move(owner)) {}

  private:
    friend class NSWindow;
    friend class NSView;
    CGRect rect_;
    unsigned options_;
    std::weak_ptr<NSResponder> owner_;
    bool inside = false; // kept by the window
};

class NSView : public NSResponder {
  public:
    // Views are made with make<NSView>(frame) (or a subclass's constructor arguments).
    explicit NSView(CGRect frame = {});

    // Geometry.
    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame);
    void setFrameOrigin(CGPoint origin) { setFrame({origin, frame_.size}); }
    void setFrameSize(CGSize size) { setFrame({frame_.origin, size}); }
    // The bounds' size follows the frame's; its origin shifts the content.
    CGRect bounds() const { return bounds_; }
    void setBoundsOrigin(CGPoint origin);
    // The view's own appearance; none: its window's. Carried: drawing is dark always.
    std::shared_ptr<NSAppearance> appearance;
    virtual bool isFlipped() const { return false; }
    // Whether drawing of this view and its subviews is clipped to its bounds.
    bool clipsToBounds() const { return clips; }
    void setClipsToBounds(bool clip) { clips = clip; }
    bool isHidden() const { return hidden; }
    void setHidden(bool hide);
    // The view's opacity: the view and its subviews are drawn as one group at it, times
    // its layer's opacity; 0 draws nothing.
    CGFloat alphaValue() const { return alpha; }
    virtual void setAlphaValue(CGFloat alphaValue);
    // A layer-backed view has a layer (CALayer.h), whose background colour, when set,
    // is filled over the bounds behind the view's own drawing; changing the layer's
    // opacity redraws the view.
    bool wantsLayer() const { return backingLayer != nullptr; }
    void setWantsLayer(bool wants);
    const std::shared_ptr<CALayer>& layer() const { return backingLayer; }
    // This view or an ancestor is hidden.
    bool isHiddenOrHasHiddenAncestor() const;
    // The part of the bounds not clipped by clipping ancestors (the bounds here).
    CGRect visibleRect() const { return bounds_; }
    std::string identifier;
    // Tool tip text (shown by the real-window layer, if at all).
    std::string toolTip;
    // Which way the content reads (left to right unless set).
    NSUserInterfaceLayoutDirection userInterfaceLayoutDirection() const { return direction; }
    void setUserInterfaceLayoutDirection(NSUserInterfaceLayoutDirection d) { direction = d; }
    // Whether the view fills its bounds with opaque drawing (nothing behind it shows);
    // whether it lets vibrancy show through. Kept for callers: drawing does not use them.
    virtual bool isOpaque() const { return false; }
    virtual bool allowsVibrancy() const { return false; }
    // Whether a press on the view may drag its window (a view that is not opaque may);
    // kept for callers: windows here are not dragged by their content.
    virtual bool mouseDownCanMoveWindow() const { return !isOpaque(); }

    // Hierarchy. A view owns its subviews; the superview and window are weak.
    std::shared_ptr<NSView> superview() const { return superview_.lock(); }
    std::shared_ptr<NSWindow> window() const;
    const std::vector<std::shared_ptr<NSView>>& subviews() const { return subviews_; }
    void addSubview(std::shared_ptr<NSView> view);
    enum class Ordering { below, above };
    // Inserts in front of (above) or behind (below) `relativeTo`, or of all.
    void addSubview(std::shared_ptr<NSView> view, Ordering place,
                    const std::shared_ptr<NSView>& relativeTo);
    void removeFromSuperview();
    bool isDescendant(const NSView& of) const;
    // Hooks called before the view moves to a new superview / window (null: none)
    // and after it moved.
    virtual void viewWillMoveToSuperview(const std::shared_ptr<NSView>& newSuperview) {}
    virtual void viewWillMoveToWindow(const std::shared_ptr<NSWindow>& newWindow) {}
    virtual void viewDidMoveToSuperview() {}
    virtual void viewDidMoveToWindow() {}
    // Called after a subview was added (or moved within the subviews).
    virtual void didAddSubview(NSView& subview) {}
    // The nearest scroll view above the view; none when there is none.
    std::shared_ptr<NSScrollView> enclosingScrollView() const;
    // The context menu for a mouse event over the view: its menu here.
    virtual std::shared_ptr<NSMenu> menuForEvent(const NSEvent& event) { return menu(); }

    // Coordinate conversion; a null view means the window's coordinates.
    CGPoint convertFromView(CGPoint point, const NSView* view) const;
    CGPoint convertToView(CGPoint point, const NSView* view) const;
    CGRect convertFromView(const CGRect& rect, const NSView* view) const;
    CGRect convertToView(const CGRect& rect, const NSView* view) const;
    // Own coordinates → superview's (or the window's for a view without superview).
    CGAffineTransform transformToSuperview() const;

    // The deepest visible view under `point` (in the superview's coordinates),
    // nullptr when the point is outside this view.
    virtual std::shared_ptr<NSView> hitTest(CGPoint pointInSuperview);
    // Offers a key down to the view as a key equivalent: here to its subviews, front
    // to back, while none takes it (hidden views take none); true when one took it.
    virtual bool performKeyEquivalent(const NSEvent& event);
    // Whether a mouse-down on this view also makes its window key (always true here).
    virtual bool acceptsFirstMouse(const NSEvent*) const { return true; }
    // Whether a press on the view makes it the first responder (when it accepts that).
    virtual bool focusesOnClick() const { return true; }

    // Drawing. drawRect draws the view's own content in its bounds space through
    // NSGraphicsContext::current(); `dirtyRect` is the part of the bounds being redrawn
    // (drawing outside it is clipped away), the whole bounds in a full drawing.
    // display draws the whole tree of the view.
    virtual void drawRect(CGRect dirtyRect) {}
    virtual bool drawsSubviewInContent(const NSView& subview) const { return false; }
    bool needsDisplay() const { return dirty; }
    // Marks the whole bounds (true) for redrawing on the window's next pass; false
    // only clears the mark.
    void setNeedsDisplay(bool needs = true);
    // Marks a rectangle of the view (bounds coordinates) for redrawing: the window adds
    // it to the region it redraws on its next pass, clipped, and asks for display. A
    // hidden view marks nothing in its window.
    void setNeedsDisplayInRect(CGRect rect);
    // Redraws the window holding the view (through the window), now.
    void display();
    // Draws the view and its subviews into `context`, whose current user space is
    // this view's superview space, making it the current NSGraphicsContext when it
    // is not; clears needsDisplay on the way. Views wholly outside the context's clip
    // are skipped.
    // A subview for which drawsSubviewInContent answers true is left out of the pass
    // over the subviews: the view's own drawing places it (a declarative host draws
    // the AppKit views it embeds in the order of its tree).
    void drawHierarchy(const std::shared_ptr<CGContext>& context);
    // A snapshot of the bounds: a bitmap context of the bounds' size at `scale`
    // that the view and its subviews were drawn into (recording when asked).
    std::shared_ptr<CGContext> cacheDisplay(CGFloat scale = 1, bool recordsDisplayList = false);

    // Layout. setFrame marks the view for layout; layoutSubtreeIfNeeded lays out
    // the marked views of the tree, parents first. The default layout places the
    // subviews that have constraints; overrides call it first.
    virtual void layout();
    bool needsLayout() const { return layoutNeeded; }
    void setNeedsLayout(bool needs = true) { layoutNeeded = needs; }
    void layoutSubtreeIfNeeded();
    // Called after the frame's size changed (the platform's resizeSubviews hook).
    virtual void frameSizeDidChange(CGSize oldSize) {}

    // What the content wants: a size per axis, or noIntrinsicMetric where it has none
    // (a plain view has none on either axis). The layout here takes it as the size of
    // an axis that constraints leave open. Invalidating asks the superview for layout.
    static constexpr CGFloat noIntrinsicMetric = -1;
    virtual CGSize intrinsicContentSize() const { return {noIntrinsicMetric, noIntrinsicMetric}; }
    void invalidateIntrinsicContentSize();
    // Between the frame and the rectangle that lines up with other views (zero here).
    virtual NSEdgeInsets alignmentRectInsets() const { return {}; }
    // The distance of the first text baseline from the top and of the last from the
    // bottom (0 for a view without text).
    virtual CGFloat firstBaselineOffsetFromTop() const { return 0; }
    virtual CGFloat lastBaselineOffsetFromBottom() const { return 0; }

    // Rotates the view's bounds by `degrees` about their origin. The stand-in keeps the
    // angle (boundsRotation) and draws unrotated; rotating marks the view's frame, grown
    // by the reach of a focus ring, for redrawing in its superview.
    void rotateByAngle(CGFloat degrees);
    CGFloat boundsRotation() const { return rotation; }
    // How far outside a view its focus ring may reach.
    static constexpr CGFloat focusRingOutset = 4;

    // The keyboard-focus ring the view wants.
    virtual NSFocusRingType focusRingType() const { return focusRing; }
    virtual void setFocusRingType(NSFocusRingType type) { focusRing = type; }
    // The ring's mask: its bounds and its drawing (none for a plain view). While the view
    // is the first responder of the key window and its ring type is not none, the window
    // draws the system's ring — a 3-point keyboardFocusIndicatorColor outline 2 points
    // around the mask bounds — after the view, when the mask drawing draws anything.
    virtual CGRect focusRingMaskBounds() const { return {}; }
    virtual void drawFocusRingMask() {}

    // Cursor rectangles: the window asks resetCursorRects (which calls addCursorRect)
    // when it first needs them and after invalidateCursorRects(for:) or a change of the
    // view's frame, and sets a rectangle's cursor while the pointer is over it (the
    // arrow again when it leaves them all).
    struct CursorRect {
        CGRect rect;
        std::shared_ptr<NSCursor> cursor;
    };
    virtual void resetCursorRects() {}
    void addCursorRect(CGRect rect, std::shared_ptr<NSCursor> cursor);
    void discardCursorRects() { cursorRects_.clear(); }
    const std::vector<CursorRect>& cursorRects() const { return cursorRects_; }

    // The contextual menu of a right click (menu() here); a right-mouse-down the view
    // does not handle pops it up at the pointer, else it goes up the responder chain.
    virtual std::shared_ptr<NSMenu> menuForEvent(const NSEvent& event) const { return menu(); }
    void rightMouseDown(const NSEvent& event) override;

    // When set, setFrame / setBoundsOrigin post these to the default notification
    // centre with the view as object (the names are the platform's).
    static constexpr const char* frameDidChangeNotification = "NSViewFrameDidChangeNotification";
    static constexpr const char* boundsDidChangeNotification = "NSViewBoundsDidChangeNotification";
    bool postsFrameChangedNotifications = false;
    bool postsBoundsChangedNotifications = false;

    // Auto Layout: anchors, and the active constraints whose first item is this view.
    bool translatesAutoresizingMaskIntoConstraints = true;
    // How strongly the view keeps to its intrinsic size per orientation (0
    // horizontal, 1 vertical): kept for callers; the constraint solver here does not
    // weigh them.
    enum class Orientation { horizontal = 0, vertical = 1 };
    float contentHuggingPriority(Orientation o) const { return hugging[int(o)]; }
    void setContentHuggingPriority(float p, Orientation o) { hugging[int(o)] = p; }
    float compressionResistancePriority(Orientation o) const { return resistance[int(o)]; }
    void setCompressionResistancePriority(float p, Orientation o) { resistance[int(o)] = p; }
    NSLayoutAnchor leadingAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::leading}; }
    NSLayoutAnchor trailingAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::trailing}; }
    NSLayoutAnchor leftAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::left}; }
    NSLayoutAnchor rightAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::right}; }
    NSLayoutAnchor topAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::top}; }
    NSLayoutAnchor bottomAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::bottom}; }
    NSLayoutAnchor widthAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::width}; }
    NSLayoutAnchor heightAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::height}; }
    NSLayoutAnchor centerXAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::centerX}; }
    NSLayoutAnchor centerYAnchor() { return {weakAs<NSView>(), NSLayoutAttribute::centerY}; }
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const {
        return layoutConstraints;
    }

    // The next view of the keyboard loop (Tab).
    std::weak_ptr<NSView> nextKeyView;

    // Gesture recognisers watching presses on this view and its subviews
    // (NSGestureRecognizer.h); the view owns them and is their view.
    void addGestureRecognizer(std::shared_ptr<NSGestureRecognizer> recognizer);
    void removeGestureRecognizer(const std::shared_ptr<NSGestureRecognizer>& recognizer);
    const std::vector<std::shared_ptr<NSGestureRecognizer>>& gestureRecognizers() const {
        return recognizers;
    }

    // Tracking areas: the window reports entered / moved / exited to their owners.
    void addTrackingArea(std::shared_ptr<NSTrackingArea> area);
    void removeTrackingArea(const std::shared_ptr<NSTrackingArea>& area);
    const std::vector<std::shared_ptr<NSTrackingArea>>& trackingAreas() const { return areas; }
    // Called when geometry or the window changed, so areas can be rebuilt.
    virtual void updateTrackingAreas() {}
    // Whether the mouse is inside one of this view's tracking areas (as last seen
    // by the window).
    bool isMouseInside() const;

  private:
    friend class NSWindow;
    friend class NSLayoutConstraint;
    friend class NSViewController;
    // Next responder: the view's controller (when it has one, which then leads to
    // `parent`), else `parent`.
    void linkResponders(const std::weak_ptr<NSResponder>& parent);
    void setWindow(const std::weak_ptr<NSWindow>& window);
    void insertSubview(std::shared_ptr<NSView> view, size_t index);
    // removeFromSuperview without the will-move hook (the view moves elsewhere).
    void detachFromSuperview();
    void drawTree(CGContext& context);
    // Marks the frame for redrawing in the superview (the window for a content view).
    void invalidateFrameInSuperview();
    void drawContent(CGContext& context);
    // The system's keyboard-focus ring, when this view shows one now.
    void drawSystemFocusRing(CGContext& context);
    CGAffineTransform transformToWindow() const;

    CGRect frame_;
    CGRect bounds_;
    bool clips = false;
    bool hidden = false;
    CGFloat alpha = 1;
    std::shared_ptr<CALayer> backingLayer;
    NSUserInterfaceLayoutDirection direction = NSUserInterfaceLayoutDirection::leftToRight;
    bool dirty = true;
    bool layoutNeeded = true;
    std::weak_ptr<NSView> superview_;
    std::weak_ptr<NSWindow> window_;
    std::vector<std::shared_ptr<NSView>> subviews_;
    std::vector<std::shared_ptr<NSTrackingArea>> areas;
    std::vector<std::shared_ptr<NSGestureRecognizer>> recognizers;
    std::vector<std::shared_ptr<NSLayoutConstraint>> layoutConstraints;
    std::weak_ptr<NSResponder> controller;
    NSFocusRingType focusRing = NSFocusRingType::defaultType;
    CGFloat rotation = 0;
    std::vector<CursorRect> cursorRects_;
    float hugging[2] = {250, 250};
    float resistance[2] = {750, 750};
};
