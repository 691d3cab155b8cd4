#include "Launch.h"

#include <cmath>
#include <cstdio>

#include "AppKit/NSApplication.h"
#include "AppKit/NSWindow.h"
#include "AppKit/URLSchemeChannel.h"
#include "Display/DisplayApplication.h"
#include "Display/DisplayServer.h"
#include "Display/Headless.h"
#include "EmberfallApp.h"
#include "Foundation/RunLoop.h"

namespace EmberfallLaunch {

std::string usage() {
    return "usage: Emberfall [URL...]\n"
           "       Emberfall --png FILE [--scale FACTOR] [--time SECONDS]\n";
}

std::optional<Options> parse(const std::vector<std::string>& arguments, std::string& error) {
    Options o;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        auto number = [&](double lo, double hi) -> std::optional<double> {
            auto v = value();
            if (!v)
                return std::nullopt;
            char* end = nullptr;
            double d = std::strtod(v->c_str(), &end);
            if (v->empty() || *end || !std::isfinite(d) || d < lo || d > hi) {
                error = a + " takes a number from " + std::to_string(int(lo)) + " to " +
                        std::to_string(int(hi));
                return std::nullopt;
            }
            return d;
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--png") {
            if (!(o.png = value()))
                return std::nullopt;
        } else if (a == "--scale") {
            auto s = number(0.5, 4);
            if (!s)
                return std::nullopt;
            o.scale = *s;
        } else if (a == "--time") {
            auto t = number(0, 86400 * 365);
            if (!t)
                return std::nullopt;
            o.time = *t;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            o.urls.push_back(a);
        }
    }
    if (!o.png && (o.scale != 1 || o.time != 3)) {
        error = "--scale and --time go with --png";
        return std::nullopt;
    }
    return o;
}

bool drawPNG(const Options& options) {
    // The animation's clock stands still at the time asked for.
    auto clock = std::make_shared<TestClock>(0);
    RunLoop::main().setClock(clock);
    EmberfallApp app;
    auto window = SwiftUI::makeWindow(app.body());
    window->setBackingScaleFactor(options.scale);
    NSApplication::shared().finishLaunching();
    clock->set(options.time);
    return Headless::writeWindowPNG(*window, *options.png, options.scale);
}

} // namespace EmberfallLaunch

namespace {

std::vector<URL> parsedURLs(const std::vector<std::string>& texts) {
    std::vector<URL> urls;
    for (const auto& text : texts)
        if (auto accepted = URLSchemeChannel::acceptableMessage(text))
            if (auto url = URL::string(*accepted))
                urls.push_back(*url);
    return urls;
}

// Gives the URLs to the copy that runs; each one it did not take is named.
int handOver(const std::vector<std::string>& urls) {
    int status = 0;
    for (const auto& url : urls) {
        std::string why;
        if (!URLSchemeChannel::send("emberfall", url, &why)) {
            std::fprintf(stderr, "Emberfall: the running copy did not take %s: %s\n", url.c_str(),
                         why.c_str());
            status = EmberfallLaunch::notHandedOver;
        }
    }
    if (urls.empty())
        std::fprintf(stderr, "Emberfall: another copy is running\n");
    return status;
}

} // namespace

int EmberfallApp::main(int argc, char** argv) {
    using namespace EmberfallLaunch;
    std::string error;
    auto options = parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "Emberfall: %s\n%s", error.c_str(), usage().c_str());
        return 2;
    }
    if (options->help) {
        std::printf("%s", usage().c_str());
        return 0;
    }
    if (options->png) {
        if (!drawPNG(*options)) {
            std::fprintf(stderr, "Emberfall: cannot write %s\n", options->png->c_str());
            return 3;
        }
        return 0;
    }

    // One copy at a time: the one running takes our URLs.
    URLSchemeChannel::Listener::Refusal refusal;
    auto listener = URLSchemeChannel::Listener::start(
        "emberfall",
        [](std::string text) {
            for (const URL& url : parsedURLs({text}))
                NSApplication::shared().openURLs({url});
        },
        &refusal);
    if (!listener && refusal.anotherListens)
        return handOver(options->urls);
    if (!listener)
        std::fprintf(stderr,
                     "Emberfall: URLs cannot be handed over to this copy (%s); it runs on its "
                     "own\n",
                     refusal.reason.c_str());
    std::string why;
    auto server = DisplayServer::connect(&why);
    if (!server) {
        std::fprintf(stderr, "Emberfall: no display to show the window on (%s); try --png\n",
                     why.c_str());
        return 4;
    }
    auto& application = NSApplication::shared();
    EmberfallApp app;
    auto scene = app.body();
    application.mainMenu = SwiftUI::makeMainMenu("Emberfall", scene.commandGroups);
    auto window = SwiftUI::makeWindow(scene);
    DisplayApplication::install(application, *server);
    application.presentWindow(window);
    application.openURLs(parsedURLs(options->urls));
    application.run();
    // A check still running ends without a word.
    app.sparkleHelper->updaterController->updater()->cancel();
    return 0;
}
