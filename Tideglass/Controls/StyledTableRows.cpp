#include "Controls/StyledTableRows.h"

#include <mutex>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSTableView.h"
#include "AppKitSupport/Geometry.h"

// MARK: - Row views

CornerRadii selectionCornerRadii(bool above, bool below, CGFloat radius) {
    const CGFloat top = above ? 0 : radius, bottom = below ? 0 : radius;
    return {top, top, bottom, bottom};
}

namespace {
std::mutex identifierLock;
std::string& rowIdentifier() {
    static std::string identifier = "StyledTableRowView";
    return identifier;
}
} // namespace

std::string StyledTableRowView::userInterfaceIdentifier() {
    std::lock_guard guard(identifierLock);
    return rowIdentifier();
}

void StyledTableRowView::setUserInterfaceIdentifier(std::string identifier) {
    std::lock_guard guard(identifierLock);
    rowIdentifier() = std::move(identifier);
}

StyledControlState StyledTableRowView::controlState() const {
    StyledControlState state = StyledControlState::default_;
    if (isSelected())
        state.insert(StyledControlState::selected);
    return state;
}

CornerRadii StyledTableRowView::selectionCorners() const {
    auto table = std::dynamic_pointer_cast<NSTableView>(superview());
    if (!table)
        return selectionCornerRadii(false, false, selectionCornerRadius);
    const long row = table->rowForView(*this);
    return selectionCornerRadii(table->isRowSelected(row - 1), table->isRowSelected(row + 1),
                                selectionCornerRadius);
}

void StyledTableRowView::setSelected(bool s) {
    Runtime::assertMainThread("StyledTableRowView.isSelected");
    NSTableRowView::setSelected(s);
    setNeedsDisplay(true);
    applySelectionState(*this, isSelected(), true);
}

void StyledTableRowView::didAddSubview(NSView&) {
    applySelectionState(*this, isSelected(), true);
}

void StyledTableRowView::drawSelection(CGRect dirtyRect) {
    Runtime::assertMainThread("StyledTableRowView.drawSelection");
    auto table = std::dynamic_pointer_cast<NSTableView>(superview());
    if (selectionHighlightStyle == NSTableViewSelectionHighlightStyle::none || !table)
        return NSTableRowView::drawSelection(dirtyRect);
    // The row's own shape, so that any part of it redrawn is the part of one shape.
    const CGRect r = bounds().insetBy(selectionHorizontalInset, 0);
    const CornerRadii corners = selectionCorners();
    // Between two selected rows a plain rectangle (filled as one), else the corners.
    const bool square = corners.topLeft == 0 && corners.topRight == 0 && corners.bottomRight == 0 &&
                        corners.bottomLeft == 0;
    auto shape = square ? NSBezierPath::rect(r) : roundedRectPath(r, corners);
    NSGraphicsContext::saveGraphicsState();
    NSBezierPath::rect(dirtyRect)->addClip();
    rowBackgroundColor()->setFill();
    shape->fill();
    NSGraphicsContext::restoreGraphicsState();
}

// MARK: - Cell views

StyledControlState StyledTableCellView::controlState() const {
    StyledControlState state = StyledControlState::default_;
    if (selected)
        state.insert(StyledControlState::selected);
    return state;
}

void StyledTableCellView::setSelected(bool s) {
    Runtime::assertMainThread("StyledTableCellView.isSelected");
    selected = s;
    if (textField)
        textField->setTextColor(styleTextColor());
    applySelectionState(*this, selected, true);
}

void StyledTableCellView::setObjectValue(std::any value) {
    Runtime::assertMainThread("StyledTableCellView.objectValue");
    NSTableCellView::setObjectValue(std::move(value));
    prepareForReuse();
    invalidateIntrinsicContentSize();
}

void StyledTableCellView::prepareForReuse() {
    Runtime::assertMainThread("StyledTableCellView.prepareForReuse");
    NSTableCellView::prepareForReuse();
    if (!textField)
        return;
    textField->setStringValue("");
    textField->setTextColor(styleTextColor());
}

CGSize StyledTableCellView::intrinsicContentSize() const {
    if (!textField)
        return NSTableCellView::intrinsicContentSize();
    const NSEdgeInsets insets = alignmentRectInsets();
    return {textField->frame().minX() + textField->intrinsicContentSize().width -
                (insets.left + insets.right),
            noIntrinsicMetric};
}

std::shared_ptr<NSButton> StyledTableCellView::disclosureButton() const {
    auto parent = superview();
    if (!parent)
        return nullptr;
    for (const auto& view : parent->subviews())
        if (auto button = std::dynamic_pointer_cast<NSButton>(view);
            button && button->tag() == 1000)
            return button;
    return nullptr;
}
