#pragma once
// Pop-up menus of the declarative views, and the resource descriptors of a bundle's
// colour and image assets.
//
// A Menu shows its label; a click on it presents its items (buttons with an optional
// check mark, dividers, submenus). Presenting goes through the graph: a real window
// shows the menu, a test reads ViewGraph::presentedMenu() and picks an item with
// ViewGraph::chooseMenuItem. Thread: main.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SwiftUI/Views.h"

namespace SwiftUI {

struct MenuItem {
    enum class Kind { button, divider, submenu };
    Kind kind = Kind::button;
    std::string title;
    // Shown with the "checkmark" symbol.
    bool checked = false;
    std::function<void()> action;
    std::vector<MenuItem> items; // of a submenu

    static MenuItem button(std::string title, std::function<void()> action, bool checked = false) {
        return {Kind::button, std::move(title), checked, std::move(action), {}};
    }
    static MenuItem divider() { return {Kind::divider, {}, false, {}, {}}; }
    static MenuItem submenu(std::string title, std::vector<MenuItem> items, bool checked = false) {
        return {Kind::submenu, std::move(title), checked, {}, std::move(items)};
    }
};

class Menu : public View<Menu>, public detail::Primitive {
  public:
    template <ViewLike L>
    Menu(std::vector<MenuItem> items, L&& label)
        : items(std::move(items)), label(AnyView(std::forward<L>(label))) {}
    Menu(const std::string& title, std::vector<MenuItem> items)
        : items(std::move(items)), label(Text(title)) {}

    void build(Node& node, ViewContext& ctx) const override;
    const std::vector<MenuItem>& menuItems() const { return items; }

  private:
    std::vector<MenuItem> items;
    AnyView label;
};

// A named colour or image of a bundle's asset catalogue.
struct ColorResource {
    std::string name;
    std::shared_ptr<Bundle> bundle;
};
struct ImageResource {
    std::string name;
    std::shared_ptr<Bundle> bundle;
};

inline Color makeColor(const ColorResource& r) {
    return Color(ColorValue(r.name, r.bundle));
}
inline Image makeImage(const ImageResource& r) {
    return Image(r.name, r.bundle);
}

} // namespace SwiftUI
