#include "Dispatch/Dispatch.h"

#include "Foundation/RunLoop.h"
#include "Runtime/Runtime.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <queue>
#include <stdexcept>
#include <thread>
#include <vector>

DispatchTime DispatchTime::now() {
    return DispatchTime{RunLoop::main().now()};
}

namespace {

// Shared by the waiting caller and the queued work of a synchronous call.
struct SyncState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool dropped = false;
    std::exception_ptr error;

    void finish(bool ran) {
        std::lock_guard lock(mutex);
        if (done)
            return;
        done = true;
        dropped = !ran;
        finished.notify_all();
    }
};

// Lives inside the queued work: if the work is destroyed unrun, the waiter wakes.
struct SyncGuard {
    explicit SyncGuard(std::shared_ptr<SyncState> s) : state(std::move(s)) {}
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;
    ~SyncGuard() { state->finish(false); }
    std::shared_ptr<SyncState> state;
};

void runCapturing(const std::function<void()>& work, std::exception_ptr& error) {
    try {
        work();
    } catch (...) {
        error = std::current_exception();
    }
}

// Hands work to another thread and waits; `post` queues the given task.
void postAndWait(const std::function<void()>& work,
                 const std::function<void(std::function<void()>)>& post) {
    auto state = std::make_shared<SyncState>();
    auto guard = std::make_shared<SyncGuard>(state);
    post([guard, &work] {
        std::exception_ptr error;
        runCapturing(work, error);
        guard->state->error = error;
        guard->state->finish(true);
    });
    guard.reset();
    std::unique_lock lock(state->mutex);
    state->finished.wait(lock, [&] { return state->done; });
    if (state->dropped)
        throw std::runtime_error("DispatchQueue::sync: the work was dropped before it ran");
    if (state->error)
        std::rethrow_exception(state->error);
}

class MainQueue final : public DispatchQueue {
  public:
    MainQueue() : DispatchQueue("main", true) {}
    void async(std::function<void()> work) override { RunLoop::main().perform(std::move(work)); }
    void asyncAfter(DispatchTime deadline, std::function<void()> work) override {
        if (!work)
            return;
        RunLoop& loop = RunLoop::main();
        auto timer = Timer::withInterval(deadline.seconds - loop.now(), false,
                                         [work = std::move(work)](Timer&) { work(); });
        timer->setFireDate(Date{deadline.seconds});
        loop.add(timer, RunLoop::Mode::common);
    }

  protected:
    void runAndWait(const std::function<void()>& work) override {
        if (Runtime::isMainThread()) {
            work();
            return;
        }
        postAndWait(work,
                    [](std::function<void()> task) { RunLoop::main().perform(std::move(task)); });
    }
};

// The threads behind every global queue. Never destroyed: workers may still run
// while the process exits.
class ThreadPool {
  public:
    static ThreadPool& shared() {
        static ThreadPool* pool = new ThreadPool();
        return *pool;
    }

    void submit(std::function<void()> work) {
        std::lock_guard lock(mutex);
        ready.push_back(std::move(work));
        wake.notify_one();
    }

    void submitAfter(std::chrono::steady_clock::time_point when, std::function<void()> work) {
        std::lock_guard lock(mutex);
        delayed.push({when, order++, std::move(work)});
        wake.notify_all();
    }

  private:
    struct Delayed {
        std::chrono::steady_clock::time_point when;
        unsigned long long order;
        std::function<void()> work;
        bool operator>(const Delayed& other) const {
            return when != other.when ? when > other.when : order > other.order;
        }
    };

    ThreadPool() {
        unsigned count = std::clamp(std::thread::hardware_concurrency(), 2u, 4u);
        for (unsigned i = 0; i < count; ++i)
            std::thread([this] { workLoop(); }).detach();
    }

    void workLoop() {
        std::unique_lock lock(mutex);
        for (;;) {
            auto now = std::chrono::steady_clock::now();
            while (!delayed.empty() && delayed.top().when <= now) {
                ready.push_back(std::move(const_cast<Delayed&>(delayed.top()).work));
                delayed.pop();
            }
            if (!ready.empty()) {
                auto work = std::move(ready.front());
                ready.pop_front();
                lock.unlock();
                work();
                work = nullptr; // captures die outside the lock
                lock.lock();
                continue;
            }
            if (delayed.empty())
                wake.wait(lock);
            else {
                // A copy: while this thread waits, a push may reallocate the queue's
                // storage, and wait_until keeps reading the time it was given.
                const auto next = delayed.top().when;
                wake.wait_until(lock, next);
            }
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> ready;
    std::priority_queue<Delayed, std::vector<Delayed>, std::greater<>> delayed;
    unsigned long long order = 0;
};

class GlobalQueue final : public DispatchQueue {
  public:
    explicit GlobalQueue(std::string label) : DispatchQueue(std::move(label), false) {}
    void async(std::function<void()> work) override {
        if (work)
            ThreadPool::shared().submit(std::move(work));
    }
    void asyncAfter(DispatchTime deadline, std::function<void()> work) override {
        if (!work)
            return;
        auto delay = std::chrono::duration<double>(
            std::max(0.0, deadline.seconds - DispatchTime::now().seconds));
        ThreadPool::shared().submitAfter(
            std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(delay),
            std::move(work));
    }

  protected:
    // A concurrent queue may run synchronous work on the caller's thread, but a
    // caller on the main thread expects to leave it: hand that work to the pool.
    void runAndWait(const std::function<void()>& work) override {
        if (!Runtime::isMainThread()) {
            work();
            return;
        }
        postAndWait(
            work, [](std::function<void()> task) { ThreadPool::shared().submit(std::move(task)); });
    }
};

} // namespace

DispatchQueue& DispatchQueue::main() {
    static MainQueue* queue = new MainQueue();
    return *queue;
}

DispatchQueue& DispatchQueue::global(DispatchQoS qos) {
    static GlobalQueue* queues[] = {
        new GlobalQueue("global.userInteractive"), new GlobalQueue("global.userInitiated"),
        new GlobalQueue("global.default"), new GlobalQueue("global.utility"),
        new GlobalQueue("global.background")};
    return *queues[static_cast<int>(qos)];
}

void dispatchPrecondition(DispatchPredicate predicate) {
    bool onMain = Runtime::isMainThread();
    if (predicate == DispatchPredicate::onMainQueue && !onMain)
        fatalError("dispatchPrecondition: expected to run on the main queue");
    if (predicate == DispatchPredicate::notOnMainQueue && onMain)
        fatalError("dispatchPrecondition: expected to run off the main queue");
}

namespace MainActor {

bool isCurrent() {
    return Runtime::isMainThread();
}

void assertIsolated(std::string_view what) {
    Runtime::assertMainThread(what);
}

void run(std::function<void()> work) {
    DispatchQueue::main().async(std::move(work));
}

} // namespace MainActor

struct Task::State {
    mutable std::mutex mutex;
    mutable std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;
};

std::function<void()> Task::body(const std::shared_ptr<State>& state, std::function<void()> work) {
    return [state, work = std::move(work)] {
        std::exception_ptr error;
        if (work)
            runCapturing(work, error);
        std::lock_guard lock(state->mutex);
        state->error = error;
        state->done = true;
        state->finished.notify_all();
    };
}

Task Task::detached(std::function<void()> work) {
    auto state = std::make_shared<State>();
    DispatchQueue::global().async(body(state, std::move(work)));
    return Task(state);
}

Task Task::onMainActor(std::function<void()> work) {
    auto state = std::make_shared<State>();
    DispatchQueue::main().async(body(state, std::move(work)));
    return Task(state);
}

bool Task::isFinished() const {
    std::lock_guard lock(state->mutex);
    return state->done;
}

void Task::wait() const {
    std::unique_lock lock(state->mutex);
    state->finished.wait(lock, [&] { return state->done; });
    if (state->error)
        std::rethrow_exception(state->error);
}
