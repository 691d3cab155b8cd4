#include "AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr double minimumRate = 8000;
constexpr double maximumRate = 192000;

// A WAV file's sizes are 32-bit: the RIFF chunk holds "WAVE", the format chunk (8 +
// 18 bytes), the fact chunk (8 + 4) and the data chunk's header (8) besides the data.
constexpr std::uint64_t riffOverhead = 4 + 26 + 12 + 8;
constexpr std::uint64_t maximumDataBytes = 0xFFFFFFFFull - riffOverhead;
constexpr std::size_t headerBytes = 12 + 26 + 12 + 8;

void putLittleEndian(unsigned char* out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out[k] = static_cast<unsigned char>(value >> (8 * k));
}

// RIFF "WAVE", "fmt " (IEEE float, the 18-byte form with an empty extension),
// "fact" (frames per channel) and the "data" chunk's header.
std::array<unsigned char, headerBytes> wavHeader(double sampleRate, std::size_t channels,
                                                 std::uint64_t dataBytes) {
    std::array<unsigned char, headerBytes> h{};
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto blockAlign = static_cast<std::uint32_t>(channels * sizeof(float));
    std::memcpy(&h[0], "RIFF", 4);
    putLittleEndian(&h[4], static_cast<std::uint32_t>(riffOverhead + dataBytes), 4);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    putLittleEndian(&h[16], 18, 4);
    putLittleEndian(&h[20], 3, 2); // WAVE_FORMAT_IEEE_FLOAT
    putLittleEndian(&h[22], static_cast<std::uint32_t>(channels), 2);
    putLittleEndian(&h[24], rate, 4);
    putLittleEndian(&h[28], rate * blockAlign, 4);
    putLittleEndian(&h[32], blockAlign, 2);
    putLittleEndian(&h[34], 32, 2);
    putLittleEndian(&h[36], 0, 2); // no extension
    std::memcpy(&h[38], "fact", 4);
    putLittleEndian(&h[42], 4, 4);
    putLittleEndian(&h[46], static_cast<std::uint32_t>(dataBytes / blockAlign), 4);
    std::memcpy(&h[50], "data", 4);
    putLittleEndian(&h[54], static_cast<std::uint32_t>(dataBytes), 4);
    return h;
}

std::string systemError() {
    return std::strerror(errno);
}

// Whether libsndfile found the file shorter than its header says: it then reads what
// there is, and notes the sound chunk's stated size as "(should be N)" in its log
// ("data" in RIFF files, "SSND" in AIFF).
bool headerClaimsMoreThanTheFileHolds(SNDFILE* file) {
    std::string log(16384, '\0');
    sf_command(file, SFC_GET_LOG_INFO, log.data(), int(log.size()));
    log.resize(std::strlen(log.c_str()));
    for (std::size_t start = 0; start < log.size();) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        std::string_view line(log.data() + start, end - start);
        line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        if ((line.starts_with("data") || line.starts_with("SSND")) &&
            line.find("(should be") != std::string_view::npos)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

// ---- reading ---------------------------------------------------------------

struct AudioFileReader::File {
    explicit File(SNDFILE* handle) : handle(handle) {}
    ~File() { sf_close(handle); }
    SNDFILE* handle;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
};

AudioFileReader::AudioFileReader(std::unique_ptr<File> file, std::string path, double rate,
                                 std::size_t channels, std::optional<std::size_t> stated)
    : file(std::move(file)), path(std::move(path)), rate(rate), channelCount(channels),
      stated(stated) {}

AudioFileReader::~AudioFileReader() = default;

std::unique_ptr<AudioFileReader> AudioFileReader::open(const std::string& path,
                                                       std::string& error) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(path.c_str(), SFM_READ, &info);
    if (!handle) {
        error = "cannot read '" + path + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    auto file = std::make_unique<File>(handle);
    if (info.samplerate < minimumRate || info.samplerate > maximumRate) {
        error = "'" + path + "' has a sample rate of " + std::to_string(info.samplerate) +
                " Hz; 8000 to 192000 Hz are supported";
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = "'" + path + "' has " + std::to_string(info.channels) +
                " channels; mono and stereo are supported";
        return nullptr;
    }
    if (info.seekable && headerClaimsMoreThanTheFileHolds(file->handle)) {
        error = "'" + path + "' ends early: it holds less audio than its header states";
        return nullptr;
    }
    // A file states its length in its header (a compressed one through its index);
    // MPEG audio only estimates it, and a stream cannot know it.
    std::optional<std::size_t> stated;
    const bool estimated = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
    if (info.seekable && !estimated && info.frames >= 0 && info.frames < SF_COUNT_MAX)
        stated = static_cast<std::size_t>(info.frames);
    return std::unique_ptr<AudioFileReader>(new AudioFileReader(
        std::move(file), path, info.samplerate, static_cast<std::size_t>(info.channels), stated));
}

std::optional<std::size_t> AudioFileReader::read(std::span<float* const> channels,
                                                 std::size_t frames, std::string& error) {
    if (interleaved.size() < frames * channelCount)
        interleaved.resize(frames * channelCount);
    std::size_t got = 0;
    while (got < frames) {
        const sf_count_t n = sf_readf_float(file->handle, interleaved.data() + got * channelCount,
                                            static_cast<sf_count_t>(frames - got));
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (sf_error(file->handle) != SF_ERR_NO_ERROR) {
        error = "cannot read '" + path + "' to its end: " + sf_strerror(file->handle) + " (after " +
                std::to_string(framesRead + got) + " frames)";
        return std::nullopt;
    }
    framesRead += got;
    if (got < frames && stated && framesRead < *stated) {
        error = "'" + path + "' ends early: after " + std::to_string(framesRead) + " of the " +
                std::to_string(*stated) + " frames it states";
        return std::nullopt;
    }
    for (std::size_t c = 0; c < channelCount; ++c)
        for (std::size_t i = 0; i < got; ++i)
            channels[c][i] = interleaved[i * channelCount + c];
    return got;
}

std::optional<AudioClip> readAudioFile(const std::string& path, std::string& error,
                                       std::optional<std::size_t> maximumFrames) {
    std::unique_ptr<AudioFileReader> reader = AudioFileReader::open(path, error);
    if (!reader)
        return std::nullopt;
    constexpr std::size_t blockFrames = 65536;
    AudioClip clip;
    clip.sampleRate = reader->sampleRate();
    clip.channels.assign(reader->channels(), {});
    std::vector<float*> block(reader->channels());
    for (;;) {
        const std::size_t start = clip.frames();
        const std::size_t want = std::min(blockFrames, maximumFrames.value_or(SIZE_MAX) - start);
        if (want == 0)
            break;
        for (std::size_t c = 0; c < block.size(); ++c) {
            clip.channels[c].resize(start + want);
            block[c] = clip.channels[c].data() + start;
        }
        std::optional<std::size_t> got = reader->read(block, want, error);
        if (!got)
            return std::nullopt;
        for (auto& channel : clip.channels)
            channel.resize(start + *got);
        if (*got < want)
            break;
    }
    return clip;
}

// ---- writing ---------------------------------------------------------------

AudioFileWriter::AudioFileWriter(int descriptor, std::string path, std::string partialPath,
                                 std::size_t channels)
    : descriptor(descriptor), path(std::move(path)), partialPath(std::move(partialPath)),
      channelCount(channels) {}

AudioFileWriter::~AudioFileWriter() {
    if (descriptor >= 0)
        ::close(descriptor);
    if (!finished && !partialPath.empty())
        ::unlink(partialPath.c_str());
}

std::unique_ptr<AudioFileWriter> AudioFileWriter::create(const std::string& path, double sampleRate,
                                                         std::size_t channels, std::string& error) {
    if (channels < 1 || channels > 0xFFFF || !(sampleRate >= 1 && sampleRate <= 0xFFFFFFFF / 8)) {
        error = "cannot write '" + path + "': no WAV file holds that format";
        return nullptr;
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    int descriptor = -1;
    std::string partial;
    if (exists && !S_ISREG(existing.st_mode)) {
        descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    } else {
        // A name of this process's own beside the final one, so that the rename stays on
        // one file system; the file takes over the permissions of the one it replaces.
        for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
            partial =
                path + ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor < 0 && errno != EEXIST)
                break;
        }
        if (descriptor >= 0 && exists)
            ::fchmod(descriptor, existing.st_mode & 07777);
    }
    if (descriptor < 0) {
        error = "cannot write '" + path + "': " + systemError();
        return nullptr;
    }
    std::unique_ptr<AudioFileWriter> writer(
        new AudioFileWriter(descriptor, path, partial, channels));
    // The sizes are filled in at the end, which needs a file that can be written again
    // at its start.
    if (::lseek(descriptor, 0, SEEK_SET) < 0) {
        error = "cannot write '" + path + "': a WAV file needs a file it can seek in";
        return nullptr;
    }
    writer->rate = sampleRate;
    const auto header = wavHeader(sampleRate, channels, 0);
    if (!writer->put(header.data(), header.size(), error))
        return nullptr;
    return writer;
}

bool AudioFileWriter::put(const void* data, std::size_t size, std::string& error) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(descriptor, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = "cannot write '" + path + "': " + systemError();
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AudioFileWriter::write(std::span<const float* const> channels, std::size_t frames,
                            std::string& error) {
    const std::uint64_t size = std::uint64_t(frames) * channelCount * sizeof(float);
    if (dataBytes + size > maximumDataBytes) {
        error = "cannot write '" + path + "': the result is longer than a WAV file can hold (4 GB)";
        return false;
    }
    bytes.resize(size);
    // Little-endian IEEE floats, frame by frame: bytes[4 (i channels + c) + k].
    unsigned char* out = bytes.data();
    for (std::size_t i = 0; i < frames; ++i)
        for (std::size_t c = 0; c < channelCount; ++c, out += 4) {
            std::uint32_t bits;
            std::memcpy(&bits, &channels[c][i], sizeof bits);
            putLittleEndian(out, bits, 4);
        }
    if (!put(bytes.data(), bytes.size(), error))
        return false;
    dataBytes += size;
    return true;
}

bool AudioFileWriter::finish(std::string& error) {
    const auto header = wavHeader(rate, channelCount, dataBytes);
    if (::pwrite(descriptor, header.data(), header.size(), 0) != ssize_t(header.size()) ||
        ::close(descriptor) != 0) {
        descriptor = -1;
        error = "cannot write '" + path + "': " + systemError();
        return false;
    }
    descriptor = -1;
    if (!partialPath.empty() && ::rename(partialPath.c_str(), path.c_str()) != 0) {
        error = "cannot write '" + path + "': " + systemError();
        return false;
    }
    finished = true;
    return true;
}

std::uint64_t AudioFileWriter::maximumFrames(std::size_t channels) {
    return maximumDataBytes / (std::max<std::size_t>(channels, 1) * sizeof(float));
}

bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error) {
    std::unique_ptr<AudioFileWriter> writer =
        AudioFileWriter::create(path, clip.sampleRate, clip.channels.size(), error);
    if (!writer)
        return false;
    constexpr std::size_t blockFrames = 65536;
    std::vector<const float*> block(clip.channels.size());
    for (std::size_t start = 0; start < clip.frames(); start += blockFrames) {
        for (std::size_t c = 0; c < block.size(); ++c)
            block[c] = clip.channels[c].data() + start;
        if (!writer->write(block, std::min(blockFrames, clip.frames() - start), error))
            return false;
    }
    return writer->finish(error);
}

// ---- levels ----------------------------------------------------------------

void LevelMeasurement::add(std::span<const float* const> channels, std::size_t frames) {
    for (std::size_t c = 0; c < sums.size() && c < channels.size(); ++c) {
        Sums& s = sums[c];
        for (std::size_t i = 0; i < frames; ++i) {
            const float sample = channels[c][i];
            if (!std::isfinite(sample)) {
                ++s.nonFinite;
                continue;
            }
            s.peak = std::max(s.peak, std::fabs(double(sample)));
            s.squares += double(sample) * sample;
            ++s.finite;
        }
    }
}

std::vector<ChannelLevels> LevelMeasurement::levels() const {
    auto toDb = [](double linear) {
        return linear > 0 ? 20.0 * std::log10(linear) : -std::numeric_limits<double>::infinity();
    };
    std::vector<ChannelLevels> out;
    for (const Sums& s : sums) {
        const double rms = s.finite == 0 ? 0 : std::sqrt(s.squares / double(s.finite));
        out.push_back({toDb(s.peak), toDb(rms), s.nonFinite});
    }
    return out;
}

std::vector<ChannelLevels> measureLevels(const AudioClip& clip) {
    LevelMeasurement measurement(clip.channels.size());
    std::vector<const float*> channels;
    for (const auto& channel : clip.channels)
        channels.push_back(channel.data());
    measurement.add(channels, clip.frames());
    return measurement.levels();
}
