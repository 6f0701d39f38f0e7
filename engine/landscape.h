#pragma once
// The graph on which every index is computed: one tessella per patch with its links
// and direct probabilities, and the index values computed on it. A landscape is
// default-constructed and then built once, from the connection matrix, as a copy
// without one node, or as a copy with one candidate node added.
// Relies on the list template and the engine's allocation (null on failure).
#include <cstdint>
#include <memory>

#include "engine/Llista.h"
#include "engine/tessella.h"

namespace engine {

// The connection type of a run: exactly one is set when a landscape is built.
struct ConnectionType {
    bool isDistances = false;
    bool isProbabilities = false;
    bool isLinks = false;
};

// Whether a pair whose connection value is q is linked at threshold t:
// Distances q <= t, Probabilities q >= t, Links q == 1.
bool linkTest(float q, float threshold, const ConnectionType& type);

// k = ln(probability) / distance as a 32-bit float: the exponent's factor that turns a
// distance q into the direct probability exp(k q).
float distanceDecay(float probability, float distance);
// exp(k q) with the product formed in extended precision, rounded to a float.
float directProbabilityOfDistance(float k, float q);

class landscape {
public:
    landscape() = default;
    landscape(const landscape&) = delete;
    landscape& operator=(const landscape&) = delete;

    // ---- Builds -------------------------------------------------------------------

    // The overall landscape of n nodes. Links (buildLinks) come from the lower
    // triangle of `matrix` through linkTest; direct probabilities (buildProbabilities)
    // are exp(k q) for Distances, q for Probabilities, 1 on the diagonal. `AL` is the
    // maximum landscape attribute as a whole number.
    void landscapeFromMatrix(const float* attributes, const std::int32_t* ids, const std::unique_ptr<float[]>* matrix,
                             std::int32_t count, std::int32_t AL, bool buildLinks, bool buildProbabilities,
                             bool isDistances, bool isProbabilities, bool isLinks, float threshold,
                             float probability, float distance, float minProbability, bool allPaths);

    // A copy of `source` without node k: the remaining nodes keep their order and are
    // renumbered, links and direct probabilities of k are dropped.
    void landscapeWithoutNode(const landscape& source, std::int32_t k, bool buildLinks, bool buildProbabilities);

    // A copy of `source` with a candidate appended as node n; `row` holds the
    // candidate's connection value to every node of `source`. AL grows to the new
    // attribute total when that is larger.
    void landscapeWithAddedNode(float attribute, std::int32_t id, const float* row, bool buildLinks,
                                bool buildProbabilities, bool isDistances, bool isProbabilities, bool isLinks,
                                float threshold, float probability, float distance, const landscape& source);

    // Frees the node records and the component array, keeping only the index values.
    void releaseNodes();

    // ---- Binary indices -------------------------------------------------------------
    void computeNL();
    void computeNC();
    void computeCCP();
    void computeLCP();
    void computeIIC();
    void computeH();
    void computeIICandH();

    // ---- Probabilistic indices ------------------------------------------------------
    void computeF();
    void computeAWF();
    void computePC();
    void computePCAllPairs();
    void computePCLinks();
    void computePCMinProb();

    // ---- Getters --------------------------------------------------------------------
    double getCCP() const { return CCP; }
    double getLCP() const { return LCP; }
    double getLCPnum() const { return LCPnum; }
    double getIIC() const { return IIC; }
    double getIICnum() const { return IICnum; }
    double getH() const { return H; }
    double getF() const { return F; }
    double getAWF() const { return AWF; }
    double getPC() const { return PC; }
    double getPCnum() const { return PCnum; }
    std::int32_t getNC() const { return NC; }
    std::int32_t getNL() const { return NL; }
    std::int32_t getComponent(std::int32_t i) const { return component[i]; }
    float getMaxProductProbability(std::int32_t i, std::int32_t j) const { return nodes[i].maxProductProb[j]; }

    // ---- Fields ---------------------------------------------------------------------
    std::int32_t n = 0;
    std::unique_ptr<tessella[]> nodes;
    std::int32_t nLinks = 0;
    std::int32_t nDirectConnections = 0;
    float totalAttribute = 0.0f;
    float AL = 0.0f;
    std::unique_ptr<std::int32_t[]> component;
    std::int32_t nComponents = 0;
    float minProbability = 0.0f;
    bool allPaths = false;
    float CCP = 0.0f;
    float LCP = 0.0f;
    float LCPnum = 0.0f;
    float IIC = 0.0f;
    float IICnum = 0.0f;
    std::int32_t NC = 0;
    std::int32_t NL = 0;
    float H = 0.0f;
    float F = 0.0f;
    float AWF = 0.0f;
    float PC = 0.0f;
    float PCnum = 0.0f;

private:
    void ensureComponents();
    void allocateNodes(std::int32_t count, const char* outOfMemoryMessage);
    void allocateProbabilityRows(const char* outOfMemoryMessage);
};

// ---- Searches used by the indices (free functions, as the index methods call them) ----

// Labels every node with its component number (from 0, in the order of the lowest
// node of each component) through a last-in first-out search; returns the count.
std::int32_t findComponents(Llista<int>* const* lists, std::int32_t* labels, std::int32_t count,
                            std::int32_t& nComponents);

// Breadth-first search from `source`: distance[v] = number of links on a shortest
// path, 2147483647 for an unreachable node.
void topologicalDistances(const landscape& graph, std::int32_t source, std::int32_t count, Llista<int>* const* lists,
                          std::int32_t* distance);

// Dijkstra on the weights W = -ln p from `source`, into `distance` (2147483648.0 for
// an unreached node). Dense: relaxes every node; Links: only the connection lists;
// Pruned: as Links, but a node farther than -ln(minProbability) is not expanded.
void maxProductPathsDense(const landscape& graph, std::int32_t source, float* const* W, std::int32_t count,
                          float* distance);
void maxProductPathsLinks(const landscape& graph, std::int32_t source, std::int32_t count, float* const* W,
                          Llista<int>* lists, float* distance);
void maxProductPathsPruned(const landscape& graph, std::int32_t source, std::int32_t count, float* const* W,
                           Llista<int>* lists, float* distance);

// True when every byte of visited is non-zero (true for count 0).
bool allVisited(const unsigned char* visited, std::int32_t count);
// The unvisited node with the smallest distance, the highest index among equals; -1 if none.
std::int32_t closestUnvisited(const float* distance, const unsigned char* visited, std::int32_t count);

// The distance of a missing connection and the infinite weight of the path searches.
inline constexpr float noConnection = 2147483648.0f;
// The topological distance of an unreachable node.
inline constexpr std::int32_t unreachable = 2147483647;

}  // namespace engine
