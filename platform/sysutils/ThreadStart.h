#pragma once
// Starts a thread as std::thread does, raising std::system_error when the system cannot
// create one (too many threads, no memory for a stack). Every thread of the program
// starts here, so that tests can make the n-th start fail (ScopedThreadStartFailure).
#include <system_error>
#include <thread>
#include <utility>

namespace sysutils {

namespace detail {
// False when a test makes this start fail.
bool threadStartMayProceed();
}  // namespace detail

template <class Function>
std::thread startThread(Function&& function) {
    if (!detail::threadStartMayProceed())
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "cannot start a thread");
    return std::thread(std::forward<Function>(function));
}

// Lets `starts` more thread starts succeed, then makes every further one fail, until the
// object goes out of scope.
class ScopedThreadStartFailure {
public:
    explicit ScopedThreadStartFailure(long starts);
    ~ScopedThreadStartFailure();
    ScopedThreadStartFailure(const ScopedThreadStartFailure&) = delete;
    ScopedThreadStartFailure& operator=(const ScopedThreadStartFailure&) = delete;
};

}  // namespace sysutils
