#include "Observation/Observation.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace ObservationDetail {

namespace {
// The innermost tracking scope of this thread: the channels read in it.
thread_local std::vector<std::shared_ptr<Channel>>* trackingScope = nullptr;
} // namespace

std::uint64_t Channel::subscribe(std::function<void()> callback) {
    std::lock_guard lock(mutex);
    std::uint64_t id = nextId++;
    subscribers.emplace(id, std::make_shared<std::function<void()>>(std::move(callback)));
    return id;
}

void Channel::unsubscribe(std::uint64_t id) {
    std::shared_ptr<std::function<void()>> released;
    std::lock_guard lock(mutex);
    if (auto it = subscribers.find(id); it != subscribers.end()) {
        released = std::move(it->second);
        subscribers.erase(it);
    }
}

void Channel::notify() {
    std::vector<std::pair<std::uint64_t, std::shared_ptr<std::function<void()>>>> snapshot;
    {
        std::lock_guard lock(mutex);
        snapshot.assign(subscribers.begin(), subscribers.end());
    }
    for (auto& [id, callback] : snapshot) {
        // Skip a subscriber cancelled by an earlier callback of this round.
        {
            std::lock_guard lock(mutex);
            if (!subscribers.count(id))
                continue;
        }
        (*callback)();
    }
}

void Channel::recordAccess(const std::shared_ptr<Channel>& channel) {
    if (!trackingScope)
        return;
    if (std::find(trackingScope->begin(), trackingScope->end(), channel) == trackingScope->end())
        trackingScope->push_back(channel);
}

// One tracking registration: fires at most once, then leaves every channel.
struct OneShot {
    std::mutex mutex;
    std::atomic<bool> fired{false};
    std::function<void()> onChange;
    std::vector<std::pair<std::weak_ptr<Channel>, std::uint64_t>> registrations;

    void fire() {
        if (auto callback = end())
            callback();
    }
    // Leaves every channel; the callback to run, once.
    std::function<void()> end() {
        std::function<void()> callback;
        if (fired.exchange(true))
            return callback;
        std::lock_guard lock(mutex);
        for (auto& [weak, id] : registrations)
            if (auto channel = weak.lock())
                channel->unsubscribe(id);
        registrations.clear();
        callback.swap(onChange);
        return callback;
    }
};

} // namespace ObservationDetail

using ObservationDetail::Channel;

ObservationToken& ObservationToken::operator=(ObservationToken&& other) noexcept {
    if (this != &other) {
        cancel();
        channel = std::move(other.channel);
        id = std::exchange(other.id, 0);
    }
    return *this;
}

void ObservationToken::cancel() {
    if (auto c = channel.lock())
        c->unsubscribe(id);
    channel.reset();
    id = 0;
}

void ObservationTracking::cancel() {
    if (auto o = once.lock())
        (void)o->end();
    once.reset();
}

ObservationTracking withObservationTracking(const std::function<void()>& apply,
                                            std::function<void()> onChange) {
    std::vector<std::shared_ptr<Channel>> accessed;
    {
        struct Scope {
            std::vector<std::shared_ptr<Channel>>* saved;
            explicit Scope(std::vector<std::shared_ptr<Channel>>* mine)
                : saved(ObservationDetail::trackingScope) {
                ObservationDetail::trackingScope = mine;
            }
            ~Scope() { ObservationDetail::trackingScope = saved; }
        } scope(&accessed);
        apply();
    }
    if (accessed.empty())
        return {};
    auto once = std::make_shared<ObservationDetail::OneShot>();
    once->onChange = std::move(onChange);
    std::lock_guard lock(once->mutex);
    // Each channel's subscriber holds the registration; the registration holds
    // the channels weakly, so neither keeps the other's owner alive.
    for (auto& channel : accessed) {
        auto id = channel->subscribe([once] { once->fire(); });
        once->registrations.emplace_back(channel, id);
    }
    return ObservationTracking(once);
}

std::shared_ptr<Channel> ObservationRegistrar::channel(const void* key) const {
    std::lock_guard lock(mutex);
    auto& slot = channels[key];
    if (!slot)
        slot = std::make_shared<Channel>();
    return slot;
}

void ObservationRegistrar::access(const void* key) const {
    Channel::recordAccess(channel(key));
}

void ObservationRegistrar::didChange(const void* key) const {
    std::shared_ptr<Channel> found;
    {
        std::lock_guard lock(mutex);
        if (auto it = channels.find(key); it != channels.end())
            found = it->second;
    }
    if (found)
        found->notify();
}

ObservationToken ObservationRegistrar::observe(const void* key,
                                               std::function<void()> callback) const {
    auto c = channel(key);
    return ObservationToken(c, c->subscribe(std::move(callback)));
}
