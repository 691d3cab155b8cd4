#pragma once
// The command line of the host: what each command does, its messages and its exit
// status. main() only hands its arguments here; HostUsage.cpp holds each command's
// --help text. Main thread.
//
//   emberfall                           the built-in phrase through Default: levels, and
//                                       the result in ./emberfall-phrase.wav
//   emberfall render [INPUT] [options]  INPUT (WAV or any file libsndfile reads,
//                                       8-192 kHz, mono or stereo) or the phrase; a mono
//                                       input feeds both inputs unless --mono
//       --preset NAME      a factory preset by id or name, any case
//       --set ID=VALUE     a parameter by identifier (repeatable), after the preset
//       --state FILE       restore a saved state first
//       --tempo BPM        host tempo (default 120)
//       --block FRAMES     frames per render call (default 512)
//       --tail SECONDS     silence rendered after the input (default 2)
//       --mono             keep a mono input mono
//       --output FILE      write the result as a 32-bit float WAV file (else none)
//       --appex PATH       the extension to load (default: next to this program)
//   emberfall editor [INPUT] [options]  the editor in a window, INPUT (or the phrase,
//                                       of a longer file its first five minutes)
//                                       playing in a loop through the effect
//       --png FILE         draw the editor into a PNG instead (no display needed)
//       --scale FACTOR     pixels per point of the PNG (default 1)
//       --seconds LIMIT    close the window after this long (scripts)
//       (and --preset, --set, --state, --mono, --appex as for render)
//   emberfall presets                   the factory presets by style
//   emberfall state save FILE [--preset ..] [--set ..] [--appex ..]  write the state
//   emberfall state load FILE [--appex ..]  restore it and print the values as the
//                                       editor shows them
//   COMMAND --help, -h                  how to use a command
// render streams: it reads, renders and writes one block at a time, and puts the
// output file in place only when the render succeeded. Restoring a state names the
// entries it skipped. A command takes only its own options, none with an empty
// value; numbers are decimal. A mistake prints one line and a hint ("try
// 'emberfall render --help'").

#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses.
inline constexpr int exitOk = 0;
inline constexpr int exitUsage = 2;         // bad command line, unknown preset or parameter
inline constexpr int exitInputFailure = 3;  // unreadable (also cut short) or unwritable files
inline constexpr int exitEffectFailure = 4; // the extension cannot be loaded or render
inline constexpr int exitNoDisplay = 5;     // the editor has no display to open on

// Runs one command line (without the program name). `out` gets results, `err`
// messages and the progress bar (drawn only when `errIsTerminal`).
int runHost(const std::vector<std::string>& arguments, const std::string& programPath,
            std::ostream& out, std::ostream& err, bool errIsTerminal);
