#include "AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace {

struct CloseFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using File = std::unique_ptr<SNDFILE, CloseFile>;

constexpr double minimumRate = 8000;
constexpr double maximumRate = 192000;

} // namespace

std::optional<AudioClip> readAudioFile(const std::string& path, std::string& error) {
    SF_INFO info{};
    File file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = "cannot read '" + path + "': " + sf_strerror(nullptr);
        return std::nullopt;
    }
    if (info.samplerate < minimumRate || info.samplerate > maximumRate) {
        error = "'" + path + "' has a sample rate of " + std::to_string(info.samplerate) +
                " Hz; 8000 to 192000 Hz are supported";
        return std::nullopt;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = "'" + path + "' has " + std::to_string(info.channels) +
                " channels; mono and stereo are supported";
        return std::nullopt;
    }
    // The header's frame count is not trusted: a stream may not know its length
    // (a pipe gives the largest count there is) or may claim more than it holds.
    // Blocks are read until the end instead.
    const std::size_t channels = static_cast<std::size_t>(info.channels);
    constexpr sf_count_t blockFrames = 65536;
    AudioClip clip;
    clip.sampleRate = info.samplerate;
    clip.channels.assign(channels, {});
    try {
        std::vector<float> block(static_cast<std::size_t>(blockFrames) * channels);
        for (;;) {
            const sf_count_t read = sf_readf_float(file.get(), block.data(), blockFrames);
            if (read <= 0)
                break;
            for (std::size_t c = 0; c < channels; ++c) {
                std::vector<float>& channel = clip.channels[c];
                const std::size_t start = channel.size();
                channel.resize(start + static_cast<std::size_t>(read));
                for (std::size_t i = 0; i < static_cast<std::size_t>(read); ++i)
                    channel[start + i] = block[i * channels + c];
            }
        }
    } catch (const std::bad_alloc&) {
        error = "'" + path + "' is too long to hold in memory";
        return std::nullopt;
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        error = "cannot read '" + path + "': " + sf_strerror(file.get());
        return std::nullopt;
    }
    return clip;
}

bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(clip.sampleRate);
    info.channels = static_cast<int>(clip.channels.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    File file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        error = "cannot write '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    const std::size_t channels = clip.channels.size();
    std::vector<float> interleaved(clip.frames() * channels);
    for (std::size_t i = 0; i < clip.frames(); ++i)
        for (std::size_t c = 0; c < channels; ++c)
            interleaved[i * channels + c] = clip.channels[c][i];
    const sf_count_t frames = static_cast<sf_count_t>(clip.frames());
    if (sf_writef_float(file.get(), interleaved.data(), frames) != frames) {
        error = "cannot write '" + path + "': " + sf_strerror(file.get());
        return false;
    }
    return true;
}

std::vector<ChannelLevels> measureLevels(const AudioClip& clip) {
    std::vector<ChannelLevels> levels;
    auto toDb = [](double linear) {
        return linear > 0 ? 20.0 * std::log10(linear) : -std::numeric_limits<double>::infinity();
    };
    for (const auto& channel : clip.channels) {
        double peak = 0, sum = 0;
        std::size_t nonFinite = 0;
        for (float sample : channel) {
            if (!std::isfinite(sample)) {
                ++nonFinite;
                continue;
            }
            peak = std::max(peak, std::fabs(double(sample)));
            sum += double(sample) * sample;
        }
        const std::size_t finite = channel.size() - nonFinite;
        const double rms = finite == 0 ? 0 : std::sqrt(sum / double(finite));
        levels.push_back({toDb(peak), toDb(rms), nonFinite});
    }
    return levels;
}
