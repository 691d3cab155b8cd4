#include "AppKitSupport/PopUpButtonPresentation.h"

#include "AppKit/NSApplication.h"

namespace {

bool usable(const NSMenuItem& item) {
    return item.isEnabled && !item.isSeparatorItem();
}

void selectAndSend(NSPopUpButton& button, const std::shared_ptr<NSMenuItem>& item) {
    button.selectItem(item);
    if (button.action())
        NSApplication::shared().sendAction(button.action(), button.target(), &button);
}

} // namespace

void selectNextItem(NSPopUpButton& button, NSObject*) {
    Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
    const auto& items = button.itemArray();
    long selected = button.indexOfSelectedItem();
    std::shared_ptr<NSMenuItem> next;
    for (size_t i = size_t(selected + 1); i < items.size() && !next; ++i)
        if (usable(*items[i]))
            next = items[i];
    if (!next && !items.empty())
        next = items.front();
    selectAndSend(button, next);
}

void selectPreviousItem(NSPopUpButton& button, NSObject*) {
    Runtime::assertMainThread("Tideglass/NSPopupButton+Presentable");
    const auto& items = button.itemArray();
    // With nothing selected the scan covers no items and falls through to the last.
    long selected = button.indexOfSelectedItem();
    std::shared_ptr<NSMenuItem> previous;
    for (long i = selected - 1; i >= 0 && !previous; --i)
        if (usable(*items[size_t(i)]))
            previous = items[size_t(i)];
    if (!previous && !items.empty())
        previous = items.back();
    selectAndSend(button, previous);
}
