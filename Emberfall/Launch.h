#pragma once
// The command line of the application:
//
//   Emberfall [URL...]                        runs it in a window on the desktop
//   Emberfall --png FILE [--scale S] [--time T] draws the window into a PNG, no desktop
//
// URLs (such as "emberfall://openAndUpdate", as the desktop passes them) are handed to
// the application once it has launched. Only one copy runs: one started while another
// runs gives it its URLs through the scheme's channel (URLSchemeChannel.h) and ends,
// naming each URL that the running copy did not take. When the channel cannot be made
// here, the copy says so and runs on its own with its URLs. --png draws the window at S
// pixels per point (default 1) with the animation at T seconds (default 3).
// Exit status: 0 done, 2 bad command line, 3 the PNG could not be written, 4 no display,
// 5 a URL that the running copy did not take.
// Thread: main thread.

#include <optional>
#include <string>
#include <vector>

namespace EmberfallLaunch {

inline constexpr int notHandedOver = 5;

struct Options {
    std::optional<std::string> png;
    double scale = 1;
    double time = 3;
    std::vector<std::string> urls;
    bool help = false;
};
// Nothing (with the reason in `error`) for a bad command line.
std::optional<Options> parse(const std::vector<std::string>& arguments, std::string& error);
std::string usage();

// Draws the window as --png asks; false when the file cannot be written.
bool drawPNG(const Options& options);

} // namespace EmberfallLaunch
