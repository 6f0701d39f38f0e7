#pragma once
// The time totals of the indices on the fast path. Each pass over the per-node landscapes
// is timed by the calling thread with the engine's millisecond clock; a pass that computes
// several indices at once splits its time among them in proportion to the time its threads
// spent on each, which they measure with a steady clock of their own.
#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace engine::fast {

// The time totals a pass may add to, in the order of the index computations.
enum class TimedIndex { NL, NC, HIIC, H, CCP, LCP, IIC, F, AWF, PC };
inline constexpr std::size_t timedIndexCount = 10;

class PassTiming {
public:
    explicit PassTiming(unsigned threads) : spent_(threads) {}

    // Time a thread spent on one index within the pass.
    class Measure {
    public:
        Measure(PassTiming& timing, unsigned thread, TimedIndex index)
            : slot_(timing.spent_[thread][static_cast<std::size_t>(index)]), start_(std::chrono::steady_clock::now()) {}
        ~Measure() { slot_ += (std::chrono::steady_clock::now() - start_).count(); }
        Measure(const Measure&) = delete;
        Measure& operator=(const Measure&) = delete;

    private:
        std::int64_t& slot_;
        std::chrono::steady_clock::time_point start_;
    };

    // Splits `milliseconds` of wall time among the indices in proportion to what the
    // threads measured; when they measured nothing it all goes to `fallback`.
    std::array<std::int64_t, timedIndexCount> split(std::int64_t milliseconds, TimedIndex fallback) const;

private:
    std::vector<std::array<std::int64_t, timedIndexCount>> spent_;
};

}  // namespace engine::fast
