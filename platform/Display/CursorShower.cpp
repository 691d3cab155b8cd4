#include "CursorShower.h"

#include <cairo.h>

#include <cmath>
#include <string>
#include <utility>

#include "AppKit/NSImage.h"

namespace DisplayNative {

CursorShower::CursorShower(CGFloat factor) : scale(factor) {
    NSCursor::setChangeHandler([this](const std::shared_ptr<NSCursor>& cursor) { show(cursor); });
    show(NSCursor::current());
}

CursorShower::~CursorShower() {
    NSCursor::setChangeHandler(nullptr);
    SDL_SetCursor(SDL_GetDefaultCursor());
    for (auto& [cursor, sdl] : made)
        SDL_FreeCursor(sdl);
}

void CursorShower::show(const std::shared_ptr<NSCursor>& cursor) {
    if (!cursor)
        return;
    auto found = made.find(cursor);
    if (found == made.end())
        found = made.emplace(cursor, make(*cursor)).first;
    SDL_SetCursor(found->second ? found->second : SDL_GetDefaultCursor());
}

SDL_Cursor* CursorShower::make(const NSCursor& cursor) const {
    // The desktop's nearest cursor for each system cursor (it has no open or closed
    // hand: both show as the hand).
    static constexpr std::pair<const char*, SDL_SystemCursor> system[] = {
        {"arrow", SDL_SYSTEM_CURSOR_ARROW},
        {"pointingHand", SDL_SYSTEM_CURSOR_HAND},
        {"iBeam", SDL_SYSTEM_CURSOR_IBEAM},
        {"crosshair", SDL_SYSTEM_CURSOR_CROSSHAIR},
        {"openHand", SDL_SYSTEM_CURSOR_HAND},
        {"closedHand", SDL_SYSTEM_CURSOR_HAND},
        {"resizeLeftRight", SDL_SYSTEM_CURSOR_SIZEWE},
        {"resizeUpDown", SDL_SYSTEM_CURSOR_SIZENS},
    };
    if (!cursor.image()) {
        for (const auto& [name, id] : system)
            if (cursor.name() == name)
                return SDL_CreateSystemCursor(id);
        return nullptr;
    }
    CGImage bitmap = cursor.image()->cgImage(scale);
    cairo_surface_t* pixels = bitmap.surface();
    if (!pixels || bitmap.width() == 0 || bitmap.height() == 0)
        return nullptr;
    cairo_surface_flush(pixels);
    // cairo's premultiplied ARGB32 words are what the X cursor extension takes.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(pixels), int(bitmap.width()), int(bitmap.height()), 32,
        cairo_image_surface_get_stride(pixels), SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return nullptr;
    int hotX = int(std::lround(cursor.hotSpot().x * scale));
    int hotY = int(std::lround(cursor.hotSpot().y * scale));
    SDL_Cursor* made = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return made;
}

} // namespace DisplayNative
