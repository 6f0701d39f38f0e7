#include "sysutils/ThreadStart.h"

#include <atomic>

namespace sysutils {
namespace {

// Starts still allowed before an injected failure; negative: no injection.
std::atomic<long> startsBeforeFailure{-1};

}  // namespace

bool detail::threadStartMayProceed() {
    long remaining = startsBeforeFailure.load();
    while (remaining >= 0) {
        if (remaining == 0) return false;
        if (startsBeforeFailure.compare_exchange_weak(remaining, remaining - 1)) return true;
    }
    return true;
}

ScopedThreadStartFailure::ScopedThreadStartFailure(long starts) { startsBeforeFailure.store(starts); }
ScopedThreadStartFailure::~ScopedThreadStartFailure() { startsBeforeFailure.store(-1); }

}  // namespace sysutils
