#pragma once
// A real window on the desktop for an NSWindow: it is the NSWindow's content size in
// points times the backing scale factor in pixels, shows the window's drawing
// (redrawn when a view asks for display, at most 60 times a second, by the
// DisplayServer's loop), and turns the mouse, the wheel and the keyboard into the
// layer's NSEvents sent through NSWindow::sendEvent — locations in window points
// with the origin at the bottom left, click counts, modifier flags (Shift, Control,
// Option = Alt, Command = Super). The desktop's keyboard focus is the NSWindow's key
// status: gaining it makes the window key, losing it resigns.
// Without a place asked for, it is centred on the screen's usable part, and a window
// larger than that starts at its top left (so its top stays on the screen).
// Made by DisplayServer::show; it stays open (the server keeps it) until the person
// closes it, close() is called, or the NSWindow is ordered out (or closed) by its code.
// Thread: main thread.

#include <functional>
#include <memory>
#include <optional>

#include "AppKit/NSWindow.h"

union SDL_Event;
namespace DisplayNative {
class Surface;
}
namespace DisplayInput {
class WindowInput;
}

class DisplayWindow {
  public:
    struct Options {
        // Top-left corner on the screen, in points (y down from the screen's top);
        // the desktop chooses when none.
        std::optional<CGPoint> screenPosition;
        // Whether the person may resize it (the NSWindow's content size follows).
        bool resizable = false;
    };

    ~DisplayWindow();
    DisplayWindow(const DisplayWindow&) = delete;
    DisplayWindow& operator=(const DisplayWindow&) = delete;

    const std::shared_ptr<NSWindow>& window() const { return nsWindow; }
    bool isOpen() const { return surface != nullptr; }
    // True once the desktop has put the window on the screen (until it hides it).
    bool isOnScreen() const { return isOpen() && onScreen; }
    // Closes the real window (the NSWindow stays as it is); runs `closed` once.
    void close();
    // Whether the window had the desktop's keyboard focus when it closed.
    bool hadFocusWhenClosed() const { return focusedWhenClosed; }
    // Raises the window and gives it the keyboard focus.
    void focus();
    // Called once the window has closed, by the person or by close().
    std::function<void()> closed;
    // Asked when the person asks for a menu in the window (the right button, F10 or the
    // Menu key), with the place on the screen in points; when it answers true the
    // press goes no further.
    std::function<bool(CGPoint screenPoint)> menuRequested;

    // Draws the window and shows it now.
    void present();
    // True from a view's request for display until the next present().
    bool needsPresent() const;
    // How many times the window has been drawn and shown.
    unsigned long presentCount() const { return presents; }

    // A point of the window (bottom-left origin, y up) on the screen, in points with
    // the origin at the screen's top left.
    CGPoint screenPoint(CGPoint windowPoint) const;
    // The X window, for tools that drive or capture it (0 on other desktops).
    unsigned long nativeWindowId() const;
    CGFloat scaleFactor() const { return scale; }
    // The real window's size in pixels (zero once closed).
    CGSize pixelSize() const;

  private:
    friend class DisplayServer;
    DisplayWindow(std::shared_ptr<NSWindow> window, CGFloat scale, const Options& options);
    // The SDL window id, 0 once closed.
    unsigned id() const;
    // Input for this window; `text` is the text input that followed a key down.
    void handle(const SDL_Event& event, uint16_t keyboardModifiers, const char* text);
    void syncSize();

    std::shared_ptr<NSWindow> nsWindow;
    CGFloat scale;
    bool resizable;
    std::unique_ptr<DisplayNative::Surface> surface;
    std::unique_ptr<DisplayInput::WindowInput> input;
    std::shared_ptr<CGContext> frame;
    bool dirty = true;
    bool onScreen = false;
    bool focusedWhenClosed = false;
    double lastPresent = -1; // seconds of the server's steady clock
    unsigned long presents = 0;
};
