#pragma once
// Helpers of the window tests: waiting on a condition while the window thread handles
// its events, and a gate that stops a worker at a chosen hold point until released.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace window_testing {

// Handles window events until `condition` holds; false after a minute without it (the
// caller fails). Every change a worker makes reaches the window thread as an event.
bool waitFor(const std::function<bool()>& condition);

// Installs the hold-point observer: the first hold point whose name `matches` stops
// the worker there until release(). Every name seen is recorded.
class HoldPointGate {
public:
    explicit HoldPointGate(std::function<bool(const std::string& where)> matches);
    ~HoldPointGate();
    HoldPointGate(const HoldPointGate&) = delete;
    HoldPointGate& operator=(const HoldPointGate&) = delete;

    bool reached() const;
    void release();
    std::vector<std::string> seen() const;

    static std::function<bool(const std::string&)> startsWith(const std::string& prefix);

private:
    struct State {
        mutable std::mutex mutex;
        std::condition_variable released;
        std::function<bool(const std::string&)> matches;
        bool used = false;
        bool reached = false;
        bool open = false;
        std::vector<std::string> seen;
    };
    std::shared_ptr<State> state_;
};

}  // namespace window_testing
