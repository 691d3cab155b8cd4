#include "SwiftUI/App.h"

#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Foundation/Bundle.h"
#include "SwiftUI/Effects.h"
#include "SwiftUI/NSHostingView.h"

namespace SwiftUI {
namespace {

// The target of a command's menu item: runs its action.
class CommandTarget : public NSObject {
  public:
    explicit CommandTarget(std::function<void()> action) : action(std::move(action)) {}
    void perform(NSObject*) {
        if (action)
            action();
    }

  private:
    std::function<void()> action;
};

const char* targetKey = "SwiftUI.CommandTarget";

std::shared_ptr<NSMenuItem> itemFor(const CommandItem& command) {
    if (command.kind == CommandItem::Kind::divider)
        return NSMenuItem::separatorItem();
    auto item = NSMenuItem::make(Bundle::main()->localizedString(command.label),
                                 NSAction(&CommandTarget::perform));
    auto target = make<CommandTarget>(command.action);
    item->target = target;
    item->setAssociatedObject(targetKey, target); // the item keeps its target alive
    return item;
}

} // namespace

std::shared_ptr<NSWindow> makeWindow(const WindowScene& scene) {
    Runtime::assertMainThread("SwiftUI.makeWindow");
    auto host = make<NSHostingView>(scene.content);
    const CGSize size = host->fittingSize();
    uint64_t style = NSWindow::titled | NSWindow::closable | NSWindow::miniaturizable;
    if (scene.hiddenTitleBar)
        style |= NSWindow::fullSizeContentView;
    if (scene.resizability == WindowResizability::automatic)
        style |= NSWindow::resizable;
    auto window = make<NSWindow>(CGRect{{0, 0}, size}, style);
    window->title = scene.title;
    window->identifier = scene.id;
    host->setFrame({{0, 0}, size});
    window->setContentView(host);
    host->graph().update();
    if (auto scheme = detail::preferredColorScheme(host->graph().root()))
        window->appearance = NSAppearance::named(
            *scheme == ColorScheme::dark ? NSAppearanceName::darkAqua : NSAppearanceName::aqua);
    window->layoutIfNeeded();
    return window;
}

std::shared_ptr<NSMenu> makeMainMenu(const std::string& applicationName,
                                     const std::vector<CommandGroup>& groups) {
    Runtime::assertMainThread("SwiftUI.makeMainMenu");
    auto appMenu = NSMenu::make(applicationName);
    auto place = [&](CommandGroupPlacement placement,
                     std::vector<std::shared_ptr<NSMenuItem>> standard) {
        bool replaced = false;
        for (const CommandGroup& group : groups)
            if (group.placement == placement) {
                replaced = true;
                for (const CommandItem& command : group.items)
                    appMenu->addItem(itemFor(command));
            }
        if (!replaced)
            for (auto& item : standard)
                appMenu->addItem(item);
    };
    place(CommandGroupPlacement::appInfo,
          {itemFor(CommandItem::button("About " + applicationName, [] {
              NSApplication::shared().orderFrontStandardAboutPanel(nullptr);
          }))});
    place(CommandGroupPlacement::appSettings, {});
    appMenu->addItem(NSMenuItem::separatorItem());
    place(CommandGroupPlacement::appTermination,
          {itemFor(CommandItem::button("Quit " + applicationName,
                                       [] { NSApplication::shared().terminate(nullptr); }))});
    auto main = NSMenu::make();
    auto appItem = NSMenuItem::make(applicationName);
    appItem->setSubmenu(appMenu);
    main->addItem(appItem);
    return main;
}

} // namespace SwiftUI
