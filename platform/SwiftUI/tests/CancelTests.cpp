// A drag whose view leaves the tree hears that it was cancelled, once, and never ends.

#include "SwiftUI/SwiftUI.h"

#include <gtest/gtest.h>

#include "Foundation/RunLoop.h"
#include "Observation/Observation.h"

using namespace SwiftUI;

namespace {

using Phase = PointerEvent::Phase;
using Log = std::vector<std::string>;

// A drag area, or text in its place; the choice lives outside the tree (as a host's
// automation or a model change would replace a control under the user's hand).
struct Switched : View<Switched> {
    std::shared_ptr<Observed<bool>> showArea;
    std::shared_ptr<Log> log;
    CGFloat minimumDistance;
    AnyView body() const {
        auto l = log;
        if (!showArea->get())
            return AnyView(Text("gone").frame(100, 100));
        return Color::gray().frame(100, 100).gesture(
            DragGesture(minimumDistance)
                .onChanged([l](const DragGesture::Value&) { l->push_back("changed"); })
                .onEnded([l](const DragGesture::Value&) { l->push_back("ended"); })
                .onCancelled([l] { l->push_back("cancelled"); }));
    }
};

struct GestureCancel : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<Observed<bool>> showArea = std::make_shared<Observed<bool>>(true);

    void removeArea() {
        showArea->set(false);
        RunLoop::main().runUntilIdle();
    }
};

TEST_F(GestureCancel, ADragIsCancelledOnceWhenItsViewLeavesAndTheReleaseDoesNothing) {
    ViewGraph graph(Switched{{}, showArea, log, 0});
    graph.setSize({100, 100});
    graph.pointer({Phase::down, {50, 50}});
    graph.pointer({Phase::dragged, {50, 40}});
    removeArea();
    EXPECT_EQ(*log, (Log{"changed", "changed", "cancelled"}));
    graph.pointer({Phase::dragged, {50, 30}});
    graph.pointer({Phase::up, {50, 30}});
    EXPECT_EQ(*log, (Log{"changed", "changed", "cancelled"}));
}

TEST_F(GestureCancel, OnlyADragThatHasBegunAndNotEndedIsTold) {
    struct Case {
        CGFloat minimumDistance;
        bool release; // released before the view leaves
        Log expected;
    } cases[] = {
        {0, true, {"changed", "changed", "ended"}}, // ended normally: nothing more
        {10, false, {}},                            // not begun yet: nothing to cancel
    };
    for (const auto& c : cases) {
        log->clear();
        showArea->set(true);
        RunLoop::main().runUntilIdle();
        ViewGraph graph(Switched{{}, showArea, log, c.minimumDistance});
        graph.setSize({100, 100});
        graph.pointer({Phase::down, {50, 50}});
        graph.pointer({Phase::dragged, {50, 48}});
        if (c.release)
            graph.pointer({Phase::up, {50, 48}});
        removeArea();
        EXPECT_EQ(*log, c.expected) << c.minimumDistance;
    }
}

} // namespace
