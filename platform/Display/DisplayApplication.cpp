#include "Display/DisplayApplication.h"

#include <algorithm>

#include "AppKit/NSApplication.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Display/DisplayServer.h"
#include "Foundation/RunLoop.h"

namespace DisplayApplication {
namespace {

constexpr CGFloat rowHeight = 22, dividerHeight = 9, margin = 4, minimumWidth = 180;

struct Rows {
    std::vector<std::shared_ptr<NSMenuItem>> items;
    CGFloat height(size_t i) const {
        return items[i]->isSeparatorItem() ? dividerHeight : rowHeight;
    }
    CGSize size() const {
        CGFloat h = 2 * margin, w = minimumWidth;
        for (size_t i = 0; i < items.size(); ++i) {
            h += height(i);
            w = std::max(w, CGTextMeasure(items[i]->title, CGFont::system(13)).width + 40);
        }
        return {w, h};
    }
    // The row under a point `fromTop` points below the top.
    int at(CGFloat fromTop) const {
        CGFloat y = margin;
        for (size_t i = 0; i < items.size(); ++i) {
            if (fromTop >= y && fromTop < y + height(i))
                return items[i]->isSeparatorItem() || !items[i]->isEnabled ? -1 : int(i);
            y += height(i);
        }
        return -1;
    }
};

void showMenu(DisplayServer& server, const std::shared_ptr<NSMenu>& menu, CGPoint screenPoint) {
    menu->update();
    auto rows = std::make_shared<Rows>();
    for (const auto& item : menu->itemArray())
        if (!item->isHidden)
            rows->items.push_back(item);
    const CGSize size = rows->size();
    PopupWindow::Options options;
    options.screenPosition = screenPoint;
    options.size = size;
    options.itemCount = int(rows->items.size());
    options.itemAt = [rows, size](CGPoint p) { return rows->at(size.height - p.y); };
    options.draw = [rows, size](CGContext& context, int highlighted) {
        context.setFillColor(CGColor::rgb(0.12, 0.11, 0.10));
        context.fillRect({{0, 0}, size});
        CGFloat top = margin;
        for (size_t i = 0; i < rows->items.size(); ++i) {
            const auto& item = rows->items[i];
            const CGFloat h = rows->height(i);
            // The context is y-up: a row `top` points down from the top.
            const CGRect row{margin, size.height - top - h, size.width - 2 * margin, h};
            if (item->isSeparatorItem()) {
                context.setFillColor(CGColor::rgb(1, 1, 1, 0.12));
                context.fillRect({row.origin.x + 6, row.origin.y + h / 2, row.size.width - 12, 1});
            } else {
                if (int(i) == highlighted) {
                    context.setFillColor(CGColor::rgb(0.85, 0.45, 0.12));
                    context.fillRect(row);
                }
                CGColor text = item->isEnabled ? CGColor::rgb(0.95, 0.93, 0.89)
                                               : CGColor::rgb(0.5, 0.48, 0.45);
                context.drawText(
                    item->title, CGFont::system(13), text,
                    CGRect{row.origin.x + 14, row.origin.y + 3, row.size.width - 14, h - 6});
            }
            top += h;
        }
    };
    std::weak_ptr<NSMenu> weakMenu = menu;
    options.finished = [rows, weakMenu](std::optional<int> chosen) {
        auto m = weakMenu.lock();
        if (!m || !chosen || *chosen < 0 || *chosen >= int(rows->items.size()))
            return;
        long index = m->indexOfItem(*rows->items[size_t(*chosen)]);
        // Run after the pop-up has gone, as a chosen menu item does.
        RunLoop::main().perform([weakMenu, index] {
            if (auto menu = weakMenu.lock())
                menu->performActionForItem(index);
        });
    };
    server.showPopup(std::move(options));
}

} // namespace

std::shared_ptr<NSMenu> applicationMenu(const NSApplication& application) {
    if (!application.mainMenu)
        return nullptr;
    for (const auto& item : application.mainMenu->itemArray())
        if (item->hasSubmenu())
            return item->submenu();
    return nullptr;
}

void install(NSApplication& application, DisplayServer& server) {
    DisplayServer* display = &server;
    NSApplication* app = &application;
    application.setWindowPresenter([display, app](const std::shared_ptr<NSWindow>& window) {
        for (const auto& open : display->windows())
            if (open->window() == window)
                return; // already on the screen
        auto shown = display->show(window);
        std::weak_ptr<NSWindow> weak = window;
        shown->closed = [weak] {
            if (auto w = weak.lock()) {
                w->orderOut();
            }
        };
        shown->menuRequested = [display, app](CGPoint screenPoint) {
            auto menu = applicationMenu(*app);
            if (!menu)
                return false;
            showMenu(*display, menu, screenPoint);
            return true;
        };
    });
    application.terminationRequested = [display] { display->requestQuit(); };
    application.setEventLoop([display](NSApplication& a) {
        display->run();
        a.terminate(nullptr);
    });
}

} // namespace DisplayApplication
