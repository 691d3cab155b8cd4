#include "PopupMenu.h"

#include "Display/DisplayServer.h"
#include "SwiftUI/NSHostingView.h"

#include <algorithm>

using SwiftUI::MenuItem;

namespace {

const CGFont& menuFont() {
    static const CGFont font = CGFont::system(13);
    return font;
}

constexpr CGFloat checkColumn = 22, arrowColumn = 20;

CGFloat heightOf(const MenuItem& item) {
    return item.kind == MenuItem::Kind::divider ? PopupMenuPresenter::dividerHeight
                                                : PopupMenuPresenter::rowHeight;
}

} // namespace

CGSize PopupMenuPresenter::size(const std::vector<MenuItem>& items, CGFloat minimumWidth) {
    CGFloat width = 0, height = 2 * margin;
    for (const MenuItem& item : items) {
        height += heightOf(item);
        if (item.kind != MenuItem::Kind::divider)
            width = std::max(width, CGTextMeasure(item.title, menuFont()).width);
    }
    return {std::max(minimumWidth, std::ceil(width + checkColumn + arrowColumn)), height};
}

CGFloat PopupMenuPresenter::rowTop(const std::vector<MenuItem>& items, int index) {
    CGFloat top = margin;
    for (int i = 0; i < index && i < int(items.size()); ++i)
        top += heightOf(items[i]);
    return top;
}

int PopupMenuPresenter::itemAt(const std::vector<MenuItem>& items, CGFloat fromTop) {
    CGFloat top = margin;
    for (int i = 0; i < int(items.size()); ++i) {
        const CGFloat bottom = top + heightOf(items[i]);
        if (fromTop >= top && fromTop < bottom)
            return items[i].kind == MenuItem::Kind::divider ? -1 : i;
        top = bottom;
    }
    return -1;
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
    const CGSize popupSize = size(*items, minimumWidth);
    PopupWindow::Options options;
    options.screenPosition = screenTopLeft;
    options.size = popupSize;
    options.itemCount = int(items->size());
    options.isEnabled = [items](int i) { return (*items)[i].kind != MenuItem::Kind::divider; };
    options.hasSubmenu = [items](int i) { return (*items)[i].kind == MenuItem::Kind::submenu; };
    options.itemAt = [items, popupSize](CGPoint p) {
        return itemAt(*items, popupSize.height - p.y);
    };
    options.draw = [items, popupSize](CGContext& context, int highlighted) {
        const CGColor background = CGColor::rgb(0.13, 0.12, 0.11);
        const CGColor border = CGColor::rgb(0.35, 0.33, 0.30);
        const CGColor text = CGColor::rgb(0.90, 0.86, 0.78);
        const CGColor selectedText = CGColor::rgb(1, 1, 1);
        const CGColor selection = CGColor::rgb(0.20, 0.42, 0.70);
        context.setFillColor(background);
        context.fillRect({0, 0, popupSize.width, popupSize.height});
        context.setStrokeColor(border);
        context.setLineWidth(1);
        context.strokeRect({0.5, 0.5, popupSize.width - 1, popupSize.height - 1});
        for (int i = 0; i < int(items->size()); ++i) {
            const MenuItem& item = (*items)[i];
            const CGFloat top = rowTop(*items, i);
            const CGFloat height = heightOf(item);
            // The context is y-up: a row `top` points below the top edge.
            const CGRect row{0, popupSize.height - top - height, popupSize.width, height};
            if (item.kind == MenuItem::Kind::divider) {
                context.setFillColor(border);
                context.fillRect({6, row.midY(), popupSize.width - 12, 1});
                continue;
            }
            const bool lit = i == highlighted;
            if (lit) {
                context.setFillColor(selection);
                context.fillRect({3, row.minY(), popupSize.width - 6, height});
            }
            const CGColor& ink = lit ? selectedText : text;
            const CGFloat lineHeight = menuFont().lineHeight();
            // In a y-up space text hangs from its rectangle's top edge.
            const CGFloat textTop = row.maxY() - (height - lineHeight) / 2;
            auto draw = [&](const std::string& s, CGFloat x) {
                context.drawText(s, menuFont(), ink,
                                 CGRect{x, textTop - lineHeight, CGTextMeasure(s, menuFont()).width,
                                        lineHeight});
            };
            if (item.checked)
                draw("\u2713", 7);
            draw(item.title, checkColumn);
            if (item.kind == MenuItem::Kind::submenu)
                draw("\u25B8", popupSize.width - arrowColumn + 4);
        }
    };
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
