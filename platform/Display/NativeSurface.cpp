#include "NativeSurface.h"

#include <SDL_syswm.h>
#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace DisplayNative {

Surface::Surface(const std::string& title, int x, int y, int w, int h, Uint32 flags) {
    window = SDL_CreateWindow(title.c_str(), x, y, w, h, flags);
    if (!window)
        throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
    if (!SDL_GetWindowSurface(window)) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(window);
        throw std::runtime_error("cannot draw into a window: " + why);
    }
}

Surface::~Surface() {
    if (shown)
        cairo_surface_destroy(shown);
    SDL_DestroyWindow(window);
}

void Surface::present(const CGContext& context) {
    cairo_surface_t* bitmap = cairo_get_target(context.cairo());
    SDL_Rect all{0, 0, cairo_image_surface_get_width(bitmap),
                 cairo_image_surface_get_height(bitmap)};
    present(context, std::span<const SDL_Rect>(&all, 1));
}

void Surface::present(const CGContext& context, std::span<const SDL_Rect> changed) {
    cairo_surface_t* bitmap = cairo_get_target(context.cairo());
    if (bitmap != shown) {
        // Another bitmap than last time: the window shows none of it yet.
        if (shown)
            cairo_surface_destroy(shown);
        shown = cairo_surface_reference(bitmap);
        represent();
        return;
    }
    copy(bitmap, changed);
}

void Surface::represent() {
    if (!shown)
        return;
    SDL_Rect all{0, 0, cairo_image_surface_get_width(shown), cairo_image_surface_get_height(shown)};
    copy(shown, std::span<const SDL_Rect>(&all, 1));
}

void Surface::copy(cairo_surface_t* bitmap, std::span<const SDL_Rect> rects) {
    // The window's buffer is made again after a resize; ask for it each time.
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target)
        return;
    SDL_Rect everything{0, 0, target->w, target->h};
    if (target != lastTarget) {
        // A new buffer (the window was resized) holds nothing yet: fill it all.
        lastTarget = target;
        rects = std::span<const SDL_Rect>(&everything, 1);
    }
    cairo_surface_flush(bitmap);
    const int w = cairo_image_surface_get_width(bitmap), h = cairo_image_surface_get_height(bitmap);
    const int stride = cairo_image_surface_get_stride(bitmap);
    const unsigned char* pixels = cairo_image_surface_get_data(bitmap);
    const SDL_Rect bounds{0, 0, std::min(w, target->w), std::min(h, target->h)};
    // cairo's ARGB32 is a native-endian 32-bit word per pixel: SDL's ARGB8888, and the
    // same bytes as the XRGB words of a 24-bit desktop (which ignores the top byte).
    const Uint32 format = target->format->format;
    const bool sameBytes = format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
    std::vector<SDL_Rect> updated;
    updated.reserve(rects.size());
    SDL_LockSurface(target);
    for (const SDL_Rect& wanted : rects) {
        SDL_Rect r;
        if (!SDL_IntersectRect(&wanted, &bounds, &r))
            continue;
        const unsigned char* from = pixels + std::ptrdiff_t(r.y) * stride + 4 * r.x;
        auto* to = static_cast<unsigned char*>(target->pixels) +
                   std::ptrdiff_t(r.y) * target->pitch + r.x * target->format->BytesPerPixel;
        if (sameBytes) {
            for (int row = 0; row < r.h; ++row)
                std::memcpy(to + std::ptrdiff_t(row) * target->pitch,
                            from + std::ptrdiff_t(row) * stride, size_t(r.w) * 4);
        } else {
            SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_ARGB8888, from, stride, format, to,
                              target->pitch);
        }
        updated.push_back(r);
    }
    SDL_UnlockSurface(target);
    if (!updated.empty())
        SDL_UpdateWindowSurfaceRects(window, updated.data(), int(updated.size()));
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
