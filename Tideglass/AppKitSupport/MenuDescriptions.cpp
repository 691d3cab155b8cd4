#include "AppKitSupport/MenuDescriptions.h"

#include "AppKit/NSApplication.h"
#include "AppKit/NSEvent.h"

namespace TideglassDetail {

std::shared_ptr<NSMenuItem> menuItem(const MenuPresentable& value, bool alternate,
                                     const std::shared_ptr<NSObject>& target,
                                     const NSAction& action) {
    auto item = NSMenuItem::make(alternate ? *value.alternateMenuTitle() : value.menuTitle(),
                                 action ? action : value.menuAction(), "");
    if (alternate) {
        item->tag = *value.alternateMenuTag();
        item->representedObject = value.alternateMenuRepresentedObject();
        item->isAlternate = true;
        item->keyEquivalentModifierMask = NSEvent::option;
    } else {
        item->tag = value.menuTag();
        item->representedObject = value.menuRepresentedObject();
        item->image = value.menuImage();
        item->onStateImage = value.onStateMenuImage();
        item->offStateImage = value.offStateMenuImage();
        item->mixedStateImage = value.mixedStateMenuImage();
    }
    item->target = target ? target : value.menuTarget();
    return item;
}

std::shared_ptr<NSMenuItem> structureSeparator() {
    auto item = NSMenuItem::separatorItem();
    item->tag = -1000;
    return item;
}

} // namespace TideglassDetail

std::shared_ptr<NSMenuItem> TGMenuItem::asMenuItem() const {
    Runtime::assertMainThread("Tideglass/TGMenuItem");
    auto item = NSMenuItem::make(title.value_or(""), action, shortcutKey.value_or(""));
    item->keyEquivalentModifierMask = modifiers;
    switch (menuType.kind()) {
    case TGMenuType::Kind::sectionHeader:
        return NSMenuItem::sectionHeader(menuType.title());
    case TGMenuType::Kind::separator:
        return NSMenuItem::separatorItem();
    case TGMenuType::Kind::documentTemplates:
    case TGMenuType::Kind::recentDocuments: {
        auto menu = NSMenu::make();
        menu->delegate = menuType.delegate();
        item->setSubmenu(menu);
        break;
    }
    case TGMenuType::Kind::services: {
        auto menu = NSMenu::make();
        NSApplication::shared().servicesMenu = menu;
        item->setSubmenu(menu);
        break;
    }
    case TGMenuType::Kind::standard:
        break;
    }
    if (submenu) {
        auto menu = NSMenu::make();
        for (const auto& child : *submenu)
            menu->addItem(child.asMenuItem());
        item->setSubmenu(menu);
    } else if (submenuEnum) {
        auto menu = NSMenu::make();
        for (const auto& value : *submenuEnum) {
            auto child = NSMenuItem::make(value->menuTitle(), submenuEmumSelector, "");
            child->tag = value->menuTag();
            child->image = value->menuImage();
            menu->addItem(child);
        }
        item->setSubmenu(menu);
    }
    item->target = target;
    if (tag)
        item->tag = *tag;
    if (representedObject.has_value())
        item->representedObject = representedObject;
    return item;
}

std::shared_ptr<NSMenu> asMenu(const std::vector<TGMenuItem>& items) {
    auto menu = NSMenu::make();
    menu->autoenablesItems = false;
    for (const auto& item : items)
        menu->addItem(item.asMenuItem());
    return menu;
}
