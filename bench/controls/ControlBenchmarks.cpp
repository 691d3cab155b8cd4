// The control library's tables and text fields at work: a window of a styled table with
// a merged selection drawn whole, a long table reloaded, and a keystroke into a focused
// validating field (editor, delegate, validity, message pop-over, focus publishing).

#include <benchmark/benchmark.h>

#include "AppKit/NSScrollView.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/StyledTextLabel.h"
#include "Controls/ValidatingTextField.h"
#include "AppKit/NSText.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <string>

namespace {

struct Rows : NSObject, NSTableViewDataSource, NSTableViewDelegate {
    long count = 0;
    long numberOfRowsInTableView(NSTableView&) override { return count; }
    std::shared_ptr<NSView> viewForTableColumn(NSTableView& table, NSTableColumn* column,
                                               long row) override {
        auto cell = std::dynamic_pointer_cast<StyledTableCellView>(
            table.makeViewWithIdentifier("cell", nullptr));
        if (!cell) {
            cell = make<StyledTableCellView>();
            cell->identifier = "cell";
            auto label = make<StyledTableRowLabel>(CGRect{8, 3, 80, 14});
            label->setBezeled(false);
            label->setDrawsBackground(false);
            cell->textField = label;
            cell->addSubview(label);
        }
        cell->textField->setStringValue(column->identifier() + " " + std::to_string(row));
        return cell;
    }
    std::shared_ptr<NSTableRowView> rowViewForRow(NSTableView&, long) override {
        return make<StyledTableRowView>();
    }
};

struct TableWindow {
    RunLoopTestScope scope;
    std::shared_ptr<Rows> rows = make<Rows>();
    std::shared_ptr<StyledTableView> table = make<StyledTableView>(CGRect{0, 0, 300, 400});
    std::shared_ptr<NSScrollView> scroll = make<NSScrollView>(CGRect{0, 0, 300, 400});
    ControlHarness h = ControlHarness::holding(scroll, {300, 400});
    explicit TableWindow(long count) {
        rows->count = count;
        table->rowHeight = 20;
        for (const char* id : {"model", "delay", "feedback"})
            table->addTableColumn(make<StyledTableColumn>(id));
        table->dataSource = rows;
        table->delegate = rows;
        table->allowsMultipleSelection = true;
        scroll->setDocumentView(table);
        table->reloadData();
        h.turn();
    }
};

void DrawAStyledTableWindow(benchmark::State& state) {
    TableWindow w(20);
    w.table->selectRowIndexes({3, 4, 5, 9}, false);
    for (auto _ : state) {
        w.h.window->contentView()->setNeedsDisplay(true);
        benchmark::DoNotOptimize(w.h.drawn());
    }
}
BENCHMARK(DrawAStyledTableWindow)->Unit(benchmark::kMicrosecond);

void ReloadATableOf1000Rows(benchmark::State& state) {
    TableWindow w(1000);
    for (auto _ : state)
        w.table->reloadData();
}
BENCHMARK(ReloadATableOf1000Rows)->Unit(benchmark::kMillisecond);

// Valid while the text is short; a message otherwise.
struct Short : NSObject, NSTextFieldDelegate {
    void controlTextDidChange(const Notification& n) override {
        auto f = std::dynamic_pointer_cast<ValidatingTextField>(n.object);
        const bool valid = f->stringValue().size() < 4;
        f->setValid(valid);
        f->setMessage(valid ? std::nullopt : std::optional<std::string>("At most 3 characters"));
    }
};

void AKeystrokeIntoAValidatingField(benchmark::State& state) {
    RunLoopTestScope scope;
    auto field = make<ValidatingTextField>(CGRect{10, 60, 160, 22});
    auto validator = make<Short>();
    field->setDelegate(validator);
    field->setStringValue("123");
    auto h = ControlHarness::holding(field, {200, 100});
    h.focus(field);
    field->currentEditor()->setSelectedRange({3, 0}); // focusing selected it all
    h.type("4");
    if (!field->popoverController()->popover()->isShown() || field->isValid())
        state.SkipWithError("the keystroke did not bring up the message");
    h.key(NSEventSpecialKey::backspace);
    for (auto _ : state) {
        h.type("4");                         // invalid: the message shows
        h.key(NSEventSpecialKey::backspace); // valid again: it closes
    }
}
BENCHMARK(AKeystrokeIntoAValidatingField)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
