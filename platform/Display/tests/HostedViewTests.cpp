// Declarative views in a real window: a person's drag reaches a drag gesture at the
// view's own (top-left, y-down) points, at every scale.

#include <gtest/gtest.h>

#include "ScreenTest.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/SwiftUI.h"

namespace {

using namespace DisplayTest;
using namespace SwiftUI;

// Grey until tapped, then green: its own state.
struct Lamp : View<Lamp> {
    AnyView body(ViewContext& ctx) const {
        State<bool> lit = ctx.state(false);
        return (*lit ? Color(0, 1, 0) : Color::gray())
            .frame(windowSize.width, windowSize.height)
            .onTapGesture([lit] { lit = true; });
    }
};

class HostedInRealWindow : public ScreenTest, public ::testing::WithParamInterface<CGFloat> {
  protected:
    void SetUp() override { open(GetParam()); }
    void host(AnyView root) {
        window->setContentView(make<NSHostingView>(std::move(root)));
        server->pump(0.02);
    }
    std::vector<DragGesture::Value> changes, ends;
};

TEST_P(HostedInRealWindow, ADragArrivesAtTheViewsTopLeftPoints) {
    host(Color::gray()
             .frame(windowSize.width, windowSize.height)
             .gesture(DragGesture(0)
                          .onChanged([this](const DragGesture::Value& v) { changes.push_back(v); })
                          .onEnded([this](const DragGesture::Value& v) { ends.push_back(v); })));
    // Window points are y-up: (40, 120) is 30 points below the top.
    xdotool(join({moveTo({40, 120}),
                  {"mousedown", "1"},
                  moveTo({80, 100}),
                  moveTo({120, 60}),
                  {"mouseup", "1"}}),
            [&] { return !ends.empty(); });
    ASSERT_FALSE(changes.empty());
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_NEAR(changes.front().location.x, 40, 0.01);
    EXPECT_NEAR(changes.front().location.y, 30, 0.01);
    EXPECT_NEAR(ends[0].startLocation.y, 30, 0.01);
    EXPECT_NEAR(ends[0].location.x, 120, 0.01);
    EXPECT_NEAR(ends[0].location.y, 90, 0.01);
    EXPECT_NEAR(ends[0].translation.height, 60, 0.01); // downwards is positive
}

TEST_P(HostedInRealWindow, AStateChangedByATapShowsOnTheScreen) {
    host(Lamp());
    auto green = [&] {
        auto shot = VirtualScreen::capture();
        CGPoint p = shown->screenPoint({100, 75});
        return shot && shot->pixel(size_t(p.x * scale), size_t(p.y * scale)).g > 200;
    };
    EXPECT_FALSE(green());
    auto presents = shown->presentCount();
    xdotool(join({moveTo({100, 75}), {"click", "1"}}),
            [&] { return shown->presentCount() > presents && !shown->needsPresent(); });
    EXPECT_TRUE(green());
}

INSTANTIATE_TEST_SUITE_P(Scales, HostedInRealWindow, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return info.param == 1 ? "x1" : "x2"; });

} // namespace
