#include "AppKit/NSOutlineView.h"

#include <algorithm>

#include "AppKit/NSButton.h"

void NSOutlineView::didInit() {
    NSTableView::didInit();
    registerViewFactory(disclosureButtonIdentifier, [] {
        auto button = make<NSButton>();
        button->setButtonType(NSButtonType::onOff);
        button->setBezelStyle(NSBezelStyle::disclosure);
        button->setBordered(false);
        return std::static_pointer_cast<NSView>(button);
    });
}

std::shared_ptr<NSTableColumn> NSOutlineView::outlineTableColumn() const {
    if (auto c = outlineColumn.lock())
        return c;
    return tableColumns().empty() ? nullptr : tableColumns().front();
}

void NSOutlineView::addChildren(const Item& parent, long level) {
    auto source = dataSource.lock();
    long count = source->numberOfChildrenOfItem(*this, parent);
    for (long i = 0; i < count; ++i) {
        Item child = source->child(*this, i, parent);
        rows.push_back({child, parent, i, level});
        if (child && isItemExpanded(child) && source->isItemExpandable(*this, child))
            addChildren(child, level + 1);
    }
}

void NSOutlineView::reloadData() {
    Runtime::assertMainThread("NSOutlineView.reloadData");
    rows.clear();
    if (dataSource.lock())
        addChildren(nullptr, 0);
    NSTableView::reloadData();
}

void NSOutlineView::rebuild() {
    std::vector<Item> selected;
    for (long r : selectedRowIndexes())
        selected.push_back(itemAtRow(r));
    const Item last = itemAtRow(selectedRow());
    reloadData();
    std::set<long> again;
    for (const auto& item : selected)
        if (long r = rowForItem(item); r >= 0)
            again.insert(r);
    changeSelection(again, rowForItem(last));
}

bool NSOutlineView::isExpandable(const Item& item) {
    auto source = dataSource.lock();
    return item && source && source->isItemExpandable(*this, item);
}

void NSOutlineView::expandItem(const Item& item, bool expandChildren) {
    Runtime::assertMainThread("NSOutlineView.expandItem");
    if (!item)
        return;
    if (!isItemExpanded(item) && isExpandable(item))
        expanded.push_back(item);
    if (expandChildren)
        if (auto source = dataSource.lock())
            for (long i = 0, n = source->numberOfChildrenOfItem(*this, item); i < n; ++i)
                if (auto child = source->child(*this, i, item); isExpandable(child))
                    if (!isItemExpanded(child))
                        expanded.push_back(child);
    rebuild();
}

void NSOutlineView::collapseItem(const Item& item, bool collapseChildren) {
    Runtime::assertMainThread("NSOutlineView.collapseItem");
    auto it = std::find(expanded.begin(), expanded.end(), item);
    if (it == expanded.end())
        return;
    expanded.erase(it);
    if (collapseChildren)
        if (auto source = dataSource.lock())
            for (long i = 0, n = source->numberOfChildrenOfItem(*this, item); i < n; ++i)
                std::erase(expanded, source->child(*this, i, item));
    rebuild();
}

bool NSOutlineView::isItemExpanded(const Item& item) const {
    return item && std::find(expanded.begin(), expanded.end(), item) != expanded.end();
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

long NSOutlineView::levelForRow(long row) const {
    return row >= 0 && row < numberOfRows() ? rows[size_t(row)].level : -1;
}

CGRect NSOutlineView::frameOfOutlineCellAtRow(long row) const {
    const Item item = itemAtRow(row);
    auto source = dataSource.lock();
    if (!item || !source || !source->isItemExpandable(const_cast<NSOutlineView&>(*this), item))
        return {};
    const long column = columnWithIdentifier(
        outlineTableColumn() ? outlineTableColumn()->identifier() : std::string());
    const CGRect c = rectOfColumn(column < 0 ? 0 : column);
    const CGRect r = rectOfRow(row);
    return {c.minX() + CGFloat(levelForRow(row)) * indentationPerLevel, r.minY(),
            indentationPerLevel, r.height()};
}

CGRect NSOutlineView::cellFrame(long column, long row) const {
    CGRect frame = NSTableView::cellFrame(column, row);
    auto outline = outlineTableColumn();
    if (!outline || column < 0 || tableColumns()[std::size_t(column)] != outline)
        return frame;
    // Past the levels above and the disclosure button's room.
    const CGFloat indent = CGFloat(levelForRow(row) + 1) * indentationPerLevel;
    frame.origin.x += indent;
    frame.size.width = std::max<CGFloat>(0, frame.width() - indent);
    return frame;
}

std::shared_ptr<NSView> NSOutlineView::cellView(NSTableColumn* column, long row) {
    auto d = lockAs<NSOutlineViewDelegate>(delegate);
    return d ? d->viewForTableColumn(*this, column, itemAtRow(row)) : nullptr;
}

std::shared_ptr<NSTableRowView> NSOutlineView::makeRowView(long row) {
    auto d = lockAs<NSOutlineViewDelegate>(delegate);
    return d ? d->rowViewForItem(*this, itemAtRow(row)) : nullptr;
}

bool NSOutlineView::isGroupRow(long row) {
    auto d = lockAs<NSOutlineViewDelegate>(delegate);
    return d && d->isGroupItem(*this, itemAtRow(row));
}

std::any NSOutlineView::objectValue(NSTableColumn* column, long row) {
    auto source = dataSource.lock();
    return source ? source->objectValueForItem(*this, column, itemAtRow(row)) : std::any();
}

void NSOutlineView::didMakeRow(NSTableRowView& rowView, long row) {
    const CGRect place = frameOfOutlineCellAtRow(row);
    if (place.isEmpty())
        return;
    auto view = makeViewWithIdentifier(disclosureButtonIdentifier, sharedAs<NSObject>());
    if (!view)
        return;
    view->setFrame(place.offsetBy(-rowView.frame().minX(), -rowView.frame().minY()));
    if (auto button = std::dynamic_pointer_cast<NSButton>(view)) {
        button->setState(isItemExpanded(itemAtRow(row)) ? NSCell::StateValue::on
                                                        : NSCell::StateValue::off);
        button->setTarget(weakAs<NSObject>());
        button->setAction(&NSOutlineView::disclosureButtonClicked);
    }
    rowView.addSubview(view);
}

void NSOutlineView::disclosureButtonClicked(NSObject* sender) {
    auto* view = dynamic_cast<NSView*>(sender);
    const Item item = view ? itemAtRow(rowForView(*view)) : nullptr;
    if (!item)
        return;
    if (isItemExpanded(item))
        collapseItem(item);
    else
        expandItem(item);
}
