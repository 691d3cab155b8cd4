#pragma once
// Observation: properties that tell observers when their stored value changes.
//
// The rule of the whole system: a write notifies only when the new value differs
// from the stored one; an equal write is stored silently (two NaNs count as equal).
//
// Two ways to observe:
// - withObservationTracking(apply, onChange): every observable property read
//   while `apply` runs is tracked; the first later change of any of them calls
//   `onChange` once, on the writing thread, after the new value is stored. (The
//   declarative views use it to mark their tree for a rebuild.)
// - observe(callback) on one property: called after every change until the
//   returned token is cancelled or destroyed.
//
// Thread: reads and writes of one property belong to its owner's thread (the main
// thread for view models); tracking scopes are per thread; subscribing,
// cancelling and notifying are safe from any thread.

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

namespace ObservationDetail {

// The subscribers of one property.
class Channel {
  public:
    std::uint64_t subscribe(std::function<void()> callback);
    void unsubscribe(std::uint64_t id);
    // Calls every subscriber (outside the lock).
    void notify();
    // Records a read in the current thread's tracking scope, if any.
    static void recordAccess(const std::shared_ptr<Channel>& channel);

  private:
    std::mutex mutex;
    std::uint64_t nextId = 1;
    std::map<std::uint64_t, std::shared_ptr<std::function<void()>>> subscribers;
};

template <class T> bool sameValue(const T& a, const T& b) {
    if constexpr (std::is_floating_point_v<T>)
        return a == b || (std::isnan(a) && std::isnan(b));
    else
        return a == b;
}

} // namespace ObservationDetail

// Cancels its subscription when cancelled or destroyed. Movable, not copyable.
class ObservationToken {
  public:
    ObservationToken() = default;
    ObservationToken(std::weak_ptr<ObservationDetail::Channel> channel, std::uint64_t id)
        : channel(std::move(channel)), id(id) {}
    ObservationToken(ObservationToken&& other) noexcept { *this = std::move(other); }
    ObservationToken& operator=(ObservationToken&& other) noexcept;
    ObservationToken(const ObservationToken&) = delete;
    ObservationToken& operator=(const ObservationToken&) = delete;
    ~ObservationToken() { cancel(); }
    void cancel();

  private:
    std::weak_ptr<ObservationDetail::Channel> channel;
    std::uint64_t id = 0;
};

namespace ObservationDetail {
struct OneShot;
}

// A tracking registration that can be ended before it fires: the owner of a scope that
// runs again for another reason (a view rebuilt by its parent) ends the old one, so
// registrations on values that never change do not pile up. Dropping it does not end
// the registration.
class ObservationTracking {
  public:
    ObservationTracking() = default;
    explicit ObservationTracking(std::weak_ptr<ObservationDetail::OneShot> once)
        : once(std::move(once)) {}
    // onChange will not be called; its closure is released. Thread: any.
    void cancel();

  private:
    std::weak_ptr<ObservationDetail::OneShot> once;
};

ObservationTracking withObservationTracking(const std::function<void()>& apply,
                                            std::function<void()> onChange);

// For a class that keeps its own storage: one channel per key (the address of
// the stored member, or of any static). Call access(key) in each getter and
// didChange(key) in each setter after storing a value that differs.
class ObservationRegistrar {
  public:
    void access(const void* key) const;
    void didChange(const void* key) const;
    ObservationToken observe(const void* key, std::function<void()> callback) const;

  private:
    std::shared_ptr<ObservationDetail::Channel> channel(const void* key) const;
    mutable std::mutex mutex;
    mutable std::map<const void*, std::shared_ptr<ObservationDetail::Channel>> channels;
};

// One observable stored value. Copies carry the value, not the observers.
template <class T> class Observed {
  public:
    Observed() : value_() {}
    Observed(T initial) : value_(std::move(initial)) {}
    Observed(const Observed& other) : value_(other.value_) {}
    Observed& operator=(const Observed& other) {
        set(other.value_);
        return *this;
    }

    // Tracked read.
    const T& get() const {
        ObservationDetail::Channel::recordAccess(channel);
        return value_;
    }
    // Untracked read.
    const T& peek() const { return value_; }

    // Stores and notifies when the value differs; returns whether it changed.
    bool set(T newValue) {
        if (ObservationDetail::sameValue(value_, newValue))
            return false;
        value_ = std::move(newValue);
        channel->notify();
        return true;
    }

    // Called with the new value after every change.
    ObservationToken observe(std::function<void(const T&)> callback) {
        auto id = channel->subscribe([this, callback = std::move(callback)] { callback(value_); });
        return ObservationToken(channel, id);
    }

  private:
    T value_;
    std::shared_ptr<ObservationDetail::Channel> channel =
        std::make_shared<ObservationDetail::Channel>();
};
