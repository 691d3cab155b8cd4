#include "PopupMenu.h"

#include "Display/DisplayServer.h"
#include "SwiftUI/NSHostingView.h"

using SwiftUI::MenuItem;

namespace {

// The display's rows of the declarative menu items.
std::vector<MenuRow> rowsOf(const std::vector<MenuItem>& items) {
    std::vector<MenuRow> rows;
    for (const MenuItem& item : items) {
        const auto kind = item.kind == MenuItem::Kind::divider   ? MenuRow::Kind::divider
                          : item.kind == MenuItem::Kind::submenu ? MenuRow::Kind::submenu
                                                                 : MenuRow::Kind::item;
        rows.push_back({kind, item.title, item.checked, true});
    }
    return rows;
}

} // namespace

CGSize PopupMenuPresenter::size(const std::vector<MenuItem>& items, CGFloat minimumWidth) {
    return MenuRows::size(rowsOf(items), minimumWidth);
}

CGFloat PopupMenuPresenter::rowTop(const std::vector<MenuItem>& items, int index) {
    return MenuRows::rowTop(rowsOf(items), index);
}

int PopupMenuPresenter::itemAt(const std::vector<MenuItem>& items, CGFloat fromTop) {
    return MenuRows::itemAt(rowsOf(items), fromTop);
}

std::shared_ptr<PopupMenuPresenter>
PopupMenuPresenter::install(DisplayServer& server, std::shared_ptr<DisplayWindow> window,
                            std::shared_ptr<SwiftUI::NSHostingView> host) {
    std::shared_ptr<PopupMenuPresenter> presenter(
        new PopupMenuPresenter(server, std::move(window), host));
    std::weak_ptr<PopupMenuPresenter> weak = presenter;
    host->graph().setMenuPresenter([weak](const std::vector<MenuItem>& items, CGRect anchor) {
        if (auto self = weak.lock())
            self->present(items, anchor);
    });
    return presenter;
}

void PopupMenuPresenter::present(const std::vector<MenuItem>& items, CGRect anchor) {
    auto view = host.lock();
    if (!view)
        return;
    // The anchor's bottom-left corner, in the window (y up), then on the screen.
    const CGPoint inWindow = view->convertToView(CGPoint{anchor.minX(), anchor.maxY()}, nullptr);
    open(std::make_shared<const std::vector<MenuItem>>(items), {}, window->screenPoint(inWindow),
         anchor.width());
}

void PopupMenuPresenter::open(std::shared_ptr<const std::vector<MenuItem>> items,
                              std::vector<std::string> path, CGPoint screenTopLeft,
                              CGFloat minimumWidth, const PopupWindow* parent, int parentItem) {
    auto rows = std::make_shared<const std::vector<MenuRow>>(rowsOf(*items));
    PopupWindow::Options options = MenuRows::popupOptions(rows, screenTopLeft, minimumWidth);
    const CGSize popupSize = options.size;
    std::weak_ptr<PopupMenuPresenter> weak = weak_from_this();
    // The pop-up being made, for its submenus to name their parent.
    auto self = std::make_shared<std::weak_ptr<PopupWindow>>();
    // A submenu opens beside the row it comes from, its first row level with that row.
    options.openSubmenu = [weak, items, path, screenTopLeft, popupSize, self](int chosen) {
        auto presenter = weak.lock();
        auto popup = self->lock();
        if (!presenter || !popup)
            return;
        const MenuItem& item = (*items)[chosen];
        std::vector<std::string> titles = path;
        titles.push_back(item.title);
        const CGPoint beside{screenTopLeft.x + popupSize.width - 2,
                             screenTopLeft.y + rowTop(*items, chosen) - margin};
        presenter->open(std::make_shared<const std::vector<MenuItem>>(item.items), titles, beside,
                        0, popup.get(), chosen);
    };
    options.finished = [weak, items, path](std::optional<int> chosen) {
        auto presenter = weak.lock();
        if (!presenter)
            return;
        auto view = presenter->host.lock();
        if (!view)
            return;
        if (!chosen) {
            view->graph().dismissMenu();
            return;
        }
        std::vector<std::string> titles = path;
        titles.push_back((*items)[*chosen].title);
        view->graph().chooseMenuItem(titles);
    };
    *self = parent ? server.showSubmenu(*parent, parentItem, std::move(options))
                   : server.showPopup(std::move(options));
}
