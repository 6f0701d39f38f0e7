#pragma once
// Topological distances on the links for IIC and H: the breadth-first tree of a source,
// the dominator tree of its shortest-path graph (node k dominates v when every shortest
// path to v passes through k, which is exactly when removing k lengthens v's distance),
// and the distances after removing a node or adding a candidate, found by touching only
// the nodes whose distance changes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/fast/CompactGraph.h"
#include "engine/fast/SearchScratch.h"

namespace engine::fast {

inline constexpr std::int32_t unreachedLinks = 2147483647;

struct BreadthFirstTree {
    std::vector<std::int32_t> distance;  // links from the source; unreachedLinks when none
    std::vector<std::int32_t> order;     // reached nodes, in visiting order (the source first)

    // With dominators: the dominator tree as a preorder tour, so that the nodes dominated
    // by k are tour[tin[k]+1 .. tout[k]), and what the repair after a removal reads, by
    // tour position p (the node tour[p]):
    std::vector<std::int32_t> dominator, tin, tout, tour;
    std::vector<std::int32_t> levelAt;  // the node's distance
    std::vector<std::int32_t> depthAt;  // its depth in the dominator tree (the source: 0)
    // The depth at which the node meets, in the dominator tree, its neighbours at the same
    // distance (sideEscape) or one link further (downEscape); noEscape when it has none.
    // Removing a dominator of the node deeper than that leaves one of those neighbours
    // where it was, and the node one link (side) or two links (down) further away.
    std::vector<std::int32_t> sideEscape, downEscape;
    // The links, and with ownNeighbours a copy of them by tour position: the node's
    // neighbours' positions are neighbourAt[neighbourStart[p] .. neighbourStart[p+1]), those
    // one link further first, up to successorEnd[p]. Without it the repair reads the links
    // and looks positions up.
    const CompactGraph* links = nullptr;
    bool ownNeighbours = false;
    std::vector<std::int32_t> neighbourStart, neighbourAt, successorEnd;
};
inline constexpr std::int32_t noEscape = 2147483647;

namespace detail {

// The neighbours of the node at a tour position, as tour positions: from the tree's copy,
// or from the links.
struct CopiedNeighbours {
    const BreadthFirstTree& tree;
    template <class Visit>
    void all(std::int32_t p, Visit visit) const {
        const std::int32_t end = tree.neighbourStart[static_cast<std::size_t>(p) + 1];
        for (std::int32_t e = tree.neighbourStart[static_cast<std::size_t>(p)]; e < end; ++e)
            visit(tree.neighbourAt[static_cast<std::size_t>(e)]);
    }
    template <class Visit>
    void oneFurther(std::int32_t p, Visit visit) const {
        const std::int32_t end = tree.successorEnd[static_cast<std::size_t>(p)];
        for (std::int32_t e = tree.neighbourStart[static_cast<std::size_t>(p)]; e < end; ++e)
            visit(tree.neighbourAt[static_cast<std::size_t>(e)]);
    }
};
struct LookedUpNeighbours {
    const BreadthFirstTree& tree;
    template <class Visit>
    void all(std::int32_t p, Visit visit) const {
        const std::int32_t v = tree.tour[static_cast<std::size_t>(p)];
        for (std::int64_t e = tree.links->begin(v); e < tree.links->end(v); ++e)
            visit(tree.tin[static_cast<std::size_t>(tree.links->target[static_cast<std::size_t>(e)])]);
    }
    template <class Visit>
    void oneFurther(std::int32_t p, Visit visit) const {
        const std::int32_t further = tree.levelAt[static_cast<std::size_t>(p)] + 1;
        all(p, [&](std::int32_t q) {
            if (tree.levelAt[static_cast<std::size_t>(q)] == further) visit(q);
        });
    }
};

}  // namespace detail

// A node's distance and tour position.
struct NodePlace {
    std::int32_t level;
    std::int32_t position;
};

struct BreadthFirstScratch {
    StampedValues<std::int32_t> distance;
    std::vector<std::int32_t> queue, tourCursor, visitedAt, dominatorAt, subtreeEnd;
    std::vector<NodePlace> placeOf;
    // The repair after a removal: each dominated node's best distance so far (by its place
    // among them), the nodes found one link further, the first offers of the others in
    // order of distance, and the queue of later ones.
    std::vector<std::int32_t> best, counts, oneFurther;
    std::vector<std::uint8_t> settled;
    std::vector<std::pair<std::int32_t, std::int32_t>> offers, sortedOffers, improved;
    void resize(std::int32_t n) { distance.resize(n + 1); }
};

// Distances from `source`; with `dominators`, the dominator tree and the tables of the
// repair too.
void breadthFirstTree(const CompactGraph& links, std::int32_t source, bool dominators, BreadthFirstTree& tree,
                      BreadthFirstScratch& scratch, NeighbourCopies copies = NeighbourCopies::WhenSparse);

// Distances from the seeds (all at distance `seedDistance`) into `distance` (n entries).
void breadthFirstFrom(const CompactGraph& links, const std::vector<std::int32_t>& seeds, std::int32_t seedDistance,
                      std::vector<std::int32_t>& distance, std::vector<std::int32_t>& queue);

namespace detail {

// The repair of distancesWithoutNode below, reading the neighbours one way or the other.
template <class Neighbours, class Changed>
void repairDistances(const BreadthFirstTree& tree, const Neighbours& neighbours, std::int32_t removed,
                     BreadthFirstScratch& scratch, Changed changed) {
    const std::size_t k = static_cast<std::size_t>(removed);
    const std::int32_t first = tree.tin[k] + 1;
    const std::int32_t last = tree.tout[k];
    const std::int32_t size = last - first;
    const std::int32_t depthOfRemoved = tree.depthAt[static_cast<std::size_t>(tree.tin[k])];
    const auto inside = [first, last](std::int32_t q) { return q >= first && q < last; };
    const auto level = [&tree](std::int32_t p) { return tree.levelAt[static_cast<std::size_t>(p)]; };

    if (scratch.best.size() < static_cast<std::size_t>(size)) {
        scratch.best.resize(static_cast<std::size_t>(size));
        scratch.oneFurther.resize(static_cast<std::size_t>(size));
        scratch.settled.resize(static_cast<std::size_t>(size));
    }
    // By tour position p, at p - first.
    std::int32_t* const bestAt = scratch.best.data();
    std::uint8_t* const settledAt = scratch.settled.data();
    const auto bestOf = [bestAt, first](std::int32_t p) -> std::int32_t& { return bestAt[p - first]; };
    const auto settled = [settledAt, first](std::int32_t p) -> std::uint8_t& { return settledAt[p - first]; };
    std::int32_t* oneFurther = scratch.oneFurther.data();
    std::int32_t found = 0;
    for (std::int32_t p = first; p < last; ++p) {
        const std::size_t at = static_cast<std::size_t>(p);
        const bool side = depthOfRemoved > tree.sideEscape[at];
        settled(p) = side;
        if (side) {
            bestOf(p) = level(p) + 1;
            oneFurther[found++] = p;
        } else {
            bestOf(p) = depthOfRemoved > tree.downEscape[at] ? level(p) + 2 : unreachedLinks;
        }
    }
    for (std::int32_t next = 0; next < found; ++next) {
        neighbours.oneFurther(oneFurther[next], [&](std::int32_t q) {
            if (!inside(q) || settled(q)) return;
            settled(q) = 1;
            bestOf(q) = level(q) + 1;
            oneFurther[found++] = q;
        });
    }

    // The others: their offers through the nodes settled so far, in order of distance.
    auto& offers = scratch.offers;
    offers.clear();
    std::int32_t lowest = unreachedLinks, highest = 0;
    if (found < size) {
        for (std::int32_t p = first; p < last; ++p) {
            if (settled(p)) continue;
            std::int32_t offer = bestOf(p);
            neighbours.all(p, [&](std::int32_t q) {
                if (inside(q) && settled(q)) offer = std::min(offer, level(q) + 2);
            });
            bestOf(p) = offer;
            if (offer == unreachedLinks) continue;
            offers.emplace_back(offer, p);
            lowest = std::min(lowest, offer);
            highest = std::max(highest, offer);
        }
    }
    auto* sorted = &offers;
    if (offers.size() > 32 && highest - lowest < 4 * static_cast<std::int32_t>(offers.size())) {
        std::vector<std::int32_t>& counts = scratch.counts;
        counts.assign(static_cast<std::size_t>(highest - lowest) + 2, 0);
        for (const auto& offer : offers) ++counts[static_cast<std::size_t>(offer.first - lowest) + 1];
        for (std::size_t key = 1; key < counts.size(); ++key) counts[key] += counts[key - 1];
        scratch.sortedOffers.resize(offers.size());
        for (const auto& offer : offers)
            scratch.sortedOffers[static_cast<std::size_t>(counts[static_cast<std::size_t>(offer.first - lowest)]++)] = offer;
        sorted = &scratch.sortedOffers;
    } else {
        std::sort(offers.begin(), offers.end());
    }

    // Unit steps from offers taken in order of distance: the queue of improvements stays in
    // order too, so merging the two takes every node at its final distance first.
    auto& improved = scratch.improved;
    improved.clear();
    std::size_t nextOffer = 0, nextImproved = 0;
    for (;;) {
        std::pair<std::int32_t, std::int32_t> taken;
        if (nextImproved < improved.size() &&
            (nextOffer >= sorted->size() || improved[nextImproved].first <= (*sorted)[nextOffer].first))
            taken = improved[nextImproved++];
        else if (nextOffer < sorted->size())
            taken = (*sorted)[nextOffer++];
        else
            break;
        const auto [d, p] = taken;
        if (d != bestOf(p)) continue;  // improved since
        const std::int32_t next = d + 1;
        neighbours.all(p, [&](std::int32_t q) {
            if (!inside(q)) return;
            std::int32_t& current = bestOf(q);
            if (next >= current) return;
            current = next;
            improved.emplace_back(next, q);
        });
    }
    for (std::int32_t p = first; p < last; ++p) changed(tree.tour[static_cast<std::size_t>(p)], bestOf(p));
}

}  // namespace detail

// The landscape without `removed`: changed(v, d) for every node whose distance changes,
// d = unreachedLinks when it can no longer be reached. `tree` was built with dominators.
//
// The nodes that change are those `removed` dominates; every other node keeps its
// distance. A dominated node v at distance d has all its neighbours at distance d - 1
// among the dominated (or the removed node), so its new distance is at least d + 1: it is
// d + 1 through a neighbour at distance d that stays where it was, d + 2 through one at
// d + 1, and otherwise only through other dominated nodes. Those first offers come from the
// escape depths at no cost. The nodes at d + 1 are then exactly those a path of links
// that each go one further leads to from a node with such a neighbour at distance d: they
// are found along those links alone. A breadth-first search over the rest, from their
// offers in order of distance, settles them.
template <class Changed>
void distancesWithoutNode(const BreadthFirstTree& tree, std::int32_t removed, BreadthFirstScratch& scratch,
                          Changed changed) {
    const std::size_t k = static_cast<std::size_t>(removed);
    if (tree.tin[k] < 0 || tree.tout[k] - tree.tin[k] <= 1) return;  // unreached, or dominates nothing
    if (tree.ownNeighbours)
        detail::repairDistances(tree, detail::CopiedNeighbours{tree}, removed, scratch, changed);
    else
        detail::repairDistances(tree, detail::LookedUpNeighbours{tree}, removed, scratch, changed);
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
