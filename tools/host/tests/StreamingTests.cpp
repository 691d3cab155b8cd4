// Audio files read and written a block at a time: the WAV header readers expect for
// float samples, files that end early or cannot be read to their end, a render that
// holds a few blocks whatever the input's length, and the host's output bit for bit
// what the effect renders block by block.
#include "AudioFile.h"
#include "BlockRenderer.h"
#include "EffectHost.h"
#include "EffectLoader.h"
#include "ProgramRun.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "FactoryPresets.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t littleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int k = 0; k < size; ++k)
        value |= std::uint32_t(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
    return value;
}

AudioClip noiseClip(double rate, std::size_t channels, std::size_t frames) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    AudioClip clip;
    clip.sampleRate = rate;
    clip.channels.assign(channels, std::vector<float>(frames));
    for (auto& channel : clip.channels)
        for (float& sample : channel)
            sample = noise(random);
    return clip;
}

// The header is the one readers expect for IEEE floats: the 18-byte format chunk
// with an empty extension and a fact chunk; the samples come back bit for bit.
TEST(AudioFiles, AFloatWavCarriesTheHeaderReadersExpect) {
    struct Case {
        const char* what;
        double rate;
        std::size_t channels, frames;
    };
    const Case cases[] = {
        {"mono at 8 kHz", 8000, 1, 1000},
        {"stereo at 44.1 kHz, longer than a block", 44100, 2, 70000},
        {"stereo at 192 kHz", 192000, 2, 3},
        {"empty", 48000, 2, 0},
    };
    TemporaryDirectory folder("emberfall-wav-header");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AudioClip clip = noiseClip(c.rate, c.channels, c.frames);
        if (c.frames > 2)
            clip.channels[0][1] = std::numeric_limits<float>::quiet_NaN();
        const std::string path = (folder / "out.wav").string();
        std::string error;
        ASSERT_TRUE(writeAudioFile(path, clip, error)) << error;
        const std::string bytes = fileBytes(path);
        const std::uint32_t data = std::uint32_t(c.frames * c.channels * 4);
        ASSERT_EQ(bytes.size(), 58u + data);
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(littleEndian(bytes, 4, 4), bytes.size() - 8);
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(littleEndian(bytes, 16, 4), 18u) << "the format chunk with its extension";
        EXPECT_EQ(littleEndian(bytes, 20, 2), 3u) << "IEEE float";
        EXPECT_EQ(littleEndian(bytes, 22, 2), c.channels);
        EXPECT_EQ(littleEndian(bytes, 24, 4), std::uint32_t(c.rate));
        EXPECT_EQ(littleEndian(bytes, 28, 4), std::uint32_t(c.rate * c.channels * 4));
        EXPECT_EQ(littleEndian(bytes, 32, 2), c.channels * 4);
        EXPECT_EQ(littleEndian(bytes, 34, 2), 32u);
        EXPECT_EQ(littleEndian(bytes, 36, 2), 0u) << "an empty extension";
        EXPECT_EQ(bytes.substr(38, 4), "fact");
        EXPECT_EQ(littleEndian(bytes, 42, 4), 4u);
        EXPECT_EQ(littleEndian(bytes, 46, 4), c.frames);
        EXPECT_EQ(bytes.substr(50, 4), "data");
        EXPECT_EQ(littleEndian(bytes, 54, 4), data);

        std::optional<AudioClip> back = readAudioFile(path, error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->sampleRate, c.rate);
        ASSERT_EQ(back->channels.size(), c.channels);
        ASSERT_EQ(back->frames(), c.frames);
        for (std::size_t k = 0; k < c.channels && c.frames > 0; ++k)
            EXPECT_EQ(std::memcmp(back->channels[k].data(), clip.channels[k].data(), c.frames * 4),
                      0);
        // sox, which warns about a float WAV without the format chunk's extension,
        // reads it without a word.
        if (c.frames > 0 && std::system("command -v sox > /dev/null") == 0) {
            ProgramRun sox = runCommand("sox " + path + " -n");
            EXPECT_EQ(sox.status, 0) << sox.out;
            EXPECT_EQ(sox.out, "");
        }
    }
}

// Writes `clip` in the given libsndfile format.
void writeFormat(const std::string& path, const AudioClip& clip, int format) {
    SF_INFO info{};
    info.samplerate = int(clip.sampleRate);
    info.channels = int(clip.channels.size());
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_TRUE(file) << sf_strerror(nullptr);
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < clip.frames(); ++i)
        for (const auto& channel : clip.channels)
            interleaved.push_back(channel[i]);
    sf_writef_float(file, interleaved.data(), sf_count_t(clip.frames()));
    sf_close(file);
}

// A file that holds less than its header states, or that cannot be decoded to its
// end, is refused with exit status 3: what was at the output path stays, and no
// half-written file is left beside it.
TEST(AudioFiles, AFileThatEndsEarlyOrCannotBeReadToItsEndIsRefused) {
    TemporaryDirectory folder("emberfall-ends-early");
    const AudioClip clip = noiseClip(44100, 2, 44100);
    struct Case {
        const char* what;
        int format;
        std::function<void(std::string&)> spoil; // on the file's bytes
        const char* says;
    };
    const auto cutInHalf = [](std::string& bytes) { bytes.resize(bytes.size() / 2); };
    // A FLAC decoder finds the damage either as a lost sync or as the end of the
    // stream before the stated length, depending on how far it was asked to read.
    const char* damaged = "";
    const Case cases[] = {
        {"a WAV cut short", SF_FORMAT_WAV | SF_FORMAT_FLOAT, cutInHalf,
         "ends early: it holds less audio than its header states"},
        {"an AIFF cut short", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, cutInHalf,
         "ends early: it holds less audio than its header states"},
        {"a FLAC cut short", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, cutInHalf, damaged},
        {"a FLAC garbled in its middle", SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
         [](std::string& bytes) {
             for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 2000; ++i)
                 bytes[i] = 0x55;
         },
         damaged},
    };
    auto says = [&](const std::string& text, const Case& c) {
        if (c.says != damaged)
            return text.find(c.says) != std::string::npos;
        return text.find("' ends early: after ") != std::string::npos ||
               text.find("' to its end: ") != std::string::npos;
    };
    const std::string output = (folder / "out.wav").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = (folder / "in").string();
        writeFormat(path, clip, c.format);
        std::string bytes = fileBytes(path);
        c.spoil(bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

        std::string error;
        EXPECT_FALSE(readAudioFile(path, error));
        EXPECT_TRUE(says(error, c)) << error;

        std::ofstream(output, std::ios::trunc) << "what was there";
        ProgramRun host = runCommand(std::string(EMBERFALL_HOST_PATH) + " render " + path +
                                     " --output " + output);
        EXPECT_EQ(host.status, 3) << host.out;
        EXPECT_TRUE(says(host.out, c)) << host.out;
        EXPECT_EQ(fileBytes(output), "what was there");
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path()))
            ++files;
        EXPECT_EQ(files, 2u) << "the input and the output, nothing half-written";
    }

    // A file that shrinks while it is read ends before the length it stated.
    const std::string path = (folder / "shrinking.wav").string();
    std::string error;
    ASSERT_TRUE(writeAudioFile(path, clip, error)) << error;
    std::unique_ptr<AudioFileReader> reader = AudioFileReader::open(path, error);
    ASSERT_TRUE(reader) << error;
    EXPECT_EQ(reader->statedFrames(), clip.frames());
    std::vector<float> left(1024), right(1024);
    const std::array<float*, 2> block{left.data(), right.data()};
    EXPECT_EQ(reader->read(block, 1024, error), 1024u);
    EXPECT_EQ(left[5], clip.channels[0][5]);
    std::filesystem::resize_file(path, 58 + 8 * 2048);
    std::optional<std::size_t> got;
    while ((got = reader->read(block, 1024, error)) && *got == 1024) {
    }
    EXPECT_FALSE(got);
    EXPECT_NE(error.find("ends early: after 2048 of the 44100 frames"), std::string::npos) << error;
}

// An audio unit that passes its input through, so that a long render costs only
// the reading and the writing.
class PassThroughUnit : public AUAudioUnit {
  public:
    std::shared_ptr<AUAudioUnitBusArray> inputBusses() const override { return inputs; }
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() const override { return outputs; }
    AUInternalRenderBlock internalRenderBlock() override {
        return [](AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timestamp,
                  AUAudioFrameCount frames, NSInteger, AudioBufferList* output,
                  const AURenderEvent*, const AURenderPullInputBlock& pull) {
            return pull(flags, timestamp, frames, 0, output);
        };
    }

  protected:
    using AUAudioUnit::AUAudioUnit;
    std::optional<AUError> initialize(AudioComponentInstantiationOptions options) override {
        if (auto error = AUAudioUnit::initialize(options))
            return error;
        auto self = sharedAs<AUAudioUnit>();
        auto bus = [] { return AUAudioUnitBus::create(AVAudioFormat::standardFormat(44100, 2)); };
        inputs = AUAudioUnitBusArray::create(self, AUAudioUnitBusType::input, {bus()});
        outputs = AUAudioUnitBusArray::create(self, AUAudioUnitBusType::output, {bus()});
        return std::nullopt;
    }

  private:
    std::shared_ptr<AUAudioUnitBusArray> inputs, outputs;
};

// A float WAV file of `frames` frames of silence that takes no disk: its header,
// and a hole the length of its samples.
void writeSilence(const std::string& path, double rate, std::size_t channels, std::size_t frames) {
    std::string error;
    std::unique_ptr<AudioFileWriter> writer = AudioFileWriter::create(path, rate, channels, error);
    ASSERT_TRUE(writer && writer->finish(error)) << error;
    std::string header = fileBytes(path);
    const auto data = std::uint32_t(frames * channels * sizeof(float));
    for (auto [at, value] : {std::pair{4u, data + 50}, {46u, std::uint32_t(frames)}, {54u, data}})
        for (int k = 0; k < 4; ++k)
            header[at + k] = char(value >> (8 * k));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << header;
    std::filesystem::resize_file(path, header.size() + data);
}

// The process's peak resident memory in bytes since it was last reset.
std::size_t peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoull(line.substr(6)) * 1024;
    return 0;
}

// A quarter of a gigabyte of samples (12 minutes of stereo at 44.1 kHz, a file of
// silence that takes no disk) renders to a WAV file while the process's peak
// memory grows by a few blocks, not by the file: a host that held the input and the
// output whole would need well over twice the file's size.
TEST(HostStreaming, ALongInputRendersInFlatMemory) {
    TemporaryDirectory folder("emberfall-long-input");
    const std::string path = (folder / "long.wav").string();
    constexpr std::size_t frames = std::size_t{32} << 20;
    writeSilence(path, 44100, 2, frames);
    AUError failure;
    auto unit = AUAudioUnit::instantiate<PassThroughUnit>(
        {kAudioUnitType_Effect, fourCharCode("pass"), fourCharCode("Test"), 0, 0}, 0, &failure);
    ASSERT_TRUE(unit) << failure.message;
    EffectHost host(unit);

    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    const std::size_t before = peakResidentBytes();
    std::string error;
    std::unique_ptr<AudioFileReader> reader = AudioFileReader::open(path, error);
    ASSERT_TRUE(reader) << error;
    std::unique_ptr<AudioFileWriter> writer =
        AudioFileWriter::create((folder / "out.wav").string(), 44100, 2, error);
    ASSERT_TRUE(writer) << error;
    RenderSource source;
    source.statedFrames = reader->statedFrames();
    source.read = [&](std::span<float* const> channels, std::size_t n, std::string& why) {
        return reader->read(channels, n, why);
    };
    std::size_t written = 0;
    const RenderSink sink = [&](std::span<const float* const> channels, std::size_t n,
                                std::string& why) {
        written += n;
        return writer->write(channels, n, why);
    };
    ASSERT_EQ(host.render(source, {4096, 120, 0}, sink, error), RenderFailure::none) << error;
    ASSERT_TRUE(writer->finish(error)) << error;
    const std::size_t growth = peakResidentBytes() - before;
    EXPECT_EQ(written, frames);
    EXPECT_EQ(std::filesystem::file_size(folder / "out.wav"), 58 + frames * 8);
    ASSERT_GT(before, 0u) << "the peak resident memory cannot be read";
    EXPECT_LT(growth, std::size_t{32} << 20) << "of a file of " << frames * 8 << " bytes";
}

// The host's output is, bit for bit, what the effect renders when a host calls it
// block after block over the whole input and the tail, for every block size: the
// blocks of the file as it is read make no difference.
TEST(HostProgram, TheOutputIsWhatTheEffectRendersBlockByBlockForEveryBlockSize) {
    TemporaryDirectory folder("emberfall-block-sizes");
    AudioClip mono = noiseClip(48000, 1, 14400);
    for (std::size_t i = 0; i < mono.frames(); ++i)
        mono.channels[0][i] *= i < 2400 ? 1.0f : 0.1f;
    const std::string in = (folder / "in.wav").string(), out = (folder / "out.wav").string();
    std::string error;
    ASSERT_TRUE(writeAudioFile(in, mono, error)) << error;
    struct Case {
        AUAudioFrameCount block;
        double tail;
    };
    const Case cases[] = {{1, 0.05}, {37, 0.2}, {480, 0}, {512, 0.2}, {16384, 0.3}};
    for (const Case& c : cases) {
        SCOPED_TRACE("--block " + std::to_string(c.block));
        std::ostringstream arguments;
        arguments << EMBERFALL_HOST_PATH << " render " << in << " --preset 'Quarter Master'"
                  << " --block " << c.block << " --tail " << c.tail << " --output " << out;
        ProgramRun host = runCommand(arguments.str());
        ASSERT_EQ(host.status, 0) << host.out;
        std::optional<AudioClip> rendered = readAudioFile(out, error);
        ASSERT_TRUE(rendered) << error;

        std::optional<LoadedEffect> effect = loadEffect(EMBERFALL_APPEX_PATH, error);
        ASSERT_TRUE(effect) << error;
        EffectHost(effect->unit).applyPreset(allFactoryPresets()[1]); // Echo-Quarter Master
        RunLoop::main().runUntilIdle();
        AUAudioUnit& unit = *effect->unit;
        auto format = AVAudioFormat::standardFormat(48000, 2);
        ASSERT_TRUE((*unit.inputBusses())[0]->setFormat(format));
        ASSERT_TRUE((*unit.outputBusses())[0]->setFormat(format));
        unit.setMaximumFramesToRender(c.block);
        unit.setMusicalContextBlock(
            [](double* tempo, double*, NSInteger*, double*, NSInteger*, double*) {
                *tempo = 120;
                return true;
            });
        ASSERT_FALSE(unit.allocateRenderResources());
        BlockRenderer renderer(unit, 2, c.block);
        renderer.input = {mono.channels[0], mono.channels[0]};
        const std::size_t total = mono.frames() + std::size_t(c.tail * 48000);
        AudioClip expected;
        expected.channels.assign(2, {});
        for (std::size_t at = 0; at < total; at += c.block) {
            const auto n = AUAudioFrameCount(std::min<std::size_t>(c.block, total - at));
            ASSERT_EQ(renderer.render(n), noErr);
            for (std::uint32_t k = 0; k < 2; ++k)
                expected.channels[k].insert(expected.channels[k].end(), renderer.output(k),
                                            renderer.output(k) + n);
        }
        unit.deallocateRenderResources();
        ASSERT_EQ(rendered->channels.size(), 2u);
        ASSERT_EQ(rendered->frames(), total);
        for (std::uint32_t k = 0; k < 2; ++k)
            EXPECT_EQ(std::memcmp(rendered->channels[k].data(), expected.channels[k].data(),
                                  total * sizeof(float)),
                      0)
                << "channel " << k;
    }
}

// The editor holds its loop in memory, so of a longer file it loops the first five
// minutes, and says so.
TEST(HostProgram, TheEditorLoopsTheFirstFiveMinutesOfALongerFile) {
    TemporaryDirectory folder("emberfall-editor-loop");
    struct Case {
        const char* what;
        double minutes;
        bool cut;
    };
    const Case cases[] = {{"five minutes", 5, false}, {"six minutes", 6, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string in = (folder / "long.wav").string();
        writeSilence(in, 8000, 1, std::size_t(c.minutes * 60 * 8000));
        ProgramRun host = runCommand(std::string(EMBERFALL_HOST_PATH) + " editor " + in +
                                     " --png " + (folder / "editor.png").string());
        EXPECT_EQ(host.status, 0) << host.out;
        EXPECT_EQ(host.out.find("emberfall: the editor loops the first 5 minutes of '" + in +
                                "'\n") != std::string::npos,
                  c.cut)
            << host.out;
    }
}

// A result longer than a WAV file can hold (4 GB) is refused before anything is
// rendered: a mono file of 3.6 GB of silence, which becomes stereo.
TEST(HostProgram, AResultLongerThanAWavFileHoldsIsRefusedBeforeRendering) {
    TemporaryDirectory folder("emberfall-too-long");
    const std::string in = (folder / "long.wav").string(), out = (folder / "out.wav").string();
    writeSilence(in, 44100, 1, std::size_t{900} << 20);
    ProgramRun host = runCommand(std::string(EMBERFALL_HOST_PATH) + " render " + in +
                                 " --tail 0 --output " + out);
    EXPECT_EQ(host.status, 3) << host.out;
    EXPECT_NE(host.out.find("emberfall: cannot write '" + out +
                            "': the result (943718400 frames "
                            "of 2 channels) is longer than a "
                            "WAV file can hold (4 GB)\n"),
              std::string::npos)
        << host.out;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
