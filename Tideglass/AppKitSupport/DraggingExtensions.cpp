#include "AppKitSupport/DraggingExtensions.h"

std::vector<std::shared_ptr<NSDraggingItem>>
draggingItems(NSDraggingInfo& info, unsigned options, const std::shared_ptr<NSView>& view,
              const std::vector<NSDraggingInfo::ReadableClass>& classes,
              const std::map<std::string, std::string>& searchOptions) {
    std::vector<std::shared_ptr<NSDraggingItem>> collected;
    info.enumerateDraggingItems(options, view, classes, searchOptions,
                                [&](const std::shared_ptr<NSDraggingItem>& item, long, bool&) {
                                    Runtime::assertMainThread("Tideglass/NSDraggingInfo");
                                    collected.push_back(item);
                                });
    return collected;
}
