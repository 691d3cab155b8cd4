#include "SwiftUISupport/Backport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

using namespace SwiftUI;

namespace {

// Runs the system-dependent checks as if on the named system version.
struct SystemVersion {
    explicit SystemVersion(const char* version) { setenv("EMBERFALL_SYSTEM_VERSION", version, 1); }
    ~SystemVersion() { unsetenv("EMBERFALL_SYSTEM_VERSION"); }
};

AnyView swatch() {
    return Color::gray()
        .frame({.maxWidth = infinity})
        .frame(std::nullopt, 20)
        .accessibilityIdentifier("swatch");
}

TEST(Backport, TheVersionDependentModifiersTakeTheBranchOfTheRunningSystem) {
    RunLoopTestScope scope;
    struct Case {
        const char* version;
        CGFloat width;
        ScrollEdgeEffectStyle edgeEffect;
    } cases[] = {
        {"14.0", 120, ScrollEdgeEffectStyle::automatic},
        {"15.5", 120, ScrollEdgeEffectStyle::automatic},
        {"26.0", 300, ScrollEdgeEffectStyle::soft},
        {"27.1", 300, ScrollEdgeEffectStyle::soft},
    };
    for (const auto& c : cases) {
        SystemVersion system(c.version);
        ViewGraph graph(
            backport(backport(swatch()).setWidthPreTahoe(120)).removeScrollViewEdgeEffect());
        graph.setSize({300, 100});
        graph.update();
        EXPECT_EQ(graph.frame("swatch")->size.width, c.width) << c.version;
        const auto& env = graph.find("swatch")->environment;
        EXPECT_EQ(env.scrollEdgeEffectStyle, c.edgeEffect) << c.version;
        if (c.edgeEffect == ScrollEdgeEffectStyle::soft)
            EXPECT_EQ(env.scrollEdgeEffectEdges, Edge::all);
    }
}

TEST(Backport, BeforeTheModernSystemTheWidthFrameCentresAndLeavesTheHeightFree) {
    RunLoopTestScope scope;
    SystemVersion system("15.0");
    // A view narrower than the frame, stacked above another: a frame that also fixed the
    // height would push the view below down, and one aligned otherwise would move the
    // narrow view off the frame's centre.
    ViewGraph graph(VStack(CGFloat(0),
                           backport(Color::gray().frame(40, 20).accessibilityIdentifier("narrow"))
                               .setWidthPreTahoe(120),
                           Color::gray().frame(40, 10).accessibilityIdentifier("below")));
    graph.setSize({300, 200});
    graph.update();
    CGRect narrow = *graph.frame("narrow"), below = *graph.frame("below");
    EXPECT_EQ(narrow.size.height, 20);
    EXPECT_EQ(below.minY() - narrow.maxY(), 0); // the frame is as tall as its content
    EXPECT_EQ(narrow.midX(), 150);
}

TEST(Backport, EscapeRunsTheActionAndOtherKeysAreLeftToTheTextField) {
    RunLoopTestScope scope;
    State<std::string> text(std::string("ab"));
    int escapes = 0;
    ControlHarness h(
        backport(TextField("Name", text.binding()).frame(200, 22).accessibilityIdentifier("field"))
            .onEscapePressed([&] { ++escapes; }),
        {300, 100});
    ViewGraph& graph = h.host->graph();
    CGRect field = *graph.frame("field");
    h.click({field.midX(), field.midY()});
    ASSERT_TRUE(graph.hasFocus());
    struct Case {
        const char* key;
        KeyPress::Phase phase;
        int escapes;
    } cases[] = {
        {KeyEquivalent::escape, KeyPress::down, 1},
        {KeyEquivalent::escape, KeyPress::repeat, 2},
        {KeyEquivalent::escape, KeyPress::up, 2},
        {"x", KeyPress::down, 2},
    };
    for (const auto& c : cases) {
        bool handled = graph.keyPress({c.key, c.key, 0, c.phase});
        EXPECT_EQ(escapes, c.escapes) << c.key << " " << c.phase;
        if (c.phase != KeyPress::up)
            EXPECT_TRUE(handled); // by the action, or by the field
    }
    EXPECT_EQ(*text, "x"); // the field took the other key (its text was selected)
}

TEST(Backport, RowBackgroundsAndThePopoverBackground) {
    RunLoopTestScope scope;
    for (bool enabled : {true, false}) {
        ViewGraph graph(backport(swatch()).alternatingRowBackgrounds(enabled));
        graph.setSize({100, 100});
        graph.update();
        EXPECT_EQ(graph.find("swatch")->environment.alternatingRowBackgrounds,
                  enabled ? AlternatingRowBackgroundsBehavior::enabled
                          : AlternatingRowBackgroundsBehavior::disabled);
    }
    Color tint(0.2, 0.3, 0.4);
    ControlHarness h(backport(Color::gray().frame(40, 20)).popoverBackground(tint), {200, 100});
    auto items = h.drawnBy(*h.host);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].color, tint.resolve()); // behind
    CGRect content = items[1].rect, background = items[0].rect;
    EXPECT_NEAR(background.size.width, content.size.width * 1.5, 0.01);
    EXPECT_NEAR(background.size.height, content.size.height * 1.5, 0.01);
    EXPECT_NEAR(background.midX(), content.midX(), 0.01);
    EXPECT_NEAR(background.midY(), content.midY(), 0.01);
}

} // namespace
