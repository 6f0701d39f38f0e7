// The probabilistic indices of a landscape: F, AWF and PC, computed on the direct
// probabilities, and the maximum-product path searches behind PC (Dijkstra on the
// weights -ln p, over the full matrix, over the direct connections, or over the direct
// connections pruned at the minimum probability).
//
// Every accumulator is the landscape's own float field: each term is formed in long
// double and the running sum is rounded back to float after every single addition, in
// the order given at each formula. exp and log are the double-precision functions.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/Allocation.h"
#include "engine/IteradorLlista.h"
#include "engine/Llista.h"
#include "engine/OutOfMemory.h"
#include "engine/landscape.h"

namespace engine {

namespace {

// The weight matrix W[i][j] = -ln p_ij (rounded to float) when p_ij > 0, 2147483648.0 (no
// path) otherwise, W[i][i] = 0; read from the lower triangle of the direct probabilities.
class WeightMatrix {
public:
    explicit WeightMatrix(const landscape& graph)
        : storage(allocateArrayOrThrow<std::unique_ptr<float[]>>(graph.n)), rows(allocateArrayOrThrow<float*>(graph.n)) {
        const std::int32_t n = graph.n;
        for (std::int32_t i = 0; i < n; ++i) {
            storage[i] = allocateArrayOrThrow<float>(n);
            rows[i] = storage[i].get();
        }
        for (std::int32_t i = 0; i < n; ++i) {
            for (std::int32_t j = 0; j < i; ++j) {
                const float p = graph.nodes[i].directProb[j];
                const float weight = p > 0.0f ? static_cast<float>(-std::log(static_cast<double>(p))) : noConnection;
                rows[i][j] = weight;
                rows[j][i] = weight;
            }
            rows[i][i] = 0.0f;
        }
    }

    float* const* get() const { return rows.get(); }

private:
    std::unique_ptr<std::unique_ptr<float[]>[]> storage;
    std::unique_ptr<float*[]> rows;
};

// The direct connections: j in the list of i and i in that of j when p_ij > threshold,
// entered for i = 0 .. n-1, j < i, so that every list is ascending. Sets
// nDirectConnections to the number of pairs entered.
std::unique_ptr<Llista<int>[]> directConnections(landscape& graph, float threshold) {
    auto lists = allocateArrayOrThrow<Llista<int>>(graph.n);
    graph.nDirectConnections = 0;
    for (std::int32_t i = 0; i < graph.n; ++i) {
        for (std::int32_t j = 0; j < i; ++j) {
            if (graph.nodes[i].directProb[j] > threshold) {
                lists[i].pushBack(j);
                lists[j].pushBack(i);
                ++graph.nDirectConnections;
            }
        }
    }
    return lists;
}

// PCnum = sum over sources i = 0 .. n-1 and targets l = 0 .. n-1 of p*_il a_i a_l, with
// p*_il = exp(-d_il) from the search of source i (1 for l = i, 0 when l is not reached):
//   PC <- e (a_i a_l) + PC, e = exp(-d_il) in double, (a_i a_l) in long double.
// Each source's maxProductProb row receives e rounded to float. PC = PCnum / AL^2; an AL of
// 0 (an AL below 1 truncated to a whole number) gives PC = 0 instead of a division by zero,
// PCnum keeps its value.
template <class Search>
void accumulateProbabilityOfConnectivity(landscape& graph, Search search) {
    const std::int32_t n = graph.n;
    auto distance = allocateArrayOrThrow<float>(n);
    graph.PC = 0.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        search(i, distance.get());
        const long double attributeI = graph.nodes[i].attribute;
        float* maxProduct = graph.nodes[i].maxProductProb.get();
        for (std::int32_t l = 0; l < n; ++l) {
            const double e = std::exp(-static_cast<double>(distance[l]));
            const long double weight = attributeI * static_cast<long double>(graph.nodes[l].attribute);
            graph.PC = static_cast<float>(static_cast<long double>(e) * weight + graph.PC);
            maxProduct[l] = static_cast<float>(e);
        }
    }
    graph.PCnum = graph.PC;
    if (graph.AL == 0.0f) {
        graph.PC = 0.0f;
    } else {
        graph.PC = static_cast<float>(graph.PCnum /
                                      (static_cast<long double>(graph.AL) * static_cast<long double>(graph.AL)));
    }
}

// Relaxes v from u: x = distance[u] + W[u][v] in long double, kept (as float) when shorter.
inline void relax(std::int32_t u, std::int32_t v, float* const* W, float* distance) {
    const long double x = static_cast<long double>(distance[u]) + static_cast<long double>(W[u][v]);
    if (x < distance[v]) distance[v] = static_cast<float>(x);
}

// Dijkstra from source: every node is taken once, closest first; `expand(u)` relaxes the
// unvisited nodes next to u. Unreached nodes are taken too (at 2147483648.0) and relax
// nothing, since that weight added to a non-negative distance is never shorter.
template <class Expand>
void shortestWeights(std::int32_t source, std::int32_t count, float* distance, Expand expand) {
    auto visited = allocateArrayOrThrow<unsigned char>(count);
    for (std::int32_t i = 0; i < count; ++i) {
        visited[i] = 0;
        distance[i] = noConnection;
    }
    if (source < 0 || source >= count) return;
    distance[source] = 0.0f;
    while (!allVisited(visited.get(), count)) {
        const std::int32_t u = closestUnvisited(distance, visited.get(), count);
        if (u < 0) break;  // cannot happen while a node is unvisited; guards the indexing below
        visited[u] = 1;
        expand(u, visited.get());
    }
}

}  // namespace

// ---- Searches ---------------------------------------------------------------------------

bool allVisited(const unsigned char* visited, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        if (visited[i] == 0) return false;
    }
    return true;
}

// Scans in index order and takes every unvisited node whose distance is not greater than
// the best so far (which starts at 2147483648.0): among equal distances the highest index
// wins, and a node never reached is taken as well.
std::int32_t closestUnvisited(const float* distance, const unsigned char* visited, std::int32_t count) {
    float best = noConnection;
    std::int32_t closest = -1;
    for (std::int32_t i = 0; i < count; ++i) {
        if (visited[i] == 0 && !(distance[i] > best)) {
            best = distance[i];
            closest = i;
        }
    }
    return closest;
}

// Relaxes every unvisited node v = 0 .. n-1 from each node taken. O(n^2).
void maxProductPathsDense(const landscape& /*graph*/, std::int32_t source, float* const* W, std::int32_t count,
                          float* distance) {
    shortestWeights(source, count, distance, [&](std::int32_t u, const unsigned char* visited) {
        for (std::int32_t v = 0; v < count; ++v) {
            if (visited[v] == 0) relax(u, v, W, distance);
        }
    });
}

// Relaxes the unvisited nodes of u's connection list, in list order. O(n^2) for the
// choice of the closest node, O(connections) for the relaxations.
void maxProductPathsLinks(const landscape& /*graph*/, std::int32_t source, std::int32_t count, float* const* W,
                          Llista<int>* lists, float* distance) {
    shortestWeights(source, count, distance, [&](std::int32_t u, const unsigned char* visited) {
        for (IteradorLlista<int> v(lists[u]); !v.atEnd(); v.next()) {
            if (visited[v.current()] == 0) relax(u, v.current(), W, distance);
        }
    });
}

// As maxProductPathsLinks, but a node farther than -ln(minProbability) (a product below the
// minimum probability) is taken without being expanded, so that nodes reached only
// through it stay unreached.
void maxProductPathsPruned(const landscape& graph, std::int32_t source, std::int32_t count, float* const* W,
                           Llista<int>* lists, float* distance) {
    const double limit = -std::log(static_cast<double>(graph.minProbability));
    shortestWeights(source, count, distance, [&](std::int32_t u, const unsigned char* visited) {
        if (distance[u] > limit) return;
        for (IteradorLlista<int> v(lists[u]); !v.atEnd(); v.next()) {
            if (visited[v.current()] == 0) relax(u, v.current(), W, distance);
        }
    });
}

// ---- Indices ----------------------------------------------------------------------------

// F = 2 sum over unordered pairs of p_ij: F <- p_ij + F for i = 0 .. n-1, j = 0 .. i-1, then
// doubled. A node with itself does not count; 0 for fewer than two nodes.
void landscape::computeF() {
    F = 0.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        const float* row = nodes[i].directProb.get();
        for (std::int32_t j = 0; j < i; ++j) F = static_cast<float>(static_cast<long double>(row[j]) + F);
    }
    F = static_cast<float>(F * 2.0L);
}

// AWF = 2 sum over unordered pairs of a_i a_j p_ij: AWF <- a_i a_j p_ij + AWF for
// i = 0 .. n-1, j = 0 .. i-1, then doubled. 0 for fewer than two nodes.
void landscape::computeAWF() {
    AWF = 0.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        const float* row = nodes[i].directProb.get();
        const long double attributeI = nodes[i].attribute;
        for (std::int32_t j = 0; j < i; ++j) {
            const long double term =
                attributeI * static_cast<long double>(nodes[j].attribute) * static_cast<long double>(row[j]);
            AWF = static_cast<float>(term + AWF);
        }
    }
    AWF = static_cast<float>(AWF * 2.0L);
}

// PC by the run's option: all paths (dense search), else paths above a non-zero minimum
// probability (pruned search), else every direct connection with p > 0.
void landscape::computePC() {
    if (allPaths) {
        computePCAllPairs();
    } else if (minProbability != 0.0f) {
        computePCMinProb();
    } else {
        computePCLinks();
    }
}

// PC with the dense search over the full weight matrix; nDirectConnections is left as it is.
void landscape::computePCAllPairs() {
    const WeightMatrix W(*this);
    accumulateProbabilityOfConnectivity(*this, [&](std::int32_t source, float* distance) {
        maxProductPathsDense(*this, source, W.get(), n, distance);
    });
}

// PC with the search over the direct connections with p > 0 (the same values as the dense
// search); nDirectConnections = number of those pairs.
void landscape::computePCLinks() {
    const WeightMatrix W(*this);
    auto lists = directConnections(*this, 0.0f);
    accumulateProbabilityOfConnectivity(*this, [&](std::int32_t source, float* distance) {
        maxProductPathsLinks(*this, source, n, W.get(), lists.get(), distance);
    });
}

// PC with the search over the direct connections with p > minProbability, pruned beyond that
// probability; nDirectConnections = number of those pairs. Pairs whose best product exceeds
// minProbability get the dense search's values, the others a value no higher (possibly 0).
void landscape::computePCMinProb() {
    const WeightMatrix W(*this);
    auto lists = directConnections(*this, minProbability);
    accumulateProbabilityOfConnectivity(*this, [&](std::int32_t source, float* distance) {
        maxProductPathsPruned(*this, source, n, W.get(), lists.get(), distance);
    });
}

}  // namespace engine
