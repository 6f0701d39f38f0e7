#pragma once
// Adjacency in compressed rows: the neighbours of node v are target[offset[v] .. offset[v+1]),
// in ascending order, with an optional weight per entry. The fast path's searches walk
// these arrays instead of the landscape's linked lists and n x n matrices.
#include <cstdint>
#include <vector>

namespace engine::fast {

struct CompactGraph {
    std::int32_t n = 0;
    std::vector<std::int64_t> offset;  // n + 1 entries
    std::vector<std::int32_t> target;
    std::vector<float> weight;  // empty, or one per entry

    std::int64_t begin(std::int32_t v) const { return offset[static_cast<std::size_t>(v)]; }
    std::int64_t end(std::int32_t v) const { return offset[static_cast<std::size_t>(v) + 1]; }
    std::int32_t degree(std::int32_t v) const { return static_cast<std::int32_t>(end(v) - begin(v)); }
};

// Whether a search tree keeps its own copy of the graph's rows renumbered by its tour, for
// the repairs after a removal. A chunk of sources holds one copy each: for a sparse graph
// that is little memory and saves a lookup per entry in every repair; for a dense one it
// would be too much memory, and the repairs look the tour positions up instead.
enum class NeighbourCopies { WhenSparse, Always, Never };
// Whether a graph of n nodes and `entries` entries counts as sparse for that.
inline bool sparseForCopies(std::uint64_t entries, std::uint64_t n) {
    return entries <= (std::uint64_t{1} << 20) || entries <= 16 * n;
}
inline bool copiesNeighbours(const CompactGraph& graph, NeighbourCopies copies) {
    if (copies != NeighbourCopies::WhenSparse) return copies == NeighbourCopies::Always;
    return sparseForCopies(graph.target.size(), static_cast<std::uint64_t>(graph.n));
}

// Builds a graph row by row: rowOf(v, add) calls add(neighbour, weight) for every neighbour
// of v in ascending order. It is called twice per row (once to count, once to fill).
template <class RowOf>
CompactGraph compactGraphOf(std::int32_t n, bool weighted, RowOf rowOf) {
    CompactGraph graph;
    graph.n = n;
    graph.offset.assign(static_cast<std::size_t>(n) + 1, 0);
    for (std::int32_t v = 0; v < n; ++v) {
        std::int64_t count = 0;
        rowOf(v, [&count](std::int32_t, float) { ++count; });
        graph.offset[static_cast<std::size_t>(v) + 1] = graph.offset[static_cast<std::size_t>(v)] + count;
    }
    graph.target.resize(static_cast<std::size_t>(graph.offset.back()));
    if (weighted) graph.weight.resize(graph.target.size());
    for (std::int32_t v = 0; v < n; ++v) {
        std::size_t at = static_cast<std::size_t>(graph.offset[static_cast<std::size_t>(v)]);
        rowOf(v, [&](std::int32_t neighbour, float w) {
            graph.target[at] = neighbour;
            if (weighted) graph.weight[at] = w;
            ++at;
        });
    }
    return graph;
}

}  // namespace engine::fast
