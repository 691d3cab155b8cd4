// DSPKernel::process on 512-frame stereo blocks with the embedded models, on each
// kernel path (the process-wide path that KORVANE_KERNEL_PATH also chooses), at 44.1
// and 48 kHz. "core_share" = processing time / audio duration: the part of one core's
// real time the kernel needs (1.0 = a whole core).
//   steady: one model playing.
//   worst:  a model switch every block, so one model fades in while three fade
//           out (2048-sample fades): four networks per channel.
// bench/korvane/speed_report.py runs these interleaved and reports min and median.

#include "DSPKernel.h"
#include "Denormals.h"
#include "Korvane/ModelNetwork.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kFrames = 512;

void runKernel(benchmark::State& state, bool switchModels) {
    const double rate = double(state.range(0));
    const auto path = static_cast<Korvane::KernelPath>(state.range(1));
    if (!Korvane::setKernelPath(path)) {
        state.SkipWithError("kernel path not supported by this CPU");
        return;
    }
    state.SetLabel(Korvane::kernelPathName(path));
    DSPKernel kernel;
    const std::pair<AUParameterAddress, float> settings[] = {
        {DSPKernel::delayTypeAddress, 1}, {DSPKernel::delayMsAddress, 350},
        {DSPKernel::feedbackAddress, 50}, {DSPKernel::mixAddress, 50},
        {DSPKernel::modDepthAddress, 2},  {DSPKernel::lfoTypeAddress, 1},
        {DSPKernel::lowCutAddress, 100},  {DSPKernel::highCutAddress, 8000},
        {DSPKernel::dirtAddress, 20},     {DSPKernel::modelAddress, 0}};
    for (auto [address, value] : settings)
        kernel.setParameter(address, value);
    kernel.maxFrames = kFrames;
    kernel.channelCount = 2;
    kernel.initialize(rate);

    std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
    std::uint32_t seed = 7;
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        left[i] = 0.3f * (float(seed >> 8) / 16777216.0f - 0.5f);
        right[i] = -left[i];
    }
    const float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};

    int model = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (switchModels)
            kernel.setParameter(DSPKernel::modelAddress, float(model = (model + 1) % 4));
        const ScopedDenormalFlush flush;
        kernel.process(inputs, 2, outputs, 2, kFrames);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const double audioSeconds = double(state.iterations()) * kFrames / rate;
    state.counters["core_share"] = spent.count() / audioSeconds;
    if (switchModels)
        state.counters["fading"] = double(kernel.modelProcessors[0]->fadeOutCount());
    Korvane::setKernelPath(Korvane::bestKernelPath());
}

void BM_KernelSteady(benchmark::State& state) {
    runKernel(state, false);
}
void BM_KernelWorstCase(benchmark::State& state) {
    runKernel(state, true);
}

void ratesAndPaths(benchmark::internal::Benchmark* b) {
    using Korvane::KernelPath;
    for (int rate : {44100, 48000})
        for (KernelPath path : {KernelPath::Portable, KernelPath::Avx2, KernelPath::Avx512})
            b->Args({rate, int(path)});
}

BENCHMARK(BM_KernelSteady)->Apply(ratesAndPaths)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelWorstCase)->Apply(ratesAndPaths)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
