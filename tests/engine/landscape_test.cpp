// The three landscape builds: links and direct probabilities from the connection
// matrix, the copy without a node (renumbering), the copy with a candidate (AL).
#include "engine/landscape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "engine/support/LandscapeFixture.h"
#include "sysutils/Exception.h"

namespace {

using engine::landscape;
using testing_support::BuildOptions;
using testing_support::buildFromMatrix;
using testing_support::neighboursOf;
using testing_support::symmetricMatrix;
using testing_support::Type;

constexpr float none = engine::noConnection;

struct LinkCase {
    const char* name;
    Type type;
    float threshold;
    float fill;
    std::vector<testing_support::Pair> pairs;
    std::vector<std::vector<int>> neighbours;
};

class LinkBuild : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkBuild, LinksFollowTheTestOfTheConnectionTypeAndListsStayAscending) {
    const LinkCase& c = GetParam();
    const int n = static_cast<int>(c.neighbours.size());
    landscape graph;
    BuildOptions options;
    options.type = c.type;
    options.threshold = c.threshold;
    options.probabilities = false;
    buildFromMatrix(graph, std::vector<float>(static_cast<std::size_t>(n), 1.0f), symmetricMatrix(n, c.fill, c.pairs),
                    options);
    int links = 0;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(neighboursOf(graph, i), c.neighbours[static_cast<std::size_t>(i)]) << "node " << i;
        links += static_cast<int>(c.neighbours[static_cast<std::size_t>(i)].size());
    }
    EXPECT_EQ(graph.nLinks, links / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LinkBuild,
    ::testing::Values(
        LinkCase{"DistanceAtThresholdIsLinked", Type::Distances, 5.0f, none, {{0, 1, 5.0f}, {1, 2, 5.5f}, {0, 3, 1.0f}},
                 {{1, 3}, {0}, {}, {0}}},
        LinkCase{"MissingDistanceLinksOnlyAtAHugeThreshold", Type::Distances, 2147483648.0f, none, {},
                 {{1, 2}, {0, 2}, {0, 1}}},
        LinkCase{"ProbabilityAtThresholdIsLinked", Type::Probabilities, 0.5f, 0.0f, {{0, 2, 0.5f}, {1, 2, 0.49f}},
                 {{2}, {}, {0}}},
        LinkCase{"OnlyALinkValueOfOneLinks", Type::Links, 0.0f, 0.0f, {{0, 1, 1.0f}, {1, 2, 0.5f}, {2, 3, 1.0f}},
                 {{1}, {0}, {3}, {2}}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LandscapeFromMatrix, CopiesRecordsSumsAttributesAndStoresTheWholeAL) {
    landscape graph;
    BuildOptions options;
    options.AL = 1000;
    options.minProbability = 0.25f;
    options.allPaths = false;
    buildFromMatrix(graph, {0.1f, 0.2f, 0.3f}, symmetricMatrix(3, none, {}), options);
    EXPECT_EQ(graph.n, 3);
    EXPECT_EQ(graph.nodes[2].id, 102);
    float sum = 0.0f;
    sum = sum + 0.1f;
    sum = sum + 0.2f;
    sum = sum + 0.3f;
    EXPECT_EQ(graph.totalAttribute, sum);
    EXPECT_EQ(graph.AL, 1000.0f);
    EXPECT_EQ(graph.minProbability, 0.25f);
    EXPECT_FALSE(graph.allPaths);
    EXPECT_EQ(graph.nDirectConnections, 0);
    EXPECT_EQ(graph.component, nullptr);
}

TEST(LandscapeFromMatrix, DistancesBecomeDirectProbabilitiesExpKq) {
    landscape graph;
    BuildOptions options;
    options.probability = 0.5f;
    options.distance = 10.0f;
    buildFromMatrix(graph, {1, 1, 1}, symmetricMatrix(3, none, {{0, 1, 10.0f}, {1, 2, 20.0f}}), options);
    EXPECT_FLOAT_EQ(graph.nodes[0].directProb[1], 0.5f);
    EXPECT_FLOAT_EQ(graph.nodes[2].directProb[1], 0.25f);
    EXPECT_EQ(graph.nodes[0].directProb[1], graph.nodes[1].directProb[0]);
    EXPECT_EQ(graph.nodes[0].directProb[2], 0.0f);  // the missing-distance value gives 0
    for (int i = 0; i < 3; ++i) EXPECT_EQ(graph.nodes[i].directProb[i], 1.0f);
    const float k = static_cast<float>(std::log(0.5) / 10.0);
    EXPECT_EQ(graph.nodes[1].directProb[2], static_cast<float>(std::exp(static_cast<double>(k) * 20.0)));
}

TEST(LandscapeFromMatrix, ProbabilityOneMakesEveryPairCertain) {
    landscape graph;
    BuildOptions options;
    options.probability = 1.0f;
    buildFromMatrix(graph, {1, 1, 1}, symmetricMatrix(3, none, {{0, 1, 3.0f}}), options);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(graph.nodes[i].directProb[j], 1.0f);
}

TEST(LandscapeFromMatrix, ProbabilitiesAreCopiedFromTheLowerTriangle) {
    landscape graph;
    BuildOptions options;
    options.type = Type::Probabilities;
    std::vector<std::vector<float>> matrix = symmetricMatrix(3, 0.0f, {{0, 2, 0.7f}});
    matrix[0][2] = 0.1f;  // the upper triangle is never read
    buildFromMatrix(graph, {1, 1, 1}, matrix, options);
    EXPECT_EQ(graph.nodes[0].directProb[2], 0.7f);
    EXPECT_EQ(graph.nodes[2].directProb[0], 0.7f);
    EXPECT_EQ(graph.nodes[1].directProb[1], 1.0f);
}

TEST(LandscapeWithoutNode, RenumbersNeighboursAboveTheRemovedNode) {
    landscape overall;
    BuildOptions options;
    options.probabilities = false;
    buildFromMatrix(overall, std::vector<float>(10, 1.0f),
                    symmetricMatrix(10, none, {{5, 9, 1.0f}, {2, 3, 1.0f}, {2, 7, 1.0f}, {1, 8, 1.0f}}), options);
    landscape without;
    without.landscapeWithoutNode(overall, 2, /*buildLinks=*/true, /*buildProbabilities=*/false);
    EXPECT_EQ(without.n, 9);
    EXPECT_EQ(without.nLinks, 2);
    EXPECT_EQ(neighboursOf(without, 4), (std::vector<int>{8}));
    EXPECT_EQ(neighboursOf(without, 8), (std::vector<int>{4}));
    EXPECT_EQ(neighboursOf(without, 1), (std::vector<int>{7}));
    EXPECT_EQ(neighboursOf(without, 2), (std::vector<int>{}));  // former node 3
    EXPECT_EQ(neighboursOf(without, 6), (std::vector<int>{}));  // former node 7
    EXPECT_EQ(without.nodes[2].id, 103);
    // The source is left as it was.
    EXPECT_EQ(neighboursOf(overall, 2), (std::vector<int>{3, 7}));
}

TEST(LandscapeWithoutNode, RemovingAnIsolatedNodeKeepsEveryLink) {
    landscape overall;
    BuildOptions options;
    options.probabilities = false;
    buildFromMatrix(overall, {1, 2, 3, 4}, symmetricMatrix(4, none, {{0, 3, 1.0f}, {2, 3, 1.0f}}), options);
    landscape without;
    without.landscapeWithoutNode(overall, 1, true, false);
    EXPECT_EQ(without.nLinks, 2);
    EXPECT_EQ(neighboursOf(without, 0), (std::vector<int>{2}));
    EXPECT_EQ(neighboursOf(without, 1), (std::vector<int>{2}));
    EXPECT_EQ(neighboursOf(without, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(without.totalAttribute, 8.0f);
}

TEST(LandscapeWithoutNode, DropsTheRowAndColumnOfTheRemovedNode) {
    landscape overall;
    BuildOptions options;
    options.type = Type::Probabilities;
    buildFromMatrix(overall, {1, 1, 1}, symmetricMatrix(3, 0.0f, {{0, 1, 0.1f}, {0, 2, 0.2f}, {1, 2, 0.3f}}), options);
    landscape without;
    without.landscapeWithoutNode(overall, 1, true, true);
    EXPECT_EQ(without.nodes[0].directProb[1], 0.2f);
    EXPECT_EQ(without.nodes[1].directProb[0], 0.2f);
    EXPECT_EQ(without.nodes[1].directProb[1], 1.0f);
    EXPECT_EQ(without.AL, overall.AL);
}

TEST(LandscapeWithoutNode, RemovingTheOnlyNodeLeavesAnEmptyLandscape) {
    landscape overall;
    buildFromMatrix(overall, {5}, symmetricMatrix(1, none, {}), BuildOptions{});
    landscape without;
    without.landscapeWithoutNode(overall, 0, true, true);
    EXPECT_EQ(without.n, 0);
    EXPECT_EQ(without.nLinks, 0);
    EXPECT_EQ(without.totalAttribute, 0.0f);
}

TEST(LandscapeWithAddedNode, AppendsTheCandidateWithItsLinksAndProbabilities) {
    landscape overall;
    BuildOptions options;
    options.threshold = 5.0f;
    buildFromMatrix(overall, {1, 2, 3}, symmetricMatrix(3, none, {{0, 1, 1.0f}}), options);
    const float row[] = {none, 4.0f, 5.0f};
    landscape added;
    added.landscapeWithAddedNode(4.0f, 77, row, true, true, true, false, false, 5.0f, 0.5f, 10.0f, overall);
    EXPECT_EQ(added.n, 4);
    EXPECT_EQ(added.nodes[3].id, 77);
    EXPECT_EQ(added.nLinks, 3);
    EXPECT_EQ(neighboursOf(added, 3), (std::vector<int>{1, 2}));
    EXPECT_EQ(neighboursOf(added, 1), (std::vector<int>{0, 3}));
    EXPECT_EQ(added.nodes[3].directProb[0], 0.0f);
    EXPECT_EQ(added.nodes[1].directProb[3], engine::directProbabilityOfDistance(engine::distanceDecay(0.5f, 10.0f), 4.0f));
    EXPECT_EQ(added.nodes[3].directProb[3], 1.0f);
    EXPECT_EQ(added.nodes[0].directProb[1], overall.nodes[0].directProb[1]);
    EXPECT_EQ(added.totalAttribute, 10.0f);
    EXPECT_EQ(neighboursOf(overall, 1), (std::vector<int>{0}));
}

TEST(LandscapeWithAddedNode, RaisesALToTheNewTotalButLeavesTheOverallAL) {
    landscape overall;
    BuildOptions options;
    options.AL = 8;
    buildFromMatrix(overall, {3, 4}, symmetricMatrix(2, none, {}), options);
    const float row[] = {none, none};
    landscape added;
    added.landscapeWithAddedNode(5.0f, 9, row, true, true, true, false, false, 1.0f, 0.5f, 10.0f, overall);
    EXPECT_EQ(added.AL, 12.0f);
    EXPECT_EQ(overall.AL, 8.0f);
    landscape small;
    small.landscapeWithAddedNode(1.0f, 9, row, true, true, true, false, false, 1.0f, 0.5f, 10.0f, overall);
    EXPECT_EQ(small.AL, 8.0f);
}

TEST(LandscapeWithAddedNode, ProbabilityRowIsTakenAsItIs) {
    landscape overall;
    BuildOptions options;
    options.type = Type::Probabilities;
    options.threshold = 0.3f;
    buildFromMatrix(overall, {1, 1}, symmetricMatrix(2, 0.0f, {}), options);
    const float row[] = {0.3f, 0.2f};
    landscape added;
    added.landscapeWithAddedNode(1.0f, 5, row, true, true, false, true, false, 0.3f, 0.0f, 0.0f, overall);
    EXPECT_EQ(added.nodes[2].directProb[0], 0.3f);
    EXPECT_EQ(added.nodes[1].directProb[2], 0.2f);
    EXPECT_EQ(neighboursOf(added, 2), (std::vector<int>{0}));
}

struct MemoryCase {
    const char* name;
    long allocationsBeforeFailure;
    const char* message;
};

class LandscapeOutOfMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(LandscapeOutOfMemory, ReportsTheMessageOfTheFailedAllocation) {
    const MemoryCase& c = GetParam();
    landscape graph;
    try {
        engine::ScopedAllocationFailure failure(c.allocationsBeforeFailure);
        buildFromMatrix(graph, {1, 1}, symmetricMatrix(2, none, {}), BuildOptions{});
        FAIL() << "no exception";
    } catch (const sysutils::Exception& error) {
        EXPECT_EQ(error.Message, c.message);
    }
}

// Allocations in order: the node array, the sentinels of each node's list, then the
// probability rows.
INSTANTIATE_TEST_SUITE_P(Allocations, LandscapeOutOfMemory,
                         ::testing::Values(MemoryCase{"NodeArray", 0, engine::outOfMemoryMessageB},
                                           MemoryCase{"ProbabilityRows", 5, engine::outOfMemoryMessageA}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
