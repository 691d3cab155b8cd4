#pragma once
// Audio files for the tools: a reader that takes any file libsndfile understands a
// block at a time, a writer of 32-bit float WAV files a block at a time, clips (one
// float vector per channel) read or written whole through them, and channel levels
// gathered block by block. Any thread that owns the object.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct AudioClip {
    double sampleRate = 44100;
    std::vector<std::vector<float>> channels; // one vector per channel, equal lengths

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// Reads a file block by block, so that what it holds is one block whatever the
// file's length: any format libsndfile reads, 8 to 192 kHz, one or two channels,
// samples as floats (integer formats scaled to -1...1).
class AudioFileReader {
  public:
    // None, with a readable reason in `error`, when the file cannot be opened or its
    // rate or channel count is not supported.
    static std::unique_ptr<AudioFileReader> open(const std::string& path, std::string& error);
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    double sampleRate() const { return rate; }
    std::size_t channels() const { return channelCount; }
    // The length the file states. A stream (a pipe) may not know its length or may
    // claim more than it holds: it is read to its end and its claim is not held
    // against it, so this is none for it.
    std::optional<std::size_t> statedFrames() const { return stated; }

    // Reads up to `frames` frames into channels[c][0...frames) for each channel c
    // (channels.size() == channels()). Returns the frames read, fewer than asked only
    // at the end of the file. None, with the reason in `error`, when the file cannot
    // be read on, or when it ends before the length it states.
    std::optional<std::size_t> read(std::span<float* const> channels, std::size_t frames,
                                    std::string& error);

  private:
    struct File;
    AudioFileReader(std::unique_ptr<File> file, std::string path, double rate, std::size_t channels,
                    std::optional<std::size_t> stated);
    std::unique_ptr<File> file;
    std::string path;
    double rate;
    std::size_t channelCount;
    std::optional<std::size_t> stated;
    std::size_t framesRead = 0;
    std::vector<float> interleaved; // one block, grown to the largest asked for
};

// Writes a 32-bit float WAV file block by block: the header a reader expects for
// float samples (the format tag of IEEE floats, the 18-byte format chunk with its
// empty extension, a fact chunk with the frame count), then the samples. The file
// is written beside its final path and renamed into place by finish(), so that a
// render that fails leaves whatever was at the path before; a path that names no
// regular file (a device) is written directly.
class AudioFileWriter {
  public:
    // None, with a readable reason in `error`, when the file cannot be made.
    static std::unique_ptr<AudioFileWriter> create(const std::string& path, double sampleRate,
                                                   std::size_t channels, std::string& error);
    // Removes the half-written file unless finish() succeeded.
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Appends channels[c][0...frames) for each channel c. False, with the reason in
    // `error`, when it cannot (a full disk, a file past what WAV can hold).
    bool write(std::span<const float* const> channels, std::size_t frames, std::string& error);
    // Completes the header and puts the file in place.
    bool finish(std::string& error);
    // The most frames of this many channels a WAV file holds (its sizes are 32-bit).
    static std::uint64_t maximumFrames(std::size_t channels);

  private:
    AudioFileWriter(int descriptor, std::string path, std::string partialPath,
                    std::size_t channels);
    bool put(const void* bytes, std::size_t size, std::string& error);
    int descriptor;
    std::string path;
    std::string partialPath; // empty when writing to the path itself
    std::size_t channelCount;
    double rate = 0;
    std::uint64_t dataBytes = 0;
    bool finished = false;
    std::vector<unsigned char> bytes; // one block of little-endian samples
};

// Reads a whole file into a clip, through AudioFileReader. At most `maximumFrames`
// frames are taken when given (the rest of the file is not read).
std::optional<AudioClip> readAudioFile(const std::string& path, std::string& error,
                                       std::optional<std::size_t> maximumFrames = std::nullopt);

// Writes a clip as a 32-bit float WAV file, through AudioFileWriter. On failure
// returns false with a reason in `error`.
bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error);

// Peak and RMS of each channel in dBFS (-inf for silence), over its finite samples;
// NaN and infinite samples are counted apart and left out of both.
struct ChannelLevels {
    double peakDb;
    double rmsDb;
    std::size_t nonFinite = 0;
};

// The levels of audio that comes a block at a time.
class LevelMeasurement {
  public:
    explicit LevelMeasurement(std::size_t channels) : sums(channels) {}
    void add(std::span<const float* const> channels, std::size_t frames);
    std::vector<ChannelLevels> levels() const;

  private:
    struct Sums {
        double peak = 0, squares = 0;
        std::size_t finite = 0, nonFinite = 0;
    };
    std::vector<Sums> sums;
};

std::vector<ChannelLevels> measureLevels(const AudioClip& clip);
