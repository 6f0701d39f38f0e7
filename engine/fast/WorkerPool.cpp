#include "engine/fast/WorkerPool.h"

#include <atomic>
#include <new>
#include <system_error>

#include "engine/OutOfMemory.h"
#include "sysutils/ThreadStart.h"

namespace engine::fast {
namespace {

std::atomic<std::int64_t> running{0};

std::mutex observerMutex;
WorkerPool::TaskObserver& taskObserver() {
    static WorkerPool::TaskObserver observer;
    return observer;
}

}  // namespace

std::int64_t WorkerPool::tasksRunning() { return running.load(); }

void WorkerPool::SetTaskObserver(TaskObserver observer) {
    std::lock_guard<std::mutex> lock(observerMutex);
    taskObserver() = std::move(observer);
}

unsigned WorkerPool::sizeFor(unsigned threads) {
    if (threads == 0) threads = std::thread::hardware_concurrency();
    return threads == 0 ? 1 : threads;
}

WorkerPool::WorkerPool(unsigned requested) {
    const unsigned threads = sizeFor(requested);
    try {
        workers_.reserve(threads - 1);
        for (unsigned thread = 1; thread < threads; ++thread)
            workers_.push_back(sysutils::startThread([this, thread] { workerLoop(thread); }));
    } catch (const std::system_error&) {
        // The threads that did start end before the pool's state goes.
        stop();
        throwOutOfMemory(outOfMemoryMessageB);
    } catch (const std::bad_alloc&) {
        stop();
        throwOutOfMemory(outOfMemoryMessageB);
    }
}

WorkerPool::~WorkerPool() { stop(); }

void WorkerPool::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

void WorkerPool::run(std::int64_t count, const Task& task) {
    if (count <= 0) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        task_ = &task;
        count_ = count;
        next_ = 0;
        finished_ = 0;
        failure_ = nullptr;
        ++generation_;
    }
    wake_.notify_all();
    drain(0);
    std::exception_ptr failure;
    bool givenUp = false;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return finished_ == count_ && busy_ == 0; });
        task_ = nullptr;
        failure = failure_;
        failure_ = nullptr;
        givenUp = givenUp_;
        givenUp_ = false;
    }
    if (failure) std::rethrow_exception(failure);
    if (givenUp) throw Abandoned{};
}

// Takes indices until none is left; after a failure, or once the run is given up, the
// remaining ones are skipped.
void WorkerPool::drain(unsigned thread) {
    TaskObserver observer;
    {
        std::lock_guard<std::mutex> observerLock(observerMutex);
        observer = taskObserver();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    ++busy_;
    while (next_ < count_) {
        const std::int64_t index = next_++;
        const Task* task = task_;
        bool skip = failure_ != nullptr || givenUp_;
        lock.unlock();
        const bool givingUp = !skip && abandoned_ && abandoned_();
        skip = skip || givingUp;
        if (!skip) {
            ++running;
            try {
                if (observer) observer(index, thread);
                (*task)(index, thread);
                --running;
            } catch (...) {
                --running;
                lock.lock();
                if (!failure_) failure_ = std::current_exception();
                lock.unlock();
            }
        }
        lock.lock();
        if (givingUp) givenUp_ = true;
        ++finished_;
    }
    --busy_;
    if (finished_ == count_ && busy_ == 0) done_.notify_all();
}

void WorkerPool::workerLoop(unsigned thread) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this, seen] { return stopping_ || (generation_ != seen && task_ != nullptr); });
            if (stopping_) return;
            seen = generation_;
        }
        drain(thread);
    }
}

}  // namespace engine::fast
