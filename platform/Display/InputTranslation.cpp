#include "InputTranslation.h"

#include <algorithm>
#include <utility>

namespace DisplayInput {

uint64_t modifierFlags(uint16_t mod) {
    uint64_t flags = 0;
    if (mod & KMOD_SHIFT)
        flags |= NSEvent::shift;
    if (mod & KMOD_CTRL)
        flags |= NSEvent::control;
    if (mod & KMOD_ALT)
        flags |= NSEvent::option;
    if (mod & KMOD_GUI)
        flags |= NSEvent::command;
    if (mod & KMOD_CAPS)
        flags |= NSEvent::capsLock;
    return flags;
}

namespace {
uint16_t modifierBit(SDL_Keycode key) {
    switch (key) {
    case SDLK_LSHIFT:
        return KMOD_LSHIFT;
    case SDLK_RSHIFT:
        return KMOD_RSHIFT;
    case SDLK_LCTRL:
        return KMOD_LCTRL;
    case SDLK_RCTRL:
        return KMOD_RCTRL;
    case SDLK_LALT:
        return KMOD_LALT;
    case SDLK_RALT:
        return KMOD_RALT;
    case SDLK_LGUI:
        return KMOD_LGUI;
    case SDLK_RGUI:
        return KMOD_RGUI;
    default:
        return 0;
    }
}
} // namespace

bool isModifierKey(SDL_Keycode key) {
    return modifierBit(key) != 0 || key == SDLK_CAPSLOCK;
}

uint16_t modifiersAfter(const SDL_KeyboardEvent& event) {
    uint16_t mod = event.keysym.mod;
    if (uint16_t bit = modifierBit(event.keysym.sym)) {
        if (event.type == SDL_KEYDOWN)
            mod |= bit;
        else
            mod &= ~bit;
    }
    return mod;
}

uint16_t keyCode(SDL_Scancode s) {
    // The platform numbers keys by their place on an ANSI keyboard.
    static constexpr std::pair<SDL_Scancode, uint16_t> table[] = {
        {SDL_SCANCODE_A, 0x00},           {SDL_SCANCODE_S, 0x01},
        {SDL_SCANCODE_D, 0x02},           {SDL_SCANCODE_F, 0x03},
        {SDL_SCANCODE_H, 0x04},           {SDL_SCANCODE_G, 0x05},
        {SDL_SCANCODE_Z, 0x06},           {SDL_SCANCODE_X, 0x07},
        {SDL_SCANCODE_C, 0x08},           {SDL_SCANCODE_V, 0x09},
        {SDL_SCANCODE_B, 0x0B},           {SDL_SCANCODE_Q, 0x0C},
        {SDL_SCANCODE_W, 0x0D},           {SDL_SCANCODE_E, 0x0E},
        {SDL_SCANCODE_R, 0x0F},           {SDL_SCANCODE_Y, 0x10},
        {SDL_SCANCODE_T, 0x11},           {SDL_SCANCODE_1, 0x12},
        {SDL_SCANCODE_2, 0x13},           {SDL_SCANCODE_3, 0x14},
        {SDL_SCANCODE_4, 0x15},           {SDL_SCANCODE_6, 0x16},
        {SDL_SCANCODE_5, 0x17},           {SDL_SCANCODE_EQUALS, 0x18},
        {SDL_SCANCODE_9, 0x19},           {SDL_SCANCODE_7, 0x1A},
        {SDL_SCANCODE_MINUS, 0x1B},       {SDL_SCANCODE_8, 0x1C},
        {SDL_SCANCODE_0, 0x1D},           {SDL_SCANCODE_RIGHTBRACKET, 0x1E},
        {SDL_SCANCODE_O, 0x1F},           {SDL_SCANCODE_U, 0x20},
        {SDL_SCANCODE_LEFTBRACKET, 0x21}, {SDL_SCANCODE_I, 0x22},
        {SDL_SCANCODE_P, 0x23},           {SDL_SCANCODE_RETURN, 0x24},
        {SDL_SCANCODE_L, 0x25},           {SDL_SCANCODE_J, 0x26},
        {SDL_SCANCODE_APOSTROPHE, 0x27},  {SDL_SCANCODE_K, 0x28},
        {SDL_SCANCODE_SEMICOLON, 0x29},   {SDL_SCANCODE_BACKSLASH, 0x2A},
        {SDL_SCANCODE_COMMA, 0x2B},       {SDL_SCANCODE_SLASH, 0x2C},
        {SDL_SCANCODE_N, 0x2D},           {SDL_SCANCODE_M, 0x2E},
        {SDL_SCANCODE_PERIOD, 0x2F},      {SDL_SCANCODE_TAB, 0x30},
        {SDL_SCANCODE_SPACE, 0x31},       {SDL_SCANCODE_GRAVE, 0x32},
        {SDL_SCANCODE_BACKSPACE, 0x33},   {SDL_SCANCODE_ESCAPE, 0x35},
        {SDL_SCANCODE_RGUI, 0x36},        {SDL_SCANCODE_LGUI, 0x37},
        {SDL_SCANCODE_LSHIFT, 0x38},      {SDL_SCANCODE_CAPSLOCK, 0x39},
        {SDL_SCANCODE_LALT, 0x3A},        {SDL_SCANCODE_LCTRL, 0x3B},
        {SDL_SCANCODE_RSHIFT, 0x3C},      {SDL_SCANCODE_RALT, 0x3D},
        {SDL_SCANCODE_RCTRL, 0x3E},       {SDL_SCANCODE_F17, 0x40},
        {SDL_SCANCODE_KP_PERIOD, 0x41},   {SDL_SCANCODE_KP_MULTIPLY, 0x43},
        {SDL_SCANCODE_KP_PLUS, 0x45},     {SDL_SCANCODE_NUMLOCKCLEAR, 0x47},
        {SDL_SCANCODE_KP_DIVIDE, 0x4B},   {SDL_SCANCODE_KP_ENTER, 0x4C},
        {SDL_SCANCODE_KP_MINUS, 0x4E},    {SDL_SCANCODE_KP_EQUALS, 0x51},
        {SDL_SCANCODE_KP_0, 0x52},        {SDL_SCANCODE_KP_1, 0x53},
        {SDL_SCANCODE_KP_2, 0x54},        {SDL_SCANCODE_KP_3, 0x55},
        {SDL_SCANCODE_KP_4, 0x56},        {SDL_SCANCODE_KP_5, 0x57},
        {SDL_SCANCODE_KP_6, 0x58},        {SDL_SCANCODE_KP_7, 0x59},
        {SDL_SCANCODE_KP_8, 0x5B},        {SDL_SCANCODE_KP_9, 0x5C},
        {SDL_SCANCODE_F5, 0x60},          {SDL_SCANCODE_F6, 0x61},
        {SDL_SCANCODE_F7, 0x62},          {SDL_SCANCODE_F3, 0x63},
        {SDL_SCANCODE_F8, 0x64},          {SDL_SCANCODE_F9, 0x65},
        {SDL_SCANCODE_F11, 0x67},         {SDL_SCANCODE_F13, 0x69},
        {SDL_SCANCODE_F14, 0x6B},         {SDL_SCANCODE_F10, 0x6D},
        {SDL_SCANCODE_F12, 0x6F},         {SDL_SCANCODE_F15, 0x71},
        {SDL_SCANCODE_HELP, 0x72},        {SDL_SCANCODE_INSERT, 0x72},
        {SDL_SCANCODE_HOME, 0x73},        {SDL_SCANCODE_PAGEUP, 0x74},
        {SDL_SCANCODE_DELETE, 0x75},      {SDL_SCANCODE_F4, 0x76},
        {SDL_SCANCODE_END, 0x77},         {SDL_SCANCODE_F2, 0x78},
        {SDL_SCANCODE_PAGEDOWN, 0x79},    {SDL_SCANCODE_F1, 0x7A},
        {SDL_SCANCODE_LEFT, 0x7B},        {SDL_SCANCODE_RIGHT, 0x7C},
        {SDL_SCANCODE_DOWN, 0x7D},        {SDL_SCANCODE_UP, 0x7E},
    };
    for (const auto& [scancode, code] : table)
        if (scancode == s)
            return code;
    return 0xFFFF;
}

namespace {
std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}
} // namespace

std::string characters(SDL_Keycode key, std::string_view text) {
    if (!text.empty())
        return std::string(text);
    // Special keys type the platform's control characters or its function-key
    // characters from the private-use area.
    static constexpr std::pair<SDL_Keycode, char32_t> special[] = {
        {SDLK_RETURN, U'\r'},   {SDLK_KP_ENTER, 0x03}, {SDLK_TAB, U'\t'},       {SDLK_ESCAPE, 0x1B},
        {SDLK_BACKSPACE, 0x7F}, {SDLK_UP, 0xF700},     {SDLK_DOWN, 0xF701},     {SDLK_LEFT, 0xF702},
        {SDLK_RIGHT, 0xF703},   {SDLK_F1, 0xF704},     {SDLK_F2, 0xF705},       {SDLK_F3, 0xF706},
        {SDLK_F4, 0xF707},      {SDLK_F5, 0xF708},     {SDLK_F6, 0xF709},       {SDLK_F7, 0xF70A},
        {SDLK_F8, 0xF70B},      {SDLK_F9, 0xF70C},     {SDLK_F10, 0xF70D},      {SDLK_F11, 0xF70E},
        {SDLK_F12, 0xF70F},     {SDLK_INSERT, 0xF727}, {SDLK_DELETE, 0xF728},   {SDLK_HOME, 0xF729},
        {SDLK_END, 0xF72B},     {SDLK_PAGEUP, 0xF72C}, {SDLK_PAGEDOWN, 0xF72D},
    };
    for (const auto& [k, c] : special)
        if (k == key)
            return utf8(c);
    if (key >= 0x20 && key < 0x7F)
        return std::string(1, char(key));
    return {};
}

void WindowInput::setGeometry(CGFloat newScale, CGSize contentSize) {
    scale = newScale;
    content = contentSize;
}

CGPoint WindowInput::point(double px, double py) const {
    return {px / scale, content.height - py / scale};
}

std::optional<NSEvent> WindowInput::button(const SDL_MouseButtonEvent& e, uint16_t mod) {
    unsigned bit = e.button == SDL_BUTTON_LEFT ? 1u : e.button == SDL_BUTTON_RIGHT ? 2u : 0u;
    if (!bit)
        return std::nullopt; // the platform's events have no middle button
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    if (down) {
        held |= bit;
        clicks = std::max<int>(1, e.clicks);
    } else {
        if (!(held & bit))
            return std::nullopt; // pressed elsewhere: this window never saw the press
        held &= ~bit;
    }
    last = point(e.x, e.y);
    using T = NSEvent::Type;
    T type = bit == 1 ? (down ? T::leftMouseDown : T::leftMouseUp)
                      : (down ? T::rightMouseDown : T::rightMouseUp);
    return NSEvent::mouse(type, last, modifierFlags(mod), clicks, e.timestamp / 1000.0);
}

std::optional<NSEvent> WindowInput::motion(const SDL_MouseMotionEvent& e, uint16_t mod) {
    last = point(e.x, e.y);
    using T = NSEvent::Type;
    T type = (held & 1) ? T::leftMouseDragged : (held & 2) ? T::rightMouseDragged : T::mouseMoved;
    return NSEvent::mouse(type, last, modifierFlags(mod), held ? clicks : 0, e.timestamp / 1000.0);
}

std::optional<NSEvent> WindowInput::wheel(const SDL_MouseWheelEvent& e, uint16_t mod) {
#if SDL_VERSION_ATLEAST(2, 26, 0)
    CGPoint at = point(e.mouseX, e.mouseY);
#else
    CGPoint at = last;
#endif
    // A wheel turns in lines; positive deltaY scrolls up (away from the user). Deltas
    // stay as the desktop reports them, with its choice of "natural" direction, which
    // the event tells as inverted from the device.
    return NSEvent::scroll(at, e.preciseX, e.preciseY, false, modifierFlags(mod),
                           e.direction == SDL_MOUSEWHEEL_FLIPPED);
}

std::optional<NSEvent> WindowInput::key(const SDL_KeyboardEvent& e, std::string_view text) {
    uint16_t mod = modifiersAfter(e);
    uint16_t code = keyCode(e.keysym.scancode);
    if (isModifierKey(e.keysym.sym)) {
        NSEvent event = NSEvent::key(NSEvent::Type::flagsChanged, "", code, modifierFlags(mod));
        return event;
    }
    if (e.type == SDL_KEYDOWN) {
        std::string chars = characters(e.keysym.sym, text);
        typed[e.keysym.scancode] = chars;
        return NSEvent::key(NSEvent::Type::keyDown, std::move(chars), code, modifierFlags(mod),
                            e.repeat != 0);
    }
    std::string chars;
    if (auto it = typed.find(e.keysym.scancode); it != typed.end()) {
        chars = std::move(it->second);
        typed.erase(it);
    } else {
        chars = characters(e.keysym.sym, {});
    }
    return NSEvent::key(NSEvent::Type::keyUp, std::move(chars), code, modifierFlags(mod));
}

std::optional<NSEvent> WindowInput::left(uint16_t mod) {
    if (held)
        return std::nullopt;
    // Just past the nearest edge.
    CGFloat toLeft = last.x, toRight = content.width - last.x;
    CGFloat toBottom = last.y, toTop = content.height - last.y;
    CGFloat nearest = std::min({toLeft, toRight, toBottom, toTop});
    CGPoint out = last;
    if (nearest == toLeft)
        out.x = -1;
    else if (nearest == toRight)
        out.x = content.width + 1;
    else if (nearest == toBottom)
        out.y = -1;
    else
        out.y = content.height + 1;
    last = out;
    return NSEvent::mouse(NSEvent::Type::mouseMoved, out, modifierFlags(mod), 0);
}

} // namespace DisplayInput
