#include "engine/fast/ShortestPaths.h"

#include "engine/fast/TreeTour.h"

namespace engine::fast {

void shortestPathTree(const CompactGraph& paths, const PathRules& rules, std::int32_t source, double reach,
                      bool withTour, ShortestPathTree& tree, PathScratch& scratch, NeighbourCopies copies) {
    const std::size_t n = static_cast<std::size_t>(paths.n);
    tree.weight.assign(n, unreachedWeight);
    tree.parent.assign(n, -1);
    tree.order.clear();
    MinHeap<float>& heap = scratch.heap;
    heap.clear();
    scratch.settled.clearAll();
    tree.weight[static_cast<std::size_t>(source)] = 0.0f;
    heap.push(0.0f, source);
    while (!heap.empty()) {
        const auto [d, v] = heap.pop();
        // A node's weight only decreases, so an entry above it is stale; a node is pushed
        // again only at a strictly smaller weight, so the current one comes out once.
        if (d != tree.weight[static_cast<std::size_t>(v)]) continue;
        if (static_cast<double>(d) > reach) {
            // Everything left lies beyond the reach: forget the weights found for it.
            tree.weight[static_cast<std::size_t>(v)] = unreachedWeight;
            tree.parent[static_cast<std::size_t>(v)] = -1;
            heap.drain([&](std::int32_t x) {
                if (scratch.settled.has(x)) return;  // a stale entry of a node within reach
                tree.weight[static_cast<std::size_t>(x)] = unreachedWeight;
                tree.parent[static_cast<std::size_t>(x)] = -1;
            });
            break;
        }
        scratch.settled.set(v, 1);
        tree.order.push_back(v);
        if (!rules.expands(d)) continue;
        for (std::int64_t e = paths.begin(v); e < paths.end(v); ++e) {
            const std::size_t x = static_cast<std::size_t>(paths.target[static_cast<std::size_t>(e)]);
            const float candidate = pathWeight(d, paths.weight[static_cast<std::size_t>(e)]);
            if (candidate < tree.weight[x]) {
                tree.weight[x] = candidate;
                tree.parent[x] = v;
                heap.push(candidate, static_cast<std::int32_t>(x));
            }
        }
    }
    tree.paths = &paths;
    if (!withTour) return;
    layOutTour(tree.order, tree.parent, paths.n, tree.tin, tree.tout, tree.tour, scratch.cursor);
    const std::size_t reached = tree.tour.size();
    tree.weightAt.resize(reached);
    tree.ownNeighbours = copiesNeighbours(paths, copies);
    tree.neighbourStart.resize(tree.ownNeighbours ? reached + 1 : 0);
    tree.neighbourAt.clear();
    tree.edgeWeightAt.clear();
    for (std::size_t p = 0; p < reached; ++p) {
        const std::int32_t v = tree.tour[p];
        tree.weightAt[p] = tree.weight[static_cast<std::size_t>(v)];
        if (!tree.ownNeighbours) continue;
        tree.neighbourStart[p] = static_cast<std::int32_t>(tree.neighbourAt.size());
        for (std::int64_t e = paths.begin(v); e < paths.end(v); ++e) {
            tree.neighbourAt.push_back(tree.tin[static_cast<std::size_t>(paths.target[static_cast<std::size_t>(e)])]);
            tree.edgeWeightAt.push_back(paths.weight[static_cast<std::size_t>(e)]);
        }
    }
    if (tree.ownNeighbours) tree.neighbourStart[reached] = static_cast<std::int32_t>(tree.neighbourAt.size());
}

void shortestPathsFromCandidate(const CompactGraph& paths, const PathRules& rules, const CandidateEdges& edges,
                                std::vector<float>& weight, PathScratch& scratch) {
    const std::size_t n = static_cast<std::size_t>(paths.n);
    weight.assign(n, unreachedWeight);
    MinHeap<float>& heap = scratch.heap;
    heap.clear();
    // The candidate, at weight 0, is expanded under every rule (the limit is never negative).
    for (std::size_t e = 0; e < edges.node.size(); ++e) {
        const std::size_t u = static_cast<std::size_t>(edges.node[e]);
        const float candidate = pathWeight(0.0f, edges.weight[e]);
        if (candidate < weight[u]) {
            weight[u] = candidate;
            heap.push(candidate, static_cast<std::int32_t>(u));
        }
    }
    while (!heap.empty()) {
        const auto [d, v] = heap.pop();
        if (d != weight[static_cast<std::size_t>(v)]) continue;
        if (!rules.expands(d)) continue;
        for (std::int64_t e = paths.begin(v); e < paths.end(v); ++e) {
            const std::size_t x = static_cast<std::size_t>(paths.target[static_cast<std::size_t>(e)]);
            const float candidate = pathWeight(d, paths.weight[static_cast<std::size_t>(e)]);
            if (candidate < weight[x]) {
                weight[x] = candidate;
                heap.push(candidate, static_cast<std::int32_t>(x));
            }
        }
    }
}

}  // namespace engine::fast
