#include "Controls/StyledSegmentedControl.h"

#include <cmath>

#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "Controls/FocusRing.h"
#include "Runtime/Runtime.h"
#include "Styles/StyleProtocols.h"

namespace {
using State = StyledControlState;

// The platform's highlight states of a segment being pressed.
bool isPressedHighlight(int state) {
    return state == 2 || state == 3 || state == 5;
}

std::shared_ptr<NSImage> tinted(const std::shared_ptr<NSImage>& image) {
    return image ? renderedIfTemplate(image, *NSColor::controlTextColor()) : nullptr;
}
} // namespace

// ---- The cell

StyledControlState StyledSegmentedCell::segmentState(int segment) const {
    Runtime::assertMainThread("StyledSegmentedCell.segmentState");
    State state = State::default_;
    if (!isEnabled)
        state |= State::disabled;
    if (isPressedHighlight(segmentHighlightState(segment)))
        state |= State::highlighted;
    if (segment == selectedSegment() && !hideSelection)
        state |= State::selected;
    return state;
}

CGRect StyledSegmentedCell::segmentRect(int segment, CGRect f) const {
    auto style = classStyle();
    auto art = style->bezelImage(segmentState(segment));
    const CGFloat h = art ? art->size().height : 0;
    const NSEdgeInsets m = style->segmentMargin();
    CGRect r = CGRect{f.minX() + m.left, f.minY() + m.bottom, f.width() - m.left - m.right,
                      h - m.top - m.bottom}
                   .integral();
    r.origin.y = std::round(f.midY() - r.height() / 2); // std::round: halves away from zero
    return r.integral();
}

CGRect StyledSegmentedCell::focusRingMaskBounds(CGRect, NSView&) const {
    auto frame = frames.find(keySegment());
    return frame == frames.end() ? CGRect{} : segmentRect(frame->first, frame->second);
}

NSBackgroundStyle StyledSegmentedCell::interiorBackgroundStyle() const {
    return style()->interiorBackgroundStyle();
}

void StyledSegmentedCell::setWidth(CGFloat width, int segment) {
    Runtime::assertMainThread("StyledSegmentedCell.setWidth");
    auto text = label(segment);
    if (text && font) {
        const NSEdgeInsets p = style()->segmentPadding();
        width = NSStringSize(*text, {.font = font}).width + p.left + p.right;
    }
    NSSegmentedCell::setWidth(width, segment);
}

void StyledSegmentedCell::drawSegment(int segment, CGRect frame, NSView& view) {
    Runtime::assertMainThread("StyledSegmentedCell.drawSegment");
    frames[segment] = frame;
    const State state = segmentState(segment);
    const CGRect r = segmentRect(segment, frame);
    auto style = this->style();
    auto context = NSGraphicsContext::current();
    if (auto art = tinted(style->bezelImage(state)); art && context) {
        NSGraphicsContext::saveGraphicsState();
        if (view.isFlipped()) {
            // Upside down over the segment's frame, so the art stays upright.
            context->cgContext().translateBy(0, frame.height());
            context->cgContext().scaleBy(1, -1);
        }
        art->draw(r, NSCompositingOperation::sourceOver, 1.0);
        NSGraphicsContext::restoreGraphicsState();
    }
    if (segment == keySegment())
        drawFocusRing(r, view);
    if (auto text = label(segment)) {
        NSStringAttributes attributes{.font = style->font(), .color = style->textColor(state)};
        attributes.alignment = NSTextAlignment::center;
        const CGFloat h = NSStringBoundingSize(*text, attributes, r.size).height;
        NSStringDraw(*text,
                     CGRect{r.minX(), r.minY() + (r.height() - h) * 0.5, r.width(), r.height()},
                     attributes);
    }
}

void StyledSegmentedCell::drawFocusRing(CGRect segmentRect, NSView& view) const {
    // Unlike the other controls' ring, this one shows in a window that is not key too.
    auto* control = dynamic_cast<NSControl*>(&view);
    if (!control || !hasKeyboardFocus(*control) || !NSGraphicsContext::current())
        return;
    auto colour = style()->focusRingColor(controlState());
    if (!colour)
        return;
    // The library's ring path insets by one point more: two in all.
    auto path = libraryFocusRingPath(focusRingMaskBounds(segmentRect, view).insetBy(1, 1));
    colour->withAlphaComponent(0.3)->setFill();
    path->fill();
    colour->setStroke();
    path->stroke();
}

// ---- The control

bool StyledSegmentedControl::hideSelection() const {
    Runtime::assertMainThread("StyledSegmentedControl.hideSelection");
    auto styled = std::dynamic_pointer_cast<StyledSegmentedCell>(cell());
    return styled && styled->hideSelection;
}

void StyledSegmentedControl::setHideSelection(bool hide) {
    Runtime::assertMainThread("StyledSegmentedControl.setHideSelection");
    if (auto styled = std::dynamic_pointer_cast<StyledSegmentedCell>(cell()))
        styled->hideSelection = hide;
    setNeedsDisplay();
}

CGSize StyledSegmentedControl::intrinsicContentSize() const {
    Runtime::assertMainThread("StyledSegmentedControl.intrinsicContentSize");
    CGSize size = NSSegmentedControl::intrinsicContentSize();
    auto styled = std::dynamic_pointer_cast<StyledSegmentedCell>(cell());
    if (auto art = styled ? styled->styleBezelImage() : nullptr) {
        size.width = std::max(size.width, art->size().width);
        size.height = std::max(size.height, art->size().height);
    }
    return size;
}
