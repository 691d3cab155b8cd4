#include "Display/PopupWindow.h"

#include <cmath>

#include "NativeSurface.h"

using DisplayNative::toPixels;

PopupWindow::PopupWindow(Options opts, CGFloat factor)
    : options(std::move(opts)), scale(factor), highlight(options.initialHighlight) {
    if (!enabled(highlight))
        highlight = -1;
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU |
                   SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    surface = std::make_unique<DisplayNative::Surface>(
        "", toPixels(options.screenPosition.x, scale), toPixels(options.screenPosition.y, scale),
        std::max(1, int(std::ceil(options.size.width * scale))),
        std::max(1, int(std::ceil(options.size.height * scale))), flags);
    redraw();
}

PopupWindow::~PopupWindow() {
    surface.reset(); // no callback from a destructor: the owner is going away
}

unsigned PopupWindow::id() const {
    return surface ? surface->id() : 0;
}

unsigned long PopupWindow::nativeWindowId() const {
    return surface ? surface->nativeWindowId() : 0;
}

bool PopupWindow::enabled(int item) const {
    if (item < 0 || item >= options.itemCount)
        return false;
    return !options.isEnabled || options.isEnabled(item);
}

void PopupWindow::redraw() {
    if (!surface)
        return;
    auto context = CGContext::makeBitmap(options.size, {.scale = scale});
    if (options.draw)
        options.draw(*context, highlight);
    surface->present(*context);
}

void PopupWindow::finish(std::optional<int> chosen) {
    if (!surface)
        return;
    surface.reset();
    if (auto done = std::move(options.finished)) {
        options.finished = nullptr;
        done(chosen);
    }
}

CGPoint PopupWindow::local(CGPoint screen) const {
    int x = 0, y = 0;
    surface->position(x, y);
    return {screen.x - x / scale, options.size.height - (screen.y - y / scale)};
}

void PopupWindow::highlightAt(CGPoint screen) {
    CGPoint p = local(screen);
    bool inside = p.x >= 0 && p.y >= 0 && p.x < options.size.width && p.y < options.size.height;
    int item = inside && options.itemAt ? options.itemAt(p) : -1;
    if (!enabled(item))
        item = -1;
    if (item != highlight) {
        highlight = item;
        redraw();
    }
}

void PopupWindow::key(int sdlKey) {
    switch (sdlKey) {
    case SDLK_UP:
    case SDLK_DOWN: {
        int step = sdlKey == SDLK_DOWN ? 1 : -1;
        // From no highlight, Down starts at the top and Up at the bottom.
        int item = highlight >= 0 ? highlight + step : (step > 0 ? 0 : options.itemCount - 1);
        while (item >= 0 && item < options.itemCount && !enabled(item))
            item += step;
        if (enabled(item) && item != highlight) {
            highlight = item;
            redraw();
        }
        return;
    }
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
        if (enabled(highlight))
            finish(highlight);
        return;
    case SDLK_ESCAPE:
        finish(std::nullopt);
        return;
    default:
        return;
    }
}

void PopupWindow::mouse(const SDL_Event& event, CGPoint screen) {
    CGPoint p = local(screen);
    bool inside = p.x >= 0 && p.y >= 0 && p.x < options.size.width && p.y < options.size.height;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        highlightAt(screen);
        if (highlight >= 0 && (event.motion.state & SDL_BUTTON_LMASK))
            draggedOntoItem = true;
        return;
    case SDL_MOUSEBUTTONDOWN:
        if (!inside) {
            finish(std::nullopt);
            return;
        }
        pressedInside = true;
        highlightAt(screen);
        return;
    case SDL_MOUSEBUTTONUP:
        highlightAt(screen);
        // The release of the press that opened the pop-up chooses only when the
        // pointer was dragged onto an item; a click inside chooses what it is on.
        if ((pressedInside || draggedOntoItem) && inside && enabled(highlight))
            finish(highlight);
        pressedInside = false;
        return;
    default:
        return;
    }
}
