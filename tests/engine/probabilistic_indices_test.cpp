// The probabilistic indices (F, AWF, PC) and the maximum-product path searches, on
// landscapes worked out by hand and on a random landscape recomputed here with a plain
// loop that follows the same order and roundings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "engine/landscape.h"
#include "sysutils/Exception.h"
#include "tests/engine/support/IndexLandscapes.h"

namespace {

using engine::landscape;
using testing_support::Matrix;
using testing_support::Pair;
using testing_support::probabilisticLandscape;

Matrix maxProductMatrix(const landscape& graph) {
    Matrix result(static_cast<std::size_t>(graph.n));
    for (std::int32_t i = 0; i < graph.n; ++i)
        for (std::int32_t j = 0; j < graph.n; ++j)
            result[static_cast<std::size_t>(i)].push_back(graph.getMaxProductProbability(i, j));
    return result;
}

// p01 = 0.5, p12 = 0.5, p02 = 0.2: the best path from 0 to 2 goes through 1 (0.25).
const std::vector<Pair> throughANode = {{0, 1, 0.5f}, {1, 2, 0.5f}, {0, 2, 0.2f}};
// A chain 0-1-2-3 of probability 0.7 per step.
const std::vector<Pair> chain = {{0, 1, 0.7f}, {1, 2, 0.7f}, {2, 3, 0.7f}};

// ---- F and AWF ---------------------------------------------------------------------------

struct FluxCase {
    std::string name;
    std::vector<float> attributes;
    std::vector<Pair> probabilities;
    float F;
    float AWF;
};

const FluxCase fluxCases[] = {
    // F = 2 (0.5 + 0.2 + 0.5); AWF = 2 (1*2*0.5 + 1*3*0.2 + 2*3*0.5).
    {"ThroughANode", {1, 2, 3}, throughANode, 2.4f, 9.2f},
    {"NoPairWithPositiveProbability", {1, 2, 3}, {}, 0, 0},
    // A node with itself does not count.
    {"SingleNode", {5}, {}, 0, 0},
};

class FluxByHand : public testing::TestWithParam<FluxCase> {};

TEST_P(FluxByHand, GivesTheWorkedOutValues) {
    const FluxCase& c = GetParam();
    auto graph = probabilisticLandscape(c.attributes, c.probabilities, 10);
    graph->computeF();
    graph->computeAWF();
    EXPECT_FLOAT_EQ(graph->getF(), c.F);
    EXPECT_FLOAT_EQ(graph->getAWF(), c.AWF);
}

INSTANTIATE_TEST_SUITE_P(Landscapes, FluxByHand, testing::ValuesIn(fluxCases),
                         [](const testing::TestParamInfo<FluxCase>& param) { return param.param.name; });

// ---- PC and its three searches -----------------------------------------------------------

struct PCCase {
    std::string name;
    std::vector<float> attributes;
    std::vector<Pair> probabilities;
    bool allPaths;
    float minProbability;
    std::int32_t directConnections;
    Matrix maxProduct;
};

const Matrix identity3 = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
const Matrix throughANodeBest = {{1, 0.5f, 0.25f}, {0.5f, 1, 0.5f}, {0.25f, 0.5f, 1}};

const PCCase pcCases[] = {
    // The dense search leaves nDirectConnections as the build set it.
    {"ThroughANodeAllPaths", {1, 2, 3}, throughANode, true, 0, 0, throughANodeBest},
    {"ThroughANodeLinks", {1, 2, 3}, throughANode, false, 0, 3, throughANodeBest},
    // 0.2 is below the minimum, but 0.25 is still reached through node 1 (0.5 > 0.3).
    {"ThroughANodePruned", {1, 2, 3}, throughANode, false, 0.3f, 2, throughANodeBest},
    // A pair exactly at the minimum probability is not a direct connection.
    {"PairAtMinimumIsNoConnection", {1, 2, 3}, throughANode, false, 0.5f, 0, identity3},
    // Only the source is expanded; no pair, not even p = 1, is a direct connection.
    {"MinimumProbabilityOne", {1, 2, 3}, {{0, 1, 1.0f}, {1, 2, 0.9f}}, false, 1.0f, 0, identity3},
    {"NoPairWithPositiveProbabilityAllPaths", {1, 2, 3}, {}, true, 0, 0, identity3},
    {"NoPairWithPositiveProbabilityLinks", {1, 2, 3}, {}, false, 0, 0, identity3},
    {"ChainAllPaths",
     {1, 1, 1, 1},
     chain,
     true,
     0,
     0,
     {{1, 0.7f, 0.49f, 0.343f}, {0.7f, 1, 0.7f, 0.49f}, {0.49f, 0.7f, 1, 0.7f}, {0.343f, 0.49f, 0.7f, 1}}},
    // Pruned at 0.6: a node at 0.49 is reached but not expanded, so the far end stays at 0.
    {"ChainPruned",
     {1, 1, 1, 1},
     chain,
     false,
     0.6f,
     3,
     {{1, 0.7f, 0.49f, 0}, {0.7f, 1, 0.7f, 0.49f}, {0.49f, 0.7f, 1, 0.7f}, {0, 0.49f, 0.7f, 1}}},
};

class PCByHand : public testing::TestWithParam<PCCase> {};

TEST_P(PCByHand, FindsTheMaximumProductProbabilities) {
    const PCCase& c = GetParam();
    const std::int32_t AL = 10;
    auto graph = probabilisticLandscape(c.attributes, c.probabilities, AL, c.allPaths, c.minProbability);
    graph->computePC();

    EXPECT_EQ(graph->nDirectConnections, c.directConnections);
    const Matrix found = maxProductMatrix(*graph);
    double expectedNumerator = 0;
    for (std::size_t i = 0; i < c.attributes.size(); ++i) {
        for (std::size_t j = 0; j < c.attributes.size(); ++j) {
            EXPECT_NEAR(found[i][j], c.maxProduct[i][j], 1e-6) << "from " << i << " to " << j;
            expectedNumerator += double{c.maxProduct[i][j]} * c.attributes[i] * c.attributes[j];
        }
    }
    EXPECT_NEAR(graph->getPCnum(), expectedNumerator, 1e-5 * expectedNumerator);
    EXPECT_NEAR(graph->getPC(), expectedNumerator / (AL * AL), 1e-5 * expectedNumerator / (AL * AL));
}

INSTANTIATE_TEST_SUITE_P(Landscapes, PCByHand, testing::ValuesIn(pcCases),
                         [](const testing::TestParamInfo<PCCase>& param) { return param.param.name; });

TEST(ProbabilisticIndices, DistancesWithProbabilityOneGiveEveryPairProbabilityOne) {
    // k = ln(1) / distance = 0: exp(0 q) = 1 for every pair, the missing ones included.
    testing_support::BuildOptions options;
    options.type = testing_support::Type::Distances;
    options.links = false;
    options.probability = 1.0f;
    options.distance = 100.0f;
    options.AL = 10;
    const float none = engine::noConnection;
    const Matrix distances = {{0, 50, none, none}, {50, 0, 7, none}, {none, 7, 0, 300}, {none, none, 300, 0}};
    auto graph = testing_support::landscapeOf({1, 2, 3, 4}, distances, options);
    graph->computeF();
    graph->computeAWF();
    graph->computePC();
    EXPECT_EQ(graph->getF(), 12.0f);
    EXPECT_EQ(graph->getAWF(), 70.0f);  // T^2 - sum of squares = 100 - 30
    EXPECT_EQ(graph->getPCnum(), 100.0f);
    EXPECT_EQ(graph->getPC(), 1.0f);
    for (std::int32_t i = 0; i < 4; ++i)
        for (std::int32_t j = 0; j < 4; ++j) EXPECT_EQ(graph->getMaxProductProbability(i, j), 1.0f);
}

// ---- Faults that must not divide by zero or read past an array ----------------------------

struct PCVariant {
    std::string name;
    void (landscape::*compute)();
};

const PCVariant pcVariants[] = {
    {"AllPairs", &landscape::computePCAllPairs},
    {"Links", &landscape::computePCLinks},
    {"MinProb", &landscape::computePCMinProb},
};

class PCVariants : public testing::TestWithParam<PCVariant> {};

TEST_P(PCVariants, LandscapeWithoutNodesGivesZero) {
    auto graph = testing_support::emptyLandscape();
    ASSERT_EQ(graph->n, 0);
    (graph.get()->*GetParam().compute)();
    graph->computeF();
    graph->computeAWF();
    EXPECT_EQ(graph->getPC(), 0.0f);
    EXPECT_EQ(graph->getPCnum(), 0.0f);
    EXPECT_EQ(graph->nDirectConnections, 0);
    EXPECT_EQ(graph->getF(), 0.0f);
    EXPECT_EQ(graph->getAWF(), 0.0f);
}

TEST_P(PCVariants, ALOfZeroGivesZeroPCButKeepsTheNumerator) {
    // An AL below 1 reaches the landscape truncated to 0.
    auto graph = probabilisticLandscape({0.25f, 0.5f}, {{0, 1, 0.5f}}, 0, false, 0.1f);
    ASSERT_EQ(graph->AL, 0.0f);
    (graph.get()->*GetParam().compute)();
    EXPECT_EQ(graph->getPC(), 0.0f);
    EXPECT_FLOAT_EQ(graph->getPCnum(), 0.4375f);  // 0.0625 + 0.25 + 2 * 0.125 * 0.5
}

// Whichever allocation fails, the computation raises the engine's out-of-memory exception
// (or the list's own, for a list node) and leaves nothing behind; the first failure is the
// landscape's out-of-memory message.
TEST_P(PCVariants, EveryFailedAllocationRaisesAnException) {
    auto graph = probabilisticLandscape({1, 2, 3}, throughANode, 10, false, 0.1f);
    for (long allowed = 0;; ++allowed) {
        ASSERT_LT(allowed, 1000) << "the computation never completed";
        engine::ScopedAllocationFailure failure(allowed);
        try {
            (graph.get()->*GetParam().compute)();
            break;
        } catch (const sysutils::Exception& error) {
            EXPECT_EQ(error.Message, engine::outOfMemoryMessageB);
        } catch (const engine::Llista<int>::noMem&) {
            EXPECT_GT(allowed, 0);
        }
    }
    EXPECT_NEAR(graph->getMaxProductProbability(0, 2), 0.25f, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Searches, PCVariants, testing::ValuesIn(pcVariants),
                         [](const testing::TestParamInfo<PCVariant>& param) { return param.param.name; });

TEST(ProbabilisticIndices, PCChoosesTheSearchFromTheOptions) {
    // Told apart by nDirectConnections: left alone by the dense search, p > 0 pairs for the
    // links search, p > minProbability pairs for the pruned one.
    auto allPaths = probabilisticLandscape({1, 2, 3}, throughANode, 10, true, 0.3f);
    auto links = probabilisticLandscape({1, 2, 3}, throughANode, 10, false, 0.0f);
    auto pruned = probabilisticLandscape({1, 2, 3}, throughANode, 10, false, 0.3f);
    allPaths->computePC();
    links->computePC();
    pruned->computePC();
    EXPECT_EQ(allPaths->nDirectConnections, 0);
    EXPECT_EQ(links->nDirectConnections, 3);
    EXPECT_EQ(pruned->nDirectConnections, 2);
}

// ---- The node choice of the search ---------------------------------------------------------

struct ClosestCase {
    std::string name;
    std::vector<float> distance;
    std::vector<unsigned char> visited;
    std::int32_t closest;
};

const float far = engine::noConnection;

const ClosestCase closestCases[] = {
    {"SmallestDistance", {3, 1, 2}, {0, 0, 0}, 1},
    {"TieGoesToTheHighestIndex", {1, 0.5f, 0.5f, 2}, {0, 0, 0, 0}, 2},
    {"VisitedNodesAreSkipped", {0, 1, 0.5f}, {1, 0, 0}, 2},
    {"UnreachedNodesAreTakenHighestFirst", {far, far, far}, {1, 0, 0}, 2},
    {"ReachedNodeBeforeUnreached", {far, 5, far}, {0, 0, 0}, 1},
    {"NoneWhenAllVisited", {1, 2}, {1, 1}, -1},
    {"NoneWithoutNodes", {}, {}, -1},
};

class ClosestUnvisited : public testing::TestWithParam<ClosestCase> {};

TEST_P(ClosestUnvisited, TakesTheNodeOfTheScan) {
    const ClosestCase& c = GetParam();
    const auto count = static_cast<std::int32_t>(c.distance.size());
    EXPECT_EQ(engine::closestUnvisited(c.distance.data(), c.visited.data(), count), c.closest);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClosestUnvisited, testing::ValuesIn(closestCases),
                         [](const testing::TestParamInfo<ClosestCase>& param) { return param.param.name; });

TEST(AllVisited, IsTrueOnlyWhenEveryByteIsSet) {
    const std::vector<unsigned char> some = {1, 0, 1};
    const std::vector<unsigned char> all = {1, 2, 255};
    EXPECT_TRUE(engine::allVisited(nullptr, 0));
    EXPECT_FALSE(engine::allVisited(some.data(), 3));
    EXPECT_TRUE(engine::allVisited(all.data(), 3));
}

// ---- Random landscape ----------------------------------------------------------------------

const std::int32_t randomAL = 2000;

// Rounded shortest weights by relaxing every pair until nothing changes, with the same
// weights and the same relaxation rounding as the engine's search.
std::vector<float> referenceWeights(const Matrix& probabilities, std::size_t source) {
    const std::size_t n = probabilities.size();
    std::vector<float> distance(n, engine::noConnection);
    distance[source] = 0.0f;
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t u = 0; u < n; ++u) {
            for (std::size_t v = 0; v < n; ++v) {
                const float p = probabilities[u][v];
                if (u == v || !(p > 0.0f)) continue;
                const float weight = static_cast<float>(-std::log(static_cast<double>(p)));
                const long double x = static_cast<long double>(distance[u]) + weight;
                // x can be below distance[v] and still round to it: only a smaller float is progress.
                if (x < distance[v]) {
                    const float shorter = static_cast<float>(x);
                    changed = changed || shorter < distance[v];
                    distance[v] = shorter;
                }
            }
        }
    }
    return distance;
}

TEST(ProbabilisticIndices, RandomLandscapeMatchesAPlainRecomputationBitForBit) {
    const auto input = testing_support::randomLandscapeInput(30, 0.2, 977u);
    auto graph = testing_support::randomLandscape(input, randomAL, 1.0f);
    graph->computeF();
    graph->computeAWF();
    graph->computePCAllPairs();

    const std::size_t n = input.attributes.size();
    const std::vector<float>& a = input.attributes;
    const Matrix& p = input.probabilities;
    float flux = 0.0f, weightedFlux = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            flux = static_cast<float>(static_cast<long double>(p[i][j]) + flux);
            weightedFlux = static_cast<float>(static_cast<long double>(a[i]) * a[j] * p[i][j] + weightedFlux);
        }
    }
    flux = flux * 2.0f;
    weightedFlux = weightedFlux * 2.0f;

    float pc = 0.0f;
    std::size_t throughOthers = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::vector<float> distance = referenceWeights(p, i);
        for (std::size_t l = 0; l < n; ++l) {
            const double e = std::exp(-static_cast<double>(distance[l]));
            pc = static_cast<float>(static_cast<long double>(e) * (static_cast<long double>(a[i]) * a[l]) + pc);
            EXPECT_EQ(graph->getMaxProductProbability(static_cast<std::int32_t>(i), static_cast<std::int32_t>(l)),
                      static_cast<float>(e));
            if (static_cast<float>(e) > p[i][l]) ++throughOthers;
        }
    }
    ASSERT_GT(throughOthers, n) << "too few best paths through other nodes to mean anything";
    const float pcNum = pc;
    pc = static_cast<float>(pcNum / (static_cast<long double>(randomAL) * randomAL));

    EXPECT_EQ(graph->getF(), flux);
    EXPECT_EQ(graph->getAWF(), weightedFlux);
    EXPECT_EQ(graph->getPCnum(), pcNum);
    EXPECT_EQ(graph->getPC(), pc);

    // Symmetric up to float rounding, 1 on the diagonal.
    for (std::int32_t i = 0; i < graph->n; ++i) {
        EXPECT_EQ(graph->getMaxProductProbability(i, i), 1.0f);
        for (std::int32_t j = 0; j < i; ++j)
            EXPECT_NEAR(graph->getMaxProductProbability(i, j), graph->getMaxProductProbability(j, i),
                        1e-5 * graph->getMaxProductProbability(i, j));
    }
}

TEST(ProbabilisticIndices, TheThreeSearchesAgreeWhereTheyMust) {
    const float minProbability = 0.4f;
    const auto input = testing_support::randomLandscapeInput(30, 0.2, 4242u);
    auto dense = testing_support::randomLandscape(input, randomAL, 1.0f, true, minProbability);
    auto links = testing_support::randomLandscape(input, randomAL, 1.0f, false, 0.0f);
    auto pruned = testing_support::randomLandscape(input, randomAL, 1.0f, false, minProbability);
    dense->computePCAllPairs();
    links->computePCLinks();
    pruned->computePCMinProb();

    std::int32_t positivePairs = 0, pairsAboveMinimum = 0;
    for (std::size_t i = 0; i < input.attributes.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            positivePairs += input.probabilities[i][j] > 0.0f;
            pairsAboveMinimum += input.probabilities[i][j] > minProbability;
        }
    }
    EXPECT_EQ(links->nDirectConnections, positivePairs);
    EXPECT_EQ(pruned->nDirectConnections, pairsAboveMinimum);
    EXPECT_EQ(links->getPCnum(), dense->getPCnum());
    EXPECT_EQ(links->getPC(), dense->getPC());

    int prunedAway = 0;
    for (std::int32_t i = 0; i < dense->n; ++i) {
        for (std::int32_t j = 0; j < dense->n; ++j) {
            const float best = dense->getMaxProductProbability(i, j);
            EXPECT_EQ(links->getMaxProductProbability(i, j), best);
            const float found = pruned->getMaxProductProbability(i, j);
            if (best > minProbability) {
                EXPECT_EQ(found, best) << "from " << i << " to " << j;
            } else {
                EXPECT_LE(found, best) << "from " << i << " to " << j;
                prunedAway += found < best;
            }
        }
    }
    EXPECT_GT(prunedAway, 0) << "the minimum probability pruned nothing";
    EXPECT_LT(pruned->getPCnum(), dense->getPCnum());
}

}  // namespace
