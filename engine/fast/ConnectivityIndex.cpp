#include "engine/fast/ConnectivityIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/fast/IndexFormulas.h"
#include "engine/fast/LaneSums.h"
#include "engine/fast/RemovalRow.h"
#include "engine/fast/ShortestPaths.h"
#include "engine/fast/SourcePass.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {
namespace {

struct PathSource {
    std::int32_t source = 0;
    double reach = 0.0;  // the weight beyond which every term of this source is negligible
    ShortestPathTree tree;
    TermRow row;
};

// PC's terms of source i over the targets whose term is at least `least` (and not 0).
void buildRow(const FastInputs& inputs, PathSource& data, Extended least) {
    const std::int32_t n = inputs.n;
    const float attributeI = inputs.attribute[static_cast<std::size_t>(data.source)];
    data.row.reset(n);
    for (std::int32_t l = 0; l < n; ++l) {
        const float w = data.tree.weight[static_cast<std::size_t>(l)];
        if (w == unreachedWeight) continue;
        const Extended term =
            connectivityTerm(productProbability(w), attributeI, inputs.attribute[static_cast<std::size_t>(l)]);
        if (term != 0.0L && term >= least) data.row.append(l, term);
    }
    data.row.finish();
}

// Terms below `negligible` change no per-node sum. Beyond the weight returned, e (a_i a_l)
// stays below half of it for every target l: e = exp(-w) < negligible / (2 a_i a_max).
// exp is accurate to an ulp, far within that factor 2.
double reachOf(float attributeI, float largestAttribute, Extended negligible) {
    if (attributeI == 0.0f) return -std::numeric_limits<double>::infinity();
    if (negligible <= 0.0L) return std::numeric_limits<double>::infinity();
    return static_cast<double>(std::log(2.0L * attributeI * static_cast<Extended>(largestAttribute) / negligible));
}

struct alignas(64) PathBlock {
    explicit PathBlock(std::int32_t lanes) : sums(lanes), takesRow(static_cast<std::size_t>(lanes)) {}
    LaneSums sums;
    std::vector<std::uint8_t> takesRow;
};

// Each thread's own working space, on cache lines of its own.
struct alignas(64) ThreadScratch {
    PathScratch search;
    PatchList patches;
    RemovalRow removalRow;
    std::vector<float> weight;
};

}  // namespace

void connectivityOfOverall(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool) {
    landscape& overall = *run.overall;
    const std::int32_t n = inputs.n;
    std::vector<ThreadScratch> scratch(pool.size());
    for (ThreadScratch& s : scratch) s.search.resize(n);
    std::vector<PathSource> slots;
    float pc = 0.0f;
    runSourcePass(
        pool, n, chunkOfSources(pool.size()), 0, slots, [] {},
        [&](std::int32_t i, PathSource& data, unsigned thread) {
            data.source = i;
            shortestPathTree(inputs.pathGraph, inputs.rules, i, std::numeric_limits<double>::infinity(), false,
                             data.tree, scratch[thread].search);
            float* maxProduct = overall.nodes[static_cast<std::size_t>(i)].maxProductProb.get();
            for (std::int32_t l = 0; l < n; ++l)
                maxProduct[l] = static_cast<float>(productProbability(data.tree.weight[static_cast<std::size_t>(l)]));
            buildRow(inputs, data, 0.0L);
        },
        [](std::int32_t, PathSource&, unsigned) {},
        [&](std::int32_t count) {
            for (std::int32_t at = 0; at < count; ++at)
                for (const Extended term : slots[static_cast<std::size_t>(at)].row.term) pc = addTerm(pc, term);
        });
    normaliseByMaximumAttribute(pc, overall.AL, overall.PC, overall.PCnum);
    if (inputs.countsDirectConnections) overall.nDirectConnections = inputs.directConnections;
}

std::int32_t connectivityChunks(const FastInputs& inputs, unsigned threads) {
    const std::int32_t chunk = chunkOfSources(threads);
    return (inputs.n + chunk - 1) / chunk;
}

void connectivityOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                     PassTiming& timing, const std::function<void()>& afterChunk) {
    const std::int32_t n = inputs.n;
    const LaneBlocks layout{n, inputs.candidates, LaneSums::maximumLanes};
    std::vector<PathBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(layout.count()));
    for (std::int32_t b = 0; b < layout.count(); ++b) blocks.emplace_back(layout.size(b));
    std::vector<ThreadScratch> scratch(pool.size());
    for (ThreadScratch& s : scratch) s.search.resize(n);

    // Without node k: no row of its own, no term at k, new weights for its subtree.
    const auto addToRemovals = [&](PathBlock& block, const PathSource& data, std::int32_t first, std::int32_t size,
                                   ThreadScratch& s) {
        const std::int32_t i = data.source;
        const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
        s.removalRow.start(data.row);
        for (std::int32_t lane = 0; lane < size; ++lane) {
            const std::int32_t k = first + lane;
            if (k == i) continue;
            s.removalRow.startLane(block.sums, lane);
            if (data.tree.weight[static_cast<std::size_t>(k)] != unreachedWeight) {
                s.removalRow.replace(k, [] { return 0.0L; });
                weightsWithoutNode(inputs.rules, data.tree, k, data.reach, s.search, [&](std::int32_t v, float w) {
                    s.removalRow.replace(v, [&] {
                        return connectivityTerm(productProbability(w), attributeI, inputs.attribute[static_cast<std::size_t>(v)]);
                    });
                });
            }
            s.removalRow.finishLane(block.sums, lane);
        }
        s.removalRow.finish(block.sums);
    };

    // With candidate c: lighter paths through it, targets it brings within reach, its own term last.
    const auto addToCandidates = [&](PathBlock& block, const PathSource& data, std::int32_t first, std::int32_t size,
                                     ThreadScratch& s) {
        const std::int32_t i = data.source;
        const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
        s.patches.clear();
        for (std::int32_t lane = 0; lane < size; ++lane) {
            const std::size_t c = static_cast<std::size_t>(first + lane);
            block.takesRow[static_cast<std::size_t>(lane)] = 1;
            const auto patch = [&](std::int32_t v, float w, float attributeV) {
                s.patches.set(data.row, lane, v, connectivityTerm(productProbability(w), attributeI, attributeV));
            };
            const float own = weightsWithCandidate(
                inputs.pathGraph, inputs.rules, data.tree, inputs.candidatePaths[c], data.reach, s.search,
                [&](std::int32_t v, float w) { patch(v, w, inputs.attribute[static_cast<std::size_t>(v)]); });
            if (own != unreachedWeight) patch(n, own, inputs.candidateAttribute[c]);
        }
        block.sums.addRow(data.row, block.takesRow, s.patches.patches());
    };

    float largestAttribute = 0.0f;
    for (float a : inputs.attribute) largestAttribute = std::max(largestAttribute, a);
    for (float a : inputs.candidateAttribute) largestAttribute = std::max(largestAttribute, a);
    // Before each chunk: the bound below which a term changes no per-node sum.
    Extended negligible = 0.0L;
    BinadeRange binades;
    const auto beforeChunk = [&] {
        negligible = std::numeric_limits<Extended>::infinity();
        for (const PathBlock& block : blocks) negligible = std::min(negligible, block.sums.negligibleForAll());
        if (blocks.empty()) negligible = 0.0L;
        binades = binadesOfLanes(blocks, [](const PathBlock& block) -> const LaneSums& { return block.sums; });
    };

    std::vector<PathSource> slots;
    runSourcePass(
        pool, n, chunkOfSources(pool.size()), layout.count(), slots, beforeChunk,
        [&](std::int32_t i, PathSource& data, unsigned thread) {
            PassTiming::Measure measure(timing, thread, TimedIndex::PC);
            data.source = i;
            data.reach = reachOf(inputs.attribute[static_cast<std::size_t>(i)], largestAttribute, negligible);
            shortestPathTree(inputs.pathGraph, inputs.rules, i, data.reach, true, data.tree, scratch[thread].search);
            // A term below half the bound stays negligible for a per-node landscape whose
            // weights only grow, within the accuracy of exp.
            buildRow(inputs, data, negligible / 2);
            data.row.increments.build(data.row, binades.lowest, binades.count);
        },
        [&](std::int32_t b, const PathSource& data, unsigned thread) {
            PassTiming::Measure measure(timing, thread, TimedIndex::PC);
            PathBlock& block = blocks[static_cast<std::size_t>(b)];
            if (layout.removes(b))
                addToRemovals(block, data, layout.first(b), layout.size(b), scratch[thread]);
            else
                addToCandidates(block, data, layout.first(b), layout.size(b), scratch[thread]);
        },
        [&](std::int32_t) {
            if (afterChunk) afterChunk();
        });

    pool.run(inputs.candidates, [&](std::int64_t index, unsigned thread) {
        PassTiming::Measure measure(timing, thread, TimedIndex::PC);
        const std::int32_t c = static_cast<std::int32_t>(index);
        PathBlock& block = blocks[static_cast<std::size_t>(layout.blockOfCandidate(c))];
        const std::int32_t at = layout.laneOfCandidate(c);
        ThreadScratch& s = scratch[thread];
        shortestPathsFromCandidate(inputs.pathGraph, inputs.rules, inputs.candidatePaths[static_cast<std::size_t>(c)],
                                   s.weight, s.search);
        const float attributeC = inputs.candidateAttribute[static_cast<std::size_t>(c)];
        for (std::int32_t l = 0; l < n; ++l) {
            const float w = s.weight[static_cast<std::size_t>(l)];
            if (w == unreachedWeight) continue;
            block.sums.addTo(at, connectivityTerm(productProbability(w), attributeC, inputs.attribute[static_cast<std::size_t>(l)]));
        }
        block.sums.addTo(at, connectivityTerm(productProbability(0.0f), attributeC, attributeC));
    });

    layout.forEachLane([&](std::int32_t b, std::int32_t lane, bool removal, std::int32_t id) {
        landscape& L = removal ? run.withoutNode[static_cast<std::size_t>(id)] : run.withAddedNode[static_cast<std::size_t>(id)];
        normaliseByMaximumAttribute(blocks[static_cast<std::size_t>(b)].sums.sum(lane), L.AL, L.PC, L.PCnum);
        if (inputs.countsDirectConnections) {
            L.nDirectConnections =
                removal ? inputs.directConnections - inputs.pathGraph.degree(id)
                        : inputs.directConnections +
                              static_cast<std::int32_t>(inputs.candidatePaths[static_cast<std::size_t>(id)].node.size());
        }
    });
}

}  // namespace engine::fast
