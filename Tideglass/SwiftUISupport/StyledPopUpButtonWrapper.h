#pragma once
// StyledPopUpButtonWrapper: a styled pop-up button (StyledPopUpButton) inside
// declarative views. The caller describes the menu as a tree of PopupItem values, each
// standing for an optional value of T, and binds the selection to a value of T.
//
// Fill and select (at make and at every update): the menu's items are replaced by the
// items' menu items, every one sending menuItemSelected to the coordinator; then the
// first of the menu's flattened items (depth first, parent before its submenu) whose
// represented object is a T equal to the binding's value is selected, and its title
// becomes the button's. Without such an item the button keeps the selection and title
// it has after its items were replaced (its first item). Items without a value, or
// made from a Displayable of another type, never match.
// Round trip: choosing an item sends menuItemSelected, which writes the item's value
// into the coordinator's binding (an item without a value writes nothing); an update
// hands the coordinator the wrapper's newest binding. Automatic enabling is off for the
// menu and every submenu, so a disabled item stays disabled and cannot be chosen.
// Thread: main; every member checks it.

#include <any>
#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "AppKit/NSMenu.h"
#include "Controls/StyledPopUpButton.h"
#include "Runtime/Runtime.h"
#include "SwiftUI/SwiftUI.h"
#include "SwiftUI/ViewRepresentable.h"
#include "Utilities/Displayable.h"

class NSImage;

// The menu's items in order, each followed at once by the flattened items of its
// submenu (depth first, parent before children).
std::vector<std::shared_ptr<NSMenuItem>> flattenedItems(const NSMenu& menu);

// The argument of PopupItem's init(isDivider:).
struct PopupDivider {
    bool isDivider = true;
};

// One entry of the wrapper's menu: an item standing for a value of T, a separator, or
// (with subMenu) an item holding a submenu.
template <std::equality_comparable T> class PopupItem {
  public:
    // init(object:title:image:isEnabled:): not a separator, no submenu.
    PopupItem(std::optional<T> object, std::string title, std::shared_ptr<NSImage> image = nullptr,
              bool isEnabled = true)
        : object(std::move(object)), image(std::move(image)), isEnabled(isEnabled),
          title_(std::move(title)) {}
    // init(isDivider:): no value, an empty title, enabled.
    explicit PopupItem(PopupDivider divider) : isDivider(divider.isDivider) {}
    // init(displayable:image:): the displayable's text as the title; its value only when
    // it is a T (one of another type shows its title but stands for nothing).
    template <Displayable D>
    explicit PopupItem(const D& displayable, std::shared_ptr<NSImage> image = nullptr)
        : image(std::move(image)), title_(displayText(displayable)) {
        if constexpr (std::same_as<D, T>)
            object = displayable;
    }
    static PopupItem divider() { return PopupItem(PopupDivider{true}); }

    std::optional<T> object;
    std::shared_ptr<NSImage> image;
    bool isDivider = false;
    bool isEnabled = true;
    std::optional<std::vector<PopupItem>> subMenu;

    const std::string& title() const { return title_; }

    // A separator for a divider; else a new item with the title, the action, an empty
    // key equivalent, the target, the value as represented object (none without one),
    // the enabled flag and the image, and, with subMenu, a new submenu (automatic
    // enabling off) of the submenu items made the same way.
    std::shared_ptr<NSMenuItem> asNSMenuItem(const NSAction& action,
                                             const std::shared_ptr<NSObject>& target) const {
        Runtime::assertMainThread("PopupItem.asNSMenuItem");
        if (isDivider)
            return NSMenuItem::separatorItem();
        auto item = NSMenuItem::make(title_, action, "");
        item->target = target;
        if (object)
            item->representedObject = *object;
        item->isEnabled = isEnabled;
        item->image = image;
        if (subMenu) {
            auto menu = NSMenu::make();
            menu->autoenablesItems = false;
            for (const auto& child : *subMenu)
                menu->addItem(child.asNSMenuItem(action, target));
            item->setSubmenu(std::move(menu));
        }
        return item;
    }

  private:
    std::string title_;
};

namespace PopUpWrapperDetail {
// Fill and select: the button's menu takes `items` as its whole item array; the first
// flattened item whose represented object `matches` is selected and its title becomes
// the button's title; without one both stay as they are.
void fillAndSelect(StyledPopUpButton& button, std::vector<std::shared_ptr<NSMenuItem>> items,
                   const std::function<bool(const std::any&)>& matches);
// The report of the coordinator's unavailable init().
[[noreturn]] void unavailableCoordinatorInit();
} // namespace PopUpWrapperDetail

template <std::equality_comparable T> class StyledPopUpButtonCoordinator;

template <std::equality_comparable T>
class StyledPopUpButtonWrapper
    : public SwiftUI::NSViewRepresentable<StyledPopUpButtonWrapper<T>, StyledPopUpButton,
                                          StyledPopUpButtonCoordinator<T>> {
  public:
    using Coordinator = StyledPopUpButtonCoordinator<T>;
    using Context = SwiftUI::NSViewRepresentableContext<Coordinator>;

    StyledPopUpButtonWrapper(std::vector<PopupItem<T>> items, SwiftUI::Binding<T> selection,
                             std::optional<std::string> label = std::nullopt,
                             std::optional<CGFloat> fixedWidth = std::nullopt)
        : items(std::move(items)), selection(std::move(selection)), label(std::move(label)),
          fixedWidth(fixedWidth) {}

    std::vector<PopupItem<T>> items;
    SwiftUI::Binding<T> selection;
    std::optional<std::string> label;
    std::optional<CGFloat> fixedWidth;

    // A coordinator holding the selection binding.
    std::shared_ptr<Coordinator> makeCoordinator() const {
        Runtime::assertMainThread("StyledPopUpButtonWrapper.makeCoordinator");
        return make<Coordinator>(selection);
    }
    // A zero-frame pop-up (not pulling down) of fixedWidth with the label, automatic
    // enabling off, filled and selected.
    std::shared_ptr<StyledPopUpButton> makeNSView(Context& context) const {
        Runtime::assertMainThread("StyledPopUpButtonWrapper.makeNSView");
        auto button = make<StyledPopUpButton>(CGRect{}, false, fixedWidth);
        button->setLabel(label);
        button->setAutoenablesItems(false);
        fillAndSelect(*button, context);
        return button;
    }
    // Items removed, filled and selected again, the label set, and the coordinator given
    // the current binding.
    void updateNSView(StyledPopUpButton& button, Context& context) const {
        Runtime::assertMainThread("StyledPopUpButtonWrapper.updateNSView");
        button.removeAllItems();
        fillAndSelect(button, context);
        button.setLabel(label);
        context.coordinator->selection = selection;
    }

  private:
    void fillAndSelect(StyledPopUpButton& button, Context& context) const {
        const NSAction action(&Coordinator::menuItemSelected);
        std::vector<std::shared_ptr<NSMenuItem>> menuItems;
        menuItems.reserve(items.size());
        for (const auto& item : items)
            menuItems.push_back(item.asNSMenuItem(action, context.coordinator));
        const T wanted = selection.get();
        PopUpWrapperDetail::fillAndSelect(button, std::move(menuItems), [&](const std::any& v) {
            const T* value = std::any_cast<T>(&v);
            return value && *value == wanted;
        });
    }
};

template <std::equality_comparable T> class StyledPopUpButtonCoordinator : public NSObject {
  public:
    // The binding the chosen values are written into; every update sets the newest.
    SwiftUI::Binding<T> selection;

    // The action of every item: a sender whose represented object is a T writes it
    // into the selection; any other sender writes nothing.
    void menuItemSelected(NSObject* sender) {
        Runtime::assertMainThread("StyledPopUpButtonWrapper.Coordinator.menuItemSelected");
        auto* item = dynamic_cast<NSMenuItem*>(sender);
        if (!item)
            return;
        if (const T* value = std::any_cast<T>(&item->representedObject))
            selection.set(*value);
    }
    // init(): not available; ends the program.
    [[noreturn]] static std::shared_ptr<StyledPopUpButtonCoordinator> plain() {
        PopUpWrapperDetail::unavailableCoordinatorInit();
    }

  protected:
    explicit StyledPopUpButtonCoordinator(SwiftUI::Binding<T> selection)
        : selection(std::move(selection)) {}
};
