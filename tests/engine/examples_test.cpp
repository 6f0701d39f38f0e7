// The sample inputs under examples/ pass every check and are read without a message,
// with the run parameters their README suggests.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/support/InputFilesRun.h"

namespace {

using testing_support::ConnectionKind;
using testing_support::makeProgram;
using testing_support::RunSettings;

struct ExampleCase {
    std::string name;
    std::string connectionFile;
    RunSettings settings;
    int listedPairs;
};

void PrintTo(const ExampleCase& c, std::ostream* out) { *out << c.name; }

RunSettings distancesPartial() {
    RunSettings s;
    s.type = ConnectionKind::Distances;
    s.doA = s.doCCP = s.doLCP = s.doIIC = s.doNC = s.doNL = s.doH = s.doF = s.doAWF = s.doPC = true;
    s.threshold = 1000.0f;
    s.probability = 0.5f;
    s.distance = 1000.0f;
    s.minProbability = 0.01f;
    s.AL = 1000.0f;
    return s;
}

RunSettings probabilitiesFull() {
    RunSettings s = distancesPartial();
    s.type = ConnectionKind::Probabilities;
    s.threshold = 0.5f;
    s.fullMatrix = true;
    return s;
}

class Examples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(Examples, PassEveryCheckAndAreReadWithoutAMessage) {
    const ExampleCase& c = GetParam();
    sysutils::ScriptedMessageBoxes boxes;
    auto program = makeProgram(c.settings, std::string(BRELMARK_EXAMPLES) + "/nodes.txt",
                               std::string(BRELMARK_EXAMPLES) + "/" + c.connectionFile);
    ASSERT_EQ(program->checkParameters(), 0);
    program->readInputs();
    EXPECT_TRUE(boxes.boxes().empty());

    EXPECT_EQ(program->nNodes, 10);
    EXPECT_EQ(program->nAddedNodes, 0);
    EXPECT_EQ(program->totalAttribute, 335.5f);
    EXPECT_TRUE(program->ALValid);
    const float unlisted = c.settings.type == ConnectionKind::Distances ? engine::noConnection : 0.0f;
    int listed = 0;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(program->nodeIds[i], 101 + i);
        EXPECT_EQ(program->connections[i][i], unlisted);
        for (int j = i + 1; j < 10; ++j) {
            EXPECT_EQ(program->connections[i][j], program->connections[j][i]);
            if (program->connections[i][j] != unlisted) ++listed;
        }
    }
    EXPECT_EQ(listed, c.listedPairs);
}

INSTANTIATE_TEST_SUITE_P(
    ExampleInputs, Examples,
    ::testing::Values(ExampleCase{"DistancesPartial", "distances_partial.txt", distancesPartial(), 15},
                      ExampleCase{"ProbabilitiesFull", "probabilities_full.txt", probabilitiesFull(), 45}),
    [](const auto& testCase) { return testCase.param.name; });

}  // namespace
