#include "Dispatch/DispatchSourceTimer.h"

#include <mutex>

struct DispatchSourceTimer::State {
    explicit State(DispatchQueue& q) : queue(q) {}
    DispatchQueue& queue;
    std::mutex mutex;
    DispatchTime deadline;
    TimeInterval interval = 0;
    std::shared_ptr<std::function<void()>> handler;
    bool resumed = false;
    bool cancelled = false;

    // Queues the next firing. Ticks hold the state weakly: a released source stops.
    static void arm(const std::shared_ptr<State>& state, DispatchTime when) {
        std::weak_ptr<State> weak = state;
        state->queue.asyncAfter(when, [weak] { fire(weak); });
    }

    static void fire(const std::weak_ptr<State>& weak) {
        auto state = weak.lock();
        if (!state)
            return;
        std::shared_ptr<std::function<void()>> run;
        {
            std::lock_guard lock(state->mutex);
            if (state->cancelled)
                return;
            run = state->handler;
        }
        if (run && *run)
            (*run)();
        std::lock_guard lock(state->mutex);
        // The next deadline counts from now: on a frozen test clock a global queue
        // still waits one interval per firing.
        if (!state->cancelled && state->interval > 0)
            arm(state, DispatchTime::now() + state->interval);
    }
};

DispatchSourceTimer::DispatchSourceTimer(DispatchQueue& queue)
    : state(std::make_shared<State>(queue)) {}

DispatchSourceTimer::~DispatchSourceTimer() {
    cancel();
}

std::shared_ptr<DispatchSourceTimer> DispatchSourceTimer::make(DispatchQueue& queue) {
    return std::shared_ptr<DispatchSourceTimer>(new DispatchSourceTimer(queue));
}

void DispatchSourceTimer::schedule(DispatchTime deadline, TimeInterval repeating, TimeInterval) {
    std::lock_guard lock(state->mutex);
    state->deadline = deadline;
    state->interval = repeating;
}

void DispatchSourceTimer::setEventHandler(std::function<void()> handler) {
    std::lock_guard lock(state->mutex);
    state->handler = std::make_shared<std::function<void()>>(std::move(handler));
}

void DispatchSourceTimer::resume() {
    std::lock_guard lock(state->mutex);
    if (state->resumed || state->cancelled)
        return;
    state->resumed = true;
    State::arm(state, state->deadline);
}

void DispatchSourceTimer::cancel() {
    std::lock_guard lock(state->mutex);
    state->cancelled = true;
}

bool DispatchSourceTimer::isCancelled() const {
    std::lock_guard lock(state->mutex);
    return state->cancelled;
}
