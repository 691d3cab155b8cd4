#pragma once
// The application's delegate and the update framework's delegate.
//
// AppDelegate forces the dark appearance once launching has finished and handles the
// URLs the system delivers, in order: "emberfall://openAndUpdate" (the effect's update
// button) runs the same user-initiated update check as "Check for Updates…". The URL is
// untrusted: its scheme must be exactly "emberfall" and its host exactly
// "openAndUpdate", compared case-sensitively on the text as it arrived (no
// percent-decoding), and nothing else of it is used.
// SparkleHelper owns the standard updater controller and tells the updater where the
// feed is: https://<update host>/emberfall/emberfall.xml, the same every time.
// Thread: main thread.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "AppKit/NSApplication.h"
#include "Sparkle/SPUUpdater.h"

class SparkleHelper : public NSObject, public SPUUpdaterDelegate {
  public:
    std::shared_ptr<SPUStandardUpdaterController> updaterController;
    std::optional<std::string> feedURLString(SPUUpdater& updater) override;
    // The feed's address on the build's update host (-DEMBERFALL_UPDATE_HOST; none
    // named: an address without a host, which the updater refuses without a lookup).
    static std::string feedURL();
};

class AppDelegate : public NSObject, public NSApplicationDelegate {
  public:
    std::shared_ptr<SparkleHelper> sparkleHelper;
    // The instance made last (weak).
    static std::shared_ptr<AppDelegate> shared();

    void applicationDidFinishLaunching(const Notification& notification) override;
    void applicationOpenURLs(NSApplication& application, const std::vector<URL>& urls) override;
    void checkForUpdates();
    void handleURL(const URL& url);

  protected:
    void didInit() override;
};

// The parts of a URL's text as they stand: the scheme (before the first ':', when it is
// a scheme) and the host (after "//", without user information or port).
namespace RawURL {
std::optional<std::string_view> scheme(std::string_view text);
std::optional<std::string_view> host(std::string_view text);
} // namespace RawURL
