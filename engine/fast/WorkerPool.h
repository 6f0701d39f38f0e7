#pragma once
// A fixed set of threads that run the tasks of one parallel step together with the
// calling thread. run() returns when every task of the step is done, so the calling
// thread alone talks to the log and the status bar between steps, and the workers are
// idle while it does. The first exception that a task raises is raised again by run().
// A run that is given up (a cancelled execution) stops handing out tasks and run()
// raises Abandoned once the tasks already running are done.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace engine::fast {

class WorkerPool {
public:
    // `threads` counts the calling thread; 0 means one per core. When the system cannot
    // start them all, those that started end and the out-of-memory exception is raised.
    explicit WorkerPool(unsigned threads);
    ~WorkerPool();
    // The threads a pool asked for `threads` has: `threads`, or one per core for 0.
    static unsigned sizeFor(unsigned threads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned size() const { return static_cast<unsigned>(workers_.size()) + 1; }

    // Raised by run() when `abandoned` answered true: no failure, the run was given up.
    struct Abandoned {};
    // Asked before each task, on the thread that would run it; set before the first run.
    void setAbandoned(std::function<bool()> abandoned) { abandoned_ = std::move(abandoned); }

    // Runs task(index, thread) for every index in [0, count), `thread` in [0, size()) naming
    // the thread that runs it (for per-thread scratch space). Indices are handed out in
    // increasing order as threads become free.
    using Task = std::function<void(std::int64_t index, unsigned thread)>;
    void run(std::int64_t count, const Task& task);

    // Tasks running now, in every pool of the process: 0 whenever the calling thread of a
    // run talks to the window, so that holding it there holds the whole run.
    static std::int64_t tasksRunning();

    // Tests: called on the thread that runs it before each task that a step starts.
    using TaskObserver = std::function<void(std::int64_t index, unsigned thread)>;
    static void SetTaskObserver(TaskObserver observer);

private:
    void workerLoop(unsigned thread);
    // Ends and joins every thread that started.
    void stop();
    void drain(unsigned thread);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const Task* task_ = nullptr;
    std::int64_t count_ = 0;
    std::int64_t next_ = 0;
    std::int64_t finished_ = 0;
    unsigned busy_ = 0;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    bool givenUp_ = false;
    std::exception_ptr failure_;
    std::function<bool()> abandoned_;
};

}  // namespace engine::fast
