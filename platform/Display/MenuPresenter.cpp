// How the display shows an NSMenu that a view of one of its windows pops up: the
// menu's rows in a pop-up window at the requested place (the positioning item's row
// over it), pumped until the person chooses or dismisses, as the platform's menu
// tracking runs inside popUp.

#include "Display/DisplayServer.h"

#include <algorithm>

#include "AppKit/NSView.h"
#include "Display/MenuRows.h"

namespace {
constexpr double menuSlice = 0.004;
using MenuRows::rowOf;
} // namespace

struct DisplayServer::MenuOutcome {
    bool done = false;
    std::shared_ptr<NSMenuItem> chosen;
};

std::shared_ptr<NSMenuItem> DisplayServer::presentMenu(NSMenu& menu, const NSMenu::PopUp& request) {
    auto view = request.view.lock();
    auto nsWindow = view ? view->window() : nullptr;
    std::shared_ptr<DisplayWindow> shown;
    for (const auto& w : windows())
        if (w->window() == nsWindow)
            shown = w;
    if (!shown)
        return nullptr;
    CGPoint topLeft = shown->screenPoint(view->convertToView(request.location, nullptr));
    std::vector<MenuRow> rows;
    int positioned = -1;
    auto positioning = request.positioningItem.lock();
    for (const auto& item : menu.itemArray()) {
        if (item->isHidden)
            continue;
        if (item == positioning)
            positioned = int(rows.size());
        rows.push_back(rowOf(*item));
    }
    // A positioned menu is at least as wide as its view, its item over the place.
    const CGFloat minimumWidth =
        std::max(menu.minimumWidth, positioned >= 0 ? view->bounds().width() : CGFloat(0));
    if (positioned >= 0)
        topLeft.y -= MenuRows::rowTop(rows, positioned);
    const CGSize size = MenuRows::size(rows, minimumWidth);
    const CGRect screen = screenBounds();
    topLeft.x =
        std::clamp(topLeft.x, screen.minX(), std::max(screen.minX(), screen.maxX() - size.width));
    topLeft.y =
        std::clamp(topLeft.y, screen.minY(), std::max(screen.minY(), screen.maxY() - size.height));
    auto outcome = std::make_shared<MenuOutcome>();
    auto top = openMenuLevel(menu, topLeft, minimumWidth, positioned, nullptr, -1, outcome);
    while (!outcome->done && top && top->isOpen() && !quitRequested)
        pump(menuSlice);
    return outcome->chosen;
}

std::shared_ptr<PopupWindow>
DisplayServer::openMenuLevel(const NSMenu& menu, CGPoint topLeft, CGFloat minimumWidth,
                             int initialHighlight, const PopupWindow* parent, int parentItem,
                             const std::shared_ptr<MenuOutcome>& outcome) {
    std::vector<std::shared_ptr<NSMenuItem>> items;
    std::vector<MenuRow> rows;
    for (const auto& item : menu.itemArray())
        if (!item->isHidden) {
            items.push_back(item);
            rows.push_back(rowOf(*item));
        }
    auto shared = std::make_shared<const std::vector<MenuRow>>(rows);
    PopupWindow::Options options = MenuRows::popupOptions(shared, topLeft, minimumWidth);
    options.initialHighlight = initialHighlight;
    const CGSize size = options.size;
    // The pop-up being made, for its submenus to name their parent.
    auto self = std::make_shared<std::weak_ptr<PopupWindow>>();
    options.openSubmenu = [this, items, shared, topLeft, size, self, outcome](int row) {
        auto popup = self->lock();
        const auto& submenu = items[size_t(row)]->submenu();
        if (!popup || !submenu)
            return;
        submenu->update();
        const CGPoint beside{topLeft.x + size.width - 2,
                             topLeft.y + MenuRows::rowTop(*shared, row) - MenuRows::margin};
        openMenuLevel(*submenu, beside, 0, -1, popup.get(), row, outcome);
    };
    options.finished = [items, outcome](std::optional<int> chosen) {
        outcome->done = true;
        outcome->chosen = chosen ? items[size_t(*chosen)] : nullptr;
    };
    *self = parent ? showSubmenu(*parent, parentItem, std::move(options))
                   : showPopup(std::move(options));
    return self->lock();
}
