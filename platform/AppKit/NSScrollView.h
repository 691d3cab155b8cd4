#pragma once
// Stands in for NSScrollView and NSClipView: a view that shows part of a larger
// document view through a clip view, scrolled by the wheel (or in code), with a
// background drawn behind.
//
// The clip view has the document view as its only subview and clips to its bounds;
// its bounds origin is the scrolled-to point in the document's coordinates (it is
// flipped exactly when the document view is), kept so that the document covers the
// clip where it can (a document smaller than the clip sits at its origin). It can post
// bounds- and frame-change notifications (NSView). The scroll view (flipped: y down)
// lays out its clip view over its bounds; when the document is a table with a header
// view, the header sits above the clip in a clip view of its own, scrolled sideways with
// the content. A scroll-wheel event moves the content by its deltas (points, or lines
// of 10 points), up for a positive vertical delta.
// Left out: scrollers (the flags are kept; none are drawn), rulers, magnification,
// elastic scrolling, scroll animations, the responsive-scrolling overdraw.
// Thread: main thread; the entry points check it.

#include <memory>

#include "AppKit/NSColor.h"
#include "AppKit/NSView.h"

class NSClipView : public NSView {
  public:
    explicit NSClipView(CGRect frame = {});

    std::shared_ptr<NSView> documentView() const { return document.lock(); }
    void setDocumentView(std::shared_ptr<NSView> view);
    bool isFlipped() const override;

    // The document view's frame, and the part of it the clip shows.
    CGRect documentRect() const;
    CGRect documentVisibleRect() const;
    // Moves the bounds origin to `point`, held where the document covers the clip.
    void scrollToPoint(CGPoint point);
    CGPoint constrainScrollPoint(CGPoint point) const;

    bool drawsBackground = false;
    std::shared_ptr<NSColor> backgroundColor = NSColor::controlBackgroundColor();
    void drawRect(CGRect dirtyRect) override;

  private:
    std::weak_ptr<NSView> document;
};

class NSScrollView : public NSView {
  public:
    explicit NSScrollView(CGRect frame = {});

    bool isFlipped() const override { return true; }
    const std::shared_ptr<NSClipView>& contentView() const { return clip; }
    std::shared_ptr<NSView> documentView() const { return clip->documentView(); }
    void setDocumentView(std::shared_ptr<NSView> view);
    // The clip view's size, and the part of the document it shows.
    CGSize contentSize() const { return clip->frame().size; }
    CGRect documentVisibleRect() const { return clip->documentVisibleRect(); }

    bool drawsBackground = true;
    std::shared_ptr<NSColor> backgroundColor = NSColor::controlBackgroundColor();
    bool hasVerticalScroller = false;
    bool hasHorizontalScroller = false;
    // Lines of the wheel are this many points.
    CGFloat lineScroll = 10;

    // Places the header (when the document has one) and the clip view.
    void tile();
    // Keeps the header's sideways scroll with the content's (called by the clip view).
    void reflectScrolledClipView(NSClipView& clip);

    void layout() override;
    void frameSizeDidChange(CGSize oldSize) override;
    void scrollWheel(const NSEvent& event) override;
    void drawRect(CGRect dirtyRect) override;

  protected:
    void didInit() override;

  private:
    std::shared_ptr<NSView> headerOfDocument() const;
    std::shared_ptr<NSClipView> clip;
    std::shared_ptr<NSClipView> headerClip;
};
