#include "AppDelegate.h"

#include <cctype>

#include "AppKit/NSAppearance.h"

#ifndef EMBERFALL_UPDATE_HOST
#define EMBERFALL_UPDATE_HOST ""
#endif

std::string SparkleHelper::feedURL() {
    // Without a host the address has none, and the updater refuses it without a lookup.
    return std::string("https://") + EMBERFALL_UPDATE_HOST + "/emberfall/emberfall.xml";
}

std::optional<std::string> SparkleHelper::feedURLString(SPUUpdater&) {
    return feedURL();
}

namespace {
std::weak_ptr<AppDelegate>& lastDelegate() {
    static std::weak_ptr<AppDelegate> last;
    return last;
}
} // namespace

void AppDelegate::didInit() {
    NSObject::didInit();
    lastDelegate() = sharedAs<AppDelegate>();
}

std::shared_ptr<AppDelegate> AppDelegate::shared() {
    return lastDelegate().lock();
}

void AppDelegate::applicationDidFinishLaunching(const Notification& notification) {
    Runtime::assertMainThread("AppDelegate.applicationDidFinishLaunching");
    if (auto application = std::dynamic_pointer_cast<NSApplication>(notification.object))
        application->appearance = NSAppearance::named(NSAppearanceName::darkAqua);
}

void AppDelegate::applicationOpenURLs(NSApplication&, const std::vector<URL>& urls) {
    Runtime::assertMainThread("AppDelegate.application(_:open:)");
    for (const URL& url : urls)
        handleURL(url);
}

void AppDelegate::checkForUpdates() {
    if (sparkleHelper && sparkleHelper->updaterController)
        sparkleHelper->updaterController->checkForUpdates(nullptr);
}

void AppDelegate::handleURL(const URL& url) {
    const std::string text = url.relativeString();
    auto scheme = RawURL::scheme(text);
    if (!scheme || *scheme != "emberfall")
        return;
    if (RawURL::host(text) == std::optional<std::string_view>("openAndUpdate"))
        checkForUpdates();
}

namespace RawURL {

std::optional<std::string_view> scheme(std::string_view text) {
    size_t colon = text.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::isalpha(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    for (char c : text.substr(0, colon))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return std::nullopt;
    return text.substr(0, colon);
}

std::optional<std::string_view> host(std::string_view text) {
    auto s = scheme(text);
    if (!s)
        return std::nullopt;
    std::string_view rest = text.substr(s->size() + 1);
    if (rest.substr(0, 2) != "//")
        return std::nullopt;
    rest.remove_prefix(2);
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (!authority.empty() && authority.front() != '[')
        authority = authority.substr(0, authority.find(':'));
    return authority;
}

} // namespace RawURL
