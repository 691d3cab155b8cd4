// One frame of the editor while it plays, in a real window on a private virtual X screen
// (Xvfb), at a scale factor of 1 and 2: a meter tick (the levels move; the tree updates,
// what changed is laid out, the dirty region drawn and shown) and a step of a dial's drag
// (the value, the film strip's frame and the label change). The whole window redrawn and
// shown is measured beside them, for scale. Without Xvfb the benchmarks report an error.

#include "AudioUnitViewController.h"
#include "Settings.h"
#include "VirtualScreen.h"

#include "Display/DisplayServer.h"
#include "Foundation/RunLoop.h"
#include "SwiftUI/NSHostingView.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const AudioComponentDescription emberfall{kAudioUnitType_Effect, fourCharCode("embf"),
                                          fourCharCode("Embf"), 0, 0};
constexpr CGSize editorSize{472, 672};

class EditorWindow {
  public:
    explicit EditorWindow(CGFloat scale) {
        if (!VirtualScreen::start(&failure))
            return;
        setenv("EMBERFALL_SCALE", scale == 2 ? "2" : "1", 1);
        server = DisplayServer::connect(&failure);
        if (!server)
            return;
        controller = make<AudioUnitViewController>();
        AUError error;
        if (!controller->createAudioUnit(emberfall, &error)) {
            failure = error.message;
            server.reset();
            return;
        }
        window = make<NSWindow>(CGRect{{0, 0}, editorSize});
        window->setContentView(controller->view());
        shown = server->show(window);
        controller->viewDidAppearOnScreen();
        host = SwiftUI::NSHostingView::firstIn(controller->view());
        frame();
    }
    ~EditorWindow() {
        shown.reset();
        window.reset();
        server.reset();
    }
    bool ready(benchmark::State& state) const {
        if (!server)
            state.SkipWithError(failure.c_str());
        return server != nullptr;
    }

    // The main queue's work (the tree's update), then the window's redraw and present.
    void frame() {
        RunLoop::main().runUntilIdle();
        shown->present();
    }
    void setLevels(double in, double out) {
        Settings& s = *controller->settings();
        s.inLevelL.set(in);
        s.inLevelR.set(in * 0.8);
        s.outLevelL.set(out);
        s.outLevelR.set(out * 0.9);
    }
    // A point of the hosting view (top-left origin) in the window's coordinates.
    void mouse(NSEvent::Type type, CGPoint p) {
        window->sendEvent(NSEvent::mouse(type, host->convertToView(p, nullptr)));
    }

    // The test clock keeps the view model's meter timer still: the benchmark moves the
    // levels itself.
    RunLoopTestScope scope;
    std::string failure;
    std::unique_ptr<DisplayServer> server;
    std::shared_ptr<AudioUnitViewController> controller;
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<DisplayWindow> shown;
    std::shared_ptr<SwiftUI::NSHostingView> host;
};

void MeterTickFrame(benchmark::State& state) {
    EditorWindow editor(CGFloat(state.range(0)));
    if (!editor.ready(state))
        return;
    double level = 0;
    for (auto _ : state) {
        // A level that walks up and falls back, lighting and darkening segments.
        level = level >= 98 ? 1 : level + 1.37;
        editor.setLevels(level, 100 - level);
        editor.frame();
    }
}
BENCHMARK(MeterTickFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void DialDragFrame(benchmark::State& state) {
    EditorWindow editor(CGFloat(state.range(0)));
    if (!editor.ready(state))
        return;
    CGRect dial = editor.host->graph().frame("dial-feedback").value_or(CGRect{});
    const CGPoint knob{dial.midX(), dial.midY()};
    editor.mouse(NSEvent::Type::leftMouseDown, knob);
    editor.frame();
    int step = 0;
    for (auto _ : state) {
        // Up and down by 2 points a frame, 40 frames each way.
        int k = step++ % 80;
        CGFloat dy = CGFloat(k < 40 ? -2 * k : -2 * (80 - k));
        editor.mouse(NSEvent::Type::leftMouseDragged, {knob.x, knob.y + dy});
        editor.frame();
    }
    editor.mouse(NSEvent::Type::leftMouseUp, knob);
}
BENCHMARK(DialDragFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void WholeWindowFrame(benchmark::State& state) {
    EditorWindow editor(CGFloat(state.range(0)));
    if (!editor.ready(state))
        return;
    for (auto _ : state) {
        editor.window->invalidate({{0, 0}, editorSize});
        editor.frame();
    }
}
BENCHMARK(WholeWindowFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
