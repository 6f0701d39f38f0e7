#pragma once
// Topological distances on the links for IIC and H: the breadth-first tree of a source,
// the dominator tree of its shortest-path graph (node k dominates v when every shortest
// path to v passes through k, which is exactly when removing k lengthens v's distance),
// and the distances after removing a node or adding a candidate, found by touching only
// the nodes whose distance changes.
#include <cstdint>
#include <vector>

#include "engine/fast/CompactGraph.h"
#include "engine/fast/SearchScratch.h"

namespace engine::fast {

inline constexpr std::int32_t unreachedLinks = 2147483647;

struct BreadthFirstTree {
    std::vector<std::int32_t> distance;  // links from the source; unreachedLinks when none
    std::vector<std::int32_t> order;     // reached nodes, in visiting order (the source first)
    // Dominator tree as an Euler tour: the nodes dominated by k are tour[tin[k]+1 .. tout[k]).
    std::vector<std::int32_t> dominator, tin, tout, tour;
};

struct BreadthFirstScratch {
    StampedValues<std::int32_t> distance;
    StampedValues<std::uint8_t> member;
    MinHeap<std::int32_t> heap;
    std::vector<std::int32_t> queue, children, childStart, stack;
    void resize(std::int32_t n) {
        distance.resize(n + 1);
        member.resize(n + 1);
    }
};

// Distances from `source`; with `dominators`, the dominator tree too.
void breadthFirstTree(const CompactGraph& links, std::int32_t source, bool dominators, BreadthFirstTree& tree,
                      BreadthFirstScratch& scratch);

// Distances from the seeds (all at distance `seedDistance`) into `distance` (n entries).
void breadthFirstFrom(const CompactGraph& links, const std::vector<std::int32_t>& seeds, std::int32_t seedDistance,
                      std::vector<std::int32_t>& distance, std::vector<std::int32_t>& queue);

// The landscape without `removed`: changed(v, d) for every node whose distance changes,
// d = unreachedLinks when it can no longer be reached.
template <class Changed>
void distancesWithoutNode(const CompactGraph& links, const BreadthFirstTree& tree, std::int32_t removed,
                          BreadthFirstScratch& scratch, Changed changed) {
    const std::size_t k = static_cast<std::size_t>(removed);
    if (tree.tin[k] < 0 || tree.tout[k] - tree.tin[k] <= 1) return;  // unreached, or dominates nothing
    scratch.member.clearAll();
    scratch.distance.clearAll();
    const std::int32_t first = tree.tin[k] + 1;
    const std::int32_t last = tree.tout[k];
    for (std::int32_t t = first; t < last; ++t) scratch.member.set(tree.tour[static_cast<std::size_t>(t)], 1);
    // Each dominated node starts from its best neighbour outside the dominated set. No such
    // neighbour is closer to the source than the node (it would give a path avoiding the
    // removed node), so one at the node's own distance is the best there is.
    scratch.heap.clear();
    for (std::int32_t t = first; t < last; ++t) {
        const std::int32_t v = tree.tour[static_cast<std::size_t>(t)];
        const std::int32_t leastPossible = tree.distance[static_cast<std::size_t>(v)] + 1;
        std::int32_t best = unreachedLinks;
        for (std::int64_t e = links.begin(v); e < links.end(v) && best != leastPossible; ++e) {
            const std::int32_t u = links.target[static_cast<std::size_t>(e)];
            if (u == removed || scratch.member.has(u)) continue;
            const std::int32_t du = tree.distance[static_cast<std::size_t>(u)];
            if (du != unreachedLinks && du + 1 < best) best = du + 1;
        }
        scratch.distance.set(v, best);
        if (best != unreachedLinks) scratch.heap.push(best, v);
    }
    while (!scratch.heap.empty()) {
        const auto [d, v] = scratch.heap.pop();
        if (d != scratch.distance.get(v)) continue;
        for (std::int64_t e = links.begin(v); e < links.end(v); ++e) {
            const std::int32_t x = links.target[static_cast<std::size_t>(e)];
            if (!scratch.member.has(x) || d + 1 >= scratch.distance.get(x)) continue;
            scratch.distance.set(x, d + 1);
            scratch.heap.push(d + 1, x);
        }
    }
    for (std::int32_t t = first; t < last; ++t) {
        const std::int32_t v = tree.tour[static_cast<std::size_t>(t)];
        changed(v, scratch.distance.get(v));
    }
}

// The landscape with a candidate linked to `candidateLinks`: changed(v, d) for every node
// whose distance shrinks. Returns the candidate's own distance (unreachedLinks when none).
template <class Changed>
std::int32_t distancesWithCandidate(const CompactGraph& links, const BreadthFirstTree& tree,
                                    const std::vector<std::int32_t>& candidateLinks, BreadthFirstScratch& scratch,
                                    Changed changed) {
    std::int32_t own = unreachedLinks;
    for (std::int32_t u : candidateLinks) {
        const std::int32_t du = tree.distance[static_cast<std::size_t>(u)];
        if (du != unreachedLinks && du + 1 < own) own = du + 1;
    }
    if (own == unreachedLinks) return own;
    // Every shortened path runs through the candidate: a breadth-first search from it.
    scratch.distance.clearAll();
    std::vector<std::int32_t>& queue = scratch.queue;
    queue.clear();
    for (std::int32_t u : candidateLinks) {
        if (own + 1 < tree.distance[static_cast<std::size_t>(u)]) {
            scratch.distance.set(u, own + 1);
            queue.push_back(u);
        }
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::int32_t x = queue[head];
        const std::int32_t next = scratch.distance.get(x) + 1;
        for (std::int64_t e = links.begin(x); e < links.end(x); ++e) {
            const std::int32_t y = links.target[static_cast<std::size_t>(e)];
            const std::int32_t current = scratch.distance.has(y) ? scratch.distance.get(y)
                                                                 : tree.distance[static_cast<std::size_t>(y)];
            if (next >= current) continue;
            scratch.distance.set(y, next);
            queue.push_back(y);
        }
    }
    for (std::int32_t v : queue) changed(v, scratch.distance.get(v));
    return own;
}

}  // namespace engine::fast
