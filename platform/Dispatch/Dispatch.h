#pragma once
// Dispatch: work queues. The main queue feeds the main run loop (its tasks run
// when the main thread runs the loop, in every run-loop mode); the global queues
// share one small pool of real threads. Also the main-queue checks, a main-actor
// hop and a minimal Task.
//
// Thread: every member may be called from any thread unless it says otherwise.

#include "Foundation/Date.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// A point on the main run loop's clock (a test clock in tests).
struct DispatchTime {
    TimeInterval seconds = 0;
    static DispatchTime now();
    friend DispatchTime operator+(DispatchTime t, TimeInterval delay) {
        return DispatchTime{t.seconds + delay};
    }
};

enum class DispatchQoS { userInteractive, userInitiated, defaultQoS, utility, background };

class DispatchQueue {
  public:
    static DispatchQueue& main();
    // Every quality of service shares one pool of threads; tasks start in the
    // order they were queued and may run concurrently.
    static DispatchQueue& global(DispatchQoS qos = DispatchQoS::defaultQoS);

    virtual ~DispatchQueue() = default;
    const std::string& label() const { return name; }
    bool isMain() const { return main_; }

    // Queues work and returns at once (also on the main thread: the work never
    // runs inside this call).
    virtual void async(std::function<void()> work) = 0;
    // Queues work to start no earlier than `deadline`. The main queue waits on the
    // run loop's clock (a test moves it); global queues wait in real time.
    virtual void asyncAfter(DispatchTime deadline, std::function<void()> work) = 0;

    // Runs work on the queue and waits for it; returns its result and rethrows its
    // exception on the calling thread. On the main queue from the main thread the
    // work runs at once (no self-deadlock); from another thread the caller waits
    // until the main thread runs its loop. If the work is dropped unrun (the run
    // loop's cancelAllWork), the caller gets std::runtime_error instead of waiting
    // for ever.
    template <class F> auto sync(F&& work) -> std::invoke_result_t<F&> {
        using R = std::invoke_result_t<F&>;
        if constexpr (std::is_void_v<R>) {
            runAndWait([&] { work(); });
        } else {
            std::optional<R> result;
            runAndWait([&] { result.emplace(work()); });
            return std::move(*result);
        }
    }

  protected:
    DispatchQueue(std::string label, bool isMain) : name(std::move(label)), main_(isMain) {}
    virtual void runAndWait(const std::function<void()>& work) = 0;

  private:
    std::string name;
    bool main_;
};

enum class DispatchPredicate { onMainQueue, notOnMainQueue };
// Ends the program when the calling thread does not satisfy the predicate.
void dispatchPrecondition(DispatchPredicate predicate);

// The main actor: the main thread and the work the main queue runs there.
namespace MainActor {
bool isCurrent();
// Ends the program off the main thread; `what` names the caller in the message.
void assertIsolated(std::string_view what);
// Hops to the main actor: the work is queued on the main queue, always
// asynchronously, also when called on the main thread.
void run(std::function<void()> work);
} // namespace MainActor

// A unit of asynchronous work with a handle to wait for it.
class Task {
  public:
    // Runs off the main thread, on a global queue (not bound to any actor).
    static Task detached(std::function<void()> work);
    // Runs on the main actor (queued on the main queue).
    static Task onMainActor(std::function<void()> work);

    bool isFinished() const;
    // Blocks until the work has run and rethrows its exception. Waiting on the
    // main thread for a main-actor task would block for ever: run the loop instead
    // (RunLoop::runUntil with isFinished).
    void wait() const;

  private:
    struct State;
    explicit Task(std::shared_ptr<State> state) : state(std::move(state)) {}
    static std::function<void()> body(const std::shared_ptr<State>& state,
                                      std::function<void()> work);
    std::shared_ptr<State> state;
};
