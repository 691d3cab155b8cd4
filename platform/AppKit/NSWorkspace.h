#pragma once
// Stands in for NSWorkspace's URL opening. Every opened URL is recorded. A URL whose
// scheme this process registered (registerURLSchemeHandler) is handed to that handler;
// web and file URLs go to the desktop's opener, `xdg-open`, started with the URL as
// its one argument through posix_spawn (never a shell). Another scheme goes to the
// application that claims it, as the platform hands a custom scheme over: through its
// channel while it runs (URLSchemeChannel.h), else by the desktop's opener when an
// installed desktop entry declares the scheme. When the opener is missing or does not
// start, or ends with a failure, standard error says so. The launcher is injectable, so
// tests open URLs without starting anything.
// Also file icons: a file's effective icon is the one set for it (setIcon), else the
// generic document icon (renditions of 16, 32 and 128 points square).
// Left out: opening applications, files with options, notifications.
// Thread: any; handlers run on the calling thread.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Foundation/URL.h"
#include "Runtime/Runtime.h"

class NSImage;

class NSWorkspace : public NSObject {
  public:
    static const std::shared_ptr<NSWorkspace>& shared();

    // Opens `url`: true when a scheme handler took it or the opener started.
    // A URL of a scheme nobody handles opens nothing and gives false.
    bool open(const URL& url);

    // The URLs asked to open, in order (absolute strings), for tests.
    std::vector<std::string> openedURLs() const;
    void clearOpenedURLs();

    // Claims a scheme ("myapp" for "myapp://..."); the handler says whether it took
    // the URL. An empty handler removes the claim.
    void registerURLSchemeHandler(const std::string& scheme,
                                  std::function<bool(const URL&)> handler);

    // Starts a program with arguments (argv[0] is looked up on PATH); returns
    // whether it started. The default spawns it without a shell and does not wait: a
    // thread reaps it and reports on standard error when it fails.
    using Launcher = std::function<bool(const std::vector<std::string>& argv)>;
    void setLauncher(Launcher launcher);
    static bool spawnDetached(const std::vector<std::string>& argv);

    // The icon shown for the file at `path`.
    std::shared_ptr<NSImage> iconForFile(const std::string& path) const;
    // A custom icon for the file (none: back to the generic one).
    void setIcon(std::shared_ptr<NSImage> icon, const std::string& path);

  protected:
    NSWorkspace() = default;

  private:
    mutable std::mutex lock;
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::function<bool(const URL&)>>> schemes;
    Launcher launcher = spawnDetached;
    std::vector<std::pair<std::string, std::shared_ptr<NSImage>>> icons;
};

// The resource values of a file URL that AppKit fills: its effective icon.
struct URLResourceValues {
    std::shared_ptr<NSImage> effectiveIcon;
};
// Reads them; none when the URL is not a file URL or no file is there.
std::optional<URLResourceValues> effectiveIconResourceValues(const URL& url);
