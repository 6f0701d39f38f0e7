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

// The search with the immediate dominators found on the way: a node's dominator is the
// meeting point, in the dominator tree, of all its predecessors on shortest paths, which are
// all taken off the queue before the node is, with their own dominators final by then. A
// dominator lies closer to the source than the node, so it was visited earlier: walking up
// from whichever of two nodes was visited later meets at their nearest common dominator.
void searchWithDominators(const CompactGraph& links, std::int32_t source, BreadthFirstTree& tree,
                          std::vector<std::int32_t>& visited) {
    const std::size_t n = static_cast<std::size_t>(links.n);
    tree.distance.assign(n, unreachedLinks);
    tree.dominator.assign(n, -1);
    visited.resize(n);
    tree.order.clear();
    const auto meet = [&](std::int32_t a, std::int32_t b) {
        while (a != b) {
            while (visited[static_cast<std::size_t>(a)] > visited[static_cast<std::size_t>(b)])
                a = tree.dominator[static_cast<std::size_t>(a)];
            while (visited[static_cast<std::size_t>(b)] > visited[static_cast<std::size_t>(a)])
                b = tree.dominator[static_cast<std::size_t>(b)];
        }
        return a;
    };
    tree.distance[static_cast<std::size_t>(source)] = 0;
    tree.dominator[static_cast<std::size_t>(source)] = source;
    visited[static_cast<std::size_t>(source)] = 0;
    tree.order.push_back(source);
    for (std::size_t head = 0; head < tree.order.size(); ++head) {
        const std::int32_t x = tree.order[head];
        const std::int32_t next = tree.distance[static_cast<std::size_t>(x)] + 1;
        for (std::int64_t e = links.begin(x); e < links.end(x); ++e) {
            const std::size_t y = static_cast<std::size_t>(links.target[static_cast<std::size_t>(e)]);
            if (tree.distance[y] == unreachedLinks) {
                tree.distance[y] = next;
                tree.dominator[y] = x;
                visited[y] = static_cast<std::int32_t>(tree.order.size());
                tree.order.push_back(static_cast<std::int32_t>(y));
            } else if (tree.distance[y] == next) {
                tree.dominator[y] = meet(tree.dominator[y], x);
            }
        }
    }
}

// The tables of the repair, by tour position: distance, depth, escape depths and the
// neighbours' positions.
void layOutRepairTables(const CompactGraph& links, BreadthFirstTree& tree, BreadthFirstScratch& scratch) {
    const std::size_t reached = tree.tour.size();
    const bool copy = tree.ownNeighbours;
    tree.levelAt.resize(reached);
    tree.depthAt.resize(reached);
    tree.sideEscape.resize(reached);
    tree.downEscape.resize(reached);
    tree.neighbourStart.resize(copy ? reached + 1 : 0);
    tree.successorEnd.resize(copy ? reached : 0);
    // By tour position: the dominator's position and the end of the subtree; by node: its
    // distance and position, read together for every neighbour.
    std::vector<std::int32_t>& dominatorAt = scratch.dominatorAt;
    std::vector<std::int32_t>& subtreeEnd = scratch.subtreeEnd;
    dominatorAt.resize(reached);
    subtreeEnd.resize(reached);
    std::vector<NodePlace>& placeOf = scratch.placeOf;
    placeOf.resize(static_cast<std::size_t>(links.n));
    std::int32_t neighbours = 0;
    // Preorder puts every dominator before the nodes it dominates.
    for (std::size_t p = 0; p < reached; ++p) {
        const std::size_t v = static_cast<std::size_t>(tree.tour[p]);
        tree.levelAt[p] = tree.distance[v];
        dominatorAt[p] = tree.tin[static_cast<std::size_t>(tree.dominator[v])];
        subtreeEnd[p] = tree.tout[v];
        tree.depthAt[p] = p == 0 ? 0 : tree.depthAt[static_cast<std::size_t>(dominatorAt[p])] + 1;
        placeOf[v] = NodePlace{tree.distance[v], static_cast<std::int32_t>(p)};
        if (!copy) continue;
        tree.neighbourStart[p] = neighbours;
        neighbours += links.degree(static_cast<std::int32_t>(v));
    }
    if (copy) tree.neighbourStart[reached] = neighbours;
    tree.neighbourAt.resize(static_cast<std::size_t>(neighbours));
    // The meeting point of a set of nodes is the lowest dominator whose subtree holds their
    // whole tour range: walk up from the node until it does.
    const auto meetingDepth = [&](std::int32_t from, std::int32_t low, std::int32_t high) {
        std::int32_t a = from;
        while (!(a <= low && high < subtreeEnd[static_cast<std::size_t>(a)])) a = dominatorAt[static_cast<std::size_t>(a)];
        return tree.depthAt[static_cast<std::size_t>(a)];
    };
    for (std::size_t p = 0; p < reached; ++p) {
        const std::int32_t v = tree.tour[p];
        const std::int32_t level = tree.levelAt[p];
        // Neighbours one link further from the front, the others from the back.
        std::int32_t front = copy ? tree.neighbourStart[p] : 0;
        std::int32_t back = copy ? tree.neighbourStart[p + 1] : 0;
        // The tour range that holds the node and its neighbours at the same distance, and
        // the one that holds it and those one link further.
        const std::int32_t at = static_cast<std::int32_t>(p);
        std::int32_t sideLow = at, sideHigh = at, downLow = at, downHigh = at;
        bool side = false, down = false;
        for (std::int64_t e = links.begin(v); e < links.end(v); ++e) {
            const NodePlace u = placeOf[static_cast<std::size_t>(links.target[static_cast<std::size_t>(e)])];
            if (u.level == level + 1) {
                if (copy) tree.neighbourAt[static_cast<std::size_t>(front++)] = u.position;
                down = true;
                downLow = std::min(downLow, u.position);
                downHigh = std::max(downHigh, u.position);
            } else {
                if (copy) tree.neighbourAt[static_cast<std::size_t>(--back)] = u.position;
                if (u.level == level) {
                    side = true;
                    sideLow = std::min(sideLow, u.position);
                    sideHigh = std::max(sideHigh, u.position);
                }
            }
        }
        if (copy) tree.successorEnd[p] = front;
        tree.sideEscape[p] = side ? meetingDepth(at, sideLow, sideHigh) : noEscape;
        tree.downEscape[p] = down ? meetingDepth(at, downLow, downHigh) : noEscape;
    }
}

}  // namespace

void breadthFirstTree(const CompactGraph& links, std::int32_t source, bool dominators, BreadthFirstTree& tree,
                      BreadthFirstScratch& scratch, NeighbourCopies copies) {
    tree.links = &links;
    if (!dominators) {
        breadthFirstFrom(links, {source}, 0, tree.distance, tree.order);
        return;
    }
    tree.ownNeighbours = copiesNeighbours(links, copies);
    searchWithDominators(links, source, tree, scratch.visitedAt);
    layOutTour(tree.order, tree.dominator, links.n, tree.tin, tree.tout, tree.tour, scratch.tourCursor);
    layOutRepairTables(links, tree, scratch);
}

}  // namespace engine::fast
