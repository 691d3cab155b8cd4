// Layout: stacks, spacers, frames, padding, alignment and the modifiers that move views.

#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"

using namespace SwiftUI;

namespace {

// A fixed-size box that tests can find.
AnyView box(const char* id, CGFloat w, CGFloat h) {
    return Color::gray().frame(w, h).accessibilityIdentifier(id);
}

struct LayoutCase {
    const char* name;
    std::function<AnyView()> make;
    CGSize window;
    std::vector<std::pair<const char*, CGRect>> frames;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {
  protected:
    RunLoopTestScope scope;
};

TEST_P(LayoutTest, PlacesEveryViewWhereExpected) {
    const LayoutCase& c = GetParam();
    ViewGraph graph(c.make());
    graph.setSize(c.window);
    for (const auto& [id, expected] : c.frames) {
        auto frame = graph.frame(id);
        ASSERT_TRUE(frame) << id;
        EXPECT_EQ(*frame, expected)
            << c.name << ": " << id << " at " << frame->origin.x << "," << frame->origin.y << " "
            << frame->size.width << "x" << frame->size.height;
    }
}

const LayoutCase layoutCases[] = {
    {"hstack centres its row and spaces the children",
     [] { return AnyView(HStack(10, box("a", 20, 10), box("b", 30, 20))); },
     {100, 100},
     {{"a", {20, 45, 20, 10}}, {"b", {50, 40, 30, 20}}}},
    {"hstack aligns to the top",
     [] {
         return AnyView(HStack(VerticalAlignment::top(), 0, box("a", 20, 10), box("b", 30, 20)));
     },
     {50, 20},
     {{"a", {0, 0, 20, 10}}, {"b", {20, 0, 30, 20}}}},
    {"vstack aligns to the leading edge with default spacing",
     [] {
         return AnyView(VStack(HorizontalAlignment::leading(), box("a", 20, 10), box("b", 40, 10)));
     },
     {40, 28},
     {{"a", {0, 0, 20, 10}}, {"b", {0, 18, 40, 10}}}},
    {"spacers share what the fixed children leave",
     [] { return AnyView(HStack(0, Spacer(), box("a", 20, 10), Spacer(), box("b", 20, 10))); },
     {100, 10},
     {{"a", {30, 0, 20, 10}}, {"b", {80, 0, 20, 10}}}},
    {"a flexible child beside spacers gets all but their minimum lengths",
     [] {
         return AnyView(HStack(
             0, Spacer(),
             Color::gray().frame({.maxWidth = 80, .maxHeight = 10}).accessibilityIdentifier("c"),
             Spacer()));
     },
     {100, 10},
     {{"c", {10, 0, 80, 10}}}},
    {"a framed spacer is a fixed gap",
     [] {
         return AnyView(
             HStack(0, box("a", 10, 10), Spacer().frame(32, std::nullopt), box("b", 10, 10)));
     },
     {52, 10},
     {{"a", {0, 0, 10, 10}}, {"b", {42, 0, 10, 10}}}},
    {"padding on chosen edges grows the view",
     [] {
         return AnyView(box("a", 20, 10)
                            .padding(Edge::leading, 8)
                            .padding(Edge::top, 2)
                            .accessibilityIdentifier("padded"));
     },
     {28, 12},
     {{"a", {8, 2, 20, 10}}, {"padded", {0, 0, 28, 12}}}},
    {"negative padding narrows the layout",
     [] {
         return AnyView(
             box("a", 20, 10).padding(Edge::horizontal, -2).accessibilityIdentifier("p"));
     },
     {16, 10},
     {{"p", {0, 0, 16, 10}}, {"a", {-2, 0, 20, 10}}}},
    {"a fixed frame aligns its content",
     [] { return AnyView(box("a", 10, 10).frame(40, 20, Alignment::bottomTrailing())); },
     {40, 20},
     {{"a", {30, 10, 10, 10}}}},
    {"a frame with unlimited width takes the offer",
     [] {
         return AnyView(VStack(0,
                               box("a", 10, 10)
                                   .frame({.maxWidth = infinity, .alignment = Alignment::leading()})
                                   .accessibilityIdentifier("wide"),
                               box("b", 10, 10)));
     },
     {80, 20},
     {{"wide", {0, 0, 80, 10}}, {"a", {0, 0, 10, 10}}, {"b", {35, 10, 10, 10}}}},
    {"minimum width holds a small view open",
     [] { return AnyView(box("a", 10, 10).frame({.minWidth = 30}).accessibilityIdentifier("f")); },
     {100, 10},
     {{"f", {35, 0, 30, 10}}, {"a", {45, 0, 10, 10}}}},
    {"zstack aligns its layers in the largest",
     [] {
         return AnyView(ZStack(Alignment::topTrailing(), box("big", 40, 30), box("small", 10, 10)));
     },
     {40, 30},
     {{"big", {0, 0, 40, 30}}, {"small", {30, 0, 10, 10}}}},
    {"offset moves a view without moving its neighbours",
     [] { return AnyView(HStack(0, box("a", 10, 10).offset(0, -16), box("b", 10, 10))); },
     {20, 10},
     {{"a", {0, -16, 10, 10}}, {"b", {10, 0, 10, 10}}}},
    {"position centres a view on a point",
     [] { return AnyView(box("a", 10, 20).position(30, 40)); },
     {100, 100},
     {{"a", {25, 30, 10, 20}}}},
    {"background takes the size of the content",
     [] {
         return AnyView(
             box("a", 30, 10)
                 .background(box("bg", 50, 50).frame({.maxWidth = infinity}), Alignment::center()));
     },
     {30, 10},
     {{"a", {0, 0, 30, 10}}}},
    {"scale about the top-leading corner",
     [] {
         return AnyView(
             box("a", 10, 10).padding(Edge::leading, 10).scaleEffect(2, UnitPoint::topLeading()));
     },
     {20, 10},
     {{"a", {20, 0, 20, 20}}}},
    {"foreach lays out one child per element",
     [] {
         return AnyView(HStack(0, ForEach(std::vector<int>{1, 2, 3}, [](int i) {
                                   return box(i == 2 ? "two" : "other", 10 * i, 10);
                               })));
     },
     {60, 10},
     {{"two", {10, 0, 20, 10}}}},
};

INSTANTIATE_TEST_SUITE_P(Views, LayoutTest, ::testing::ValuesIn(layoutCases));

TEST(TextLayout, TextTakesItsMeasuredSizeAndWrapsWhenNarrow) {
    RunLoopTestScope scope;
    Font font = Font::custom("Dosis-Medium", 14);
    ViewGraph graph(VStack(
        0, Text("DELAY TIME").font(font).accessibilityIdentifier("one"),
        Text("DELAY TIME").font(font).frame(40, std::nullopt).accessibilityIdentifier("narrow"),
        Text("DELAY TIME").font(font).tracking(2).accessibilityIdentifier("tracked")));
    graph.setSize({200, 200});
    CGSize natural = CGTextMeasure("DELAY TIME", font.resolve());
    EXPECT_EQ(graph.frame("one")->size, natural);
    EXPECT_GT(graph.frame("narrow")->size.height, natural.height); // two lines
    // Tracking spaces the ten characters out by 2 points each, the height stays.
    const CGSize tracked = graph.frame("tracked")->size;
    EXPECT_NEAR(tracked.width, natural.width + 10 * 2, 2.01);
    EXPECT_EQ(tracked.height, natural.height);
}

} // namespace

namespace {

// A settings pane as the control library composes one: labelled rows whose content
// column starts at the label width, each child of a row's content on a line of its own.
AnyView settingsRow(const std::string& label, const AnyView& content, CGFloat labelWidth) {
    std::vector<AnyView> lines;
    for (const AnyView& child : subviewsOf(content))
        lines.push_back(HStack(child, Spacer()));
    return LabeledContent(
        VStack(HorizontalAlignment::leading(), 4.0, lines).frame({.maxWidth = infinity}),
        HStack(Text(label).frame(labelWidth, std::nullopt)));
}

TEST(FormLayout, SectionsShareTheContentColumnAndStackTheirChildren) {
    RunLoopTestScope scope;
    ViewGraph graph(
        Form(settingsRow("Audio",
                         Group(box("a1", 30, 10), box("a2", 30, 10),
                               ForEach::range(0, 1, [](int) { return box("a3", 30, 10); })),
                         80),
             Divider(), settingsRow("Video", box("v1", 50, 10), 80))
            .frame(300, 200, Alignment::topLeading()));
    graph.setSize({300, 200});
    CGFloat column = 80 + 8;
    EXPECT_EQ(graph.frame("a1")->origin.x, column);
    EXPECT_EQ(graph.frame("v1")->origin.x, column);
    EXPECT_EQ(graph.frame("a2")->origin.x, column);
    EXPECT_EQ(graph.frame("a3")->origin.x, column);
    EXPECT_EQ(graph.frame("a2")->minY() - graph.frame("a1")->maxY(), 4);
    EXPECT_EQ(graph.frame("a3")->minY() - graph.frame("a2")->maxY(), 4);
}

} // namespace

namespace {

TEST(FormLayout, TransformedChildrenKeepTheIdentityTheyHad) {
    AnyView content = Group(Text("plain"), ForEach(std::vector<int>{7, 9},
                                                   [](int i) { return Text(std::to_string(i)); }));
    int calls = 0;
    auto views = subviewsOf(content, [&](const AnyView& child) {
        ++calls;
        return AnyView(HStack(child, Spacer()));
    });
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(calls, 3);
    auto idsOf = [](const std::vector<AnyView>& list) {
        std::vector<ViewID> ids;
        for (const AnyView& view : list) {
            std::vector<detail::KeyedView> keyed;
            view.primitive().expand(view, keyed);
            ids.push_back(keyed.at(0).id);
        }
        return ids;
    };
    std::vector<ViewID> ids = idsOf(views);
    EXPECT_EQ(ids, idsOf(subviewsOf(content)));
    EXPECT_EQ(ids[1], ViewID(int64_t(7))); // the ForEach ids
    EXPECT_EQ(ids[2], ViewID(int64_t(9)));
    for (const AnyView& view : views) {
        std::vector<detail::KeyedView> keyed;
        view.primitive().expand(view, keyed);
        EXPECT_EQ(keyed.at(0).view.viewType(), typeid(HStack)); // the transformed child
    }
}

} // namespace

namespace {

TEST(FormLayout, AnEnvironmentChangeOnAGroupAppliesToEachOfItsViewsInAStack) {
    RunLoopTestScope scope;
    ViewGraph graph(
        VStack(HorizontalAlignment::leading(), 4.0,
               Group(box("g1", 30, 10), box("g2", 30, 10)).foregroundColor(Color::red()),
               ForEach::range(0, 2, [](int i) {
                   return box(i == 0 ? "f0" : "f1", 20, 10);
               }).font(Font::system(9))));
    graph.setSize({100, 100});
    // Four children of the stack, 4 points apart, not two overlapping groups.
    EXPECT_EQ(graph.frame("g2")->minY() - graph.frame("g1")->maxY(), 4);
    EXPECT_EQ(graph.frame("f0")->minY() - graph.frame("g2")->maxY(), 4);
    EXPECT_EQ(graph.frame("f1")->minY() - graph.frame("f0")->maxY(), 4);
    EXPECT_EQ(graph.find("g2")->environment.foregroundColor, ColorValue(Color::red()));
    EXPECT_EQ(graph.find("f1")->environment.font, Font::system(9));
}

} // namespace

namespace {

TEST(EnvironmentValues, ScrollEdgeEffectsAndRowBackgroundsReachTheViewsInside) {
    RunLoopTestScope scope;
    ViewGraph graph(VStack(box("inside", 10, 10), box("other", 10, 10))
                        .scrollEdgeEffectStyle(ScrollEdgeEffectStyle::soft, Edge::all)
                        .alternatingRowBackgrounds(AlternatingRowBackgroundsBehavior::disabled));
    graph.setSize({50, 50});
    const auto& env = graph.find("inside")->environment;
    EXPECT_EQ(env.scrollEdgeEffectStyle, ScrollEdgeEffectStyle::soft);
    EXPECT_EQ(env.scrollEdgeEffectEdges, Edge::all);
    EXPECT_EQ(env.alternatingRowBackgrounds, AlternatingRowBackgroundsBehavior::disabled);
    ViewGraph plain(box("plain", 10, 10));
    plain.setSize({50, 50});
    EXPECT_EQ(plain.find("plain")->environment.scrollEdgeEffectStyle,
              ScrollEdgeEffectStyle::automatic);
}

// What decides whether a view that compares equal may keep what it built.
TEST(EnvironmentValues, TwoAreTheSameOnlyWhenEveryValueAndObjectIs) {
    struct Case {
        const char* what;
        std::function<void(EnvironmentValues&)> change;
    };
    auto host = std::make_shared<NSView>();
    const Case cases[] = {
        {"font", [](auto& e) { e.font = Font::system(13); }},
        {"foreground colour", [](auto& e) { e.foregroundColor = ColorValue(1, 0, 0); }},
        {"enabled", [](auto& e) { e.isEnabled = false; }},
        {"display scale", [](auto& e) { e.displayScale = 2; }},
        {"colour scheme", [](auto& e) { e.colorScheme = ColorScheme::light; }},
        {"hosting view", [&](auto& e) { e.hostingView = host; }},
        {"button style",
         [](auto& e) {
             e.buttonStyle =
                 std::make_shared<detail::ButtonStyleBox<PlainButtonStyle>>(PlainButtonStyle());
         }},
        {"text field style", [](auto& e) { e.textFieldStyle = TextFieldStyle::plain; }},
        {"text alignment", [](auto& e) { e.textAlignment = TextAlignment::center; }},
        {"truncation", [](auto& e) { e.truncationMode = TruncationMode::middle; }},
        {"tightening", [](auto& e) { e.allowsTightening = true; }},
        {"line limit", [](auto& e) { e.lineLimit = 2; }},
        {"tracking", [](auto& e) { e.tracking = 1; }},
        {"focus binding", [](auto& e) { e.focusBinding = Binding<bool>::constant(false); }},
        {"scroll edge style",
         [](auto& e) { e.scrollEdgeEffectStyle = ScrollEdgeEffectStyle::hard; }},
        {"scroll edges", [](auto& e) { e.scrollEdgeEffectEdges = Edge::top; }},
        {"row backgrounds",
         [](auto& e) { e.alternatingRowBackgrounds = AlternatingRowBackgroundsBehavior::enabled; }},
        {"submit action", [](auto& e) { e.submitActions.push_back([] {}); }},
        {"another object", [](auto& e) { e.setObject(std::make_shared<int>(1)); }},
    };
    EnvironmentValues base;
    base.setObject(std::make_shared<int>(1));
    EXPECT_TRUE(base.sameAs(EnvironmentValues(base)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EnvironmentValues changed = base;
        c.change(changed);
        EXPECT_FALSE(base.sameAs(changed));
        EXPECT_FALSE(changed.sameAs(base));
    }
}

} // namespace

namespace {

TEST(Containers, AContainerPassedAsAnLvalueIsCopiedNotNestedInItself) {
    RunLoopTestScope scope;
    Group group(box("g", 10, 10));
    HStack row(box("h", 10, 10));
    VStack column(box("v", 10, 10));
    ZStack layers(box("z", 10, 10));
    Form form(box("f", 10, 10));
    Section section(box("s", 10, 10));
    ViewGraph graph{VStack(group, row, column, layers, form, section)};
    graph.setSize({100, 200});
    for (const char* id : {"g", "h", "v", "z", "f", "s"})
        EXPECT_TRUE(graph.frame(id)) << id;
    EXPECT_EQ(AnyView(row).viewType(), typeid(HStack));
}

} // namespace

namespace {

// A leaf of fixed size that counts how often it is placed.
class CountingBox : public View<CountingBox>, public detail::Primitive {
  public:
    explicit CountingBox(std::shared_ptr<int> placements) : placements(std::move(placements)) {}
    CGSize sizeThatFits(Node&, ProposedViewSize) const override { return {30, 10}; }
    void placeChildren(Node&, ProposedViewSize) const override { ++*placements; }
    std::shared_ptr<int> placements;
};

struct Swatch {
    Observed<double> red{0};
    Observed<double> width{20};
};

// A rectangle whose colour and width come from the model.
struct SwatchView : View<SwatchView> {
    AnyView body(ViewContext& ctx) const {
        auto swatch = ctx.environment<Swatch>();
        return Rectangle()
            .fill(Color(swatch->red.get(), 0, 0))
            .frame(swatch->width.get(), 10)
            .accessibilityIdentifier("swatch");
    }
};

TEST(IncrementalLayout, AChangeThatKeepsItsSizeMovesNothingElseAndMarksOnlyItself) {
    RunLoopTestScope scope;
    auto placements = std::make_shared<int>(0);
    auto swatch = std::make_shared<Swatch>();
    ViewGraph graph(
        AnyView(HStack(0.0, CountingBox(placements).accessibilityIdentifier("box"), SwatchView()))
            .environment(swatch));
    graph.setSize({200, 50});
    struct Case {
        const char* what;
        std::function<void()> change;
        int boxPlacedAgain;
        bool boxRedrawn;
    };
    const Case cases[] = {
        {"a new colour: the swatch alone", [&] { swatch->red.set(1); }, 0, false},
        {"a new width: the stack and its children are placed again", [&] { swatch->width.set(40); },
         1, true},
        {"another colour after the resize: the swatch alone", [&] { swatch->red.set(0.5); }, 0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int before = *placements;
        c.change();
        RunLoop::main().runUntilIdle();
        EXPECT_EQ(*placements - before, c.boxPlacedAgain);
        EXPECT_TRUE(graph.changedRegion().contains(*graph.frame("swatch")));
        EXPECT_EQ(graph.changedRegion().intersects(*graph.frame("box")), c.boxRedrawn);
    }
    // Laid out again piece by piece, the tree is where a fresh layout puts it.
    ViewGraph fresh(
        AnyView(HStack(0.0, CountingBox(placements).accessibilityIdentifier("box"), SwatchView()))
            .environment(swatch));
    fresh.setSize({200, 50});
    EXPECT_EQ(*graph.frame("box"), *fresh.frame("box"));
    EXPECT_EQ(*graph.frame("swatch"), *fresh.frame("swatch"));
}

// A counted box beside a whole number; equal when the number shows alike.
struct Tally : View<Tally> {
    double count;
    std::shared_ptr<int> placements;
    AnyView body() const {
        return HStack(0.0, CountingBox(placements).accessibilityIdentifier("tally"),
                      Rectangle().frame(CGFloat(int(count)), 10));
    }
    friend bool operator==(const Tally& a, const Tally& b) { return int(a.count) == int(b.count); }
};

// A bar of a given width; equal when the width is.
struct Bar : View<Bar> {
    CGFloat width;
    AnyView body() const { return Rectangle().frame(width, 10); }
    friend bool operator==(const Bar& a, const Bar& b) { return a.width == b.width; }
};

struct TallyModel {
    Observed<double> count{3.2};
    Observed<double> shift{0};
    Observed<double> width{80};
    Observed<bool> showsBar{true};
};

// The tally in a frame of model width, shifted, with a narrow bar over it; the row keeps
// its size, so a change is laid out within it.
struct TallyRow : View<TallyRow> {
    std::shared_ptr<int> placements;
    AnyView body(ViewContext& ctx) const {
        auto model = ctx.environment<TallyModel>();
        std::vector<AnyView> layers{Tally{{}, model->count.get(), placements}
                                        .frame(model->width.get(), 20)
                                        .offset(model->shift.get(), 0)};
        if (model->showsBar.get())
            layers.push_back(Bar{{}, 10});
        return ZStack(Alignment::topLeading(), std::move(layers)).frame(300, 20);
    }
};

TEST(IncrementalLayout, AnEqualViewKeptWholeIsOnlyMovedAndRedrawnOnlyWhenItOrWhatHoldsItChanged) {
    RunLoopTestScope scope;
    auto placements = std::make_shared<int>(0);
    auto model = std::make_shared<TallyModel>();
    auto row = [&] { return AnyView(TallyRow{{}, placements}).environment(model); };
    ViewGraph graph(row());
    graph.setSize({300, 50});
    struct Case {
        const char* what;
        std::function<void()> change;
        int placedAgain;
        bool redrawn;
    };
    const Case cases[] = {
        {"a count that shows alike", [&] { model->count.set(3.9); }, 0, false},
        {"a count that shows differently", [&] { model->count.set(5); }, 1, true},
        {"shifted: moved", [&] { model->shift.set(12); }, 0, true},
        {"a new proposal", [&] { model->width.set(120); }, 1, true},
        {"a new proposal and a count alike",
         [&] {
             model->width.set(100);
             model->count.set(5.5);
         },
         1, true},
        {"the bar taken away from over it", [&] { model->showsBar.set(false); }, 0, true},
        {"alike again, alone", [&] { model->count.set(5.1); }, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = *placements;
        c.change();
        RunLoop::main().runUntilIdle();
        EXPECT_EQ(*placements - before, c.placedAgain);
        EXPECT_EQ(graph.changedRegion().contains(*graph.frame("tally")), c.redrawn);
        EXPECT_EQ(graph.changedRegion().isEmpty(), !c.redrawn);
        // Where a fresh layout of the same state puts it.
        ViewGraph fresh(row());
        fresh.setSize({300, 50});
        EXPECT_EQ(*graph.frame("tally"), *fresh.frame("tally"));
        EXPECT_EQ(graph.root().extentInRoot(), fresh.root().extentInRoot());
    }
}

} // namespace
