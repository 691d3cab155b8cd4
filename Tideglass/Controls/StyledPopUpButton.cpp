#include "Controls/StyledPopUpButton.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSGraphicsContext.h"
#include "Controls/CellArt.h"
#include "Controls/FocusRing.h"

NSAttributedString menuButtonTitle(const std::string& title, std::shared_ptr<NSColor> color,
                                   const std::optional<std::string>& label,
                                   std::shared_ptr<NSColor> labelColor) {
    const NSStringAttributes base{NSFont::systemFont(10), std::move(color), NSTextAlignment::left,
                                  NSLineBreakMode::byTruncatingTail};
    if (!label || !labelColor)
        return NSAttributedString(title, base);
    NSStringAttributes labelRun = base;
    labelRun.color = std::move(labelColor);
    NSStringAttributes titleRun = base;
    titleRun.font = NSFont::systemFont(10, CGFont::medium);
    NSAttributedString text(*label, labelRun);
    text.append(NSAttributedString(" " + title, titleRun));
    return text;
}

// ---- The cell

StyledPopUpButtonCell::StyledPopUpButtonCell(TextCell content, bool pullsDown)
    : StyledControl(std::move(content), pullsDown) {
    highlightsBy = NSCellStyleMask::none;
}

StyledControlState StyledPopUpButtonCell::controlState() const {
    using State = StyledControlState;
    State s = State::default_;
    if (showsStateBy != NSCellStyleMask::none) {
        if (state == StateValue::on)
            s |= State::on;
        else if (state == StateValue::mixed)
            s |= State::mixed;
    }
    if (!isEnabled)
        s |= State::disabled;
    else if (isHighlighted)
        s |= State::highlighted;
    return s;
}

NSBackgroundStyle StyledPopUpButtonCell::interiorBackgroundStyle() const {
    return style()->interiorBackgroundStyle();
}

CGRect StyledPopUpButtonCell::titleRectForBounds(CGRect b) const {
    if (imagePosition == NSCellImagePosition::imageOnly || title.empty())
        return {};
    // The box ends 14 points short of the right edge; it starts at 10, or 4 points past
    // the item's image when one is drawn, so the image never covers the title.
    const CGFloat end = 10 + b.width() - 24;
    CGFloat x = 10;
    if (drawsItemImage())
        x = std::max(x, imageRectForBounds(b).maxX() - b.minX() + 4);
    return CGRect{x, std::round(b.midY() - 7), std::max<CGFloat>(end - x, 0), 14}.integral();
}

bool StyledPopUpButtonCell::drawsItemImage() const {
    const auto item = menuItem();
    return (!label || label->empty()) && imagePosition != NSCellImagePosition::noImage && item &&
           item->image;
}

void StyledPopUpButtonCell::drawImageWithFrame(CGRect frame, NSView& controlView) {
    if (drawsItemImage())
        NSPopUpButtonCell::drawImageWithFrame(frame, controlView);
}

void StyledPopUpButtonCell::drawBezel(CGRect frame, NSView& controlView) {
    drawUprightArt(styleBezelImage(), frame, controlView, frame.height(), artFraction(isEnabled),
                   style()->bezelImageCapInsets());
}

CGRect StyledPopUpButtonCell::drawTitle(const NSAttributedString& title, CGRect frame, NSView&) {
    if (imagePosition == NSCellImagePosition::imageOnly || title.string().empty() ||
        !NSGraphicsContext::current())
        return {};
    menuButtonTitle(title.string(), styleTextColor(), label, NSColor::secondaryLabelColor())
        .draw(frame, 1);
    return frame;
}

void StyledPopUpButtonCell::highlight(bool flag, CGRect frame, NSView& controlView) {
    NSPopUpButtonCell::highlight(flag, frame, controlView);
    isHighlighted = flag;
    controlView.setNeedsDisplay(true);
}

// ---- The button

StyledPopUpButton::StyledPopUpButton(CGRect frame, bool pullsDown,
                                     std::optional<CGFloat> fixedWidth)
    : NSPopUpButton(frame, pullsDown), fixedWidth(fixedWidth) {}

StyledPopUpButton::StyledPopUpButton(CGRect, bool) {
    unimplementedInitializer("Tideglass.StyledPopUpButton", "init(frame:pullsDown:)");
}

std::shared_ptr<NSCell> StyledPopUpButton::makeCell() {
    auto c = make<StyledPopUpButtonCell>(NSButtonCell::TextCell{}, pullsDown());
    c->font = NSFont::systemFont(11);
    return c;
}

void StyledPopUpButton::setLabel(std::optional<std::string> label) {
    Runtime::assertMainThread("StyledPopUpButton.label");
    label_ = std::move(label);
    if (auto c = std::dynamic_pointer_cast<StyledPopUpButtonCell>(cell())) {
        c->label = label_;
        setNeedsDisplay();
    }
}

NSEdgeInsets StyledPopUpButton::alignmentRectInsets() const {
    // The cell's own style: a tool pop-up cell answers with the tool style's insets.
    if (auto c = std::dynamic_pointer_cast<StyledPopUpButtonCell>(cell()))
        return c->style()->alignmentRectInsets();
    return NSPopUpButton::alignmentRectInsets();
}

CGSize StyledPopUpButton::intrinsicContentSize() const {
    CGSize size = NSPopUpButton::intrinsicContentSize();
    if (fixedWidth)
        size.width = *fixedWidth;
    auto c = std::dynamic_pointer_cast<StyledPopUpButtonCell>(cell());
    auto art = c && isBordered() ? c->styleBezelImage() : nullptr;
    return sizeBoundedByArt(size, art, alignmentRectInsets());
}

void StyledPopUpButton::drawRect(CGRect dirtyRect) {
    NSPopUpButton::drawRect(dirtyRect);
    if (auto c = std::dynamic_pointer_cast<StyledPopUpButtonCell>(cell()))
        drawLibraryFocusRing(*this, focusRingMaskBounds(), c->styleFocusRingColor());
}

std::shared_ptr<NSCell> ToolPopUpButton::makeCell() {
    auto c = make<ToolPopUpButtonCell>(NSButtonCell::TextCell{}, pullsDown());
    c->font = NSFont::systemFont(11);
    return c;
}
