#pragma once
// The dragged items of a drop, collected: all of them in enumeration order, or the
// objects of one class.
// Thread: main thread only.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/NSDragging.h"

// The dragging items, with the options, view, classes and search options passed on.
std::vector<std::shared_ptr<NSDraggingItem>>
draggingItems(NSDraggingInfo& info, unsigned options, const std::shared_ptr<NSView>& view,
              const std::vector<NSDraggingInfo::ReadableClass>& classes,
              const std::map<std::string, std::string>& searchOptions = {});

// The dragged objects of class T, in order; the others are dropped.
template <class T>
std::vector<std::shared_ptr<T>>
items(NSDraggingInfo& info, unsigned options, const std::shared_ptr<NSView>& view,
      const std::map<std::string, std::string>& searchOptions = {}) {
    std::vector<std::shared_ptr<T>> found;
    for (const auto& item :
         draggingItems(info, options, view, {NSDraggingInfo::readable<T>()}, searchOptions))
        if (auto t = std::dynamic_pointer_cast<T>(item->item))
            found.push_back(std::move(t));
    return found;
}
