#include "engine/fast/FastInputs.h"

#include <atomic>
#include <cmath>

#include "engine/IteradorLlista.h"
#include "engine/fast/WorkerPool.h"
#include "engine/landscape.h"
#include "engine/tamblorProgram.h"

namespace engine::fast {
namespace {

bool validAttribute(float a) { return std::isfinite(a) && !(a < 0.0f); }

bool validConnection(const tamblorProgram& run, float q) {
    if (!std::isfinite(q)) return false;
    if (run.isDistances) return !(q < 0.0f);
    if (run.isProbabilities) return !(q < 0.0f) && !(q > 1.0f);
    return true;
}

// Rows of `count` rows of `width` values, checked in parallel.
bool rowsValid(const tamblorProgram& run, const FloatRows& rows, std::int32_t count, std::int32_t width,
               WorkerPool& pool) {
    if (count > 0 && !rows) return false;
    std::atomic<bool> valid{true};
    pool.run(count, [&](std::int64_t row, unsigned) {
        const float* values = rows[static_cast<std::size_t>(row)].get();
        if (values == nullptr && width > 0) {
            valid = false;
            return;
        }
        for (std::int32_t column = 0; column < width; ++column) {
            if (!validConnection(run, values[column])) {
                valid = false;
                return;
            }
        }
    });
    return valid;
}

// A compact graph over the rows of a symmetric matrix, built in parallel: keep(i, j) tells
// whether the pair is an entry and weightOf(i, j) its weight.
template <class Keep, class WeightOf>
CompactGraph symmetricGraph(std::int32_t n, bool weighted, WorkerPool& pool, Keep keep, WeightOf weightOf) {
    CompactGraph graph;
    graph.n = n;
    const std::size_t nodes = static_cast<std::size_t>(n);
    graph.offset.assign(nodes + 1, 0);
    pool.run(n, [&](std::int64_t row, unsigned) {
        const std::int32_t i = static_cast<std::int32_t>(row);
        std::int64_t count = 0;
        for (std::int32_t j = 0; j < n; ++j)
            if (j != i && keep(i, j)) ++count;
        graph.offset[static_cast<std::size_t>(i) + 1] = count;
    });
    for (std::size_t v = 0; v < nodes; ++v) graph.offset[v + 1] += graph.offset[v];
    graph.target.resize(static_cast<std::size_t>(graph.offset.back()));
    if (weighted) graph.weight.resize(graph.target.size());
    pool.run(n, [&](std::int64_t row, unsigned) {
        const std::int32_t i = static_cast<std::int32_t>(row);
        std::size_t at = static_cast<std::size_t>(graph.offset[static_cast<std::size_t>(i)]);
        for (std::int32_t j = 0; j < n; ++j) {
            if (j == i || !keep(i, j)) continue;
            graph.target[at] = j;
            if (weighted) graph.weight[at] = weightOf(i, j);
            ++at;
        }
    });
    return graph;
}

}  // namespace

bool fastPathTakesParameters(const tamblorProgram& run) {
    const int types = int(run.isDistances) + int(run.isProbabilities) + int(run.isLinks);
    if (types != 1) return false;
    if (run.isLinks && run.anyProbabilistic) return false;
    if (run.nNodes < 0 || run.nAddedNodes < 0) return false;
    if (run.anyProbabilistic && run.doPC && !run.allPaths) {
        if (!std::isfinite(run.minProbability) || run.minProbability < 0.0f || run.minProbability > 1.0f)
            return false;
    }
    if (run.anyProbabilistic && run.isDistances) {
        // exp(k q) with k = ln(probability) / distance must be a probability for every q >= 0.
        const float k = distanceDecay(run.probability, run.distance);
        if (!std::isfinite(k) || k > 0.0f) return false;
    }
    return true;
}

bool fastPathIsExact(const tamblorProgram& run, WorkerPool& pool) {
    if (!fastPathTakesParameters(run)) return false;
    for (std::int32_t i = 0; i < run.nNodes; ++i)
        if (!validAttribute(run.attributes[static_cast<std::size_t>(i)])) return false;
    for (std::int32_t i = 0; i < run.nAddedNodes; ++i)
        if (!validAttribute(run.addedAttributes[static_cast<std::size_t>(i)])) return false;
    return rowsValid(run, run.connections, run.nNodes, run.nNodes, pool) &&
           rowsValid(run, run.addedConnections, run.nAddedNodes, run.nNodes, pool);
}

FastInputs gatherFastInputs(const tamblorProgram& run, WorkerPool& pool) {
    const landscape& overall = *run.overall;
    FastInputs inputs;
    inputs.n = overall.n;
    inputs.candidates = run.nAddedNodes;
    const std::size_t n = static_cast<std::size_t>(overall.n);
    inputs.attribute.resize(n);
    for (std::size_t i = 0; i < n; ++i) inputs.attribute[i] = overall.nodes[i].attribute;
    inputs.candidateAttribute.assign(run.addedAttributes.get(), run.addedAttributes.get() + run.nAddedNodes);
    const ConnectionType type{run.isDistances, run.isProbabilities, run.isLinks};

    inputs.links = run.anyBinary;
    if (inputs.links) {
        inputs.linkGraph = compactGraphOf(overall.n, false, [&](std::int32_t v, auto add) {
            for (IteradorLlista<int> entry(overall.nodes[static_cast<std::size_t>(v)].neighbours); !entry.atEnd();
                 entry.next())
                add(entry.current(), 0.0f);
        });
        inputs.candidateLinks.resize(static_cast<std::size_t>(run.nAddedNodes));
        for (std::int32_t c = 0; c < run.nAddedNodes; ++c) {
            const float* row = run.addedConnections[static_cast<std::size_t>(c)].get();
            for (std::int32_t u = 0; u < overall.n; ++u)
                if (linkTest(row[u], run.threshold, type)) inputs.candidateLinks[static_cast<std::size_t>(c)].push_back(u);
        }
    }

    inputs.probabilities = run.anyProbabilistic && (run.isDistances || run.isProbabilities);
    if (inputs.probabilities) {
        const auto p = [&overall](std::int32_t i, std::int32_t j) {
            return overall.nodes[static_cast<std::size_t>(i)].directProb[static_cast<std::size_t>(j)];
        };
        inputs.fluxGraph = symmetricGraph(
            overall.n, true, pool, [&](std::int32_t i, std::int32_t j) { return p(i, j) != 0.0f; }, p);
        // The variant of PC fixes the direct connections: all pairs with p > 0 for "all
        // paths" (pairs with p = 0 never lighten a path) and the list-based search, and
        // p > minProbability for the pruned one.
        const bool pruned = !overall.allPaths && overall.minProbability != 0.0f;
        const float threshold = pruned ? overall.minProbability : 0.0f;
        inputs.rules.pruned = pruned;
        inputs.rules.limit = pruned ? -std::log(static_cast<double>(overall.minProbability)) : 0.0;
        inputs.countsDirectConnections = !overall.allPaths;
        inputs.pathGraph = symmetricGraph(
            overall.n, true, pool, [&](std::int32_t i, std::int32_t j) { return p(i, j) > threshold; },
            [&](std::int32_t i, std::int32_t j) { return edgeWeightOf(p(i, j)); });
        inputs.directConnections = static_cast<std::int32_t>(inputs.pathGraph.target.size() / 2);

        const float k = run.isDistances ? distanceDecay(run.probability, run.distance) : 0.0f;
        inputs.candidateFlux.resize(static_cast<std::size_t>(run.nAddedNodes));
        inputs.candidatePaths.resize(static_cast<std::size_t>(run.nAddedNodes));
        for (std::int32_t c = 0; c < run.nAddedNodes; ++c) {
            const float* row = run.addedConnections[static_cast<std::size_t>(c)].get();
            CandidateEdges& flux = inputs.candidateFlux[static_cast<std::size_t>(c)];
            CandidateEdges& paths = inputs.candidatePaths[static_cast<std::size_t>(c)];
            for (std::int32_t u = 0; u < overall.n; ++u) {
                const float value = run.isDistances ? directProbabilityOfDistance(k, row[u]) : row[u];
                if (value != 0.0f) {
                    flux.node.push_back(u);
                    flux.weight.push_back(value);
                }
                if (value > threshold) {
                    paths.node.push_back(u);
                    paths.weight.push_back(edgeWeightOf(value));
                }
            }
        }
    }
    return inputs;
}

}  // namespace engine::fast
