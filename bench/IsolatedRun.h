#pragma once
// Runs a measurement in a child process, so that each gets its own peak memory: the child
// writes a fixed-size record back through a pipe and the parent reads the child's peak
// resident size when it ends.
#include <cstdint>
#include <functional>
#include <optional>

namespace bench {

struct Measurement {
    double readSeconds = 0;     // checkParameters and readInputs
    double processSeconds = 0;  // process, measured or estimated
    bool estimated = false;     // processSeconds extrapolated from a sample
    std::uint64_t digest = 0;   // of the results (0 when not all were computed)
    std::int64_t links = 0;
    // The memory benchmark's figures: the run's resident size when its inputs were about to
    // be read, the estimate that the input step checked, the estimate of the whole run on
    // the path it took, and that path.
    std::int64_t residentAtStartKilobytes = 0;
    std::uint64_t estimateBeforeReading = 0;
    std::uint64_t estimate = 0;
    int path = 0;
};

struct IsolatedResult {
    Measurement measurement;
    std::int64_t peakKilobytes = 0;
};

// Empty when the child failed.
std::optional<IsolatedResult> runIsolated(const std::function<Measurement()>& measure);

}  // namespace bench
