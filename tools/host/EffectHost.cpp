#include "EffectHost.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "ParameterDefinitions.h"

#include <algorithm>
#include <cmath>
#include <limits>

bool EffectHost::setParameter(const std::string& identifier, AUValue value) {
    auto tree = unit->parameterTree();
    auto parameter = tree ? tree->parameter(identifier) : nullptr;
    if (!parameter)
        return false;
    parameter->setValue(value);
    return true;
}

std::optional<AUValue> EffectHost::parameterValue(const std::string& identifier) const {
    auto tree = unit->parameterTree();
    auto parameter = tree ? tree->parameter(identifier) : nullptr;
    if (!parameter)
        return std::nullopt;
    return parameter->value();
}

void EffectHost::applyPreset(const FactoryPreset& preset) {
    for (const PresetParameterWrite& write : presetParameterWrites(preset))
        setParameter(parameterDefinition(write.address)->identifier, write.value);
    // The preset id travels in the saved state; restoring the unit's own state with
    // it selects the preset without changing a value.
    if (std::optional<PropertyListDictionary> state = unit->fullState()) {
        (*state)[presetIdStateKey] = preset.id();
        unit->setFullState(state);
    }
}

std::optional<AudioClip> EffectHost::render(const AudioClip& input, const RenderSettings& settings,
                                            std::string& error,
                                            const std::function<void(double)>& progress) {
    const auto channels = static_cast<AUAudioChannelCount>(input.channels.size());
    auto format = AVAudioFormat::standardFormat(input.sampleRate, channels);
    auto inputs = unit->inputBusses();
    auto outputs = unit->outputBusses();
    if (!format || !inputs || !outputs || inputs->count() < 1 || outputs->count() < 1 ||
        !(*inputs)[0]->setFormat(format) || !(*outputs)[0]->setFormat(format)) {
        error = "the effect does not accept " + std::to_string(channels) + " channels at " +
                std::to_string(static_cast<int>(input.sampleRate)) + " Hz";
        return std::nullopt;
    }
    if (settings.blockSize < 1) {
        error = "the block size must be at least 1 frame";
        return std::nullopt;
    }
    if (unit->renderResourcesAllocated())
        unit->deallocateRenderResources();
    unit->setMaximumFramesToRender(settings.blockSize);
    const double tempo = settings.tempo;
    unit->setMusicalContextBlock(
        [tempo](double* currentTempo, double*, NSInteger*, double*, NSInteger*, double*) {
            if (currentTempo)
                *currentTempo = tempo;
            return true;
        });
    if (std::optional<AUError> failure = unit->allocateRenderResources()) {
        error = "the effect cannot render: " + failure->message + " (status " +
                std::to_string(failure->code) + ")";
        return std::nullopt;
    }

    const std::size_t inputFrames = input.frames();
    const std::size_t total =
        inputFrames +
        static_cast<std::size_t>(std::max(0.0, settings.tailSeconds) * input.sampleRate);
    AudioClip output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(channels, std::vector<float>(total));

    const AUAudioFrameCount block = settings.blockSize;
    OwnedAudioBufferList outputList(channels, block);
    OwnedAudioBufferList pullScratch(channels, block);
    std::size_t position = 0;
    // The host's side of the input: the clip, then silence.
    AURenderPullInputBlock pull = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                      AUAudioFrameCount frames, NSInteger,
                                      AudioBufferList* data) -> AUAudioUnitStatus {
        for (std::uint32_t k = 0; k < data->mNumberBuffers; ++k) {
            AudioBuffer& buffer = data->mBuffers[k];
            if (!buffer.mData)
                buffer.mData = pullScratch.channel(std::min(k, channels - 1));
            auto* samples = static_cast<float*>(buffer.mData);
            const auto& source = input.channels[std::min<std::size_t>(k, channels - 1)];
            for (AUAudioFrameCount i = 0; i < frames; ++i)
                samples[i] = position + i < inputFrames ? source[position + i] : 0.0f;
            buffer.mDataByteSize = frames * sizeof(float);
        }
        return noErr;
    };

    AURenderBlock renderBlock = unit->renderBlock();
    while (position < total) {
        const auto frames =
            static_cast<AUAudioFrameCount>(std::min<std::size_t>(block, total - position));
        for (std::uint32_t k = 0; k < channels; ++k) {
            outputList[k].mData = outputList.channel(k);
            outputList[k].mDataByteSize = frames * sizeof(float);
        }
        AudioTimeStamp timestamp{};
        timestamp.mSampleTime = static_cast<double>(position);
        timestamp.mFlags = kAudioTimeStampSampleTimeValid;
        AudioUnitRenderActionFlags flags = 0;
        const AUAudioUnitStatus status =
            renderBlock(&flags, &timestamp, frames, 0, outputList.get(), pull);
        if (status != noErr) {
            error = "rendering failed with status " + std::to_string(status) + " at frame " +
                    std::to_string(position);
            unit->deallocateRenderResources();
            return std::nullopt;
        }
        for (std::uint32_t k = 0; k < channels; ++k) {
            const auto* rendered = static_cast<const float*>(outputList[k].mData);
            std::copy(rendered, rendered + frames, output.channels[k].begin() + position);
        }
        position += frames;
        if (progress)
            progress(static_cast<double>(position) / static_cast<double>(total));
    }
    unit->deallocateRenderResources();
    return output;
}
