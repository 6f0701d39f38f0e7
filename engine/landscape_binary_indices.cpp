// The binary indices of a landscape: NL, NC, CCP, LCP, IIC and H, computed on the links
// held in the neighbour lists, and the two graph searches they use (components and
// breadth-first topological distances).
//
// Every accumulator is the landscape's own float field: each term is formed in long
// double and the running sum is rounded back to float after every single addition, in
// the order given at each formula. The results depend on this order and rounding, so
// neither may change.
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

// The neighbour list of every node, as the searches take them.
std::unique_ptr<Llista<int>*[]> neighbourLists(landscape& graph) {
    auto lists = allocateArrayOrThrow<Llista<int>*>(graph.n);
    for (std::int32_t i = 0; i < graph.n; ++i) lists[i] = &graph.nodes[i].neighbours;
    return lists;
}

// Sum of the attributes of each component, accumulated in node order as floats.
std::unique_ptr<float[]> componentAttributes(const landscape& graph) {
    auto sums = allocateArrayOrThrow<float>(graph.nComponents);
    for (std::int32_t k = 0; k < graph.nComponents; ++k) sums[k] = 0.0f;
    for (std::int32_t i = 0; i < graph.n; ++i) {
        const std::int32_t k = graph.component[i];
        sums[k] = sums[k] + graph.nodes[i].attribute;
    }
    return sums;
}

// Which of the two sums of the source pass to accumulate.
struct DistanceSums {
    bool integralIndex = false;
    bool hararyIndex = false;
};

// One breadth-first search per source j = 0 .. n-1, and for each the targets
// k = 0 .. n-1 in order:
//   IIC <- a_j a_k / (d_jk + 1) + IIC   for every reachable k, k = j included (d = 0)
//   H   <- 1 / d_jk + H                 for every reachable k != j
// Shared by computeIIC, computeH and computeIICandH, so that the combined pass adds the
// very same terms in the very same order as the separate ones.
void accumulateDistanceSums(landscape& graph, DistanceSums sums) {
    const std::int32_t n = graph.n;
    auto lists = neighbourLists(graph);
    auto distance = allocateArrayOrThrow<std::int32_t>(n);
    for (std::int32_t j = 0; j < n; ++j) {
        topologicalDistances(graph, j, n, lists.get(), distance.get());
        const long double attributeJ = graph.nodes[j].attribute;
        for (std::int32_t k = 0; k < n; ++k) {
            const std::int32_t d = distance[k];
            if (d == unreachable) continue;
            if (sums.integralIndex) {
                const long double term = attributeJ * static_cast<long double>(graph.nodes[k].attribute) /
                                         static_cast<long double>(d + 1);
                graph.IIC = static_cast<float>(term + graph.IIC);
            }
            if (sums.hararyIndex && k != j) {
                const long double term = 1.0L / static_cast<long double>(d);
                graph.H = static_cast<float>(term + graph.H);
            }
        }
    }
}

// IIC = IICnum / AL^2. An AL of 0 (an AL below 1 truncated to a whole number) gives IIC = 0
// instead of a division by zero; IICnum keeps its value.
void normaliseIntegralIndex(landscape& graph) {
    graph.IICnum = graph.IIC;
    if (graph.AL == 0.0f) {
        graph.IIC = 0.0f;
    } else {
        graph.IIC = static_cast<float>(graph.IICnum /
                                       (static_cast<long double>(graph.AL) * static_cast<long double>(graph.AL)));
    }
}

// Each connected pair was added once from each end.
void halveHararyIndex(landscape& graph) { graph.H = static_cast<float>(graph.H * 0.5L); }

}  // namespace

// ---- Components -------------------------------------------------------------------------

// Labels from a last-in first-out search. Every label starts at -1; a search starts at the
// lowest node still unlabelled, labels it with the current component number c and pushes
// it; each node taken off the stack labels and pushes its unlabelled neighbours in list
// order. When the stack runs empty, c grows by one. Components are thus numbered from 0 in
// the order of their lowest node. A landscape without nodes has 0 components.
// O(n + links).
std::int32_t findComponents(Llista<int>* const* lists, std::int32_t* labels, std::int32_t count,
                            std::int32_t& nComponents) {
    nComponents = 0;
    if (count <= 0) return 0;
    for (std::int32_t i = 0; i < count; ++i) labels[i] = -1;

    // Each node is pushed exactly once (when it is labelled), so n entries suffice.
    auto stack = allocateArrayOrThrow<std::int32_t>(count);
    std::int32_t c = 0;
    std::int32_t start = 0;
    while (start < count) {
        std::int32_t depth = 0;
        labels[start] = c;
        stack[depth++] = start;
        while (depth > 0) {
            const std::int32_t u = stack[--depth];
            for (IteradorLlista<int> v(*lists[u]); !v.atEnd(); v.next()) {
                const int neighbour = v.current();
                if (labels[neighbour] == -1) {
                    labels[neighbour] = c;
                    stack[depth++] = neighbour;
                }
            }
        }
        ++c;
        while (start < count && labels[start] != -1) ++start;
    }
    nComponents = c;
    return c;
}

void landscape::ensureComponents() {
    if (component) return;
    auto labels = allocateArrayOrThrow<std::int32_t>(n);
    auto lists = neighbourLists(*this);
    findComponents(lists.get(), labels.get(), n, nComponents);
    component = std::move(labels);
}

// ---- Breadth-first search ---------------------------------------------------------------

// distance[v] = number of links on a shortest path from source to v; 2147483647 when v
// cannot be reached. The queue is a Llista<int>: the source goes in with pushFront,
// nodes come out with front and popFront and go in with pushBack. O(n + links).
void topologicalDistances(const landscape& /*graph*/, std::int32_t source, std::int32_t count,
                          Llista<int>* const* lists, std::int32_t* distance) {
    for (std::int32_t i = 0; i < count; ++i) distance[i] = unreachable;
    if (source < 0 || source >= count) return;
    distance[source] = 0;

    Llista<int> queue;
    queue.pushFront(source);
    while (queue.size() > 0) {
        int u = 0;
        queue.front(u);
        queue.popFront();
        for (IteradorLlista<int> v(*lists[u]); !v.atEnd(); v.next()) {
            const int neighbour = v.current();
            if (distance[neighbour] == unreachable) {
                distance[neighbour] = distance[u] + 1;
                queue.pushBack(neighbour);
            }
        }
    }
}

// ---- Indices ----------------------------------------------------------------------------

// NL = number of undirected links.
void landscape::computeNL() { NL = nLinks; }

// NC = number of connected components (n for a landscape without links, 0 without nodes).
void landscape::computeNC() {
    ensureComponents();
    NC = nComponents;
}

// CCP = sum over components k = 0 .. NC-1 of c_k^2 / T^2, with c_k the attribute of
// component k and T = totalAttribute: CCP <- c_k c_k / (T T) + CCP.
// When T is 0 (no nodes, or attributes that sum to 0) the quotient has no value and CCP = 0.
void landscape::computeCCP() {
    ensureComponents();
    CCP = 0.0f;
    if (totalAttribute == 0.0f) return;
    auto sums = componentAttributes(*this);
    const long double totalSquared =
        static_cast<long double>(totalAttribute) * static_cast<long double>(totalAttribute);
    for (std::int32_t k = 0; k < nComponents; ++k) {
        const long double c = sums[k];
        CCP = static_cast<float>(c * c / totalSquared + CCP);
    }
}

// LCPnum = sum over components of c_k^2 (LCPnum <- c_k c_k + LCPnum) and
// LCP = sum over components of c_k^2 / AL^2 (LCP <- c_k c_k / (AL AL) + LCP), k = 0 .. NC-1.
// When AL is 0 (an AL below 1 truncated to a whole number) LCP = 0 instead of a division
// by zero; LCPnum is still summed.
void landscape::computeLCP() {
    ensureComponents();
    LCP = 0.0f;
    LCPnum = 0.0f;
    auto sums = componentAttributes(*this);
    const long double maximumSquared = static_cast<long double>(AL) * static_cast<long double>(AL);
    for (std::int32_t k = 0; k < nComponents; ++k) {
        const long double c = sums[k];
        if (AL != 0.0f) LCP = static_cast<float>(c * c / maximumSquared + LCP);
        LCPnum = static_cast<float>(c * c + LCPnum);
    }
}

// IICnum = sum over ordered pairs (j, k) joined by a path, j = k included, of
// a_j a_k / (d_jk + 1), with d_jk the number of links on a shortest path; IIC = IICnum / AL^2
// (0 when AL is 0). Sources j = 0 .. n-1, targets k = 0 .. n-1. One breadth-first search
// per node: O(n (n + links)).
void landscape::computeIIC() {
    IIC = 0.0f;
    accumulateDistanceSums(*this, {.integralIndex = true, .hararyIndex = false});
    normaliseIntegralIndex(*this);
}

// H = 1/2 sum over ordered pairs j != k joined by a path of 1 / d_jk: each connected pair
// adds 1/d once. 0 without links. O(n (n + links)).
void landscape::computeH() {
    H = 0.0f;
    accumulateDistanceSums(*this, {.integralIndex = false, .hararyIndex = true});
    halveHararyIndex(*this);
}

// IIC, IICnum and H from one breadth-first search per node, bit for bit as computeIIC and
// computeH give them.
void landscape::computeIICandH() {
    IIC = 0.0f;
    H = 0.0f;
    accumulateDistanceSums(*this, {.integralIndex = true, .hararyIndex = true});
    normaliseIntegralIndex(*this);
    halveHararyIndex(*this);
}

}  // namespace engine
