#include "AppKit/NSTableParts.h"

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSTableView.h"

// MARK: - Header cells

void NSTableHeaderCell::drawWithFrame(CGRect frame, NSView&) {
    if (!NSGraphicsContext::current())
        return;
    NSColor::controlBackgroundColor()->setFill();
    NSBezierPath::fillRect(frame);
    const NSAttributedString title = attributedStringValue();
    const CGFloat height = title.size().height;
    title.draw({frame.minX() + 4, frame.midY() - height / 2, frame.width() - 8, height}, 1);
    NSColor::separatorColor()->setStroke();
    NSBezierPath::strokeLine({frame.maxX() - 0.5, frame.minY()},
                             {frame.maxX() - 0.5, frame.maxY()});
}

void NSTableHeaderCell::highlight(bool, CGRect frame, NSView& controlView) {
    drawWithFrame(frame, controlView);
}

void NSTableHeaderCell::copySettings(NSTableHeaderCell& into) const {
    into.setAttributedStringValue(attributedStringValue());
    into.setImage(image());
    into.font = font;
    into.alignment = alignment;
    into.lineBreakMode = lineBreakMode;
    into.textColor = textColor;
    into.backgroundColor = backgroundColor;
    into.drawsBackground = drawsBackground;
    into.setBackgroundStyle(backgroundStyle());
}

std::shared_ptr<NSTableHeaderCell> NSTableHeaderCell::copy() const {
    auto cell = make<NSTableHeaderCell>();
    copySettings(*cell);
    return cell;
}

// MARK: - Columns

NSTableColumn::NSTableColumn(std::string identifier) : id(std::move(identifier)) {}

void NSTableColumn::didInit() {
    header = make<NSTableHeaderCell>();
}

void NSTableColumn::setWidth(CGFloat width) {
    width_ = std::max<CGFloat>(0, width);
    if (auto t = table.lock())
        t->tile();
}

void NSTableColumn::setHidden(bool hide) {
    hidden = hide;
    if (auto t = table.lock())
        t->tile();
}

std::string NSTableColumn::title() const {
    auto cell = headerCell();
    return cell ? cell->stringValue() : std::string();
}

void NSTableColumn::setTitle(const std::string& title) {
    if (auto cell = headerCell())
        cell->setStringValue(title);
}

void NSTableColumn::setHeaderCell(std::shared_ptr<NSTableHeaderCell> cell) {
    Runtime::assertMainThread("NSTableColumn.headerCell");
    header = std::move(cell);
    if (auto t = table.lock())
        if (auto h = t->headerView())
            h->setNeedsDisplay(true);
}

// MARK: - The header view

void NSTableHeaderView::setTableView(std::shared_ptr<NSTableView> tableView) {
    table = tableView;
    setNeedsDisplay(true);
}

CGRect NSTableHeaderView::headerRectOfColumn(long column) const {
    auto t = tableView();
    if (!t)
        return {};
    const CGRect c = t->rectOfColumn(column);
    return {c.minX(), 0, c.width(), bounds().height()};
}

long NSTableHeaderView::columnAtPoint(CGPoint point) const {
    auto t = tableView();
    return t ? t->columnAtPoint({point.x, 0}) : -1;
}

void NSTableHeaderView::drawRect(CGRect) {
    auto t = tableView();
    if (!t)
        return;
    const auto& columns = t->tableColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i]->isHidden())
            continue;
        if (auto cell = columns[i]->headerCell())
            cell->drawWithFrame(headerRectOfColumn(long(i)), *this);
    }
}

// MARK: - Row views

void NSTableRowView::setSelected(bool s) {
    selected = s;
    setNeedsDisplay(true);
}

void NSTableRowView::drawBackground(CGRect dirtyRect) {
    if (!backgroundColor)
        return;
    backgroundColor->setFill();
    NSBezierPath::fillRect(dirtyRect);
}

void NSTableRowView::drawSelection(CGRect dirtyRect) {
    NSColor::selectedContentBackgroundColor()->setFill();
    NSBezierPath::fillRect(bounds().intersection(dirtyRect));
}

void NSTableRowView::drawRect(CGRect dirtyRect) {
    drawBackground(dirtyRect);
    if (isSelected() && selectionHighlightStyle != NSTableViewSelectionHighlightStyle::none)
        drawSelection(dirtyRect);
}
