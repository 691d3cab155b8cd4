// emberfall-demo [output.wav]
// Renders the built-in test phrase (stereo, 44.1 kHz) through the delay kernel's
// render cycle, as a host would, writes the result as a 32-bit float WAV file
// (default build/emberfall-demo.wav) and prints peak and RMS levels.

#include "AudioFile.h"
#include "TestPhrase.h"

#include "AUProcessHelper.h"
#include "BufferedInputBus.h"
#include "DSPKernel.h"
#include "RenderCycle.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AudioTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kSampleRate = 44100.0;
constexpr AUAudioFrameCount kBlock = 512;

struct Setting {
    DSPKernel::Address address;
    float value;
    const char* label;
};

// A dotted-eighth echo at 120 BPM through the first delay-line model.
const Setting kSettings[] = {
    {DSPKernel::delayTypeAddress, 1, "delay type: ms"},
    {DSPKernel::delayMsAddress, 375, "delay 375 ms"},
    {DSPKernel::feedbackAddress, 45, "feedback 45 %"},
    {DSPKernel::mixAddress, 40, "mix 40 %"},
    {DSPKernel::modelAddress, 0, "model bbd1"},
    {DSPKernel::modDepthAddress, 1.5f, "depth 1.5 ms"},
    {DSPKernel::modRateAddress, 0.6f, "rate 0.6 Hz"},
    {DSPKernel::lfoTypeAddress, 1, "shape sine"},
    {DSPKernel::widthAddress, 100, "width 100 %"},
    {DSPKernel::spreadAddress, 4, "spread 4 ms"},
    {DSPKernel::lowCutAddress, 80, "low cut 80 Hz"},
    {DSPKernel::highCutAddress, 9000, "high cut 9 kHz"},
    {DSPKernel::dirtAddress, 0, "dirt 0 %"},
};

void printLevels(const char* what, const std::vector<std::vector<float>>& channels) {
    AudioClip clip;
    clip.channels = channels;
    const auto levels = measureLevels(clip);
    for (std::size_t c = 0; c < levels.size(); ++c)
        std::printf("%-6s %s  peak %7.2f dBFS  RMS %7.2f dBFS\n", what, c == 0 ? "L" : "R",
                    std::max(levels[c].peakDb, -200.0), std::max(levels[c].rmsDb, -200.0));
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")))) {
        std::printf("usage: emberfall-demo [output.wav]   (default build/emberfall-demo.wav)\n");
        return argc > 2 ? 2 : 0;
    }
    const std::string path = argc == 2 ? argv[1] : "build/emberfall-demo.wav";

    // What the audio unit holds, set up the way it sets them up.
    DSPKernel kernel;
    BufferedInputBus inputBus;
    AUProcessHelper helper(kernel, inputBus);
    RenderCycle cycle(kernel, inputBus, helper);
    for (const Setting& s : kSettings)
        kernel.setParameter(s.address, s.value);
    cycle.setMaximumFramesToRender(kBlock);
    auto format = AVAudioFormat::standardFormat(kSampleRate, 2);
    const AUAudioUnitStatus allocated = cycle.allocateRenderResources(
        format, format, [](double* tempo, double*, NSInteger*, double*, NSInteger*, double*) {
            if (tempo)
                *tempo = 120.0;
            return true;
        });
    if (allocated != noErr) {
        std::fprintf(stderr, "emberfall-demo: render resources refused (%d)\n", int(allocated));
        return 1;
    }

    const demo::Phrase phrase = demo::makeTestPhrase(kSampleRate, 6.0);
    const std::size_t frames = phrase.frames();
    std::vector<std::vector<float>> output(2, std::vector<float>(frames, 0.0f));

    const AUInternalRenderBlock render = cycle.renderBlock();
    OwnedAudioBufferList out(2);
    double sampleTime = 0;
    const AURenderPullInputBlock pull =
        [&phrase, &sampleTime](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                               AUAudioFrameCount count, NSInteger,
                               AudioBufferList* input) -> AUAudioUnitStatus {
        for (std::uint32_t c = 0; c < input->mNumberBuffers; ++c)
            std::memcpy(input->mBuffers[c].mData,
                        phrase.channels[c].data() + std::size_t(sampleTime), count * sizeof(float));
        return noErr;
    };
    for (std::size_t done = 0; done < frames; done += kBlock) {
        const auto count = AUAudioFrameCount(std::min<std::size_t>(kBlock, frames - done));
        for (std::uint32_t c = 0; c < 2; ++c) {
            out[c].mData = output[c].data() + done;
            out[c].mDataByteSize = count * sizeof(float);
        }
        AudioTimeStamp timestamp;
        timestamp.mSampleTime = sampleTime;
        timestamp.mFlags = kAudioTimeStampSampleTimeValid;
        AudioUnitRenderActionFlags flags = 0;
        const AUAudioUnitStatus status =
            render(&flags, &timestamp, count, 0, out.get(), nullptr, pull);
        if (status != noErr) {
            std::fprintf(stderr, "emberfall-demo: render failed (%d)\n", int(status));
            return 1;
        }
        sampleTime += count;
    }
    cycle.deallocateRenderResources();

    std::printf("Emberfall demo: %.1f s test phrase, stereo, %.0f Hz\n",
                double(frames) / kSampleRate, kSampleRate);
    std::printf("settings:");
    for (const Setting& s : kSettings)
        std::printf(" %s;", s.label);
    std::printf("\n");
    printLevels("input", phrase.channels);
    printLevels("output", output);
    AudioClip result;
    result.sampleRate = kSampleRate;
    result.channels = std::move(output);
    std::string error;
    if (!writeAudioFile(path, result, error)) {
        std::fprintf(stderr, "emberfall-demo: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s\n", path.c_str());
    return 0;
}
