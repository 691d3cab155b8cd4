// A render thread runs cycles with parameter events while the main thread applies
// presets, switches models, drains the echo and saves and restores state: under
// ThreadSanitizer this must run clean, and in every build the output stays finite.
#include "EffectFixture.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace {

using ConcurrencyTest = EffectFixture;

TEST_F(ConcurrencyTest, RenderThreadAgainstMainThreadEditing) {
    allocate(44100, 2, 256);
    std::atomic<bool> finished{false};
    std::atomic<bool> finite{true};
    std::atomic<int> failures{0};
    std::thread render([&] {
        BlockRenderer renderer(*unit, 2, 256);
        renderer.input.assign(2, std::vector<float>(44100, 0.0f));
        for (std::size_t i = 0; i < renderer.input[0].size(); i += 4410)
            renderer.input[0][i] = renderer.input[1][i] = 0.8f;
        auto schedule = unit->scheduleParameterBlock();
        for (int cycle = 0; cycle < 160; ++cycle) {
            const auto start = static_cast<AUEventSampleTime>(renderer.sampleTime);
            schedule(start + 10, 0, ParameterAddress::feedback, float(30 + cycle % 60));
            schedule(start + 128, 0, ParameterAddress::delayMs, float(50 + cycle));
            if (cycle % 40 == 20)
                schedule(start, 0, ParameterAddress::delayType, float(cycle / 40 % 2));
            if (renderer.render(256) != noErr)
                failures.fetch_add(1);
            for (std::uint32_t c = 0; c < 2; ++c)
                for (int i = 0; i < 256; ++i)
                    if (!std::isfinite(renderer.output(c)[i]))
                        finite = false;
        }
        finished = true;
    });

    const auto& presets = settings().factoryPresets;
    std::size_t step = 0;
    std::optional<PropertyListDictionary> saved;
    while (!finished) {
        settings().applyFactoryPreset(presets[(step * 7) % presets.size()]);
        parameter("model").setValue(float(step % 4));
        settings().updateMeters(); // drains the echo table, reads the meters
        if (step % 3 == 0)
            saved = unit->fullState();
        else if (saved)
            unit->setFullState(saved);
        drainMainQueue();
        ++step;
    }
    render.join();
    drainMainQueue();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(finite.load());
    EXPECT_GT(step, 0u);
}

} // namespace
