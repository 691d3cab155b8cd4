#pragma once
// A pop-up menu's window: borderless, at a place on the screen, drawn by a callback
// that marks one item as highlighted, and finished by choosing an item or by
// dismissing it. What the items are, and how they look, is the caller's: this is only
// the window. Pop-ups open as a menu and its submenus (DisplayServer::showPopup and
// showSubmenu); how the pointer and the keys move through them is PopupChain.h's.
// Made by the DisplayServer; one that is still open when its server goes away closes
// without calling `finished`. Thread: main thread.

#include <functional>
#include <memory>
#include <optional>

#include "CoreGraphics/CGContext.h"

namespace DisplayNative {
class Surface;
}
class PopupChain;

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
        // Items that open a submenu: pointing at one, or choosing it (a click, Return,
        // Right), calls `openSubmenu` with it instead of finishing; the owner shows the
        // submenu with DisplayServer::showSubmenu.
        std::function<bool(int item)> hasSubmenu;
        std::function<void(int item)> openSubmenu;
        // Called at most once: the chosen item, or none when the menu was dismissed. A
        // submenu that closes because its parent's pointer moved on, or because another
        // pop-up of its menu finished, closes without a call.
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
    // Where the pop-up is on the screen, in points from the screen's top left.
    CGRect screenFrame() const;

  private:
    friend class DisplayServer;
    friend class PopupChain;
    PopupWindow(Options options, CGFloat scale);
    unsigned id() const;
    void redraw();
    void finish(std::optional<int> chosen);
    // Closes without a call of `finished`.
    void close();
    bool enabled(int item) const;
    bool opensSubmenu(int item) const;
    bool contains(CGPoint screenPoint) const;
    // The enabled item under a point of the screen, -1 for none.
    int itemAtScreen(CGPoint screenPoint) const;
    void setHighlight(int item);
    // Moves the highlight over the enabled items (Up -1, Down +1); false when it stays.
    bool step(int direction);

    Options options;
    CGFloat scale;
    std::unique_ptr<DisplayNative::Surface> surface;
    int highlight = -1;
    int parentItem = -1; // the item of the parent pop-up that opened this submenu
    bool pressedInside = false;
    bool draggedOntoItem = false;
};
