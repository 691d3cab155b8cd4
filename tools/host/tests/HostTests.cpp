// End to end: the effect loaded through the extension service from its .appex, the
// way a host loads it, and the command-line host run as a program.
#include "AudioFile.h"
#include "EffectHost.h"
#include "EffectLoader.h"
#include "PopupMenu.h"
#include "ProgramRun.h"

#include "CoreGraphics/CGImage.h"

#include "FactoryPresets.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"
#include "ParameterDefinitions.h"
#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const FactoryPreset& presetWithId(const std::string& id) {
    for (const FactoryPreset& preset : allFactoryPresets())
        if (preset.id() == id)
            return preset;
    throw std::runtime_error("no preset " + id);
}

class LoadedHost : public ::testing::Test {
  protected:
    void SetUp() override { effect = load(); }
    void TearDown() override { RunLoop::main().runUntilIdle(); }

    static LoadedEffect load() {
        std::string error;
        std::optional<LoadedEffect> loaded = loadEffect(EMBERFALL_APPEX_PATH, error);
        if (!loaded)
            throw std::runtime_error(error);
        return std::move(*loaded);
    }
    float value(EffectHost& host, const char* identifier) {
        return *host.parameterValue(identifier);
    }

    LoadedEffect effect;
};

TEST_F(LoadedHost, LoadingGivesTheDefaultPresetInTheKernel) {
    EXPECT_EQ(fourCharString(effect.description.componentType), "aufx");
    EXPECT_EQ(effect.version, "1.0.0");
    auto tree = effect.unit->parameterTree();
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->children().size(), 14u);
    EXPECT_EQ(tree->children().front()->identifier(), "delayType") << "pushed first";
    EffectHost host(effect.unit);
    for (const ParameterDefinition& d : parameterDefinitions())
        EXPECT_EQ(value(host, d.identifier.c_str()), d.defaultValue) << d.identifier;
    EXPECT_EQ(value(host, "delayNote"), rawValue(DelayNoteDivision::dottedEighth));
}

TEST_F(LoadedHost, NoteAndMsPresetsReachTheKernel) {
    struct Case {
        const char* id;
        const char* delayIdentifier;
        float delay;
    };
    const Case cases[] = {
        {"Echo-Cathedral Quarter", "delayNote", rawValue(DelayNoteDivision::dottedQuarter)},
        {"Runaway-Event Horizon", "delayMs", 1200},
    };
    EffectHost host(effect.unit);
    for (const Case& c : cases) {
        const FactoryPreset& preset = presetWithId(c.id);
        host.applyPreset(preset);
        EXPECT_EQ(value(host, "delayType"), rawValue(preset.delayType)) << c.id;
        EXPECT_EQ(value(host, c.delayIdentifier), c.delay) << c.id;
        EXPECT_EQ(value(host, "feedback"), preset.feedback) << c.id;
        EXPECT_EQ(value(host, "highCut"), preset.highCut) << c.id;
        EXPECT_EQ(value(host, "model"), rawValue(preset.model)) << c.id;
        auto state = effect.unit->fullState();
        EXPECT_EQ(*(*state)["currentPresetId"].string(), c.id);
    }
}

TEST_F(LoadedHost, AnImpulseThroughASlapbackEchoesAtThePresetsDelay) {
    EffectHost host(effect.unit);
    const FactoryPreset& preset = presetWithId("Slapback-Rockabilly Snap"); // 95 ms
    host.applyPreset(preset);
    AudioClip impulse;
    impulse.sampleRate = 48000;
    impulse.channels.assign(2, std::vector<float>(48000, 0.0f));
    impulse.channels[0][0] = impulse.channels[1][0] = 1.0f;
    std::string error;
    std::optional<AudioClip> out = host.render(impulse, {256, 120, 0}, error);
    ASSERT_TRUE(out) << error;
    const auto& left = out->channels[0];
    // The dry impulse, then silence until the echo.
    const std::size_t delay = static_cast<std::size_t>(preset.delayMs * 48);
    const std::size_t dryEnd = 48 * 20; // the filters ring briefly after the impulse
    double silence = 0, echo = 0;
    std::size_t echoAt = 0;
    for (std::size_t i = dryEnd; i < delay - 48; ++i)
        silence = std::max(silence, double(std::fabs(left[i])));
    for (std::size_t i = delay - 48; i < delay + 48 * 10; ++i)
        if (std::fabs(left[i]) > echo) {
            echo = std::fabs(left[i]);
            echoAt = i;
        }
    EXPECT_GT(echo, 10 * silence + 1e-4);
    EXPECT_NEAR(double(echoAt), double(delay), 48 * 3.0) << "within 3 ms of " << delay;
}

// A host's automation observer sees a gesture's touch, values and release, and the
// values reach the kernel.
TEST_F(LoadedHost, AutomationObserverRecordsTheGesture) {
    auto tree = effect.unit->parameterTree();
    std::vector<AUParameterAutomationEvent> recorded;
    AUParameterObserverToken recorder = tree->tokenByAddingParameterAutomationObserver(
        [&](const AUParameterAutomationEvent& event) { recorded.push_back(event); });
    AUParameterObserverToken surface = tree->tokenByAddingParameterObserver([](auto, auto) {});
    auto feedback = tree->parameter("feedback");
    using E = AUParameterAutomationEventType;
    feedback->setValue(50, surface, 1, E::touch);
    feedback->setValue(60, surface, 2, E::value);
    feedback->setValue(70, surface, 3, E::value);
    feedback->setValue(70, surface, 4, E::release);
    tree->removeParameterObserver(recorder);
    tree->removeParameterObserver(surface);
    const E expected[] = {E::touch, E::value, E::value, E::release};
    ASSERT_EQ(recorded.size(), std::size(expected));
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].eventType, expected[i]) << i;
        EXPECT_EQ(recorded[i].address, ParameterAddress::feedback);
    }
    EXPECT_EQ(recorded[2].value, 70);
    EXPECT_EQ(feedback->value(), 70) << "the kernel's value";
}

// Save, restore and a second host instance render the same audio bit for bit.
TEST_F(LoadedHost, SavedStateRendersTheSameInEveryInstance) {
    AudioClip input;
    input.sampleRate = 44100;
    input.channels.assign(2, std::vector<float>(44100, 0.0f));
    for (std::size_t i = 0; i + 200 < input.frames(); i += 5000)
        for (std::size_t k = 0; k < 200; ++k)
            input.channels[i / 5000 % 2][i + k] = 0.5f * std::sin(0.05f * float(k));
    const RenderSettings settings{333, 97, 0.5};

    EffectHost first(effect.unit);
    // A sine oscillator: the smooth-random one draws on from where the last render
    // left its generator, so only a fresh instance repeats it.
    first.applyPreset(presetWithId("Chorus-Lush Eight"));
    first.setParameter("feedback", 63);
    first.setParameter("dirt", -40);
    const PropertyListDictionary saved = *effect.unit->fullState();
    std::string error;
    std::optional<AudioClip> reference = first.render(input, settings, error);
    ASSERT_TRUE(reference) << error;

    first.applyPreset(presetWithId("Runaway-Wall of Noise"));
    effect.unit->setFullState(saved);
    std::optional<AudioClip> restored = first.render(input, settings, error);

    LoadedEffect other = load();
    other.unit->setFullState(saved);
    EffectHost second(other.unit);
    std::optional<AudioClip> elsewhere = second.render(input, settings, error);
    ASSERT_TRUE(restored && elsewhere) << error;
    EXPECT_EQ(*(*other.unit->fullState())["currentPresetId"].string(), "Chorus-Lush Eight");
    EXPECT_TRUE(restored->channels == reference->channels);
    EXPECT_TRUE(elsewhere->channels == reference->channels);
}

// ---- The program ----

// The program in the test's environment changed by `env` arguments ("-u DISPLAY",
// "DISPLAY=:9"; none: the test's environment as it is).
ProgramRun runHostWith(const std::string& environment, const std::string& arguments) {
    return runCommand((environment.empty() ? "" : "env " + environment + " ") +
                      std::string(EMBERFALL_HOST_PATH) + " " + arguments);
}

ProgramRun runHost(const std::string& arguments) {
    return runHostWith("", arguments);
}

TEST(HostProgram, RendersThePhraseAndAMonoFile) {
    ProgramRun phrase = runHost("render");
    EXPECT_EQ(phrase.status, 0) << phrase.out;
    EXPECT_NE(phrase.out.find("built-in phrase, stereo, 44100 Hz, Default\n"), std::string::npos)
        << phrase.out;
    EXPECT_NE(phrase.out.find("output R"), std::string::npos) << phrase.out;

    const auto folder = std::filesystem::temp_directory_path() /
                        ("emberfall-host-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    AudioClip mono;
    mono.sampleRate = 48000;
    mono.channels.assign(1, std::vector<float>(24000, 0.0f));
    for (std::size_t i = 0; i < 2400; ++i)
        mono.channels[0][i] = 0.3f * std::sin(0.1f * float(i));
    std::string error;
    const std::string in = (folder / "in.wav").string(), out = (folder / "out.wav").string();
    ASSERT_TRUE(writeAudioFile(in, mono, error)) << error;
    ProgramRun file = runHost(
        "render " + in + " --mono --preset 'Sun Room' --set feedback=30 --tail 1 --output " + out);
    ASSERT_EQ(file.status, 0) << file.out;
    std::optional<AudioClip> result = readAudioFile(out, error);
    ASSERT_TRUE(result) << error;
    EXPECT_EQ(result->sampleRate, 48000);
    ASSERT_EQ(result->channels.size(), 1u);
    EXPECT_EQ(result->frames(), 24000u + 48000u);
    const auto levels = measureLevels(*result);
    EXPECT_GT(levels[0].peakDb, -30);
    std::filesystem::remove_all(folder);
}

// A stream read from a pipe: its header may give no length (the largest count
// there is) or more than the stream holds; either way the samples that come are read.
TEST(AudioFiles, StreamsOfUnknownOrOverstatedLengthReadToTheirEnd) {
    constexpr std::uint32_t frames = 1000;
    auto bigEndian = [](std::uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    auto littleEndian = [](std::uint32_t v, int bytes) {
        std::string text;
        for (int k = 0; k < bytes; ++k)
            text += char(v >> (8 * k));
        return text;
    };
    const float value = 0.25f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::string samples, samplesBigEndian;
    for (std::uint32_t i = 0; i < 2 * frames; ++i) {
        samples += littleEndian(bits, 4);
        samplesBigEndian += bigEndian(bits);
    }
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        // Sun/NeXT audio, float samples, data size 0xFFFFFFFF: length unknown.
        {"unknown length", ".snd" + bigEndian(24) + bigEndian(0xFFFFFFFFu) + bigEndian(6) +
                               bigEndian(44100) + bigEndian(2) + samplesBigEndian},
        // WAV, float samples, whose data chunk claims 4 GB.
        {"overstated length", "RIFF" + littleEndian(0xFFFFFFFFu, 4) + "WAVEfmt " +
                                  littleEndian(16, 4) + littleEndian(3, 2) + littleEndian(2, 2) +
                                  littleEndian(44100, 4) + littleEndian(44100 * 8, 4) +
                                  littleEndian(8, 2) + littleEndian(32, 2) + "data" +
                                  littleEndian(0xFFFFFFF0u, 4) + samples},
    };
    const auto fifo = std::filesystem::temp_directory_path() /
                      ("emberfall-stream-test-" + std::to_string(getpid()));
    for (const Case& c : cases) {
        std::filesystem::remove(fifo);
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << c.what;
        std::thread writer([&] {
            std::ofstream stream(fifo, std::ios::binary);
            stream.write(c.bytes.data(), std::streamsize(c.bytes.size()));
        });
        std::string error;
        std::optional<AudioClip> clip = readAudioFile(fifo.string(), error);
        writer.join();
        ASSERT_TRUE(clip) << c.what << ": " << error;
        ASSERT_EQ(clip->channels.size(), 2u) << c.what;
        EXPECT_EQ(clip->frames(), frames) << c.what;
        EXPECT_EQ(clip->channels[1].back(), 0.25f) << c.what;
    }
    std::filesystem::remove(fifo);
}

TEST(HostProgram, StateRoundTripsThroughAFile) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("emberfall-state-test-" + std::to_string(getpid()) + ".plist");
    ProgramRun save = runHost("state save " + path.string() +
                              " --preset 'Echo-Dotted Line' --set width=-50 --set model='PT 2'");
    ASSERT_EQ(save.status, 0) << save.out;
    ProgramRun load = runHost("state load " + path.string());
    ASSERT_EQ(load.status, 0) << load.out;
    EXPECT_NE(load.out.find("preset Echo-Dotted Line"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("PT 2"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("-50"), std::string::npos) << load.out;
    std::filesystem::remove(path);
}

// A state saved by another component restores nothing: the host says so and fails
// rather than print the values it already had as "restored".
TEST(HostProgram, AStateOfAnotherComponentIsRefused) {
    TemporaryDirectory folder;
    const std::string ours = (folder / "ours.plist").string();
    const std::string theirs = (folder / "theirs.plist").string();
    ProgramRun save = runHost("state save " + ours + " --set feedback=77");
    ASSERT_EQ(save.status, 0) << save.out;
    std::string error;
    std::optional<PropertyListValue> state = PropertyListSerialization::readFile(ours, &error);
    ASSERT_TRUE(state && state->dictionary()) << error;
    PropertyListDictionary foreign = *state->dictionary();
    foreign["manufacturer"] = std::int64_t{0x4f746872}; // 'Othr'
    ASSERT_TRUE(PropertyListSerialization::writeFile(theirs, foreign, &error)) << error;

    for (const std::string& arguments :
         {"state load " + theirs, "render --tail 0 --state " + theirs}) {
        ProgramRun run = runHost(arguments);
        EXPECT_EQ(run.status, 3) << arguments << "\n" << run.out;
        EXPECT_NE(run.out.find("saved by another component"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("restored " + theirs), std::string::npos) << run.out;
    }
    ProgramRun load = runHost("state load " + ours);
    EXPECT_EQ(load.status, 0) << load.out;
    EXPECT_NE(load.out.find("77"), std::string::npos) << load.out;
}

// NaN and infinity in the input are reported, not shown as silence, and stay out of
// the levels of the samples around them.
TEST(HostProgram, NonFiniteInputIsReportedNotSilent) {
    AudioClip clip;
    clip.sampleRate = 44100;
    clip.channels.assign(2, std::vector<float>(4410, 0.0f));
    clip.channels[0].assign(4410, 0.5f);
    clip.channels[0][10] = std::numeric_limits<float>::quiet_NaN();
    clip.channels[0][20] = std::numeric_limits<float>::infinity();
    clip.channels[1][30] = -std::numeric_limits<float>::infinity();
    const auto levels = measureLevels(clip);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_NEAR(levels[0].peakDb, -6.02, 0.01);
    EXPECT_NEAR(levels[0].rmsDb, -6.02, 0.01);
    EXPECT_EQ(levels[0].nonFinite, 2u);
    EXPECT_EQ(levels[1].nonFinite, 1u);
    EXPECT_TRUE(std::isinf(levels[1].peakDb) && levels[1].peakDb < 0);

    TemporaryDirectory folder;
    const std::string in = (folder / "in.wav").string();
    std::string error;
    ASSERT_TRUE(writeAudioFile(in, clip, error)) << error;
    ProgramRun run = runHost("render " + in + " --tail 0");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("input  L  peak   -6.0 dBFS  rms   -6.0 dBFS  holds 2 non-finite"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("input  R  peak   -inf dBFS  rms   -inf dBFS  holds 1 non-finite"),
              std::string::npos)
        << run.out;
}

TEST(HostProgram, ErrorsExitNonZeroWithTheirReason) {
    struct Case {
        const char* arguments;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"render --preset Nonesuch", 2, "no preset 'Nonesuch'"},
        {"render --set tempo=3", 2, "unknown parameter 'tempo'"},
        {"render --set feedback=nan", 2, "not a value of feedback"},
        {"render --set feedback=900", 2, "out of range"},
        {"render /nonexistent/in.wav", 3, "cannot read"},
        {"state load /nonexistent/state.plist", 3, "cannot read the state"},
        {"render --appex /nonexistent.appex", 4, "cannot open the extension"},
        {"render --block 0", 2, "--block"},
        {"render --block 1.5", 2, "--block takes a whole number"},
        {"frobnicate", 2, "unknown command"},
        // Numbers are decimal: hexadecimal and the like are no values.
        {"render --set feedback=0x40", 2, "'0x40' is not a value of feedback"},
        {"render --set feedback=1e1x", 2, "'1e1x' is not a value of feedback"},
        {"render --set feedback=.", 2, "'.' is not a value of feedback"},
        {"render --set model=0x2", 2, "'0x2' is not a value of model"},
        {"render --tempo 0x78", 2, "--tempo takes a number from 1 to 999, not '0x78'"},
        {"render --tail infinity", 2, "--tail takes a number"},
        // An empty value is no value, never the option left out.
        {"render --preset ''", 2, "--preset needs a value, not an empty one"},
        {"render --output ''", 2, "--output needs a value, not an empty one"},
        {"render --state ''", 2, "--state needs a value, not an empty one"},
        {"render --appex ''", 2, "--appex needs a value, not an empty one"},
        {"editor --png ''", 2, "--png needs a value, not an empty one"},
        {"render --mono", 2, "--mono keeps a mono input mono; the built-in phrase is stereo"},
        {"render --output /nonexistent/out.wav", 3, "cannot write '/nonexistent/out.wav'"},
        // An option another command takes is not passed over without a word.
        {"render --png out.png", 2, "render takes no --png"},
        {"editor --tail 3", 2, "editor takes no --tail"},
        {"state save x.plist --output y.wav", 2, "state takes no --output"},
        {"presets --preset Default", 2, "presets takes no --preset"},
    };
    for (const Case& c : cases) {
        ProgramRun run = runHost(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.arguments << "\n" << run.out;
    }
    ProgramRun presets = runHost("presets");
    EXPECT_EQ(presets.status, 0);
    EXPECT_NE(presets.out.find("Vibrato\n  Vibrato-Seasick"), std::string::npos) << presets.out;
}

} // namespace

namespace {

TEST(HostProgram, DrawsTheEditorIntoAPNGAtEachScale) {
    const auto dir = std::filesystem::temp_directory_path();
    struct Case {
        const char* arguments;
        size_t width, height;
    };
    const Case cases[] = {
        {"", 472, 672},
        {"--scale 2 --preset 'Jet Wash'", 944, 1344},
    };
    for (const Case& c : cases) {
        const std::string path = (dir / ("emberfall-editor-" + std::to_string(getpid()) + "-" +
                                         std::to_string(c.width) + ".png"))
                                     .string();
        ProgramRun run = runHost("editor --png " + path + " " + c.arguments);
        EXPECT_EQ(run.status, 0) << run.out;
        std::optional<CGImage> image = CGImage::fromPNGFile(path);
        ASSERT_TRUE(image) << run.out;
        EXPECT_EQ(image->width(), c.width);
        EXPECT_EQ(image->height(), c.height);
        std::filesystem::remove(path);
    }
}

// Without a display the editor says so in one line, with a status of its own (not
// the one of an effect that cannot load), and how to draw it instead.
TEST(HostProgram, TheEditorWithoutADisplaySaysHowToDrawItInstead) {
    struct Case {
        const char* what;
        const char* environment;
        const char* why;
    };
    const Case cases[] = {
        {"no display named", "-u DISPLAY -u WAYLAND_DISPLAY", "($DISPLAY is not set)"},
        {"no session either", "-u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR",
         "($DISPLAY is not set)"},
        {"a display nobody serves", "-u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR DISPLAY=:65000",
         "(cannot open the X display ':65000')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun bare = runHostWith(c.environment, "editor --seconds 1");
        EXPECT_EQ(bare.status, 5) << bare.out;
        EXPECT_EQ(bare.out, std::string("emberfall: no display to open the editor on ") + c.why +
                                "; draw it with --png FILE\n");
    }
}

TEST(PopupMenu, RowsStackFromTheTopAndDividersTakeNoChoice) {
    using SwiftUI::MenuItem;
    const std::vector<MenuItem> items{MenuItem::button("Default", [] {}), MenuItem::divider(),
                                      MenuItem::submenu("Echo", {}),
                                      MenuItem::button("Last", [] {})};
    const CGFloat m = PopupMenuPresenter::margin, row = PopupMenuPresenter::rowHeight,
                  gap = PopupMenuPresenter::dividerHeight;
    struct Case {
        CGFloat fromTop;
        int item;
    };
    const Case cases[] = {{0, -1},
                          {m, 0},
                          {m + row - 0.5, 0},
                          {m + row + 1, -1}, // the divider
                          {m + row + gap, 2},
                          {m + 2 * row + gap + 1, 3},
                          {m + 3 * row + gap + 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(PopupMenuPresenter::itemAt(items, c.fromTop), c.item) << c.fromTop;
    EXPECT_EQ(PopupMenuPresenter::rowTop(items, 2), m + row + gap);
    const CGSize size = PopupMenuPresenter::size(items, 154);
    EXPECT_EQ(size.height, 2 * m + 3 * row + gap);
    EXPECT_GE(size.width, 154);
}

} // namespace
