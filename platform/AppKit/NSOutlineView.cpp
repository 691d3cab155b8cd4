#include "AppKit/NSOutlineView.h"

#include <algorithm>
#include <cmath>

void NSOutlineView::addChildren(const Item& parent) {
    auto source = dataSource.lock();
    long count = source->numberOfChildrenOfItem(*this, parent);
    for (long i = 0; i < count; ++i) {
        Item child = source->child(*this, i, parent);
        rows.push_back({child, parent, i});
        if (child && isItemExpanded(child) && source->isItemExpandable(*this, child))
            addChildren(child);
    }
}

void NSOutlineView::reloadData() {
    Runtime::assertMainThread("NSOutlineView.reloadData");
    rows.clear();
    if (dataSource.lock())
        addChildren(nullptr);
    std::erase_if(selection, [&](long r) { return r >= numberOfRows(); });
    setNeedsDisplay();
}

void NSOutlineView::expandItem(const Item& item) {
    if (!item || isItemExpanded(item))
        return;
    expanded.push_back(item);
    reloadData();
}

void NSOutlineView::collapseItem(const Item& item) {
    auto it = std::find(expanded.begin(), expanded.end(), item);
    if (it == expanded.end())
        return;
    expanded.erase(it);
    reloadData();
}

bool NSOutlineView::isItemExpanded(const Item& item) const {
    return std::find(expanded.begin(), expanded.end(), item) != expanded.end();
}

NSOutlineView::Item NSOutlineView::itemAtRow(long row) const {
    return row >= 0 && row < numberOfRows() ? rows[size_t(row)].item : nullptr;
}

long NSOutlineView::rowForItem(const Item& item) const {
    for (size_t i = 0; i < rows.size(); ++i)
        if (item && rows[i].item == item)
            return long(i);
    return -1;
}

NSOutlineView::Item NSOutlineView::parentForItem(const Item& item) const {
    long row = rowForItem(item);
    return row < 0 ? nullptr : rows[size_t(row)].parent;
}

long NSOutlineView::childIndexForItem(const Item& item) const {
    long row = rowForItem(item);
    return row < 0 ? -1 : rows[size_t(row)].childIndex;
}

void NSOutlineView::selectRowIndexes(const std::set<long>& newRows, bool extending) {
    Runtime::assertMainThread("NSOutlineView.selectRowIndexes");
    if (!extending)
        selection.clear();
    for (long r : newRows)
        if (r >= 0 && r < numberOfRows()) {
            selection.insert(r);
            lastSelected = r;
        }
    setNeedsDisplay();
}

long NSOutlineView::rowAtPoint(CGPoint point) const {
    long row = long(std::floor(point.y / rowHeight));
    return row >= 0 && row < numberOfRows() ? row : -1;
}

void NSOutlineView::mouseDown(const NSEvent& event) {
    clicked = rowAtPoint(convertFromView(event.locationInWindow(), nullptr));
    if (clicked >= 0)
        selectRowIndexes({clicked}, false);
    else
        deselectAll();
}

void NSOutlineView::rightMouseDown(const NSEvent& event) {
    clicked = rowAtPoint(convertFromView(event.locationInWindow(), nullptr));
}
