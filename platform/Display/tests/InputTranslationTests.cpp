// SDL's input as the layer's events, without a screen: made-up SDL events in, NSEvents out.

#include "InputTranslation.h"

#include <gtest/gtest.h>

namespace {

using namespace DisplayInput;
using T = NSEvent::Type;

SDL_Event buttonEvent(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = clicks;
    return e;
}

SDL_Event motionEvent(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_KeyboardEvent keyEvent(Uint32 type, SDL_Keycode sym, SDL_Scancode code, Uint16 mod = 0) {
    SDL_KeyboardEvent e{};
    e.type = type;
    e.keysym.sym = sym;
    e.keysym.scancode = code;
    e.keysym.mod = mod;
    return e;
}

TEST(InputTranslation, PixelsBecomeWindowPointsFromTheBottomLeftAtEveryScale) {
    struct Case {
        CGFloat scale;
        int px, py;
        CGPoint expected;
    };
    // A window of 200 × 150 points.
    for (const Case& c :
         {Case{1, 0, 0, {0, 150}}, Case{1, 40, 30, {40, 120}}, Case{2, 80, 60, {40, 120}},
          Case{2, 400, 300, {200, 0}}, Case{1.5, 3, 3, {2, 148}}}) {
        WindowInput input(c.scale, {200, 150});
        CGPoint p = input.point(c.px, c.py);
        EXPECT_DOUBLE_EQ(p.x, c.expected.x) << c.scale;
        EXPECT_DOUBLE_EQ(p.y, c.expected.y) << c.scale;
    }
}

TEST(InputTranslation, APressMovesAsDragsOfItsButtonWithItsClickCountUntilItsRelease) {
    WindowInput input(1, {200, 150});
    auto moved = input.motion(motionEvent(5, 5).motion, 0);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->type(), T::mouseMoved);

    auto down = input.button(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20, 2).button,
                             KMOD_LSHIFT);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->type(), T::leftMouseDown);
    EXPECT_EQ(down->clickCount(), 2);
    EXPECT_EQ(down->modifierFlags(), uint64_t(NSEvent::shift));
    EXPECT_TRUE(input.buttonHeld());

    auto drag = input.motion(motionEvent(30, 40).motion, 0);
    EXPECT_EQ(drag->type(), T::leftMouseDragged);
    EXPECT_EQ(drag->clickCount(), 2);
    EXPECT_DOUBLE_EQ(drag->locationInWindow().y, 110);
    // While pressed the pointer's leaving the window is no exit: the drag goes on.
    EXPECT_FALSE(input.left(0));

    auto up = input.button(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 30, 40, 2).button, 0);
    EXPECT_EQ(up->type(), T::leftMouseUp);
    EXPECT_FALSE(input.buttonHeld());
    EXPECT_EQ(input.motion(motionEvent(31, 40).motion, 0)->type(), T::mouseMoved);

    // The right button is its own; the middle one and a release never pressed here
    // make no events.
    input.button(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 1).button, 0);
    EXPECT_EQ(input.motion(motionEvent(2, 2).motion, 0)->type(), T::rightMouseDragged);
    EXPECT_EQ(
        input.button(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2, 2).button, 0)->type(),
        T::rightMouseUp);
    EXPECT_FALSE(input.button(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1).button, 0));
    EXPECT_FALSE(input.button(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1).button, 0));
}

TEST(InputTranslation, LeavingMovesThePointerJustPastTheNearestEdge) {
    struct Case {
        int px, py;
        CGPoint expected;
    };
    for (const Case& c : {Case{2, 70, {-1, 80}}, Case{198, 70, {201, 80}}, Case{100, 1, {100, 151}},
                          Case{100, 149, {100, -1}}}) {
        WindowInput input(1, {200, 150});
        input.motion(motionEvent(c.px, c.py).motion, 0);
        auto out = input.left(0);
        ASSERT_TRUE(out);
        EXPECT_EQ(out->type(), T::mouseMoved);
        EXPECT_DOUBLE_EQ(out->locationInWindow().x, c.expected.x) << c.px << "," << c.py;
        EXPECT_DOUBLE_EQ(out->locationInWindow().y, c.expected.y) << c.px << "," << c.py;
    }
}

TEST(InputTranslation, ModifierStatesMapToTheFlagsOfEitherSide) {
    struct Case {
        Uint16 mod;
        uint64_t flags;
    };
    for (const Case& c :
         {Case{0, 0}, Case{KMOD_LSHIFT, NSEvent::shift}, Case{KMOD_RSHIFT, NSEvent::shift},
          Case{KMOD_RCTRL, NSEvent::control}, Case{KMOD_LALT, NSEvent::option},
          Case{KMOD_RALT, NSEvent::option}, Case{KMOD_LGUI, NSEvent::command},
          Case{KMOD_CAPS, NSEvent::capsLock}, Case{KMOD_NUM, 0},
          Case{KMOD_LSHIFT | KMOD_LGUI, NSEvent::shift | NSEvent::command}})
        EXPECT_EQ(modifierFlags(c.mod), c.flags) << c.mod;

    // The modifier key's own press or release counts, whatever SDL reported with it.
    EXPECT_EQ(modifiersAfter(keyEvent(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, 0)), KMOD_LALT);
    EXPECT_EQ(modifiersAfter(keyEvent(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT)), 0);
    EXPECT_EQ(modifiersAfter(keyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_RCTRL)),
              KMOD_RCTRL);
}

TEST(InputTranslation, KeysTypeTheirTextOrThePlatformsCharacterOfASpecialKey) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        const char* text;
        std::string chars;
        uint16_t keyCode;
    };
    for (const Case& c : {
             Case{SDLK_a, SDL_SCANCODE_A, "a", "a", 0x00},
             Case{SDLK_a, SDL_SCANCODE_A, "A", "A", 0x00},
             Case{SDLK_a, SDL_SCANCODE_A, "", "a", 0x00}, // with Control: no text from SDL
             Case{SDLK_e, SDL_SCANCODE_E, "\xc3\xa9", "\xc3\xa9", 0x0E},
             Case{SDLK_RETURN, SDL_SCANCODE_RETURN, "", "\r", 0x24},
             Case{SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, "", "\x03", 0x4C},
             Case{SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, "", "\x7f", 0x33},
             Case{SDLK_TAB, SDL_SCANCODE_TAB, "", "\t", 0x30},
             Case{SDLK_SPACE, SDL_SCANCODE_SPACE, " ", " ", 0x31},
             Case{SDLK_LEFT, SDL_SCANCODE_LEFT, "", "\xef\x9c\x82", 0x7B},     // U+F702
             Case{SDLK_DELETE, SDL_SCANCODE_DELETE, "", "\xef\x9c\xa8", 0x75}, // U+F728
             Case{SDLK_F1, SDL_SCANCODE_F1, "", "\xef\x9c\x84", 0x7A},         // U+F704
             Case{SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, "", "", 0x39},
             Case{SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, "", "", 0xFFFF},
         }) {
        EXPECT_EQ(characters(c.key, c.text), c.chars) << c.key;
        EXPECT_EQ(keyCode(c.scancode), c.keyCode) << c.key;
    }
}

TEST(InputTranslation, AKeyUpRepeatsWhatItsKeyTypedAndModifierKeysChangeFlags) {
    WindowInput input(1, {10, 10});
    auto down = input.key(keyEvent(SDL_KEYDOWN, SDLK_b, SDL_SCANCODE_B, KMOD_LSHIFT), "B");
    EXPECT_EQ(down->type(), T::keyDown);
    EXPECT_EQ(down->characters(), "B");
    EXPECT_EQ(down->keyCode(), 0x0B);
    EXPECT_EQ(down->modifierFlags(), uint64_t(NSEvent::shift));
    // Shift let go before the key: the key up still says what the key typed.
    auto shiftUp =
        input.key(keyEvent(SDL_KEYUP, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), "");
    EXPECT_EQ(shiftUp->type(), T::flagsChanged);
    EXPECT_EQ(shiftUp->modifierFlags(), 0u);
    EXPECT_EQ(shiftUp->keyCode(), 0x38);
    auto up = input.key(keyEvent(SDL_KEYUP, SDLK_b, SDL_SCANCODE_B), "");
    EXPECT_EQ(up->type(), T::keyUp);
    EXPECT_EQ(up->characters(), "B");

    auto repeat = keyEvent(SDL_KEYDOWN, SDLK_DOWN, SDL_SCANCODE_DOWN);
    repeat.repeat = 1;
    EXPECT_TRUE(input.key(repeat, "")->isARepeat());
}

TEST(InputTranslation, TheWheelScrollsInLinesAtThePointer) {
    WindowInput input(2, {100, 100});
    SDL_MouseWheelEvent e{};
    e.type = SDL_MOUSEWHEEL;
    e.y = 1;
    e.preciseY = 1;
    e.preciseX = -0.5f;
    e.mouseX = 20;
    e.mouseY = 40;
    auto scroll = input.wheel(e, KMOD_LCTRL);
    EXPECT_EQ(scroll->type(), T::scrollWheel);
    EXPECT_DOUBLE_EQ(scroll->scrollingDeltaY(), 1);
    EXPECT_DOUBLE_EQ(scroll->scrollingDeltaX(), -0.5);
    EXPECT_FALSE(scroll->hasPreciseScrollingDeltas());
    EXPECT_DOUBLE_EQ(scroll->locationInWindow().x, 10);
    EXPECT_DOUBLE_EQ(scroll->locationInWindow().y, 80);
    EXPECT_EQ(scroll->modifierFlags(), uint64_t(NSEvent::control));
    EXPECT_FALSE(scroll->isDirectionInvertedFromDevice());

    // A desktop set to "natural" scrolling flips the deltas and says so.
    e.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_TRUE(input.wheel(e, 0)->isDirectionInvertedFromDevice());
}

} // namespace
