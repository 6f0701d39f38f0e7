// The binary indices (NL, NC, CCP, LCP, IIC, H), the component labels and the
// breadth-first distances, on landscapes worked out by hand and on a random landscape
// recomputed here with a plain loop that follows the same order and roundings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Allocation.h"
#include "engine/OutOfMemory.h"
#include "engine/landscape.h"
#include "sysutils/Exception.h"
#include "tests/engine/support/IndexLandscapes.h"

namespace {

using engine::landscape;
using testing_support::linkedLandscape;

void computeAllBinaryIndices(landscape& graph) {
    graph.computeNL();
    graph.computeNC();
    graph.computeCCP();
    graph.computeLCP();
    graph.computeIIC();
    graph.computeH();
}

std::vector<std::int32_t> componentLabels(const landscape& graph) {
    std::vector<std::int32_t> labels;
    for (std::int32_t i = 0; i < graph.n; ++i) labels.push_back(graph.getComponent(i));
    return labels;
}

// ---- Landscapes worked out by hand ------------------------------------------------------

struct BinaryCase {
    std::string name;
    std::vector<float> attributes;
    std::vector<std::pair<int, int>> links;
    std::int32_t AL;
    std::int32_t NL;
    std::int32_t NC;
    std::vector<std::int32_t> components;
    float CCP;
    float LCPnum;
    float LCP;
    float IICnum;
    float IIC;
    float H;
};

// Attributes 1, 2, 3 (T = 6, sum of squares 14) unless stated.
const BinaryCase binaryCases[] = {
    // No links: every node its own component; IIC and CCP reduce to the sums of squares.
    {"NoLinks", {1, 2, 3}, {}, 10, 0, 3, {0, 1, 2}, 14.0f / 36.0f, 14, 0.14f, 14, 0.14f, 0},
    // Connected: CCP = 1 and LCP = T^2/AL^2; every pair at distance 1 adds 2 a_j a_k / 2.
    {"Triangle", {1, 2, 3}, {{0, 1}, {1, 2}, {0, 2}}, 10, 3, 1, {0, 0, 0}, 1, 36, 0.36f, 25, 0.25f, 3},
    // Path 0-1-2: the pair 0, 2 adds 2 a_0 a_2 / 3 to IIC and 1/2 to H: H = 1 + 1 + 1/2.
    {"Path", {1, 2, 3}, {{0, 1}, {1, 2}}, 10, 2, 1, {0, 0, 0}, 1, 36, 0.36f, 14 + 2 + 6 + 2, 0.24f, 2.5f},
    // Components {0, 3} and {1, 2}: numbered in the order of their lowest node.
    {"TwoComponents", {1, 2, 3, 4}, {{0, 3}, {1, 2}}, 10, 2, 2, {0, 1, 1, 0}, 0.5f, 50, 0.5f, 30 + 4 + 6, 0.4f, 2},
    // Numbering by the lowest node, whatever the order in which the search meets them:
    // {0, 2, 4} through 0-4-2, {1, 5}, {3}.
    {"LabelsByLowestNode",
     {1, 1, 1, 1, 1, 1},
     {{0, 4}, {4, 2}, {1, 5}},
     6,
     3,
     3,
     {0, 1, 0, 2, 0, 1},
     (9.0f + 4 + 1) / 36,
     14,
     14.0f / 36,
     6 + 2 * (1.0f / 2 + 1.0f / 2 + 1.0f / 3) + 2 * (1.0f / 2),
     (6 + 2 * (1.0f / 2 + 1.0f / 2 + 1.0f / 3) + 2 * (1.0f / 2)) / 36,
     1 + 1 + 0.5f + 1},
    // One node: a single component holding everything.
    {"SingleNode", {5}, {}, 5, 0, 1, {0}, 1, 25, 1, 25, 1, 0},
};

class BinaryIndicesByHand : public testing::TestWithParam<BinaryCase> {};

TEST_P(BinaryIndicesByHand, GiveTheWorkedOutValues) {
    const BinaryCase& c = GetParam();
    auto graph = linkedLandscape(c.attributes, c.links, c.AL);
    computeAllBinaryIndices(*graph);

    EXPECT_EQ(graph->getNL(), c.NL);
    EXPECT_EQ(graph->getNC(), c.NC);
    EXPECT_EQ(componentLabels(*graph), c.components);
    EXPECT_FLOAT_EQ(graph->CCP, c.CCP);
    EXPECT_FLOAT_EQ(graph->LCPnum, c.LCPnum);
    EXPECT_FLOAT_EQ(graph->LCP, c.LCP);
    EXPECT_FLOAT_EQ(graph->IICnum, c.IICnum);
    EXPECT_FLOAT_EQ(graph->IIC, c.IIC);
    EXPECT_FLOAT_EQ(graph->H, c.H);
}

TEST_P(BinaryIndicesByHand, CombinedIICandHEqualsTheSeparateComputations) {
    const BinaryCase& c = GetParam();
    auto separate = linkedLandscape(c.attributes, c.links, c.AL);
    auto combined = linkedLandscape(c.attributes, c.links, c.AL);
    separate->computeIIC();
    separate->computeH();
    combined->computeIICandH();
    EXPECT_EQ(combined->IIC, separate->IIC);
    EXPECT_EQ(combined->IICnum, separate->IICnum);
    EXPECT_EQ(combined->H, separate->H);
}

INSTANTIATE_TEST_SUITE_P(Landscapes, BinaryIndicesByHand, testing::ValuesIn(binaryCases),
                         [](const testing::TestParamInfo<BinaryCase>& param) { return param.param.name; });

TEST(BinaryIndices, ComponentsAreComputedOnceAndReused) {
    auto graph = linkedLandscape({1, 2, 3, 4}, {{0, 3}, {1, 2}}, 10);
    graph->computeNC();
    const std::int32_t* labels = graph->component.get();
    graph->computeCCP();
    graph->computeLCP();
    EXPECT_EQ(graph->component.get(), labels);
    EXPECT_EQ(graph->nComponents, 2);
}

TEST(TopologicalDistances, CountLinksOnAShortestPathAndMarkUnreachableNodes) {
    // 0-1-2-3 with a shortcut 0-2, and node 4 on its own.
    auto graph = linkedLandscape({1, 1, 1, 1, 1}, {{0, 1}, {1, 2}, {2, 3}, {0, 2}}, 5);
    std::vector<engine::Llista<int>*> lists;
    for (std::int32_t i = 0; i < graph->n; ++i) lists.push_back(&graph->nodes[i].neighbours);
    std::vector<std::int32_t> distance(5, -1);

    engine::topologicalDistances(*graph, 0, 5, lists.data(), distance.data());
    EXPECT_EQ(distance, (std::vector<std::int32_t>{0, 1, 1, 2, 2147483647}));
    engine::topologicalDistances(*graph, 4, 5, lists.data(), distance.data());
    EXPECT_EQ(distance, (std::vector<std::int32_t>{2147483647, 2147483647, 2147483647, 2147483647, 0}));
}

// ---- Faults that must not divide by zero or read past an array ----------------------------

TEST(BinaryIndices, LandscapeWithoutNodesHasNoComponentsAndZeroIndices) {
    auto graph = testing_support::emptyLandscape();
    ASSERT_EQ(graph->n, 0);
    computeAllBinaryIndices(*graph);
    EXPECT_EQ(graph->getNL(), 0);
    EXPECT_EQ(graph->getNC(), 0);
    EXPECT_EQ(graph->nComponents, 0);
    EXPECT_EQ(graph->CCP, 0.0f);
    EXPECT_EQ(graph->LCP, 0.0f);
    EXPECT_EQ(graph->LCPnum, 0.0f);
    EXPECT_EQ(graph->IIC, 0.0f);
    EXPECT_EQ(graph->IICnum, 0.0f);
    EXPECT_EQ(graph->H, 0.0f);

    auto combined = testing_support::emptyLandscape();
    combined->computeIICandH();
    EXPECT_EQ(combined->IIC, 0.0f);
    EXPECT_EQ(combined->H, 0.0f);
}

TEST(FindComponents, ReturnsZeroForNoNodes) {
    std::int32_t count = -1;
    EXPECT_EQ(engine::findComponents(nullptr, nullptr, 0, count), 0);
    EXPECT_EQ(count, 0);
}

TEST(BinaryIndices, ALOfZeroGivesZeroNormalisedValuesButKeepsTheNumerators) {
    // An AL below 1 reaches the landscape truncated to 0.
    auto graph = linkedLandscape({0.25f, 0.5f}, {{0, 1}}, 0);
    ASSERT_EQ(graph->AL, 0.0f);
    computeAllBinaryIndices(*graph);
    EXPECT_EQ(graph->LCP, 0.0f);
    EXPECT_EQ(graph->IIC, 0.0f);
    EXPECT_FLOAT_EQ(graph->LCPnum, 0.5625f);
    EXPECT_FLOAT_EQ(graph->IICnum, 0.0625f + 0.25f + 2 * (0.125f / 2));
    EXPECT_FLOAT_EQ(graph->CCP, 1.0f);

    auto combined = linkedLandscape({0.25f, 0.5f}, {{0, 1}}, 0);
    combined->computeIICandH();
    EXPECT_EQ(combined->IIC, 0.0f);
    EXPECT_EQ(combined->IICnum, graph->IICnum);
}

TEST(BinaryIndices, CCPIsZeroWhenTheAttributesSumToZero) {
    auto graph = linkedLandscape({0, 0, 0}, {{0, 1}}, 10);
    graph->computeCCP();
    EXPECT_EQ(graph->CCP, 0.0f);
    EXPECT_EQ(graph->nComponents, 2);
}

// ---- Out of memory -----------------------------------------------------------------------

struct AllocatingIndex {
    std::string name;
    void (landscape::*compute)();
};

const AllocatingIndex allocatingIndices[] = {
    {"NC", &landscape::computeNC},   {"CCP", &landscape::computeCCP}, {"LCP", &landscape::computeLCP},
    {"IIC", &landscape::computeIIC}, {"H", &landscape::computeH},     {"IICandH", &landscape::computeIICandH},
};

class BinaryIndicesOutOfMemory : public testing::TestWithParam<AllocatingIndex> {};

TEST_P(BinaryIndicesOutOfMemory, RaisesTheEngineExceptionWithTheLandscapeMessage) {
    auto graph = linkedLandscape({1, 2, 3}, {{0, 1}}, 10);
    try {
        engine::ScopedAllocationFailure failure(0);
        (graph.get()->*GetParam().compute)();
        FAIL() << "no exception";
    } catch (const sysutils::Exception& error) {
        EXPECT_EQ(error.Message, engine::outOfMemoryMessageB);
    }
}

INSTANTIATE_TEST_SUITE_P(Indices, BinaryIndicesOutOfMemory, testing::ValuesIn(allocatingIndices),
                         [](const testing::TestParamInfo<AllocatingIndex>& param) { return param.param.name; });

// ---- Bit for bit against a plain recomputation ---------------------------------------------

// Hop counts between all pairs by Floyd-Warshall on the links; -1 when unreachable.
std::vector<std::vector<int>> hopDistances(const testing_support::Matrix& probabilities, float linkThreshold) {
    const std::size_t n = probabilities.size();
    const int far = std::numeric_limits<int>::max() / 4;
    std::vector<std::vector<int>> d(n, std::vector<int>(n, far));
    for (std::size_t i = 0; i < n; ++i) {
        d[i][i] = 0;
        for (std::size_t j = 0; j < n; ++j) {
            if (i != j && probabilities[i][j] >= linkThreshold) d[i][j] = 1;
        }
    }
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) d[i][j] = std::min(d[i][j], d[i][k] + d[k][j]);
    for (auto& row : d)
        for (int& value : row)
            if (value >= far) value = -1;
    return d;
}

TEST(BinaryIndices, RandomLandscapeMatchesAPlainRecomputationBitForBit) {
    const float threshold = 0.8f;  // leaves several components and paths of several links
    const std::int32_t AL = 2000;
    const auto input = testing_support::randomLandscapeInput(30, 0.35, 20240611u);
    auto graph = testing_support::randomLandscape(input, AL, threshold);
    computeAllBinaryIndices(*graph);
    auto combined = testing_support::randomLandscape(input, AL, threshold);
    combined->computeIICandH();

    const std::size_t n = input.attributes.size();
    const std::vector<float>& a = input.attributes;
    const auto d = hopDistances(input.probabilities, threshold);

    // Components: numbered in the order of their lowest node; sums in node order.
    std::vector<std::int32_t> labels(n, -1);
    std::vector<float> componentSum;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t lowest = 0; lowest <= i; ++lowest) {
            if (d[i][lowest] >= 0) {
                labels[i] = lowest == i ? static_cast<std::int32_t>(componentSum.size()) : labels[lowest];
                break;
            }
        }
        if (labels[i] == static_cast<std::int32_t>(componentSum.size())) componentSum.push_back(0.0f);
        componentSum[static_cast<std::size_t>(labels[i])] = componentSum[static_cast<std::size_t>(labels[i])] + a[i];
    }
    ASSERT_GT(componentSum.size(), 2u);
    ASSERT_LT(componentSum.size(), n / 2);

    float total = 0.0f;
    for (float value : a) total = total + value;
    float ccp = 0.0f, lcp = 0.0f, lcpNum = 0.0f;
    for (float c : componentSum) {
        const long double square = static_cast<long double>(c) * c;
        ccp = static_cast<float>(square / (static_cast<long double>(total) * total) + ccp);
        lcp = static_cast<float>(square / (static_cast<long double>(AL) * AL) + lcp);
        lcpNum = static_cast<float>(square + lcpNum);
    }

    float iic = 0.0f, h = 0.0f;
    int longest = 0;
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t k = 0; k < n; ++k) {
            if (d[j][k] < 0) continue;
            longest = std::max(longest, d[j][k]);
            iic = static_cast<float>(static_cast<long double>(a[j]) * a[k] / (d[j][k] + 1) + iic);
            if (k != j) h = static_cast<float>(1.0L / d[j][k] + h);
        }
    }
    ASSERT_GE(longest, 5);
    const float iicNum = iic;
    iic = static_cast<float>(iicNum / (static_cast<long double>(AL) * AL));
    h = static_cast<float>(h * 0.5L);

    EXPECT_EQ(graph->getNC(), static_cast<std::int32_t>(componentSum.size()));
    EXPECT_EQ(componentLabels(*graph), labels);
    EXPECT_EQ(graph->CCP, ccp);
    EXPECT_EQ(graph->LCP, lcp);
    EXPECT_EQ(graph->LCPnum, lcpNum);
    EXPECT_EQ(graph->IICnum, iicNum);
    EXPECT_EQ(graph->IIC, iic);
    EXPECT_EQ(graph->H, h);
    EXPECT_EQ(combined->IICnum, iicNum);
    EXPECT_EQ(combined->IIC, iic);
    EXPECT_EQ(combined->H, h);
}

}  // namespace
