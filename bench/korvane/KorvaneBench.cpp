// Run: bench/korvane/speed_report.py (interleaved repetitions, min and median per path), or
// build/bin/KorvaneBench. Step benchmarks count channel-steps as items, so items_per_second
// gives the ns per channel-step of every kind alike; "core" is the share of one core that
// the measured work takes in real time at 44.1 kHz (one iteration = one sample).
#include "BinaryData.h"
#include "Korvane/ModelNetwork.h"
#include "Korvane/MultiModelProcessor.h"
#include "PlainEigenStep.h"
#include "TestSupport.h"

#include <benchmark/benchmark.h>

#include <xmmintrin.h>

#include <cmath>

namespace {

using namespace Korvane;

// Denormals flushed, as on the render thread.
void flushDenormals() {
    _mm_setcsr(_mm_getcsr() | 0x8040);
}

bool usePath(benchmark::State& state) {
    const auto path = static_cast<KernelPath>(state.range(0));
    if (!setKernelPath(path)) {
        state.SkipWithError("kernel path not supported by this CPU");
        return false;
    }
    state.SetLabel(kernelPathName(path));
    return true;
}

const testing::DocumentArrays& arrays(unsigned seed) {
    static const testing::DocumentArrays all[4] = {
        testing::randomArrays(1, 0.15f), testing::randomArrays(2, 0.15f),
        testing::randomArrays(3, 0.15f), testing::randomArrays(4, 0.15f)};
    return all[(seed - 1) % 4];
}

std::shared_ptr<const ModelWeights> model(unsigned seed) {
    return testing::parse(testing::writeDocument(arrays(seed)));
}

float signal(int i) {
    return 0.4f * std::sin(0.013f * float(i)) + 0.1f * std::sin(0.21f * float(i));
}

void shareOfCore(benchmark::State& state) {
    state.counters["core"] = benchmark::Counter(
        1.0 / 44100.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One channel's network step on a kernel path.
void NetworkStep(benchmark::State& state) {
    flushDenormals();
    if (!usePath(state))
        return;
    ModelNetwork network;
    network.setWeights(model(1));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(network.step(signal(i++)));
    state.SetItemsProcessed(state.iterations());
    setKernelPath(bestKernelPath());
}

// Two channels' steps over the same weights at once, as a stereo kernel runs them.
void NetworkStepPair(benchmark::State& state) {
    flushDenormals();
    if (!usePath(state))
        return;
    const auto weights = model(1);
    ModelNetwork left, right;
    left.setWeights(weights);
    right.setWeights(weights);
    int i = 0;
    for (auto _ : state) {
        const float x = signal(i++);
        ModelNetwork::stepPair(left, x, right, -0.5f * x);
        benchmark::DoNotOptimize(left.output());
        benchmark::DoNotOptimize(right.output());
    }
    state.SetItemsProcessed(2 * state.iterations());
    setKernelPath(bestKernelPath());
}

// The same network written the plain way with Eigen (-O3 -march=native).
void PlainEigenStep(benchmark::State& state) {
    flushDenormals();
    const testing::DocumentArrays& a = arrays(1);
    bench::PlainEigenNetwork network({a.inW.data(), a.inB.data(), a.gru1.ih.data(),
                                      a.gru1.hh.data(), a.gru1.bih.data(), a.gru1.bhh.data(),
                                      a.gru2.ih.data(), a.gru2.hh.data(), a.gru2.bih.data(),
                                      a.gru2.bhh.data(), a.outW.data(), a.outB});
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(network.step(signal(i++)));
    state.SetItemsProcessed(state.iterations());
}

void ProcessorSample(benchmark::State& state) {
    flushDenormals();
    setKernelPath(bestKernelPath());
    ModelProcessor p(1);
    p.setupProcessing(double(state.range(0)), 512);
    p.loadModel(model(1));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(p.processSample(signal(i++)));
}

// What the kernel runs per stereo sample: one bank per channel, four models each, the
// weights of each model shared by both banks, the two banks stepped as a pair.
// fading = how many models fade out beside the active one.
void KernelStereoSample(benchmark::State& state) {
    flushDenormals();
    if (!usePath(state))
        return;
    const int fading = int(state.range(1));
    std::shared_ptr<const ModelWeights> weights[4] = {model(1), model(2), model(3), model(4)};
    MultiModelProcessor banks[2] = {MultiModelProcessor(4, 1), MultiModelProcessor(4, 1)};
    for (auto& bank : banks) {
        bank.setupProcessing(44100.0, 512);
        for (int k = 0; k < 4; ++k)
            bank.loadModel(k, weights[k]);
        bank.setActiveModel(0, 2048);
        for (int k = 1; k <= fading; ++k) {
            bank.processSample(0.1f);        // each retired model must have become audible
            bank.setActiveModel(k, 1 << 20); // fades that outlast the run
        }
    }
    int i = 0;
    float left = 0.0f, right = 0.0f;
    for (auto _ : state) {
        const float x = signal(i++);
        MultiModelProcessor::processSamplePair(banks[0], x, banks[1], -x, left, right);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
    }
    shareOfCore(state);
    state.counters["steps"] = double(2 * (fading + 1));
    setKernelPath(bestKernelPath());
}

void ParseDocument(benchmark::State& state, std::string text) {
    for (auto _ : state)
        benchmark::DoNotOptimize(testing::parse(text));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
    state.counters["bytes"] = double(text.size());
}

void ParseTrainedSizeDocument(benchmark::State& state) {
    ParseDocument(state, testing::writeDocument(testing::randomArrays(9, 0.3f), "", 17));
}

void ParseEmbeddedDocument(benchmark::State& state) {
    ParseDocument(state, std::string(reinterpret_cast<const char*>(BinaryData::model13_json),
                                     BinaryData::model13_jsonSize));
}

constexpr int kPaths[] = {int(KernelPath::Reference), int(KernelPath::Portable),
                          int(KernelPath::Avx2), int(KernelPath::Avx512)};

void eachPath(benchmark::internal::Benchmark* b) {
    for (int p : kPaths)
        b->Arg(p);
}

void eachPathAndLoad(benchmark::internal::Benchmark* b) {
    for (int p : kPaths)
        for (int fading : {0, 3})
            b->Args({p, fading});
}

BENCHMARK(NetworkStep)->Apply(eachPath);
BENCHMARK(NetworkStepPair)->Apply(eachPath);
BENCHMARK(PlainEigenStep);
BENCHMARK(ProcessorSample)->Arg(44100)->Arg(48000);
BENCHMARK(KernelStereoSample)->Apply(eachPathAndLoad);
BENCHMARK(ParseTrainedSizeDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseEmbeddedDocument)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
