#pragma once
// Small AppKit extensions the library shares: event tests, image variants and
// renditions, view-hierarchy functions, key-view loops, snapshots, context menus of
// buttons, vertically centred strings and the text-alignment conversion.
// Thread: main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppKit/NSControl.h"
#include "AppKit/NSEvent.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"
#include "AppKit/NSStringDrawing.h"
#include "AppKit/NSView.h"
#include "Foundation/NSRange.h"
#include "SwiftUI/ControlSizes.h"
#include "SwiftUI/Environment.h"

class NSBox;
class NSButton;
class NSImageView;
class NSColor;

// Events: a right-mouse-down, or a left-mouse-down with Control held.
bool isAlternateClick(const NSEvent& event);
bool isLeftButtonDown();  // bit 0 of the pressed mouse buttons
bool isRightButtonDown(); // bit 1

// Images.
// The image's bitmap (at one pixel per point) as pngP3Data; none without pixels.
std::optional<std::vector<uint8_t>> pngP3Data(const NSImage& image);
inline CGFloat width(const NSImage& image) {
    return image.size().width;
}
inline CGFloat height(const NSImage& image) {
    return image.size().height;
}
inline CGFloat aspectRatio(const NSImage& image) {
    return width(image) / height(image);
}
inline CGRect bounds(const NSImage& image) {
    return {0, 0, width(image), height(image)};
}
// The image drawn over its full size at `alpha` (source over), in a new image.
std::shared_ptr<NSImage> withAlpha(const NSImage& image, CGFloat alpha);
// A new image wider by `leading` (0 when none), the image drawn at (leading, 0).
std::shared_ptr<NSImage> withPadding(const NSImage& image, std::optional<CGFloat> leading);
// A template image filled with the colour (source in) in a copy that is no longer a
// template; any other image is returned as it is.
std::shared_ptr<NSImage> renderedIfTemplate(const std::shared_ptr<NSImage>& image,
                                            const NSColor& color);
// The first bitmap rendition; none when there is none.
std::shared_ptr<NSBitmapImageRep> firstBitmapImageRep(const NSImage& image);
// A new empty image holding the renditions that satisfy the predicate, in order.
std::shared_ptr<NSImage>
filterRepresentations(const NSImage& image,
                      const std::function<bool(const std::shared_ptr<NSImageRep>&)>& predicate);

// Views.
// The view with its frame and identifier.
std::shared_ptr<NSView> makeView(CGRect frame, std::string identifier);
// Pins the view to all sides of `other` (when given), inset by `insets`.
void anchorToAllSidesOf(NSView& view, const std::shared_ptr<NSView>& other, NSEdgeInsets insets);
// One device pixel in points: 1 / the window's scale (1 without a window).
CGFloat singlePixelLineWidth(const NSView& view);
// Each view's next key view is the next in the list; the last leads to the first.
void setNextKeyViewSequence(const std::vector<std::shared_ptr<NSView>>& views);
// The view's bounds drawn into a new image of the bounds' size; none for no area.
std::shared_ptr<NSImage> snapshotImage(NSView& view);
// An image view with the view's frame showing its snapshot; none without one.
std::shared_ptr<NSImageView> snapshotView(NSView& view);
// A horizontal separator line, 50 × 1 points.
std::shared_ptr<NSBox> dividerView();
// A zero-frame view that yields: hugging and compression resistance 50 both ways.
std::shared_ptr<NSView> spacerView();
// The direct subviews that match, then each subview's own matches, in subview order.
std::vector<std::shared_ptr<NSView>>
subviewsMatching(const NSView& view, const std::function<bool(const NSView&)>& predicate);
std::shared_ptr<NSView> firstSubviewMatching(const NSView& view,
                                             const std::function<bool(const NSView&)>& predicate);
std::shared_ptr<NSView> firstSuperviewMatching(const NSView& view,
                                               const std::function<bool(const NSView&)>& predicate);
template <class T> std::shared_ptr<T> firstSuperviewOfType(const NSView& view) {
    for (auto v = view.superview(); v; v = v->superview())
        if (auto t = std::dynamic_pointer_cast<T>(v))
            return t;
    return nullptr;
}
// Whether the view is its window's first responder: for a text field, whether its
// field editor is. False without a window or a first responder.
bool isFirstResponderInCurrentWindow(const NSView& view);
// Rotates the field by −1 and at once by +1 degree, which asks for its area, focus ring
// included, to be drawn again (where a stale ring may linger); it ends unrotated.
void focusRingClearingWorkaround(NSView& field);
void removeAllSubviews(NSView& view);
// Pops the button's menu (when it has one) up at the bottom-left of its bounds.
void popUpContextMenu(NSButton& button);
// The same as a method of any object (the receiver plays no part) and as its action
// "popUpContextMenuForButton:", which pops up the menu of the button that sends it
// (nothing for a sender that is not a button). Every object answers the action, so a
// button without a target reaches it through the responder chain.
void popUpContextMenuForButton(NSObject& receiver, NSObject* button);
NSAction popUpContextMenuForButtonAction();

// Strings: the range of the whole string, (0, length in UTF-16 units).
NSRange nsRange(const std::string& text);
// Drawn with the attributes in `rect`, centred vertically by their height.
void drawVerticallyCentered(const std::string& text, const CGRect& rect,
                            const NSStringAttributes& attributes);

// Conversions between the declarative and the AppKit enums. AppKit's extraLarge
// has no declarative counterpart of its own and becomes large, and the declarative
// extraLarge becomes AppKit's large; an AppKit size of raw value 5 or more is a
// fatal error ("Unhandled control size: " and the value), and so is a mode or size
// outside the cases.
SwiftUI::ControlSize swiftUIControlSize(NSControlSize size);
NSControlSize nsControlSize(SwiftUI::ControlSize size);
NSTextAlignment nsTextAlignment(SwiftUI::TextAlignment alignment);
NSLineBreakMode nsLineBreakMode(SwiftUI::TruncationMode mode);
