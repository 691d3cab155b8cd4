#include "Combine/NotificationPublisher.h"

#include <mutex>

namespace {

// The link between the centre's observations and one subscriber.
class NotificationSubscription final
    : public Subscription,
      public std::enable_shared_from_this<NotificationSubscription> {
  public:
    explicit NotificationSubscription(std::shared_ptr<Subscriber<Notification>> subscriber)
        : subscriber(std::move(subscriber)) {}

    void observe(NotificationCenter& center, const std::vector<std::string>& names,
                 const std::shared_ptr<NSObject>& object) {
        std::weak_ptr<NotificationSubscription> weak = shared_from_this();
        std::vector<NotificationCenter::Token> made;
        for (const auto& name : names)
            made.push_back(center.addObserver(name, object, [weak](const Notification& n) {
                if (auto self = weak.lock())
                    self->deliver(n);
            }));
        std::lock_guard lock(mutex);
        tokens = std::move(made);
    }
    void request(Subscribers::Demand more) override {
        std::lock_guard lock(mutex);
        demand = demand + more;
    }
    void cancel() override {
        std::vector<NotificationCenter::Token> gone;
        std::shared_ptr<Subscriber<Notification>> down;
        {
            std::lock_guard lock(mutex);
            gone = std::move(tokens);
            down = std::move(subscriber);
        }
    }

  private:
    void deliver(const Notification& n) {
        std::shared_ptr<Subscriber<Notification>> down;
        {
            std::lock_guard lock(mutex);
            if (!subscriber || demand.value == 0)
                return;
            if (!demand.isUnlimited())
                --demand.value;
            down = subscriber;
        }
        auto more = down->receive(n);
        std::lock_guard lock(mutex);
        demand = demand + more;
    }

    std::mutex mutex;
    std::shared_ptr<Subscriber<Notification>> subscriber;
    std::vector<NotificationCenter::Token> tokens;
    Subscribers::Demand demand;
};

class NotificationCenterPublisher final : public Publisher<Notification> {
  public:
    NotificationCenterPublisher(NotificationCenter& center, std::vector<std::string> names,
                                std::shared_ptr<NSObject> object)
        : center(center), names(std::move(names)), object(std::move(object)) {}
    void receive(std::shared_ptr<Subscriber<Notification>> subscriber) override {
        auto link = std::make_shared<NotificationSubscription>(subscriber);
        link->observe(center, names, object);
        subscriber->receive(std::static_pointer_cast<Subscription>(link));
    }

  private:
    NotificationCenter& center;
    std::vector<std::string> names;
    std::shared_ptr<NSObject> object;
};

} // namespace

AnyPublisher<Notification> notificationPublisher(NotificationCenter& center,
                                                 std::vector<std::string> names,
                                                 std::shared_ptr<NSObject> object) {
    return AnyPublisher<Notification>(
        std::make_shared<NotificationCenterPublisher>(center, std::move(names), std::move(object)));
}
