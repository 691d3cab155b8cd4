#include "AppKit/NSTableView.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSScrollView.h"
#include "AppKit/NSWindow.h"

void NSTableView::didInit() {
    NSControl::didInit();
    setHeaderView(make<NSTableHeaderView>());
}

// MARK: - Columns and header

void NSTableView::addTableColumn(std::shared_ptr<NSTableColumn> column) {
    Runtime::assertMainThread("NSTableView.addTableColumn");
    if (!column)
        return;
    column->table = weakAs<NSTableView>();
    columns.push_back(std::move(column));
    tile();
}

void NSTableView::removeTableColumn(const std::shared_ptr<NSTableColumn>& column) {
    Runtime::assertMainThread("NSTableView.removeTableColumn");
    auto it = std::find(columns.begin(), columns.end(), column);
    if (it == columns.end())
        return;
    (*it)->table.reset();
    columns.erase(it);
    tile();
}

long NSTableView::columnWithIdentifier(const std::string& identifier) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i]->identifier() == identifier)
            return long(i);
    return -1;
}

void NSTableView::setHeaderView(std::shared_ptr<NSTableHeaderView> newHeader) {
    Runtime::assertMainThread("NSTableView.headerView");
    if (header && header != newHeader)
        header->setTableView(nullptr);
    header = std::move(newHeader);
    if (header)
        header->setTableView(sharedAs<NSTableView>());
    if (auto scroll = enclosingScrollView())
        scroll->tile();
    tile();
}

void NSTableView::setSelectionHighlightStyle(NSTableViewSelectionHighlightStyle style) {
    highlightStyle = style;
    for (auto& row : rows)
        row->selectionHighlightStyle = style;
    setNeedsDisplay(true);
}

// MARK: - Geometry

CGRect NSTableView::rectOfRow(long row) const {
    if (row < 0 || row >= numberOfRows())
        return {};
    return {0, CGFloat(row) * rowHeight, bounds().width(), rowHeight};
}

CGRect NSTableView::rectOfColumn(long column) const {
    if (column < 0 || column >= long(columns.size()) || columns[std::size_t(column)]->isHidden())
        return {};
    CGFloat x = 0;
    for (long i = 0; i < column; ++i)
        if (!columns[std::size_t(i)]->isHidden())
            x += columns[std::size_t(i)]->width();
    return {x, 0, columns[std::size_t(column)]->width(), bounds().height()};
}

long NSTableView::rowAtPoint(CGPoint point) const {
    if (point.x < 0 || point.x >= bounds().width())
        return -1;
    const long row = long(std::floor(point.y / rowHeight));
    return point.y >= 0 && row < numberOfRows() ? row : -1;
}

long NSTableView::columnAtPoint(CGPoint point) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const CGRect r = rectOfColumn(long(i));
        if (!columns[i]->isHidden() && point.x >= r.minX() && point.x < r.maxX())
            return long(i);
    }
    return -1;
}

long NSTableView::rowForView(const NSView& view) const {
    for (const NSView* v = &view; v; v = v->superview().get())
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].get() == v)
                return long(i);
    return -1;
}

std::shared_ptr<NSTableRowView> NSTableView::rowViewAtRow(long row, bool) const {
    return row >= 0 && row < long(rows.size()) ? rows[std::size_t(row)] : nullptr;
}

std::shared_ptr<NSView> NSTableView::viewAtColumn(long column, long row, bool) const {
    auto rowView = rowViewAtRow(row);
    if (!rowView)
        return nullptr;
    const CGRect place = cellFrame(column, row);
    for (const auto& sub : rowView->subviews())
        if (sub->frame() == place && std::dynamic_pointer_cast<NSTableCellView>(sub))
            return sub;
    for (const auto& sub : rowView->subviews())
        if (sub->frame() == place)
            return sub;
    return nullptr;
}

CGRect NSTableView::cellFrame(long column, long) const {
    const CGRect c = rectOfColumn(column);
    return {c.minX(), 0, c.width(), rowHeight};
}

// MARK: - Rows

long NSTableView::countRows() {
    auto source = lockAs<NSTableViewDataSource>(dataSource);
    return source ? std::max(0L, source->numberOfRowsInTableView(*this)) : 0;
}

std::shared_ptr<NSView> NSTableView::cellView(NSTableColumn* column, long row) {
    auto d = lockAs<NSTableViewDelegate>(delegate);
    return d ? d->viewForTableColumn(*this, column, row) : nullptr;
}

std::shared_ptr<NSTableRowView> NSTableView::makeRowView(long row) {
    auto d = lockAs<NSTableViewDelegate>(delegate);
    return d ? d->rowViewForRow(*this, row) : nullptr;
}

bool NSTableView::isGroupRow(long row) {
    auto d = lockAs<NSTableViewDelegate>(delegate);
    return d && d->isGroupRow(*this, row);
}

std::any NSTableView::objectValue(NSTableColumn* column, long row) {
    auto source = lockAs<NSTableViewDataSource>(dataSource);
    return source ? source->objectValueForTableColumn(*this, column, row) : std::any();
}

std::shared_ptr<NSView> NSTableView::makeViewWithIdentifier(const std::string& identifier,
                                                            const std::shared_ptr<NSObject>&) {
    Runtime::assertMainThread("NSTableView.makeView");
    if (auto it = reusable.find(identifier); it != reusable.end() && !it->second.empty()) {
        auto view = it->second.back();
        it->second.pop_back();
        if (auto cell = std::dynamic_pointer_cast<NSTableCellView>(view))
            cell->prepareForReuse();
        return view;
    }
    if (auto it = factories.find(identifier); it != factories.end()) {
        auto view = it->second();
        if (view)
            view->identifier = identifier;
        return view;
    }
    return nullptr;
}

void NSTableView::registerViewFactory(const std::string& identifier,
                                      std::function<std::shared_ptr<NSView>()> factory) {
    factories[identifier] = std::move(factory);
}

void NSTableView::reloadData() {
    Runtime::assertMainThread("NSTableView.reloadData");
    // The views of the old rows wait to be handed out again.
    for (auto& row : rows) {
        auto children = row->subviews();
        for (auto& child : children) {
            child->removeFromSuperview();
            if (!child->identifier.empty())
                reusable[child->identifier].push_back(child);
        }
        row->removeFromSuperview();
    }
    rows.clear();
    cells.clear();
    rowCount = countRows();
    std::set<long> kept;
    for (long r : selection)
        if (r < rowCount)
            kept.insert(r);
    selection = kept;
    tile();
    makeRows();
}

void NSTableView::makeRows() {
    for (long row = 0; row < numberOfRows(); ++row) {
        auto rowView = makeRowView(row);
        if (!rowView)
            rowView = make<NSTableRowView>();
        rowView->setFrame(rectOfRow(row));
        rowView->selectionHighlightStyle = highlightStyle;
        rowView->isGroupRowStyle = isGroupRow(row);
        rows.push_back(rowView);
        cells.emplace_back();
        addSubview(rowView);
        if (rowView->isGroupRowStyle) {
            if (auto view = cellView(nullptr, row)) {
                view->setFrame(rowView->bounds());
                rowView->addSubview(view);
            }
        } else {
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (columns[c]->isHidden())
                    continue;
                auto view = cellView(columns[c].get(), row);
                if (!view)
                    continue;
                view->setFrame(cellFrame(long(c), row));
                cells.back().emplace_back(long(c), view);
                if (auto cell = std::dynamic_pointer_cast<NSTableCellView>(view))
                    if (auto value = objectValue(columns[c].get(), row); value.has_value())
                        cell->setObjectValue(std::move(value));
                rowView->addSubview(view);
            }
        }
        didMakeRow(*rowView, row);
        rowView->setSelected(isRowSelected(row));
    }
}

void NSTableView::tile() {
    CGFloat width = 0;
    for (const auto& c : columns)
        if (!c->isHidden())
            width += c->width();
    if (auto clip = std::dynamic_pointer_cast<NSClipView>(superview())) {
        const CGSize room = clip->bounds().size;
        const CGSize size{std::max(width, room.width),
                          std::max(CGFloat(numberOfRows()) * rowHeight, room.height)};
        if (!(size == frame().size))
            setFrameSize(size);
    }
    if (header)
        header->setFrameSize({std::max(width, bounds().width()), header->frame().height()});
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row]->setFrame(rectOfRow(long(row)));
        // Cell views follow their columns (a hidden column's are hidden).
        for (const auto& [column, weak] : cells[row])
            if (auto view = weak.lock()) {
                const bool shown =
                    column < long(columns.size()) && !columns[std::size_t(column)]->isHidden();
                view->setHidden(!shown);
                if (shown)
                    view->setFrame(cellFrame(column, long(row)));
            }
    }
    setNeedsDisplay(true);
}

void NSTableView::layout() {
    NSControl::layout();
    tile();
}

// MARK: - Selection

void NSTableView::selectRowIndexes(const std::set<long>& newRows, bool extending) {
    Runtime::assertMainThread("NSTableView.selectRowIndexes");
    std::set<long> next = extending ? selection : std::set<long>{};
    long last = extending ? lastSelected : -1;
    for (long r : newRows)
        if (r >= 0 && r < numberOfRows()) {
            next.insert(r);
            last = r;
        }
    changeSelection(std::move(next), last);
}

void NSTableView::changeSelection(std::set<long> next, long last) {
    lastSelected = next.empty() ? -1 : (next.count(last) ? last : *next.rbegin());
    if (next == selection)
        return;
    selection = std::move(next);
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r]->isSelected() != isRowSelected(long(r)))
            rows[r]->setSelected(isRowSelected(long(r)));
    setNeedsDisplay(true);
    Notification n{selectionDidChangeNotification, sharedAs<NSObject>(), {}};
    if (auto d = lockAs<NSTableViewDelegate>(delegate))
        d->tableViewSelectionDidChange(n);
    NotificationCenter::defaultCenter().post(n);
}

// MARK: - Events and drawing

void NSTableView::drawRect(CGRect dirtyRect) {
    if (!backgroundColor)
        return;
    backgroundColor->setFill();
    NSBezierPath::fillRect(dirtyRect);
}

void NSTableView::mouseDown(const NSEvent& event) {
    Runtime::assertMainThread("NSTableView.mouseDown");
    auto self = sharedAs<NSTableView>();
    if (auto w = window(); w && w->firstResponder() != self)
        w->makeFirstResponder(self);
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    clicked = rowAtPoint(p);
    clickedCol = columnAtPoint(p);
    const uint64_t flags = event.modifierFlags();
    if (clicked >= 0) {
        auto d = lockAs<NSTableViewDelegate>(delegate);
        if (!d || d->shouldSelectRow(*this, clicked)) {
            std::set<long> next{clicked};
            if (allowsMultipleSelection && (flags & NSEvent::command)) {
                next = selection;
                if (!next.erase(clicked))
                    next.insert(clicked);
            } else if (allowsMultipleSelection && (flags & NSEvent::shift) && lastSelected >= 0) {
                next = selection;
                for (long r = std::min(lastSelected, clicked); r <= std::max(lastSelected, clicked);
                     ++r)
                    next.insert(r);
            }
            changeSelection(std::move(next), clicked);
        }
    } else if (allowsEmptySelection) {
        changeSelection({}, -1);
    }
    if (event.clickCount() >= 2 && doubleAction)
        sendAction(doubleAction, cell()->target);
    else
        sendAction();
}

void NSTableView::rightMouseDown(const NSEvent& event) {
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    clicked = rowAtPoint(p);
    clickedCol = columnAtPoint(p);
    NSControl::rightMouseDown(event);
}

void NSTableView::keyDown(const NSEvent& event) {
    const auto key = event.specialKey();
    const bool up = key == NSEventSpecialKey::upArrow, down = key == NSEventSpecialKey::downArrow;
    if (!(up || down) || numberOfRows() == 0)
        return NSControl::keyDown(event);
    const long from = selectedRow();
    const long to = from < 0 ? (down ? 0 : numberOfRows() - 1)
                             : std::clamp(from + (down ? 1 : -1), 0L, numberOfRows() - 1);
    const bool extend = allowsMultipleSelection && (event.modifierFlags() & NSEvent::shift);
    selectRowIndexes({to}, extend);
}
