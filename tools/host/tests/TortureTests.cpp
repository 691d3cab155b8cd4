// The effect loaded through the extension service and driven the way a plug-in
// validator drives it: every sample rate allocation accepts, block sizes from 1 to
// 4096 frames, noise, silence, impulses and full-scale square waves, automation of
// every parameter with events and ramps, factory presets between renders, saved
// states restored into new instances, and parameter writes from other threads while
// it renders. The output stays finite and free of subnormals, does not depend on
// how the host splits its blocks, and the render thread never touches the heap.
// Its own binary: it replaces the global operator new.

#include "AllocationCounting.h"
#include "BlockRenderer.h"
#include "EffectHost.h"
#include "EffectLoader.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "FactoryPresets.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"
#include "ParameterDefinitions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

namespace {

constexpr AUAudioFrameCount kMaxBlock = 4096;
constexpr AUAudioFrameCount kBlockSizes[] = {1, 7, 64, 512, 4096};
// Presets change between renders at the start of every second chunk of the largest
// block, a point every split of the chunk reaches.
constexpr AUAudioFrameCount kChunk = kMaxBlock;

LoadedEffect loadedEffect() {
    std::string error;
    std::optional<LoadedEffect> loaded = loadEffect(EMBERFALL_APPEX_PATH, error);
    if (!loaded)
        throw std::runtime_error(error);
    return std::move(*loaded);
}

// Sets the formats and the largest block, then allocates; the error when refused.
std::optional<AUError> allocate(AUAudioUnit& unit, double rate) {
    auto format = AVAudioFormat::standardFormat(rate, 2);
    if (!format || !(*unit.inputBusses())[0]->setFormat(format) ||
        !(*unit.outputBusses())[0]->setFormat(format))
        return AUError{-1, "format refused"};
    unit.setMaximumFramesToRender(kMaxBlock);
    return unit.allocateRenderResources();
}

// A random value for a parameter: mostly within its range (whole numbers for an
// indexed one), now and then beyond it as careless hosts send.
float randomValue(const ParameterDefinition& p, std::mt19937& random) {
    const float span = p.maximum - p.minimum;
    std::uniform_real_distribution<float> within(p.minimum - 0.5f * span, p.maximum + 0.5f * span);
    float value = std::uniform_int_distribution<int>(0, 15)(random) == 0
                      ? within(random)
                      : std::uniform_real_distribution<float>(p.minimum, p.maximum)(random);
    if (p.unit == ParameterUnit::indexed)
        value = std::round(value);
    return value;
}

// A quarter each of white noise, silence, impulses every 1,000 frames and a full-scale
// square wave of 50 Hz; the channels differ.
std::vector<std::vector<float>> torturePhrase(double rate, std::size_t frames) {
    std::vector<std::vector<float>> input(2, std::vector<float>(frames, 0.0f));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    const std::size_t quarter = frames / 4;
    const auto halfPeriod = std::size_t(rate / 100);
    for (std::size_t c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < frames; ++i) {
            float& x = input[c][i];
            switch (i / quarter) {
            case 0:
                x = noise(random);
                break;
            case 1:
                break;
            case 2:
                x = (i + 300 * c) % 1000 == 0 ? (c == 0 ? 1.0f : -1.0f) : 0.0f;
                break;
            default:
                x = (i / halfPeriod + c) % 2 == 0 ? 1.0f : -1.0f;
                break;
            }
        }
    return input;
}

struct Automation {
    AUEventSampleTime time;
    AUAudioFrameCount ramp;
    AUParameterAddress address;
    AUValue value;
};

// Two events every 32 frames, on parameters taken in turn so that all fourteen move;
// one in four a ramp.
std::vector<Automation> randomAutomation(std::size_t frames, unsigned seed) {
    std::vector<Automation> events;
    std::mt19937 random(seed);
    const auto& definitions = parameterDefinitions();
    std::size_t next = 0;
    for (std::size_t t = 0; t < frames; t += 32)
        for (int k = 0; k < 2; ++k) {
            const ParameterDefinition& p = definitions[next++ % definitions.size()];
            const bool ramp = std::uniform_int_distribution<int>(0, 3)(random) == 0;
            events.push_back({AUEventSampleTime(t + random() % 32),
                              ramp ? AUAudioFrameCount(1 + random() % 64) : 0u, p.address,
                              randomValue(p, random)});
        }
    std::stable_sort(events.begin(), events.end(),
                     [](const Automation& a, const Automation& b) { return a.time < b.time; });
    return events;
}

bool isClean(float x) {
    return std::isfinite(x) && std::fpclassify(x) != FP_SUBNORMAL;
}

struct Rendered {
    std::vector<std::vector<float>> output;
    long renderThreadAllocations = 0;
    std::string fault; // the first status or sample that went wrong
};

// Renders the phrase through a fresh instance in blocks of `block` frames, scheduling
// each event before the block that holds it and applying a factory preset at the
// start of every second chunk.
Rendered renderInBlocks(double rate, AUAudioFrameCount block,
                        const std::vector<std::vector<float>>& input,
                        const std::vector<Automation>& automation) {
    LoadedEffect effect = loadedEffect();
    Rendered result;
    if (std::optional<AUError> refused = allocate(*effect.unit, rate)) {
        result.fault = "allocation refused: " + refused->message;
        return result;
    }
    EffectHost host(effect.unit);
    const std::size_t frames = input[0].size();
    result.output.assign(2, std::vector<float>(frames));
    BlockRenderer renderer(*effect.unit, 2, kMaxBlock);
    renderer.input = input;
    AUScheduleParameterBlock schedule = effect.unit->scheduleParameterBlock();
    const auto& presets = allFactoryPresets();
    std::size_t nextEvent = 0;
    for (std::size_t chunk = 0; chunk < frames; chunk += kChunk) {
        if ((chunk / kChunk) % 2 == 1)
            host.applyPreset(presets[(chunk / kChunk / 2 * 7) % presets.size()]);
        const std::size_t chunkEnd = std::min(frames, chunk + kChunk);
        for (std::size_t start = chunk; start < chunkEnd; start += block) {
            const auto length = AUAudioFrameCount(std::min<std::size_t>(block, chunkEnd - start));
            const long before = AllocationCounting::threadAllocations;
            while (nextEvent < automation.size() &&
                   automation[nextEvent].time < AUEventSampleTime(start + length)) {
                const Automation& e = automation[nextEvent++];
                schedule(e.time, e.ramp, e.address, e.value);
            }
            const AUAudioUnitStatus status = renderer.render(length);
            result.renderThreadAllocations += AllocationCounting::threadAllocations - before;
            if (status != noErr) {
                result.fault =
                    "status " + std::to_string(status) + " at frame " + std::to_string(start);
                return result;
            }
            for (std::uint32_t c = 0; c < 2; ++c) {
                const float* out = renderer.output(c);
                std::copy(out, out + length, result.output[c].begin() + std::ptrdiff_t(start));
                for (AUAudioFrameCount i = 0; i < length && result.fault.empty(); ++i)
                    if (!isClean(out[i]))
                        result.fault = "sample " + std::to_string(out[i]) + " at frame " +
                                       std::to_string(start + i) + " of channel " +
                                       std::to_string(c);
            }
            if (!result.fault.empty())
                return result;
        }
        RunLoop::main().runUntilIdle(); // the editor's echoes, between renders
    }
    effect.unit->deallocateRenderResources();
    RunLoop::main().runUntilIdle();
    return result;
}

class EverySampleRate : public ::testing::TestWithParam<double> {};

TEST_P(EverySampleRate, EveryBlockSplitRendersTheSameCleanOutputWithoutAllocating) {
    const double rate = GetParam();
    const auto frames = std::size_t(std::max(rate * 0.25, 2.0 * kChunk));
    const auto input = torturePhrase(rate, frames);
    const auto automation = randomAutomation(frames, unsigned(rate));
    std::optional<Rendered> reference;
    for (AUAudioFrameCount block : kBlockSizes) {
        SCOPED_TRACE("blocks of " + std::to_string(block));
        Rendered rendered = renderInBlocks(rate, block, input, automation);
        ASSERT_EQ(rendered.fault, "");
        EXPECT_EQ(rendered.renderThreadAllocations, 0);
        if (!reference) {
            reference = std::move(rendered);
            continue;
        }
        for (std::size_t c = 0; c < 2; ++c) {
            const auto& a = reference->output[c];
            const auto& b = rendered.output[c];
            const auto differs = std::mismatch(a.begin(), a.end(), b.begin());
            EXPECT_TRUE(differs.first == a.end())
                << "channel " << c << " first differs at frame " << (differs.first - a.begin())
                << ": " << *differs.first << " against " << *differs.second;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Torture, EverySampleRate,
                         ::testing::Values(8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0,
                                           48000.0, 88200.0, 96000.0, 176400.0, 192000.0, 352800.0,
                                           384000.0),
                         [](const auto& info) { return std::to_string(int(info.param)); });

TEST(Torture, RatesBeyondTheRangeAreRefusedAtAllocation) {
    for (double rate : {7999.0, 384001.0, 1e9}) {
        LoadedEffect effect = loadedEffect();
        EXPECT_TRUE(allocate(*effect.unit, rate)) << rate;
        EXPECT_FALSE(effect.unit->renderResourcesAllocated()) << rate;
    }
}

// Random states saved, restored into a new instance and saved again, byte for byte.
TEST(Torture, RandomStatesSurviveARestoreIntoANewInstance) {
    std::mt19937 random(3);
    const auto& presets = allFactoryPresets();
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        LoadedEffect first = loadedEffect();
        PropertyListDictionary state = *first.unit->fullState();
        PropertyListDictionary& values = *state["parameters"].dictionary();
        for (const ParameterDefinition& p : parameterDefinitions())
            values[p.identifier] = double(randomValue(p, random));
        state[presetIdStateKey] =
            round % 3 == 0 ? std::string() : presets[random() % presets.size()].id();
        first.unit->setFullState(state);
        RunLoop::main().runUntilIdle();
        const std::optional<std::string> saved =
            PropertyListSerialization::write(*first.unit->fullState());
        ASSERT_TRUE(saved);

        LoadedEffect second = loadedEffect();
        second.unit->setFullState(*PropertyListSerialization::read(*saved)->dictionary());
        RunLoop::main().runUntilIdle();
        EXPECT_EQ(PropertyListSerialization::write(*second.unit->fullState()), saved);
    }
}

// Writers on three threads move every parameter through the tree (as a host's
// automation and its controls do) while the render thread runs: it stays clean and
// allocation-free.
TEST(Torture, ParameterWritesFromOtherThreadsWhileRendering) {
    LoadedEffect effect = loadedEffect();
    ASSERT_FALSE(allocate(*effect.unit, 48000));
    BlockRenderer renderer(*effect.unit, 2, kMaxBlock);
    renderer.input = torturePhrase(48000, 48000);
    renderer.loops = true;
    auto tree = effect.unit->parameterTree();
    std::atomic<bool> rendering{true};
    std::vector<std::thread> writers;
    for (unsigned w = 0; w < 3; ++w)
        writers.emplace_back([&, w] {
            std::mt19937 random(w);
            const auto& definitions = parameterDefinitions();
            while (rendering.load()) {
                const ParameterDefinition& p = definitions[random() % definitions.size()];
                tree->parameter(p.identifier)->setValue(randomValue(p, random));
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
        });
    long allocations = 0;
    std::string fault;
    const AUAudioFrameCount sizes[] = {512, 7, 4096, 64, 1};
    for (int cycle = 0; cycle < 60 && fault.empty(); ++cycle) {
        const AUAudioFrameCount frames = sizes[cycle % 5];
        const long before = AllocationCounting::threadAllocations;
        const AUAudioUnitStatus status = renderer.render(frames);
        allocations += AllocationCounting::threadAllocations - before;
        if (status != noErr)
            fault = "status " + std::to_string(status);
        for (std::uint32_t c = 0; c < 2 && fault.empty(); ++c)
            for (AUAudioFrameCount i = 0; i < frames; ++i)
                if (!isClean(renderer.output(c)[i])) {
                    fault = "sample " + std::to_string(renderer.output(c)[i]);
                    break;
                }
    }
    rendering = false;
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(fault, "");
    EXPECT_EQ(allocations, 0);
    effect.unit->deallocateRenderResources();
    RunLoop::main().runUntilIdle();
}

} // namespace
