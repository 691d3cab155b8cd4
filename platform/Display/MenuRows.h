#pragma once
// The rows of a pop-up menu as the display shows them — titles, check marks, dividers,
// dimmed disabled items and a marker on submenus — with their geometry in points from
// the pop-up's top, and the pop-up window that shows them. The pop-ups of AppKit menus
// and of declarative menus both draw through it.
// Thread: main thread.

#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSMenu.h"
#include "Display/PopupWindow.h"

struct MenuRow {
    enum class Kind { item, divider, submenu };
    Kind kind = Kind::item;
    std::string title;
    bool checked = false;
    bool enabled = true;
};

namespace MenuRows {

inline constexpr CGFloat rowHeight = 22, dividerHeight = 9, margin = 4;

// The row that shows a menu item: a divider for a separator; a section header or a
// disabled item is dimmed.
MenuRow rowOf(const NSMenuItem& item);

// The pop-up's size for the rows, at least `minimumWidth` wide.
CGSize size(const std::vector<MenuRow>& rows, CGFloat minimumWidth);
// The row under a point `fromTop` points below the pop-up's top; -1 for none (and for
// a divider).
int itemAt(const std::vector<MenuRow>& rows, CGFloat fromTop);
// The top of a row, in points from the pop-up's top.
CGFloat rowTop(const std::vector<MenuRow>& rows, int index);
// Draws the pop-up of `size` into a context whose user space is the pop-up's (points,
// origin at the bottom left, y up), with row `highlighted` (-1: none) marked.
void draw(CGContext& context, const std::vector<MenuRow>& rows, CGSize size, int highlighted);
// A pop-up window's options for the rows with its top-left corner at a screen point:
// size, drawing, hit testing, which rows can be chosen (enabled, not dividers) and which
// open a submenu. The caller adds `openSubmenu` and `finished`.
PopupWindow::Options popupOptions(std::shared_ptr<const std::vector<MenuRow>> rows,
                                  CGPoint screenTopLeft, CGFloat minimumWidth);

} // namespace MenuRows
