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

namespace {

// Immediate dominators in visiting order: the meeting point, in the dominator tree, of all
// the node's predecessors on shortest paths. A dominator lies closer to the source than the
// node, so it was visited earlier: walking up from whichever of two nodes was visited later
// meets at their nearest common dominator.
void findDominators(const CompactGraph& links, std::int32_t source, BreadthFirstTree& tree,
                    std::vector<std::int32_t>& visited) {
    const std::size_t n = static_cast<std::size_t>(links.n);
    visited.assign(n, -1);
    for (std::size_t at = 0; at < tree.order.size(); ++at)
        visited[static_cast<std::size_t>(tree.order[at])] = static_cast<std::int32_t>(at);
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
}

// The tables of the repair, by tour position: distance, depth, escape depths and the
// neighbours' positions.
void layOutRepairTables(const CompactGraph& links, BreadthFirstTree& tree) {
    const std::size_t reached = tree.tour.size();
    tree.levelAt.resize(reached);
    tree.depthAt.resize(reached);
    tree.sideEscape.resize(reached);
    tree.downEscape.resize(reached);
    tree.neighbourStart.resize(reached + 1);
    tree.neighbourAt.clear();
    // Preorder puts every dominator before the nodes it dominates.
    for (std::size_t p = 0; p < reached; ++p) {
        const std::size_t v = static_cast<std::size_t>(tree.tour[p]);
        tree.levelAt[p] = tree.distance[v];
        tree.depthAt[p] = p == 0 ? 0 : tree.depthAt[static_cast<std::size_t>(tree.tin[static_cast<std::size_t>(tree.dominator[v])])] + 1;
    }
    for (std::size_t p = 0; p < reached; ++p) {
        const std::int32_t v = tree.tour[p];
        const std::int32_t level = tree.levelAt[p];
        tree.neighbourStart[p] = static_cast<std::int32_t>(tree.neighbourAt.size());
        // The tour range that holds the node and its neighbours at the same distance, and
        // the one that holds it and those one link further.
        std::int32_t sideLow = static_cast<std::int32_t>(p), sideHigh = sideLow;
        std::int32_t downLow = sideLow, downHigh = sideLow;
        bool side = false, down = false;
        for (std::int64_t e = links.begin(v); e < links.end(v); ++e) {
            const std::size_t u = static_cast<std::size_t>(links.target[static_cast<std::size_t>(e)]);
            const std::int32_t q = tree.tin[u];
            tree.neighbourAt.push_back(q);
            if (tree.distance[u] == level) {
                side = true;
                sideLow = std::min(sideLow, q);
                sideHigh = std::max(sideHigh, q);
            } else if (tree.distance[u] == level + 1) {
                down = true;
                downLow = std::min(downLow, q);
                downHigh = std::max(downHigh, q);
            }
        }
        // The meeting point of a set of nodes is the lowest dominator whose subtree holds
        // their whole tour range: walk up from the node until it does.
        const auto meetingDepth = [&](std::int32_t low, std::int32_t high) {
            std::int32_t a = v;
            while (!(tree.tin[static_cast<std::size_t>(a)] <= low && high < tree.tout[static_cast<std::size_t>(a)]))
                a = tree.dominator[static_cast<std::size_t>(a)];
            return tree.depthAt[static_cast<std::size_t>(tree.tin[static_cast<std::size_t>(a)])];
        };
        tree.sideEscape[p] = side ? meetingDepth(sideLow, sideHigh) : noEscape;
        tree.downEscape[p] = down ? meetingDepth(downLow, downHigh) : noEscape;
    }
    tree.neighbourStart[reached] = static_cast<std::int32_t>(tree.neighbourAt.size());
}

}  // namespace

void breadthFirstTree(const CompactGraph& links, std::int32_t source, bool dominators, BreadthFirstTree& tree,
                      BreadthFirstScratch& scratch) {
    breadthFirstFrom(links, {source}, 0, tree.distance, tree.order);
    if (!dominators) return;
    findDominators(links, source, tree, scratch.stack);
    layOutTour(tree.order, tree.dominator, links.n, tree.tin, tree.tout, tree.tour, scratch.children);
    layOutRepairTables(links, tree);
}

}  // namespace engine::fast
