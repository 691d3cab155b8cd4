#pragma once
// Outline-view functions: every row and item, the selected and clicked items, the
// index path of an item and whether it is collapsed.
// Thread: main thread only.

#include <memory>
#include <vector>

#include "AppKit/NSOutlineView.h"

using OutlineItem = NSOutlineView::Item;

// 0 ..< numberOfRows.
std::vector<long> allRows(const NSOutlineView& view);
// The item of every row, in row order, skipping rows without one.
std::vector<OutlineItem> allItems(const NSOutlineView& view);
// The item of the selected row when exactly one row is selected; none otherwise.
OutlineItem selectedItem(const NSOutlineView& view);
std::vector<OutlineItem> selectedItems(const NSOutlineView& view);
// Selects exactly the rows of those items that are shown.
void setSelectedItems(NSOutlineView& view, const std::vector<OutlineItem>& items);
OutlineItem clickedItem(const NSOutlineView& view);
// The selection when the clicked row is part of it; else the clicked row's item alone.
std::vector<OutlineItem> clickedItems(const NSOutlineView& view);
// The child indexes from the top level down to the item.
std::vector<long> indexPath(const NSOutlineView& view, const OutlineItem& item);
inline bool isItemCollapsed(const NSOutlineView& view, const OutlineItem& item) {
    return !view.isItemExpanded(item);
}
