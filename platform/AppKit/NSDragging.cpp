#include "AppKit/NSDragging.h"

void NSDraggingInfo::enumerateDraggingItems(
    unsigned, const std::shared_ptr<NSView>&, const std::vector<ReadableClass>& classes,
    const std::map<std::string, std::string>&,
    const std::function<void(const std::shared_ptr<NSDraggingItem>&, long, bool&)>& block) {
    Runtime::assertMainThread("NSDraggingInfo.enumerateDraggingItems");
    long index = 0;
    bool stop = false;
    for (const auto& object : draggedObjects) {
        bool readable = false;
        for (const auto& canRead : classes)
            readable = readable || (object && canRead(*object));
        if (!readable)
            continue;
        block(make<NSDraggingItem>(object), index++, stop);
        if (stop)
            return;
    }
}
