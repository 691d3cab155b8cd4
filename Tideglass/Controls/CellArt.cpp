#include "Controls/CellArt.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKitSupport/AppKitExtensions.h"

std::shared_ptr<NSImage> cellArt(const std::shared_ptr<NSImage>& image) {
    return image ? renderedIfTemplate(image, *NSColor::controlTextColor()) : nullptr;
}

void drawUprightArt(const std::shared_ptr<NSImage>& image, CGRect rect, const NSView& view,
                    CGFloat flipHeight, CGFloat fraction, const NSEdgeInsets& caps) {
    auto current = NSGraphicsContext::current();
    if (!image || !current)
        return;
    CGContext& context = current->cgContext();
    context.saveGState();
    if (view.isFlipped()) {
        context.translateBy(0, flipHeight);
        context.scaleBy(1, -1);
    }
    auto art = cellArt(image);
    if (art->capInsets != caps) {
        // A copy: the style's image is shared, and keeps its own caps.
        art = art == image ? image->copy() : art;
        art->capInsets = caps;
    }
    art->draw(rect, NSCompositingOperation::sourceOver, fraction);
    context.restoreGState();
}
