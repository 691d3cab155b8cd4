#include "AppKit/NSWorkspace.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"
#include "AppKit/URLSchemeChannel.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// Schemes the desktop opener knows how to show.
bool isDesktopScheme(const std::string& scheme) {
    return scheme == "http" || scheme == "https" || scheme == "file" || scheme == "mailto";
}

// Whether an installed desktop entry declares itself the handler of the scheme
// ("x-scheme-handler/<scheme>" among its MIME types), in the folders the desktop reads.
bool desktopEntryClaims(const std::string& scheme) {
    namespace fs = std::filesystem;
    std::vector<fs::path> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        folders.emplace_back(fs::path(dataHome) / "applications");
    else if (home && *home)
        folders.emplace_back(fs::path(home) / ".local/share/applications");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        if (end > start)
            folders.emplace_back(fs::path(dirs.substr(start, end - start)) / "applications");
        start = end + 1;
    }
    const std::string wanted = "x-scheme-handler/" + scheme + ";";
    std::error_code error;
    for (const auto& folder : folders)
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().extension() != ".desktop")
                continue;
            std::ifstream file(it->path());
            for (std::string line; std::getline(file, line);)
                if (line.rfind("MimeType=", 0) == 0 &&
                    (line + ";").find(wanted) != std::string::npos)
                    return true;
        }
    return false;
}
// Hands the URL to the desktop's opener; a person who clicked a link hears why nothing
// opened.
bool openWithDesktop(const NSWorkspace::Launcher& launch, const std::string& url) {
    if (launch && launch({"xdg-open", url}))
        return true;
    std::fprintf(stderr,
                 "Cannot open %s: the desktop's opener (xdg-open) is missing or did not start\n",
                 url.c_str());
    return false;
}
} // namespace

const std::shared_ptr<NSWorkspace>& NSWorkspace::shared() {
    static const std::shared_ptr<NSWorkspace> workspace = make<NSWorkspace>();
    return workspace;
}

bool NSWorkspace::open(const URL& url) {
    std::function<bool(const URL&)> handler;
    Launcher launch;
    std::string scheme = lower(url.scheme());
    {
        std::lock_guard guard(lock);
        opened.push_back(url.absoluteString());
        for (const auto& [claimed, h] : schemes)
            if (claimed == scheme)
                handler = h;
        launch = launcher;
    }
    // Handlers and the launcher run unlocked: they may open URLs themselves.
    if (handler)
        return handler(url);
    if (isDesktopScheme(scheme))
        return openWithDesktop(launch, url.absoluteString());
    // Another application's scheme: the application running now takes it through its
    // channel; else the desktop starts the one registered for the scheme with the URL.
    if (URLSchemeChannel::send(scheme, url.relativeString()))
        return true;
    return desktopEntryClaims(scheme) && openWithDesktop(launch, url.relativeString());
}

std::vector<std::string> NSWorkspace::openedURLs() const {
    std::lock_guard guard(lock);
    return opened;
}

void NSWorkspace::clearOpenedURLs() {
    std::lock_guard guard(lock);
    opened.clear();
}

void NSWorkspace::registerURLSchemeHandler(const std::string& scheme,
                                           std::function<bool(const URL&)> handler) {
    std::lock_guard guard(lock);
    std::string key = lower(scheme);
    schemes.erase(std::remove_if(schemes.begin(), schemes.end(),
                                 [&](const auto& s) { return s.first == key; }),
                  schemes.end());
    if (handler)
        schemes.emplace_back(key, std::move(handler));
}

void NSWorkspace::setLauncher(Launcher l) {
    std::lock_guard guard(lock);
    launcher = l ? std::move(l) : Launcher(spawnDetached);
}

bool NSWorkspace::spawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty())
        return false;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return false;
    // Nobody waits for the program; a thread of its own reaps it and reports a failure
    // (an opener that found nothing to open the URL with, say).
    std::thread([pid, argv] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return;
        std::string command;
        for (const std::string& a : argv)
            command += (command.empty() ? "" : " ") + a;
        std::fprintf(stderr, "%s failed (%s %d)\n", command.c_str(),
                     WIFEXITED(status) ? "exit status" : "signal",
                     WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
    }).detach();
    return true;
}

std::shared_ptr<NSImage> NSWorkspace::iconForFile(const std::string& path) const {
    {
        std::lock_guard guard(lock);
        for (auto& [file, icon] : icons)
            if (file == path)
                return icon;
    }
    auto icon = NSImage::empty();
    icon->setSize({32, 32});
    for (int points : {16, 32, 128})
        icon->addRepresentation(
            make<NSBitmapImageRep>(CGImage::blank(size_t(points) * 2, size_t(points) * 2),
                                   CGSize{CGFloat(points), CGFloat(points)}));
    return icon;
}

void NSWorkspace::setIcon(std::shared_ptr<NSImage> icon, const std::string& path) {
    std::lock_guard guard(lock);
    icons.erase(std::remove_if(icons.begin(), icons.end(),
                               [&](const auto& entry) { return entry.first == path; }),
                icons.end());
    if (icon)
        icons.emplace_back(path, std::move(icon));
}

std::optional<URLResourceValues> effectiveIconResourceValues(const URL& url) {
    std::error_code error;
    if (!url.isFileURL() || !std::filesystem::exists(url.path(), error))
        return std::nullopt;
    return URLResourceValues{NSWorkspace::shared()->iconForFile(url.path())};
}
