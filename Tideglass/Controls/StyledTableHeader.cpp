#include "Controls/StyledTableHeader.h"

#include <cmath>
#include <mutex>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"

std::shared_ptr<StyledTableHeaderCell>
StyledTableHeaderCell::withText(const std::string& text, std::shared_ptr<NSImage> image) {
    Runtime::assertMainThread("StyledTableHeaderCell.init(text:image:)");
    auto cell = make<StyledTableHeaderCell>();
    cell->setStringValue(text);
    cell->setImage(std::move(image));
    return cell;
}

std::shared_ptr<StyledTableHeaderCell> StyledTableHeaderCell::withTextCell(const std::string&) {
    unimplementedInitializer("Tideglass.StyledTableHeaderCell", "init(textCell:)");
}

StyledControlState StyledTableHeaderCell::controlState() const {
    return enabledHighlightedState(isEnabled, isHighlighted);
}

void StyledTableHeaderCell::drawWithFrame(CGRect frame, NSView& controlView) {
    colorfulDraw(frame, controlView, false);
}

void StyledTableHeaderCell::highlight(bool, CGRect frame, NSView& controlView) {
    colorfulDraw(frame, controlView, false);
}

void StyledTableHeaderCell::colorfulDraw(CGRect f, NSView&, bool) {
    Runtime::assertMainThread("StyledTableHeaderCell.draw");
    if (!NSGraphicsContext::current())
        return;
    if (tintColor) {
        tintColor->setFill();
        NSBezierPath::fillRect(f);
    }
    // Centred on the font's line: floor((height − (ascender − descender)) × 0.5).
    const CGFloat line = font ? font->ascender() - font->descender() : 0;
    const CGFloat dy = std::floor((f.height() - line) * 0.5);
    const CGFloat dx = f.minX() < 5 ? 4 : 1;
    attributedStringValue().draw(f.insetBy(dx, dy), 1);
    if (auto image = this->image()) {
        const CGSize s = image->size();
        image->draw(CGRect{f.minX() + (f.width() - s.width) / 2, (f.height() - s.height) / 2,
                           s.width, s.height});
    }
}

std::shared_ptr<NSTableHeaderCell> StyledTableHeaderCell::copy() const {
    auto cell = make<StyledTableHeaderCell>();
    copySettings(*cell);
    cell->tintColor = tintColor; // a second reference to the same colour
    return cell;
}

namespace {
std::mutex headerStyleLock;
std::shared_ptr<TableViewStyle>& headerStyle() {
    static std::shared_ptr<TableViewStyle> style;
    return style;
}
} // namespace

std::shared_ptr<TableViewStyle> StyledTableHeaderView::style() {
    std::lock_guard guard(headerStyleLock);
    auto& style = headerStyle();
    if (!style)
        style = std::make_shared<TableViewStyle>();
    return style;
}

void StyledTableHeaderView::setStyle(std::shared_ptr<TableViewStyle> style) {
    std::lock_guard guard(headerStyleLock);
    headerStyle() = std::move(style);
}
