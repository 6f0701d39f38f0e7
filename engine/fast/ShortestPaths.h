#pragma once
// Maximum-product paths for PC as shortest paths on the weights w = -ln p, over the direct
// connections only, with a binary heap. A path's weight is built edge by edge as the
// reference builds it, (float)(d_u + w); that step never decreases and grows with d_u, so
// the weight a node ends with is the least weight over all paths whatever order the
// search takes, and the reference's labels come out exactly. The pruned variant expands
// only nodes whose weight is within the limit, as the reference does.
//
// Besides the full search: the tree of a source, and the weights after removing a node
// (only its subtree can change) or adding a candidate (only nodes reached more cheaply
// through it change), touching only those nodes.
//
// Every search may stop at a reach: a path's weight never decreases along it, so the
// nodes within the reach and their weights come out exactly whatever lies beyond. Nodes
// beyond it are left at unreachedWeight, for callers to whom they make no difference.
#include <cstdint>
#include <vector>

#include "engine/fast/CompactGraph.h"
#include "engine/fast/ExactArithmetic.h"
#include "engine/fast/SearchScratch.h"

namespace engine::fast {

// The weight of a node the search never reaches (the reference's "no connection").
inline constexpr float unreachedWeight = 2147483648.0f;

struct PathRules {
    bool pruned = false;
    double limit = 0.0;  // -ln(minimum probability), for the pruned variant
    bool expands(float weight) const { return !(pruned && static_cast<double>(weight) > limit); }
};

// A candidate's direct connections: existing node and edge weight, ascending by node.
struct CandidateEdges {
    std::vector<std::int32_t> node;
    std::vector<float> weight;
};

struct ShortestPathTree {
    std::vector<float> weight;         // unreachedWeight when not reached
    std::vector<std::int32_t> parent;  // -1 for the source and unreached nodes
    std::vector<std::int32_t> order;   // reached nodes in the order they were settled
    // withTour only: the tree as a preorder tour, so that the subtree of v is
    // tour[tin[v]+1 .. tout[v]); by tour position p (the node tour[p]) its weight; and with
    // ownNeighbours its direct connections: the neighbour's tour position (-1 beyond the
    // search) and the edge weight, at neighbourStart[p] .. neighbourStart[p+1]. Without
    // them the repair reads `paths` and looks positions up.
    std::vector<std::int32_t> tin, tout, tour;
    std::vector<float> weightAt;
    const CompactGraph* paths = nullptr;
    bool ownNeighbours = false;
    std::vector<std::int32_t> neighbourStart, neighbourAt;
    std::vector<float> edgeWeightAt;
};

namespace detail {

// The direct connections of the node at a tour position: the neighbour's position and the
// edge weight, from the tree's copy or from the graph.
struct CopiedConnections {
    const ShortestPathTree& tree;
    template <class Visit>
    void all(std::int32_t p, Visit visit) const {
        const std::int32_t end = tree.neighbourStart[static_cast<std::size_t>(p) + 1];
        for (std::int32_t e = tree.neighbourStart[static_cast<std::size_t>(p)]; e < end; ++e)
            visit(tree.neighbourAt[static_cast<std::size_t>(e)], tree.edgeWeightAt[static_cast<std::size_t>(e)]);
    }
};
struct LookedUpConnections {
    const ShortestPathTree& tree;
    template <class Visit>
    void all(std::int32_t p, Visit visit) const {
        const CompactGraph& paths = *tree.paths;
        const std::int32_t v = tree.tour[static_cast<std::size_t>(p)];
        for (std::int64_t e = paths.begin(v); e < paths.end(v); ++e)
            visit(tree.tin[static_cast<std::size_t>(paths.target[static_cast<std::size_t>(e)])],
                  paths.weight[static_cast<std::size_t>(e)]);
    }
};

}  // namespace detail

struct PathScratch {
    StampedValues<float> weight;
    StampedValues<std::uint8_t> settled;
    MinHeap<float> heap;
    std::vector<std::int32_t> touched, cursor;
    // The repair after a removal, by place in the removed node's subtree.
    std::vector<float> best;
    std::vector<std::uint8_t> done;
    void resize(std::int32_t n) {
        weight.resize(n + 1);
        settled.resize(n + 1);
    }
};

// Within `reach` (infinity for all nodes).
void shortestPathTree(const CompactGraph& paths, const PathRules& rules, std::int32_t source, double reach,
                      bool withTour, ShortestPathTree& tree, PathScratch& scratch,
                      NeighbourCopies copies = NeighbourCopies::WhenSparse);

// Weights from a candidate, which is the source: its direct connections are the seeds.
void shortestPathsFromCandidate(const CompactGraph& paths, const PathRules& rules, const CandidateEdges& edges,
                                std::vector<float>& weight, PathScratch& scratch);

namespace detail {

// The repair of weightsWithoutNode below.
template <class Connections, class Changed>
void repairWeights(const PathRules& rules, const ShortestPathTree& tree, const Connections& connections,
                   std::int32_t removed, double reach, PathScratch& scratch, Changed changed) {
    const std::size_t k = static_cast<std::size_t>(removed);
    const std::int32_t removedAt = tree.tin[k];
    const std::int32_t first = removedAt + 1;
    const std::int32_t last = tree.tout[k];
    const std::size_t size = static_cast<std::size_t>(last - first);
    if (scratch.best.size() < size) {
        scratch.best.resize(size);
        scratch.done.resize(size);
    }
    float* best = scratch.best.data();
    std::uint8_t* done = scratch.done.data();
    const auto inside = [first, last](std::int32_t q) { return q >= first && q < last; };
    // Weights outside the subtree stand: their tree paths avoid the removed node. Each
    // subtree node starts from its best expanded neighbour outside.
    scratch.heap.clear();
    for (std::int32_t p = first; p < last; ++p) {
        float lightest = unreachedWeight;
        connections.all(p, [&](std::int32_t q, float edgeWeight) {
            if (q < 0 || q == removedAt || inside(q)) return;
            const float dq = tree.weightAt[static_cast<std::size_t>(q)];
            if (!rules.expands(dq)) return;
            const float offered = pathWeight(dq, edgeWeight);
            if (offered < lightest) lightest = offered;
        });
        best[p - first] = lightest;
        done[p - first] = 0;
        if (lightest < unreachedWeight && static_cast<double>(lightest) <= reach) scratch.heap.pushUnordered(lightest, p);
    }
    scratch.heap.heapify();
    while (!scratch.heap.empty()) {
        const auto [d, p] = scratch.heap.pop();
        if (d != best[p - first] || done[p - first]) continue;
        done[p - first] = 1;
        if (!rules.expands(d)) continue;
        connections.all(p, [&, d = d](std::int32_t q, float edgeWeight) {
            if (!inside(q) || done[q - first]) return;
            const float offered = pathWeight(d, edgeWeight);
            if (offered < best[q - first] && static_cast<double>(offered) <= reach) {
                best[q - first] = offered;
                scratch.heap.push(offered, q);
            }
        });
    }
    for (std::int32_t p = first; p < last; ++p) {
        const float w = done[p - first] ? best[p - first] : unreachedWeight;
        if (w != tree.weightAt[static_cast<std::size_t>(p)]) changed(tree.tour[static_cast<std::size_t>(p)], w);
    }
}

}  // namespace detail

// The landscape without `removed`, within the reach of `tree`'s search: changed(v, w) for
// every node of its subtree whose weight changes, w = unreachedWeight when it is no longer
// reached within `reach`. `tree` was built with its tour.
template <class Changed>
void weightsWithoutNode(const PathRules& rules, const ShortestPathTree& tree, std::int32_t removed, double reach,
                        PathScratch& scratch, Changed changed) {
    const std::size_t k = static_cast<std::size_t>(removed);
    if (tree.tin[k] < 0 || tree.tout[k] - tree.tin[k] <= 1) return;  // beyond reach, or a leaf
    if (tree.ownNeighbours)
        detail::repairWeights(rules, tree, detail::CopiedConnections{tree}, removed, reach, scratch, changed);
    else
        detail::repairWeights(rules, tree, detail::LookedUpConnections{tree}, removed, reach, scratch, changed);
}

// The landscape with a candidate, within the reach of `tree`'s search: changed(v, w) for
// every existing node whose weight shrinks through it to at most `reach`. Returns the
// candidate's own weight (unreachedWeight when none within reach).
template <class Changed>
float weightsWithCandidate(const CompactGraph& paths, const PathRules& rules, const ShortestPathTree& tree,
                           const CandidateEdges& edges, double reach, PathScratch& scratch, Changed changed) {
    float own = unreachedWeight;
    for (std::size_t e = 0; e < edges.node.size(); ++e) {
        const float du = tree.weight[static_cast<std::size_t>(edges.node[e])];
        if (du == unreachedWeight || !rules.expands(du)) continue;
        const float candidate = pathWeight(du, edges.weight[e]);
        if (candidate < own) own = candidate;
    }
    if (!(static_cast<double>(own) <= reach)) return unreachedWeight;
    if (!rules.expands(own)) return own;
    // Every lightened path runs through the candidate: a search from it, over the nodes
    // it improves, with the old weights as the bounds to beat.
    scratch.weight.clearAll();
    scratch.settled.clearAll();
    scratch.touched.clear();
    scratch.heap.clear();
    const auto current = [&](std::int32_t x) {
        return scratch.weight.has(x) ? scratch.weight.get(x) : tree.weight[static_cast<std::size_t>(x)];
    };
    const auto offer = [&](std::int32_t x, float candidate) {
        if (!(candidate < current(x)) || !(static_cast<double>(candidate) <= reach)) return;
        if (!scratch.weight.has(x)) scratch.touched.push_back(x);
        scratch.weight.set(x, candidate);
        scratch.heap.push(candidate, x);
    };
    for (std::size_t e = 0; e < edges.node.size(); ++e) offer(edges.node[e], pathWeight(own, edges.weight[e]));
    while (!scratch.heap.empty()) {
        const auto [d, v] = scratch.heap.pop();
        if (d != scratch.weight.get(v) || scratch.settled.has(v)) continue;
        scratch.settled.set(v, 1);
        if (!rules.expands(d)) continue;
        for (std::int64_t e = paths.begin(v); e < paths.end(v); ++e) {
            const std::int32_t x = paths.target[static_cast<std::size_t>(e)];
            if (scratch.settled.has(x)) continue;
            offer(x, pathWeight(d, paths.weight[static_cast<std::size_t>(e)]));
        }
    }
    for (std::int32_t v : scratch.touched) changed(v, scratch.weight.get(v));
    return own;
}

}  // namespace engine::fast
