#include "AppKitSupport/RecentDocumentsMenuDelegate.h"

#include "AppKit/NSDocumentController.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"
#include "AppKit/NSWorkspace.h"
#include "Foundation/Bundle.h"

#include <filesystem>

namespace {

constexpr const char* where = "Tideglass/RecentDocumentsMenuDelegate";

// The item of one recent document; none when its file is gone or unreadable.
std::shared_ptr<NSMenuItem> itemFor(const URL& url, RecentDocumentsMenuDelegate& delegate) {
    std::error_code error;
    if (!std::filesystem::exists(url.path(), error))
        return nullptr;
    auto values = effectiveIconResourceValues(url);
    if (!values)
        return nullptr;
    auto item = NSMenuItem::make(url.lastPathComponent(), {}, "");
    item->representedObject = url;
    if (values->effectiveIcon) {
        // Only the small renditions: a menu shows the icon at 16 points.
        auto image = NSImage::empty();
        std::vector<std::shared_ptr<NSImageRep>> small;
        for (const auto& rep : values->effectiveIcon->representations())
            if (rep->size.width <= 16 || rep->size.height <= 16)
                small.push_back(rep);
        image->addRepresentations(small);
        item->image = image;
    }
    item->target = delegate.weakAs<NSObject>();
    item->action = &RecentDocumentsMenuDelegate::openRecentDocument;
    return item;
}

} // namespace

void RecentDocumentsMenuDelegate::menuNeedsUpdate(NSMenu& menu) {
    Runtime::assertMainThread(where);
    std::vector<std::shared_ptr<NSMenuItem>> items;
    for (const URL& url : NSDocumentController::shared().recentDocumentURLs())
        if (auto item = itemFor(url, *this))
            items.push_back(std::move(item));
    items.push_back(NSMenuItem::separatorItem());
    // No target: the action travels the responder chain to the document controller.
    items.push_back(NSMenuItem::make(Bundle::main()->localizedString("Clear Recent Documents"),
                                     &NSDocumentController::clearRecentDocuments, ""));
    menu.setItemArray(std::move(items));
}

void RecentDocumentsMenuDelegate::openRecentDocument(NSObject* sender) {
    Runtime::assertMainThread(where);
    auto* item = dynamic_cast<NSMenuItem*>(sender);
    if (!item)
        return;
    if (const URL* url = std::any_cast<URL>(&item->representedObject))
        NSDocumentController::shared().openDocument(*url, true,
                                                    [](const URL*, const std::string&) {});
}

void RecentDocumentsMenuDelegate::clearRecentDocuments(NSObject* sender) {
    Runtime::assertMainThread(where);
    NSDocumentController::shared().clearRecentDocuments(sender);
}
