// The parameter checks of the first run step: the summary flags of the index
// selection and the numeric parameters against the connection type.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/support/InputFilesRun.h"

namespace {

using sysutils::MessageBox;
using testing_support::ConnectionKind;
using testing_support::errorBox;
using testing_support::InputFilesRun;
using testing_support::RunSettings;

const std::string distanceThreshold = "The value for the distance threshold cannot be negative (binary indices)";
const std::string probabilityRange = "The probability value must range between 0 and 1 (probabilistic indices)";
const std::string distanceValue = "The distance value cannot be negative (probabilistic indices)";
const std::string minimumProbability = "The minimum probability value (PC index) must range between 0 and 1";
const std::string probabilityThreshold =
    "The value for the probability threshold must range between 0 and 1 (binary indices)";
const std::string linksNotProbabilistic =
    "Probabilistic indices (F, AWF, PC) cannot be computed when binary links is the type of connection file";
const std::string noType = "No type of connection file has been selected (Distances, Probabilities or Links).";

struct Flags {
    bool anyBinary;
    bool needComponents;
    bool anyProbabilistic;
};

struct ParameterCase {
    std::string name;
    RunSettings settings;
    std::vector<std::string> messages;
    Flags flags;
};

void PrintTo(const ParameterCase& c, std::ostream* out) { *out << c.name; }

RunSettings binaryOnly(ConnectionKind type, float threshold) {
    RunSettings s;
    s.type = type;
    s.threshold = threshold;
    // Out of range on purpose: only the probabilistic indices would check them.
    s.probability = 0.0f;
    s.distance = 0.0f;
    s.minProbability = 2.0f;
    return s;
}

RunSettings withPC(ConnectionKind type, float probability, float distance, float minProbability) {
    RunSettings s;
    s.type = type;
    s.doNC = false;
    s.doPC = true;
    s.probability = probability;
    s.distance = distance;
    s.minProbability = minProbability;
    s.threshold = -1.0f;  // not checked without a binary index
    return s;
}

RunSettings selection(bool doA, bool doCCP, bool doLCP, bool doIIC, bool doNC, bool doNL, bool doH, bool doF,
                      bool doAWF, bool doPC) {
    RunSettings s;
    s.doA = doA, s.doCCP = doCCP, s.doLCP = doLCP, s.doIIC = doIIC, s.doNC = doNC, s.doNL = doNL, s.doH = doH;
    s.doF = doF, s.doAWF = doAWF, s.doPC = doPC;
    return s;
}

RunSettings linksWith(bool doF, float threshold) {
    RunSettings s = selection(false, false, false, false, true, false, false, doF, false, false);
    s.type = ConnectionKind::Links;
    s.threshold = threshold;
    return s;
}

RunSettings everythingWrong() {
    RunSettings s = withPC(ConnectionKind::Distances, 0.0f, 0.0f, 1.5f);
    s.doNC = true;
    s.threshold = -1.0f;
    return s;
}

RunSettings withoutType() {
    RunSettings s;
    s.type = ConnectionKind::None;
    return s;
}

RunSettings onlyA() {
    RunSettings s = selection(true, false, false, false, false, false, false, false, false, false);
    s.threshold = -1.0f;
    s.probability = 0.0f;
    s.distance = 0.0f;
    return s;
}

constexpr Flags binary{true, true, false};
constexpr Flags probabilistic{false, false, true};

class ParameterChecks : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(ParameterChecks, ReportEveryBadParameterAndOnlyThen) {
    const ParameterCase& c = GetParam();
    InputFilesRun run;
    const int errors = run.check(c.settings, "1 10\n2 10\n", "1 2 0.5\n");
    EXPECT_EQ(errors, static_cast<int>(c.messages.size()));
    std::vector<MessageBox> expected;
    for (const std::string& text : c.messages) expected.push_back(errorBox(text));
    EXPECT_EQ(run.boxes.boxes(), expected);
    EXPECT_EQ(run.program->hasBinaryIndices(), c.flags.anyBinary);
    EXPECT_EQ(run.program->hasComponents(), c.flags.needComponents);
    EXPECT_EQ(run.program->hasProbabilisticIndices(), c.flags.anyProbabilistic);
    // Files are pre-scanned only after parameters without error.
    EXPECT_EQ(run.program->nNodeLines, errors == 0 ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    ParameterCheck, ParameterChecks,
    ::testing::Values(
        ParameterCase{"DistanceThresholdZero", binaryOnly(ConnectionKind::Distances, 0.0f), {}, binary},
        ParameterCase{
            "DistanceThresholdNegative", binaryOnly(ConnectionKind::Distances, -1.0f), {distanceThreshold}, binary},
        ParameterCase{"ProbabilityOne", withPC(ConnectionKind::Distances, 1.0f, 10.0f, 0.5f), {}, probabilistic},
        ParameterCase{
            "ProbabilityZero", withPC(ConnectionKind::Distances, 0.0f, 10.0f, 0.5f), {probabilityRange}, probabilistic},
        ParameterCase{"ProbabilityAboveOne",
                      withPC(ConnectionKind::Distances, 1.01f, 10.0f, 0.5f),
                      {probabilityRange},
                      probabilistic},
        ParameterCase{
            "DistanceZero", withPC(ConnectionKind::Distances, 0.5f, 0.0f, 0.5f), {distanceValue}, probabilistic},
        ParameterCase{
            "MinimumProbabilityZero", withPC(ConnectionKind::Distances, 0.5f, 10.0f, 0.0f), {}, probabilistic},
        ParameterCase{"MinimumProbabilityOne", withPC(ConnectionKind::Distances, 0.5f, 10.0f, 1.0f), {}, probabilistic},
        ParameterCase{"MinimumProbabilityNegative",
                      withPC(ConnectionKind::Distances, 0.5f, 10.0f, -0.01f),
                      {minimumProbability},
                      probabilistic},
        ParameterCase{"MinimumProbabilityAboveOne",
                      withPC(ConnectionKind::Distances, 0.5f, 10.0f, 1.01f),
                      {minimumProbability},
                      probabilistic},
        ParameterCase{"EveryDistanceCheckRuns",
                      everythingWrong(),
                      {distanceThreshold, probabilityRange, distanceValue, minimumProbability},
                      {true, true, true}},
        ParameterCase{"ProbabilityThresholdOne", binaryOnly(ConnectionKind::Probabilities, 1.0f), {}, binary},
        ParameterCase{"ProbabilityThresholdZero",
                      binaryOnly(ConnectionKind::Probabilities, 0.0f),
                      {probabilityThreshold},
                      binary},
        ParameterCase{"ProbabilityThresholdAboveOne",
                      binaryOnly(ConnectionKind::Probabilities, 1.5f),
                      {probabilityThreshold},
                      binary},
        ParameterCase{
            "ProbabilitiesDoNotCheckPAndD", withPC(ConnectionKind::Probabilities, 0.0f, 0.0f, 5.0f), {}, probabilistic},
        ParameterCase{"LinksWithF", linksWith(true, 0.5f), {linksNotProbabilistic}, {true, true, true}},
        ParameterCase{"LinksDoNotCheckTheThreshold", linksWith(false, -5.0f), {}, binary},
        ParameterCase{"NoConnectionType", withoutType(), {noType}, binary},
        ParameterCase{"OnlyAttributeShare", onlyA(), {}, {false, false, false}},
        ParameterCase{"HSetsNoComponents",
                      selection(false, false, false, false, false, false, true, false, false, false),
                      {},
                      {true, false, false}},
        ParameterCase{"LCPNeedsComponents",
                      selection(false, false, true, false, false, false, false, false, false, false),
                      {},
                      binary},
        ParameterCase{"CCPNeedsComponents",
                      selection(false, true, false, false, false, false, false, false, false, false),
                      {},
                      binary},
        ParameterCase{"IICAndNLSetNoComponents",
                      selection(false, false, false, true, false, true, false, false, false, false),
                      {},
                      {true, false, false}},
        ParameterCase{"AWFIsProbabilistic",
                      selection(false, false, false, false, false, false, false, false, true, false),
                      {},
                      probabilistic},
        ParameterCase{"FIsProbabilistic",
                      selection(false, false, false, false, false, false, false, true, false, false),
                      {},
                      probabilistic}),
    [](const auto& testCase) { return testCase.param.name; });

// A run refused for its parameters never looks at its files: missing files would
// each add a box of their own.
TEST(ParameterCheck, RefusedParametersKeepTheFilesUnread) {
    const std::vector<std::pair<RunSettings, std::string>> refused{{linksWith(true, 0.5f), linksNotProbabilistic},
                                                                   {withoutType(), noType}};
    for (const auto& [settings, message] : refused) {
        testing_support::TemporaryFolder folder;
        sysutils::ScriptedMessageBoxes boxes;
        auto program =
            testing_support::makeProgram(settings, folder.pathOf("no-nodes.txt"), folder.pathOf("no-connections.txt"));
        EXPECT_EQ(program->checkParameters(), 1);
        EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox(message)});
    }
}

}  // namespace
