#include "SwiftUISupport/StyledPopUpButtonWrapper.h"

namespace {
void appendFlattened(const NSMenu& menu, std::vector<std::shared_ptr<NSMenuItem>>& out) {
    for (const auto& item : menu.itemArray()) {
        out.push_back(item);
        if (item->hasSubmenu())
            appendFlattened(*item->submenu(), out);
    }
}
} // namespace

std::vector<std::shared_ptr<NSMenuItem>> flattenedItems(const NSMenu& menu) {
    Runtime::assertMainThread("NSMenu.flattenedItems");
    std::vector<std::shared_ptr<NSMenuItem>> items;
    appendFlattened(menu, items);
    return items;
}

namespace PopUpWrapperDetail {

void fillAndSelect(StyledPopUpButton& button, std::vector<std::shared_ptr<NSMenuItem>> items,
                   const std::function<bool(const std::any&)>& matches) {
    Runtime::assertMainThread("StyledPopUpButtonWrapper.fillAndSelect");
    auto menu = button.menu();
    if (!menu)
        return;
    menu->setItemArray(std::move(items));
    for (const auto& item : flattenedItems(*menu))
        if (matches(item->representedObject)) {
            button.selectItem(item);
            button.setTitle(item->title);
            return;
        }
}

void unavailableCoordinatorInit() {
    unimplementedInitializer("Tideglass.Coordinator", "init()");
}

} // namespace PopUpWrapperDetail
