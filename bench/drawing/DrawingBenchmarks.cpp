#include "AppKit/AppKit.h"

#include <benchmark/benchmark.h>

namespace {

void fontLookup(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CGFont::named("Dosis-Medium", 13));
}
BENCHMARK(fontLookup);

void textMeasuring(benchmark::State& state) {
    CGFont font = *CGFont::named("Dosis-Light", 14);
    for (auto _ : state)
        benchmark::DoNotOptimize(CGTextMeasure("2.1 AVAILABLE", font));
}
BENCHMARK(textMeasuring);

// A flipped view that draws a background, a rounded rectangle and a label, like a
// small control.
struct Tile : NSView {
    using NSView::NSView;
    bool isFlipped() const override { return true; }
    void drawRect(CGRect) override {
        NSColor::rgb(0.2, 0.2, 0.25)->setFill();
        NSBezierPath::roundedRect(bounds(), 4, 4)->fill();
        NSStringDraw("MIX", CGPoint{4, 4}, {.font = font, .color = NSColor::whiteColor()});
    }
    std::shared_ptr<NSFont> font = NSFont::named("Dosis-Medium", 13);
};

// The editor's canvas size with `range(0)` tiles, drawn at `range(1)` pixels per point.
void windowSnapshot(benchmark::State& state) {
    auto window = make<NSWindow>(CGRect{0, 0, 472, 672});
    window->setBackingScaleFactor(CGFloat(state.range(1)));
    for (int i = 0; i < state.range(0); ++i)
        window->contentView()->addSubview(
            make<Tile>(CGRect{CGFloat(i % 6) * 78, CGFloat(i / 6) * 60, 72, 56}));
    for (auto _ : state)
        benchmark::DoNotOptimize(window->snapshot(false));
}
BENCHMARK(windowSnapshot)->Args({24, 1})->Args({24, 2})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
