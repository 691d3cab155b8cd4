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

RenderSource clipSource(const AudioClip& clip) {
    RenderSource source;
    source.sampleRate = clip.sampleRate;
    source.channels = static_cast<AUAudioChannelCount>(clip.channels.size());
    source.statedFrames = clip.frames();
    source.read = [&clip, position = std::size_t{0}](std::span<float* const> channels,
                                                     std::size_t frames, std::string&) mutable {
        const std::size_t n = std::min(frames, clip.frames() - position);
        for (std::size_t c = 0; c < channels.size(); ++c)
            std::copy_n(clip.channels[c].begin() + std::ptrdiff_t(position), n, channels[c]);
        position += n;
        return std::optional<std::size_t>(n);
    };
    return source;
}

RenderFailure EffectHost::render(const RenderSource& source, const RenderSettings& settings,
                                 const RenderSink& sink, std::string& error,
                                 const std::function<void(double)>& progress) {
    const AUAudioChannelCount channels = source.channels;
    auto format = AVAudioFormat::standardFormat(source.sampleRate, channels);
    auto inputs = unit->inputBusses();
    auto outputs = unit->outputBusses();
    if (!format || !inputs || !outputs || inputs->count() < 1 || outputs->count() < 1 ||
        !(*inputs)[0]->setFormat(format) || !(*outputs)[0]->setFormat(format)) {
        error = "the effect does not accept " + std::to_string(channels) + " channels at " +
                std::to_string(static_cast<int>(source.sampleRate)) + " Hz";
        return RenderFailure::effect;
    }
    if (settings.blockSize < 1) {
        error = "the block size must be at least 1 frame";
        return RenderFailure::effect;
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
        return RenderFailure::effect;
    }

    const auto tailFrames =
        static_cast<std::size_t>(std::max(0.0, settings.tailSeconds) * source.sampleRate);
    const AUAudioFrameCount block = settings.blockSize;
    // The input's block, zero past its end; the pull block serves it.
    OwnedAudioBufferList inputBlock(channels, block);
    std::vector<float*> inputChannels(channels);
    for (std::uint32_t k = 0; k < channels; ++k)
        inputChannels[k] = inputBlock.channel(k);
    OwnedAudioBufferList outputList(channels, block);
    std::vector<const float*> outputChannels(channels);
    OwnedAudioBufferList pullScratch(channels, block);
    AURenderPullInputBlock pull = [&](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                      AUAudioFrameCount frames, NSInteger,
                                      AudioBufferList* data) -> AUAudioUnitStatus {
        for (std::uint32_t k = 0; k < data->mNumberBuffers; ++k) {
            AudioBuffer& buffer = data->mBuffers[k];
            if (!buffer.mData)
                buffer.mData = pullScratch.channel(std::min(k, channels - 1));
            std::copy_n(inputChannels[std::min(k, channels - 1)], frames,
                        static_cast<float*>(buffer.mData));
            buffer.mDataByteSize = frames * sizeof(float);
        }
        return noErr;
    };
    auto fail = [&](RenderFailure failure) {
        unit->deallocateRenderResources();
        return failure;
    };

    // The input is read block by block until it ends; the tail's length then fixes
    // where the render ends, so every block but the last is `block` frames long.
    std::size_t position = 0;
    std::optional<std::size_t> total; // known once the input ended
    const std::optional<std::size_t> estimate =
        source.statedFrames ? std::optional(*source.statedFrames + tailFrames) : std::nullopt;
    AURenderBlock renderBlock = unit->renderBlock();
    for (;;) {
        std::size_t held = 0; // frames of input in the block buffer, the rest zero
        if (!total) {
            std::optional<std::size_t> got = source.read(inputChannels, block, error);
            if (!got)
                return fail(RenderFailure::input);
            if (*got < block)
                total = position + *got + tailFrames;
            held = *got;
        }
        for (float* channel : inputChannels)
            std::fill(channel + held, channel + block, 0.0f);
        const auto frames = static_cast<AUAudioFrameCount>(
            total ? std::min<std::size_t>(block, *total - position) : block);
        if (frames == 0)
            break;
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
            return fail(RenderFailure::effect);
        }
        for (std::uint32_t k = 0; k < channels; ++k)
            outputChannels[k] = static_cast<const float*>(outputList[k].mData);
        if (!sink(outputChannels, frames, error))
            return fail(RenderFailure::output);
        position += frames;
        if (progress && (total || estimate))
            progress(std::min(1.0, double(position) / double(total ? *total : *estimate)));
        if (total && position == *total)
            break;
    }
    unit->deallocateRenderResources();
    return RenderFailure::none;
}

std::optional<AudioClip> EffectHost::render(const AudioClip& input, const RenderSettings& settings,
                                            std::string& error,
                                            const std::function<void(double)>& progress) {
    AudioClip output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(input.channels.size(), {});
    const RenderSink collect = [&](std::span<const float* const> channels, std::size_t frames,
                                   std::string&) {
        for (std::size_t c = 0; c < channels.size(); ++c)
            output.channels[c].insert(output.channels[c].end(), channels[c], channels[c] + frames);
        return true;
    };
    if (render(clipSource(input), settings, collect, error, progress) != RenderFailure::none)
        return std::nullopt;
    return output;
}
