#include "engine/MemoryEstimate.h"

#include <algorithm>
#include <memory>

#include "engine/fast/FastMemory.h"
#include "engine/landscape.h"

namespace engine {
namespace {

using Bytes = std::uint64_t;

// The allocator's header and rounding of one block on the heap.
constexpr Bytes blockOverhead = 16;
// A list element: value and two links, in a block of its own.
constexpr Bytes listElement = 32;
// The pages of code and of the allocator that a run touches for the first time.
constexpr Bytes runOverhead = Bytes{3} << 18;

// The kernel's page tables and the allocator's bookkeeping, which grow with the memory in
// use: 8 bytes per page of 4 KiB, and three times as much again for the allocator.
Bytes withBookkeeping(Bytes bytes) { return bytes + bytes / 128; }

Bytes count(std::int64_t value) { return value < 0 ? 0 : static_cast<Bytes>(value); }

// `rows` rows of `width` floats, each a block of its own, and the table of row pointers.
Bytes floatRows(Bytes rows, Bytes width) {
    return rows * (width * sizeof(float) + blockOverhead) + rows * sizeof(std::unique_ptr<float[]>);
}

// The working arrays of the index methods of one landscape of m nodes (the reference).
Bytes indexWorkingMemory(const RunShape& shape, Bytes m, Bytes pathEntries) {
    Bytes binary = 0;
    if (shape.links) {
        // List pointers, labels, stack and distances; the breadth-first queue is a list.
        binary = m * (sizeof(void*) + 3 * sizeof(std::int32_t)) + m * listElement;
    }
    Bytes probabilistic = 0;
    if (shape.connectivity) {
        // The weight matrix, one distance per node, one visited byte per node, and for the
        // list variants one list per node with the direct connections.
        probabilistic = floatRows(m, m) + m * sizeof(float*) + m * (sizeof(float) + 1);
        if (shape.connectionLists) probabilistic += m * (sizeof(Llista<int>) + 2 * listElement) + pathEntries * listElement;
    }
    return std::max(binary, probabilistic);
}

// A landscape of m nodes with `links` links and its probability rows: what one build
// allocates.
Bytes landscapeMemory(const RunShape& shape, Bytes m, Bytes links) {
    Bytes bytes = m * sizeof(tessella) + blockOverhead + m * 2 * listElement;  // records and list sentinels
    if (shape.links) bytes += 2 * links * listElement;
    if (shape.probabilities) bytes += 2 * m * (m * sizeof(float) + blockOverhead);
    if (shape.components) bytes += m * sizeof(std::int32_t) + blockOverhead;
    return bytes;
}

Bytes referenceProcessingMemory(const RunShape& shape) {
    const Bytes n = count(shape.nodes);
    const Bytes c = count(shape.candidates);
    const ConnectionCounts& k = shape.counts;
    const Bytes overallPaths = 2 * count(k.pathPairs);
    const Bytes overall = landscapeMemory(shape, n, count(k.links));
    // The overall landscape's own index computation, then one per-node landscape at a time:
    // the largest is a candidate's, one node more and its links added.
    Bytes perNode = n > 0 ? landscapeMemory(shape, n - 1, count(k.links)) + indexWorkingMemory(shape, n - 1, overallPaths)
                          : 0;
    if (c > 0) {
        const Bytes m = n + 1;
        perNode = std::max(perNode, landscapeMemory(shape, m, count(k.links) + count(k.largestCandidateLinks)) +
                                        indexWorkingMemory(shape, m, overallPaths + 2 * count(k.largestCandidatePaths)));
    }
    return overall + std::max(indexWorkingMemory(shape, n, overallPaths), perNode);
}

}  // namespace

std::uint64_t inputMemory(const RunShape& shape) {
    const Bytes n = count(shape.nodes);
    const Bytes c = count(shape.candidates);
    const Bytes nodeArrays = (n + c) * (sizeof(std::int32_t) + sizeof(float)) + 4 * blockOverhead;
    const Bytes matrices = floatRows(n, n) + floatRows(c, n) + 2 * blockOverhead;
    const Bytes landscapes = (n + c + 1) * sizeof(landscape) + 3 * blockOverhead;
    // While the connection file is read: the hash indexes of the IDs, two slots or more per ID.
    const Bytes idIndexes = 4 * (n + c) * 2 * sizeof(std::int32_t);
    return withBookkeeping(nodeArrays + matrices + landscapes + idIndexes);
}

std::uint64_t processingMemory(const RunShape& shape, ProcessingPath path) {
    if (path == ProcessingPath::Reference) return withBookkeeping(runOverhead + referenceProcessingMemory(shape));
    // The fast path builds the overall landscape as the reference does (without its index
    // working arrays), then its own structures beside it.
    const Bytes n = count(shape.nodes);
    return withBookkeeping(runOverhead + landscapeMemory(shape, n, count(shape.counts.links)) +
                           fast::fastProcessingMemory(shape));
}

}  // namespace engine
