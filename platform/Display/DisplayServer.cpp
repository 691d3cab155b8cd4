#include "Display/DisplayServer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "AppKit/NSApplication.h"
#include "CursorShower.h"
#include "Display/Headless.h"
#include "InputTranslation.h"
#include "NativeSurface.h"
#include "PopupChain.h"
#include "Runtime/Runtime.h"

namespace {
constexpr double framePeriod = 1.0 / 60;
// The longest nap between looks at the desktop's input while nothing else is due.
constexpr double inputSlice = 0.004;
} // namespace

std::unique_ptr<DisplayServer> DisplayServer::connect(std::string* whyNot) {
    Runtime::assertMainThread("DisplayServer::connect");
    // The loop decides when the application ends, not the last window closing.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Windows show bitmaps drawn in software, a few changed rectangles at a time: the
    // desktop's own window buffer takes just those, where a GPU texture would be drawn
    // whole every frame (by the processor too, where there is no GPU).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Without a desktop to name there is nothing to connect to; asking SDL anyway
    // only has the Wayland library complain on standard error about the session.
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    auto named = [](const char* variable) {
        const char* value = std::getenv(variable);
        return value && *value;
    };
    if (!asked && !named("DISPLAY") && !named("WAYLAND_DISPLAY")) {
        if (whyNot)
            *whyNot = "$DISPLAY is not set";
        return nullptr;
    }
    // An X desktop is asked for as one: SDL would otherwise try Wayland first.
    const bool x11 = !asked && !named("WAYLAND_DISPLAY");
    if (x11)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (whyNot)
            *whyNot =
                x11 ? "cannot open the X display '" + std::string(std::getenv("DISPLAY")) + "'"
                    : std::string(SDL_GetError());
        return nullptr;
    }
    // SDL falls back to drawing nowhere when there is no desktop; that is no display
    // unless SDL_VIDEODRIVER asked for it.
    std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "offscreen" || driver == "dummy") && !(asked && driver == asked)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (whyNot)
            *whyNot = "no display to show windows on";
        return nullptr;
    }
    std::unique_ptr<DisplayServer> server(new DisplayServer());
    if (auto factor = Headless::environmentScaleFactor()) {
        server->scale = *factor;
    } else {
        float ddpi = 0, hdpi = 0, vdpi = 0;
        if (SDL_GetDisplayDPI(0, &ddpi, &hdpi, &vdpi) == 0 && hdpi >= 168)
            server->scale = 2;
    }
    server->cursors = std::make_unique<DisplayNative::CursorShower>(server->scale);
    server->menu = std::make_unique<PopupChain>(server->scale);
    server->install();
    SDL_StartTextInput();
    return server;
}

DisplayServer::DisplayServer() = default;

void DisplayServer::install() {
    NSApplication::shared().eventWaiter = [this](TimeInterval deadline, RunLoop::Mode mode,
                                                 const std::function<bool()>& arrived) {
        waitForInput(deadline, mode, arrived);
    };
    previousPresenter = NSMenu::setPresenter(
        [this](NSMenu& menu, const NSMenu::PopUp& request) { return presentMenu(menu, request); });
}

DisplayServer::~DisplayServer() {
    NSApplication::shared().eventWaiter = nullptr;
    NSMenu::setPresenter(std::move(previousPresenter));
    menu.reset();
    auto closing = std::move(open);
    closing.clear();
    cursors.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

CGRect DisplayServer::screenBounds() const {
    SDL_Rect r{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0)
        SDL_GetDisplayBounds(0, &r);
    return {{r.x / scale, r.y / scale}, {r.w / scale, r.h / scale}};
}

std::shared_ptr<DisplayWindow> DisplayServer::show(std::shared_ptr<NSWindow> window,
                                                   const DisplayWindow::Options& options) {
    Runtime::assertMainThread("DisplayServer::show");
    std::shared_ptr<DisplayWindow> shown(new DisplayWindow(std::move(window), scale, options));
    open.push_back(shown);
    return shown;
}

std::shared_ptr<PopupWindow> DisplayServer::showPopup(PopupWindow::Options options) {
    Runtime::assertMainThread("DisplayServer::showPopup");
    return menu->openMenu(std::move(options));
}

std::shared_ptr<PopupWindow> DisplayServer::showSubmenu(const PopupWindow& parent, int item,
                                                        PopupWindow::Options options) {
    Runtime::assertMainThread("DisplayServer::showSubmenu");
    return menu->openSubmenu(parent, item, std::move(options));
}

std::shared_ptr<PopupWindow> DisplayServer::popup() const {
    return menu->innermost();
}

std::vector<std::shared_ptr<PopupWindow>> DisplayServer::popups() const {
    return menu->all();
}

std::vector<std::shared_ptr<DisplayWindow>> DisplayServer::windows() const {
    std::vector<std::shared_ptr<DisplayWindow>> result;
    for (const auto& w : open)
        if (w->isOpen())
            result.push_back(w);
    return result;
}

std::shared_ptr<DisplayWindow> DisplayServer::windowWithId(unsigned id) const {
    for (const auto& w : open)
        if (id != 0 && w->id() == id)
            return w;
    return nullptr;
}

void DisplayServer::requestQuit() {
    quitRequested = true;
    RunLoop::main().perform([] {}); // wakes a loop that is napping
}

void DisplayServer::deliverMouseToPopup(const SDL_Event& event, unsigned windowId, int x, int y) {
    int wx = 0, wy = 0;
    if (SDL_Window* from = SDL_GetWindowFromID(windowId))
        SDL_GetWindowPosition(from, &wx, &wy);
    CGPoint screen{(wx + x) / scale, (wy + y) / scale};
    // The release of a press that began in a window before the pop-up opened still
    // reaches that window (wherever the pointer is now), so that its press ends.
    if (event.type == SDL_MOUSEBUTTONUP) {
        auto holding = open;
        for (const auto& window : holding) {
            if (!window->isOpen() || !window->input->buttonHeld())
                continue;
            int ox = 0, oy = 0;
            SDL_GetWindowPosition(window->surface->sdlWindow(), &ox, &oy);
            SDL_Event release = event;
            release.button.windowID = window->id();
            release.button.x = wx + x - ox;
            release.button.y = wy + y - oy;
            window->handle(release, keyboardModifiers, nullptr);
        }
    }
    menu->mouse(event, screen);
}

void DisplayServer::deliver(SDL_Event& event) {
    menu->settle(); // a pop-up may have been finished from outside since the last event
    const bool popup = menu->isOpen();
    switch (event.type) {
    case SDL_QUIT:
        quitRequested = true;
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        keyboardModifiers = DisplayInput::modifiersAfter(event.key);
        // SDL sends the text a key types as the event right after its key down.
        std::string text;
        SDL_Event next;
        if (event.type == SDL_KEYDOWN &&
            SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
            next.type == SDL_TEXTINPUT && SDL_PollEvent(&next))
            text = next.text.text;
        if (popup) {
            if (event.type == SDL_KEYDOWN)
                menu->key(event.key.keysym.sym);
            return;
        }
        if (auto window = windowWithId(event.key.windowID))
            window->handle(event, keyboardModifiers, text.c_str());
        return;
    }
    case SDL_TEXTINPUT:
        if (auto window = popup ? nullptr : windowWithId(event.text.windowID))
            window->handle(event, keyboardModifiers, nullptr);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION: {
        bool motion = event.type == SDL_MOUSEMOTION;
        unsigned id = motion ? event.motion.windowID : event.button.windowID;
        if (popup)
            deliverMouseToPopup(event, id, motion ? event.motion.x : event.button.x,
                                motion ? event.motion.y : event.button.y);
        else if (auto window = windowWithId(id))
            window->handle(event, keyboardModifiers, nullptr);
        return;
    }
    case SDL_MOUSEWHEEL:
        if (auto window = popup ? nullptr : windowWithId(event.wheel.windowID))
            window->handle(event, keyboardModifiers, nullptr);
        return;
    case SDL_WINDOWEVENT:
        if (menu->owns(event.window.windowID)) {
            menu->windowEvent(event.window);
            return;
        }
        if (auto window = windowWithId(event.window.windowID))
            window->handle(event, keyboardModifiers, nullptr);
        return;
    default:
        return;
    }
}

void DisplayServer::redrawDue(double now) {
    auto due = open; // presenting may open or close windows
    for (const auto& w : due)
        if (w->needsPresent() && now - w->lastPresent >= framePeriod * 0.999)
            w->present();
}

double DisplayServer::secondsUntilNextRedraw(double now) const {
    double next = std::numeric_limits<double>::infinity();
    for (const auto& w : open)
        if (w->needsPresent())
            next = std::min(next, std::max(0.0, w->lastPresent + framePeriod - now));
    return next;
}

void DisplayServer::pump(double wait, RunLoop::Mode mode) {
    Runtime::assertMainThread("DisplayServer::pump");
    RunLoop& loop = RunLoop::main();
    const double end = DisplayNative::steadyNow() + std::max(wait, 0.0);
    for (;;) {
        bool delivered = false;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            deliver(event);
            delivered = true;
        }
        menu->settle();
        loop.runUntilIdle(mode);
        double now = DisplayNative::steadyNow();
        redrawDue(now);
        std::erase_if(open, [](const auto& w) { return !w->isOpen(); });
        double left = end - now;
        if (delivered || left <= 0 || quitRequested)
            return;
        loop.run(std::min({left, inputSlice, secondsUntilNextRedraw(now)}), mode);
    }
}

DisplayServer::StopReason DisplayServer::run(const RunOptions& options) {
    Runtime::assertMainThread("DisplayServer::run");
    const double start = DisplayNative::steadyNow();
    for (;;) {
        if (quitRequested.exchange(false))
            return StopReason::quitRequested;
        if (windows().empty())
            return StopReason::windowsClosed;
        double turn = 0.05;
        if (options.timeLimit) {
            double left = start + *options.timeLimit - DisplayNative::steadyNow();
            if (left <= 0)
                return StopReason::timeLimit;
            turn = std::min(turn, left);
        }
        pump(turn, options.mode);
    }
}

void DisplayServer::waitForInput(TimeInterval deadline, RunLoop::Mode mode,
                                 const std::function<bool()>& arrived) {
    RunLoop& loop = RunLoop::main();
    while (!arrived() && !quitRequested && loop.now() < deadline)
        pump(std::min(inputSlice, deadline - loop.now()), mode);
}
