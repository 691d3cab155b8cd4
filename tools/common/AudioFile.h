#pragma once
// Audio clips for the tools: reading and writing files (libsndfile), samples as
// one float vector per channel, and their levels. Any thread that owns the clip.

#include <optional>
#include <string>
#include <vector>

struct AudioClip {
    double sampleRate = 44100;
    std::vector<std::vector<float>> channels; // one vector per channel, equal lengths

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// Reads any file libsndfile understands at 8 to 192 kHz with one or two channels.
// On failure returns nullopt and a readable reason in `error`.
std::optional<AudioClip> readAudioFile(const std::string& path, std::string& error);

// Peak and RMS of each channel in dBFS (-inf for silence), over its finite samples;
// NaN and infinite samples are counted apart and left out of both.
struct ChannelLevels {
    double peakDb;
    double rmsDb;
    std::size_t nonFinite = 0;
};
std::vector<ChannelLevels> measureLevels(const AudioClip& clip);

// Writes a 32-bit float WAV file. On failure returns false with a reason in `error`.
bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error);
