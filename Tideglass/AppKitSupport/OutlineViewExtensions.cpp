#include "AppKitSupport/OutlineViewExtensions.h"

#include <algorithm>

namespace {
constexpr const char* where = "Tideglass/NSOutlineView";

std::vector<OutlineItem> itemsOfRows(const NSOutlineView& view, const auto& rows) {
    std::vector<OutlineItem> items;
    for (long row : rows)
        if (auto item = view.itemAtRow(row))
            items.push_back(std::move(item));
    return items;
}
} // namespace

std::vector<long> allRows(const NSOutlineView& view) {
    std::vector<long> rows(size_t(std::max(0L, view.numberOfRows())));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = long(i);
    return rows;
}

std::vector<OutlineItem> allItems(const NSOutlineView& view) {
    return itemsOfRows(view, allRows(view));
}

OutlineItem selectedItem(const NSOutlineView& view) {
    return view.numberOfSelectedRows() == 1 ? view.itemAtRow(view.selectedRow()) : nullptr;
}

std::vector<OutlineItem> selectedItems(const NSOutlineView& view) {
    return itemsOfRows(view, view.selectedRowIndexes());
}

void setSelectedItems(NSOutlineView& view, const std::vector<OutlineItem>& items) {
    Runtime::assertMainThread(where);
    std::set<long> rows;
    for (const auto& item : items)
        if (long row = view.rowForItem(item); row >= 0)
            rows.insert(row);
    view.selectRowIndexes(rows, false);
}

OutlineItem clickedItem(const NSOutlineView& view) {
    return view.itemAtRow(view.clickedRow());
}

std::vector<OutlineItem> clickedItems(const NSOutlineView& view) {
    if (view.selectedRowIndexes().contains(view.clickedRow()))
        return selectedItems(view);
    if (auto item = clickedItem(view))
        return {item};
    return {};
}

std::vector<long> indexPath(const NSOutlineView& view, const OutlineItem& item) {
    std::vector<long> path;
    for (auto current = item; current; current = view.parentForItem(current))
        path.push_back(view.childIndexForItem(current));
    std::reverse(path.begin(), path.end());
    return path;
}
