#pragma once
// The library's clickable image view, segmented cell, sliders and pop-up items, as
// far as the styles and palettes set them up. Their drawing and behaviour come with
// the controls themselves.
// Thread: main thread.

#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "AppKit/NSCursor.h"
#include "AppKit/NSImageView.h"
#include "AppKit/NSSegmentedCell.h"
#include "Combine/Combine.h"

// An image view that reports clicks: `clicked` sends one value (of no content) per
// recognised click and never fails.
class ClickableImageView : public NSImageView {
  public:
    explicit ClickableImageView(CGRect frame = {}) : NSImageView(frame) {}

    PassthroughSubject<std::monostate> clicked;
};

// The segmented control's cell; the frames of its segments, by index, once laid out.
class StyledSegmentedCell : public NSSegmentedCell {
  public:
    std::map<int, CGRect> cachedSegmentFrames;
};

// The drag-to-change icon: each drag or scroll step moves the value by `incrementBy`
// within 0…maximumValue; slower pans than `minimumPanVelocity` are ignored.
class TrackingSlider : public ClickableImageView {
  public:
    // Its cursor is the library's "cursor-trackingslider" art.
    explicit TrackingSlider(CGRect frame = {});

    double incrementBy = 0.01;
    double minimumPanVelocity = 5;
    double currentValue = 0;
    double maximumValue = 1;
    std::shared_ptr<NSCursor> cursor;
};

// An item of the library's pop-up button wrapper, standing for a value of T.
template <class T> struct PopupItem { std::optional<T> object; };
