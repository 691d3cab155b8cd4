#include "Controls/StyledTableView.h"

#include "AppKit/NSScrollView.h"
#include "AppKit/NSWindow.h"
#include "Controls/CellArt.h"
#include "Controls/StyledTableHeader.h"

std::shared_ptr<NSScrollView> scrollViewEnclosing(const std::shared_ptr<NSView>& newSuperview) {
    if (!newSuperview)
        return nullptr;
    if (auto scroll = std::dynamic_pointer_cast<NSScrollView>(newSuperview))
        return scroll;
    return newSuperview->enclosingScrollView();
}

StyledControlState StyledTableView::controlState() const {
    return enabledHighlightedState(isEnabled(), isHighlighted());
}

void StyledTableView::setEnabled(bool enabled) {
    Runtime::assertMainThread("StyledTableView.isEnabled");
    NSTableView::setEnabled(enabled);
    // The table and its rows as one layer: its background lies on a scroll view of the
    // same colour, so only the rows dim.
    setAlphaValue(artFraction(enabled));
}

void StyledTableView::viewWillMoveToSuperview(const std::shared_ptr<NSView>& newSuperview) {
    Runtime::assertMainThread("StyledTableView.viewWillMove(toSuperview:)");
    NSTableView::viewWillMoveToSuperview(newSuperview);
    backgroundColor = style()->backgroundColor();
    if (auto scroll = scrollViewEnclosing(newSuperview)) {
        scroll->drawsBackground = true;
        scroll->backgroundColor = backgroundColor;
    }
}

void StyledTableView::mouseDown(const NSEvent& event) {
    Runtime::assertMainThread("StyledTableView.mouseDown");
    if (auto w = window(); makeKeyOnClick && w && !w->isKeyWindow())
        w->makeKeyWindow();
    NSTableView::mouseDown(event);
}

void StyledTableView::keyDown(const NSEvent& event) {
    Runtime::assertMainThread("StyledTableView.keyDown");
    if (allowKeyboardNavigation)
        return NSTableView::keyDown(event);
    if (auto parent = superview())
        parent->keyDown(event);
}

void StyledTableView::setHeaderStyle(const std::shared_ptr<NSColor>& textColor,
                                     const std::shared_ptr<NSColor>& bgColor,
                                     const std::shared_ptr<NSFont>& font) {
    Runtime::assertMainThread("StyledTableView.setHeaderStyle");
    for (const auto& column : tableColumns()) {
        if (column->isHidden())
            continue;
        auto old = column->headerCell();
        const std::string title = old ? old->stringValue() : std::string();
        auto cell = StyledTableHeaderCell::withText(title, old ? old->image() : nullptr);
        cell->drawsBackground = true;
        cell->backgroundColor = NSColor::clear();
        cell->setBackgroundStyle(NSBackgroundStyle::raised);
        cell->tintColor = bgColor;
        cell->textColor = textColor;
        NSStringAttributes attributes;
        attributes.color = textColor;
        attributes.font = font;
        cell->setAttributedStringValue(NSAttributedString(title, attributes));
        column->setHeaderCell(cell);
    }
}

std::set<long> StyledTableView::allColumnIndexes() const {
    // One index per column: 0 ..< n.
    std::set<long> indexes;
    for (long i = 0; i < long(tableColumns().size()); ++i)
        indexes.insert(i);
    return indexes;
}

std::shared_ptr<NSTableHeaderCell> StyledTableColumn::headerCell() const {
    auto cell = NSTableColumn::headerCell();
    if (cell)
        cell->setImage(image);
    return cell;
}

void StyledTableColumn::setHeaderCell(std::shared_ptr<NSTableHeaderCell> cell) {
    Runtime::assertMainThread("StyledTableColumn.headerCell");
    if (cell)
        cell->setImage(image);
    NSTableColumn::setHeaderCell(std::move(cell));
}
