#include "HostCommands.h"

#include "AudioFile.h"
#include "EditorCommand.h"
#include "EffectHost.h"
#include "EffectLoader.h"
#include "TestPhrase.h"

#include "FactoryPresets.h"
#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace {

constexpr double phraseSeconds = 4.0;
constexpr double progressMinimumSeconds = 10.0;

struct Options {
    std::vector<std::string> positional;
    std::string preset;
    std::vector<std::string> sets;
    std::string statePath;
    std::string outputPath;
    std::string appexPath;
    RenderSettings render;
    EditorOptions editor;
};

struct UsageError {
    std::string message;
};

bool parseNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(value);
}

Options parseOptions(const std::vector<std::string>& arguments, std::size_t first) {
    Options options;
    auto valueOf = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= arguments.size())
            throw UsageError{arguments[i] + " needs a value"};
        return arguments[++i];
    };
    auto numberOf = [&](std::size_t& i, double minimum, double maximum) {
        const std::string& name = arguments[i];
        const std::string& text = valueOf(i);
        double value = 0;
        if (!parseNumber(text, value) || value < minimum || value > maximum) {
            std::ostringstream message;
            message << name << " takes a number from " << minimum << " to " << maximum << ", not '"
                    << text << "'";
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
            options.render.blockSize = static_cast<AUAudioFrameCount>(numberOf(i, 1, 16384));
        else if (a == "--tail")
            options.render.tailSeconds = numberOf(i, 0, 600);
        else if (a.rfind("--", 0) == 0)
            throw UsageError{"unknown option " + a};
        else
            options.positional.push_back(a);
    }
    return options;
}

// By id ("Echo-Dotted Line") first, then by name when exactly one preset has it.
const FactoryPreset* findPreset(const std::string& text) {
    const FactoryPreset* byName = nullptr;
    int names = 0;
    for (const FactoryPreset& preset : allFactoryPresets()) {
        if (preset.id() == text)
            return &preset;
        if (preset.name == text) {
            byName = &preset;
            ++names;
        }
    }
    return names == 1 ? byName : nullptr;
}

void listPresetIds(std::ostream& stream) {
    for (const FactoryPreset& preset : allFactoryPresets())
        stream << "  " << preset.id() << "\n";
}

// "feedback=80", "delayType=MS": a number or one of the parameter's value strings.
void applySetting(EffectHost& host, const std::string& setting) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError{"--set takes IDENTIFIER=VALUE, not '" + setting + "'"};
    const std::string identifier = setting.substr(0, equals);
    const std::string text = setting.substr(equals + 1);
    auto tree = host.audioUnit().parameterTree();
    auto parameter = tree ? tree->parameter(identifier) : nullptr;
    if (!parameter) {
        std::ostringstream message;
        message << "unknown parameter '" << identifier << "'; the parameters are:";
        if (tree)
            for (const auto& p : tree->children())
                message << " " << p->identifier();
        throw UsageError{message.str()};
    }
    double value = 0;
    bool found = parseNumber(text, value);
    if (!found && parameter->valueStrings()) {
        const auto& strings = *parameter->valueStrings();
        for (std::size_t k = 0; k < strings.size() && !found; ++k)
            if (strings[k] == text) {
                value = double(k);
                found = true;
            }
    }
    if (!found)
        throw UsageError{"'" + text + "' is not a value of " + identifier};
    if (value < parameter->minValue() || value > parameter->maxValue()) {
        std::ostringstream message;
        message << identifier << "=" << text << " is out of range " << parameter->minValue()
                << " to " << parameter->maxValue();
        throw UsageError{message.str()};
    }
    host.setParameter(identifier, static_cast<AUValue>(value));
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
    for (std::size_t c = 0; c < levels.size(); ++c)
        out << label << " " << (levels.size() == 1 ? "M" : names[c]) << "  peak "
            << decibels(levels[c].peakDb) << " dBFS  rms " << decibels(levels[c].rmsDb)
            << " dBFS\n";
}

void printParameters(std::ostream& out, AUAudioUnit& unit) {
    auto tree = unit.parameterTree();
    if (!tree)
        return;
    for (const auto& parameter : tree->children()) {
        const AUValue value = parameter->value();
        out << "  " << std::left << std::setw(10) << parameter->identifier() << std::right << " "
            << std::setw(9) << value << "  " << parameter->string(&value) << " "
            << parameter->unitName() << "\n";
    }
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

    int run(const std::vector<std::string>& arguments) {
        const std::string command = arguments.empty() ? "render" : arguments.front();
        const std::size_t first = arguments.empty() ? 0 : 1;
        if (command == "presets")
            return presets();
        if (command == "render")
            return render(parseOptions(arguments, first));
        if (command == "editor")
            return editor(parseOptions(arguments, first));
        if (command == "state") {
            Options options = parseOptions(arguments, first);
            if (options.positional.size() != 2 ||
                (options.positional[0] != "save" && options.positional[0] != "load"))
                throw UsageError{"state takes 'save FILE' or 'load FILE'"};
            return options.positional[0] == "save" ? saveState(options) : loadState(options);
        }
        if (command == "--help" || command == "help") {
            out << usage;
            return exitOk;
        }
        throw UsageError{"unknown command '" + command + "'"};
    }

    static constexpr const char* usage =
        "usage: emberfall [render [INPUT] [--preset ID|NAME] [--set ID=VALUE]... [--state FILE]\n"
        "                 [--tempo BPM] [--block FRAMES] [--tail SECONDS] [--output FILE]\n"
        "                 [--appex PATH]]\n"
        "       emberfall editor [INPUT] [--preset ID|NAME] [--set ID=VALUE]... [--state FILE]\n"
        "                 [--png FILE [--scale FACTOR]] [--seconds LIMIT] [--appex PATH]\n"
        "       emberfall presets\n"
        "       emberfall state save FILE [--preset ID|NAME] [--set ID=VALUE]...\n"
        "       emberfall state load FILE\n";

  private:
    int presets() {
        out << defaultFactoryPreset().id() << "\n";
        for (const PresetGroup& group : factoryPresetGroups()) {
            out << group.style << "\n";
            for (const FactoryPreset& preset : group.presets)
                out << "  " << preset.id() << "\n";
        }
        return exitOk;
    }

    // Loads the extension and applies --state, --preset and --set in that order.
    std::optional<EffectHost> prepare(const Options& options, int& status) {
        const FactoryPreset* preset = nullptr;
        if (!options.preset.empty() && !(preset = findPreset(options.preset))) {
            err << "emberfall: unknown preset '" << options.preset << "'; the presets are:\n";
            listPresetIds(err);
            status = exitUsage;
            return std::nullopt;
        }
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
        if (state)
            host.audioUnit().setFullState(state);
        if (preset)
            host.applyPreset(*preset);
        for (const std::string& setting : options.sets)
            applySetting(host, setting);
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
    std::optional<AudioClip> readInput(const Options& options, const char* command) {
        if (options.positional.size() > 1)
            throw UsageError{std::string(command) + " takes at most one input file"};
        if (options.positional.empty()) {
            demo::Phrase phrase = demo::makeTestPhrase(44100, phraseSeconds);
            AudioClip input;
            input.sampleRate = phrase.sampleRate;
            input.channels = std::move(phrase.channels);
            return input;
        }
        std::string error;
        std::optional<AudioClip> clip = readAudioFile(options.positional[0], error);
        if (!clip)
            err << "emberfall: " << error << "\n";
        return clip;
    }

    int editor(const Options& options) {
        std::optional<AudioClip> input = readInput(options, "editor");
        if (!input)
            return exitInputFailure;
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
        return runEditor(*loaded, *input, options.editor, out, err);
    }

    int render(const Options& options) {
        std::optional<AudioClip> clipRead = readInput(options, "render");
        if (!clipRead)
            return exitInputFailure;
        AudioClip input = std::move(*clipRead);
        std::string error;
        int status = exitOk;
        std::optional<EffectHost> host = prepare(options, status);
        if (!host)
            return status;
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
        const std::string presetId = currentPresetIdOf(host->audioUnit());
        out << "emberfall " << loaded->version << ": "
            << (options.positional.empty() ? "built-in phrase" : options.positional[0]) << ", "
            << input.channels.size() << " ch, " << input.sampleRate << " Hz, "
            << (presetId.empty() ? defaultFactoryPreset().id() : presetId) << "\n";
        printLevels(out, "input ", input);
        printLevels(out, "output", *output);
        if (!options.outputPath.empty())
            out << "wrote " << options.outputPath << "\n";
        return exitOk;
    }

    static std::string currentPresetIdOf(AUAudioUnit& unit) {
        std::optional<PropertyListDictionary> state = unit.fullState();
        if (!state)
            return "";
        auto entry = state->find(presetIdStateKey);
        if (entry == state->end() || !entry->second.string())
            return "";
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
        out << "saved " << options.positional[1] << " (" << currentPresetIdOf(host->audioUnit())
            << ")\n";
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
        const std::string id = currentPresetIdOf(host->audioUnit());
        out << "restored " << options.statePath << "\n"
            << "preset " << (id.empty() ? "(none)" : id) << "\n";
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
        err << "emberfall: " << error.message << "\n" << Host::usage;
        return exitUsage;
    }
}
