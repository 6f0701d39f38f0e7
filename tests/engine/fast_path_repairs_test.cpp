// The repairs after a removal against a plain search on the graph without the removed
// node, from every source and for every removal: the link distances of IIC and H (a node
// is reported exactly when its distance changes, with its new distance) and the path
// weights of PC (within a reach, and with the pruned variant's limit). The graphs are the
// shapes where the repairs take their different ways: bridges, cycles, grids, stars,
// cliques, several components, ties and zero weights.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <ostream>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/fast/BreadthFirst.h"
#include "engine/fast/CompactGraph.h"
#include "engine/fast/ExactArithmetic.h"
#include "engine/fast/ShortestPaths.h"

namespace {

using engine::fast::CompactGraph;
using engine::fast::unreachedLinks;
using engine::fast::unreachedWeight;

// An undirected graph as sorted adjacency with a weight per edge (the same both ways).
struct Graph {
    std::int32_t n = 0;
    std::vector<std::map<std::int32_t, float>> edges;
    explicit Graph(std::int32_t nodes) : n(nodes), edges(static_cast<std::size_t>(nodes)) {}
    void link(std::int32_t a, std::int32_t b, float w = 1.0f) {
        if (a == b) return;
        edges[static_cast<std::size_t>(a)][b] = w;
        edges[static_cast<std::size_t>(b)][a] = w;
    }
    CompactGraph compact() const {
        return engine::fast::compactGraphOf(n, true, [this](std::int32_t v, auto add) {
            for (const auto& [u, w] : edges[static_cast<std::size_t>(v)]) add(u, w);
        });
    }
};

struct Shape {
    const char* name;
    std::function<Graph(std::mt19937_64&)> make;
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

float randomWeight(std::mt19937_64& random) {
    // Ties and zero weights (probability 1) among the weights.
    static const float few[] = {0.0f, 0.5f, 0.5f, 1.0f, 1.0f, 2.0f, 0.25f};
    if (random() % 2 == 0) return few[random() % 7];
    return static_cast<float>(std::uniform_real_distribution<double>(0.0, 3.0)(random));
}

Graph path(std::int32_t n) {
    Graph g(n);
    for (std::int32_t i = 1; i < n; ++i) g.link(i - 1, i);
    return g;
}

Graph grid(std::int32_t side) {
    Graph g(side * side);
    for (std::int32_t r = 0; r < side; ++r)
        for (std::int32_t c = 0; c < side; ++c) {
            if (c + 1 < side) g.link(r * side + c, r * side + c + 1);
            if (r + 1 < side) g.link(r * side + c, (r + 1) * side + c);
        }
    return g;
}

// Clumps of nearby nodes on a plane, linked within a cutoff: chains of clumps through
// a few bottleneck nodes, as patches are in a real landscape, and some lone nodes.
Graph clumps(std::mt19937_64& random, std::int32_t n) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::pair<double, double>> centres(1 + random() % 5), place(static_cast<std::size_t>(n));
    for (auto& c : centres) c = {unit(random) * 20, unit(random) * 20};
    for (auto& p : place) {
        const auto& c = centres[random() % centres.size()];
        p = {c.first + (unit(random) - 0.5) * 8, c.second + (unit(random) - 0.5) * 8};
    }
    Graph g(n);
    const double cutoff = 1.5 + unit(random) * 2.5;
    for (std::int32_t i = 0; i < n; ++i)
        for (std::int32_t j = 0; j < i; ++j) {
            const double dx = place[static_cast<std::size_t>(i)].first - place[static_cast<std::size_t>(j)].first;
            const double dy = place[static_cast<std::size_t>(i)].second - place[static_cast<std::size_t>(j)].second;
            if (dx * dx + dy * dy <= cutoff * cutoff) g.link(i, j, randomWeight(random));
        }
    return g;
}

const Shape shapes[] = {
    {"SingleNode", [](std::mt19937_64&) { return Graph(1); }},
    {"Path", [](std::mt19937_64&) { return path(12); }},
    {"Cycle",
     [](std::mt19937_64&) {
         Graph g = path(11);
         g.link(10, 0);
         return g;
     }},
    {"Star",
     [](std::mt19937_64&) {
         Graph g(9);
         for (std::int32_t i = 1; i < 9; ++i) g.link(0, i);
         return g;
     }},
    {"Grid", [](std::mt19937_64&) { return grid(6); }},
    {"CliquesJoinedByABridge",
     [](std::mt19937_64&) {
         Graph g(12);
         for (std::int32_t i = 0; i < 6; ++i)
             for (std::int32_t j = 0; j < i; ++j) {
                 g.link(i, j);
                 g.link(6 + i, 6 + j);
             }
         g.link(5, 6);
         return g;
     }},
    {"ComponentsAndLoneNodes",
     [](std::mt19937_64&) {
         Graph g(14);
         for (std::int32_t i = 1; i < 5; ++i) g.link(i - 1, i);
         g.link(6, 7);
         g.link(7, 8);
         g.link(8, 6);
         return g;
     }},
    {"RandomClumps", [](std::mt19937_64& random) { return clumps(random, 20 + static_cast<std::int32_t>(random() % 80)); }},
};

// Link distances from `source` in the graph without `removed` (-1 for none).
std::vector<std::int32_t> distancesAvoiding(const Graph& g, std::int32_t source, std::int32_t removed) {
    std::vector<std::int32_t> d(static_cast<std::size_t>(g.n), unreachedLinks);
    std::queue<std::int32_t> queue;
    d[static_cast<std::size_t>(source)] = 0;
    queue.push(source);
    while (!queue.empty()) {
        const std::int32_t v = queue.front();
        queue.pop();
        for (const auto& [u, w] : g.edges[static_cast<std::size_t>(v)]) {
            if (u == removed || d[static_cast<std::size_t>(u)] != unreachedLinks) continue;
            d[static_cast<std::size_t>(u)] = d[static_cast<std::size_t>(v)] + 1;
            queue.push(u);
        }
    }
    return d;
}

// Path weights as the reference's dense search finds them, without `removed`: every node
// scanned per step, weights (float)(d_u + w), the pruned variant expanding only nodes
// within its limit; then nodes beyond `reach` count as not reached.
std::vector<float> weightsAvoiding(const Graph& g, std::int32_t source, std::int32_t removed,
                                   const engine::fast::PathRules& rules, double reach) {
    const std::size_t n = static_cast<std::size_t>(g.n);
    std::vector<float> d(n, unreachedWeight);
    std::vector<bool> visited(n, false);
    d[static_cast<std::size_t>(source)] = 0.0f;
    if (removed >= 0) visited[static_cast<std::size_t>(removed)] = true;
    for (;;) {
        std::int32_t u = -1;
        for (std::size_t v = 0; v < n; ++v)
            if (!visited[v] && (u < 0 || d[v] < d[static_cast<std::size_t>(u)])) u = static_cast<std::int32_t>(v);
        if (u < 0 || d[static_cast<std::size_t>(u)] == unreachedWeight) break;
        visited[static_cast<std::size_t>(u)] = true;
        if (!rules.expands(d[static_cast<std::size_t>(u)])) continue;
        for (const auto& [v, w] : g.edges[static_cast<std::size_t>(u)]) {
            if (visited[static_cast<std::size_t>(v)]) continue;
            const float offered = engine::fast::pathWeight(d[static_cast<std::size_t>(u)], w);
            if (offered < d[static_cast<std::size_t>(v)]) d[static_cast<std::size_t>(v)] = offered;
        }
    }
    for (float& weight : d)
        if (static_cast<double>(weight) > reach) weight = unreachedWeight;
    return d;
}

// Both ways of reading a node's neighbours in the repairs, whatever the graph's density.
const engine::fast::NeighbourCopies bothWays[] = {engine::fast::NeighbourCopies::Always,
                                                   engine::fast::NeighbourCopies::Never};

class Repairs : public ::testing::TestWithParam<Shape> {};

TEST_P(Repairs, ReportExactlyTheLinkDistancesThatARemovalChanges) {
    std::mt19937_64 random(std::hash<std::string>{}(GetParam().name));
    for (int trial = 0; trial < 6; ++trial) {
        const Graph g = GetParam().make(random);
        const CompactGraph links = g.compact();
        engine::fast::BreadthFirstTree tree;
        engine::fast::BreadthFirstScratch scratch;
        scratch.resize(g.n);
        for (std::int32_t s = 0; s < g.n; ++s) {
            engine::fast::breadthFirstTree(links, s, true, tree, scratch, bothWays[(s + trial) % 2]);
            for (std::int32_t k = 0; k < g.n; ++k) {
                if (k == s) continue;
                const std::vector<std::int32_t> expected = distancesAvoiding(g, s, k);
                std::map<std::int32_t, std::int32_t> reported;
                engine::fast::distancesWithoutNode(tree, k, scratch, [&](std::int32_t v, std::int32_t d) {
                    EXPECT_TRUE(reported.emplace(v, d).second) << "node " << v << " reported twice";
                });
                for (std::int32_t v = 0; v < g.n; ++v) {
                    if (v == k) continue;
                    const auto found = reported.find(v);
                    const std::int32_t before = tree.distance[static_cast<std::size_t>(v)];
                    const std::int32_t after = found == reported.end() ? before : found->second;
                    ASSERT_EQ(after, expected[static_cast<std::size_t>(v)])
                        << "source " << s << ", without " << k << ", node " << v << " (trial " << trial << ")";
                    if (found != reported.end()) {
                        EXPECT_NE(found->second, before) << "an unchanged node reported";
                    }
                }
            }
        }
    }
}

TEST_P(Repairs, ReportExactlyThePathWeightsThatARemovalChanges) {
    std::mt19937_64 random(std::hash<std::string>{}(GetParam().name) + 1);
    for (int trial = 0; trial < 6; ++trial) {
        Graph g = GetParam().make(random);
        std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
        for (std::int32_t v = 0; v < g.n; ++v)
            for (const auto& [u, w] : g.edges[static_cast<std::size_t>(v)])
                if (u < v) pairs.emplace_back(v, u);
        for (const auto& [v, u] : pairs) g.link(v, u, randomWeight(random));
        const CompactGraph paths = g.compact();
        engine::fast::PathRules rules;
        rules.pruned = trial % 3 == 2;
        rules.limit = 2.0;
        const double reach = trial % 2 == 0 ? std::numeric_limits<double>::infinity() : 3.5;
        engine::fast::ShortestPathTree tree;
        engine::fast::PathScratch scratch;
        scratch.resize(g.n);
        for (std::int32_t s = 0; s < g.n; ++s) {
            engine::fast::shortestPathTree(paths, rules, s, reach, true, tree, scratch, bothWays[(s + trial) % 2]);
            const std::vector<float> overall = weightsAvoiding(g, s, -1, rules, reach);
            for (std::int32_t v = 0; v < g.n; ++v) {
                ASSERT_EQ(tree.weight[static_cast<std::size_t>(v)], overall[static_cast<std::size_t>(v)]) << "tree of " << s;
            }
            for (std::int32_t k = 0; k < g.n; ++k) {
                if (k == s) continue;
                const std::vector<float> expected = weightsAvoiding(g, s, k, rules, reach);
                std::map<std::int32_t, float> reported;
                engine::fast::weightsWithoutNode(rules, tree, k, reach, scratch, [&](std::int32_t v, float w) {
                    EXPECT_TRUE(reported.emplace(v, w).second) << "node " << v << " reported twice";
                });
                for (std::int32_t v = 0; v < g.n; ++v) {
                    if (v == k) continue;
                    const auto found = reported.find(v);
                    const float after = found == reported.end() ? tree.weight[static_cast<std::size_t>(v)] : found->second;
                    ASSERT_EQ(after, expected[static_cast<std::size_t>(v)])
                        << "source " << s << ", without " << k << ", node " << v << " (trial " << trial << ")";
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Graphs, Repairs, ::testing::ValuesIn(shapes),
                         [](const ::testing::TestParamInfo<Shape>& test) { return std::string(test.param.name); });

}  // namespace
