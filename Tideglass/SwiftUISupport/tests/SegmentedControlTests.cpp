#include "SwiftUISupport/TideSegmentedControl.h"

#include <gtest/gtest.h>

#include "AppKit/NSFont.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

using namespace SwiftUI;

namespace {

std::shared_ptr<TideSegmentedControlModel> makeModel() {
    return std::make_shared<TideSegmentedControlModel>(
        std::vector<TideSegmentItemRef>{std::make_shared<TideSegmentItem>(1, "Colour"),
                                        std::make_shared<TideSegmentItem>(2, "Shape"),
                                        std::make_shared<TideSegmentItem>(3, "Light")});
}

int selectedId(const TideSegmentedControlModel& m) {
    return m.selectedItem() ? m.selectedItem()->id : 0;
}

TEST(TideSegmentedControlModel, TapsSelectDeselectAndRevealAHiddenSelection) {
    // 0 stands for none.
    struct Case {
        const char* what;
        int selectedBefore;
        bool hideBefore;
        int tapped;
        int selectedAfter;
        bool hideAfter;
    } cases[] = {
        {"a tap selects", 0, false, 2, 2, false},
        {"a tap on another moves the selection", 1, false, 2, 2, false},
        {"a tap on the selected one clears it", 2, false, 2, 0, false},
        {"a tap on the hidden selected one only reveals it", 2, true, 2, 2, false},
        {"a tap on another selects it and shows it", 2, true, 3, 3, false},
        {"a first tap with the selection hidden shows it", 0, true, 1, 1, false},
    };
    for (const auto& c : cases) {
        auto model = makeModel();
        model->select(c.selectedBefore);
        model->setHideSelection(c.hideBefore);
        std::vector<int> reported;
        model->setOnSelectionChanged(
            [&](const TideSegmentItemRef& item) { reported.push_back(item ? item->id : 0); });
        model->segmentTapped(model->items()[size_t(c.tapped - 1)]);
        EXPECT_EQ(selectedId(*model), c.selectedAfter) << c.what;
        EXPECT_EQ(model->hideSelection(), c.hideAfter) << c.what;
        EXPECT_EQ(reported, std::vector<int>{c.selectedAfter}) << c.what;
    }
}

TEST(TideSegmentedControlModel, SettersNotifyOnlyOnRealChanges) {
    auto model = makeModel();
    int notified = 0;
    auto watch = [&] {
        return withObservationTracking(
            [&] {
                model->items();
                model->hideSelection();
                model->selectedItem();
                model->onSelectionChanged();
            },
            [&] { ++notified; });
    };
    struct Step {
        const char* what;
        std::function<void()> change;
        bool notifies;
    } steps[] = {
        {"select an id no item has",
         [&] {
             model->setOnSelectionChanged(nullptr);
             notified = 0;
             model->select(9);
         },
         false},
        {"new items with the same ids in the same order",
         [&] {
             model->setItems({std::make_shared<TideSegmentItem>(1, "A"),
                              std::make_shared<TideSegmentItem>(2, "B"),
                              std::make_shared<TideSegmentItem>(3, "C")});
         },
         false},
        {"items in another order",
         [&] {
             model->setItems({model->items()[1], model->items()[0]});
         },
         true},
        {"fewer items", [&] { model->setItems({model->items()[0]}); }, true},
        {"select by id", [&] { model->select(2); }, true},
        {"another object with the selected id",
         [&] { model->setSelectedItem(std::make_shared<TideSegmentItem>(2, "other")); }, false},
        {"clear the selection", [&] { model->setSelectedItem(nullptr); }, true},
        {"clear it again", [&] { model->setSelectedItem(nullptr); }, false},
        {"the same flag", [&] { model->setHideSelection(false); }, false},
        {"another flag", [&] { model->setHideSelection(true); }, true},
        {"a selection handler, always", [&] { model->setOnSelectionChanged(nullptr); }, true},
    };
    for (const auto& step : steps) {
        notified = 0;
        ObservationTracking tracking = watch();
        step.change();
        tracking.cancel(); // a registration that did not fire ends with its step
        EXPECT_EQ(notified, step.notifies ? 1 : 0) << step.what;
    }
    // select(itemWithId:) calls no handler.
    int calls = 0;
    model->setOnSelectionChanged([&](const TideSegmentItemRef&) { ++calls; });
    model->select(2);
    EXPECT_EQ(calls, 0);
    // Of two items with one id, select(itemWithId:) takes the first.
    model->setItems({std::make_shared<TideSegmentItem>(5, "first"),
                     std::make_shared<TideSegmentItem>(5, "second")});
    model->select(5);
    ASSERT_TRUE(model->selectedItem());
    EXPECT_EQ(model->selectedItem()->title, "first");
}

TEST(TideSegmentedControl, ClicksOnTheSegmentsDriveTheModelAndTheArtworkFollows) {
    RunLoopTestScope scope;
    auto model = makeModel();
    std::vector<int> reported;
    model->setOnSelectionChanged(
        [&](const TideSegmentItemRef& item) { reported.push_back(item ? item->id : 0); });
    ControlHarness h(TideSegmentedControl{{}, model}, {400, 40});

    // Each segment's art and text: the state's image behind the title.
    auto faces = [&] { return h.images(); };
    std::vector<std::string> plain(3, "tgui-window-tab");
    EXPECT_EQ(faces(), plain);

    auto items = h.drawn();
    auto shape = firstText(items, "Shape");
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->fontSize, 12);
    EXPECT_EQ(shape->fontName, NSFont::systemFont(12, CGFont::medium)->fontName());
    EXPECT_EQ(shape->color, TGColors::grey70().resolve());
    // Padded 16 × 6 around the title, the art behind it.
    auto images = itemsOfKind(items, CGDisplayItem::Kind::image);
    EXPECT_NEAR(images[1].rect.size.width, shape->rect.size.width + 32, 0.5);
    EXPECT_NEAR(images[1].rect.midX(), shape->rect.midX(), 0.5);
    EXPECT_NEAR(images[1].rect.size.height, shape->rect.size.height + 12, 0.5);
    EXPECT_NEAR(images[1].rect.midY(), shape->rect.midY(), 0.5);
    EXPECT_LT(images[0].rect.maxX(), images[1].rect.minX()); // a row, left to right

    CGPoint onShape{shape->rect.midX(), shape->rect.midY()};
    h.press(onShape);
    EXPECT_EQ(faces()[1], "tgui-window-tab-down"); // pressed first
    EXPECT_EQ(h.text("Shape")->color, TGColors::grey50().resolve());
    h.release(onShape);
    EXPECT_EQ(selectedId(*model), 2);
    EXPECT_EQ(faces(), (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab-selected",
                                                 "tgui-window-tab"}));
    EXPECT_EQ(h.text("Shape")->color, TGColors::grey85().resolve());

    model->setHideSelection(true); // the selection is kept, no segment looks selected
    h.turn();
    EXPECT_EQ(faces(), plain);

    h.click(onShape); // reveals it
    EXPECT_EQ(faces()[1], "tgui-window-tab-selected");
    h.click(onShape); // clears it
    EXPECT_EQ(faces(), plain);
    EXPECT_EQ(reported, (std::vector<int>{2, 2, 0}));
}

} // namespace
