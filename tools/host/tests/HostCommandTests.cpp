// The host's command line as a newcomer meets it, run in-process: finding presets by
// what people type, the main job leaving a file to listen to, mono files through the
// stereo effect, one-line mistakes with a hint, values as the editor shows them and
// the order of what a render prints.
#include "AudioFile.h"
#include "HostCommands.h"
#include "PresetLookup.h"

#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <unistd.h>

namespace {

struct HostRun {
    int status;
    std::string out, err;
};

HostRun host(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = runHost(arguments, EMBERFALL_HOST_PATH, out, err, false);
    RunLoop::main().runUntilIdle();
    return {status, out.str(), err.str()};
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PresetLookup, IdsNamesAndStylesInAnyCaseAndTheClosestForTheRest) {
    struct Case {
        const char* typed;
        const char* preset;                   // label of the preset found, "" for none
        const char* style;                    // the style named, "" for none
        std::vector<std::string> suggestions; // labels, closest first
    };
    const Case cases[] = {
        {"Echo-Dotted Line", "Echo-Dotted Line", "", {}},
        {"echo-dotted line", "Echo-Dotted Line", "", {}},
        {"DOTTED LINE", "Echo-Dotted Line", "", {}},
        {"default", "Default", "", {}},
        {"Default-Default", "Default", "", {}},
        {"chorus", "", "Chorus", {}},
        {"Doted Line", "", "", {"Echo-Dotted Line"}},
        {"rockabily snap", "", "", {"Slapback-Rockabilly Snap"}},
        {"sweep", "", "", {"Flanger-Sweep Thing", "Flanger-Metal Sweep", "Flanger-Chrome Sweep"}},
        {"zzzzzzzz", "", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const PresetLookup found = lookUpPreset(c.typed);
        EXPECT_EQ(found.preset ? presetLabel(*found.preset) : "", c.preset);
        EXPECT_EQ(found.style ? found.style->style : "", c.style);
        std::vector<std::string> labels;
        for (const FactoryPreset* p : found.suggestions)
            labels.push_back(presetLabel(*p));
        EXPECT_EQ(labels, c.suggestions);
    }
    EXPECT_EQ(presetLabel("Echo-Dotted Line"), "Echo-Dotted Line");
    EXPECT_EQ(presetLabel("Default-Default"), "Default");
    EXPECT_EQ(presetLabel("Other-Thing"), "Other-Thing");
}

TEST(HostCommands, TheMainJobWritesWhatItRenderedAndSaysWhere) {
    TemporaryDirectory folder("emberfall-main-job");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const HostRun run = host({});
    std::filesystem::current_path(before);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string written = (folder / "emberfall-phrase.wav").string();
    EXPECT_TRUE(has(run.out, "built-in phrase, stereo, 44100 Hz, Default\n")) << run.out;
    EXPECT_TRUE(has(run.out, "wrote " + written + "\n")) << run.out;
    std::string error;
    std::optional<AudioClip> clip = readAudioFile(written, error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->channels.size(), 2u);
    EXPECT_EQ(clip->frames(), 44100u * 6); // the phrase and the tail
    EXPECT_GT(measureLevels(*clip)[0].peakDb, -20);
}

TEST(HostCommands, AMonoFileFeedsBothInputsSoSpreadIsHeardUnlessAskedToStayMono) {
    TemporaryDirectory folder("emberfall-mono");
    AudioClip mono;
    mono.channels.assign(1, std::vector<float>(22050, 0.0f));
    for (std::size_t i = 0; i < 4410; ++i)
        mono.channels[0][i] = 0.5f * std::sin(0.05f * float(i));
    std::string error;
    const std::string in = (folder / "in.wav").string(), out = (folder / "out.wav").string();
    ASSERT_TRUE(writeAudioFile(in, mono, error)) << error;
    struct Case {
        const char* what;
        std::vector<std::string> extra;
        std::size_t channels;
        const char* says;
    };
    const Case cases[] = {
        {"stereo", {}, 2, "in.wav, mono into both inputs,"},
        {"kept mono", {"--mono"}, 1, "in.wav, mono,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Spread 6 ms: the two channels' echoes come at different times.
        std::vector<std::string> arguments{"render", in,  "--preset", "Quarter Master",
                                           "--tail", "1", "--output", out};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const HostRun run = host(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(has(run.out, c.says)) << run.out;
        std::optional<AudioClip> result = readAudioFile(out, error);
        ASSERT_TRUE(result) << error;
        ASSERT_EQ(result->channels.size(), c.channels);
        if (c.channels == 2) {
            double difference = 0;
            for (std::size_t i = 0; i < result->frames(); ++i)
                difference = std::max<double>(
                    difference, std::fabs(result->channels[0][i] - result->channels[1][i]));
            EXPECT_GT(difference, 0.01) << "the channels should differ by the spread";
        }
    }
}

TEST(HostCommands, AMistakeIsOneLineAndAHintNotTheWholeUsage) {
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
        const char* hint;
    };
    const Case cases[] = {
        {{"render", "--preset", "Doted Line"},
         "no preset 'Doted Line'; did you mean 'Echo-Dotted Line'?",
         "emberfall render --help"},
        {{"render", "--preset", "slapback"},
         "'slapback' is a style; its presets are 'Sun Room', 'Rockabilly Snap'",
         "emberfall render --help"},
        {{"render", "--set", "model=TAPE"},
         "'TAPE' is not a value of model; it takes BBD 1, BBD 2, PT 1 or PT 2",
         "emberfall render --help"},
        {{"render", "--set", "feedback=loud"},
         "'loud' is not a value of feedback; it takes a number from 0 to 150 %",
         "emberfall render --help"},
        {{"editor", "--frobnicate"}, "unknown option --frobnicate", "emberfall editor --help"},
        {{"state", "save"}, "state takes 'save FILE' or 'load FILE'", "emberfall state --help"},
        {{"frobnicate"}, "unknown command 'frobnicate'", "emberfall --help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const HostRun run = host(c.arguments);
        EXPECT_EQ(run.status, exitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(has(run.err, std::string("emberfall: ") + c.says)) << run.err;
        EXPECT_TRUE(has(run.err, std::string("\ntry '") + c.hint + "'\n")) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    }
    // Words of an indexed parameter are read without regard to case or spaces.
    EXPECT_EQ(host({"render", "--set", "model=pt2", "--tail", "0"}).status, exitOk);
}

TEST(HostCommands, HelpIsAskedForPerCommandAndNamesTheDefaults) {
    const HostRun render = host({"render", "--help"});
    EXPECT_EQ(render.status, exitOk);
    for (const char* part : {"--tempo BPM", "(default 120)", "--tail SECONDS", "(default 2)",
                             "--block FRAMES", "(default 512)", "without it", "--mono"})
        EXPECT_TRUE(has(render.out, part)) << part << "\n" << render.out;
    EXPECT_TRUE(has(host({"-h"}).out, "emberfall-phrase.wav"));
    EXPECT_TRUE(has(host({"state", "-h"}).out, "as the editor shows it"));
}

TEST(HostCommands, StateLoadShowsEachValueAsTheEditorDoes) {
    TemporaryDirectory folder("emberfall-state");
    const std::string path = (folder / "state.plist").string();
    ASSERT_EQ(host({"state", "save", path, "--preset", "quarter master"}).status, exitOk);
    const HostRun load = host({"state", "load", path});
    ASSERT_EQ(load.status, exitOk) << load.err;
    for (const char* line : {"preset Echo-Quarter Master\n", "modRate    0.30 Hz\n",
                             "modDepth   1.5 MS\n", "spread     6.00 MS\n", "mix        35 %\n",
                             "delayNote  1/4\n", "lfoType    RND\n", "highCut    5000 Hz\n"})
        EXPECT_TRUE(has(load.out, line)) << line << load.out;
    ASSERT_EQ(host({"state", "save", path}).status, exitOk);
    EXPECT_TRUE(has(host({"state", "load", path}).out, "preset Default\n"));
}

// A saved state is restored as far as it is valid; what was skipped is named on one
// line, and the command goes on.
TEST(HostCommands, AStateRestoresWhatItCanAndNamesWhatItSkipped) {
    TemporaryDirectory folder("emberfall-state-skipped");
    const std::string saved = (folder / "saved.plist").string();
    ASSERT_EQ(host({"state", "save", saved, "--set", "delayMs=750"}).status, exitOk);
    std::string error;
    std::optional<PropertyListValue> read = PropertyListSerialization::readFile(saved, &error);
    ASSERT_TRUE(read && read->dictionary()) << error;

    struct Case {
        const char* what;
        std::function<void(PropertyListDictionary&)> spoil;
        const char* skipped; // "" for nothing
    };
    auto parameters = [](PropertyListDictionary& state) -> PropertyListDictionary& {
        return *state["parameters"].dictionary();
    };
    const Case cases[] = {
        {"a valid state", [](PropertyListDictionary&) {}, ""},
        {"entries of the wrong type",
         [&](PropertyListDictionary& state) {
             parameters(state)["feedback"] = "loud";
             parameters(state)["width"] = true;
             parameters(state)["mix"] = std::numeric_limits<double>::infinity();
             parameters(state)["colour"] = 3.0;
             state["currentPresetId"] = 5;
         },
         "currentPresetId (not text), colour (no such parameter), feedback (not a number), "
         "mix (not a finite number), width (not a number)"},
        {"no parameter values", [](PropertyListDictionary& state) { state["parameters"] = 2; },
         "parameters (not a dictionary)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PropertyListDictionary state = *read->dictionary();
        c.spoil(state);
        const std::string path = (folder / "state.plist").string();
        ASSERT_TRUE(PropertyListSerialization::writeFile(path, state, &error)) << error;
        const std::string warning =
            *c.skipped ? "emberfall: skipped in the state in '" + path + "': " + c.skipped + "\n"
                       : "";
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"state", "load", path},
              std::vector<std::string>{"render", "--tail", "0", "--state", path}}) {
            const HostRun run = host(arguments);
            EXPECT_EQ(run.status, exitOk) << arguments[0];
            EXPECT_EQ(run.err, warning) << arguments[0];
        }
        const HostRun load = host({"state", "load", path});
        EXPECT_TRUE(
            has(load.out, *c.skipped == 'p' ? "delayMs    375.0 MS\n" : "delayMs    750.0 MS\n"))
            << load.out;
        EXPECT_TRUE(has(load.out, "feedback   45 %\n")) << load.out;
    }
}

// --mono keeps a mono input mono; a stereo input is refused rather than rendered in
// stereo as if the option had not been given.
TEST(HostCommands, MonoOnAStereoInputIsRefused) {
    TemporaryDirectory folder("emberfall-mono-stereo");
    AudioClip stereo;
    stereo.channels.assign(2, std::vector<float>(4410, 0.1f));
    std::string error;
    const std::string in = (folder / "stereo.wav").string();
    ASSERT_TRUE(writeAudioFile(in, stereo, error)) << error;
    for (const char* command : {"render", "editor"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> arguments{command, in, "--mono"};
        if (command == std::string("editor"))
            arguments.insert(arguments.end(), {"--png", (folder / "e.png").string()});
        const HostRun run = host(arguments);
        EXPECT_EQ(run.status, exitUsage);
        EXPECT_TRUE(has(run.err, "emberfall: --mono keeps a mono input mono; the input '" + in +
                                     "' is stereo\n"))
            << run.err;
    }
}

TEST(HostCommands, WhatIsRenderedIsNamedBeforeTheProgressBar) {
    std::ostringstream both; // the terminal shows both streams as they come
    const int status = runHost({"render", "--tail", "8"}, EMBERFALL_HOST_PATH, both, both, true);
    RunLoop::main().runUntilIdle();
    ASSERT_EQ(status, exitOk) << both.str();
    const std::string text = both.str();
    const std::size_t banner = text.find("built-in phrase"), bar = text.find("[###");
    ASSERT_NE(bar, std::string::npos) << text;
    EXPECT_LT(banner, bar) << text;
    EXPECT_LT(bar, text.find("output L")) << text;
}

} // namespace
