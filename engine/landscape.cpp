#include "engine/landscape.h"

#include <cmath>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"

namespace engine {

bool linkTest(float q, float threshold, const ConnectionType& type) {
    if (type.isDistances) return q <= threshold;
    if (type.isProbabilities) return q >= threshold;
    if (type.isLinks) return q == 1.0f;
    return false;
}

float distanceDecay(float probability, float distance) {
    return static_cast<float>(std::log(static_cast<double>(probability)) / static_cast<double>(distance));
}

float directProbabilityOfDistance(float k, float q) {
    const long double exponent = static_cast<long double>(k) * static_cast<long double>(q);
    return static_cast<float>(std::exp(static_cast<double>(exponent)));
}

void landscape::allocateNodes(std::int32_t count, const char* outOfMemoryMessage) {
    n = count;
    nodes = allocateArrayOrThrow<tessella>(count, outOfMemoryMessage);
}

void landscape::allocateProbabilityRows(const char* outOfMemoryMessage) {
    const auto width = static_cast<std::uint64_t>(n < 0 ? 0 : n);
    ensureMemoryFor(2 * width * width * sizeof(float), outOfMemoryMessage);
    for (std::int32_t i = 0; i < n; ++i) {
        nodes[i].directProb = allocateArrayOrThrow<float>(n, outOfMemoryMessage);
        nodes[i].maxProductProb = allocateArrayOrThrow<float>(n, outOfMemoryMessage);
    }
}

void landscape::releaseNodes() {
    nodes.reset();
    component.reset();
}

void landscape::landscapeFromMatrix(const float* attributes, const std::int32_t* ids,
                                    const std::unique_ptr<float[]>* matrix, std::int32_t count, std::int32_t AL_,
                                    bool buildLinks, bool buildProbabilities, bool isDistances, bool isProbabilities,
                                    bool isLinks, float threshold, float probability, float distance,
                                    float minProbability_, bool allPaths_) {
    allocateNodes(count, outOfMemoryMessageB);
    totalAttribute = 0.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        nodes[i].attribute = attributes[i];
        nodes[i].id = ids[i];
        totalAttribute = totalAttribute + attributes[i];
    }
    AL = static_cast<float>(AL_);
    minProbability = minProbability_;
    allPaths = allPaths_;
    nLinks = 0;
    nDirectConnections = 0;

    const ConnectionType type{isDistances, isProbabilities, isLinks};
    if (buildLinks) {
        // Only the lower triangle is read; the reader stores every pair symmetrically.
        for (std::int32_t i = 0; i < n; ++i) {
            for (std::int32_t j = 0; j < i; ++j) {
                if (linkTest(matrix[i][j], threshold, type)) {
                    nodes[i].neighbours.pushBack(j);
                    nodes[j].neighbours.pushBack(i);
                    ++nLinks;
                }
            }
        }
    }

    if (buildProbabilities) {
        allocateProbabilityRows(outOfMemoryMessageA);
        if (isDistances) {
            const float k = distanceDecay(probability, distance);
            for (std::int32_t i = 0; i < n; ++i) {
                for (std::int32_t j = 0; j < i; ++j) {
                    const float p = directProbabilityOfDistance(k, matrix[i][j]);
                    nodes[i].directProb[j] = p;
                    nodes[j].directProb[i] = p;
                }
                nodes[i].directProb[i] = 1.0f;
            }
        } else if (isProbabilities) {
            for (std::int32_t i = 0; i < n; ++i) {
                for (std::int32_t j = 0; j < i; ++j) {
                    nodes[i].directProb[j] = matrix[i][j];
                    nodes[j].directProb[i] = matrix[i][j];
                }
                nodes[i].directProb[i] = 1.0f;
            }
        }
        // Links: the rows stay unfilled; the parameter check keeps this type away from
        // the probabilistic indices.
    }
}

void landscape::landscapeWithoutNode(const landscape& source, std::int32_t k, bool buildLinks,
                                     bool buildProbabilities) {
    allocateNodes(source.n - 1, outOfMemoryMessageB);
    totalAttribute = 0.0f;
    for (std::int32_t from = 0, to = 0; from < source.n; ++from) {
        if (from == k) continue;
        nodes[to].attribute = source.nodes[from].attribute;
        nodes[to].id = source.nodes[from].id;
        totalAttribute = totalAttribute + source.nodes[from].attribute;
        ++to;
    }
    AL = source.AL;
    minProbability = source.minProbability;
    allPaths = source.allPaths;

    if (buildLinks) {
        Llista<int>& removedNeighbours = source.nodes[k].neighbours;
        nLinks = source.nLinks - removedNeighbours.count;
        for (std::int32_t from = 0, to = 0; from < source.n; ++from) {
            if (from == k) continue;
            nodes[to].neighbours.assign(source.nodes[from].neighbours);
            ++to;
        }
        // Drop k from the lists of its former neighbours (still in the source's numbering).
        for (IteradorLlista<int> neighbour(removedNeighbours); !neighbour.atEnd(); neighbour.next()) {
            const int former = neighbour.current();
            Llista<int>& list = nodes[former > k ? former - 1 : former].neighbours;
            for (IteradorLlista<int> entry(list); !entry.atEnd(); entry.next()) {
                if (entry.current() == k) {
                    list.removeAt(entry);
                    break;
                }
            }
        }
        // Renumber in place; the lists stay ascending.
        for (std::int32_t i = 0; i < n; ++i) {
            for (IteradorLlista<int> entry(nodes[i].neighbours); !entry.atEnd(); entry.next()) {
                if (entry.current() > k) entry.current() -= 1;
            }
        }
    }

    if (buildProbabilities) {
        allocateProbabilityRows(outOfMemoryMessageB);
        for (std::int32_t from = 0, to = 0; from < source.n; ++from) {
            if (from == k) continue;
            const float* sourceRow = source.nodes[from].directProb.get();
            float* row = nodes[to].directProb.get();
            for (std::int32_t column = 0, target = 0; column < source.n; ++column) {
                if (column == k) continue;
                row[target++] = sourceRow[column];
            }
            ++to;
        }
    }
}

void landscape::landscapeWithAddedNode(float attribute, std::int32_t id, const float* row, bool buildLinks,
                                       bool buildProbabilities, bool isDistances, bool isProbabilities,
                                       bool isLinks, float threshold, float probability, float distance,
                                       const landscape& source) {
    allocateNodes(source.n + 1, outOfMemoryMessageB);
    const std::int32_t candidate = n - 1;
    totalAttribute = 0.0f;
    for (std::int32_t i = 0; i < candidate; ++i) {
        nodes[i].attribute = source.nodes[i].attribute;
        nodes[i].id = source.nodes[i].id;
        totalAttribute = totalAttribute + source.nodes[i].attribute;
    }
    nodes[candidate].attribute = attribute;
    nodes[candidate].id = id;
    totalAttribute = totalAttribute + attribute;
    AL = source.AL < totalAttribute ? totalAttribute : source.AL;
    minProbability = source.minProbability;
    allPaths = source.allPaths;

    const ConnectionType type{isDistances, isProbabilities, isLinks};
    if (buildLinks) {
        nLinks = source.nLinks;
        for (std::int32_t i = 0; i < candidate; ++i) nodes[i].neighbours.assign(source.nodes[i].neighbours);
        for (std::int32_t u = 0; u < candidate; ++u) {
            if (linkTest(row[u], threshold, type)) {
                nodes[u].neighbours.pushBack(candidate);
                nodes[candidate].neighbours.pushBack(u);
                ++nLinks;
            }
        }
    }

    if (buildProbabilities) {
        allocateProbabilityRows(outOfMemoryMessageB);
        for (std::int32_t i = 0; i < candidate; ++i) {
            for (std::int32_t j = 0; j < candidate; ++j) nodes[i].directProb[j] = source.nodes[i].directProb[j];
        }
        if (isDistances || isProbabilities) {
            const float k = isDistances ? distanceDecay(probability, distance) : 0.0f;
            for (std::int32_t u = 0; u < candidate; ++u) {
                const float p = isDistances ? directProbabilityOfDistance(k, row[u]) : row[u];
                nodes[candidate].directProb[u] = p;
                nodes[u].directProb[candidate] = p;
            }
            nodes[candidate].directProb[candidate] = 1.0f;
        }
    }
}

}  // namespace engine
