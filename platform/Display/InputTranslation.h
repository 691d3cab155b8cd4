#pragma once
// Internal to Display: turns SDL's input events into the layer's NSEvents, as a
// person's mouse and keyboard would reach an NSWindow — locations in the window's
// points with the origin at the bottom left, click counts, modifier flags (Shift,
// Control, Option = Alt, Command = Super), the platform's virtual key codes and the
// characters a key types. Pure translation: nothing here opens a window, so tests
// feed it made-up SDL events.
// Thread: main thread (like the windows it serves).

#include <SDL.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "AppKit/NSEvent.h"

namespace DisplayInput {

// NSEvent modifier flags for SDL's modifier state.
uint64_t modifierFlags(uint16_t sdlMod);
// SDL's modifier state after the key event: the event's own state with the pressed or
// released modifier key applied (SDL does not promise which of the two it reports).
uint16_t modifiersAfter(const SDL_KeyboardEvent& event);
bool isModifierKey(SDL_Keycode key);
// The platform's virtual key code of a physical key (ANSI layout); 0xFFFF when the key
// has none.
uint16_t keyCode(SDL_Scancode scancode);
// What a key down types: the text SDL composed for it when there is some, else the
// platform's character of a special key (Return "\r", arrows as function-key
// characters, ...), else the key's own character (keys typed with Control or
// Command, which SDL composes no text for); "" for keys without one.
std::string characters(SDL_Keycode key, std::string_view text);

// The input state of one window: which buttons are down, with what click count,
// where the pointer was last, and what each held key typed (its key-up repeats it).
class WindowInput {
  public:
    // `scale`: pixels per point; `contentSize`: the window's content in points.
    WindowInput(CGFloat scale, CGSize contentSize) : scale(scale), content(contentSize) {}
    void setGeometry(CGFloat scale, CGSize contentSize);

    // A window pixel (origin top-left, y down) in window points (bottom-left, y up).
    CGPoint point(double pixelX, double pixelY) const;

    // `sdlMod` is the keyboard's modifier state (SDL's mouse events carry none).
    std::optional<NSEvent> button(const SDL_MouseButtonEvent& event, uint16_t sdlMod);
    std::optional<NSEvent> motion(const SDL_MouseMotionEvent& event, uint16_t sdlMod);
    std::optional<NSEvent> wheel(const SDL_MouseWheelEvent& event, uint16_t sdlMod);
    // Key down / up, or flagsChanged for a modifier key; `text` is the text input SDL
    // sent right after the key down ("" when none).
    std::optional<NSEvent> key(const SDL_KeyboardEvent& event, std::string_view text);
    // The pointer left the window: a move to just outside the nearest edge, so that
    // tracking areas see it go (none while a button is held, as the drag goes on).
    std::optional<NSEvent> left(uint16_t sdlMod);

    bool buttonHeld() const { return held != 0; }
    CGPoint lastLocation() const { return last; }

  private:
    CGFloat scale;
    CGSize content;
    unsigned held = 0; // bit 0 left, bit 1 right
    int clicks = 1;    // of the press in progress
    CGPoint last;
    std::map<SDL_Scancode, std::string> typed;
};

} // namespace DisplayInput
