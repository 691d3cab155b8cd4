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

void PopupWindow::close() {
    options.finished = nullptr;
    surface.reset();
}

CGRect PopupWindow::screenFrame() const {
    if (!surface)
        return {};
    int x = 0, y = 0;
    surface->position(x, y);
    return {{x / scale, y / scale}, options.size};
}

bool PopupWindow::opensSubmenu(int item) const {
    return enabled(item) && options.hasSubmenu && options.hasSubmenu(item);
}

bool PopupWindow::contains(CGPoint screen) const {
    return surface && screenFrame().contains(screen);
}

int PopupWindow::itemAtScreen(CGPoint screen) const {
    if (!contains(screen) || !options.itemAt)
        return -1;
    const CGRect frame = screenFrame();
    // The pop-up's own space is y-up.
    const int item = options.itemAt({screen.x - frame.minX(), frame.maxY() - screen.y});
    return enabled(item) ? item : -1;
}

void PopupWindow::setHighlight(int item) {
    if (!enabled(item))
        item = -1;
    if (item != highlight) {
        highlight = item;
        redraw();
    }
}

bool PopupWindow::step(int direction) {
    // From no highlight, Down starts at the top and Up at the bottom.
    int item = highlight >= 0 ? highlight + direction : (direction > 0 ? 0 : options.itemCount - 1);
    while (item >= 0 && item < options.itemCount && !enabled(item))
        item += direction;
    if (!enabled(item) || item == highlight)
        return false;
    setHighlight(item);
    return true;
}
