#pragma once
// Internal to Display: the pop-ups of one open menu, the menu first and then each
// open submenu, and how the desktop's input moves through them as through a desktop
// menu.
//  - Pointer: the item under it is highlighted in the pop-up it is over; pointing at
//    an item that has a submenu opens it beside the item (closing another that was
//    open), pointing at any other item of that pop-up closes it; moving outside every
//    pop-up changes nothing, so the pointer can travel into a submenu. A click on an
//    item chooses it (on one with a submenu, opens that), and so does the release of a
//    press dragged onto an item; a press outside every pop-up dismisses the menu.
//  - Keys go to the pop-up the pointer was last over, or that the keys opened: Up and
//    Down move its highlight over the enabled items (closing a submenu the highlight
//    leaves), Return, Enter or Space choose the highlighted item, and on an item with
//    a submenu they and Right open it with its first item highlighted and the keys in
//    it; Left closes that submenu again; Escape closes the innermost submenu, or
//    dismisses the menu when none is open.
//  - When any pop-up finishes (a choice, or the menu dismissed) the others close
//    without a call.
// Thread: main thread.

#include <memory>
#include <vector>

#include "Display/PopupWindow.h"

union SDL_Event;
struct SDL_WindowEvent;

class PopupChain {
  public:
    explicit PopupChain(CGFloat scale) : scale(scale) {}
    ~PopupChain() { closeAll(); }

    // A new menu, dismissing the one that is open.
    std::shared_ptr<PopupWindow> openMenu(PopupWindow::Options options);
    // `parent`'s submenu for its item `item`, replacing one it has open; null when
    // `parent` is not open in this menu.
    std::shared_ptr<PopupWindow> openSubmenu(const PopupWindow& parent, int item,
                                             PopupWindow::Options options);

    bool isOpen() const { return !levels.empty(); }
    // The innermost open pop-up, null when none is.
    std::shared_ptr<PopupWindow> innermost() const;
    const std::vector<std::shared_ptr<PopupWindow>>& all() const { return levels; }
    // Whether a native window is one of the pop-ups.
    bool owns(unsigned windowId) const;

    // A key down.
    void key(int sdlKey);
    // A mouse event, at a point of the screen in points.
    void mouse(const SDL_Event& event, CGPoint screenPoint);
    // A window event of one of the pop-ups.
    void windowEvent(const SDL_WindowEvent& event);
    // After each event: when a pop-up has finished, the others close too.
    void settle();
    // Closes every pop-up without a call.
    void closeAll();

  private:
    std::vector<std::shared_ptr<PopupWindow>> levels; // the menu first
    size_t keyLevel = 0;
    CGFloat scale;
    unsigned ownerWindow = 0; // the window that had the keyboard when the menu opened

    // Closes the last pop-up. Without a window manager SDL gives every window it shows
    // the keyboard, which the desktop drops when that window goes: the pop-up inside
    // which it now is, or the window the menu came from, takes it back.
    void closeLast();

    void closeInside(size_t level); // closes the submenus of `level`
    int levelAt(CGPoint screenPoint) const;
    // Opens (or keeps) the submenu of `levels[level]`'s item; with the keys, moves them
    // into it with its first item highlighted.
    void openFrom(size_t level, int item, bool byKeys);
    void dismiss();
};
