// The control library's tables: a styled table with group rows and a merged selection
// under a styled header, the actionable header, the keyboard-action table and the
// styled outline view with its disclosure triangles.

#include "AppKit/NSScrollView.h"
#include "Controls/StyledOutlineView.h"
#include "Controls/StyledTableHeader.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/StyledTextLabel.h"
#include "Controls/TableExtras.h"
#include "Sheets.h"
#include "Styles/Styles.h"
#include "TestSupport/ControlHarness.h"

#include <string>
#include <vector>

namespace {

const void* contentKey() {
    static const char key = 0;
    return &key;
}

// A cell view with a row label (a group-row label for group rows).
std::shared_ptr<StyledTableCellView> cellView(const std::string& text, bool group) {
    auto cell = make<StyledTableCellView>();
    std::shared_ptr<NSTextField> label;
    if (group)
        label = make<StyledTableGroupRowLabel>(CGRect{12, 3, 0, 14});
    else
        label = make<StyledTableRowLabel>(CGRect{12, 3, 0, 14});
    label->setBezeled(false);
    label->setEditable(false);
    label->setSelectable(false);
    label->setDrawsBackground(false); // the row view's selection shows through
    label->setStringValue(text);
    label->setFrameSize({label->intrinsicContentSize().width, 14});
    cell->textField = label;
    cell->addSubview(label);
    return cell;
}

// Delay lines in two columns, under group rows naming their kind.
struct DelayLines : NSObject, NSTableViewDataSource, NSTableViewDelegate {
    struct Row {
        std::string model, delay;
        bool group = false;
    };
    std::vector<Row> rows{{"Tape", "", true},    {"Tape 1", "350 ms"},         {"Tape 2", "420 ms"},
                          {"Tape 3", "1200 ms"}, {"Bucket brigade", "", true}, {"BBD 1", "80 ms"},
                          {"BBD 2", "160 ms"}};
    long numberOfRowsInTableView(NSTableView&) override { return long(rows.size()); }
    bool isGroupRow(NSTableView&, long row) override { return rows[std::size_t(row)].group; }
    bool shouldSelectRow(NSTableView&, long row) override { return !rows[std::size_t(row)].group; }
    std::shared_ptr<NSView> viewForTableColumn(NSTableView&, NSTableColumn* column,
                                               long row) override {
        const Row& r = rows[std::size_t(row)];
        if (!column)
            return cellView(r.model, true);
        return cellView(column->identifier() == "model" ? r.model : r.delay, false);
    }
    std::shared_ptr<NSTableRowView> rowViewForRow(NSTableView&, long) override {
        return make<StyledTableRowView>();
    }
};

template <class Table = StyledTableView>
std::shared_ptr<Table> delayTable(const std::shared_ptr<NSScrollView>& scroll) {
    auto table = make<Table>(CGRect{0, 0, 260, 150});
    table->rowHeight = 20;
    for (auto [id, title] : {std::pair{"model", "Model"}, std::pair{"delay", "Delay"}}) {
        auto column = make<StyledTableColumn>(id);
        column->setTitle(title);
        column->setWidth(130);
        table->addTableColumn(column);
    }
    auto content = make<DelayLines>();
    table->dataSource = content;
    table->delegate = content;
    table->setAssociatedObject(contentKey(), content);
    table->identifier = "delay lines"; // how the page's action log names it
    scroll->setDocumentView(table);
    return table;
}

void styleHeader(StyledTableView& table) {
    table.setHeaderStyle(Styles::TableHeader::textColor(), Styles::TableHeader::background(),
                         Styles::TableHeader::font());
}

std::shared_ptr<NSView> styledTable(std::set<long> selected, bool enabled = true) {
    auto scroll = make<NSScrollView>(CGRect{10, 10, 260, 180});
    auto table = delayTable(scroll);
    table->setHeaderView(make<StyledTableHeaderView>());
    styleHeader(*table);
    table->reloadData();
    table->allowsMultipleSelection = true;
    table->selectRowIndexes(selected, false);
    table->setEnabled(enabled);
    logsActions(*table);
    return scroll;
}

std::shared_ptr<NSView> actionableHeader() {
    auto scroll = make<NSScrollView>(CGRect{10, 10, 260, 180});
    auto table = delayTable(scroll);
    auto header = make<ActionableTableHeaderView>();
    table->setHeaderView(header);
    styleHeader(*table);
    for (const auto& button : {header->addItemButton, header->optionButton})
        logsActions(*button);
    header->addItemButton->identifier = "add item";
    header->optionButton->identifier = "options";
    table->reloadData();
    return scroll;
}

// Return or Enter released in the table sends its keyboard action to the gallery's log.
std::shared_ptr<NSView> keyboardActionTable() {
    auto scroll = make<NSScrollView>(CGRect{10, 10, 260, 180});
    auto table = delayTable<KeyboardActionTableView>(scroll);
    table->identifier = "keyboard-action table";
    table->backgroundColor = Styles::TableView::background();
    table->setTarget(GalleryActionLog::shared());
    table->keyboardAction = &GalleryActionLog::secondary;
    table->reloadData();
    return scroll;
}

// Kinds of delay line, each with its models; "Digital" has none.
struct Kinds : NSObject, NSOutlineViewDataSource, NSOutlineViewDelegate {
    using Item = NSOutlineView::Item;
    struct Node : NSObject {
        std::string name;
        std::vector<std::shared_ptr<Node>> children;
    };
    std::vector<std::shared_ptr<Node>> top;
    Kinds() {
        auto add = [](const std::string& title, std::vector<std::string> names = {}) {
            auto node = make<Node>();
            node->name = title;
            for (const auto& name : names) {
                node->children.push_back(make<Node>());
                node->children.back()->name = name;
            }
            return node;
        };
        top = {add("Tape", {"Tape 1", "Tape 2", "Tape 3"}),
               add("Bucket brigade", {"BBD 1", "BBD 2"}), add("Digital")};
    }
    static Node& node(const Item& item) { return static_cast<Node&>(*item); }
    long numberOfChildrenOfItem(NSOutlineView&, const Item& item) override {
        return item ? long(node(item).children.size()) : long(top.size());
    }
    Item child(NSOutlineView&, long i, const Item& of) override {
        return of ? node(of).children[std::size_t(i)] : top[std::size_t(i)];
    }
    bool isItemExpandable(NSOutlineView&, const Item& item) override {
        return !node(item).children.empty();
    }
    std::shared_ptr<NSView> viewForTableColumn(NSOutlineView&, NSTableColumn*,
                                               const Item& item) override {
        return cellView(node(item).name, false);
    }
    std::shared_ptr<NSTableRowView> rowViewForItem(NSOutlineView&, const Item&) override {
        return make<StyledTableRowView>();
    }
};

std::shared_ptr<NSView> outline(bool expandFirst, long selected) {
    auto scroll = make<NSScrollView>(CGRect{10, 10, 260, 180});
    auto view = make<StyledOutlineView>(CGRect{0, 0, 260, 180});
    view->rowHeight = 20;
    view->addTableColumn(make<StyledTableColumn>("name"));
    view->setHeaderView(nullptr);
    auto kinds = make<Kinds>();
    view->dataSource = kinds;
    view->delegate = kinds;
    view->setAssociatedObject(contentKey(), kinds);
    view->identifier = "kinds";
    scroll->setDocumentView(view);
    view->reloadData();
    if (expandFirst)
        view->expandItemWithoutAnimation(kinds->top[0]);
    if (selected >= 0)
        view->selectRowIndexes({selected}, false);
    logsActions(*view);
    return scroll;
}

GallerySheet tables() {
    const CGSize size{280, 200};
    return {"tables",
            3,
            {
                controlCell("rows, group rows, merged selection", size,
                            [] {
                                return styledTable({1, 2, 3, 6});
                            }),
                controlCell("one row selected", size, [] { return styledTable({5}); }),
                controlCell("disabled", size, [] { return styledTable({2}, false); }),
                controlCell("actionable header", size, actionableHeader),
                controlCell("keyboard-action table", size, keyboardActionTable),
                controlCell("outline, collapsed", size, [] { return outline(false, -1); }),
                controlCell("outline, expanded", size, [] { return outline(true, 2); }),
            }};
}

const GalleryRegistration tablesSheet([] { return std::vector<GallerySheet>{tables()}; });

} // namespace
