// State slots by position, rebuilds on the next run-loop turn, life-cycle actions.

#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"
#include "Observation/Observation.h"

using namespace SwiftUI;

namespace {

// Records what its bodies saw, so tests can tell a rebuild from none.
struct Log {
    std::vector<std::string> lines;
};

// A counter with state of its own; its value shows in the log on every build.
struct Counter : View<Counter> {
    std::string name;
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const {
        State<int> count = ctx.state(0);
        log->lines.push_back(name + "=" + std::to_string(*count));
        return Text(name)
            .onTapGesture([count] { count = *count + 1; })
            .accessibilityIdentifier(name);
    }
};

struct Fixture : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<Log> log = std::make_shared<Log>();

    void tap(ViewGraph& graph, const std::string& id, int clicks = 1) {
        CGRect f = *graph.frame(id);
        CGPoint p{f.midX(), f.midY()};
        graph.pointer({PointerEvent::Phase::down, p, clicks});
        graph.pointer({PointerEvent::Phase::up, p, clicks});
    }
    void turn() { RunLoop::main().runUntilIdle(); }
};

// Shows a list of counters, or a replacement at the first place.
struct Board : View<Board> {
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const {
        State<std::vector<std::string>> names = ctx.state(std::vector<std::string>{"a", "b"});
        State<bool> replaced = ctx.state(false);
        std::shared_ptr<Log> l = log;
        auto list = ForEach(*names, [l](const std::string& n) { return Counter{{}, n, l}; });
        AnyView first = *replaced ? AnyView(Text("gone")) : AnyView(Counter{{}, "first", l});
        return VStack(first, list,
                      Text("reverse")
                          .onTapGesture([names] {
                              auto v = *names;
                              std::reverse(v.begin(), v.end());
                              names = v;
                          })
                          .accessibilityIdentifier("reverse"),
                      Text("toggle")
                          .onTapGesture([replaced] { replaced = !*replaced; })
                          .accessibilityIdentifier("toggle"));
    }
};

TEST_F(Fixture, StateSurvivesRebuildsFollowsItsIdAndIsDroppedWithItsView) {
    ViewGraph graph(Board{{}, log});
    graph.setSize({200, 200});
    tap(graph, "a");
    tap(graph, "a");
    tap(graph, "first");
    turn();
    log->lines.clear();
    tap(graph, "reverse"); // the parent rebuilds: every counter keeps its count
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"first=1", "b=0", "a=2"}));

    tap(graph, "toggle"); // the first counter leaves the tree...
    turn();
    tap(graph, "toggle"); // ...and comes back with fresh state
    log->lines.clear();
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"first=0", "b=0", "a=2"}));
}

TEST_F(Fixture, AStateWriteRebuildsOnTheNextTurnOnlyAndOnlyTheView) {
    ViewGraph graph(HStack(Counter{{}, "x", log}, Counter{{}, "y", log}));
    graph.setSize({100, 50});
    log->lines.clear();
    tap(graph, "x");
    EXPECT_TRUE(log->lines.empty()); // not inside the write
    EXPECT_TRUE(graph.needsUpdate());
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"x=1"}));
    EXPECT_FALSE(graph.needsUpdate());
}

// A view model with two observable properties.
class Model {
  public:
    Observed<int> shown{1};
    Observed<int> other{1};
};

struct ModelView : View<ModelView> {
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const {
        auto model = ctx.environment<Model>();
        log->lines.push_back("shown=" + std::to_string(model->shown.get()));
        return Text(std::to_string(model->shown.get()));
    }
};

TEST_F(Fixture, AnObservableChangeRebuildsOnTheNextTurnOnlyWhenARead) {
    auto model = std::make_shared<Model>();
    ViewGraph graph(VStack(ModelView{{}, log}).environment(model));
    graph.setSize({100, 50});
    log->lines.clear();

    struct Step {
        std::function<void()> change;
        std::vector<std::string> rebuilt;
    } steps[] = {
        {[&] { model->other.set(5); }, {}},          // not read by the body
        {[&] { model->shown.set(1); }, {}},          // an equal write: no change
        {[&] { model->shown.set(2); }, {"shown=2"}}, // read and changed
        {[&] {
             model->shown.set(3);
             model->shown.set(4);
         },
         {"shown=4"}}, // once per turn
    };
    for (auto& step : steps) {
        step.change();
        EXPECT_TRUE(log->lines.empty());
        turn();
        EXPECT_EQ(log->lines, step.rebuilt);
        log->lines.clear();
    }
}

TEST_F(Fixture, AppearDisappearAndChangeActionsRunAfterTheUpdate) {
    struct Probe : View<Probe> {
        std::shared_ptr<Log> log;
        AnyView body(ViewContext& ctx) const {
            State<int> value = ctx.state(0);
            State<bool> shown = ctx.state(true);
            auto l = log;
            AnyView child =
                *shown ? AnyView(Text("child")
                                     .onAppear([l] { l->lines.push_back("appear"); })
                                     .onDisappear([l] { l->lines.push_back("disappear"); }))
                       : AnyView(EmptyView());
            return VStack(child,
                          Text("bump")
                              .onTapGesture([value] { value = *value + 1; })
                              .accessibilityIdentifier("bump"),
                          Text("hide")
                              .onTapGesture([shown] { shown = false; })
                              .accessibilityIdentifier("hide"))
                .onChange(*value, true, [l](const int& o, const int& n) {
                    l->lines.push_back(std::to_string(o) + "->" + std::to_string(n));
                });
        }
    };
    ViewGraph graph(Probe{{}, log});
    graph.setSize({100, 100});
    EXPECT_EQ(log->lines, (std::vector<std::string>{"appear", "0->0"}));
    log->lines.clear();
    tap(graph, "bump");
    turn();
    tap(graph, "hide");
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"0->1", "disappear"}));
}

} // namespace

namespace {

// Two views of one type in one place, told apart by their ids: switching replaces it.
TEST_F(Fixture, AnExplicitIdReplacesTheViewAndItsState) {
    struct Switcher : View<Switcher> {
        std::shared_ptr<Log> log;
        AnyView body(ViewContext& ctx) const {
            State<bool> note = ctx.state(true);
            return VStack(Counter{{}, *note ? "note" : "ms", log}.id(*note ? "note" : "ms"),
                          Text("switch")
                              .onTapGesture([note] { note = !*note; })
                              .accessibilityIdentifier("switch"));
        }
    };
    ViewGraph graph(Switcher{{}, log});
    graph.setSize({100, 100});
    tap(graph, "note");
    turn();
    tap(graph, "switch");
    turn();
    tap(graph, "switch");
    log->lines.clear();
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"note=0"}));
}

} // namespace

namespace {

// A level shown as a whole number: two levels that show alike compare equal, so the
// view opts in to being skipped when its parent rebuilds.
struct Gauge : View<Gauge> {
    double level;
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const;
    friend bool operator==(const Gauge& a, const Gauge& b) { return int(a.level) == int(b.level); }
};

class GaugeModel {
  public:
    Observed<double> level{1.2};
    Observed<double> fontSize{12};
    Observed<std::string> unit{"V"};
};

// Inside the gauge: reads the unit itself.
struct UnitLabel : View<UnitLabel> {
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const {
        const std::string unit = ctx.environment<GaugeModel>()->unit.get();
        log->lines.push_back("unit " + unit);
        return Text(unit);
    }
};

AnyView Gauge::body(ViewContext& ctx) const {
    State<int> taps = ctx.state(0);
    log->lines.push_back("gauge " + std::to_string(int(level)) + ", " + std::to_string(*taps) +
                         " taps");
    return HStack(Text(std::to_string(int(level)))
                      .onTapGesture([taps] { taps = *taps + 1; })
                      .accessibilityIdentifier("gauge"),
                  UnitLabel{{}, log});
}

// Rebuilt whenever the level or the font size changes; hands both to the gauge.
struct GaugePanel : View<GaugePanel> {
    std::shared_ptr<Log> log;
    AnyView body(ViewContext& ctx) const {
        auto model = ctx.environment<GaugeModel>();
        return VStack(Gauge{{}, model->level.get(), log}, Text("panel"))
            .font(Font::system(model->fontSize.get()));
    }
};

TEST_F(Fixture, AnEqualViewInTheSameEnvironmentKeepsWhatItBuilt) {
    auto model = std::make_shared<GaugeModel>();
    ViewGraph graph(AnyView(GaugePanel{{}, log}).environment(model));
    graph.setSize({100, 100});
    log->lines.clear();
    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> built;
    };
    const Case cases[] = {
        {"a level that shows alike", [&] { model->level.set(1.7); }, {}},
        {"a level that shows differently",
         [&] { model->level.set(2.1); },
         {"gauge 2, 0 taps", "unit V"}},
        {"the same level in another environment",
         [&] { model->fontSize.set(14); },
         {"gauge 2, 0 taps", "unit V"}},
        {"its own state written", [&] { tap(graph, "gauge"); }, {"gauge 2, 1 taps", "unit V"}},
        {"alike again, after its own rebuild", [&] { model->level.set(2.9); }, {}},
        {"alike, with its own state written in the same turn",
         [&] {
             model->level.set(2.5);
             tap(graph, "gauge");
         },
         {"gauge 2, 2 taps", "unit V"}},
        {"alike, with a view inside that reads a change in the same turn",
         [&] {
             model->level.set(2.2);
             model->unit.set("mV");
         },
         {"unit mV"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        turn();
        EXPECT_EQ(log->lines, c.built);
        log->lines.clear();
    }
    // The kept subtree still answers: it is drawn and hit where it was.
    EXPECT_TRUE(graph.frame("gauge"));
    tap(graph, "gauge");
    turn();
    EXPECT_EQ(log->lines, (std::vector<std::string>{"gauge 2, 3 taps", "unit mV"}));
}

} // namespace
