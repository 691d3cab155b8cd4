#pragma once
// The typed resource descriptors the developer tools generate for a module's asset
// catalogue: one descriptor (ColorResource or ImageResource) per asset name of the
// module, naming the module's bundle. A table is made once, when the module first
// asks for a descriptor; asking for a name the catalogue does not have is a
// programming error and ends the program with the asset's and the bundle's names.
// Thread: any once made (immutable); make it in a function-local static.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Runtime/Runtime.h"
#include "SwiftUI/Menu.h"

namespace SwiftUI {

template <class Resource> class ResourceTable {
  public:
    // `kind` ("colour", "image") and `bundleName` only word the error.
    ResourceTable(const std::vector<std::string_view>& names, const std::shared_ptr<Bundle>& bundle,
                  std::string kind, std::string bundleName)
        : kind(std::move(kind)), bundleName(std::move(bundleName)) {
        for (std::string_view n : names)
            made.emplace(n, Resource{std::string(n), bundle});
    }

    const Resource& at(std::string_view name) const {
        auto found = made.find(name);
        if (found == made.end())
            fatalError("no " + kind + " asset named " + std::string(name) + " in " + bundleName);
        return found->second;
    }

  private:
    std::map<std::string_view, Resource> made;
    std::string kind, bundleName;
};

} // namespace SwiftUI
