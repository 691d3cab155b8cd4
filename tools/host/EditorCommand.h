#pragma once
// `emberfall editor`: the effect's editor as a host shows it. With a display it opens
// the editor in a window while the clip plays in a loop through the effect (on the
// sound device when there is one, otherwise rendered in real time to nowhere, so the
// meters move), until the window is closed or the time limit passes; menus open as
// pop-up windows. With a PNG path it draws the editor into the file instead, after a
// moment of the clip has run through the effect, and needs no display.
// Main thread.

#include "AudioFile.h"
#include "EffectLoader.h"

#include <iosfwd>
#include <optional>
#include <string>

struct EditorOptions {
    std::string pngPath;         // draw to this file instead of opening a window
    double scale = 1;            // pixels per point of the PNG
    std::optional<double> limit; // seconds until the window closes by itself
};

// Returns the host's exit status; messages go to `err`, a line of what was done to `out`.
int runEditor(LoadedEffect& effect, const AudioClip& input, const EditorOptions& options,
              std::ostream& out, std::ostream& err);
