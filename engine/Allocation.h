#pragma once
// Allocation that reports running out of memory with a null result instead of an
// exception, as the engine's out-of-memory messages need. Tests make the n-th
// allocation fail through ScopedAllocationFailure.
#include <atomic>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace engine {

namespace detail {
// Allocations still allowed before an injected failure; negative: no injection.
inline std::atomic<long> allocationsBeforeFailure{-1};

inline bool allocationMayProceed() {
    long remaining = allocationsBeforeFailure.load(std::memory_order_relaxed);
    while (remaining >= 0) {
        if (remaining == 0) return false;
        if (allocationsBeforeFailure.compare_exchange_weak(remaining, remaining - 1)) return true;
    }
    return true;
}
}  // namespace detail

// An array of `count` value-initialised elements, or null when memory runs out.
// Element constructors may still throw (a list that cannot allocate its sentinels).
template <class T>
std::unique_ptr<T[]> tryAllocateArray(std::size_t count) {
    if (!detail::allocationMayProceed()) return nullptr;
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
}

// One object, or null when memory runs out.
template <class T, class... Arguments>
T* tryAllocateObject(Arguments&&... arguments) {
    if (!detail::allocationMayProceed()) return nullptr;
    return new (std::nothrow) T(std::forward<Arguments>(arguments)...);
}

// Lets `allocations` more allocations succeed, then makes every further one fail,
// until the object goes out of scope.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(long allocations) { detail::allocationsBeforeFailure.store(allocations); }
    ~ScopedAllocationFailure() { detail::allocationsBeforeFailure.store(-1); }
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};

}  // namespace engine
