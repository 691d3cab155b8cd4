#include "MTLWorkerPool.h"

MTLWorkerPool::MTLWorkerPool(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i)
        workers.emplace_back([this] { work(); });
}

MTLWorkerPool::~MTLWorkerPool() {
    {
        std::lock_guard guard(lock);
        stopping = true;
    }
    wake.notify_all();
    for (auto& t : workers)
        t.join();
}

void MTLWorkerPool::take(const std::function<void(size_t)>& job, size_t jobs) {
    for (size_t i = next.fetch_add(1); i < jobs; i = next.fetch_add(1))
        job(i);
}

void MTLWorkerPool::run(size_t jobs, const std::function<void(size_t)>& job) {
    if (jobs == 0)
        return;
    std::lock_guard serial(runLock);
    if (workers.empty() || jobs == 1) {
        for (size_t i = 0; i < jobs; ++i)
            job(i);
        return;
    }
    {
        std::lock_guard guard(lock);
        current = &job;
        jobCount = jobs;
        next.store(0);
        busy = unsigned(workers.size());
        ++generation;
    }
    wake.notify_all();
    take(job, jobs);
    std::unique_lock guard(lock);
    finished.wait(guard, [this] { return busy == 0; });
    current = nullptr;
}

void MTLWorkerPool::work() {
    unsigned long seen = 0;
    std::unique_lock guard(lock);
    for (;;) {
        wake.wait(guard, [&] { return stopping || generation != seen; });
        if (stopping)
            return;
        seen = generation;
        const auto* job = current;
        size_t jobs = jobCount;
        guard.unlock();
        take(*job, jobs);
        guard.lock();
        if (--busy == 0)
            finished.notify_one();
    }
}
