#pragma once
// What a host does with the effect once its unit exists: set the formats, the block
// size and the tempo, allocate, render a clip through the render block with a
// pull-input block, write parameters through the parameter tree as automation
// does, apply factory presets, and save and restore the unit's state.
// Main thread (the host renders on the thread that calls render()).

#include "AudioFile.h"

#include "AudioToolbox/AUAudioUnit.h"
#include "FactoryPresets.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

// The input of a render, taken a block at a time.
struct RenderSource {
    double sampleRate = 44100;
    AUAudioChannelCount channels = 2;
    // The length the input states, for the progress; none when it does not know.
    std::optional<std::size_t> statedFrames;
    // Fills channels[c][0...frames) for each channel; returns the frames filled, fewer
    // than asked only at the end of the input. None, with the reason in `error`, when
    // the input cannot be read on.
    std::function<std::optional<std::size_t>(std::span<float* const> channels, std::size_t frames,
                                             std::string& error)>
        read;
};

// Takes each rendered block, channels[c][0...frames); false, with the reason in
// `error`, when it cannot.
using RenderSink = std::function<bool(std::span<const float* const> channels, std::size_t frames,
                                      std::string& error)>;

// A clip as a render's input.
RenderSource clipSource(const AudioClip& clip);

enum class RenderFailure { none, input, output, effect };

struct RenderSettings {
    AUAudioFrameCount blockSize = 512;
    double tempo = 120;
    double tailSeconds = 2;
};

class EffectHost {
  public:
    explicit EffectHost(std::shared_ptr<AUAudioUnit> unit) : unit(std::move(unit)) {}

    AUAudioUnit& audioUnit() { return *unit; }

    // Writes one parameter by identifier through the tree; false when the tree
    // has no such parameter.
    bool setParameter(const std::string& identifier, AUValue value);
    // The value the tree reports (the kernel's last raw value), nullopt if unknown.
    std::optional<AUValue> parameterValue(const std::string& identifier) const;
    // Writes a preset's values in the editor's order and records its id in the
    // unit's state.
    void applyPreset(const FactoryPreset& preset);

    // Renders the input followed by the tail of silence, at the input's rate and
    // channel count, one block of settings.blockSize frames at a time: each block is
    // read from the source, rendered and handed to the sink before the next is read,
    // so what the render holds is a few blocks whatever the input's length.
    // `progress` (optional) is told the fraction done after each block, while the
    // input's length is known. On failure says which side failed, with a reason in
    // `error`.
    RenderFailure render(const RenderSource& source, const RenderSettings& settings,
                         const RenderSink& sink, std::string& error,
                         const std::function<void(double)>& progress = {});
    // The same for a clip, whose result is a clip; nullopt on failure.
    std::optional<AudioClip> render(const AudioClip& input, const RenderSettings& settings,
                                    std::string& error,
                                    const std::function<void(double)>& progress = {});

  private:
    std::shared_ptr<AUAudioUnit> unit;
};
