#include "HostUsage.h"

namespace {

constexpr const char* overview =
    "usage: emberfall [COMMAND] [options]     (emberfall COMMAND --help says more)\n"
    "  emberfall                     the built-in phrase through the Default preset: levels,\n"
    "                                and the result written to emberfall-phrase.wav\n"
    "  emberfall render [INPUT]      a file (or the phrase) through the effect\n"
    "  emberfall editor [INPUT]      the editor in a window, the input playing in a loop\n"
    "  emberfall presets             the factory presets, by style\n"
    "  emberfall state save|load FILE  the effect's state, as a host saves it\n";

constexpr const char* render =
    "usage: emberfall render [INPUT] [options]\n"
    "  INPUT              a WAV file (or any file libsndfile reads, 8-192 kHz, mono or\n"
    "                     stereo); without one, the built-in 4-second phrase\n"
    "  --preset NAME      a factory preset by name or id, any case (\"dotted line\",\n"
    "                     \"Echo-Dotted Line\"); a style's name lists its presets\n"
    "  --set ID=VALUE     a parameter after the preset (repeatable): a number, or one of\n"
    "                     its words for model, delayType, delayNote and lfoType\n"
    "  --state FILE       restore a state saved with 'emberfall state save' first\n"
    "  --tempo BPM        the host's tempo for note-synced delays (default 120)\n"
    "  --block FRAMES     frames per render call (default 512)\n"
    "  --tail SECONDS     silence rendered after the input, for the echoes (default 2)\n"
    "  --mono             keep a mono input mono (by default it feeds both inputs)\n"
    "  --output FILE      write the result as a 32-bit float WAV file; without it\n"
    "                     render only prints the levels\n"
    "  --appex PATH       the extension to load (default: beside this program)\n";

constexpr const char* editor =
    "usage: emberfall editor [INPUT] [options]\n"
    "  the editor in a window, INPUT (or the phrase) playing in a loop through the effect\n"
    "  --png FILE         draw the editor into a PNG instead (no display needed)\n"
    "  --scale FACTOR     pixels per point of the PNG (default 1)\n"
    "  --seconds LIMIT    close the window after this long\n"
    "  --preset, --set, --state, --mono, --appex as for render\n"
    "  of a file longer than five minutes the first five are looped\n";

constexpr const char* presets =
    "usage: emberfall presets\n"
    "  the Default preset and the sixty factory presets in six styles (Echo, Slapback,\n"
    "  Chorus, Flanger, Vibrato, Runaway)\n";

constexpr const char* state =
    "usage: emberfall state save FILE [--preset NAME] [--set ID=VALUE]... [--appex PATH]\n"
    "       emberfall state load FILE [--appex PATH]\n"
    "  save writes the effect's state as a host keeps it in a project; load restores\n"
    "  one and prints its preset and each value as the editor shows it, and names the\n"
    "  entries it skipped\n";

} // namespace

const char* hostUsage(const std::string& command) {
    if (command == "render")
        return render;
    if (command == "editor")
        return editor;
    if (command == "presets")
        return presets;
    if (command == "state")
        return state;
    return overview;
}
