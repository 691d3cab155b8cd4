#pragma once
// Internal to Display: one SDL window that shows a bitmap drawn with CoreGraphics, by
// copying the changed rectangles of the bitmap into the window's own pixel buffer and
// updating just those on the screen. Both the real NSWindow hosts and the pop-up menu
// windows present through it. Thread: main thread.

#include <SDL.h>

#include <memory>
#include <span>
#include <string>

#include "CoreGraphics/CGContext.h"

namespace DisplayNative {

class Surface {
  public:
    // A window of `pixelWidth` × `pixelHeight` at a screen position in pixels
    // (SDL_WINDOWPOS_UNDEFINED lets the desktop choose). Throws std::runtime_error
    // with SDL's reason when it cannot be made.
    Surface(const std::string& title, int x, int y, int pixelWidth, int pixelHeight, Uint32 flags);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Shows the context's bitmap (top-left aligned).
    void present(const CGContext& context);
    // Shows the rectangles of the context's bitmap that changed since it was last
    // shown, in pixels (origin top-left); the rest of the window stays as it is.
    void present(const CGContext& context, std::span<const SDL_Rect> changed);
    // Shows the last bitmap again (after the desktop exposed the window).
    void represent();

    Uint32 id() const { return SDL_GetWindowID(window); }
    SDL_Window* sdlWindow() const { return window; }
    // The X window (0 when the video driver is not X11).
    unsigned long nativeWindowId() const;
    void pixelSize(int& w, int& h) const { SDL_GetWindowSize(window, &w, &h); }
    void position(int& x, int& y) const { SDL_GetWindowPosition(window, &x, &y); }
    bool presentedOnce() const { return presented; }

  private:
    // Copies the rectangles of the bitmap into the window's buffer and shows them.
    void copy(cairo_surface_t* bitmap, std::span<const SDL_Rect> rects);

    SDL_Window* window = nullptr;
    // The last bitmap shown (shared with its context), for showing it again.
    cairo_surface_t* shown = nullptr;
    // The window's buffer that was last filled.
    SDL_Surface* lastTarget = nullptr;
    bool presented = false;
};

} // namespace DisplayNative

namespace DisplayNative {
// Seconds of a steady clock (real time, for frame pacing and time limits).
double steadyNow();
// A window's top-left corner on the screen in pixels for a position in points.
inline int toPixels(CGFloat points, CGFloat scale) {
    return static_cast<int>(points * scale + (points >= 0 ? 0.5 : -0.5));
}
} // namespace DisplayNative
