#include "Foundation/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::add(std::shared_ptr<void> observer, const std::string& name,
                             const std::shared_ptr<NSObject>& object,
                             std::function<void(const Notification&)> block) {
    std::lock_guard guard(lock);
    // Drop the registrations whose observers have gone, so that none accumulate.
    std::erase_if(registrations, [](const Registration& r) { return r.observer.expired(); });
    registrations.push_back(
        {observer, observer.get(), name, object, object == nullptr, std::move(block)});
}

void NotificationCenter::removeObserver(const void* observer, const std::string& name) {
    std::lock_guard guard(lock);
    std::erase_if(registrations, [&](const Registration& r) {
        return r.identity == observer && (name.empty() || r.name == name);
    });
}

NotificationCenter::Token
NotificationCenter::addObserver(const std::string& name, const std::shared_ptr<NSObject>& object,
                                std::function<void(const Notification&)> block) {
    // The token is the registration's observer: releasing it ends the registration.
    auto token = std::make_shared<int>(0);
    add(token, name, object, std::move(block));
    return token;
}

void NotificationCenter::post(const Notification& n) {
    std::vector<std::function<void(const Notification&)>> matched;
    {
        std::lock_guard guard(lock);
        for (const Registration& r : registrations) {
            if (r.observer.expired() || (!r.name.empty() && r.name != n.name))
                continue;
            if (!r.anyObject && r.object.lock() != n.object)
                continue;
            matched.push_back(r.block);
        }
    }
    for (const auto& block : matched)
        block(n);
}
