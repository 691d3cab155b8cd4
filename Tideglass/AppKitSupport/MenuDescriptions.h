#pragma once
// Menus described as values and turned into AppKit menus on demand. TGMenuItem
// describes one item of a kind (TGMenuType); a collection of them becomes an NSMenu.
// MenuStructure<T> describes a menu built from values of a MenuPresentable type,
// typically the choices of a pop-up button; MenuPresentable supplies each value's
// title, tag, represented object, images and optional alternate (Option-key) item.
// Every conversion makes new AppKit objects, which the caller owns.
// Thread: main thread only.

#include <any>
#include <climits>
#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "AppKit/NSMenu.h"

class NSImage;

// What a menu shows for one value.
class MenuPresentable {
  public:
    virtual ~MenuPresentable() = default;
    virtual long menuTag() const = 0;
    virtual std::string menuTitle() const = 0;
    // Empty when the value carries none.
    virtual std::any menuRepresentedObject() const { return {}; }
    virtual std::shared_ptr<NSImage> menuImage() const { return nullptr; }
    virtual std::shared_ptr<NSImage> onStateMenuImage() const { return nullptr; }
    virtual std::shared_ptr<NSImage> offStateMenuImage() const { return nullptr; }
    virtual std::shared_ptr<NSImage> mixedStateMenuImage() const { return nullptr; }
    virtual std::optional<long> alternateMenuTag() const { return std::nullopt; }
    virtual std::optional<std::string> alternateMenuTitle() const { return std::nullopt; }
    virtual std::any alternateMenuRepresentedObject() const { return {}; }
    virtual std::shared_ptr<NSObject> menuTarget() const { return nullptr; }
    virtual NSAction menuAction() const { return {}; }
};

// A value's display name in the user's language.
class DisplayNameLocalizable {
  public:
    virtual ~DisplayNameLocalizable() = default;
    virtual std::string localizedDisplayName() const = 0;
};

template <class T> class MenuStructure;

// A menu built from values of T (a MenuPresentable type).
template <class T> class MenuStructure {
  public:
    enum class Kind { item, submenu, inlineTitle, separator };

    static MenuStructure item(T value) {
        return MenuStructure(std::make_shared<T>(std::move(value)));
    }
    static MenuStructure submenu(std::string title, std::vector<MenuStructure> children) {
        MenuStructure s(Kind::submenu);
        s.title_ = std::move(title);
        s.children_ = std::move(children);
        return s;
    }
    static MenuStructure inlineTitle(std::string title) {
        MenuStructure s(Kind::inlineTitle);
        s.title_ = std::move(title);
        return s;
    }
    static MenuStructure separator() { return MenuStructure(Kind::separator); }

    Kind kind() const { return kind_; }
    const T* value() const { return value_.get(); }
    const std::string& title() const { return title_; }
    const std::vector<MenuStructure>& children() const { return children_; }

    // The items of one structure; `target` and `action` stand in for each value's
    // own when given.
    static std::vector<std::shared_ptr<NSMenuItem>>
    menuItems(const MenuStructure& structure, const std::shared_ptr<NSObject>& target,
              const NSAction& action);
    // The items of an `item` structure; none for the other kinds.
    std::vector<std::shared_ptr<NSMenuItem>> menuItems(const std::shared_ptr<NSObject>& target,
                                                       const NSAction& action) const {
        if (kind_ != Kind::item)
            return {};
        return menuItems(*this, target, action);
    }
    // For a submenu structure: the menu that holds its children; none when it has no
    // children and for the other kinds.
    std::shared_ptr<NSMenu> menu(const std::shared_ptr<NSObject>& target,
                                 const NSAction& action) const {
        if (kind_ != Kind::submenu)
            return nullptr;
        auto items = menuItems(*this, target, action);
        return items.empty() ? nullptr : items.front()->submenu();
    }

  private:
    explicit MenuStructure(Kind kind) : kind_(kind) {}
    explicit MenuStructure(std::shared_ptr<const T> value)
        : kind_(Kind::item), value_(std::move(value)) {}
    Kind kind_;
    std::shared_ptr<const T> value_; // the indirect box of an item
    std::string title_;
    std::vector<MenuStructure> children_;
};

namespace TideglassDetail {

// The item of a value, or of its alternate, with the target and action rules.
std::shared_ptr<NSMenuItem> menuItem(const MenuPresentable& value, bool alternate,
                                     const std::shared_ptr<NSObject>& target,
                                     const NSAction& action);
// The separator of a structure (tag -1000).
std::shared_ptr<NSMenuItem> structureSeparator();

template <class T>
concept HasAllCases = requires {
    { T::allCases() } -> std::convertible_to<std::vector<T>>;
};

} // namespace TideglassDetail

template <class T>
std::vector<std::shared_ptr<NSMenuItem>>
MenuStructure<T>::menuItems(const MenuStructure& structure, const std::shared_ptr<NSObject>& target,
                            const NSAction& action) {
    switch (structure.kind_) {
    case Kind::item: {
        const MenuPresentable& value = *structure.value_;
        std::vector<std::shared_ptr<NSMenuItem>> items{
            TideglassDetail::menuItem(value, false, target, action)};
        if (value.alternateMenuTag() && value.alternateMenuTitle())
            items.push_back(TideglassDetail::menuItem(value, true, target, action));
        return items;
    }
    case Kind::submenu: {
        auto item = NSMenuItem::make(structure.title_);
        if (!structure.children_.empty()) {
            auto menu = NSMenu::make(structure.title_);
            for (const auto& child : structure.children_)
                for (auto& childItem : menuItems(child, target, action))
                    menu->addItem(std::move(childItem));
            item->setSubmenu(menu);
        }
        return {item};
    }
    case Kind::inlineTitle:
        return {NSMenuItem::sectionHeader(structure.title_)};
    case Kind::separator:
        return {TideglassDetail::structureSeparator()};
    }
    return {};
}

// The defaults for a raw-representable value with a display name. `Derived` gives
// `localizedDisplayName()` and may give `static std::vector<Derived> allCases()`
// (then it has a default menu structure and raw-value lookup) and
// `static std::string typeMenuTitle()` (the type's menu title; empty by default).
// An integer raw value is the tag and, as a number, the represented object; an
// unsigned one above the largest signed tag keeps its bit pattern as the tag.
template <class Derived, class Raw>
requires std::is_integral_v<Raw>
class RawMenuPresentable : public MenuPresentable, public DisplayNameLocalizable {
  public:
    using RawValue = Raw;
    Raw rawValue() const { return raw; }

    long menuTag() const override { return static_cast<long>(raw); }
    std::string menuTitle() const override { return localizedDisplayName(); }
    std::any menuRepresentedObject() const override {
        if constexpr (std::is_signed_v<Raw>)
            return std::any(static_cast<long>(raw));
        else
            return std::any(static_cast<unsigned long>(raw));
    }

    static std::string typeMenuTitle() { return {}; }
    static MenuStructure<Derived> menuStructure() {
        if constexpr (TideglassDetail::HasAllCases<Derived>) {
            std::vector<MenuStructure<Derived>> items;
            for (const Derived& value : Derived::allCases())
                items.push_back(MenuStructure<Derived>::item(value));
            return MenuStructure<Derived>::submenu(Derived::typeMenuTitle(), std::move(items));
        } else {
            return MenuStructure<Derived>::separator();
        }
    }
    // The case with that raw value, none when there is none.
    static std::optional<Derived>
    fromRawValue(Raw value) requires TideglassDetail::HasAllCases<Derived> {
        for (const Derived& d : Derived::allCases())
            if (d.rawValue() == value)
                return d;
        return std::nullopt;
    }

    friend bool operator==(const RawMenuPresentable& a, const RawMenuPresentable& b) {
        return a.raw == b.raw;
    }

  protected:
    explicit RawMenuPresentable(Raw raw) : raw(raw) {}
    RawMenuPresentable(const RawMenuPresentable&) = default;
    RawMenuPresentable& operator=(const RawMenuPresentable&) = default;

  private:
    Raw raw;
};

// A represented object read as a raw value: numbers convert between integer types
// when the value fits, as a bridged number does; other values must be of that type.
template <class Raw> std::optional<Raw> representedObjectAs(const std::any& object) {
    if (!object.has_value())
        return std::nullopt;
    if (auto* exact = std::any_cast<Raw>(&object))
        return *exact;
    if constexpr (std::is_integral_v<Raw>) {
        auto fits = [](auto v) -> std::optional<Raw> {
            if (std::in_range<Raw>(v))
                return static_cast<Raw>(v);
            return std::nullopt;
        };
        if (auto* l = std::any_cast<long>(&object))
            return fits(*l);
        if (auto* u = std::any_cast<unsigned long>(&object))
            return fits(*u);
        if (auto* i = std::any_cast<int>(&object))
            return fits(*i);
    }
    return std::nullopt;
}

// The kind of a TGMenuItem.
class TGMenuType {
  public:
    enum class Kind {
        sectionHeader,
        documentTemplates,
        recentDocuments,
        standard,
        separator,
        services
    };

    static TGMenuType sectionHeader(std::string title) {
        TGMenuType t(Kind::sectionHeader);
        t.title_ = std::move(title);
        return t;
    }
    static TGMenuType documentTemplates(std::shared_ptr<NSMenuDelegate> delegate) {
        TGMenuType t(Kind::documentTemplates);
        t.delegate_ = std::move(delegate);
        return t;
    }
    static TGMenuType recentDocuments(std::shared_ptr<NSMenuDelegate> delegate) {
        TGMenuType t(Kind::recentDocuments);
        t.delegate_ = std::move(delegate);
        return t;
    }
    static TGMenuType standard() { return TGMenuType(Kind::standard); }
    static TGMenuType separator() { return TGMenuType(Kind::separator); }
    static TGMenuType services() { return TGMenuType(Kind::services); }

    Kind kind() const { return kind_; }
    const std::string& title() const { return title_; }
    // Held strongly: a menu holds its delegate weakly, so the description keeps it.
    const std::shared_ptr<NSMenuDelegate>& delegate() const { return delegate_; }

    // Same kind; equal titles for headers; the same delegate object (or both none).
    friend bool operator==(const TGMenuType& a, const TGMenuType& b) {
        if (a.kind_ != b.kind_)
            return false;
        switch (a.kind_) {
        case Kind::sectionHeader:
            return a.title_ == b.title_;
        case Kind::documentTemplates:
        case Kind::recentDocuments:
            return a.delegate_ == b.delegate_;
        default:
            return true;
        }
    }

  private:
    explicit TGMenuType(Kind kind) : kind_(kind) {}
    Kind kind_;
    std::string title_;
    std::shared_ptr<NSMenuDelegate> delegate_;
};

// One menu item described as a value.
struct TGMenuItem {
    std::optional<std::string> title;
    NSAction action; // empty: none
    std::weak_ptr<NSObject> target;
    std::optional<std::string> shortcutKey;
    uint64_t modifiers = 0;
    TGMenuType menuType = TGMenuType::standard();
    std::optional<std::vector<TGMenuItem>> submenu;
    std::optional<std::vector<std::shared_ptr<const MenuPresentable>>> submenuEnum;
    NSAction submenuEmumSelector; // the action of the items made from submenuEnum
    std::optional<long> tag;
    std::any representedObject; // empty: none

    static TGMenuItem separator() {
        TGMenuItem item;
        item.menuType = TGMenuType::separator();
        return item;
    }

    // A new NSMenuItem of this description.
    std::shared_ptr<NSMenuItem> asMenuItem() const;
};

// A new menu (autoenablesItems off) of each description's item, in order.
std::shared_ptr<NSMenu> asMenu(const std::vector<TGMenuItem>& items);
