#include "Display/DisplayWindow.h"

#include <cmath>
#include <vector>

#include "InputTranslation.h"
#include "NativeSurface.h"

using DisplayNative::toPixels;

namespace {
// Where a window of `size` pixels starts along one side of the screen's usable span:
// centred when it fits (wholly on the screen), else at the span's start, so that its
// top and left edge — title and controls — stay on the screen.
int centredOn(int start, int span, int size) {
    return start + std::max(0, (span - size) / 2);
}
} // namespace

DisplayWindow::DisplayWindow(std::shared_ptr<NSWindow> window, CGFloat factor,
                             const Options& options)
    : nsWindow(std::move(window)), scale(factor), resizable(options.resizable) {
    nsWindow->setBackingScaleFactor(scale);
    CGSize size = nsWindow->contentSize();
    const int w = std::max(1, int(std::ceil(size.width * scale)));
    const int h = std::max(1, int(std::ceil(size.height * scale)));
    int x, y;
    if (options.screenPosition) {
        x = toPixels(options.screenPosition->x, scale);
        y = toPixels(options.screenPosition->y, scale);
    } else {
        SDL_Rect usable{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
            SDL_GetDisplayBounds(0, &usable);
        x = centredOn(usable.x, usable.w, w);
        y = centredOn(usable.y, usable.h, h);
    }
    Uint32 flags = SDL_WINDOW_SHOWN | (resizable ? SDL_WINDOW_RESIZABLE : 0);
    surface = std::make_unique<DisplayNative::Surface>(nsWindow->title, x, y, w, h, flags);
    input = std::make_unique<DisplayInput::WindowInput>(scale, size);
    // A view's request for display marks the window; the server's loop redraws it.
    nsWindow->displayRequested = [this] { dirty = true; };
    nsWindow->displayHandler = [this](NSWindow&) { present(); };
    // Ordered out (closed by its own code): off the screen.
    nsWindow->orderedOut = [this] { close(); };
}

DisplayWindow::~DisplayWindow() {
    close();
}

void DisplayWindow::close() {
    if (!surface)
        return;
    nsWindow->displayRequested = nullptr;
    nsWindow->displayHandler = nullptr;
    nsWindow->orderedOut = nullptr;
    focusedWhenClosed = (SDL_GetWindowFlags(surface->sdlWindow()) & SDL_WINDOW_INPUT_FOCUS) != 0;
    surface.reset();
    if (auto done = std::move(closed)) {
        closed = nullptr;
        done();
    }
}

void DisplayWindow::focus() {
    if (!surface)
        return;
    SDL_RaiseWindow(surface->sdlWindow());
    SDL_SetWindowInputFocus(surface->sdlWindow());
}

unsigned DisplayWindow::id() const {
    return surface ? surface->id() : 0;
}

unsigned long DisplayWindow::nativeWindowId() const {
    return surface ? surface->nativeWindowId() : 0;
}

CGSize DisplayWindow::pixelSize() const {
    int w = 0, h = 0;
    if (surface)
        surface->pixelSize(w, h);
    return {CGFloat(w), CGFloat(h)};
}

bool DisplayWindow::needsPresent() const {
    return surface && (dirty || nsWindow->viewsNeedDisplay());
}

void DisplayWindow::syncSize() {
    // The application may have resized the NSWindow: the real window follows.
    CGSize size = nsWindow->contentSize();
    int w = std::max(1, int(std::ceil(size.width * scale)));
    int h = std::max(1, int(std::ceil(size.height * scale)));
    int currentW = 0, currentH = 0;
    surface->pixelSize(currentW, currentH);
    if (w != currentW || h != currentH)
        SDL_SetWindowSize(surface->sdlWindow(), w, h);
    if (SDL_GetWindowTitle(surface->sdlWindow()) != nsWindow->title)
        SDL_SetWindowTitle(surface->sdlWindow(), nsWindow->title.c_str());
    input->setGeometry(scale, size);
}

void DisplayWindow::present() {
    if (!surface)
        return;
    syncSize();
    dirty = false;
    // One bitmap keeps the window's drawing from frame to frame while the size holds:
    // a frame redraws and shows only the region the views marked.
    CGSize size = nsWindow->contentSize();
    if (!frame || frame->size().width != size.width || frame->size().height != size.height ||
        frame->scale() != scale) {
        frame = CGContext::makeBitmap(size, {.scale = scale});
        nsWindow->invalidate({{0, 0}, size});
    }
    const CGRegion redrawn = nsWindow->drawDirtyRegion(frame);
    std::vector<SDL_Rect> pixels;
    pixels.reserve(redrawn.rects().size());
    for (const CGRect& r : redrawn.rects()) {
        // Device points aligned to whole pixels: exact multiples of 1 / scale.
        int x0 = int(std::lround(r.minX() * scale)), y0 = int(std::lround(r.minY() * scale));
        int x1 = int(std::lround(r.maxX() * scale)), y1 = int(std::lround(r.maxY() * scale));
        pixels.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    surface->present(*frame, pixels);
    lastPresent = DisplayNative::steadyNow();
    ++presents;
}

CGPoint DisplayWindow::screenPoint(CGPoint p) const {
    int x = 0, y = 0;
    if (surface)
        surface->position(x, y);
    CGSize size = nsWindow->contentSize();
    return {x / scale + p.x, y / scale + (size.height - p.y)};
}

void DisplayWindow::handle(const SDL_Event& event, uint16_t mods, const char* text) {
    std::optional<NSEvent> translated;
    if (menuRequested) {
        bool menuKey = event.type == SDL_KEYDOWN && (event.key.keysym.sym == SDLK_F10 ||
                                                     event.key.keysym.sym == SDLK_APPLICATION);
        bool rightPress =
            event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_RIGHT;
        if (menuKey || rightPress) {
            CGPoint at = rightPress ? input->point(event.button.x, event.button.y)
                                    : CGPoint{0, nsWindow->contentSize().height};
            if (menuRequested(screenPoint(at)))
                return;
        }
    }
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translated = input->button(event.button, mods);
        break;
    case SDL_MOUSEMOTION:
        translated = input->motion(event.motion, mods);
        break;
    case SDL_MOUSEWHEEL:
        translated = input->wheel(event.wheel, mods);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translated = input->key(event.key, text ? text : "");
        break;
    case SDL_TEXTINPUT: // text with no key down before it (an input method's)
        translated = NSEvent::key(NSEvent::Type::keyDown, event.text.text, 0xFFFF,
                                  DisplayInput::modifierFlags(mods));
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
            onScreen = true;
            break;
        case SDL_WINDOWEVENT_HIDDEN:
            onScreen = false;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            onScreen = true;
            if (surface->presentedOnce())
                surface->represent();
            else
                dirty = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (resizable) {
                CGSize size{event.window.data1 / scale, event.window.data2 / scale};
                if (size.width != nsWindow->contentSize().width ||
                    size.height != nsWindow->contentSize().height) {
                    nsWindow->setContentSize(size);
                    input->setGeometry(scale, size);
                }
                dirty = true;
            }
            break;
        case SDL_WINDOWEVENT_LEAVE:
            translated = input->left(mods);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            nsWindow->makeKeyWindow();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            nsWindow->resignKeyWindow();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            close();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    if (translated)
        nsWindow->sendEvent(*translated);
}
