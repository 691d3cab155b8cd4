// Pointer and key input: buttons, drags, taps, their competition, modifier keys and the
// text field's keys and focus.

#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"

using namespace SwiftUI;

namespace {

using Phase = PointerEvent::Phase;

struct InputTest : ::testing::Test {
    RunLoopTestScope scope;
    std::vector<std::string> events;

    void turn() { RunLoop::main().runUntilIdle(); }
    static void send(ViewGraph& g, Phase phase, CGPoint p, int clicks = 1, unsigned mods = 0) {
        g.pointer({phase, p, clicks, mods});
    }
    void key(ViewGraph& g, std::string k) { g.keyPress({k, k}); }
};

// A button whose style shows the pressed state in the tree.
struct PressedStyle {
    AnyView makeBody(const ButtonStyleConfiguration& c) const {
        return c.label.frame(40, 20).accessibilityIdentifier(c.isPressed ? "pressed" : "up");
    }
};

TEST_F(InputTest, AButtonIsPressedWhileHeldOverItAndActsOnlyWhenReleasedOverIt) {
    int actions = 0;
    ViewGraph graph(Button([&] { ++actions; }, Color::blue()).buttonStyle(PressedStyle{}));
    graph.setSize({40, 20});
    struct Case {
        CGPoint release;
        int actions;
    } cases[] = {{{30, 10}, 1}, {{60, 10}, 0}, {{39.9, 19.9}, 1}, {{40, 10}, 0}};
    for (const auto& c : cases) {
        actions = 0;
        send(graph, Phase::down, {10, 10});
        turn();
        EXPECT_TRUE(graph.find("pressed"));
        send(graph, Phase::dragged, c.release);
        turn();
        EXPECT_EQ(graph.find("pressed") != nullptr, CGRect(0, 0, 40, 20).contains(c.release));
        send(graph, Phase::up, c.release);
        turn();
        EXPECT_TRUE(graph.find("up"));
        EXPECT_EQ(actions, c.actions) << c.release.x;
    }
}

TEST_F(InputTest, ADisabledButtonDoesNotAct) {
    int actions = 0;
    ViewGraph graph(Button([&] { ++actions; }, Color::blue().frame(40, 20)).disabled(true));
    graph.setSize({40, 20});
    send(graph, Phase::down, {10, 10});
    send(graph, Phase::up, {10, 10});
    EXPECT_EQ(actions, 0);
}

AnyView dragArea(std::vector<std::string>& events, CGFloat minimum) {
    auto log = [&events](const char* what, const DragGesture::Value& v) {
        events.push_back(std::string(what) + " " + std::to_string(int(v.startLocation.y)) + " " +
                         std::to_string(int(v.location.y)) + " " +
                         std::to_string(int(v.translation.height)));
    };
    return Color::gray().frame(100, 100).gesture(
        DragGesture(minimum)
            .onChanged([log](const DragGesture::Value& v) { log("changed", v); })
            .onEnded([log](const DragGesture::Value& v) { log("ended", v); }));
}

TEST_F(InputTest, ADragBeginsAtItsMinimumDistanceAndEndsOnce) {
    ViewGraph graph(dragArea(events, 6).padding(10));
    graph.setSize({120, 120});
    send(graph, Phase::down, {50, 60});
    send(graph, Phase::dragged, {50, 57}); // 3 points: nothing yet
    EXPECT_TRUE(events.empty());
    send(graph, Phase::dragged, {50, 54}); // 6 points: begins here
    send(graph, Phase::dragged, {50, 40});
    send(graph, Phase::up, {50, 40});
    // Locations are local to the dragged view (10 points in).
    EXPECT_EQ(events, (std::vector<std::string>{"changed 50 44 -6", "changed 50 30 -20",
                                                "ended 50 30 -20"}));
    events.clear();
    send(graph, Phase::down, {50, 60}); // a click shorter than the distance: nothing
    send(graph, Phase::dragged, {52, 60});
    send(graph, Phase::up, {52, 60});
    EXPECT_TRUE(events.empty());
}

TEST_F(InputTest, AZeroDistanceDragReportsThePressItself) {
    ViewGraph graph(dragArea(events, 0));
    graph.setSize({100, 100});
    send(graph, Phase::down, {20, 30});
    send(graph, Phase::up, {20, 30});
    EXPECT_EQ(events, (std::vector<std::string>{"changed 30 30 0", "ended 30 30 0"}));
}

// The knob's arrangement: a drag, a double tap and an Option-click together.
TEST_F(InputTest, TapsWithCountsAndModifiersRunBesideADrag) {
    auto record = [this](std::string s) { return [this, s] { events.push_back(s); }; };
    ViewGraph graph(
        Color::gray()
            .frame(50, 50)
            .gesture(DragGesture(6).onChanged(
                [this](const DragGesture::Value&) { events.push_back("drag"); }))
            .simultaneousGesture(TapGesture(2).onEnded(record("double")))
            .simultaneousGesture(
                TapGesture().modifiers(EventModifiers::option).onEnded(record("option"))));
    graph.setSize({50, 50});
    struct Click {
        int count;
        unsigned modifiers;
        CGFloat move;
        std::vector<std::string> expected;
    } clicks[] = {
        {1, 0, 0, {}},
        {2, 0, 0, {"double"}},
        {1, EventModifiers::option, 0, {"option"}},
        {1, EventModifiers::option, 20, {"drag"}}, // moved: a drag, not a click
    };
    for (const auto& c : clicks) {
        events.clear();
        send(graph, Phase::down, {25, 25}, c.count, c.modifiers);
        if (c.move)
            send(graph, Phase::dragged, {25, 25 - c.move}, c.count, c.modifiers);
        send(graph, Phase::up, {25, 25 - c.move}, c.count, c.modifiers);
        EXPECT_EQ(events, c.expected) << c.count << " " << c.modifiers;
    }
}

TEST_F(InputTest, AChildsGestureWinsUnlessTheParentsHasHighPriority) {
    auto tapper = [this](const char* name) {
        return TapGesture().onEnded([this, name] { events.push_back(name); });
    };
    ViewGraph plain(
        Color::gray().frame(20, 20).gesture(tapper("child")).padding(5).gesture(tapper("parent")));
    ViewGraph high(Color::gray()
                       .frame(20, 20)
                       .gesture(tapper("child"))
                       .padding(5)
                       .highPriorityGesture(tapper("parent")));
    for (ViewGraph* g : {&plain, &high}) {
        g->setSize({30, 30});
        send(*g, Phase::down, {15, 15});
        send(*g, Phase::up, {15, 15});
        send(*g, Phase::down, {2, 2}); // outside the child: padding is not hit
        send(*g, Phase::up, {2, 2});
    }
    EXPECT_EQ(events, (std::vector<std::string>{"child", "parent"}));
}

// A dial label's editing field: Return submits, Escape is handled around the field,
// a click elsewhere ends the focus.
struct Editor : View<Editor> {
    std::vector<std::string>* events;
    AnyView body(ViewContext& ctx) const {
        State<std::string> text = ctx.state(std::string("50.0"));
        FocusState<bool> focused = ctx.focusState();
        auto ev = events;
        return VStack(TextField("", text.binding())
                          .focused(focused)
                          .onSubmit([ev, text] { ev->push_back("submit " + *text); })
                          .onKeyPress(KeyPress::down | KeyPress::repeat,
                                      [ev](const KeyPress& k) {
                                          if (k.key != KeyEquivalent::escape)
                                              return KeyPressResult::ignored;
                                          ev->push_back("escape");
                                          return KeyPressResult::handled;
                                      })
                          .frame(50, 20)
                          .accessibilityIdentifier("field"),
                      Color::gray().frame(50, 20).accessibilityIdentifier("elsewhere"),
                      Text("focus")
                          .onTapGesture([focused] { focused = true; })
                          .accessibilityIdentifier("focus"))
            .onChange(*focused, false, [ev](const bool&, const bool& now) {
                ev->push_back(now ? "focused" : "unfocused");
            });
    }
};

TEST_F(InputTest, ATextFieldTakesKeysSubmitsAndLosesItsFocus) {
    ViewGraph graph(Editor{{}, &events});
    graph.setSize({100, 100});
    auto centre = [&](const char* id) {
        CGRect f = *graph.frame(id);
        return CGPoint{f.midX(), f.midY()};
    };
    // Focused from its state: the text is selected, typing replaces it.
    send(graph, Phase::down, centre("focus"));
    send(graph, Phase::up, centre("focus"));
    turn();
    EXPECT_TRUE(graph.hasFocus());
    key(graph, "9");
    key(graph, "9");
    key(graph, KeyEquivalent::deleteKey);
    key(graph, "7");
    EXPECT_TRUE(graph.keyPress({KeyEquivalent::escape, KeyEquivalent::escape}));
    key(graph, KeyEquivalent::returnKey);
    turn();
    EXPECT_EQ(events, (std::vector<std::string>{"focused", "escape", "submit 97"}));
    events.clear();

    send(graph, Phase::down, centre("elsewhere"));
    send(graph, Phase::up, centre("elsewhere"));
    turn();
    EXPECT_FALSE(graph.hasFocus());
    EXPECT_FALSE(graph.keyPress({"5", "5"}));  // no focused field: not taken
    send(graph, Phase::down, centre("field")); // a click focuses it again
    turn();
    graph.resignFocus(); // the window's keyboard went elsewhere
    turn();
    EXPECT_EQ(events, (std::vector<std::string>{"unfocused", "focused", "unfocused"}));
}

} // namespace

namespace {

TEST_F(InputTest, AMenuPresentsItsItemsOnAClickAndRunsTheChosenOne) {
    std::vector<std::string> chosen;
    auto pick = [&](std::string s) { return [&chosen, s] { chosen.push_back(s); }; };
    ViewGraph graph(Menu({MenuItem::button("Default", pick("default"), true), MenuItem::divider(),
                          MenuItem::submenu("Echo", {MenuItem::button("Tape", pick("tape"))})},
                         Color::gray().frame(154, 22)));
    graph.setSize({154, 22});
    EXPECT_FALSE(graph.presentedMenu());
    send(graph, Phase::down, {10, 10});
    send(graph, Phase::up, {10, 10});
    ASSERT_TRUE(graph.presentedMenu());
    const auto& items = *graph.presentedMenu();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].checked);
    EXPECT_EQ(items[1].kind, MenuItem::Kind::divider);
    EXPECT_FALSE(graph.chooseMenuItem({"Echo"})); // a submenu is not an action
    EXPECT_FALSE(graph.chooseMenuItem({"Echo", "Plate"}));
    EXPECT_TRUE(graph.chooseMenuItem({"Echo", "Tape"}));
    EXPECT_FALSE(graph.presentedMenu());
    EXPECT_EQ(chosen, (std::vector<std::string>{"tape"}));
}

} // namespace
