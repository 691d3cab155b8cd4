// One frame of each of the package's shaders (the main window's waveform at 400 × 300
// points, the about view at 300 × 300, the supporter view at 360 × 240), at 1 and 2
// pixels per point, on 1, 2, 4 and 8 worker threads: the renderer encodes, the device
// rasterises and shades, the layer gets the frame. Wall time per frame, and the CPU time
// of the whole process per frame ("cpu_ms", all threads), from which "cores_at_60fps" is
// what 60 frames a second would cost.
// MainWindowFrame: the application's window animating in a real window (Xvfb) at scale
// 1 and 2 — a frame drawn by the timer's draw, the window's dirty region redrawn and shown —
// with the same counters. Without Xvfb it reports an error.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "AboutShaderView.h"
#include "AppKit/NSApplication.h"
#include "AppKit/NSWindow.h"
#include "Display/DisplayServer.h"
#include "EmberfallApp.h"
#include "Foundation/RunLoop.h"
#include "MetalShaderRenderer.h"
#include "SupporterShaderView.h"
#include "SwiftUI/App.h"
#include "SwiftUI/NSHostingView.h"
#include "VirtualScreen.h"

namespace {

double processCPUSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void report(benchmark::State& state, double cpuSeconds) {
    const double perFrame = cpuSeconds / double(state.iterations());
    state.counters["cpu_ms"] = perFrame * 1000;
    state.counters["cores_at_60fps"] = perFrame * 60;
}

enum Shader { waveform, about, supporter };

void ShaderFrame(benchmark::State& state) {
    const auto shader = Shader(state.range(0));
    const CGFloat scale = CGFloat(state.range(1));
    auto device = MTLCreateSystemDefaultDevice();
    device->setWorkerThreadCount(unsigned(state.range(2)));
    RunLoopTestScope loop;
    const CGSize size = shader == waveform ? CGSize{400, 300}
                        : shader == about  ? CGSize{300, 300}
                                           : CGSize{360, 240};
    auto window = make<NSWindow>(CGRect{{0, 0}, size});
    window->setBackingScaleFactor(scale);
    auto view = make<MTKView>(CGRect{{0, 0}, size}, device);
    view->setColorPixelFormat(MTLPixelFormat::rgba16Float);
    view->setPaused(true);
    window->contentView()->addSubview(view);
    view->layer()->setContentsScale(scale);
    std::shared_ptr<ShaderRendererBase> renderer;
    if (shader == waveform)
        renderer = make<MetalShaderRenderer>(*view, "Main", "audioWaveformVertexShader",
                                             "audioWaveformFragmentShader");
    else if (shader == about)
        renderer = make<AboutRenderer>(*view);
    else {
        auto s = make<SupporterShaderRenderer>(*view, "Supporter");
        s->switchOnState = {1, 0, 1, 0, 1, 0};
        s->recordSwitchEvent(2);
        renderer = s;
    }
    view->setDelegate(renderer);
    const double cpu = processCPUSeconds();
    for (auto _ : state) {
        loop.clock().advance(1.0 / 60);
        view->draw();
    }
    report(state, processCPUSeconds() - cpu);
    device->setWorkerThreadCount(4);
}
BENCHMARK(ShaderFrame)
    ->ArgNames({"shader", "scale", "threads"})
    ->ArgsProduct({{waveform, about, supporter}, {1, 2}, {1, 2, 4, 8}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void MainWindowFrame(benchmark::State& state) {
    std::string failure;
    if (!VirtualScreen::start(&failure)) {
        state.SkipWithError(failure.c_str());
        return;
    }
    setenv("EMBERFALL_SCALE", state.range(0) == 2 ? "2" : "1", 1);
    auto server = DisplayServer::connect(&failure);
    if (!server) {
        state.SkipWithError(failure.c_str());
        return;
    }
    {
        RunLoopTestScope loop;
        EmberfallApp app;
        auto window = SwiftUI::makeWindow(app.body());
        auto shown = server->show(window);
        auto host = SwiftUI::NSHostingView::firstIn(window->contentView());
        std::shared_ptr<MTKView> band;
        std::function<void(const std::shared_ptr<NSView>&)> find =
            [&](const std::shared_ptr<NSView>& v) {
                if (auto m = std::dynamic_pointer_cast<MTKView>(v))
                    band = m;
                for (const auto& sub : v->subviews())
                    find(sub);
            };
        find(host);
        if (!band) {
            state.SkipWithError("no waveform view");
            return;
        }
        band->setPaused(true); // the benchmark draws the timer's frames itself
        shown->present();
        const double cpu = processCPUSeconds();
        for (auto _ : state) {
            loop.clock().advance(1.0 / 60);
            band->draw();
            RunLoop::main().runUntilIdle();
            shown->present();
        }
        report(state, processCPUSeconds() - cpu);
        shown->close();
    }
    server.reset();
}
BENCHMARK(MainWindowFrame)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
