#include "Sparkle/SPUUpdater.h"

#include "Foundation/RunLoop.h"
#include "Sparkle/SPUStandardUserDriver.h"
#include "Sparkle/SUAppcast.h"

URLSessionConfiguration SPUUpdater::defaultConfiguration() {
    URLSessionConfiguration c;
    c.timeoutInterval = 30;
    c.maximumBodySize = std::size_t{1} << 20;
    c.allowsInsecureHTTP = false;
    return c;
}

namespace {
std::string applicationName(const Bundle& bundle) {
    const PropertyListValue* v = bundle.object("CFBundleName");
    return v && v->string() ? *v->string() : "The application";
}
} // namespace

SPUUpdater::~SPUUpdater() {
    cancel();
}

bool SPUUpdater::startUpdater() {
    Runtime::assertMainThread("SPUUpdater.startUpdater");
    started = host != nullptr;
    return started;
}

void SPUUpdater::cancel() {
    if (auto t = std::move(task)) {
        task.reset();
        t->cancel();
    }
}

void SPUUpdater::fail(const std::string& message) {
    if (driver)
        driver->showUpdaterError(message);
}

void SPUUpdater::checkForUpdates() {
    Runtime::assertMainThread("SPUUpdater.checkForUpdates");
    if (task)
        return; // joins the session in progress
    ++sessions;
    if (driver)
        driver->showUserInitiatedUpdateCheck();
    if (!started) {
        fail("The updater has not been started.");
        return;
    }
    std::optional<std::string> feed;
    if (auto d = delegate.lock())
        feed = d->feedURLString(*this);
    if (!feed)
        if (const PropertyListValue* v = host->object("SUFeedURL"); v && v->string())
            feed = *v->string();
    auto url = feed ? URL::string(*feed) : std::nullopt;
    if (!feed || (url && url->scheme() == "https" && url->host().empty())) {
        // Nothing to ask: say so rather than blame the address's security.
        fail(applicationName(*host) +
             " names no update server in this build, so it cannot check for updates.");
        return;
    }
    if (!url || url->scheme() != "https") {
        fail("The update feed's address is not a secure (HTTPS) address.");
        return;
    }
    URLSessionConfiguration configuration = sessionConfiguration;
    configuration.allowsInsecureHTTP = false;
    std::weak_ptr<SPUUpdater> weak = sharedAs<SPUUpdater>();
    auto session = URLSession::withConfiguration(configuration);
    // A holder the completion can compare with: a cancelled session's answer is dropped.
    auto holder = std::make_shared<std::shared_ptr<URLSessionDataTask>>();
    task = session->dataTask(*url, [weak, holder](URLSessionResult result) {
        RunLoop::main().perform([weak, holder, result = std::move(result)] {
            auto self = weak.lock();
            if (self && self->task && self->task == *holder)
                self->finish(result);
        });
    });
    *holder = task;
    task->resume();
}

void SPUUpdater::finish(const URLSessionResult& result) {
    task.reset();
    if (!result.ok()) {
        fail("The update feed could not be read: " + result.error->message);
        return;
    }
    const int status = result.response ? result.response->statusCode : 0;
    if (status >= 400 || status == 0) {
        fail("The update server answered with status " + std::to_string(status) + ".");
        return;
    }
    SUAppcast::Parsed feed = SUAppcast::parse(result.data);
    if (!feed.wellFormed) {
        fail("The update feed is not a valid appcast.");
        return;
    }
    auto best = SUAppcast::newest(feed.versions);
    if (!best) {
        fail("The update feed lists no versions.");
        return;
    }
    const PropertyListValue* own = host->object("CFBundleShortVersionString");
    const std::string running = own && own->string() ? *own->string() : "";
    if (running.empty()) {
        fail("The application has no version to compare with the feed's.");
        return;
    }
    if (!driver)
        return;
    if (SUAppcast::compareVersions(*best, running) > 0)
        driver->showUpdateFound(*best);
    else
        driver->showUpdateNotFound();
}

SPUStandardUpdaterController::SPUStandardUpdaterController(
    bool startingUpdater, std::weak_ptr<SPUUpdaterDelegate> updaterDelegate, std::nullptr_t,
    std::shared_ptr<SPUUserDriver> driver, std::shared_ptr<Bundle> hostBundle) {
    if (!driver)
        driver = std::make_shared<SPUStandardUserDriver>();
    updater_ = make<SPUUpdater>(hostBundle ? hostBundle : Bundle::main(), std::move(driver),
                                std::move(updaterDelegate));
    if (startingUpdater)
        updater_->startUpdater();
}

void SPUStandardUpdaterController::startUpdater() {
    updater_->startUpdater();
}

void SPUStandardUpdaterController::checkForUpdates(NSObject*) {
    updater_->checkForUpdates();
}
