#include "engine/fast/PassTiming.h"

namespace engine::fast {

std::array<std::int64_t, timedIndexCount> PassTiming::split(std::int64_t milliseconds, TimedIndex fallback) const {
    std::array<long double, timedIndexCount> spent{};
    long double total = 0;
    for (const auto& thread : spent_) {
        for (std::size_t index = 0; index < timedIndexCount; ++index) {
            spent[index] += static_cast<long double>(thread[index]);
            total += static_cast<long double>(thread[index]);
        }
    }
    std::array<std::int64_t, timedIndexCount> shares{};
    if (total <= 0) {
        shares[static_cast<std::size_t>(fallback)] = milliseconds;
        return shares;
    }
    // Whole milliseconds by proportion; what truncation leaves over goes to the largest share.
    std::int64_t given = 0;
    std::size_t largest = 0;
    for (std::size_t index = 0; index < timedIndexCount; ++index) {
        shares[index] = static_cast<std::int64_t>(static_cast<long double>(milliseconds) * spent[index] / total);
        given += shares[index];
        if (spent[index] > spent[largest]) largest = index;
    }
    shares[largest] += milliseconds - given;
    return shares;
}

}  // namespace engine::fast
