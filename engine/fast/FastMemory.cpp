#include "engine/fast/FastMemory.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "engine/fast/BreadthFirst.h"
#include "engine/fast/CompactGraph.h"
#include "engine/fast/LaneSums.h"
#include "engine/fast/ReplacementTable.h"
#include "engine/fast/ShortestPaths.h"
#include "engine/fast/SourcePass.h"
#include "engine/fast/TermRow.h"

namespace engine::fast {
namespace {

using Bytes = std::uint64_t;

constexpr Bytes int32Size = sizeof(std::int32_t);
constexpr Bytes floatSize = sizeof(float);
constexpr Bytes vectorSize = sizeof(std::vector<int>);
// A thread's stack pages in use and its allocator arena's first blocks.
constexpr Bytes perThread = Bytes{64} << 10;
// The binades a row's increments are built for: those of the lanes' sums and one above
// (binadesOfLanes). The lanes' sums lie close together, within two binades once they are
// normal floats: three at most in every run measured.
constexpr Bytes rowBinades = 3;

Bytes count(std::int64_t value) { return value < 0 ? 0 : static_cast<Bytes>(value); }
// A vector grown element by element: the capacity its growth reaches (the standard library
// doubles it). The allocator hands the blocks freed by one growth to the next, so their
// pages end up written whole.
Bytes grown(Bytes elements, Bytes size) { return (elements == 0 ? 0 : std::bit_ceil(elements)) * size; }


// One row of terms over up to n targets, with its ranks and, on the per-node passes, its
// increments in each binade.
Bytes termRow(Bytes n, bool withIncrements) {
    Bytes bytes = grown(n, int32Size + sizeof(Extended) + sizeof(double)) + (n + 1) * int32Size;
    if (withIncrements) bytes += rowBinades * ((n + 1) * (sizeof(std::int64_t) + int32Size) + 5 * vectorSize);
    return bytes;
}

// The patches one thread records against a row, and its table of replacements.
Bytes patchesOfThread(Bytes n, Bytes rows) {
    return rows * (grown(n, sizeof(Patch)) + grown(n, sizeof(LanePatch)) + grown(n, sizeof(ReplacementTable::Entry)) +
                   n * (sizeof(std::uint64_t) + int32Size));
}

// The lanes' sums: blocks of 64 per-node landscapes, `rows` sums each.
Bytes laneBlocks(Bytes n, Bytes candidates, Bytes rows) {
    const Bytes lanes = LaneSums::maximumLanes;
    const Bytes blocks = (n + lanes - 1) / lanes + (candidates + lanes - 1) / lanes;
    return blocks * (64 + lanes + rows * (sizeof(LaneSums) + lanes * floatSize + (lanes + 1) * int32Size +
                                          grown(lanes, sizeof(LanePatch))));
}

// The graphs and candidate edges held for the whole step.
Bytes inputsMemory(const RunShape& shape, Bytes n, Bytes c) {
    const ConnectionCounts& k = shape.counts;
    Bytes bytes = (n + c) * floatSize;
    if (shape.links) {
        bytes += (n + 1) * sizeof(std::int64_t) + 2 * count(k.links) * int32Size;
        bytes += c * vectorSize + 2 * count(k.candidateLinks) * int32Size;
    }
    if (shape.probabilities) {
        const Bytes entry = int32Size + floatSize;
        bytes += 2 * (n + 1) * sizeof(std::int64_t) + 2 * (count(k.probablePairs) + count(k.pathPairs)) * entry;
        bytes += 4 * c * vectorSize + 2 * (count(k.candidateProbablePairs) + count(k.candidatePathPairs)) * entry;
    }
    return bytes;
}

// H and IIC: the overall landscape's pass, and the per-node pass with dominator trees.
Bytes topologicalMemory(const RunShape& shape, Bytes n, Bytes c, Bytes threads, Bytes slots) {
    const Bytes rows = Bytes{shape.integral} + Bytes{shape.harary};
    const Bytes entries = 2 * count(shape.counts.links);
    const Bytes overall = threads * (n + 1) * 2 * int32Size +
                          slots * (n * int32Size + grown(n, int32Size) + rows * termRow(n, false));
    // Per thread: the search's arrays by node and by tour position, the repair's arrays,
    // the candidates' own searches; per slot: the dominator tree and its tables, its copy
    // of the links when they are sparse, and the rows.
    const Bytes scratch = (n + 1) * 2 * int32Size + 8 * n * int32Size + n * sizeof(NodePlace) + n +
                          grown(n, int32Size) * 3 + grown(n, 2 * int32Size) * 3 + patchesOfThread(n, rows);
    const Bytes tree = 12 * n * int32Size + rows * termRow(n, true);
    const Bytes copies = sparseForCopies(entries, n) ? entries * int32Size : 0;
    // The dominator trees differ in size from source to source and are grown again and again
    // by whichever thread takes the source: the allocator's arenas keep about one more per
    // thread of what those growths freed.
    const Bytes perNode = threads * scratch + (slots + threads) * (tree + copies) + (n + 2) * sizeof(Extended) +
                          laneBlocks(n, c, rows);
    return std::max(overall, perNode);
}

// PC: the overall landscape's pass, and the per-node pass with tours of the trees.
Bytes connectivityMemory(const RunShape& shape, Bytes n, Bytes c, Bytes threads, Bytes slots) {
    const Bytes entries = 2 * count(shape.counts.pathPairs);
    // Per thread: stamped weights and settled marks, the heap, the repair's arrays, a
    // candidate's weights and the patches. The heap holds one entry per improvement of a
    // weight: a few per node, however many entries a node has.
    const Bytes improvements = std::min(entries, 4 * n) + n;
    const Bytes search = (n + 1) * (2 * floatSize + 1 + int32Size) + grown(improvements, 2 * floatSize);
    const Bytes scratch = search + grown(n, int32Size) + n * (2 * int32Size + floatSize + 1) + n * floatSize +
                          patchesOfThread(n, 1);
    const Bytes overall = threads * search + slots * (2 * n * floatSize + grown(n, int32Size) + termRow(n, false));
    const Bytes tree =
        2 * n * floatSize + grown(n, int32Size) + 4 * n * int32Size + (n + 1) * int32Size + termRow(n, true);
    const Bytes copies = sparseForCopies(entries, n) ? 2 * grown(entries, int32Size) : 0;
    const Bytes perNode = threads * scratch + slots * (tree + copies) + laneBlocks(n, c, 1);
    return std::max(overall, perNode);
}

// NC, CCP and LCP: labels, a stack and component sums per thread.
Bytes componentMemory(Bytes n, Bytes threads) {
    return threads * (n * int32Size + grown(n, int32Size) + n * floatSize + n);
}

}  // namespace

std::uint64_t fastProcessingMemory(const RunShape& shape) {
    const Bytes n = count(shape.nodes);
    const Bytes c = count(shape.candidates);
    const unsigned threadCount = std::max(1u, shape.threads);
    const Bytes threads = threadCount;
    const Bytes slots = static_cast<Bytes>(chunkOfSources(threadCount));
    Bytes largestPass = (n + 1) * floatSize;  // the per-node attribute sums
    if (shape.components) largestPass = std::max(largestPass, componentMemory(n, threads));
    if (shape.integral || shape.harary) largestPass = std::max(largestPass, topologicalMemory(shape, n, c, threads, slots));
    if (shape.connectivity) largestPass = std::max(largestPass, connectivityMemory(shape, n, c, threads, slots));
    // A pass's vectors are grown by whichever thread takes a source, each thread from its
    // own arena of the allocator, which keeps some of what another thread's growth freed:
    // a quarter more, as measured.
    return threads * perThread + inputsMemory(shape, n, c) + largestPass + largestPass / 4;
}

}  // namespace engine::fast
