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

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace {

constexpr double phraseSeconds = 4.0;
constexpr double progressMinimumSeconds = 10.0;

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

Options parseOptions(const std::vector<std::string>& arguments, std::size_t first) {
    Options options;
    auto valueOf = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= arguments.size())
            throw UsageError{arguments[i] + " needs a value"};
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
    for (std::size_t i = first; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
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

// The input's channels as the unit takes them: a mono input into both inputs of the
// stereo unit (so that spread and width are heard), unless asked to stay mono.
void widenMono(AudioClip& clip, bool keepMono) {
    if (clip.channels.size() == 1 && !keepMono)
        clip.channels.push_back(clip.channels.front());
}

std::string decibels(double value) {
    if (!std::isfinite(value))
        return "  -inf";
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << std::setw(6) << value;
    return text.str();
}

void printLevels(std::ostream& out, const char* label, const AudioClip& clip) {
    const char* names[] = {"L", "R"};
    const auto levels = measureLevels(clip);
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
    ~ProgressBar() {
        if (drawn)
            err << "\r" << std::string(40, ' ') << "\r" << std::flush;
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
        Options options = parseOptions(arguments, mainJob ? 0 : 1);
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
        if (state)
            host.audioUnit().setFullState(state);
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

    // The input file, or the built-in phrase when none is named.
    // The input file, or the built-in phrase when none is named; a mono file feeds
    // both inputs unless --mono.
    std::optional<AudioClip> readInput(const Options& options) {
        if (options.positional.size() > 1)
            throw UsageError{command + " takes at most one input file"};
        AudioClip input;
        if (options.positional.empty()) {
            demo::Phrase phrase = demo::makeTestPhrase(44100, phraseSeconds);
            input.sampleRate = phrase.sampleRate;
            input.channels = std::move(phrase.channels);
        } else {
            std::string error;
            std::optional<AudioClip> clip = readAudioFile(options.positional[0], error);
            if (!clip) {
                err << "emberfall: " << error << "\n";
                return std::nullopt;
            }
            input = std::move(*clip);
        }
        inputChannels = input.channels.size();
        widenMono(input, options.mono);
        return input;
    }

    int editor(const Options& options) {
        std::optional<AudioClip> input = readInput(options);
        if (!input)
            return exitInputFailure;
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        return runEditor(*loaded, *input, options.editor, out, err);
    }

    int render(const Options& options) {
        std::optional<AudioClip> clipRead = readInput(options);
        if (!clipRead)
            return exitInputFailure;
        AudioClip input = std::move(*clipRead);
        std::string error;
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        // What is rendered, before the progress of rendering it.
        out << "emberfall " << loaded->version << ": "
            << (options.positional.empty() ? "built-in phrase" : options.positional[0]) << ", "
            << (inputChannels == 1 ? (input.channels.size() == 2 ? "mono into both inputs" : "mono")
                                   : "stereo")
            << ", " << input.sampleRate << " Hz, "
            << presetLabel(currentPresetIdOf(host->audioUnit())) << "\n"
            << std::flush;
        const double seconds =
            double(input.frames()) / input.sampleRate + options.render.tailSeconds;
        ProgressBar progress(err, errIsTerminal && seconds >= progressMinimumSeconds);
        std::optional<AudioClip> output = host->render(
            input, options.render, error, [&](double fraction) { progress(fraction); });
        if (!output) {
            err << "emberfall: " << error << "\n";
            return exitEffectFailure;
        }
        if (!options.outputPath.empty() && !writeAudioFile(options.outputPath, *output, error)) {
            err << "emberfall: " << error << "\n";
            return exitInputFailure;
        }
        printLevels(out, "input ", input);
        printLevels(out, "output", *output);
        if (!options.outputPath.empty())
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
    std::size_t inputChannels = 0; // of the input as read
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
