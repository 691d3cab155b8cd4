#pragma once
// How the library's cells draw their artwork: template images tinted with the
// control-text colour first, then drawn with source-over at fraction 1 when the cell is
// enabled and 0.5 when not; in a flipped control view the context is first turned
// upside down over the drawing frame's height (translate by (0, height), scale (1, −1))
// so the art stays upright.
// Thread: main.

#include <algorithm>
#include <memory>

#include "AppKit/NSImage.h"
#include "AppKit/NSView.h"

// The art for drawing: a tinted copy of a template image, else the image itself.
std::shared_ptr<NSImage> cellArt(const std::shared_ptr<NSImage>& image);

// Fraction 1 when enabled, 0.5 when not.
inline CGFloat artFraction(bool enabled) {
    return enabled ? 1.0 : 0.5;
}

// Draws `image` (tinted, see above) stretched into `rect`, upright in a flipped view
// over `flipHeight`, at `fraction`; nothing without an image or a current context.
// With `caps` (a style's bezelImageCapInsets) only the middle stretches: the edges keep
// their size (NSImage::capInsets).
void drawUprightArt(const std::shared_ptr<NSImage>& image, CGRect rect, const NSView& view,
                    CGFloat flipHeight, CGFloat fraction, const NSEdgeInsets& caps = {});

// Draws `image` (tinted) into `rect` upright in the view, flipped or not (the context's
// flip respected), at `fraction`.
inline void drawArtRespectingFlip(const std::shared_ptr<NSImage>& image, CGRect rect,
                                  const NSView& view, CGFloat fraction) {
    drawUprightArt(image, rect, view, rect.minY() + rect.maxY(), fraction);
}

// An intrinsic size bounded by state art: without art `size`; with art (w, h) and the
// alignment insets E, (max(size.width, w) − E.left − E.right, h − E.top − E.bottom).
inline CGSize sizeBoundedByArt(CGSize size, const std::shared_ptr<NSImage>& art,
                               const NSEdgeInsets& insets) {
    if (!art)
        return size;
    return {std::max(size.width, art->size().width) - insets.left - insets.right,
            art->size().height - insets.top - insets.bottom};
}
