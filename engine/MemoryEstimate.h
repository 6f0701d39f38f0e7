#pragma once
// What one run's large allocations take at their peak, in bytes: what the input step
// allocates (node arrays, connection matrices, the landscape arrays), and what the
// processing step adds on top of it on the reference or on the fast path (the overall
// landscape's node records, link lists and probability rows, one per-node landscape at a
// time with its working arrays on the reference; the compact graphs, the per-source
// trees and rows and the per-thread scratch on the fast path).
//
// The figures are the memory the run allocates, not the memory the process holds: the
// process's code, libraries and whatever it allocated before are already counted in the
// use that the memory available (sysutils::AvailableMemory) is taken from, so each figure
// is compared with what is available when its step begins. Each is an upper bound of the
// resident memory of the step's allocations: vectors grown element by element with the
// capacity their growth reaches, blocks with the allocator's headers, and allowances for
// what the allocator's arenas keep for other threads and for the kernel's page tables.
#include <cstdint>

#include "engine/ProcessingPath.h"

namespace engine {

// The pairs that the processing step turns into links, lists and graph entries. Before
// the connection file is read they are unknown and count as none.
struct ConnectionCounts {
    std::int64_t links = 0;                 // linked pairs of existing nodes
    std::int64_t candidateLinks = 0;        // linked (candidate, existing node) pairs, all candidates
    std::int64_t largestCandidateLinks = 0;  // of the candidate with the most
    std::int64_t probablePairs = 0;         // pairs of existing nodes whose direct probability is not 0
    std::int64_t pathPairs = 0;             // pairs that PC's searches take as direct connections
    std::int64_t candidateProbablePairs = 0;
    std::int64_t candidatePathPairs = 0;
    std::int64_t largestCandidatePaths = 0;
};

// A run as its memory sees it: the counts, the index selection and the threads.
struct RunShape {
    std::int64_t nodes = 0;
    std::int64_t candidates = 0;
    bool links = false;          // a binary index: link lists
    bool components = false;     // NC, CCP or LCP
    bool integral = false;       // IIC
    bool harary = false;         // H
    bool probabilities = false;  // F, AWF or PC: probability rows
    bool connectivity = false;   // PC
    bool connectionLists = false;  // PC over lists of direct connections (not all paths)
    unsigned threads = 1;        // of the fast path, the calling thread included
    ConnectionCounts counts;
};

// The input step: node arrays, connection matrices and the landscape arrays.
std::uint64_t inputMemory(const RunShape& shape);

// The processing step on `path` (Reference or Fast), on top of the input step.
std::uint64_t processingMemory(const RunShape& shape, ProcessingPath path);

}  // namespace engine
