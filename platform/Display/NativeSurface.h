#pragma once
// Internal to Display: one SDL window with a renderer and a streaming texture that
// shows a bitmap drawn with CoreGraphics. Both the real NSWindow hosts and the pop-up
// menu windows present through it. Thread: main thread.

#include <SDL.h>

#include <memory>
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

    // Uploads the context's bitmap and shows it (top-left aligned).
    void present(const CGContext& context);
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
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0, textureHeight = 0;
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
