// The value controls at work: a segmented control of five tabs drawn whole, a drag step
// across the multi-knob slider (gesture, model, callbacks, rebuild and redraw), and a
// keystroke into a search field with its delayed search going out.

#include <benchmark/benchmark.h>

#include "Controls/StyledSearchField.h"
#include "Controls/StyledSegmentedControl.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "SwiftUISupport/TideSlider.h"
#include "TestSupport/ControlHarness.h"

namespace {

void ASegmentedControlDrawn(benchmark::State& state) {
    RunLoopTestScope scope;
    auto control = make<StyledSegmentedControl>(CGRect{10, 10, 400, 30});
    control->setSegmentCount(5);
    for (int i = 0; i < 5; ++i) {
        control->setLabel("Tab " + std::to_string(i), i);
        control->setWidth(0, i);
    }
    control->setHideSelection(false);
    control->setSelectedSegment(2);
    auto h = ControlHarness::holding(control, {420, 50});
    for (auto _ : state)
        benchmark::DoNotOptimize(h.drawnBy(*control));
}
BENCHMARK(ASegmentedControlDrawn)->Unit(benchmark::kMicrosecond);

void ADragStepAcrossTheMultiKnobSlider(benchmark::State& state) {
    RunLoopTestScope scope;
    auto model = std::make_shared<TideSliderModel>(std::vector<CGFloat>{2, 5, 8}, 5, 0, 10, 1,
                                                   false, SliderIconClickBehaviour::maxMin);
    int moved = 0;
    model->onSlideStarted = [&](double) { ++moved; };
    model->onSlideOngoing = [&](double) { ++moved; };
    ControlHarness h(SwiftUI::AnyView(TideSlider(
                         model, SwiftUI::Image(TideglassResources::image("organiser-icon-star")),
                         SwiftUI::Image(TideglassResources::image("organiser-icon-star")))),
                     {240, 24});
    h.turn();           // the track measured
    h.press({150, 12}); // between the knobs: the value jumps there
    CGFloat x = 150;
    for (auto _ : state) {
        x = x >= 200 ? 60 : x + 3;
        h.drag({x, 12});
        benchmark::DoNotOptimize(h.drawn());
    }
    h.release({x, 12});
    if (moved == 0)
        state.SkipWithError("the drag moved nothing");
}
BENCHMARK(ADragStepAcrossTheMultiKnobSlider)->Unit(benchmark::kMicrosecond);

void AKeystrokeIntoASearchField(benchmark::State& state) {
    RunLoopTestScope scope;
    auto field = make<StyledSearchField>(CGRect{10, 10, 200, 22});
    struct Sink : NSObject {
        long searches = 0;
        void search(NSObject*) { ++searches; }
    };
    auto sink = make<Sink>();
    field->setTarget(sink);
    field->setAction(&Sink::search);
    auto h = ControlHarness::holding(field, {220, 42});
    h.click(h.centre(*field));
    for (auto _ : state) {
        h.type("a");
        scope.clock().advance(NSSearchField::searchDelay + 0.01);
        h.turn();
        h.key(NSEventSpecialKey::backspace);
    }
    if (sink->searches == 0)
        state.SkipWithError("no search went out");
}
BENCHMARK(AKeystrokeIntoASearchField)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
