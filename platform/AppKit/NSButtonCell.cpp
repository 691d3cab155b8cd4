#include "AppKit/NSButtonCell.h"

#include <algorithm>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"

namespace {
constexpr CGFloat drawingInset = 2, imageGap = 3, borderWidth = 12, borderHeight = 6;
// Within a border, an image beside the title keeps the margin that cellSize counts for
// the border (half its width on each side), so it never touches the bezel's edge.
constexpr CGFloat besideMargin = borderWidth / 2 - drawingInset;
using Position = NSCellImagePosition;
namespace Mask = NSCellStyleMask;

bool beside(Position p) {
    return p == Position::imageLeft || p == Position::imageRight || p == Position::imageLeading ||
           p == Position::imageTrailing;
}
bool atLeft(Position p) {
    return p == Position::imageLeft || p == Position::imageLeading;
}
bool stacked(Position p) {
    return p == Position::imageAbove || p == Position::imageBelow;
}
// Whether "above" lies at the smaller y of the control view's coordinates.
bool topIsLowY(const NSCell& cell) {
    auto view = cell.controlView();
    return view && view->isFlipped();
}
} // namespace

NSButtonCell::NSButtonCell(ImageCell content) {
    setImage(std::move(content.image));
    isBordered = true;
    imagePosition = NSCellImagePosition::imageOnly;
}

void NSButtonCell::setButtonType(NSButtonType newType) {
    type = newType;
    switch (newType) {
    case NSButtonType::momentaryLight:
        highlightsBy = Mask::changeBackground | Mask::changeGray;
        showsStateBy = Mask::none;
        break;
    case NSButtonType::pushOnPushOff:
        highlightsBy = Mask::pushIn | Mask::changeGray;
        showsStateBy = Mask::changeBackground | Mask::changeGray;
        break;
    case NSButtonType::toggle:
        highlightsBy = Mask::pushIn | Mask::contents;
        showsStateBy = Mask::contents;
        break;
    case NSButtonType::switchButton:
    case NSButtonType::radio:
        highlightsBy = Mask::contents;
        showsStateBy = Mask::contents;
        break;
    case NSButtonType::momentaryChange:
        highlightsBy = Mask::contents;
        showsStateBy = Mask::none;
        break;
    case NSButtonType::onOff:
        highlightsBy = Mask::changeBackground;
        showsStateBy = Mask::changeBackground;
        break;
    case NSButtonType::momentaryPushIn:
        highlightsBy = Mask::pushIn | Mask::changeGray;
        showsStateBy = Mask::none;
        break;
    }
}

std::shared_ptr<NSImage> NSButtonCell::imageToShow() const {
    auto other = alternateImage();
    const bool pressed = isHighlighted && (highlightsBy & Mask::contents);
    const bool on = state == StateValue::on && (showsStateBy & Mask::contents);
    return other && (pressed || on) ? other : image();
}

NSAttributedString NSButtonCell::attributedTitle() const {
    if (attributed && attributed->string() == title)
        return *attributed;
    return NSAttributedString(
        title, {font, isEnabled ? NSColor::controlTextColor() : NSColor::disabledControlTextColor(),
                NSTextAlignment::center, NSLineBreakMode::byTruncatingTail});
}

void NSButtonCell::setAttributedTitle(NSAttributedString value) {
    title = value.string();
    attributed = std::move(value);
}

CGRect NSButtonCell::drawingRectForBounds(CGRect bounds) const {
    return isBordered || isBezeled ? bounds.insetBy(drawingInset, drawingInset) : bounds;
}

CGRect NSButtonCell::imageRectForBounds(CGRect bounds) const {
    if (!image() || imagePosition == Position::noImage)
        return {};
    const CGRect d = drawingRectForBounds(bounds);
    const CGSize s = image()->size();
    CGFloat x = d.midX() - s.width / 2, y = d.midY() - s.height / 2;
    if (beside(imagePosition)) {
        const CGFloat margin = isBordered || isBezeled ? besideMargin : 0;
        x = atLeft(imagePosition) ? d.minX() + margin : d.maxX() - margin - s.width;
    }
    if (stacked(imagePosition)) {
        const bool above = imagePosition == Position::imageAbove;
        y = above == topIsLowY(*this) ? d.minY() : d.maxY() - s.height;
    }
    return {x, y, s.width, s.height};
}

CGRect NSButtonCell::titleRectForBounds(CGRect bounds) const {
    if (imagePosition == Position::imageOnly)
        return {};
    CGRect d = drawingRectForBounds(bounds);
    const CGRect i = imageRectForBounds(bounds);
    if (!i.isEmpty() && beside(imagePosition)) {
        const CGFloat taken = i.width() + imageGap + (isBordered || isBezeled ? besideMargin : 0);
        if (atLeft(imagePosition))
            d.origin.x += taken;
        d.size.width = std::max<CGFloat>(0, d.width() - taken);
    }
    if (!i.isEmpty() && stacked(imagePosition)) {
        const CGFloat taken = i.height() + imageGap;
        if (i.minY() <= d.minY())
            d.origin.y += taken;
        d.size.height = std::max<CGFloat>(0, d.height() - taken);
    }
    const CGFloat height = std::min(d.height(), attributedTitle().size().height);
    return {d.minX(), d.midY() - height / 2, d.width(), height};
}

CGSize NSButtonCell::cellSize() const {
    CGSize t = title.empty() || imagePosition == Position::imageOnly ? CGSize{0, 0}
                                                                     : attributedTitle().size();
    CGSize i = image() && imagePosition != Position::noImage ? image()->size() : CGSize{0, 0};
    const bool both = t.width > 0 && i.width > 0;
    CGSize size;
    if (beside(imagePosition))
        size = {t.width + i.width + (both ? imageGap : 0), std::max(t.height, i.height)};
    else if (stacked(imagePosition))
        size = {std::max(t.width, i.width), t.height + i.height + (both ? imageGap : 0)};
    else
        size = {std::max(t.width, i.width), std::max(t.height, i.height)};
    if (isBordered || isBezeled) {
        size.width += borderWidth;
        size.height += borderHeight;
    }
    return size;
}

void NSButtonCell::drawWithFrame(CGRect frame, NSView& controlView) {
    if (isBordered || isBezeled)
        drawBezel(frame, controlView);
    drawInteriorWithFrame(frame, controlView);
}

void NSButtonCell::drawInteriorWithFrame(CGRect frame, NSView& controlView) {
    if (auto shown = imageToShow(); shown && imagePosition != Position::noImage)
        drawImage(shown, imageRectForBounds(frame), controlView);
    if (!title.empty() && imagePosition != Position::imageOnly)
        drawTitle(attributedTitle(), titleRectForBounds(frame), controlView);
}

void NSButtonCell::drawBezel(CGRect frame, NSView&) {
    if (!NSGraphicsContext::current())
        return;
    const bool pushed = isHighlighted &&
                        (highlightsBy & (Mask::pushIn | Mask::changeGray | Mask::changeBackground));
    const bool on = state == StateValue::on && (showsStateBy & Mask::changeBackground);
    auto panel = NSBezierPath::roundedRect(frame.insetBy(0.5, 0.5), 4, 4);
    (on       ? NSColor::controlAccentColor()
     : pushed ? NSColor::selectedContentBackgroundColor()
              : NSColor::controlBackgroundColor())
        ->setFill();
    panel->fill();
    NSColor::separatorColor()->setStroke();
    panel->stroke();
}

void NSButtonCell::drawImage(const std::shared_ptr<NSImage>& shown, CGRect frame, NSView&) {
    if (!shown || !NSGraphicsContext::current())
        return;
    const CGFloat fraction = isEnabled ? 1 : 0.5;
    if (shown->isTemplate)
        shown->drawTinted(frame, *NSColor::controlTextColor(), fraction);
    else
        shown->draw(frame, NSCompositingOperation::sourceOver, fraction);
}

CGRect NSButtonCell::drawTitle(const NSAttributedString& text, CGRect frame, NSView&) {
    if (!NSGraphicsContext::current())
        return frame;
    // Centred on the frame's mid-line, also when the frame is lower than the text.
    const CGFloat height = text.size().height;
    const CGRect line{frame.minX(), frame.midY() - height / 2, frame.width(), height};
    text.draw(line, 1);
    return line;
}
