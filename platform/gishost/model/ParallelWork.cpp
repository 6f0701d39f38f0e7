#include "gishost/model/ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace gishost::model {
namespace {

class Pool {
public:
    Pool() {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned k = 1; k < cores; ++k) {
            try {
                workers_.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break;  // fewer threads than cores: the work still gets done
            }
        }
    }
    ~Pool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    unsigned threads() const { return static_cast<unsigned>(workers_.size()) + 1; }

    void run(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work) {
        if (count == 0) return;
        // One range at a time: a second caller waits for the pool.
        std::lock_guard running(runMutex_);
        const std::size_t parts = std::min<std::size_t>(count, static_cast<std::size_t>(threads()) * 16);
        {
            std::lock_guard lock(mutex_);
            work_ = &work;
            count_ = count;
            parts_ = parts;
            nextPart_ = 0;
            unfinished_ = parts;
            failure_ = nullptr;
            ++generation_;
        }
        wake_.notify_all();
        doParts();
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return unfinished_ == 0; });
        work_ = nullptr;
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    void serve() {
        std::uint64_t seen = 0;
        while (true) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || (generation_ != seen && work_ != nullptr); });
                if (stopping_) return;
                seen = generation_;
            }
            doParts();
        }
    }

    // Takes parts until none is left.
    void doParts() {
        while (true) {
            std::size_t part = 0;
            const std::function<void(std::size_t, std::size_t)>* work = nullptr;
            std::size_t count = 0;
            std::size_t parts = 0;
            {
                std::lock_guard lock(mutex_);
                if (work_ == nullptr || nextPart_ >= parts_) return;
                part = nextPart_++;
                work = work_;
                count = count_;
                parts = parts_;
            }
            const std::size_t begin = count * part / parts;
            const std::size_t end = count * (part + 1) / parts;
            std::exception_ptr failure;
            try {
                (*work)(begin, end);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex_);
            if (failure && !failure_) failure_ = failure;
            if (--unfinished_ == 0) done_.notify_all();
        }
    }

    std::vector<std::thread> workers_;
    std::mutex runMutex_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(std::size_t, std::size_t)>* work_ = nullptr;
    std::size_t count_ = 0;
    std::size_t parts_ = 0;
    std::size_t nextPart_ = 0;
    std::size_t unfinished_ = 0;
    std::uint64_t generation_ = 0;
    std::exception_ptr failure_;
    bool stopping_ = false;
};

Pool& pool() {
    static Pool instance;
    return instance;
}

}  // namespace

void parallelFor(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work) {
    pool().run(count, work);
}

unsigned parallelThreads() { return pool().threads(); }

}  // namespace gishost::model
