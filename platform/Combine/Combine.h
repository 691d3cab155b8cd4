#pragma once
// Combine: publishers of values that never fail, their subscribers and the
// subscriptions between them, with demand; pass-through and current-value
// subjects; AnyCancellable, which cancels its subscription when cancelled or
// destroyed; sink; and the operators map, compactMap, filter and
// receive(on: a dispatch queue).
//
// Publishers are reference objects here (std::shared_ptr<Publisher<T>>);
// AnyPublisher<T> is the value handle that carries the operators. A subject is a
// handle too: copies share one subject.
//
// Left out: failure types (every publisher here never fails), schedulers other than
// dispatch queues, the many other operators.
//
// Thread: a subject may be sent to from any thread; subscribers are called on the
// sending thread (receive(on:) moves them). Subscribing and cancelling are safe from
// any thread.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Dispatch/Dispatch.h"

namespace Subscribers {

// How many more values a subscriber wants.
struct Demand {
    std::size_t value = 0;
    static constexpr Demand unlimited() { return {std::numeric_limits<std::size_t>::max()}; }
    static constexpr Demand none() { return {0}; }
    static constexpr Demand max(std::size_t n) { return {n}; }
    bool isUnlimited() const { return value == unlimited().value; }
    friend Demand operator+(Demand a, Demand b) {
        if (a.isUnlimited() || b.isUnlimited() || a.value > unlimited().value - b.value)
            return unlimited();
        return {a.value + b.value};
    }
    friend bool operator==(Demand, Demand) = default;
};

// The end of a stream that never fails: there is only the normal one.
enum class Completion { finished };

} // namespace Subscribers

// Something that can be told to stop.
class Cancellable {
  public:
    virtual ~Cancellable() = default;
    virtual void cancel() = 0;
};

// The link from one publisher to one subscriber.
class Subscription : public Cancellable {
  public:
    virtual void request(Subscribers::Demand demand) = 0;
};

template <class Input> class Subscriber {
  public:
    virtual ~Subscriber() = default;
    virtual void receive(std::shared_ptr<Subscription> subscription) = 0;
    // Returns how many more values it wants on top of those already asked for.
    virtual Subscribers::Demand receive(const Input& input) = 0;
    virtual void receive(Subscribers::Completion completion) = 0;
};

template <class Output> class Publisher {
  public:
    using OutputType = Output;
    virtual ~Publisher() = default;
    // Attaches the subscriber: it is handed a subscription and asks it for values.
    virtual void receive(std::shared_ptr<Subscriber<Output>> subscriber) = 0;
};

// Cancels on cancel() and on destruction, once. Movable, not copyable.
class AnyCancellable final : public Cancellable {
  public:
    AnyCancellable() = default;
    explicit AnyCancellable(std::function<void()> cancel) : onCancel(std::move(cancel)) {}
    explicit AnyCancellable(std::shared_ptr<Cancellable> c)
        : onCancel([c = std::move(c)] { c->cancel(); }) {}
    AnyCancellable(AnyCancellable&& other) noexcept : onCancel(std::exchange(other.onCancel, {})) {}
    AnyCancellable& operator=(AnyCancellable&& other) noexcept {
        if (this != &other) {
            cancel();
            onCancel = std::exchange(other.onCancel, {});
        }
        return *this;
    }
    ~AnyCancellable() override { cancel(); }

    void cancel() override {
        if (auto c = std::exchange(onCancel, {}))
            c();
    }
    // Keeps it in a collection of cancellables (cancelled when that is cleared).
    void store(std::vector<AnyCancellable>& in) && { in.push_back(std::move(*this)); }

  private:
    std::function<void()> onCancel;
};

// The set of subscriptions an owner keeps alive.
using AnyCancellableSet = std::vector<AnyCancellable>;

template <class Output> class AnyPublisher;

namespace CombineDetail {

// The subscriber behind sink: asks for unlimited values and calls its closures until
// cancelled or completed.
template <class Input>
class Sink final : public Subscriber<Input>,
                   public Cancellable,
                   public std::enable_shared_from_this<Sink<Input>> {
  public:
    Sink(std::function<void(Subscribers::Completion)> completion,
         std::function<void(const Input&)> value)
        : onCompletion(std::move(completion)), onValue(std::move(value)) {}

    void receive(std::shared_ptr<Subscription> s) override {
        {
            std::lock_guard lock(mutex);
            if (done || subscription) {
                s->cancel();
                return;
            }
            subscription = s;
        }
        s->request(Subscribers::Demand::unlimited());
    }
    Subscribers::Demand receive(const Input& input) override {
        std::function<void(const Input&)> call;
        {
            std::lock_guard lock(mutex);
            if (done)
                return Subscribers::Demand::none();
            call = onValue;
        }
        if (call)
            call(input);
        return Subscribers::Demand::none();
    }
    void receive(Subscribers::Completion completion) override {
        std::function<void(Subscribers::Completion)> call;
        {
            std::lock_guard lock(mutex);
            if (done)
                return;
            done = true;
            call = std::move(onCompletion);
            subscription.reset();
            onValue = {};
        }
        if (call)
            call(completion);
    }
    void cancel() override {
        std::shared_ptr<Subscription> s;
        {
            std::lock_guard lock(mutex);
            done = true;
            s = std::move(subscription);
            onValue = {};
            onCompletion = {};
        }
        if (s)
            s->cancel();
    }

  private:
    std::mutex mutex;
    bool done = false;
    std::shared_ptr<Subscription> subscription;
    std::function<void(Subscribers::Completion)> onCompletion;
    std::function<void(const Input&)> onValue;
};

// An operator's link: the upstream's subscriber and the downstream's subscription.
// `Transform` turns one input into a call of `emit` (or none) and answers the demand
// for a dropped value.
template <class Input, class Output>
class OperatorLink final : public Subscriber<Input>,
                           public Subscription,
                           public std::enable_shared_from_this<OperatorLink<Input, Output>> {
  public:
    // Returns the downstream's demand, or none when the value was dropped.
    using Transform = std::function<std::optional<Subscribers::Demand>(
        const Input&, const std::shared_ptr<Subscriber<Output>>&)>;
    using Completer =
        std::function<void(Subscribers::Completion, const std::shared_ptr<Subscriber<Output>>&)>;

    OperatorLink(std::shared_ptr<Subscriber<Output>> downstream, Transform transform,
                 Completer complete)
        : downstream(std::move(downstream)), transform(std::move(transform)),
          complete(std::move(complete)) {}

    void receive(std::shared_ptr<Subscription> s) override {
        std::shared_ptr<Subscriber<Output>> down;
        {
            std::lock_guard lock(mutex);
            upstream = std::move(s);
            down = downstream;
        }
        if (down)
            down->receive(std::static_pointer_cast<Subscription>(this->shared_from_this()));
    }
    Subscribers::Demand receive(const Input& input) override {
        auto down = current();
        if (!down)
            return Subscribers::Demand::none();
        // A dropped value is replaced by asking for one more.
        return transform(input, down).value_or(Subscribers::Demand::max(1));
    }
    void receive(Subscribers::Completion completion) override {
        std::shared_ptr<Subscriber<Output>> down;
        {
            std::lock_guard lock(mutex);
            down = std::move(downstream);
            upstream.reset();
        }
        if (down)
            complete(completion, down);
    }
    void request(Subscribers::Demand demand) override {
        std::shared_ptr<Subscription> up;
        {
            std::lock_guard lock(mutex);
            up = upstream;
        }
        if (up)
            up->request(demand);
    }
    void cancel() override {
        std::shared_ptr<Subscription> up;
        {
            std::lock_guard lock(mutex);
            up = std::move(upstream);
            downstream.reset();
        }
        if (up)
            up->cancel();
    }

  private:
    std::shared_ptr<Subscriber<Output>> current() {
        std::lock_guard lock(mutex);
        return downstream;
    }
    std::mutex mutex;
    std::shared_ptr<Subscriber<Output>> downstream;
    std::shared_ptr<Subscription> upstream;
    Transform transform;
    Completer complete;
};

// A publisher made of an upstream and a link factory.
template <class Input, class Output> class OperatorPublisher final : public Publisher<Output> {
  public:
    using Link = OperatorLink<Input, Output>;
    OperatorPublisher(std::shared_ptr<Publisher<Input>> upstream, typename Link::Transform t,
                      typename Link::Completer c)
        : upstream(std::move(upstream)), transform(std::move(t)), complete(std::move(c)) {}
    void receive(std::shared_ptr<Subscriber<Output>> subscriber) override {
        upstream->receive(std::make_shared<Link>(std::move(subscriber), transform, complete));
    }

  private:
    std::shared_ptr<Publisher<Input>> upstream;
    typename Link::Transform transform;
    typename Link::Completer complete;
};

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type { using value_type = T; };

} // namespace CombineDetail

// The operators every publisher handle offers. `Derived` has eraseToAnyPublisher().
template <class Derived, class Output> class PublisherOperators {
  public:
    // Each value transformed by `f` (a callable, or a pointer to a member function or
    // data member of the output's pointee, read like a key path).
    template <class F> auto map(F f) const {
        using U = std::remove_cvref_t<decltype(apply(f, std::declval<const Output&>()))>;
        return AnyPublisher<U>(std::make_shared<CombineDetail::OperatorPublisher<Output, U>>(
            upstream(),
            [f](const Output& in, const std::shared_ptr<Subscriber<U>>& down)
                -> std::optional<Subscribers::Demand> { return down->receive(apply(f, in)); },
            [](Subscribers::Completion c, const auto& down) { down->receive(c); }));
    }
    // `f` returns an optional; empty results are dropped.
    template <class F> auto compactMap(F f) const {
        using R = std::remove_cvref_t<decltype(apply(f, std::declval<const Output&>()))>;
        static_assert(CombineDetail::IsOptional<R>::value, "compactMap needs an optional result");
        using U = typename CombineDetail::IsOptional<R>::value_type;
        return AnyPublisher<U>(std::make_shared<CombineDetail::OperatorPublisher<Output, U>>(
            upstream(),
            [f](const Output& in,
                const std::shared_ptr<Subscriber<U>>& down) -> std::optional<Subscribers::Demand> {
                auto out = apply(f, in);
                if (!out)
                    return std::nullopt;
                return down->receive(*out);
            },
            [](Subscribers::Completion c, const auto& down) { down->receive(c); }));
    }
    // Only the values for which `predicate` is true.
    template <class F> AnyPublisher<Output> filter(F predicate) const {
        return AnyPublisher<Output>(
            std::make_shared<CombineDetail::OperatorPublisher<Output, Output>>(
                upstream(),
                [predicate](const Output& in, const std::shared_ptr<Subscriber<Output>>& down)
                    -> std::optional<Subscribers::Demand> {
                    if (!predicate(in))
                        return std::nullopt;
                    return down->receive(in);
                },
                [](Subscribers::Completion c, const auto& down) { down->receive(c); }));
    }
    // Values and the completion are delivered through `queue` (always asynchronously,
    // in order); the subscriber's demand passes up unchanged.
    AnyPublisher<Output> receive(DispatchQueue& queue) const {
        DispatchQueue* q = &queue;
        return AnyPublisher<Output>(
            std::make_shared<CombineDetail::OperatorPublisher<Output, Output>>(
                upstream(),
                [q](const Output& in, const std::shared_ptr<Subscriber<Output>>& down)
                    -> std::optional<Subscribers::Demand> {
                    q->async([down, in] { down->receive(in); });
                    return Subscribers::Demand::none();
                },
                [q](Subscribers::Completion c, const std::shared_ptr<Subscriber<Output>>& down) {
                    q->async([down, c] { down->receive(c); });
                }));
    }

    // Subscribes closures; the subscription lasts as long as the returned cancellable.
    AnyCancellable sink(std::function<void(const Output&)> receiveValue) const {
        return sink({}, std::move(receiveValue));
    }
    AnyCancellable sink(std::function<void(Subscribers::Completion)> receiveCompletion,
                        std::function<void(const Output&)> receiveValue) const {
        auto sink = std::make_shared<CombineDetail::Sink<Output>>(std::move(receiveCompletion),
                                                                  std::move(receiveValue));
        upstream()->receive(sink);
        return AnyCancellable(std::static_pointer_cast<Cancellable>(sink));
    }

  private:
    std::shared_ptr<Publisher<Output>> upstream() const {
        return static_cast<const Derived&>(*this).eraseToAnyPublisher().publisher();
    }
    template <class F> static decltype(auto) apply(const F& f, const Output& in) {
        if constexpr (std::is_member_pointer_v<F> && requires { *in; })
            return std::invoke(f, *in); // a key path on the object a reference output names
        else if constexpr (std::is_member_pointer_v<F>)
            return std::invoke(f, in);
        else
            return f(in);
    }
};

// A type-erased publisher handle.
template <class Output>
class AnyPublisher final : public PublisherOperators<AnyPublisher<Output>, Output> {
  public:
    using OutputType = Output;
    using PublisherOperators<AnyPublisher<Output>, Output>::receive; // receive(on:)
    explicit AnyPublisher(std::shared_ptr<Publisher<Output>> p) : box(std::move(p)) {}
    void receive(std::shared_ptr<Subscriber<Output>> subscriber) const {
        box->receive(std::move(subscriber));
    }
    const AnyPublisher& eraseToAnyPublisher() const { return *this; }
    const std::shared_ptr<Publisher<Output>>& publisher() const { return box; }

  private:
    std::shared_ptr<Publisher<Output>> box;
};

namespace CombineDetail {

// The subscribers of a subject with their outstanding demand.
template <class Output>
class SubjectCore : public Publisher<Output>,
                    public std::enable_shared_from_this<SubjectCore<Output>> {
  public:
    class Link final : public Subscription {
      public:
        Link(std::weak_ptr<SubjectCore> subject, std::shared_ptr<Subscriber<Output>> s)
            : subject(std::move(subject)), subscriber(std::move(s)) {}
        void request(Subscribers::Demand d) override {
            if (auto s = subject.lock())
                s->requested(this, d);
        }
        void cancel() override {
            if (auto s = subject.lock())
                s->remove(this);
        }
        std::weak_ptr<SubjectCore> subject;
        std::shared_ptr<Subscriber<Output>> subscriber;
        Subscribers::Demand demand;
        bool primed = false; // a current value was owed at the first request
    };

    explicit SubjectCore(std::optional<Output> current = std::nullopt)
        : current(std::move(current)) {}

    void receive(std::shared_ptr<Subscriber<Output>> subscriber) override {
        std::unique_lock lock(mutex);
        if (finished) {
            lock.unlock();
            subscriber->receive(Subscribers::Completion::finished);
            return;
        }
        auto link = std::make_shared<Link>(this->weak_from_this(), subscriber);
        link->primed = current.has_value();
        links.push_back(link);
        lock.unlock();
        subscriber->receive(std::static_pointer_cast<Subscription>(link));
    }

    void send(const Output& value) {
        std::vector<std::shared_ptr<Link>> targets;
        {
            std::lock_guard lock(mutex);
            if (finished)
                return;
            if (current)
                current = value;
            targets = links;
        }
        for (auto& link : targets)
            deliver(link, value);
    }
    void send(Subscribers::Completion completion) {
        std::vector<std::shared_ptr<Link>> targets;
        {
            std::lock_guard lock(mutex);
            if (finished)
                return;
            finished = true;
            targets = std::move(links);
            links.clear();
        }
        for (auto& link : targets)
            link->subscriber->receive(completion);
    }
    Output value() const {
        std::lock_guard lock(mutex);
        return *current;
    }

  private:
    void deliver(const std::shared_ptr<Link>& link, const Output& value) {
        {
            std::lock_guard lock(mutex);
            if (link->demand.value == 0 || !contains(link.get()))
                return;
            if (!link->demand.isUnlimited())
                --link->demand.value;
        }
        auto more = link->subscriber->receive(value);
        std::lock_guard lock(mutex);
        link->demand = link->demand + more;
    }
    void requested(Link* link, Subscribers::Demand d) {
        std::shared_ptr<Link> owed;
        std::optional<Output> value;
        {
            std::lock_guard lock(mutex);
            auto it = find(link);
            if (it == links.end())
                return;
            (*it)->demand = (*it)->demand + d;
            if ((*it)->primed && (*it)->demand.value > 0) {
                (*it)->primed = false;
                owed = *it;
                value = current;
            }
        }
        if (owed)
            deliver(owed, *value);
    }
    void remove(Link* link) {
        std::shared_ptr<Link> keep;
        std::lock_guard lock(mutex);
        auto it = find(link);
        if (it != links.end()) {
            keep = *it; // released after the lock
            links.erase(it);
        }
    }
    auto find(Link* link) {
        return std::find_if(links.begin(), links.end(),
                            [link](const auto& l) { return l.get() == link; });
    }
    bool contains(Link* link) { return find(link) != links.end(); }

    mutable std::mutex mutex;
    std::vector<std::shared_ptr<Link>> links;
    std::optional<Output> current;
    bool finished = false;
};

} // namespace CombineDetail

// Broadcasts what it is sent to the subscribers attached at that moment.
template <class Output>
class PassthroughSubject final : public PublisherOperators<PassthroughSubject<Output>, Output> {
  public:
    using OutputType = Output;
    using PublisherOperators<PassthroughSubject<Output>, Output>::receive; // receive(on:)
    PassthroughSubject() : core(std::make_shared<CombineDetail::SubjectCore<Output>>()) {}
    void send(const Output& value) const { core->send(value); }
    void send(Subscribers::Completion completion) const { core->send(completion); }
    void receive(std::shared_ptr<Subscriber<Output>> subscriber) const {
        core->receive(std::move(subscriber));
    }
    AnyPublisher<Output> eraseToAnyPublisher() const { return AnyPublisher<Output>(core); }

  private:
    std::shared_ptr<CombineDetail::SubjectCore<Output>> core;
};

// Holds a current value: a new subscriber gets it first, then every value sent.
template <class Output>
class CurrentValueSubject final : public PublisherOperators<CurrentValueSubject<Output>, Output> {
  public:
    using OutputType = Output;
    using PublisherOperators<CurrentValueSubject<Output>, Output>::receive; // receive(on:)
    explicit CurrentValueSubject(Output initial)
        : core(std::make_shared<CombineDetail::SubjectCore<Output>>(std::move(initial))) {}
    Output value() const { return core->value(); }
    // Stores the value and sends it.
    void setValue(const Output& v) const { core->send(v); }
    void send(const Output& v) const { core->send(v); }
    void send(Subscribers::Completion completion) const { core->send(completion); }
    void receive(std::shared_ptr<Subscriber<Output>> subscriber) const {
        core->receive(std::move(subscriber));
    }
    AnyPublisher<Output> eraseToAnyPublisher() const { return AnyPublisher<Output>(core); }

  private:
    std::shared_ptr<CombineDetail::SubjectCore<Output>> core;
};
