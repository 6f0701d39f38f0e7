#include "vcl/TThread.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "sysutils/ThreadStart.h"
#include "vcl/WindowThread.h"

namespace vcl {

// The state that the thread, the window thread and queued calls share; queued calls
// hold it, so it outlives a thread object that was deleted meanwhile.
struct TThread::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    bool started = false;
    bool finished = false;
    bool holdRequested = false;
    bool terminated = false;
    bool parked = false;
    bool waitingForWindow = false;
    bool disposed = false;  // deletes itself when it ends
    std::function<void()> onHeld;
};

namespace {

thread_local TThread* currentThread = nullptr;

struct Registry {
    std::mutex mutex;
    std::vector<TThread*> live;  // every thread object in existence
    TThread::HoldPointObserver observer;
};

// The end of a terminated thread, raised at its hold point and caught only by run().
struct Ended {};

// Never destroyed, so that threads that end after the program's static objects still
// find it.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

struct Request {
    bool done = false;
    std::exception_ptr error;
};

}  // namespace

TThread::TThread(bool createSuspended) : shared_(std::make_shared<Shared>()), createSuspended_(createSuspended) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().live.push_back(this);
}

TThread::~TThread() {
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto& live = registry().live;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TThread::AfterConstruction() {
    if (!createSuspended_) start();
}

void TThread::start() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        if (shared_->started) return;
        shared_->started = true;
    }
    try {
        thread_ = sysutils::startThread([this] { run(); });
    } catch (...) {
        // Never started: it may be deleted, and a later Resume may try again.
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->started = false;
        throw;
    }
}

void TThread::run() {
    currentThread = this;
    try {
        Execute();
    } catch (...) {
        // An exception that leaves Execute ends the thread, the end of a terminated one too.
    }
    bool deleteItself = false;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->finished = true;
        deleteItself = shared_->disposed;
        shared_->changed.notify_all();
    }
    // Disposed while live: nobody else holds it any more, and it was detached.
    if (deleteItself) delete this;
    // Wakes the window thread, which may be waiting for this end (touches no member).
    WindowThread::Post([](bool) {});
}

void TThread::Resume() {
    bool startNow = false;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        startNow = !shared_->started;
        shared_->holdRequested = false;
        shared_->changed.notify_all();
    }
    if (startNow) start();
}

void TThread::Suspend() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->holdRequested = true;
}

void TThread::Terminate() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->terminated = true;
    shared_->changed.notify_all();
}

bool TThread::Terminated() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->terminated;
}

bool TThread::Finished() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->finished;
}

bool TThread::Held() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->parked;
}

void TThread::WaitUntilStill() const {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->changed.wait(lock, [this] {
        return !shared_->started || shared_->finished || shared_->parked || shared_->waitingForWindow;
    });
}

void TThread::SetOnHeld(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->onHeld = std::move(handler);
}

TThread* TThread::Current() { return currentThread; }

void TThread::SetHoldPointObserver(HoldPointObserver observer) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().observer = std::move(observer);
}

void TThread::HoldPoint(const std::string& where) {
    HoldPointObserver observer;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        observer = registry().observer;
    }
    if (observer) observer(*this, where);

    std::unique_lock<std::mutex> lock(shared_->mutex);
    if (shared_->terminated) throw Ended{};
    if (!shared_->holdRequested) return;
    shared_->parked = true;
    shared_->changed.notify_all();
    // Tells the window thread (and wakes it): the held handler runs unless terminated.
    WindowThread::Post([shared = shared_](bool run) {
        if (!run) return;
        std::function<void()> handler;
        {
            std::lock_guard<std::mutex> guard(shared->mutex);
            if (shared->terminated) return;
            handler = shared->onHeld;
        }
        if (handler) handler();
    });
    shared_->changed.wait(lock, [this] { return !shared_->holdRequested || shared_->terminated; });
    shared_->parked = false;
    if (shared_->terminated) throw Ended{};
}

void TThread::Synchronize(const std::function<void()>& call, const std::string& where) {
    if (WindowThread::IsCurrent()) {
        call();
        return;
    }
    HoldPoint(where);
    auto request = std::make_shared<Request>();
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->waitingForWindow = true;
        shared_->changed.notify_all();
    }
    // `call` lives on this thread's stack until the request is done, run or dropped.
    WindowThread::Post([shared = shared_, request, &call](bool run) {
        bool terminated = false;
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            terminated = shared->terminated;
        }
        std::exception_ptr error;
        if (run && !terminated) {
            try {
                call();
            } catch (...) {
                error = std::current_exception();
            }
        }
        std::lock_guard<std::mutex> lock(shared->mutex);
        request->error = error;
        request->done = true;
        shared->changed.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(shared_->mutex);
        shared_->changed.wait(lock, [&request] { return request->done; });
        shared_->waitingForWindow = false;
    }
    HoldPoint();
    if (request->error) std::rethrow_exception(request->error);
}

void TThread::Dispose(TThread* thread) {
    if (thread == nullptr) return;
    {
        std::lock_guard<std::mutex> lock(thread->shared_->mutex);
        if (thread->shared_->started && !thread->shared_->finished) {
            // From here on the thread deletes itself when it ends; it must not be touched.
            thread->shared_->terminated = true;
            thread->shared_->disposed = true;
            thread->thread_.detach();
            thread->shared_->changed.notify_all();
            return;
        }
    }
    delete thread;
}

void TThread::TerminateAll() {
    // Under the registry's lock, so that no thread deletes itself meanwhile.
    std::lock_guard<std::mutex> lock(registry().mutex);
    for (TThread* thread : registry().live) thread->Terminate();
}

std::size_t TThread::Existing() {
    std::lock_guard<std::mutex> lock(registry().mutex);
    return registry().live.size();
}

bool TThread::AnyBusy() {
    std::lock_guard<std::mutex> lock(registry().mutex);
    for (TThread* thread : registry().live) {
        std::lock_guard<std::mutex> guard(thread->shared_->mutex);
        const Shared& s = *thread->shared_;
        if (s.started && !s.finished && !s.parked && !s.waitingForWindow) return true;
    }
    return false;
}

}  // namespace vcl
