#pragma once
// Stands in for NotificationCenter and Notification: named notifications posted with
// an object, delivered at once, in the order of registration, to the observers whose
// name matches (or who gave none) and whose object is the posted one (or who gave
// none). An observer is held weakly: one that has gone is dropped, never called; it
// can also remove itself. Blocks registered without an observer object live until
// the returned token is removed or released.
// Left out: queues other than the posting thread's, coalescing, distributed centres.
// Thread: any; observers run on the posting thread. Posting from inside an observer
// is allowed; observers added or removed during a post take effect for the next post.

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Runtime/Runtime.h"

struct Notification {
    std::string name;
    std::shared_ptr<NSObject> object;
    std::map<std::string, std::any> userInfo;
};

class NotificationCenter {
  public:
    static NotificationCenter& defaultCenter();

    // A method of the observer's class, as a selector names it.
    template <class T>
    void addObserver(const std::shared_ptr<T>& observer, void (T::*selector)(const Notification&),
                     const std::string& name, const std::shared_ptr<NSObject>& object = nullptr) {
        std::weak_ptr<T> weak = observer;
        add(std::static_pointer_cast<void>(std::shared_ptr<T>(observer)), name, object,
            [weak, selector](const Notification& n) {
                if (auto o = weak.lock())
                    (o.get()->*selector)(n);
            });
    }
    // Removes every registration of `observer` (for `name` only, when one is given).
    void removeObserver(const void* observer, const std::string& name = {});

    // A block observer; it lives as long as the returned token.
    using Token = std::shared_ptr<void>;
    [[nodiscard]] Token addObserver(const std::string& name,
                                    const std::shared_ptr<NSObject>& object,
                                    std::function<void(const Notification&)> block);

    void post(const Notification& notification);
    void post(const std::string& name, const std::shared_ptr<NSObject>& object = nullptr) {
        post(Notification{name, object, {}});
    }

  private:
    struct Registration {
        std::weak_ptr<void> observer;
        const void* identity;
        std::string name;
        std::weak_ptr<NSObject> object; // expired and `anyObject`: matches every object
        bool anyObject;
        std::function<void(const Notification&)> block;
    };
    void add(std::shared_ptr<void> observer, const std::string& name,
             const std::shared_ptr<NSObject>& object,
             std::function<void(const Notification&)> block);

    std::mutex lock;
    std::vector<Registration> registrations;
};
