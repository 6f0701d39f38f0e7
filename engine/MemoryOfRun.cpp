// The run's memory: its shape for the estimate, the pairs that its processing turns into
// links and graph entries, and the two checks against the memory available (before the
// inputs are allocated, and before the processing step allocates on the path it takes).
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "engine/OutOfMemory.h"
#include "engine/fast/FastInputs.h"
#include "engine/fast/FastProcessing.h"
#include "engine/fast/WorkerPool.h"
#include "engine/tamblorProgram.h"

namespace engine {
namespace {

// The largest float q >= 0 at which keep(q) holds, for a keep that holds at 0 and, once
// false, stays false as q grows; -1 when it does not hold at 0.
template <class Keep>
float largestKept(Keep keep) {
    if (!keep(0.0f)) return -1.0f;
    std::uint32_t low = 0;
    std::uint32_t high = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::infinity());
    if (keep(std::bit_cast<float>(high))) return std::bit_cast<float>(high);
    while (high - low > 1) {
        const std::uint32_t middle = low + (high - low) / 2;
        (keep(std::bit_cast<float>(middle)) ? low : high) = middle;
    }
    return std::bit_cast<float>(low);
}

// Which pairs a direct probability keeps: not 0 (F, AWF), and above PC's threshold for
// its direct connections. A distance's probability exp(k q) does not grow with q when
// k <= 0, so for distances from 0 up the two tests are comparisons with the largest
// distance that each keeps; any other value is computed.
class ProbabilityTests {
public:
    ProbabilityTests(bool isDistances, float probability, float distance, float pathThreshold)
        : isDistances_(isDistances), pathThreshold_(pathThreshold) {
        if (!isDistances) return;
        k_ = distanceDecay(probability, distance);
        monotone_ = std::isfinite(k_) && k_ <= 0.0f;
        if (!monotone_) return;
        largestProbable_ = largestKept([this](float q) { return directProbabilityOfDistance(k_, q) != 0.0f; });
        largestPath_ = largestKept([this](float q) { return directProbabilityOfDistance(k_, q) > pathThreshold_; });
    }
    void count(float q, std::int64_t& probable, std::int64_t& path) const {
        if (isDistances_ && monotone_ && q >= 0.0f) {
            probable += q <= largestProbable_;
            path += q <= largestPath_;
            return;
        }
        const float p = isDistances_ ? directProbabilityOfDistance(k_, q) : q;
        probable += p != 0.0f;
        path += p > pathThreshold_;
    }

private:
    bool isDistances_;
    float pathThreshold_;
    float k_ = 0.0f;
    bool monotone_ = false;
    float largestProbable_ = -1.0f;
    float largestPath_ = -1.0f;
};

}  // namespace

void tamblorProgram::countConnections() {
    ConnectionCounts counts;
    const ConnectionType type = connectionType();
    const bool probabilities = anyProbabilistic && (isDistances || isProbabilities);
    // PC's direct connections: p > minProbability when its search is pruned, p > 0 otherwise.
    const float pathThreshold = !allPaths && minProbability != 0.0f ? minProbability : 0.0f;
    const ProbabilityTests tests(isDistances, probability, distance, pathThreshold);
    for (std::int32_t i = 0; i < nNodes && connections; ++i) {
        const float* row = connections[static_cast<std::size_t>(i)].get();
        if (row == nullptr) continue;
        for (std::int32_t j = 0; j < i; ++j) {
            if (anyBinary) counts.links += linkTest(row[j], threshold, type);
            if (probabilities) tests.count(row[j], counts.probablePairs, counts.pathPairs);
        }
    }
    for (std::int32_t c = 0; c < nAddedNodes && addedConnections; ++c) {
        const float* row = addedConnections[static_cast<std::size_t>(c)].get();
        if (row == nullptr) continue;
        std::int64_t links = 0, probable = 0, paths = 0;
        for (std::int32_t u = 0; u < nNodes; ++u) {
            if (anyBinary) links += linkTest(row[u], threshold, type);
            if (probabilities) tests.count(row[u], probable, paths);
        }
        counts.candidateLinks += links;
        counts.largestCandidateLinks = std::max(counts.largestCandidateLinks, links);
        counts.candidateProbablePairs += probable;
        counts.candidatePathPairs += paths;
        counts.largestCandidatePaths = std::max(counts.largestCandidatePaths, paths);
    }
    connectionCounts = counts;
}

RunShape tamblorProgram::memoryShape(unsigned threads) const {
    RunShape shape;
    shape.nodes = nNodes;
    shape.candidates = nAddedNodes;
    shape.links = anyBinary;
    shape.components = needComponents;
    shape.integral = doIIC;
    shape.harary = doH;
    shape.probabilities = anyProbabilistic;
    shape.connectivity = doPC;
    shape.connectionLists = !allPaths;
    shape.threads = threads;
    shape.counts = connectionCounts;
    return shape;
}

unsigned tamblorProgram::fastPathThreads() const { return fast::WorkerPool::sizeFor(processingThreads); }

ProcessingPath tamblorProgram::expectedPath() const {
    if (processingPath == ProcessingPath::Reference) return ProcessingPath::Reference;
    if (processingPath == ProcessingPath::Automatic &&
        static_cast<std::int64_t>(nNodes) + nAddedNodes <= fast::smallRunRecords)
        return ProcessingPath::Reference;
    return fast::fastPathTakesParameters(*this) ? ProcessingPath::Fast : ProcessingPath::Reference;
}

std::uint64_t tamblorProgram::memoryNeeded() const {
    const ProcessingPath path = expectedPath();
    return inputMemory(memoryShape(1)) + processingMemory(memoryShape(fastPathThreads()), path);
}

void tamblorProgram::ensureProcessingMemory(ProcessingPath path, unsigned threads) {
    countConnections();
    ensureMemoryFor(processingMemory(memoryShape(threads), path), outOfMemoryMessageB);
}

}  // namespace engine
