// The library's value controls in a real window on a private virtual X screen, driven
// with real X input (xdotool): what a person's drag and wheel do to them. Skipped when
// the screen or the tools are missing; every wait is bounded.

#include "Controls/StyledSlider.h"
#include "Styles/TideglassResources.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUISupport/TideSlider.h"

#include "Display/DisplayServer.h"
#include "ScreenTest.h"
#include "VirtualScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr CGSize windowSize{260, 120};
constexpr CGPoint windowPlace{60, 40};

// Views placed from the top-left, as the tests read them.
struct TopLeft : NSView {
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

// The display tests' screen fixture (loop pumping, xdotool runs) around a window of
// our own whose content the test fills.
class ValuesOnScreen : public DisplayTest::ScreenTest {
  protected:
    void SetUp() override {
        std::string why;
        if (!VirtualScreen::start(&why))
            GTEST_SKIP() << why;
        if (!VirtualScreen::haveProgram("xdotool"))
            GTEST_SKIP() << "xdotool is not installed";
        setenv("EMBERFALL_SCALE", "1", 1);
        server = DisplayServer::connect(&why);
        ASSERT_TRUE(server) << why;
        window = make<NSWindow>(CGRect{{0, 0}, windowSize});
        window->title = "Values";
        content = make<TopLeft>(CGRect{{0, 0}, windowSize});
        window->setContentView(content);
    }
    void show() {
        shown = server->show(window, {.screenPosition = windowPlace});
        ASSERT_TRUE(pumpUntil([&] { return shown->isOnScreen() && shown->presentCount() > 0; }));
        xid = std::to_string(shown->nativeWindowId());
        ASSERT_EQ(VirtualScreen::run({"xdotool", "windowfocus", "--sync", xid}), 0);
        server->pump(0.05);
    }
    // A point of the content (top-left points) for xdotool.
    std::vector<std::string> at(CGPoint p) const {
        return {"mousemove", "--window", xid, std::to_string(int(p.x)), std::to_string(int(p.y))};
    }
    void run(std::initializer_list<std::vector<std::string>> steps,
             const std::function<bool()>& arrived) {
        xdotool(join(steps), arrived);
    }
    std::shared_ptr<NSView> content;
};

TEST_F(ValuesOnScreen, ASliderDraggedAndScrolledReportsInOrder) {
    auto slider = make<StyledScrollableSlider>(CGRect{20, 40, 200, 20});
    slider->setMaxValue(100);
    content->addSubview(slider);
    std::vector<std::string> calls;
    slider->onSlideStarted = [&](double) { calls.push_back("started"); };
    slider->onSlideOngoing = [&](double) { calls.push_back("ongoing"); };
    slider->onSlideComplete = [&](double v) { calls.push_back("complete"); };
    ASSERT_NO_FATAL_FAILURE(show());

    // The knob's centre travels from x 27 to 213 of the window (7 points in from each
    // end of the slider).
    run({at({27 + 186 * 0.2, 50}),
         {"mousedown", "1"},
         at({27 + 186 * 0.5, 50}),
         at({27 + 186 * 0.8, 50}),
         {"mouseup", "1"}},
        [&] { return !calls.empty() && calls.back() == "complete"; });
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), "started");
    for (size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_EQ(calls[i], "ongoing") << i;
    EXPECT_NEAR(slider->doubleValue(), 80, 1);

    // Two wheel notches down (button 5): a quarter of a percent of the range each, and
    // no drag callbacks.
    const double before = slider->doubleValue();
    const size_t callsBefore = calls.size();
    run({at({120, 50}), {"click", "--repeat", "2", "--delay", "20", "5"}},
        [&] { return slider->doubleValue() <= before - 0.5 + 1e-9; });
    EXPECT_NEAR(slider->doubleValue(), before - 0.5, 1e-9);
    EXPECT_EQ(calls.size(), callsBefore);
}

TEST_F(ValuesOnScreen, TheMultiKnobSliderDraggedFromAMixedStateTakesOneValue) {
    auto model = std::make_shared<TideSliderModel>(std::vector<CGFloat>{2, 5, 8}, 5, 0, 10, 1,
                                                   false, SliderIconClickBehaviour::maxMin);
    std::vector<std::string> calls;
    model->onSlideStarted = [&](double) { calls.push_back("started"); };
    model->onSlideOngoing = [&](double) { calls.push_back("ongoing"); };
    model->onSlideComplete = [&](double) { calls.push_back("complete"); };
    auto host = make<SwiftUI::NSHostingView>(SwiftUI::AnyView(
        TideSlider(model, SwiftUI::Image(TideglassResources::image("organiser-icon-star-empty")),
                   SwiftUI::Image(TideglassResources::image("organiser-icon-star")))));
    host->setFrame({20, 70, 220, 24});
    content->addSubview(host);
    ASSERT_NO_FATAL_FAILURE(show());

    // Pressed between the knobs, dragged right, let go: the press gives the value.
    run({at({100, 82}), {"mousedown", "1"}, at({130, 82}), at({160, 82}), {"mouseup", "1"}},
        [&] { return !calls.empty() && calls.back() == "complete"; });
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front(), "started");
    for (size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_EQ(calls[i], "ongoing") << i;
    ASSERT_TRUE(model->value());
    EXPECT_GT(*model->value(), 5);
    EXPECT_LT(*model->value(), 10);
}

} // namespace
