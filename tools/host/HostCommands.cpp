#include "HostCommands.h"

#include "AudioFile.h"
#include "EditorCommand.h"
#include "EffectHost.h"
#include "EffectLoader.h"
#include "HostParameters.h"
#include "HostUsage.h"
#include "PresetLookup.h"
#include "TestPhrase.h"

#include "FactoryPresets.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <span>
#include <sstream>
#include <string_view>

namespace {

constexpr double phraseSeconds = 4.0;
constexpr double progressMinimumSeconds = 10.0;
// The editor holds its loop in memory: of a longer input it loops the start.
constexpr double editorLoopSeconds = 300.0;

// Where the main job (the program run with no arguments) leaves what it rendered.
constexpr const char* phraseFile = "emberfall-phrase.wav";

struct Options {
    std::vector<std::string> positional;
    bool mono = false; // a mono input stays mono
    bool help = false;
    std::string preset;
    std::vector<std::string> sets;
    std::string statePath;
    std::string outputPath;
    std::string appexPath;
    RenderSettings render;
    EditorOptions editor;
};

// A mistake on the command line: one line, then a hint where to read more.
struct UsageError {
    std::string message;
};

// The options each command takes; any other is a mistake rather than something the
// command would pass over without a word.
bool takesOption(const std::string& command, std::string_view option) {
    const std::string_view render[] = {"--preset", "--set",  "--state",  "--tempo", "--block",
                                       "--tail",   "--mono", "--output", "--appex"};
    const std::string_view editor[] = {"--preset", "--set",   "--state",   "--mono",
                                       "--png",    "--scale", "--seconds", "--appex"};
    const std::string_view state[] = {"--preset", "--set", "--appex"};
    auto in = [&](std::span<const std::string_view> list) {
        return std::find(list.begin(), list.end(), option) != list.end();
    };
    if (command == "render")
        return in(render);
    if (command == "editor")
        return in(editor);
    if (command == "state")
        return in(state);
    return false;
}

Options parseOptions(const std::vector<std::string>& arguments, std::size_t first,
                     const std::string& command) {
    Options options;
    // An empty value names nothing: it would otherwise read as the option left out
    // (--preset "" as the Default preset, --output "" as writing nothing).
    auto valueOf = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= arguments.size())
            throw UsageError{arguments[i] + " needs a value"};
        if (arguments[i + 1].empty())
            throw UsageError{arguments[i] + " needs a value, not an empty one"};
        return arguments[++i];
    };
    auto numberOf = [&](std::size_t& i, double minimum, double maximum, bool whole = false) {
        const std::string& name = arguments[i];
        const std::string& text = valueOf(i);
        double value = 0;
        if (!parseNumber(text, value) || value < minimum || value > maximum ||
            (whole && value != std::trunc(value))) {
            std::ostringstream message;
            message << name << " takes a " << (whole ? "whole number" : "number") << " from "
                    << minimum << " to " << maximum << ", not '" << text << "'";
            throw UsageError{message.str()};
        }
        return value;
    };
    const std::string_view known[] = {"--preset", "--set",   "--state", "--output",
                                      "--appex",  "--png",   "--scale", "--seconds",
                                      "--tempo",  "--block", "--tail",  "--mono"};
    for (std::size_t i = first; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (std::find(std::begin(known), std::end(known), a) != std::end(known) &&
            !takesOption(command, a))
            throw UsageError{command + " takes no " + a};
        if (a == "--preset")
            options.preset = valueOf(i);
        else if (a == "--set")
            options.sets.push_back(valueOf(i));
        else if (a == "--state")
            options.statePath = valueOf(i);
        else if (a == "--output")
            options.outputPath = valueOf(i);
        else if (a == "--appex")
            options.appexPath = valueOf(i);
        else if (a == "--png")
            options.editor.pngPath = valueOf(i);
        else if (a == "--scale")
            options.editor.scale = numberOf(i, 0.25, 8);
        else if (a == "--seconds")
            options.editor.limit = numberOf(i, 0.1, 86400);
        else if (a == "--tempo")
            options.render.tempo = numberOf(i, 1, 999);
        else if (a == "--block")
            options.render.blockSize = static_cast<AUAudioFrameCount>(numberOf(i, 1, 16384, true));
        else if (a == "--tail")
            options.render.tailSeconds = numberOf(i, 0, 600);
        else if (a == "--mono")
            options.mono = true;
        else if (a == "--help" || a == "-h")
            options.help = true;
        else if (a.rfind("--", 0) == 0)
            throw UsageError{"unknown option " + a};
        else
            options.positional.push_back(a);
    }
    return options;
}

// What a command plays through the effect: a file read a block at a time, or the
// built-in phrase. A mono input feeds both inputs of the stereo unit (so that spread
// and width are heard) unless asked to stay mono.
struct Input {
    std::string name;                      // the path, or "built-in phrase"
    std::unique_ptr<AudioFileReader> file; // none for the phrase
    AudioClip phrase;
    double sampleRate = 44100;
    std::size_t heldChannels = 2; // as the input holds them
    std::size_t channels = 2;     // as the unit takes them

    std::optional<std::size_t> statedFrames() const {
        return file ? file->statedFrames() : std::optional(phrase.frames());
    }
};

// The input as a render's source; `levels` measures what the unit is fed.
RenderSource inputSource(Input& input, LevelMeasurement& levels) {
    if (!input.file) {
        RenderSource source = clipSource(input.phrase);
        source.read = [read = source.read, &levels](std::span<float* const> channels,
                                                    std::size_t frames, std::string& error) {
            std::optional<std::size_t> got = read(channels, frames, error);
            if (got)
                levels.add(std::vector<const float*>(channels.begin(), channels.end()), *got);
            return got;
        };
        return source;
    }
    RenderSource source;
    source.sampleRate = input.sampleRate;
    source.channels = static_cast<AUAudioChannelCount>(input.channels);
    source.statedFrames = input.file->statedFrames();
    source.read = [&input, &levels](std::span<float* const> channels, std::size_t frames,
                                    std::string& error) {
        std::optional<std::size_t> got =
            input.file->read(channels.first(input.heldChannels), frames, error);
        if (!got)
            return got;
        for (std::size_t c = input.heldChannels; c < channels.size(); ++c)
            std::copy_n(channels[0], *got, channels[c]);
        levels.add(std::vector<const float*>(channels.begin(), channels.end()), *got);
        return got;
    };
    return source;
}

std::string decibels(double value) {
    if (!std::isfinite(value))
        return "  -inf";
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << std::setw(6) << value;
    return text.str();
}

void printLevels(std::ostream& out, const char* label, const std::vector<ChannelLevels>& levels) {
    const char* names[] = {"L", "R"};
    for (std::size_t c = 0; c < levels.size(); ++c) {
        out << label << " " << (levels.size() == 1 ? "M" : names[c]) << "  peak "
            << decibels(levels[c].peakDb) << " dBFS  rms " << decibels(levels[c].rmsDb) << " dBFS";
        // NaN or infinity is not silence: say so rather than let it read as -inf.
        if (levels[c].nonFinite > 0)
            out << "  holds " << levels[c].nonFinite << " non-finite samples (NaN or infinity)";
        out << "\n";
    }
}

// Each parameter as the editor shows it.
void printParameters(std::ostream& out, AUAudioUnit& unit) {
    auto tree = unit.parameterTree();
    if (!tree)
        return;
    for (const auto& parameter : tree->children())
        out << "  " << std::left << std::setw(10) << parameter->identifier() << std::right << " "
            << editorText(*parameter, parameter->value()) << "\n";
}

class ProgressBar {
  public:
    ProgressBar(std::ostream& err, bool enabled) : err(err), enabled(enabled) {}
    ~ProgressBar() { clear(); }
    // Takes the bar off the line, so that what follows starts the line.
    void clear() {
        if (drawn)
            err << "\r" << std::string(40, ' ') << "\r" << std::flush;
        drawn = false;
    }
    void operator()(double fraction) {
        const int percent = static_cast<int>(fraction * 100);
        if (!enabled || percent == shown)
            return;
        shown = percent;
        drawn = true;
        const int filled = percent * 30 / 100;
        err << "\r[" << std::string(filled, '#') << std::string(30 - filled, '.') << "] "
            << std::setw(3) << percent << "%" << std::flush;
    }

  private:
    std::ostream& err;
    bool enabled;
    int shown = -1;
    bool drawn = false;
};

class Host {
  public:
    Host(std::string programPath, std::ostream& out, std::ostream& err, bool errIsTerminal)
        : programPath(std::move(programPath)), out(out), err(err), errIsTerminal(errIsTerminal) {}

    // The command the arguments name, for the hint after a mistake.
    std::string command = "render";

    int run(const std::vector<std::string>& arguments) {
        const bool mainJob = arguments.empty();
        if (!mainJob)
            command = arguments.front();
        if (command == "--help" || command == "-h" || command == "help") {
            out << hostUsage("");
            return exitOk;
        }
        const bool known = command == "render" || command == "editor" || command == "presets" ||
                           command == "state";
        if (!known) {
            command = "";
            throw UsageError{"unknown command '" + arguments.front() + "'"};
        }
        Options options = parseOptions(arguments, mainJob ? 0 : 1, command);
        if (options.help) {
            out << hostUsage(command);
            return exitOk;
        }
        if (command == "presets")
            return presets();
        if (command == "render") {
            if (mainJob)
                options.outputPath = phraseFile;
            return render(options);
        }
        if (command == "editor")
            return editor(options);
        if (options.positional.size() != 2 ||
            (options.positional[0] != "save" && options.positional[0] != "load"))
            throw UsageError{"state takes 'save FILE' or 'load FILE'"};
        return options.positional[0] == "save" ? saveState(options) : loadState(options);
    }

  private:
    int presets() {
        out << presetLabel(defaultFactoryPreset()) << "\n";
        for (const PresetGroup& group : factoryPresetGroups()) {
            out << group.style << "\n";
            for (const FactoryPreset& preset : group.presets)
                out << "  " << presetLabel(preset) << "\n";
        }
        return exitOk;
    }

    // The preset --preset names; a style, or a name that matches nothing, is a mistake
    // that says what would do.
    static const FactoryPreset* presetNamed(const std::string& text) {
        const PresetLookup found = lookUpPreset(text);
        if (found.preset)
            return found.preset;
        std::string message;
        if (found.style) {
            message = "'" + text + "' is a style; its presets are";
            for (const FactoryPreset& preset : found.style->presets)
                message +=
                    (&preset == &found.style->presets.front() ? " '" : ", '") + preset.name + "'";
        } else {
            message = "no preset '" + text + "'";
            for (std::size_t i = 0; i < found.suggestions.size(); ++i)
                message += (i == 0                              ? "; did you mean '"
                            : i + 1 == found.suggestions.size() ? "' or '"
                                                                : "', '") +
                           presetLabel(*found.suggestions[i]);
            message += found.suggestions.empty() ? " ('emberfall presets' lists them)" : "'?";
        }
        throw UsageError{message};
    }

    // Loads the extension and applies --state, --preset and --set in that order.
    std::optional<EffectHost> prepare(const Options& options, int& status) {
        const FactoryPreset* preset =
            options.preset.empty() ? nullptr : presetNamed(options.preset);
        std::optional<PropertyListDictionary> state;
        if (!options.statePath.empty() && !(state = readState(options.statePath, status)))
            return std::nullopt;
        std::string error;
        const std::string appex =
            options.appexPath.empty() ? defaultAppexPath(programPath) : options.appexPath;
        loaded = loadEffect(appex, error);
        if (!loaded) {
            err << "emberfall: " << error << "\n";
            status = exitEffectFailure;
            return std::nullopt;
        }
        EffectHost host(loaded->unit);
        if (state && host.audioUnit().namesAnotherComponent(*state)) {
            err << "emberfall: the state in '" << options.statePath
                << "' was saved by another component; nothing was restored\n";
            status = exitInputFailure;
            return std::nullopt;
        }
        if (state) {
            host.audioUnit().setFullState(state);
            const std::vector<std::string> skipped = skippedStateEntries(host.audioUnit(), *state);
            if (!skipped.empty()) {
                err << "emberfall: skipped in the state in '" << options.statePath << "':";
                for (const std::string& entry : skipped)
                    err << (&entry == &skipped.front() ? " " : ", ") << entry;
                err << "\n";
            }
        }
        if (preset)
            host.applyPreset(*preset);
        for (const std::string& text : options.sets) {
            auto tree = host.audioUnit().parameterTree();
            std::optional<ParameterSetting> setting =
                tree ? parseSetting(*tree, text, error) : std::nullopt;
            if (!setting)
                throw UsageError{tree ? error : "the effect has no parameters"};
            host.setParameter(setting->identifier, setting->value);
        }
        RunLoop::main().runUntilIdle();
        return host;
    }

    // The entries of a saved state that restoring it passes over, each with why: a
    // parameter value that is no number or no finite one, an identifier the effect
    // does not have, a preset id that is no text.
    static std::vector<std::string> skippedStateEntries(AUAudioUnit& unit,
                                                        const PropertyListDictionary& state) {
        std::vector<std::string> skipped;
        auto preset = state.find(presetIdStateKey);
        if (preset != state.end() && !preset->second.string())
            skipped.push_back(std::string(presetIdStateKey) + " (not text)");
        auto parameters = state.find("parameters");
        if (parameters == state.end() || !parameters->second.dictionary()) {
            skipped.push_back(parameters == state.end() ? "parameters (missing)"
                                                        : "parameters (not a dictionary)");
            return skipped;
        }
        auto tree = unit.parameterTree();
        for (const auto& [identifier, value] : *parameters->second.dictionary()) {
            const std::optional<double> number = value.number();
            if (!tree || !tree->parameter(identifier))
                skipped.push_back(identifier + " (no such parameter)");
            else if (!number)
                skipped.push_back(identifier + " (not a number)");
            else if (!std::isfinite(*number))
                skipped.push_back(identifier + " (not a finite number)");
        }
        return skipped;
    }

    std::optional<PropertyListDictionary> readState(const std::string& path, int& status) {
        std::string error;
        std::optional<PropertyListValue> value = PropertyListSerialization::readFile(path, &error);
        if (!value || !value->dictionary()) {
            err << "emberfall: cannot read the state in '" << path
                << "': " << (value ? "not a dictionary" : error) << "\n";
            status = exitInputFailure;
            return std::nullopt;
        }
        return *value->dictionary();
    }

    // The input file, opened to be read a block at a time, or the built-in phrase
    // when none is named. None (with the message written) when the file cannot be
    // opened.
    std::optional<Input> openInput(const Options& options) {
        if (options.positional.size() > 1)
            throw UsageError{command + " takes at most one input file"};
        Input input;
        if (options.positional.empty()) {
            demo::Phrase phrase = demo::makeTestPhrase(44100, phraseSeconds);
            input.name = "built-in phrase";
            input.phrase.sampleRate = input.sampleRate = phrase.sampleRate;
            input.phrase.channels = std::move(phrase.channels);
            input.heldChannels = input.phrase.channels.size();
        } else {
            std::string error;
            input.name = options.positional[0];
            input.file = AudioFileReader::open(input.name, error);
            if (!input.file) {
                err << "emberfall: " << error << "\n";
                return std::nullopt;
            }
            input.sampleRate = input.file->sampleRate();
            input.heldChannels = input.file->channels();
        }
        if (options.mono && input.heldChannels != 1)
            throw UsageError{"--mono keeps a mono input mono; the " +
                             (input.file ? "input '" + input.name + "'" : input.name) +
                             " is stereo"};
        input.channels = input.heldChannels == 1 && !options.mono ? 2 : input.heldChannels;
        return input;
    }

    int editor(const Options& options) {
        std::optional<Input> input = openInput(options);
        if (!input)
            return exitInputFailure;
        AudioClip loop = std::move(input->phrase);
        if (input->file) {
            // The loop is held whole; of a longer file the start is looped.
            const auto longest = static_cast<std::size_t>(editorLoopSeconds * input->sampleRate);
            std::string error;
            input->file.reset();
            std::optional<AudioClip> clip = readAudioFile(input->name, error, longest + 1);
            if (!clip) {
                err << "emberfall: " << error << "\n";
                return exitInputFailure;
            }
            if (clip->frames() > longest) {
                for (auto& channel : clip->channels)
                    channel.resize(longest);
                out << "emberfall: the editor loops the first " << editorLoopSeconds / 60
                    << " minutes of '" << input->name << "'\n";
            }
            loop = std::move(*clip);
            if (loop.channels.size() < input->channels)
                loop.channels.push_back(loop.channels.front());
        }
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        return runEditor(*loaded, loop, options.editor, out, err);
    }

    int render(const Options& options) {
        std::optional<Input> input = openInput(options);
        if (!input)
            return exitInputFailure;
        std::string error;
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        // What is rendered, before the progress of rendering it.
        out << "emberfall " << loaded->version << ": " << input->name << ", "
            << (input->heldChannels == 1 ? (input->channels == 2 ? "mono into both inputs" : "mono")
                                         : "stereo")
            << ", " << input->sampleRate << " Hz, "
            << presetLabel(currentPresetIdOf(host->audioUnit())) << "\n"
            << std::flush;

        // A result that no WAV file can hold is refused before it is rendered.
        const std::optional<std::size_t> stated = input->statedFrames();
        const auto tailFrames =
            static_cast<std::size_t>(options.render.tailSeconds * input->sampleRate);
        if (!options.outputPath.empty() && stated &&
            *stated + tailFrames > AudioFileWriter::maximumFrames(input->channels)) {
            err << "emberfall: cannot write '" << options.outputPath << "': the result ("
                << *stated + tailFrames << " frames of " << input->channels
                << " channels) is longer than a WAV file can hold (4 GB)\n";
            return exitInputFailure;
        }
        std::unique_ptr<AudioFileWriter> writer;
        if (!options.outputPath.empty()) {
            writer = AudioFileWriter::create(options.outputPath, input->sampleRate, input->channels,
                                             error);
            if (!writer) {
                err << "emberfall: " << error << "\n";
                return exitInputFailure;
            }
        }
        LevelMeasurement inputLevels(input->channels), outputLevels(input->channels);
        const RenderSink sink = [&](std::span<const float* const> channels, std::size_t frames,
                                    std::string& failure) {
            outputLevels.add(channels, frames);
            return !writer || writer->write(channels, frames, failure);
        };
        const double seconds =
            stated ? double(*stated) / input->sampleRate + options.render.tailSeconds : 0;
        ProgressBar progress(err, errIsTerminal && seconds >= progressMinimumSeconds);
        const RenderFailure failure =
            host->render(inputSource(*input, inputLevels), options.render, sink, error,
                         [&](double fraction) { progress(fraction); });
        progress.clear();
        if (failure == RenderFailure::none && writer && !writer->finish(error)) {
            err << "emberfall: " << error << "\n";
            return exitInputFailure;
        }
        if (failure != RenderFailure::none) {
            err << "emberfall: " << error << "\n";
            return failure == RenderFailure::effect ? exitEffectFailure : exitInputFailure;
        }
        printLevels(out, "input ", inputLevels.levels());
        printLevels(out, "output", outputLevels.levels());
        if (writer)
            out << "wrote " << std::filesystem::absolute(options.outputPath).string() << "\n";
        return exitOk;
    }

    // The unit's preset id; the Default preset's when it has none.
    static std::string currentPresetIdOf(AUAudioUnit& unit) {
        std::optional<PropertyListDictionary> state = unit.fullState();
        if (!state)
            return defaultFactoryPreset().id();
        auto entry = state->find(presetIdStateKey);
        if (entry == state->end() || !entry->second.string() || entry->second.string()->empty())
            return defaultFactoryPreset().id();
        return *entry->second.string();
    }

    int saveState(const Options& options) {
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        std::optional<PropertyListDictionary> state = host->audioUnit().fullState();
        std::string error;
        if (!state) {
            err << "emberfall: the effect has no state to save\n";
            return exitEffectFailure;
        }
        if (!PropertyListSerialization::writeFile(options.positional[1], *state, &error)) {
            err << "emberfall: cannot write '" << options.positional[1] << "': " << error << "\n";
            return exitInputFailure;
        }
        out << "saved " << options.positional[1] << " ("
            << presetLabel(currentPresetIdOf(host->audioUnit())) << ")\n";
        return exitOk;
    }

    int loadState(Options options) {
        if (!options.preset.empty() || !options.sets.empty())
            throw UsageError{"state load takes no --preset or --set"};
        options.statePath = options.positional[1];
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        out << "restored " << options.statePath << "\n"
            << "preset " << presetLabel(currentPresetIdOf(host->audioUnit())) << "\n";
        printParameters(out, host->audioUnit());
        return exitOk;
    }

    std::string programPath;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal;
    std::optional<LoadedEffect> loaded;
};

} // namespace

int runHost(const std::vector<std::string>& arguments, const std::string& programPath,
            std::ostream& out, std::ostream& err, bool errIsTerminal) {
    Host host(programPath, out, err, errIsTerminal);
    try {
        return host.run(arguments);
    } catch (const UsageError& error) {
        err << "emberfall: " << error.message << "\n"
            << "try 'emberfall " << (host.command.empty() ? "" : host.command + " ") << "--help'\n";
        return exitUsage;
    }
}
