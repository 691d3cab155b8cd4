#pragma once
// The declarative application layer: a window scene with its style, resizability and
// menu commands, the delegate adaptor, and the making of the scene's window and the
// application's main menu.
//
//   WindowScene Window("Emberfall", "main", content)
//       .windowStyle(HiddenTitleBarWindowStyle())
//       .windowResizability(WindowResizability::contentSize)
//       .commands({CommandGroup::replacing(CommandGroupPlacement::appInfo, {...})});
//
// makeWindow gives the scene's NSWindow: titled with the scene's title, identified by its
// id, the content hosted at its fitting size; with a hidden title bar the content runs
// under it (full-size content view); with content-size resizability the window takes the
// content's size and cannot be resized. The content's preferred colour scheme becomes
// the window's appearance.
// makeMainMenu gives the main menu: one application submenu titled with the
// application's name, holding the command groups' items in the place of the standard
// items they replace (About for appInfo), then Quit. Items run their actions on the main
// thread; labels are looked up in the main bundle's strings.
// Left out: document and settings scenes, several windows of a scene, scene phases,
// keyboard shortcuts of commands, other placements than the application menu's.
// Thread: main.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSApplication.h"
#include "SwiftUI/View.h"

class NSMenu;
class NSWindow;

namespace SwiftUI {

enum class CommandGroupPlacement { appInfo, appSettings, appTermination };

struct CommandItem {
    enum class Kind { button, divider };
    Kind kind = Kind::button;
    std::string label;
    std::function<void()> action;
    static CommandItem button(std::string label, std::function<void()> action) {
        return {Kind::button, std::move(label), std::move(action)};
    }
    static CommandItem divider() { return {Kind::divider, {}, {}}; }
};

struct CommandGroup {
    CommandGroupPlacement placement = CommandGroupPlacement::appInfo;
    std::vector<CommandItem> items;
    static CommandGroup replacing(CommandGroupPlacement placement, std::vector<CommandItem> items) {
        return {placement, std::move(items)};
    }
};

struct HiddenTitleBarWindowStyle {};
enum class WindowResizability { automatic, contentSize, contentMinSize };

class WindowScene {
  public:
    WindowScene(std::string title, std::string id, AnyView content)
        : title(std::move(title)), id(std::move(id)), content(std::move(content)) {}
    WindowScene windowStyle(HiddenTitleBarWindowStyle) const {
        WindowScene s = *this;
        s.hiddenTitleBar = true;
        return s;
    }
    WindowScene windowResizability(WindowResizability r) const {
        WindowScene s = *this;
        s.resizability = r;
        return s;
    }
    WindowScene commands(std::vector<CommandGroup> groups) const {
        WindowScene s = *this;
        s.commandGroups.insert(s.commandGroups.end(), groups.begin(), groups.end());
        return s;
    }

    std::string title, id;
    AnyView content;
    bool hiddenTitleBar = false;
    WindowResizability resizability = WindowResizability::automatic;
    std::vector<CommandGroup> commandGroups;
};

inline WindowScene Window(std::string title, std::string id, AnyView content) {
    return WindowScene(std::move(title), std::move(id), std::move(content));
}

std::shared_ptr<NSWindow> makeWindow(const WindowScene& scene);
std::shared_ptr<NSMenu> makeMainMenu(const std::string& applicationName,
                                     const std::vector<CommandGroup>& groups);

// NSApplicationDelegateAdaptor: makes one delegate of type D and makes it the shared
// application's delegate (the adaptor keeps it alive; the application holds it weakly).
template <class D> class NSApplicationDelegateAdaptor {
  public:
    NSApplicationDelegateAdaptor() : delegate(make<D>()) {
        NSApplication::shared().delegate = delegate;
    }
    const std::shared_ptr<D>& wrappedValue() const { return delegate; }

  private:
    std::shared_ptr<D> delegate;
};

} // namespace SwiftUI
