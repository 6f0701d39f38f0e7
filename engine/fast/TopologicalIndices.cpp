#include "engine/fast/TopologicalIndices.h"

#include <algorithm>
#include <limits>

#include "engine/fast/BreadthFirst.h"
#include "engine/fast/IndexFormulas.h"
#include "engine/fast/LaneSums.h"
#include "engine/fast/RemovalRow.h"
#include "engine/fast/SourcePass.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {
namespace {

// One source's search and its rows of IIC and H terms.
struct TopologicalSource {
    std::int32_t source = 0;
    BreadthFirstTree tree;
    TermRow integral, harary;
};

// The rows of source i: IIC over every reached target (i itself at distance 0), H over
// every reached target but i. Terms that are exactly 0 are left out, and so are terms
// below `leastIntegral` and `leastHarary`: they change no sum that is to take them.
void buildRows(const FastInputs& inputs, const TopologicalSelection& selection, TopologicalSource& data,
               Extended leastIntegral, Extended leastHarary) {
    const std::int32_t n = inputs.n;
    const std::int32_t i = data.source;
    const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
    data.integral.reset(n);
    data.harary.reset(n);
    for (std::int32_t l = 0; l < n; ++l) {
        const std::int32_t d = data.tree.distance[static_cast<std::size_t>(l)];
        if (d == unreachedLinks) continue;
        if (selection.iic) {
            const Extended term = integralTerm(attributeI, inputs.attribute[static_cast<std::size_t>(l)], d);
            if (term != 0.0L && term >= leastIntegral) data.integral.append(l, term);
        }
        if (selection.h && l != i) {
            const Extended term = hararyTerm(d);
            if (term >= leastHarary) data.harary.append(l, term);
        }
    }
    data.integral.finish();
    data.harary.finish();
}

struct alignas(64) TopologicalBlock {
    explicit TopologicalBlock(std::int32_t lanes) : integral(lanes), harary(lanes), takesRow(static_cast<std::size_t>(lanes)) {}
    LaneSums integral, harary;
    std::vector<std::uint8_t> takesRow;
};

// Each thread's own working space, on cache lines of its own.
struct alignas(64) ThreadScratch {
    BreadthFirstScratch search;
    PatchList integral, harary;
    RemovalRow integralRow, hararyRow;
    std::vector<std::int32_t> distance, queue;
};

}  // namespace

void topologicalIndicesOfOverall(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                 const TopologicalSelection& selection) {
    landscape& overall = *run.overall;
    const std::int32_t n = inputs.n;
    std::vector<ThreadScratch> scratch(pool.size());
    for (ThreadScratch& s : scratch) s.search.resize(n);
    std::vector<TopologicalSource> slots;
    float integral = 0.0f;
    float harary = 0.0f;
    // Rows in parallel, then the sums in source order, as the reference adds them.
    runSourcePass(
        pool, n, chunkOfSources(pool.size()), 0, slots, [] {},
        [&](std::int32_t i, TopologicalSource& data, unsigned thread) {
            data.source = i;
            breadthFirstTree(inputs.linkGraph, i, false, data.tree, scratch[thread].search);
            buildRows(inputs, selection, data, 0.0L, 0.0L);
        },
        [](std::int32_t, TopologicalSource&, unsigned) {},
        [&](std::int32_t count) {
            for (std::int32_t at = 0; at < count; ++at) {
                const TopologicalSource& data = slots[static_cast<std::size_t>(at)];
                for (const Extended term : data.integral.term) integral = addTerm(integral, term);
                for (const Extended term : data.harary.term) harary = addTerm(harary, term);
            }
        });
    if (selection.iic) normaliseByMaximumAttribute(integral, overall.AL, overall.IIC, overall.IICnum);
    if (selection.h) overall.H = halved(harary);
}

std::int32_t topologicalChunks(const FastInputs& inputs, unsigned threads) {
    const std::int32_t chunk = chunkOfSources(threads);
    return (inputs.n + chunk - 1) / chunk;
}

void topologicalIndicesOfPerNodeLandscapes(const FastInputs& inputs, tamblorProgram& run, WorkerPool& pool,
                                           PassTiming& timing, const TopologicalSelection& selection,
                                           const std::function<void()>& afterChunk) {
    const std::int32_t n = inputs.n;
    const LaneBlocks layout{n, inputs.candidates, LaneSums::maximumLanes};
    std::vector<TopologicalBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(layout.count()));
    for (std::int32_t b = 0; b < layout.count(); ++b) blocks.emplace_back(layout.size(b));
    std::vector<ThreadScratch> scratch(pool.size());
    for (ThreadScratch& s : scratch) s.search.resize(n);
    const bool removals = n > 1;
    // H's terms 1/d, once for every distance.
    std::vector<Extended> harary(static_cast<std::size_t>(n) + 2, 0.0L);
    for (std::int32_t d = 1; d < static_cast<std::int32_t>(harary.size()); ++d) harary[static_cast<std::size_t>(d)] = hararyTerm(d);

    // Without node k: no row of its own, no term at k, and new distances for the nodes it
    // dominates. Every change replaces a term of the row.
    const auto addToRemovals = [&](TopologicalBlock& block, const TopologicalSource& data, std::int32_t first,
                                   std::int32_t size, ThreadScratch& s) {
        const std::int32_t i = data.source;
        const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
        if (selection.iic) s.integralRow.start(data.integral);
        if (selection.h) s.hararyRow.start(data.harary);
        for (std::int32_t lane = 0; lane < size; ++lane) {
            const std::int32_t k = first + lane;
            if (k == i) continue;
            if (selection.iic) s.integralRow.startLane(block.integral, lane);
            if (selection.h) s.hararyRow.startLane(block.harary, lane);
            if (data.tree.distance[static_cast<std::size_t>(k)] != unreachedLinks) {
                const auto replace = [&](std::int32_t v, std::int32_t d) {
                    if (selection.iic) {
                        s.integralRow.replace(v, [&] {
                            return d == unreachedLinks ? 0.0L
                                                       : integralTerm(attributeI, inputs.attribute[static_cast<std::size_t>(v)], d);
                        });
                    }
                    if (selection.h)
                        s.hararyRow.replace(v, [&] { return d == unreachedLinks ? 0.0L : harary[static_cast<std::size_t>(d)]; });
                };
                replace(k, unreachedLinks);
                distancesWithoutNode(data.tree, k, s.search, replace);
            }
            if (selection.iic) s.integralRow.finishLane(block.integral, lane);
            if (selection.h) s.hararyRow.finishLane(block.harary, lane);
        }
        if (selection.iic) s.integralRow.finish(block.integral);
        if (selection.h) s.hararyRow.finish(block.harary);
    };

    // With candidate c: shorter distances through it, new targets it brings within reach,
    // and its own term last.
    const auto addToCandidates = [&](TopologicalBlock& block, const TopologicalSource& data, std::int32_t first,
                                     std::int32_t size, ThreadScratch& s) {
        const std::int32_t i = data.source;
        const float attributeI = inputs.attribute[static_cast<std::size_t>(i)];
        s.integral.clear();
        s.harary.clear();
        for (std::int32_t lane = 0; lane < size; ++lane) {
            const std::size_t c = static_cast<std::size_t>(first + lane);
            block.takesRow[static_cast<std::size_t>(lane)] = 1;
            const auto patch = [&](std::int32_t v, std::int32_t d, float attributeV) {
                if (selection.iic) s.integral.set(data.integral, lane, v, integralTerm(attributeI, attributeV, d));
                if (selection.h) s.harary.set(data.harary, lane, v, hararyTerm(d));
            };
            const std::int32_t own = distancesWithCandidate(
                inputs.linkGraph, data.tree, inputs.candidateLinks[c], s.search,
                [&](std::int32_t v, std::int32_t d) { patch(v, d, inputs.attribute[static_cast<std::size_t>(v)]); });
            if (own != unreachedLinks) patch(n, own, inputs.candidateAttribute[c]);
        }
        if (selection.iic) block.integral.addRow(data.integral, block.takesRow, s.integral.patches());
        if (selection.h) block.harary.addRow(data.harary, block.takesRow, s.harary.patches());
    };

    // Before each chunk: the bounds below which a term changes no per-node sum. A removal
    // only lengthens distances, so a term below the bound stays below it; a candidate's
    // larger terms are patches of its own.
    Extended negligibleIntegral = 0.0L, negligibleHarary = 0.0L;
    BinadeRange integralBinades, hararyBinades;
    const auto beforeChunk = [&] {
        negligibleIntegral = negligibleHarary = std::numeric_limits<Extended>::infinity();
        for (const TopologicalBlock& block : blocks) {
            negligibleIntegral = std::min(negligibleIntegral, block.integral.negligibleForAll());
            negligibleHarary = std::min(negligibleHarary, block.harary.negligibleForAll());
        }
        if (blocks.empty()) negligibleIntegral = negligibleHarary = 0.0L;
        integralBinades = binadesOfLanes(blocks, [](const TopologicalBlock& b) -> const LaneSums& { return b.integral; });
        hararyBinades = binadesOfLanes(blocks, [](const TopologicalBlock& b) -> const LaneSums& { return b.harary; });
    };

    std::vector<TopologicalSource> slots;
    runSourcePass(
        pool, n, chunkOfSources(pool.size()), layout.count(), slots, beforeChunk,
        [&](std::int32_t i, TopologicalSource& data, unsigned thread) {
            PassTiming::Measure measure(timing, thread, selection.timedAs);
            data.source = i;
            breadthFirstTree(inputs.linkGraph, i, removals, data.tree, scratch[thread].search);
            buildRows(inputs, selection, data, negligibleIntegral, negligibleHarary);
            if (selection.iic) data.integral.increments.build(data.integral, integralBinades.lowest, integralBinades.count);
            if (selection.h) data.harary.increments.build(data.harary, hararyBinades.lowest, hararyBinades.count);
        },
        [&](std::int32_t b, const TopologicalSource& data, unsigned thread) {
            PassTiming::Measure measure(timing, thread, selection.timedAs);
            TopologicalBlock& block = blocks[static_cast<std::size_t>(b)];
            if (layout.removes(b))
                addToRemovals(block, data, layout.first(b), layout.size(b), scratch[thread]);
            else
                addToCandidates(block, data, layout.first(b), layout.size(b), scratch[thread]);
        },
        [&](std::int32_t) {
            if (afterChunk) afterChunk();
        });

    // Each candidate's own row comes last: its search, then its targets in node order, itself last.
    pool.run(inputs.candidates, [&](std::int64_t index, unsigned thread) {
        PassTiming::Measure measure(timing, thread, selection.timedAs);
        const std::int32_t c = static_cast<std::int32_t>(index);
        TopologicalBlock& block = blocks[static_cast<std::size_t>(layout.blockOfCandidate(c))];
        const std::int32_t at = layout.laneOfCandidate(c);
        ThreadScratch& s = scratch[thread];
        breadthFirstFrom(inputs.linkGraph, inputs.candidateLinks[static_cast<std::size_t>(c)], 1, s.distance, s.queue);
        const float attributeC = inputs.candidateAttribute[static_cast<std::size_t>(c)];
        for (std::int32_t l = 0; l < n; ++l) {
            const std::int32_t d = s.distance[static_cast<std::size_t>(l)];
            if (d == unreachedLinks) continue;
            if (selection.iic) block.integral.addTo(at, integralTerm(attributeC, inputs.attribute[static_cast<std::size_t>(l)], d));
            if (selection.h) block.harary.addTo(at, hararyTerm(d));
        }
        if (selection.iic) block.integral.addTo(at, integralTerm(attributeC, attributeC, 0));
    });

    layout.forEachLane([&](std::int32_t b, std::int32_t lane, bool removal, std::int32_t id) {
        const TopologicalBlock& block = blocks[static_cast<std::size_t>(b)];
        landscape& L = removal ? run.withoutNode[static_cast<std::size_t>(id)] : run.withAddedNode[static_cast<std::size_t>(id)];
        if (selection.iic) normaliseByMaximumAttribute(block.integral.sum(lane), L.AL, L.IIC, L.IICnum);
        if (selection.h) L.H = halved(block.harary.sum(lane));
    });
}

}  // namespace engine::fast
