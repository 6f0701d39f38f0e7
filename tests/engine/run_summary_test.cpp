// The run summary and the processing-time lines of the event log.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/support/RunFixture.h"
#include "sysutils/FormatSettings.h"

namespace {

using testing_support::makeRun;
using testing_support::RunParameters;

std::vector<std::string> timeLines(const std::string& indices, void (*setTicks)(engine::tamblorProgram&)) {
    RunParameters parameters;
    parameters.indices = indices;
    auto run = makeRun("n", "c", parameters);
    setTicks(*run);
    sysutils::TStringList log;
    run->writeProcessingTimes(log);
    return log.lines();
}

struct DurationCase {
    const char* name;
    std::int32_t milliseconds;
    std::string line;
};

class ProcessingTimeLine : public ::testing::TestWithParam<DurationCase> {};

TEST_P(ProcessingTimeLine, SplitsWithStrictComparisons) {
    static std::int32_t ms;
    ms = GetParam().milliseconds;
    const auto lines = timeLines("NL", [](engine::tamblorProgram& run) { run.ticksNL = ms; });
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Processing time for indices:");
    EXPECT_EQ(lines[1], GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, ProcessingTimeLine,
    ::testing::Values(DurationCase{"Zero", 0, "NL:  0 seconds"}, DurationCase{"BelowASecond", 999, "NL:  0 seconds"},
                      DurationCase{"JustOverAMinute", 61000, "NL:  1 minutes 1 seconds"},
                      DurationCase{"ExactlyAMinute", 60000, "NL:  60 seconds"},
                      DurationCase{"ExactlyAnHour", 3600000, "NL:  60 minutes 0 seconds"},
                      DurationCase{"ExactlyADay", 86400000, "NL:  24 hours 0 seconds"},
                      DurationCase{"ADayAndAnHour", 90000000, "NL:  1 days 60 minutes 0 seconds"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ProcessingTimes, HAndIICShareHalfOfTheirJointTimeAndComeTogether) {
    const auto lines = timeLines("all", [](engine::tamblorProgram& run) {
        run.ticksHIIC = 3000;
        run.ticksIIC = 99000;  // not used when both are selected
        run.ticksPC = 2000;
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"Processing time for indices:", "NL:  0 seconds", "NC:  0 seconds",
                                               "H:  1 seconds", "IIC:  1 seconds", "CCP:  0 seconds",
                                               "LCP:  0 seconds", "F:  0 seconds", "AWF:  0 seconds",
                                               "PC:  2 seconds"}));
}

TEST(ProcessingTimes, OnlyIICAfterLCPWhenHIsNotSelected) {
    const auto lines = timeLines("LCP IIC", [](engine::tamblorProgram& run) { run.ticksIIC = 5000; });
    EXPECT_EQ(lines, (std::vector<std::string>{"Processing time for indices:", "LCP:  0 seconds", "IIC:  5 seconds"}));
}

TEST(ProcessingTimes, OnlyDAGivesTheHeadingAlone) {
    const auto lines = timeLines("A", [](engine::tamblorProgram&) {});
    EXPECT_EQ(lines, (std::vector<std::string>{"Processing time for indices:"}));
}

TEST(ProcessingTimes, PCLineNamesTheDirectConnectionsWhenThereAreAny) {
    const auto lines = timeLines("PC", [](engine::tamblorProgram& run) {
        run.overall = std::make_unique<engine::landscape>();
        run.overall->nDirectConnections = 12;
    });
    EXPECT_EQ(lines.back(), "PC:  0 seconds (using 12 direct internode connections)");
}

struct SummaryCase {
    const char* name;
    RunParameters parameters;
    int nodes;
    int candidates;
    bool ALValid;
    float AL;
    float totalAttribute;
    std::vector<std::string> lines;
};

class RunSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(RunSummary, WritesItsLinesInOrder) {
    sysutils::ScopedDecimalSeparator point('.');
    const SummaryCase& c = GetParam();
    auto run = makeRun("in/nodes.txt", "in/connections.txt", c.parameters);
    run->nNodes = c.nodes;
    run->nAddedNodes = c.candidates;
    run->ALValid = c.ALValid;
    run->AL = c.AL;
    run->totalAttribute = c.totalAttribute;
    // The summary flags come from the parameter check; derive them the same way here.
    const auto& p = *run;
    run->anyBinary = p.doCCP || p.doLCP || p.doIIC || p.doNC || p.doNL || p.doH;
    run->anyProbabilistic = p.doF || p.doAWF || p.doPC;
    sysutils::TStringList log;
    run->writeSummary(log);
    EXPECT_EQ(log.lines(), c.lines);
}

RunParameters with(const std::string& indices, bool allPaths, float threshold) {
    RunParameters parameters;
    parameters.indices = indices;
    parameters.allPaths = allPaths;
    parameters.threshold = threshold;
    parameters.distance = 1000.0f;
    parameters.probability = 0.05f;
    parameters.minProbability = 0.001f;
    return parameters;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunSummary,
    ::testing::Values(
        SummaryCase{"OnlyDA", with("A", true, 0), 3, 0, false, 1.0f, 12.9f,
                    {"Number of nodes to process: 3", "Sum of the attributes of existing nodes: 12",
                     "Node file: in/nodes.txt", "Connection file: in/connections.txt"}},
        SummaryCase{"EverythingWithCandidatesAndAValidAL", with("all", true, 0.1f), 5, 2, true, 1000.7f, 40.0f,
                    {"Number of nodes to process: 7",
                     "5 of these nodes already exist in the landscape, and the remaining 2 are candidates to be added "
                     "in the landscape",
                     "Maximum landscape attribute (AL): 1000", "Sum of the attributes of existing nodes: 40",
                     "Distance threshold (binary indices): 0.100000001490116",
                     "Distance and probability (probabilistic indices): 1000 0.05",
                     "PC computed in the default mode: checking all paths (no connections discarded)",
                     "Node file: in/nodes.txt", "Connection file: in/connections.txt"}},
        SummaryCase{"PCWithAMinimumProbability", with("PC", false, 0), 2, 0, false, 1.0f, 2.0f,
                    {"Number of nodes to process: 2", "Sum of the attributes of existing nodes: 2",
                     "Distance and probability (probabilistic indices): 1000 0.05",
                     "Minimum direct and product probability considered for PC: 0.00", "Node file: in/nodes.txt",
                     "Connection file: in/connections.txt"}},
        // Sums and an AL of 2^31 or more are held at the largest int, as the indices do,
        // instead of an undefined conversion that logged -2147483648.
        SummaryCase{"AnALAndASumBeyondTheIntRangeAreHeldAtItsEnd", with("A", true, 0), 2, 0, true, 3.0e9f,
                    2147483648.0f,
                    {"Number of nodes to process: 2", "Maximum landscape attribute (AL): 2147483647",
                     "Sum of the attributes of existing nodes: 2147483647", "Node file: in/nodes.txt",
                     "Connection file: in/connections.txt"}},
        SummaryCase{"AnInfiniteSumIsHeldAtTheEndOfTheIntRange", with("A", true, 0), 2, 0, false, 1.0f,
                    std::numeric_limits<float>::infinity(),
                    {"Number of nodes to process: 2", "Sum of the attributes of existing nodes: 2147483647",
                     "Node file: in/nodes.txt", "Connection file: in/connections.txt"}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
