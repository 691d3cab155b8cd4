#pragma once
// Internal to Display: shows NSCursor's current cursor on the desktop while a server
// is connected — the system cursors as the desktop's own, image cursors drawn at the
// screen's scale with their hot spot. Thread: main thread.

#include <SDL.h>

#include <map>
#include <memory>

#include "AppKit/NSCursor.h"

namespace DisplayNative {

class CursorShower {
  public:
    explicit CursorShower(CGFloat scale);
    // Stops following NSCursor and frees the cursors made.
    ~CursorShower();
    CursorShower(const CursorShower&) = delete;
    CursorShower& operator=(const CursorShower&) = delete;

    void show(const std::shared_ptr<NSCursor>& cursor);

  private:
    SDL_Cursor* make(const NSCursor& cursor) const;

    CGFloat scale;
    // Held strongly so that an address never stands for another cursor.
    std::map<std::shared_ptr<NSCursor>, SDL_Cursor*> made;
};

} // namespace DisplayNative
