#pragma once
// What the fast path needs of a run, gathered once from the overall landscape and the
// candidates' connection rows: attributes, the links and the direct connections as compact
// adjacency, and each candidate's links and direct connections to the existing nodes.
#include <cstdint>
#include <vector>

#include "engine/fast/CompactGraph.h"
#include "engine/fast/ShortestPaths.h"

namespace engine {
class tamblorProgram;
}

namespace engine::fast {

class WorkerPool;

struct FastInputs {
    std::int32_t n = 0;
    std::int32_t candidates = 0;
    std::vector<float> attribute;           // existing nodes, in order
    std::vector<float> candidateAttribute;  // candidates, in order

    // Binary indices: the links.
    bool links = false;
    CompactGraph linkGraph;
    std::vector<std::vector<std::int32_t>> candidateLinks;  // existing nodes linked to each candidate, ascending

    // Probabilistic indices: nonzero direct probabilities (weight p) for F and AWF, and the
    // direct connections that PC's searches use (weight -ln p).
    bool probabilities = false;
    CompactGraph fluxGraph;
    CompactGraph pathGraph;
    PathRules rules;
    bool countsDirectConnections = false;  // the list-based PC variants set nDirectConnections
    std::int32_t directConnections = 0;     // pairs of pathGraph
    std::vector<CandidateEdges> candidateFlux;  // weight p
    std::vector<CandidateEdges> candidatePaths;  // weight -ln p
};

// True when the fast path reproduces the reference exactly for this run's inputs: every
// attribute finite and not negative, every connection value finite and valid for its type
// (a distance not negative, a probability from 0 to 1), a valid minimum probability, and
// the Links type without probabilistic indices. Called after readInputs.
bool fastPathIsExact(const tamblorProgram& run, WorkerPool& pool);
// The part of that which the run's parameters decide, before its inputs are read: one
// connection type, not Links with probabilistic indices, a valid minimum probability and a
// distance decay that keeps every probability within 0 and 1.
bool fastPathTakesParameters(const tamblorProgram& run);

// Gathers the inputs once the overall landscape is built.
FastInputs gatherFastInputs(const tamblorProgram& run, WorkerPool& pool);

}  // namespace engine::fast
