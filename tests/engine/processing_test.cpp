// One execution from the read inputs to the node importances: progress texts, log
// lines, time totals, the importance formulas and what stays after processing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/support/RunFixture.h"
#include "sysutils/DateTime.h"

namespace {

using testing_support::ProcessedRun;
using testing_support::RunParameters;

// Links: path 10 - 20 - 30, and 40 alone.
const char* pathNodes = "10\t1\n20\t2\n30\t3\n40\t4\n";
const char* pathLinks = "10\t20\t1\n20\t30\t1\n";

RunParameters linksRun(const std::string& indices) {
    RunParameters parameters;
    parameters.type = testing_support::ConnectionKind::Links;
    parameters.indices = indices;
    return parameters;
}

TEST(Processing, ProgressNamesEachNodeAfterItAndTruncatesThePercentage) {
    ProcessedRun three("1 1\n2 1\n3 1\n", "1 2 1\n", linksRun("NL"));
    ASSERT_EQ(three.errors, 0);
    EXPECT_EQ(three.status.history(),
              (std::vector<std::string>{"0:Processing overall landscape indices",
                                        "0:Processing importance of node with ID 1", "1:33% completed",
                                        "0:Processing importance of node with ID 2", "1:66% completed",
                                        "0:Processing importance of node with ID 3", "1:100% completed",
                                        "0:Execution ended"}));
}

TEST(Processing, CandidatesFollowTheExistingNodesWithTheSameCounter) {
    RunParameters parameters = linksRun("NL");
    parameters.addNodes = true;
    ProcessedRun run("1 1 1\n2 1 0\n", "1 2 1\n", parameters);
    ASSERT_EQ(run.errors, 0);
    const auto history = run.status.history();
    ASSERT_EQ(history.size(), 6u);
    EXPECT_EQ(history[1], "0:Processing importance of node with ID 1");
    EXPECT_EQ(history[2], "1:50% completed");
    EXPECT_EQ(history[3], "0:Processing importances of added nodes with ID 2");
    EXPECT_EQ(history[4], "1:100% completed");
}

TEST(Processing, LogsTheSelectedIndicesAndTheStartTime) {
    const sysutils::TDateTime fixed = sysutils::EncodeDateTime(2026, 12, 10, 9, 5, 7, 0);
    sysutils::ScopedClock clock([fixed] { return fixed; });
    RunParameters binary = linksRun("A NL H IIC NC");
    ProcessedRun accepted(pathNodes, pathLinks, binary);
    ASSERT_EQ(accepted.errors, 0);
    const auto lines = accepted.log.lines();
    const auto processed = std::find(lines.begin(), lines.end(), "Processed indices: NL NC H IIC");
    ASSERT_NE(processed, lines.end());
    EXPECT_EQ(*(processed + 1), "Indices processing started at: 09:05:07 12/10/26");
}

TEST(Processing, RemovingACutNodeSplitsTheLandscape) {
    ProcessedRun run(pathNodes, pathLinks, linksRun("NL NC H IIC CCP LCP"));
    ASSERT_EQ(run.errors, 0);
    const auto& e = *run.program;
    EXPECT_EQ(e.getOverallNC(), 2.0);
    EXPECT_EQ(e.getOverallNL(), 2.0);
    EXPECT_EQ(static_cast<double>(e.nodeImportanceNC(1)), -50.0);  // NC 2 -> 3
    EXPECT_EQ(static_cast<double>(e.nodeImportanceNL(1)), 100.0);
    EXPECT_EQ(static_cast<double>(e.nodeImportanceNL(3)), 0.0);  // an isolated node
    EXPECT_GT(static_cast<double>(e.nodeImportanceIIC(1)), 0.0);
    EXPECT_EQ(static_cast<double>(e.nodeImportanceH(3)), 0.0);
}

TEST(Processing, RemovingTheMiddleOfAConnectedPathGivesMinusOneHundredPercentNC) {
    ProcessedRun run("1 1\n2 1\n3 1\n", "1 2 1\n2 3 1\n", linksRun("NC"));
    ASSERT_EQ(run.errors, 0);
    EXPECT_EQ(static_cast<double>(run.program->nodeImportanceNC(1)), -100.0);
    EXPECT_EQ(static_cast<double>(run.program->nodeImportanceNC(0)), 0.0);
}

TEST(Processing, ACandidateWithoutConnectionsAddsOneComponentAndOnlyItsOwnPCTerm) {
    RunParameters parameters;
    parameters.indices = "NL NC PC";
    parameters.addNodes = true;
    parameters.threshold = 5.0f;
    ProcessedRun run("1 2 1\n2 3 1\n3 4 1\n9 5 0\n", "1 2 4\n", parameters);
    ASSERT_EQ(run.errors, 0);
    const auto& e = *run.program;
    ASSERT_EQ(e.getNumAddedNodes(), 1);
    EXPECT_EQ(static_cast<double>(e.addedNodeImportanceNL(0)), 0.0);
    EXPECT_EQ(e.addedNodeImportanceNC(0), 100.0L / 2);  // NC 2 -> 3
    const long double expected = (static_cast<long double>(e.withAddedNode[0].PCnum) - e.overall->PCnum) * 100 /
                                 e.overall->PCnum;
    EXPECT_EQ(e.addedNodeImportancePC(0), expected);
    EXPECT_NEAR(static_cast<double>(e.addedNodeImportancePC(0)), 25.0 * 100 / e.getOverallPCnum(), 1e-3);
}

TEST(Processing, HAndIICTogetherAreTimedAsOne) {
    std::int64_t ticks = 0;
    sysutils::ScopedTickCounter counter([&ticks] { return ticks += 7; });
    ProcessedRun both(pathNodes, pathLinks, linksRun("H IIC"));
    EXPECT_GT(both.program->ticksHIIC, 0);
    EXPECT_EQ(both.program->ticksH + both.program->ticksIIC, 0);
    ProcessedRun onlyIIC(pathNodes, pathLinks, linksRun("IIC"));
    EXPECT_GT(onlyIIC.program->ticksIIC, 0);
    EXPECT_EQ(onlyIIC.program->ticksHIIC + onlyIIC.program->ticksH, 0);
    // Five landscapes (overall and four removals), 7 ms each.
    EXPECT_EQ(onlyIIC.program->ticksIIC, 5 * 7);
}

TEST(Processing, PerNodeLandscapesKeepOnlyTheirIndexValues) {
    ProcessedRun run(pathNodes, pathLinks, linksRun("NC"));
    ASSERT_EQ(run.errors, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(run.program->withoutNode[i].nodes, nullptr);
        EXPECT_EQ(run.program->withoutNode[i].component, nullptr);
    }
    EXPECT_NE(run.program->overall->nodes, nullptr);
    EXPECT_EQ(run.program->getNodeComponent(3), 1);
}

TEST(Processing, TheOverallLandscapeTakesTheWholePartOfAL) {
    RunParameters parameters = linksRun("LCP");
    parameters.AL = 1000.7f;
    ProcessedRun run(pathNodes, pathLinks, parameters);
    ASSERT_EQ(run.errors, 0);
    EXPECT_EQ(run.program->overall->AL, 1000.0f);
    EXPECT_TRUE(run.program->ALValid);
}

TEST(Processing, RemovingTheOnlyNodeLeavesAnEmptyLandscapeWithZeroIndices) {
    RunParameters parameters;
    parameters.indices = "all";
    ProcessedRun single("1 5\n", "1 1 0\n", parameters);
    ASSERT_EQ(single.errors, 0);
    const auto& removed = single.program->withoutNode[0];
    EXPECT_EQ(removed.n, 0);
    EXPECT_EQ(removed.NC, 0);
    EXPECT_EQ(removed.NL, 0);
    for (float value : {removed.CCP, removed.LCP, removed.IIC, removed.H, removed.F, removed.AWF, removed.PC})
        EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(static_cast<double>(single.program->nodeImportanceNC(0)), 100.0);
}

TEST(Processing, MaxProductProbabilityWithoutPCShowsItsMessageOncePerCall) {
    ProcessedRun run(pathNodes, pathLinks, linksRun("NL"));
    run.boxes.clear();
    EXPECT_EQ(run.program->maxProductProbability(0, 1), 0.0);
    EXPECT_EQ(run.program->maxProductProbability(0, 1), 0.0);
    const auto boxes = run.boxes.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Cannot acces to the maximum product probability values");
    EXPECT_EQ(boxes[0].caption, "Error!");
}

TEST(Processing, PairwiseAccessorsFollowTheConnectionType) {
    RunParameters parameters;
    parameters.indices = "NL PC";
    parameters.threshold = 10.0f;
    parameters.distance = 10.0f;
    ProcessedRun run("1 1\n2 1\n3 1\n", "1 2 10\n2 3 20\n", parameters);
    ASSERT_EQ(run.errors, 0);
    const auto& e = *run.program;
    EXPECT_TRUE(e.isLinked(0, 1));
    EXPECT_FALSE(e.isLinked(1, 2));
    EXPECT_FLOAT_EQ(static_cast<float>(e.directProbability(0, 1)), 0.5f);
    EXPECT_EQ(e.directProbability(0, 2), 0.0);  // unlisted pair
    EXPECT_FLOAT_EQ(static_cast<float>(e.maxProductProbability(0, 2)), 0.125f);
    EXPECT_EQ(e.maxProductProbability(1, 1), 1.0);
}

struct ZeroBaseCase {
    const char* name;
    std::string nodes;
    std::string connections;
    std::string indices;
    bool candidate;
    long double expected;
};

class ImportanceOfAZeroOverallValue : public ::testing::TestWithParam<ZeroBaseCase> {};

// A base of 0 gives 0 when nothing changes and +-100 otherwise, never a division by 0.
TEST_P(ImportanceOfAZeroOverallValue, IsZeroOrAHundredPercent) {
    const ZeroBaseCase& c = GetParam();
    RunParameters parameters;
    parameters.type = testing_support::ConnectionKind::Probabilities;
    parameters.indices = c.indices;
    parameters.threshold = 0.5f;
    parameters.addNodes = true;
    ProcessedRun run(c.nodes, c.connections, parameters);
    ASSERT_EQ(run.errors, 0);
    const auto& e = *run.program;
    long double value = 0;
    if (c.indices == "F") value = c.candidate ? e.addedNodeImportanceF(0) : e.nodeImportanceF(0);
    if (c.indices == "AWF") value = c.candidate ? e.addedNodeImportanceAWF(0) : e.nodeImportanceAWF(0);
    if (c.indices == "A") value = c.candidate ? e.addedNodeImportanceA(0) : e.nodeImportanceA(0);
    if (c.indices == "CCP") value = c.candidate ? e.addedNodeImportanceCCP(0) : e.nodeImportanceCCP(0);
    EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportanceOfAZeroOverallValue,
    ::testing::Values(
        ZeroBaseCase{"RemovalWithoutAnyFlux", "1 1 1\n2 1 1\n", "1 2 0\n", "F", false, 0},
        ZeroBaseCase{"CandidateBringsTheFirstFlux", "1 1 1\n2 1 1\n3 1 0\n", "1 3 0.5\n", "F", true, 100},
        ZeroBaseCase{"CandidateWithoutConnectionLeavesAWFAtZero", "1 1 1\n2 1 1\n3 1 0\n", "1 2 0\n", "AWF", true, 0},
        ZeroBaseCase{"AttributeShareOfAZeroSum", "1 0 1\n2 0 1\n3 2 0\n", "1 2 0\n", "A", true, 100},
        ZeroBaseCase{"ZeroAttributeOfAZeroSum", "1 0 1\n2 0 1\n", "1 2 0\n", "A", false, 0},
        ZeroBaseCase{"CoincidenceOfZeroAttributes", "1 0 1\n2 0 1\n3 2 0\n", "1 2 1\n", "CCP", true, 100}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
