#pragma once
// Lays a tree out as an Euler tour: the descendants of v are tour[tin[v]+1 .. tout[v]).
// The tree is given by parent links over the nodes of `order`, in which every parent
// comes before its children (a search's visiting order).
#include <cstdint>
#include <vector>

namespace engine::fast {

inline void layOutTour(const std::vector<std::int32_t>& order, const std::vector<std::int32_t>& parent, std::int32_t n,
                       std::vector<std::int32_t>& tin, std::vector<std::int32_t>& tout,
                       std::vector<std::int32_t>& tour, std::vector<std::int32_t>& cursor) {
    tin.assign(static_cast<std::size_t>(n), -1);
    tout.assign(static_cast<std::size_t>(n), -1);
    tour.resize(order.size());
    cursor.resize(static_cast<std::size_t>(n));
    // Subtree sizes, children before parents.
    for (std::int32_t v : order) tout[static_cast<std::size_t>(v)] = 1;
    for (std::size_t at = order.size(); at-- > 1;) {
        const std::int32_t v = order[at];
        tout[static_cast<std::size_t>(parent[static_cast<std::size_t>(v)])] += tout[static_cast<std::size_t>(v)];
    }
    // Preorder positions, parents before children: each child takes the next free slot of
    // its parent's range.
    for (std::size_t at = 0; at < order.size(); ++at) {
        const std::size_t v = static_cast<std::size_t>(order[at]);
        const std::int32_t size = tout[v];
        if (at == 0) {
            tin[v] = 0;
        } else {
            const std::size_t p = static_cast<std::size_t>(parent[v]);
            tin[v] = cursor[p];
            cursor[p] += size;
        }
        cursor[v] = tin[v] + 1;
        tout[v] = tin[v] + size;
        tour[static_cast<std::size_t>(tin[v])] = static_cast<std::int32_t>(v);
    }
}

}  // namespace engine::fast
