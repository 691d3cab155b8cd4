#pragma once
// Shows the menus of a window's declarative views as real pop-up menus of the display
// server: a click on a Menu opens its items in a pop-up window below it (titles,
// check marks, dividers, a marker on submenus); the pointer or Up/Down highlight an
// item, a click or Return chooses it, Escape or a click outside dismisses. A submenu
// opens beside the row it comes from as soon as the pointer is on that row (or with
// Right or Return), and the menu stays open while the pointer moves from one row or
// submenu to another, as desktop menus do. The chosen item runs through the view
// graph (ViewGraph::chooseMenuItem), as a test picks it.
// Thread: main.

#include "Display/MenuRows.h"
#include "SwiftUI/Menu.h"

#include <memory>
#include <string>
#include <vector>

class DisplayServer;
class DisplayWindow;
class PopupWindow;
namespace SwiftUI {
class NSHostingView;
}

class PopupMenuPresenter : public std::enable_shared_from_this<PopupMenuPresenter> {
  public:
    // Installs itself as the menu presenter of `host`'s views, shown in `window`.
    static std::shared_ptr<PopupMenuPresenter>
    install(DisplayServer& server, std::shared_ptr<DisplayWindow> window,
            std::shared_ptr<SwiftUI::NSHostingView> host);

    // Rows of a pop-up, in points from its top (the display's menu rows).
    static constexpr CGFloat rowHeight = MenuRows::rowHeight,
                             dividerHeight = MenuRows::dividerHeight, margin = MenuRows::margin;
    // The pop-up's size for a list of items, at least `minimumWidth` wide.
    static CGSize size(const std::vector<SwiftUI::MenuItem>& items, CGFloat minimumWidth);
    // The item under a point `fromTop` points below the pop-up's top; -1 for none.
    static int itemAt(const std::vector<SwiftUI::MenuItem>& items, CGFloat fromTop);
    // The top of an item's row, in points from the pop-up's top.
    static CGFloat rowTop(const std::vector<SwiftUI::MenuItem>& items, int index);

  private:
    PopupMenuPresenter(DisplayServer& server, std::shared_ptr<DisplayWindow> window,
                       std::shared_ptr<SwiftUI::NSHostingView> host)
        : server(server), window(std::move(window)), host(std::move(host)) {}
    void present(const std::vector<SwiftUI::MenuItem>& items, CGRect anchorInRoot);
    // Opens one level of the menu with its top-left corner at a screen point: the menu,
    // or the submenu of `parent`'s item `parentItem`.
    void open(std::shared_ptr<const std::vector<SwiftUI::MenuItem>> items,
              std::vector<std::string> path, CGPoint screenTopLeft, CGFloat minimumWidth,
              const PopupWindow* parent = nullptr, int parentItem = -1);

    DisplayServer& server;
    std::shared_ptr<DisplayWindow> window;
    std::weak_ptr<SwiftUI::NSHostingView> host;
};
