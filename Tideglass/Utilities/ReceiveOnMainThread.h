#pragma once
// A Combine operator that delivers a publisher's events on the main thread without
// an extra hop when they already arrive there: an event sent on the main thread
// reaches the subscriber before the send returns; one sent on another thread is
// queued on the main queue. Events that arrive on the main thread may therefore
// overtake events from other threads that are still queued.
//
//     receiveOnMainThread(subject.eraseToAnyPublisher()).sink(...)
//
// Thread: subscribe and cancel from any thread; the downstream sees every event on
// the main thread.

#include <memory>
#include <mutex>

#include "Combine/Combine.h"
#include "Dispatch/Dispatch.h"
#include "Runtime/Runtime.h"

namespace Publishers {

template <class Output> class ReceiveOnMainThread final : public Publisher<Output> {
  public:
    explicit ReceiveOnMainThread(std::shared_ptr<Publisher<Output>> upstream)
        : upstream(std::move(upstream)) {}

    // Subscribes a new inner subscriber, wrapping the given one, to the upstream.
    void receive(std::shared_ptr<Subscriber<Output>> subscriber) override {
        upstream->receive(std::make_shared<Inner>(std::move(subscriber)));
    }

    const std::shared_ptr<Publisher<Output>> upstream;

  private:
    // The upstream's subscriber and the downstream's subscription at once.
    class Inner final : public Subscriber<Output>,
                        public Subscription,
                        public std::enable_shared_from_this<Inner> {
      public:
        explicit Inner(std::shared_ptr<Subscriber<Output>> downstream)
            : downstream(std::move(downstream)) {}

        void receive(std::shared_ptr<Subscription> s) override {
            auto self = this->shared_from_this();
            onMainThread([self, s] {
                {
                    std::lock_guard lock(self->mutex);
                    self->subscription = s;
                }
                self->downstream->receive(std::static_pointer_cast<Subscription>(self));
            });
        }
        // The downstream's answer is not used: the upstream is asked for everything.
        Subscribers::Demand receive(const Output& input) override {
            auto self = this->shared_from_this();
            onMainThread([self, input] { self->downstream->receive(input); });
            return Subscribers::Demand::unlimited();
        }
        void receive(Subscribers::Completion completion) override {
            auto self = this->shared_from_this();
            onMainThread([self, completion] {
                {
                    // The upstream is done: let go of it (it holds this object).
                    std::lock_guard lock(self->mutex);
                    self->subscription.reset();
                }
                self->downstream->receive(completion);
            });
        }
        void request(Subscribers::Demand demand) override {
            auto self = this->shared_from_this();
            onMainThread([self, demand] {
                if (auto s = self->currentSubscription())
                    s->request(demand);
            });
        }
        void cancel() override {
            std::shared_ptr<Subscription> s;
            {
                std::lock_guard lock(mutex);
                s = std::move(subscription);
            }
            if (s)
                s->cancel();
        }

      private:
        // At once on the main thread; otherwise queued on the main queue.
        template <class F> static void onMainThread(F&& work) {
            if (Runtime::isMainThread())
                work();
            else
                DispatchQueue::main().async(std::forward<F>(work));
        }
        std::shared_ptr<Subscription> currentSubscription() {
            std::lock_guard lock(mutex);
            return subscription;
        }

        const std::shared_ptr<Subscriber<Output>> downstream;
        std::mutex mutex;
        std::shared_ptr<Subscription> subscription;
    };
};

} // namespace Publishers

// publisher.receiveOnMainThread(): any publisher handle (AnyPublisher, a subject).
template <class P> auto receiveOnMainThread(const P& publisher) {
    using Output = typename P::OutputType;
    return AnyPublisher<Output>(std::make_shared<Publishers::ReceiveOnMainThread<Output>>(
        publisher.eraseToAnyPublisher().publisher()));
}
