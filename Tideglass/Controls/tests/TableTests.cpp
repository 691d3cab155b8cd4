// The styled table, its rows, cells, columns and header cells.

#include "Controls/StyledOutlineView.h"
#include "Controls/StyledTableHeader.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/StyledTextLabel.h"

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSScrollView.h"
#include "AppKit/NSWindow.h"
#include "AppKitSupport/Geometry.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

namespace {

// A rectangle rid of rounding noise.
CGRect tidy(CGRect r) {
    auto f = [](CGFloat v) { return std::round(v * 1000) / 1000; };
    return {f(r.minX()), f(r.minY()), f(r.width()), f(r.height())};
}

// Rows of names in three columns; styled row and cell views with row labels.
struct Rows : NSObject, NSTableViewDataSource, NSTableViewDelegate {
    std::vector<std::string> names;
    long numberOfRowsInTableView(NSTableView&) override { return long(names.size()); }
    std::shared_ptr<NSView> viewForTableColumn(NSTableView& table, NSTableColumn* column,
                                               long row) override {
        auto cell = std::dynamic_pointer_cast<StyledTableCellView>(
            table.makeViewWithIdentifier("cell", nullptr));
        if (!cell) {
            cell = make<StyledTableCellView>();
            cell->identifier = "cell";
            cell->textField = make<StyledTableRowLabel>(CGRect{4, 4, 60, 16});
            cell->textField->setBezeled(false);
            cell->textField->setEditable(false);
            cell->textField->setSelectable(false);
            cell->addSubview(cell->textField);
        }
        cell->textField->setStringValue(names[std::size_t(row)] + " " + column->identifier());
        return cell;
    }
    std::shared_ptr<NSTableRowView> rowViewForRow(NSTableView&, long) override {
        return make<StyledTableRowView>();
    }
};

struct TableScene {
    RunLoopTestScope scope;
    std::shared_ptr<Rows> rows = make<Rows>();
    std::shared_ptr<StyledTableView> table = make<StyledTableView>(CGRect{0, 0, 300, 200});
    std::shared_ptr<NSScrollView> scroll = make<NSScrollView>(CGRect{10, 10, 300, 200});
    ControlHarness h = ControlHarness::holding(scroll, {320, 220});
    explicit TableScene(int count = 8) {
        for (int i = 0; i < count; ++i)
            rows->names.push_back("row" + std::to_string(i));
        table->rowHeight = 20;
        for (const char* id : {"a", "b", "c"})
            table->addTableColumn(make<StyledTableColumn>(id));
        table->dataSource = rows;
        table->delegate = rows;
        scroll->setDocumentView(table);
        table->reloadData();
        h.turn();
    }
    std::shared_ptr<StyledTableRowView> rowView(long row) {
        return std::dynamic_pointer_cast<StyledTableRowView>(table->rowViewAtRow(row));
    }
};

TEST(StyledTableRowView, SelectionShapesMergeWithSelectedNeighbours) {
    struct Corners {
        const char* what;
        bool above, below;
        CornerRadii radii;
    };
    const Corners corners[] = {
        {"alone", false, false, {3, 3, 3, 3}},
        {"first of a block", false, true, {3, 3, 0, 0}},
        {"last of a block", true, false, {0, 0, 3, 3}},
        {"inside a block", true, true, {0, 0, 0, 0}},
    };
    for (const auto& c : corners) {
        SCOPED_TRACE(c.what);
        const CornerRadii r =
            selectionCornerRadii(c.above, c.below, StyledTableRowView::selectionCornerRadius);
        EXPECT_EQ((std::vector<CGFloat>{r.topLeft, r.topRight, r.bottomRight, r.bottomLeft}),
                  (std::vector<CGFloat>{c.radii.topLeft, c.radii.topRight, c.radii.bottomRight,
                                        c.radii.bottomLeft}));
    }

    TableScene s;
    s.table->selectRowIndexes({3, 4, 5, 7}, false);
    // Each row's corners follow its own neighbours in the table's selection.
    struct Row {
        long row;
        CornerRadii radii;
    };
    const Row rows[] = {{3, {3, 3, 0, 0}}, {4, {0, 0, 0, 0}}, {5, {0, 0, 3, 3}}, {7, {3, 3, 3, 3}}};
    for (const auto& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.row));
        const CornerRadii got = s.rowView(r.row)->selectionCorners();
        EXPECT_EQ(
            (std::vector<CGFloat>{got.topLeft, got.topRight, got.bottomRight, got.bottomLeft}),
            (std::vector<CGFloat>{r.radii.topLeft, r.radii.topRight, r.radii.bottomRight,
                                  r.radii.bottomLeft}));
    }
    const auto selectedColour = s.table->style()->selectedRowBackgroundColor()->cgColor();
    std::vector<CGRect> filled;
    for (const auto& item : s.h.items(ControlHarness::Kind::fill))
        if (item.color == selectedColour)
            filled.push_back(item.rect);
    // Each selected row: its rect, 8 points narrower on each side.
    ASSERT_EQ(filled.size(), 4u);
    const CGRect tableRect = s.h.rectOf(*s.table);
    for (std::size_t i = 0; i < 4; ++i) {
        const long row = std::vector<long>{3, 4, 5, 7}[i];
        EXPECT_EQ(tidy(filled[i]),
                  (CGRect{tableRect.minX() + 8, tableRect.minY() + 20 * row, 300 - 16, 20}));
    }

    // A partial redraw draws the part of the same shape, not a shape of the part.
    auto context = CGContext::makeBitmap(
        {300, 20}, {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    {
        NSGraphicsContext::Scope current(context);
        s.rowView(3)->drawSelection({100, 0, 50, 20});
    }
    auto fills = context->displayItems(CGDisplayItem::Kind::fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(tidy(fills[0].rect), (CGRect{8, 0, 284, 20}));
    ASSERT_TRUE(fills[0].clip);
    EXPECT_EQ(tidy(*fills[0].clip), (CGRect{100, 0, 50, 20}));
}

TEST(StyledTableRowView, WithoutAHighlightStyleOrATableTheRowDrawsThePlatformSelection) {
    const auto platformColour = NSColor::selectedContentBackgroundColor()->cgColor();
    struct Case {
        const char* what;
        std::function<std::shared_ptr<StyledTableRowView>(TableScene&)> row;
    };
    const Case cases[] = {
        {"no highlight style",
         [](TableScene& s) {
             s.table->setSelectionHighlightStyle(NSTableViewSelectionHighlightStyle::none);
             auto row = s.rowView(2);
             row->selectionHighlightStyle = NSTableViewSelectionHighlightStyle::regular;
             s.table->selectRowIndexes({2}, false);
             row->selectionHighlightStyle = NSTableViewSelectionHighlightStyle::none;
             return row;
         }},
        {"outside a table",
         [](TableScene&) {
             auto row = make<StyledTableRowView>(CGRect{0, 0, 300, 20});
             row->setSelected(true);
             return row;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableScene s;
        auto row = c.row(s);
        auto context = CGContext::makeBitmap({300, 20}, {.recordsDisplayList = true});
        {
            NSGraphicsContext::Scope current(context);
            row->drawSelection(row->bounds());
        }
        auto fills = context->displayItems(CGDisplayItem::Kind::fill);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].color, platformColour);
        EXPECT_EQ(fills[0].rect, (CGRect{0, 0, 300, 20})); // not inset
    }
}

// A selectable view that counts how it was told.
struct Mark : NSView, Selectable {
    using NSView::NSView;
    bool on = false;
    bool isSelected() const override { return on; }
    void setSelected(bool s) override { on = s; }
};

TEST(StyledTableRowView, TheSelectionIsPushedDownTwoLevelsAndIntoLaterCells) {
    RunLoopTestScope scope;
    auto row = make<StyledTableRowView>(CGRect{0, 0, 200, 20});
    auto first = make<Mark>(), second = make<Mark>(), third = make<Mark>();
    auto plain = make<NSView>();
    auto behindPlain = make<Mark>();
    row->addSubview(first);
    first->addSubview(second);
    second->addSubview(third);
    row->addSubview(plain);
    plain->addSubview(behindPlain);
    row->setSelected(true);
    EXPECT_TRUE(first->on);
    EXPECT_TRUE(second->on);
    EXPECT_FALSE(third->on);       // a third level is not reached
    EXPECT_FALSE(behindPlain->on); // nor anything behind a view that is not selectable
    // A cell view added to a selected row comes up selected and recoloured.
    auto cell = make<StyledTableCellView>();
    cell->textField = make<StyledTableRowLabel>();
    cell->addSubview(cell->textField);
    row->addSubview(cell);
    EXPECT_TRUE(cell->isSelected());
    EXPECT_EQ(cell->textField->textColor(), StyledTableCellView::classStyle()->selectedTextColor());
    row->setSelected(false);
    EXPECT_EQ(cell->textField->textColor(), StyledTableCellView::classStyle()->textColor());
    EXPECT_EQ(StyledTableRowView::userInterfaceIdentifier(), "StyledTableRowView");
    EXPECT_NE(StyledTableRowView::rowStyle(), StyledTableRowView::rowStyle()); // new each read
}

TEST(StyledTableCellView, AnObjectValueClearsTheTextAndTheSizeFollowsTheField) {
    RunLoopTestScope scope;
    auto cell = make<StyledTableCellView>(CGRect{0, 0, 200, 20});
    auto label = make<StyledTableRowLabel>(CGRect{6, 2, 80, 16});
    cell->textField = label;
    cell->addSubview(label);
    label->setStringValue("old text");
    cell->setSelected(true);
    cell->setObjectValue(std::string("new"));
    EXPECT_EQ(label->stringValue(), "");
    EXPECT_EQ(label->textColor(), StyledTableCellView::classStyle()->selectedTextColor());
    EXPECT_EQ(std::any_cast<std::string>(cell->objectValue()), "new");
    label->setStringValue("wide enough");
    EXPECT_EQ(cell->intrinsicContentSize(),
              (CGSize{6 + label->intrinsicContentSize().width, NSView::noIntrinsicMetric}));
    EXPECT_EQ(make<StyledTableCellView>()->intrinsicContentSize(),
              (CGSize{NSView::noIntrinsicMetric, NSView::noIntrinsicMetric}));
    EXPECT_EQ(cell->disclosureButton(), nullptr); // no superview
}

TEST(StyledTableView, HeaderRestylingSkipsHiddenColumnsAndTheColumnsImageWins) {
    TableScene s;
    auto columns = s.table->tableColumns();
    auto art = TideglassResources::nsImage("properties-table-add");
    columns[0]->setTitle("Name");
    columns[0]->headerCell()->setImage(art); // a StyledTableColumn without image clears it
    columns[1]->setTitle("Hidden");
    columns[1]->setHidden(true);
    auto keptCell = columns[1]->headerCell();
    auto third = std::static_pointer_cast<StyledTableColumn>(columns[2]);
    third->setTitle("Value");
    third->image = art;
    const auto text = NSColor::whiteColor(), tint = NSColor::black();
    const auto font = NSFont::systemFont(11);
    s.table->setHeaderStyle(text, tint, font);

    struct Case {
        const char* what;
        long column;
        std::string title;
        std::shared_ptr<NSImage> image;
    };
    const Case cases[] = {{"first column", 0, "Name", nullptr}, {"third column", 2, "Value", art}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto cell = std::dynamic_pointer_cast<StyledTableHeaderCell>(
            columns[std::size_t(c.column)]->headerCell());
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->stringValue(), c.title);
        EXPECT_EQ(cell->image(), c.image);
        EXPECT_EQ(cell->tintColor, tint);
        EXPECT_EQ(cell->attributedStringValue().attributes().color, text);
        EXPECT_EQ(cell->attributedStringValue().attributes().font, font);
        EXPECT_TRUE(cell->drawsBackground);
        EXPECT_EQ(cell->backgroundStyle(), NSBackgroundStyle::raised);
    }
    EXPECT_EQ(columns[1]->headerCell(), keptCell);
    // Reading a column's header cell puts the column's image into it, none included.
    columns[0]->headerCell()->setImage(art);
    EXPECT_EQ(columns[0]->headerCell()->image(), nullptr);
    auto other = TideglassResources::nsImage("properties-tableheader-overflow");
    third->image = other;
    EXPECT_EQ(third->headerCell()->image(), other);
    EXPECT_EQ(s.table->allColumnIndexes(), (std::set<long>{0, 1, 2}));
    EXPECT_TRUE(make<StyledTableView>()->allColumnIndexes().empty());
}

TEST(StyledTableHeaderCell, FillsWithItsTintAndPlacesTitleAndImage) {
    TableScene s;
    s.table->tableColumns()[0]->setTitle("Name");
    s.table->tableColumns()[1]->setTitle("Time");
    auto art = TideglassResources::nsImage("properties-tableheader-overflow");
    std::static_pointer_cast<StyledTableColumn>(s.table->tableColumns()[1])->image = art;
    s.table->setHeaderStyle(NSColor::whiteColor(), NSColor::black(), NSFont::systemFont(11));
    const CGRect header = s.h.rectOf(*s.table->headerView());
    // Centred on the line of the cell's own font.
    const auto cellFont = s.table->tableColumns()[0]->headerCell()->font;
    const CGFloat line = cellFont->ascender() - cellFont->descender();
    const CGFloat dy = std::floor((23 - line) * 0.5);
    struct Case {
        const char* what;
        const char* title;
        CGFloat x;
    };
    const Case cases[] = {{"first column: 4 points in", "Name", header.minX() + 4},
                          {"next column: 1 point in", "Time", header.minX() + 100 + 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto title = s.h.text(c.title);
        ASSERT_TRUE(title);
        EXPECT_EQ(title->rect.minX(), c.x);
        EXPECT_EQ(title->rect.minY(), header.minY() + dy);
    }
    auto image = s.h.image("properties-tableheader-overflow");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->rect.midX(), header.minX() + 150);
    // The tint over each visible header cell.
    auto fills = s.h.items(ControlHarness::Kind::fill);
    EXPECT_NE(std::find_if(fills.begin(), fills.end(),
                           [&](const CGDisplayItem& f) {
                               return f.rect == CGRect{header.minX(), header.minY(), 100, 23} &&
                                      f.color == NSColor::black()->cgColor();
                           }),
              fills.end());
    // A copy keeps the tint.
    auto cell =
        std::static_pointer_cast<StyledTableHeaderCell>(s.table->tableColumns()[0]->headerCell());
    auto copy = std::dynamic_pointer_cast<StyledTableHeaderCell>(cell->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->tintColor, cell->tintColor);
    EXPECT_EQ(copy->stringValue(), "Name");
}

TEST(StyledTableView, KeysGoToTheSuperviewUnlessNavigationIsAllowed) {
    // A container that notes the keys it is passed.
    struct Container : NSView {
        using NSView::NSView;
        std::vector<std::string> keys;
        void keyDown(const NSEvent& e) override { keys.push_back(e.characters()); }
    };
    RunLoopTestScope scope;
    auto rows = make<Rows>();
    rows->names = {"a", "b", "c"};
    auto table = make<StyledTableView>(CGRect{0, 0, 200, 100});
    table->addTableColumn(make<StyledTableColumn>("x"));
    table->dataSource = rows;
    table->delegate = rows;
    auto container = make<Container>(CGRect{0, 0, 200, 100});
    container->addSubview(table);
    ControlHarness h(container, {200, 100});
    table->reloadData();
    table->selectRowIndexes({0}, false);
    h.focus(table);
    h.key(NSEventSpecialKey::downArrow);
    EXPECT_EQ(table->selectedRow(), 0);
    EXPECT_EQ(container->keys.size(), 1u);
    table->allowKeyboardNavigation = true;
    h.key(NSEventSpecialKey::downArrow);
    EXPECT_EQ(table->selectedRow(), 1);
    EXPECT_EQ(container->keys.size(), 1u);
    // Without a superview the key is dropped.
    table->allowKeyboardNavigation = false;
    table->removeFromSuperview();
    table->keyDown(NSEvent::key(NSEvent::Type::keyDown, "x", 0));
    EXPECT_EQ(container->keys.size(), 1u);
}

TEST(StyledTableView, AClickInAnInactiveWindowMakesItKeyAndSelects) {
    TableScene s;
    s.h.window->resignKeyWindow();
    EXPECT_FALSE(s.h.window->isKeyWindow());
    s.h.click(s.h.centre(*s.rowView(2)));
    EXPECT_TRUE(s.h.window->isKeyWindow());
    EXPECT_EQ(s.table->selectedRow(), 2);
    EXPECT_EQ(s.table->clickedRow(), 2);
    // The cells show the selection in their text colour.
    auto label = s.h.text("row2 a");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->color, StyledTableCellView::classStyle()->selectedTextColor()->cgColor());
    // The scroll view and the table take the style's background.
    EXPECT_EQ(s.table->backgroundColor->cgColor(), s.table->style()->backgroundColor()->cgColor());
}

TEST(StyledTableView, ADisabledTableDrawsItsRowsAtHalfStrength) {
    TableScene s;
    s.table->selectRowIndexes({2}, false);
    const auto selected = TideglassResources::nsColor("Highlight/System")->cgColor();
    struct Case {
        const char* what;
        bool enabled;
        CGFloat alpha;
    };
    const Case cases[] = {{"enabled", true, 1}, {"disabled", false, 0.5}, {"again", true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s.table->setEnabled(c.enabled);
        auto label = s.h.text("row2 a");
        ASSERT_TRUE(label);
        EXPECT_EQ(label->alpha, c.alpha);
        const auto fills = s.h.items(ControlHarness::Kind::fill);
        auto selection = std::find_if(fills.begin(), fills.end(),
                                      [&](const auto& f) { return f.color == selected; });
        ASSERT_NE(selection, fills.end());
        EXPECT_EQ(selection->alpha, c.alpha);
    }
}

TEST(StyledTableView, TablesOutlinesAndTheirScrollViewsStandOnTheDarkerBackground) {
    // Read from what is drawn, against the asset colour itself: a style that kept the
    // page's background would pass a comparison with its own value.
    const auto darker = TideglassResources::nsColor("Background/Darker")->cgColor();
    ASSERT_NE(darker, TideglassResources::nsColor("Background/Normal")->cgColor());
    struct Case {
        const char* what;
        std::function<std::shared_ptr<NSView>()> make;
        bool scrollDraws; // a table turns its scroll view's background on, an outline not
    };
    const Case cases[] = {
        {"table",
         [] {
             return make<StyledTableView>(CGRect{0, 0, 200, 120});
         },
         true},
        {"outline",
         [] {
             return make<StyledOutlineView>(CGRect{0, 0, 200, 120});
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunLoopTestScope scope;
        auto scroll = make<NSScrollView>(CGRect{10, 10, 200, 160});
        scroll->backgroundColor = NSColor::black();
        scroll->drawsBackground = false;
        auto table = std::dynamic_pointer_cast<NSTableView>(c.make());
        table->addTableColumn(make<StyledTableColumn>("a"));
        scroll->setDocumentView(table);
        auto h = ControlHarness::holding(scroll, {220, 180});
        const CGRect scrolled = h.rectOf(*scroll), tableRect = h.rectOf(*table);
        bool scrollFilled = false, tableFilled = false;
        for (const auto& fill : h.items(ControlHarness::Kind::fill)) {
            scrollFilled |= fill.rect == scrolled && fill.color == darker;
            tableFilled |= fill.rect == tableRect && fill.color == darker;
            EXPECT_NE(fill.color, NSColor::black()->cgColor()) << fill;
        }
        EXPECT_EQ(scroll->drawsBackground, c.scrollDraws);
        EXPECT_EQ(scroll->backgroundColor->cgColor(), darker);
        EXPECT_EQ(scrollFilled, c.scrollDraws) << "the scroll view's background";
        EXPECT_TRUE(tableFilled) << "the table's background";
    }
}

} // namespace
