#pragma once
// Stands in for the update framework (Sparkle): the standard updater controller, the
// updater with its delegate and user driver. What the framework does that a person sees
// is a user-initiated check: the feed is fetched over HTTPS (URLSession: certificate
// verification on, redirects only to HTTPS, a timeout, at most 1 MiB), its items'
// versions are compared with the host bundle's CFBundleShortVersionString, and the user
// driver is told, on the main thread, that the check started and then one of: a newer
// version is available, the application is up to date, or the check could not be made
// (network, TLS, an HTTP status of 400 or more, an empty or malformed feed, a feed
// address that is not HTTPS, an updater not started) — never "up to date" for a check
// that failed. A feed address with no server ("https:///feed.xml"), or none at all,
// says that the application names no update server, so it cannot check.
// A check asked for while one is in progress joins it: any number of requests in a row
// make one session. Automatic (scheduled) checks are off: starting the updater fetches
// nothing. Nothing is downloaded or installed. Stopping the updater (or releasing it)
// cancels the session in progress, which then reports nothing.
// Left out: automatic checks and their settings, downloads, signatures, installation,
// release notes, phased roll-outs, delta updates, the framework's settings window.
// Thread: main thread; the feed is fetched on a thread of the URL session's.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Foundation/Bundle.h"
#include "Foundation/URLSession.h"
#include "Runtime/Runtime.h"

class SPUUpdater;
class URLSessionDataTask;

class SPUUpdaterDelegate {
  public:
    virtual ~SPUUpdaterDelegate() = default;
    // feedURLStringForUpdater: the feed's address; none: the bundle's SUFeedURL.
    virtual std::optional<std::string> feedURLString(SPUUpdater& updater) { return std::nullopt; }
};

// What a person is shown; the standard driver shows dialog windows.
class SPUUserDriver {
  public:
    virtual ~SPUUserDriver() = default;
    virtual void showUserInitiatedUpdateCheck() = 0;
    virtual void showUpdateFound(const std::string& version) = 0;
    virtual void showUpdateNotFound() = 0;
    // The check could not be made; `message` says why.
    virtual void showUpdaterError(const std::string& message) = 0;
};

class SPUUpdater : public NSObject {
  public:
    ~SPUUpdater() override;
    // Starts the updater (once); false when it cannot (no host bundle). Schedules
    // nothing: automatic checks are off.
    bool startUpdater();
    bool isStarted() const { return started; }
    // A user-initiated check (see above).
    void checkForUpdates();
    bool sessionInProgress() const { return task != nullptr; }
    unsigned long sessionsStarted() const { return sessions; }
    // Ends the session in progress without reporting.
    void cancel();

    bool automaticallyChecksForUpdates() const { return false; }
    const std::shared_ptr<Bundle>& hostBundle() const { return host; }
    std::shared_ptr<SPUUserDriver> userDriver() const { return driver; }

    // The feed fetch's settings (tests trust their own authority and shorten the
    // timeout). HTTPS only whatever is set.
    URLSessionConfiguration sessionConfiguration = defaultConfiguration();
    static URLSessionConfiguration defaultConfiguration();

  protected:
    SPUUpdater(std::shared_ptr<Bundle> hostBundle, std::shared_ptr<SPUUserDriver> userDriver,
               std::weak_ptr<SPUUpdaterDelegate> delegate)
        : host(std::move(hostBundle)), driver(std::move(userDriver)),
          delegate(std::move(delegate)) {}

  private:
    void finish(const URLSessionResult& result);
    void fail(const std::string& message);
    std::shared_ptr<Bundle> host;
    std::shared_ptr<SPUUserDriver> driver;
    std::weak_ptr<SPUUpdaterDelegate> delegate;
    bool started = false;
    unsigned long sessions = 0;
    std::shared_ptr<URLSessionDataTask> task;
};

// SPUStandardUpdaterController: the updater of the main bundle with the standard user
// driver (dialog windows), created started or not.
class SPUStandardUpdaterController : public NSObject {
  public:
    // initWithStartingUpdater:updaterDelegate:userDriverDelegate:. A driver may be given
    // in place of the standard one (tests record what it is told).
    SPUStandardUpdaterController(bool startingUpdater,
                                 std::weak_ptr<SPUUpdaterDelegate> updaterDelegate,
                                 std::nullptr_t userDriverDelegate,
                                 std::shared_ptr<SPUUserDriver> driver = nullptr,
                                 std::shared_ptr<Bundle> hostBundle = nullptr);
    void startUpdater();
    // checkForUpdates: (the sender is not used).
    void checkForUpdates(NSObject* sender);
    const std::shared_ptr<SPUUpdater>& updater() const { return updater_; }

  private:
    std::shared_ptr<SPUUpdater> updater_;
};
