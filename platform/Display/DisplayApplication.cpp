#include "Display/DisplayApplication.h"

#include <algorithm>

#include "AppKit/NSApplication.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Display/DisplayServer.h"
#include "Display/MenuRows.h"
#include "Foundation/RunLoop.h"

namespace DisplayApplication {
namespace {

constexpr CGFloat minimumWidth = 180;

// The application menu's rows, as every menu of the display shows them: the keys and
// the pointer pass over dividers and disabled items.
void showMenu(DisplayServer& server, const std::shared_ptr<NSMenu>& menu, CGPoint screenPoint) {
    menu->update();
    std::vector<std::shared_ptr<NSMenuItem>> items;
    auto rows = std::make_shared<std::vector<MenuRow>>();
    for (const auto& item : menu->itemArray())
        if (!item->isHidden) {
            items.push_back(item);
            rows->push_back(MenuRows::rowOf(*item));
        }
    PopupWindow::Options options = MenuRows::popupOptions(rows, screenPoint, minimumWidth);
    std::weak_ptr<NSMenu> weakMenu = menu;
    options.finished = [items, weakMenu](std::optional<int> chosen) {
        auto m = weakMenu.lock();
        if (!m || !chosen || *chosen < 0 || *chosen >= int(items.size()))
            return;
        long index = m->indexOfItem(*items[size_t(*chosen)]);
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
        std::weak_ptr<DisplayWindow> weakShown = shown;
        shown->closed = [weak, weakShown, display] {
            if (auto w = weak.lock())
                w->orderOut();
            // The keyboard goes on to the window shown last, as the platform makes the
            // next window key, rather than to no window at all.
            auto closed = weakShown.lock();
            auto left = display->windows();
            if (closed && closed->hadFocusWhenClosed() && !left.empty())
                left.back()->focus();
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
