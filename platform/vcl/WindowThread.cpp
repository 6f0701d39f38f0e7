#include "vcl/WindowThread.h"

#include <deque>
#include <mutex>
#include <thread>

#include <QSocketNotifier>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vcl::WindowThread {
namespace {

struct Queue {
    std::mutex mutex;
    std::deque<QueuedCall> calls;
    bool accepting = false;
    bool initialized = false;
    std::thread::id windowThread;
    int eventDescriptor = -1;
    QSocketNotifier* notifier = nullptr;
};

// Never destroyed: worker threads may still post while the program ends.
Queue& queue() {
    static Queue* instance = new Queue;
    return *instance;
}

void wakeWindowThread(int descriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(descriptor, &one, sizeof one);
}

void drain() {
    Queue& q = queue();
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(q.eventDescriptor, &count, sizeof count);
    for (;;) {
        QueuedCall call;
        {
            std::lock_guard<std::mutex> lock(q.mutex);
            if (q.calls.empty() || !q.accepting) return;
            call = std::move(q.calls.front());
            q.calls.pop_front();
        }
        call(true);
    }
}

}  // namespace

void Initialize() {
    Queue& q = queue();
    std::lock_guard<std::mutex> lock(q.mutex);
    if (q.initialized) {
        q.accepting = true;  // a new application after an earlier one ended (tests)
        return;
    }
    q.eventDescriptor = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    q.notifier = new QSocketNotifier(q.eventDescriptor, QSocketNotifier::Read);
    QObject::connect(q.notifier, &QSocketNotifier::activated, q.notifier, [] { drain(); });
    q.windowThread = std::this_thread::get_id();
    q.accepting = true;
    q.initialized = true;
}

bool IsInitialized() {
    Queue& q = queue();
    std::lock_guard<std::mutex> lock(q.mutex);
    return q.initialized;
}

bool IsCurrent() {
    Queue& q = queue();
    std::lock_guard<std::mutex> lock(q.mutex);
    return !q.initialized || q.windowThread == std::this_thread::get_id();
}

void Post(QueuedCall call) {
    Queue& q = queue();
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        if (q.accepting) {
            q.calls.push_back(std::move(call));
            wakeWindowThread(q.eventDescriptor);
            return;
        }
    }
    call(false);
}

void Shutdown() {
    Queue& q = queue();
    std::deque<QueuedCall> dropped;
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        q.accepting = false;
        dropped.swap(q.calls);
    }
    for (QueuedCall& call : dropped) call(false);
}

}  // namespace vcl::WindowThread
