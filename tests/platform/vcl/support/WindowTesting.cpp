#include "WindowTesting.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "vcl/TThread.h"
#include "vcl/WindowThread.h"

namespace window_testing {

bool waitFor(const std::function<bool()>& condition) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(60000);
    while (!condition()) {
        if (!deadline.isActive()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

HoldPointGate::HoldPointGate(std::function<bool(const std::string&)> matches) : state_(std::make_shared<State>()) {
    state_->matches = std::move(matches);
    vcl::TThread::SetHoldPointObserver([state = state_](vcl::TThread&, const std::string& where) {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->seen.push_back(where);
        if (state->used || !state->matches(where)) return;
        state->used = true;
        state->reached = true;
        // Wakes the window thread, which may be waiting for this moment.
        vcl::WindowThread::Post([](bool) {});
        state->released.wait(lock, [&state] { return state->open; });
    });
}

HoldPointGate::~HoldPointGate() {
    release();
    vcl::TThread::SetHoldPointObserver(nullptr);
}

bool HoldPointGate::reached() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->reached;
}

void HoldPointGate::release() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->open = true;
    state_->released.notify_all();
}

std::vector<std::string> HoldPointGate::seen() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->seen;
}

std::function<bool(const std::string&)> HoldPointGate::startsWith(const std::string& prefix) {
    return [prefix](const std::string& where) { return where.rfind(prefix, 0) == 0; };
}

}  // namespace window_testing
