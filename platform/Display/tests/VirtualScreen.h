#pragma once
// Test support: a private virtual X screen (Xvfb) for the process, the desktop tools
// that drive and capture it (xdotool, ImageMagick's import), run with bounded time.

#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGImage.h"

namespace VirtualScreen {

// Whether a program is on the PATH.
bool haveProgram(const std::string& name);
// Starts Xvfb on a display number it picks itself (once per process; it ends with
// the process) and points DISPLAY at it. Empty with the reason when it cannot.
std::optional<std::string> start(std::string* whyNot);
// Runs a program to its end (killed after `timeout` seconds); its exit status, or -1.
int run(const std::vector<std::string>& argv, double timeout = 10);
// The whole screen as a bitmap.
std::optional<CGImage> capture();
// The pointer's cursor as the X server shows it now.
struct Cursor {
    int width = 0, height = 0, hotX = 0, hotY = 0;
    friend bool operator==(const Cursor&, const Cursor&) = default;
};
std::optional<Cursor> cursor();

} // namespace VirtualScreen
