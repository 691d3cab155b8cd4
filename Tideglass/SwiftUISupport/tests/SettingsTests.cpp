#include "SwiftUISupport/TideSettings.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

using namespace SwiftUI;

namespace {

// A 400-point form centred in a 500-point view, labels 100 points wide.
std::vector<CGDisplayItem> drawPane(CGFloat labelWidth) {
    ControlHarness h(
        TideSettings(
            labelWidth, 400,
            [] {
                return AnyView(
                    Group(TideSettingsSection(
                              "Audio", Group(Text("a1"), Text("a2 wider"),
                                             ForEach::range(0, 1, [](int) { return Text("a3"); }))),
                          TideSettingsDivider(), TideSettingsSection("Video", Text("v1"))));
            }),
        {500, 300});
    return h.drawn();
}

TEST(TideSettings, SectionsShareTheContentColumnThatTheLabelWidthSets) {
    RunLoopTestScope scope;
    for (CGFloat labelWidth : {100.0, 140.0}) {
        auto items = drawPane(labelWidth);
        CGFloat formLeft = (500 - 400) / 2.0;
        CGFloat column = formLeft + labelWidth + 8; // the row's spacing after the label
        for (const char* content : {"a1", "a2 wider", "a3", "v1"}) {
            auto run = firstText(items, content);
            ASSERT_TRUE(run) << content;
            EXPECT_NEAR(run->rect.minX(), column, 0.01) << content << " at " << labelWidth;
        }
        // Each label centred in its column.
        for (const char* label : {"Audio", "Video"})
            EXPECT_NEAR(firstText(items, label)->rect.midX(), formLeft + labelWidth / 2, 0.01)
                << label;
    }
}

TEST(TideSettings, EachChildOfASectionIsARowOfItsOwnFourPointsApart) {
    RunLoopTestScope scope;
    auto items = drawPane(100);
    auto a1 = *firstText(items, "a1");
    auto a2 = *firstText(items, "a2 wider");
    auto a3 = *firstText(items, "a3");
    EXPECT_NEAR(a2.rect.minY() - a1.rect.maxY(), 4, 0.01);
    EXPECT_NEAR(a3.rect.minY() - a2.rect.maxY(), 4, 0.01);
    // The section's label is centred on its rows.
    auto audio = *firstText(items, "Audio");
    EXPECT_NEAR(audio.rect.midY(), (a1.rect.minY() + a3.rect.maxY()) / 2, 0.01);
}

TEST(TideSettings, ADividerSpansTheFormInsideItsPaddingBetweenTheGroups) {
    RunLoopTestScope scope;
    auto items = drawPane(100);
    auto a3 = *firstText(items, "a3");
    auto v1 = *firstText(items, "v1");
    std::optional<CGDisplayItem> line;
    for (const auto& item : items)
        if (item.kind == CGDisplayItem::Kind::fill || item.kind == CGDisplayItem::Kind::stroke)
            line = item;
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->rect.minX(), 50 + 16, 0.01);
    EXPECT_NEAR(line->rect.maxX(), 450 - 16, 0.01);
    // Its own 8 points above and below, beside the form's 8 between its rows.
    EXPECT_NEAR(line->rect.minY() - a3.rect.maxY(), 8 + 8, 0.01);
    EXPECT_NEAR(v1.rect.minY() - line->rect.maxY(), 8 + 8, 0.01);
}

} // namespace
