#include "NativeSurface.h"

#include <SDL_syswm.h>
#include <cairo.h>

#include <stdexcept>

namespace DisplayNative {

Surface::Surface(const std::string& title, int x, int y, int w, int h, Uint32 flags) {
    window = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    if (!window)
        throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
    renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) // no accelerated path (a virtual screen): draw in software
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(window);
        throw std::runtime_error("cannot draw into a window: " + why);
    }
}

Surface::~Surface() {
    if (texture)
        SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
}

void Surface::present(const CGContext& context) {
    cairo_surface_t* bitmap = cairo_get_target(context.cairo());
    cairo_surface_flush(bitmap);
    int w = cairo_image_surface_get_width(bitmap);
    int h = cairo_image_surface_get_height(bitmap);
    if (!texture || w != textureWidth || h != textureHeight) {
        if (texture)
            SDL_DestroyTexture(texture);
        // cairo's ARGB32 is a native-endian 32-bit word per pixel, as SDL's ARGB8888.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                    w, h);
        textureWidth = w;
        textureHeight = h;
    }
    if (!texture)
        return;
    SDL_UpdateTexture(texture, nullptr, cairo_image_surface_get_data(bitmap),
                      cairo_image_surface_get_stride(bitmap));
    represent();
}

void Surface::represent() {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (texture) {
        SDL_Rect target{0, 0, textureWidth, textureHeight};
        SDL_RenderCopy(renderer, texture, nullptr, &target);
    }
    SDL_RenderPresent(renderer);
    presented = true;
}

unsigned long Surface::nativeWindowId() const {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info))
        return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return static_cast<unsigned long>(info.info.x11.window);
#endif
    return 0;
}

} // namespace DisplayNative

#include <chrono>

namespace DisplayNative {
double steadyNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace DisplayNative
