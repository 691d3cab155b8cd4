#include "AppKit/NSAppearance.h"

#include <map>

std::shared_ptr<NSAppearance> NSAppearance::named(std::string_view name) {
    static std::map<std::string, std::shared_ptr<NSAppearance>, std::less<>> shared;
    auto it = shared.find(name);
    if (it == shared.end())
        it = shared.emplace(std::string(name), std::make_shared<NSAppearance>(std::string(name)))
                 .first;
    return it->second;
}
