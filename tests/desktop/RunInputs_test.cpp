// The check of a run's inputs: one message per bad or missing value, in order, and the
// values handed to the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "desktop/TimeStamp.h"
#include "desktop/inputs/RunInputs.h"
#include "engine/tamblorProgram.h"
#include "sysutils/DateTime.h"
#include "sysutils/FormatSettings.h"

namespace {

using desktop::inputs::checkRunInputs;
using desktop::inputs::EditState;
using desktop::inputs::RunInputCheck;
using desktop::inputs::RunInputs;

// A run that passes: IIC and PC on distances, every enabled edit holding a number.
RunInputs validInputs() {
    RunInputs in;
    in.doIIC = true;
    in.doPC = true;
    in.doA = true;
    in.nodeFile = "nodes.txt";
    in.connectionFile = "distances.txt";
    in.threshold = {"1000", true};
    in.distance = {"1000", true};
    in.probability = {"0.5", true};
    in.landscapeArea = {"", true};
    in.minProbability = {"0", false};
    return in;
}

struct CheckCase {
    const char* name;
    std::function<void(RunInputs&)> change;
    std::vector<std::string> errors;
};

class InputCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(InputCheck, ReportsEachBadValueOnceInOrder) {
    RunInputs in = validInputs();
    GetParam().change(in);
    EXPECT_EQ(checkRunInputs(in).errors, GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputCheck,
    ::testing::Values(
        CheckCase{"Valid", [](RunInputs&) {}, {}},
        CheckCase{"NoIndexAndNoFiles",
                  [](RunInputs& in) {
                      in = RunInputs{};
                  },
                  {"At least one connectivity index should be selected for analysis", "No node file name specified",
                   "No connection file name specified"}},
        CheckCase{"AttributeShareAloneIsNoIndex",
                  [](RunInputs& in) {
                      in.doIIC = in.doPC = false;
                      in.doA = true;
                  },
                  {"At least one connectivity index should be selected for analysis"}},
        CheckCase{"EmptyEnabledThresholdIsAnError", [](RunInputs& in) { in.threshold.text = ""; },
                  {"Error in the distance threshold value (binary indices)"}},
        CheckCase{"ProbabilityThresholdForOtherTypes",
                  [](RunInputs& in) {
                      in.connectionType = 1;
                      in.threshold.text = "x";
                  },
                  {"Error in the probability threshold value (binary indices)"}},
        CheckCase{"EmptyEnabledLandscapeAttributeIsZero", [](RunInputs& in) { in.landscapeArea.text = ""; }, {}},
        CheckCase{"BadLandscapeAttribute", [](RunInputs& in) { in.landscapeArea.text = "big"; },
                  {"Error in the value of the maximum landscape attribute (AL)"}},
        CheckCase{"DisabledEditsAreNeverChecked",
                  [](RunInputs& in) {
                      for (EditState* edit : {&in.threshold, &in.distance, &in.probability,
                                              &in.landscapeArea, &in.minProbability})
                          *edit = {"not a number", false};
                  },
                  {}},
        CheckCase{"AllNumbersBadInOrder",
                  [](RunInputs& in) {
                      for (EditState* edit : {&in.threshold, &in.distance, &in.probability,
                                              &in.landscapeArea, &in.minProbability})
                          *edit = {"?", true};
                  },
                  {"Error in the value of the maximum landscape attribute (AL)",
                   "Error in the distance threshold value (binary indices)",
                   "Error in the probability value (probabilistic indices)",
                   "Error in the distance value (probabilistic indices)",
                   "Error in the minimum probability value (PC index)"}},
        CheckCase{"NoEditTakesWhatNoFloatHolds",
                  [](RunInputs& in) {
                      in.threshold.text = "NaN";
                      in.distance.text = "inf";
                      in.probability.text = "1e39";
                      in.landscapeArea.text = "-1e39";
                      in.minProbability = {"1e999", true};
                  },
                  {"Error in the value of the maximum landscape attribute (AL)",
                   "Error in the distance threshold value (binary indices)",
                   "Error in the probability value (probabilistic indices)",
                   "Error in the distance value (probabilistic indices)",
                   "Error in the minimum probability value (PC index)"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(InputValues, DisabledEditsGiveZeroAndTheEngineGetsTheDistanceBeforeTheProbability) {
    RunInputs in = validInputs();
    in.distance.text = "1200";
    in.probability.text = "0.25";
    in.landscapeArea.text = "5000";
    in.minProbability = {"0.01", false};
    in.connectionType = 0;
    in.fullMatrix = false;
    const RunInputCheck check = checkRunInputs(in);
    ASSERT_TRUE(check.errors.empty());
    EXPECT_EQ(check.arguments.minProbability, 0.0f);
    EXPECT_EQ(check.arguments.AL, 5000.0f);
    const auto execution = desktop::inputs::createExecution(check.arguments);
    EXPECT_EQ(execution->distance, 1200.0f);
    EXPECT_EQ(execution->probability, 0.25f);
    EXPECT_EQ(execution->threshold, 1000.0f);
    EXPECT_TRUE(execution->isDistances);
    EXPECT_FALSE(execution->isProbabilities || execution->isLinks);
    EXPECT_TRUE(execution->doIIC && execution->doPC && execution->doA);
    EXPECT_FALSE(execution->doNL);
    EXPECT_FALSE(execution->fullMatrix);
    EXPECT_EQ(execution->nodeFile, "nodes.txt");
}

TEST(InputValues, NumbersUseTheRegionalDecimalSeparator) {
    sysutils::ScopedDecimalSeparator comma(',');
    RunInputs in = validInputs();
    in.probability.text = "0,5";
    in.distance.text = "0.5";
    const RunInputCheck check = checkRunInputs(in);
    EXPECT_EQ(check.errors, std::vector<std::string>{"Error in the distance value (probabilistic indices)"});
    EXPECT_EQ(check.arguments.probability, 0.5f);
}

struct ThresholdCase {
    const char* name;
    std::string text;
    bool refused;
    float value;  // the engine's threshold when it is taken
};

class ThresholdText : public ::testing::TestWithParam<ThresholdCase> {};

// The engine never gets NaN or an infinity: texts that are no number and numbers that no
// float holds are errors of their edit.
TEST_P(ThresholdText, IsTakenAsTheNearestFloatOrRefused) {
    const ThresholdCase& c = GetParam();
    RunInputs in = validInputs();
    in.threshold.text = c.text;
    const RunInputCheck check = checkRunInputs(in);
    if (c.refused) {
        EXPECT_EQ(check.errors, std::vector<std::string>{"Error in the distance threshold value (binary indices)"});
    } else {
        EXPECT_EQ(check.errors, std::vector<std::string>{});
        EXPECT_EQ(check.arguments.threshold, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ThresholdText,
    ::testing::Values(ThresholdCase{"NaN", "NaN", true, 0}, ThresholdCase{"Infinity", "inf", true, 0},
                      ThresholdCase{"MinusInfinity", "-inf", true, 0}, ThresholdCase{"BeyondDouble", "1e999", true, 0},
                      ThresholdCase{"BeyondFloat", "1e39", true, 0},
                      ThresholdCase{"NegativeBeyondFloat", "-1e300", true, 0},
                      ThresholdCase{"HexadecimalFloat", "0x1p3", true, 0},
                      ThresholdCase{"LargestFloatAsPrinted", "3.4028235e38", false, std::numeric_limits<float>::max()},
                      ThresholdCase{"BelowTheSmallestFloatIsZero", "1e-50", false, 0.0f},
                      // Read as a double first, as the window always has: the double lands on
                      // the midpoint of 1 and the next float, which rounds to 1.
                      ThresholdCase{"ReadAsADoubleFirst", "1.00000005960464477539062500000001", false, 1.0f}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ElapsedTime, ARunAcrossMidnightTakesItsTrueDuration) {
    const sysutils::TDateTime start = sysutils::EncodeDateTime(2026, 3, 1, 23, 59, 30, 0);
    const sysutils::TDateTime end = sysutils::EncodeDateTime(2026, 3, 2, 0, 0, 45, 0);
    EXPECT_EQ(desktop::elapsedTime(start, end), "00:01:15");
    EXPECT_EQ(desktop::timeStamp(start), "23:59:30 03/01/26");
}

}  // namespace
