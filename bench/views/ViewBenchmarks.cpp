// An editor-sized tree (twelve dials with labels and gestures, two 42-segment meters)
// rebuilt when an observed meter level changes, laid out, and drawn.

#include <benchmark/benchmark.h>

#include "CoreGraphics/CGContext.h"
#include "Observation/Observation.h"
#include "SwiftUI/SwiftUI.h"

using namespace SwiftUI;

namespace {

struct Levels {
    Observed<double> level{50};
};

struct Dial : View<Dial> {
    int index;
    AnyView body(ViewContext& ctx) const {
        State<bool> dragging = ctx.state(false);
        return ZStack(
            Circle()
                .fill(Color(0.3, 0.3, 0.3))
                .frame(56, 64)
                .offset(0, -16)
                .gesture(DragGesture(6).onChanged(
                    [dragging](const DragGesture::Value&) { dragging = true; })),
            VStack(Text("DIAL " + std::to_string(index)).font(Font::custom("Dosis-Medium", 14)),
                   HStack(4, Text(std::to_string(index * 10) + ".0"), Text("MS"))
                       .frame(std::nullopt, 40)));
    }
};

struct Meter : View<Meter> {
    double value;
    AnyView body() const {
        int lit = int(value / 100 * 42);
        return VStack(2.0, ForEach::range(0, 42, [lit](int i) {
                          return Rectangle()
                              .fill(41 - i < lit ? Color(0.2, 0.8, 0.3) : Color(0.2, 0.2, 0.2))
                              .frame(5, 2);
                      }));
    }
};

struct Editor : View<Editor> {
    AnyView body(ViewContext& ctx) const {
        auto levels = ctx.environment<Levels>();
        double v = levels->level.get();
        auto row = [](int from) {
            return HStack(VerticalAlignment::top(), 14.5, ForEach::range(from, from + 6, [](int i) {
                              return Dial{{}, i};
                          }));
        };
        return VStack(0, HStack(1, Meter{{}, v}, Meter{{}, 100 - v}), row(0), row(6))
            .frame(472, 672, Alignment::top());
    }
};

struct Fixture {
    std::shared_ptr<Levels> levels = std::make_shared<Levels>();
    ViewGraph graph{AnyView(Editor()).environment(levels)};
    Fixture() {
        graph.setUpdateScheduler([] {});
        graph.setSize({472, 672});
    }
};

void RebuildAndLayoutOnAMeterChange(benchmark::State& state) {
    Fixture f;
    double v = 0;
    for (auto _ : state) {
        v = v >= 100 ? 0 : v + 1;
        f.levels->level.set(v);
        f.graph.update();
    }
}
BENCHMARK(RebuildAndLayoutOnAMeterChange)->Unit(benchmark::kMicrosecond);

void DrawIntoARecordingContext(benchmark::State& state) {
    Fixture f;
    auto context = CGContext::makeBitmap(
        {472, 672}, {.scale = 2, .origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    for (auto _ : state) {
        context->clearDisplayList();
        f.graph.render(*context);
    }
}
BENCHMARK(DrawIntoARecordingContext)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
