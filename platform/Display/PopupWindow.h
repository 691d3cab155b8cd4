#pragma once
// A pop-up menu's window: borderless, at a place on the screen, drawn by a callback
// that marks one item as highlighted, and finished by choosing an item or by
// dismissing it. The pointer highlights the enabled item under it and a click (or the
// release of a press dragged onto an item) chooses it; Up and Down move the
// highlight over the enabled items, Return (or Enter, Space) chooses, Escape
// dismisses, and so does a press anywhere outside the pop-up. While a pop-up is open
// it gets all keys, and the mouse does not reach the other windows.
// What the items are, and how they look, is the caller's: this is only the window.
// Made by DisplayServer::showPopup; one that is still open when its server goes away
// closes without calling `finished`. Thread: main thread.

#include <functional>
#include <memory>
#include <optional>

#include "CoreGraphics/CGContext.h"

union SDL_Event;
namespace DisplayNative {
class Surface;
}

class PopupWindow {
  public:
    struct Options {
        // Top-left corner on the screen, in points (y down from the screen's top).
        CGPoint screenPosition;
        CGSize size{100, 100};
        // Draws the pop-up with item `highlighted` (-1: none) marked. The context's user
        // space is the pop-up's: points, origin at the bottom left, y up.
        std::function<void(CGContext& context, int highlighted)> draw;
        // The item at a point of the pop-up (same space), -1 where there is none.
        std::function<int(CGPoint point)> itemAt;
        int itemCount = 0;
        // Whether an item can be chosen (dividers, disabled items cannot); all can when empty.
        std::function<bool(int item)> isEnabled;
        int initialHighlight = -1;
        // Called once: the chosen item, or none when the pop-up was dismissed.
        std::function<void(std::optional<int> chosen)> finished;
    };

    ~PopupWindow();
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    bool isOpen() const { return surface != nullptr; }
    int highlighted() const { return highlight; }
    // Closes the pop-up as dismissed (finished gets none), unless already closed.
    void cancel() { finish(std::nullopt); }
    unsigned long nativeWindowId() const;

  private:
    friend class DisplayServer;
    PopupWindow(Options options, CGFloat scale);
    unsigned id() const;
    void redraw();
    void finish(std::optional<int> chosen);
    bool enabled(int item) const;
    void highlightAt(CGPoint screenPoint);
    // A key down while the pop-up is open.
    void key(int sdlKey);
    // A mouse event of any of the server's windows, at a point of the screen in points.
    void mouse(const SDL_Event& event, CGPoint screenPoint);
    CGPoint local(CGPoint screenPoint) const;

    Options options;
    CGFloat scale;
    std::unique_ptr<DisplayNative::Surface> surface;
    int highlight = -1;
    bool pressedInside = false;
    bool draggedOntoItem = false;
};
