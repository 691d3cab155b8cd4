#pragma once
// Internal to Metal: the device's worker threads. run() hands jobs 0...n-1 out to the
// workers and the calling thread, and returns when every job is done. Which thread runs
// which job varies; a job must not depend on it.
// Thread: run() from any thread, one run at a time (later callers wait).

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class MTLWorkerPool {
  public:
    // `threads` counts the calling thread: 1 runs everything on the caller.
    explicit MTLWorkerPool(unsigned threads);
    ~MTLWorkerPool();
    MTLWorkerPool(const MTLWorkerPool&) = delete;
    MTLWorkerPool& operator=(const MTLWorkerPool&) = delete;

    unsigned threadCount() const { return unsigned(workers.size()) + 1; }
    void run(size_t jobs, const std::function<void(size_t)>& job);

  private:
    void work();
    void take(const std::function<void(size_t)>& job, size_t jobs);

    std::vector<std::thread> workers;
    std::mutex runLock; // one run at a time
    std::mutex lock;
    std::condition_variable wake, finished;
    const std::function<void(size_t)>* current = nullptr;
    size_t jobCount = 0;
    std::atomic<size_t> next{0};
    unsigned long generation = 0;
    unsigned busy = 0;
    bool stopping = false;
};
