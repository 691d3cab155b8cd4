#pragma once
// Stands in for what a drop target is told about a drag (NSDraggingInfo) as far as
// reading the dragged objects goes: the objects on the drag's pasteboard, offered
// one by one as dragging items to those who can read them.
// Left out: drag images, operations, sources, the pasteboard's types and data,
// animations of the items. Thread: main thread.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSView.h"

class NSDraggingItem : public NSObject {
  public:
    std::shared_ptr<NSObject> item;
    CGRect draggingFrame;

  protected:
    explicit NSDraggingItem(std::shared_ptr<NSObject> item) : item(std::move(item)) {}
};

class NSDraggingInfo : public NSObject {
  public:
    enum EnumerationOptions : unsigned {
        concurrent = 1u << 0,
        clearNonenumeratedImages = 1u << 16
    };
    // Whether a class can read an object from the pasteboard (is it of that class).
    using ReadableClass = std::function<bool(const NSObject&)>;
    template <class T> static ReadableClass readable() {
        return [](const NSObject& object) { return dynamic_cast<const T*>(&object) != nullptr; };
    }

    // What is dragged, in pasteboard order.
    std::vector<std::shared_ptr<NSObject>> draggedObjects;

    // Calls `block` with a new dragging item, its index among those offered and a stop
    // flag, for each dragged object that one of `classes` can read, in order.
    void enumerateDraggingItems(
        unsigned options, const std::shared_ptr<NSView>& view,
        const std::vector<ReadableClass>& classes,
        const std::map<std::string, std::string>& searchOptions,
        const std::function<void(const std::shared_ptr<NSDraggingItem>&, long, bool&)>& block);

  protected:
    NSDraggingInfo() = default;
};
