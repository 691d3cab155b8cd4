// emberfall-gallery [folder]: writes <sheet>@1x.png and <sheet>@2x.png for every sheet
// into the folder (default "gallery"), each cell a control in one state with its
// caption underneath.
// emberfall-gallery --window [sheet...] [--seconds N]: the control library's controls
// of the sheets (or of the sheets named) live in a window, until it is closed or N
// seconds have passed; each action a control sends is printed. A name that is no sheet,
// or a sheet with nothing live, is refused (status 2).

#include "GalleryPage.h"
#include "Sheets.h"

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGFont.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"
#include "Views/OrreryResources.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr CGFloat padding = 12, captionHeight = 28;

// One cell drawn on its own at `scale`.
CGImage drawCell(const GalleryCell& cell, CGFloat scale) {
    ControlHarness hosted = cell.view ? ControlHarness(cell.view(), cell.size, scale)
                                      : ControlHarness::holding(cell.control(), cell.size, scale);
    if (cell.pose)
        cell.pose(hosted);
    hosted.turn();
    return hosted.window->snapshot()->makeImage();
}

bool writeSheet(const GallerySheet& sheet, CGFloat scale, const std::string& path) {
    CGSize cellSize{0, 0};
    for (const auto& cell : sheet.cells) {
        cellSize.width = std::max(cellSize.width, cell.size.width);
        cellSize.height = std::max(cellSize.height, cell.size.height);
    }
    const int rows = int((sheet.cells.size() + sheet.columns - 1) / sheet.columns);
    const CGSize pitch{cellSize.width + padding, cellSize.height + captionHeight + padding};
    const CGSize size{padding + sheet.columns * pitch.width, padding + rows * pitch.height};
    auto context =
        CGContext::makeBitmap(size, {.scale = scale, .origin = CGContext::Origin::topLeft});
    context->setFillColor(orreryColor("background").resolve());
    context->fillRect({{0, 0}, size});
    const CGFont captionFont = CGFont::system(10);
    for (size_t i = 0; i < sheet.cells.size(); ++i) {
        const auto& cell = sheet.cells[i];
        const CGPoint origin{padding + CGFloat(i % sheet.columns) * pitch.width,
                             padding + CGFloat(i / sheet.columns) * pitch.height};
        // Each cell sits on a slightly lighter ground, so its extent shows.
        context->setFillColor(CGColor::rgb(1, 1, 1, 0.04));
        context->fillRect({origin, cell.size});
        context->drawImage(drawCell(cell, scale), {origin, cell.size});
        // Captions wrap within their cell, two lines at most.
        CGTextOptions wrapped;
        wrapped.width = cell.size.width;
        wrapped.maximumLines = 2;
        context->drawText(
            cell.caption, captionFont, CGColor::rgb(0.7, 0.7, 0.7),
            {origin.x, origin.y + cell.size.height + 2, cell.size.width, captionHeight - 2},
            wrapped);
    }
    return context->writePNG(path);
}

} // namespace

// The names, wrapped under a heading, two spaces in.
std::string nameList(const char* heading, const std::vector<std::string>& names) {
    std::string text = std::string("  ") + heading + ":\n   ", line;
    for (const auto& name : names) {
        if (line.size() + name.size() + 1 > 84) {
            text += line + "\n   ";
            line.clear();
        }
        line += " " + name;
    }
    return text + line + "\n";
}

std::string usage() {
    const auto sheets = gallerySheets();
    std::vector<std::string> all;
    for (const auto& sheet : sheets)
        all.push_back(sheet.name);
    return "usage: emberfall-gallery [FOLDER]\n"
           "  draws every control of the plug-in framework and of the control library in each\n"
           "  of its states, one sheet per family, at scale\n"
           "  1 and 2: FOLDER/<sheet>@1x.png and <sheet>@2x.png (FOLDER: \"gallery\")\n"
           "       emberfall-gallery --window [SHEET...] [--seconds N]\n"
           "  shows the control library's controls of every sheet (or of the sheets named)\n"
           "  live in a window, AppKit and declarative, until it is closed or N seconds have\n"
           "  passed, and prints each action a control sends\n" +
           nameList("sheets", all) +
           nameList("sheets shown live (--window)", liveSheetNames(sheets));
}

namespace {

int showWindow(int argc, char** argv) {
    std::vector<std::string> only;
    std::optional<double> seconds;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            char* end = nullptr;
            seconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(*seconds > 0)) {
                std::fprintf(stderr, "emberfall-gallery: --seconds takes a number above 0\n%s",
                             usage().c_str());
                return 2;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "emberfall-gallery: no option '%s'\n%s", arg.c_str(),
                         usage().c_str());
            return 2;
        } else {
            only.push_back(arg);
        }
    }
    // Refused before any window opens: a page without the sheet asked for shows nothing
    // of what was wanted.
    if (const std::string why = whyNotShown(gallerySheets(), only); !why.empty()) {
        std::fprintf(
            stderr, "emberfall-gallery: %s\n%s", why.c_str(),
            nameList("sheets shown live (--window)", liveSheetNames(gallerySheets())).c_str());
        return 2;
    }
    return runGalleryWindow(only, seconds);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--window")
        return showWindow(argc, argv);
    namespace fs = std::filesystem;
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }
    if (argc > 2 || (!first.empty() && first[0] == '-')) {
        std::fprintf(stderr, "emberfall-gallery: takes one folder, not '%s'\n%s",
                     argc > 2 ? argv[2] : first.c_str(), usage().c_str());
        return 2;
    }
    const fs::path folder = first.empty() ? "gallery" : first;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "emberfall-gallery: cannot make %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return 1;
    }
    int failures = 0;
    for (const auto& sheet : gallerySheets())
        for (CGFloat scale : {1.0, 2.0}) {
            const fs::path path = folder / (sheet.name + (scale == 1 ? "@1x.png" : "@2x.png"));
            if (writeSheet(sheet, scale, path.string())) {
                std::printf("%s\n", path.c_str());
            } else {
                std::fprintf(stderr, "emberfall-gallery: could not write %s\n", path.c_str());
                ++failures;
            }
        }
    return failures == 0 ? 0 : 1;
}
