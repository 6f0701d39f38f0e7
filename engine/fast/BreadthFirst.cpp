#include "engine/fast/BreadthFirst.h"

#include "engine/fast/TreeTour.h"

namespace engine::fast {

void breadthFirstFrom(const CompactGraph& links, const std::vector<std::int32_t>& seeds, std::int32_t seedDistance,
                      std::vector<std::int32_t>& distance, std::vector<std::int32_t>& queue) {
    distance.assign(static_cast<std::size_t>(links.n), unreachedLinks);
    queue.clear();
    for (std::int32_t s : seeds) {
        if (distance[static_cast<std::size_t>(s)] != unreachedLinks) continue;
        distance[static_cast<std::size_t>(s)] = seedDistance;
        queue.push_back(s);
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::int32_t x = queue[head];
        const std::int32_t next = distance[static_cast<std::size_t>(x)] + 1;
        for (std::int64_t e = links.begin(x); e < links.end(x); ++e) {
            const std::size_t y = static_cast<std::size_t>(links.target[static_cast<std::size_t>(e)]);
            if (distance[y] != unreachedLinks) continue;
            distance[y] = next;
            queue.push_back(static_cast<std::int32_t>(y));
        }
    }
}

void breadthFirstTree(const CompactGraph& links, std::int32_t source, bool dominators, BreadthFirstTree& tree,
                      BreadthFirstScratch& scratch) {
    breadthFirstFrom(links, {source}, 0, tree.distance, tree.order);
    if (!dominators) return;

    // Immediate dominators in visiting order: the meeting point, in the dominator tree,
    // of all the node's predecessors on shortest paths. A dominator lies closer to the
    // source than the node, so it was visited earlier: walking up from whichever of two
    // nodes was visited later meets at their nearest common dominator.
    const std::size_t n = static_cast<std::size_t>(links.n);
    std::vector<std::int32_t>& visited = scratch.childStart;  // visiting position of each node
    visited.assign(n, -1);
    for (std::size_t at = 0; at < tree.order.size(); ++at) visited[static_cast<std::size_t>(tree.order[at])] = static_cast<std::int32_t>(at);
    tree.dominator.assign(n, -1);
    tree.dominator[static_cast<std::size_t>(source)] = source;
    const auto meet = [&](std::int32_t a, std::int32_t b) {
        while (a != b) {
            while (visited[static_cast<std::size_t>(a)] > visited[static_cast<std::size_t>(b)])
                a = tree.dominator[static_cast<std::size_t>(a)];
            while (visited[static_cast<std::size_t>(b)] > visited[static_cast<std::size_t>(a)])
                b = tree.dominator[static_cast<std::size_t>(b)];
        }
        return a;
    };
    for (std::size_t at = 1; at < tree.order.size(); ++at) {
        const std::int32_t v = tree.order[at];
        const std::int32_t before = tree.distance[static_cast<std::size_t>(v)] - 1;
        std::int32_t dominator = -1;
        for (std::int64_t e = links.begin(v); e < links.end(v); ++e) {
            const std::int32_t u = links.target[static_cast<std::size_t>(e)];
            if (tree.distance[static_cast<std::size_t>(u)] != before) continue;
            dominator = dominator < 0 ? u : meet(dominator, u);
        }
        tree.dominator[static_cast<std::size_t>(v)] = dominator;
    }
    layOutTour(tree.order, tree.dominator, links.n, tree.tin, tree.tout, tree.tour, scratch.children);
}

}  // namespace engine::fast
