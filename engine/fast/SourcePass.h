#pragma once
// The shape of the fast pair-sum passes. A pair sum (IIC, H, PC) runs over sources in node
// order, so every per-node landscape's float sum must see the sources in that order: the
// sources are taken in chunks, each chunk's searches run in parallel, then every block of
// per-node landscapes ("lanes") adds the chunk's rows in source order, blocks in parallel.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/fast/WorkerPool.h"

namespace engine::fast {

// The per-node landscapes in blocks of lanes: first the blocks of removed nodes (lane j of
// block b is the landscape without node b * blockSize + j), then those of candidates.
struct LaneBlocks {
    std::int32_t n = 0;
    std::int32_t candidates = 0;
    std::int32_t blockSize = 64;

    std::int32_t removalBlocks() const { return (n + blockSize - 1) / blockSize; }
    std::int32_t candidateBlocks() const { return (candidates + blockSize - 1) / blockSize; }
    std::int32_t count() const { return removalBlocks() + candidateBlocks(); }
    bool removes(std::int32_t block) const { return block < removalBlocks(); }
    // The node (removal) or candidate of the block's first lane.
    std::int32_t first(std::int32_t block) const {
        return (removes(block) ? block : block - removalBlocks()) * blockSize;
    }
    std::int32_t size(std::int32_t block) const {
        return std::min(blockSize, (removes(block) ? n : candidates) - first(block));
    }
    std::int32_t blockOfRemoval(std::int32_t k) const { return k / blockSize; }
    std::int32_t blockOfCandidate(std::int32_t c) const { return removalBlocks() + c / blockSize; }
    std::int32_t laneOfCandidate(std::int32_t c) const { return c % blockSize; }

    // visit(block, lane, removal, index) for every lane: index is the removed node or the
    // candidate.
    template <class Visit>
    void forEachLane(Visit visit) const {
        for (std::int32_t b = 0; b < count(); ++b)
            for (std::int32_t lane = 0; lane < size(b); ++lane) visit(b, lane, removes(b), first(b) + lane);
    }
};

// beforeChunk() runs on the calling thread before each chunk; build(source, data, thread)
// fills a chunk slot; add(block, data, thread) adds one source to a block; afterChunk(count)
// runs on the calling thread after each chunk, whose sources fill slots[0 .. count).
template <class Source, class BeforeChunk, class Build, class Add, class AfterChunk>
void runSourcePass(WorkerPool& pool, std::int32_t sources, std::int32_t chunk, std::int32_t blocks,
                   std::vector<Source>& slots, BeforeChunk beforeChunk, Build build, Add add, AfterChunk afterChunk) {
    if (slots.size() < static_cast<std::size_t>(chunk)) slots.resize(static_cast<std::size_t>(chunk));
    for (std::int32_t start = 0; start < sources; start += chunk) {
        const std::int32_t count = std::min(chunk, sources - start);
        beforeChunk();
        pool.run(count, [&](std::int64_t at, unsigned thread) {
            build(start + static_cast<std::int32_t>(at), slots[static_cast<std::size_t>(at)], thread);
        });
        pool.run(blocks, [&](std::int64_t block, unsigned thread) {
            for (std::int32_t at = 0; at < count; ++at)
                add(static_cast<std::int32_t>(block), slots[static_cast<std::size_t>(at)], thread);
        });
        afterChunk(count);
    }
}

// The binades a chunk's rows are prepared for: those of the lanes' sums at its start and
// one above, for sums that grow into it during the chunk (at most eight; a sum outside
// them takes the row term by term).
struct BinadeRange {
    int lowest = 0;
    int count = 0;
};
template <class Blocks, class SumsOf>
BinadeRange binadesOfLanes(const Blocks& blocks, SumsOf sumsOf) {
    BinadeRange range;
    int lowest = 0, highest = 0;
    bool any = false;
    for (const auto& block : blocks) {
        int low = 0, high = 0;
        if (!sumsOf(block).binades(low, high)) continue;
        if (!any || low < lowest) lowest = low;
        if (!any || high > highest) highest = high;
        any = true;
    }
    if (!any) return range;
    range.count = std::min(highest + 1 - lowest + 1, 8);
    range.lowest = highest + 1 - range.count + 1;
    return range;
}

// The number of sources per chunk: enough to keep every thread busy with searches.
inline std::int32_t chunkOfSources(unsigned threads) { return static_cast<std::int32_t>(std::max(16u, 4 * threads)); }

}  // namespace engine::fast
