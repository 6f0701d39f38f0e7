// Reading the node file: what each record stores, the seven checks with their exact
// messages, the settling of AL, and files that change after the pre-scan.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/support/InputFilesRun.h"

namespace {

using sysutils::MessageBox;
using testing_support::errorBox;
using testing_support::InputFilesRun;
using testing_support::nodeGoesOn;
using testing_support::nodeStops;
using testing_support::RunSettings;
using testing_support::unrelatedConnections;
using testing_support::warningBox;

MessageBox nodeMessage(const std::string& start, int line, const std::string& column, const std::string& closing) {
    return errorBox(start + std::to_string(line) + column + closing);
}
MessageBox nonNumericalId(int line) {
    return nodeMessage("A non-numerical node ID value has been found in line ", line,
                       " of the node file (first column).", nodeStops);
}
MessageBox nonIntegerId(int line) {
    return nodeMessage("A non-integer node ID value has been found in line ", line, " of the node file (first column).",
                       nodeStops);
}
MessageBox nonNumericalAttribute(int line) {
    return nodeMessage("A non-numerical node attribute value has been found in line ", line,
                       " of the node file (second column).", nodeStops);
}
MessageBox negativeAttribute(int line) {
    return nodeMessage("A negative node attribute value has been found in line ", line,
                       " of the node file (second column). \nPlease correct.", nodeGoesOn);
}
MessageBox nonNumericalThird(int line) {
    return nodeMessage("A non-numerical value has been found in line ", line, " of the node file (third column).",
                       nodeStops);
}
MessageBox nonIntegerThird(int line) {
    return nodeMessage("A non-integer value has been found in line ", line, " of the node file (third column).",
                       nodeStops);
}
MessageBox notZeroOrOne(int line) {
    return nodeMessage("A value different from 0 or 1 has been found in line ", line,
                       " of the node file (third column). \nPlease correct.", nodeStops);
}

struct NodeCase {
    std::string name;
    bool addNodes;
    std::string nodes;
    std::vector<std::int32_t> ids;
    std::vector<float> attributes;
    std::vector<std::int32_t> addedIds;
    std::vector<float> addedAttributes;
    float totalAttribute;
    std::vector<MessageBox> boxes;
};

void PrintTo(const NodeCase& c, std::ostream* out) { *out << c.name; }

class NodeRecords : public ::testing::TestWithParam<NodeCase> {};

TEST_P(NodeRecords, StoreWhatPassesTheChecksAndLeaveTheRestAtZero) {
    const NodeCase& c = GetParam();
    InputFilesRun run;
    RunSettings settings;
    settings.addNodes = c.addNodes;
    ASSERT_TRUE(run.checkAndRead(settings, c.nodes, unrelatedConnections));
    EXPECT_EQ(run.nodeIds(), c.ids);
    EXPECT_EQ(run.attributes(), c.attributes);
    EXPECT_EQ(run.addedNodeIds(), c.addedIds);
    EXPECT_EQ(run.addedAttributes(), c.addedAttributes);
    EXPECT_EQ(run.program->totalAttribute, c.totalAttribute);
    EXPECT_EQ(run.boxes.boxes(), c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    NodeFileReader, NodeRecords,
    ::testing::Values(
        NodeCase{"EveryRecordStored", false, "1\t10\n2\t20\n3\t30\n", {1, 2, 3}, {10, 20, 30}, {}, {}, 60, {}},
        NodeCase{"CarriageReturnLineEnds", false, "1\t10\r\n2\t20\r\n", {1, 2}, {10, 20}, {}, {}, 30, {}},
        NodeCase{"BlanksAndTabsMixed", false, "  1 \t 10  \n\t2\t\t20\n", {1, 2}, {10, 20}, {}, {}, 30, {}},
        NodeCase{"LastLineWithoutLineEndIsStored", false, "1 10\n2 20\n3 30", {1, 2, 3}, {10, 20, 30}, {}, {}, 60, {}},
        NodeCase{
            "LastCandidateWithoutLineEndIsStored", true, "1 10 1\n2 20 0\n3 30 0", {1}, {10}, {2, 3}, {20, 30}, 10, {}},
        NodeCase{"NegativeAttributeIsStoredAndSummed",
                 false,
                 "1 1\n2 2\n3 -5\n4 4\n",
                 {1, 2, 3, 4},
                 {1, 2, -5, 4},
                 {},
                 {},
                 2,
                 {negativeAttribute(3)}},
        NodeCase{"NonNumericalAttributeAfterANegativeOne",
                 false,
                 "1 1\n2 2\n3 -5\n4 x\n5 5\n",
                 {1, 2, 3, 0, 0},
                 {1, 2, -5, 0, 0},
                 {},
                 {},
                 -2,
                 {negativeAttribute(3), nonNumericalAttribute(4)}},
        NodeCase{"NonNumericalAttributeInTheFirstLine",
                 false,
                 "1 x\n2 2\n",
                 {0, 0},
                 {0, 0},
                 {},
                 {},
                 0,
                 {nonNumericalAttribute(1)}},
        NodeCase{"NonNumericalIdInTheFirstLine", false, "x 1\n2 2\n", {0, 0}, {0, 0}, {}, {}, 0, {nonNumericalId(1)}},
        NodeCase{
            "FractionalIdStopsReading", false, "1 1\n7.5 2\n3 3\n", {1, 0, 0}, {1, 0, 0}, {}, {}, 1, {nonIntegerId(2)}},
        NodeCase{"IdWithExponent", false, "1e3 1\n", {1000}, {1}, {}, {}, 1, {}},
        NodeCase{"IdTwoTo31IsNotAnInteger", false, "2147483648 1\n2 2\n", {0, 0}, {0, 0}, {}, {}, 0, {nonIntegerId(1)}},
        NodeCase{"InfiniteIdIsNotAnInteger", false, "1 1\n1e39 2\n", {1, 0}, {1, 0}, {}, {}, 1, {nonIntegerId(2)}},
        NodeCase{"IdTwoTo24PlusOneIsRounded", false, "16777217 1\n", {16777216}, {1}, {}, {}, 1, {}},
        NodeCase{"DecimalCommaLeavesTheRestForTheNextId",
                 false,
                 "1 2,5\n3 4\n",
                 {1, 0},
                 {2, 0},
                 {},
                 {},
                 2,
                 {nonNumericalId(2)}},
        NodeCase{"AttributesAreSummedInAFloat",
                 false,
                 "1 16777216\n2 1\n3 1\n",
                 {1, 2, 3},
                 {16777216, 1, 1},
                 {},
                 {},
                 16777216,
                 {}},
        NodeCase{
            "BlankLinesAreNoRecords", false, "\n1 1\n\n\n2 -1\n\n", {1, 2}, {1, -1}, {}, {}, 0, {negativeAttribute(2)}},
        NodeCase{"LongAttribute", false, "1 2." + std::string(300, '0') + "1\n", {1}, {2}, {}, {}, 2, {}},
        NodeCase{
            "ThirdValueTwoStopsReading", true, "1 1 1\n2 2 2\n3 3 0\n", {1, 0}, {1, 0}, {0}, {0}, 1, {notZeroOrOne(2)}},
        NodeCase{"ThirdValueOnePointZeroIsExisting", true, "1 1 1.0\n2 2 0\n", {1}, {1}, {2}, {2}, 1, {}},
        NodeCase{"FractionalThirdValue", true, "1 1 0.5\n", {0}, {0}, {}, {}, 0, {nonIntegerThird(1)}},
        NodeCase{"NonNumericalThirdValueIsReportedByBothScans",
                 true,
                 "1 1 1\n2 2 x\n",
                 {1, 0},
                 {1, 0},
                 {},
                 {},
                 1,
                 {errorBox("A non-numerical value has been found in the node file (third column)." + nodeStops),
                  nonNumericalThird(2)}},
        NodeCase{"OnlyCandidates", true, "1 5 0\n2 6 0\n", {}, {}, {1, 2}, {5, 6}, 0, {}},
        NodeCase{"KindsMixedKeepTheirFileOrder",
                 true,
                 "1 5 0\n2 6 1\n3 7 0\n4 8 1\n",
                 {2, 4},
                 {6, 8},
                 {1, 3},
                 {5, 7},
                 14,
                 {}}),
    [](const auto& testCase) { return testCase.param.name; });

struct ALCase {
    std::string name;
    float givenAL;
    float AL;
    bool ALValid;
    std::vector<MessageBox> boxes;
};

void PrintTo(const ALCase& c, std::ostream* out) { *out << c.name; }

class SettlingAL : public ::testing::TestWithParam<ALCase> {};

TEST_P(SettlingAL, KeepsAUsableALAndReplacesTheOthersByOne) {
    const ALCase& c = GetParam();
    InputFilesRun run;
    RunSettings settings;
    settings.AL = c.givenAL;
    ASSERT_TRUE(run.checkAndRead(settings, "1 10\n2 20.5\n3 29.5\n", unrelatedConnections));
    EXPECT_EQ(run.program->totalAttribute, 60.0f);
    EXPECT_EQ(run.program->AL, c.AL);
    EXPECT_EQ(run.program->ALValid, c.ALValid);
    EXPECT_EQ(run.boxes.boxes(), c.boxes);
}

const MessageBox ALTooLow = warningBox(
    " Maximum landscape attribute (AL) is lower than the sum of node attributes.\n Only the numerators of the overall "
    "LCP, IIC and PC values will be computed.");

INSTANTIATE_TEST_SUITE_P(NodeFileReader, SettlingAL,
                         ::testing::Values(ALCase{"EqualToTheSum", 60, 60, true, {}},
                                           ALCase{"AboveTheSum", 1000, 1000, true, {}},
                                           ALCase{"OneBelowTheSum", 59, 1, false, {ALTooLow}},
                                           ALCase{"NotGiven", 0, 1, false, {}}),
                         [](const auto& testCase) { return testCase.param.name; });

// An AL below 1 would reach the landscapes as 0 and divide LCP, IIC and PC by zero.
TEST(NodeFileReader, AnALBelowOneIsRefusedWithAWarningEvenAboveTheSum) {
    InputFilesRun run;
    RunSettings settings;
    settings.AL = 0.5f;
    ASSERT_TRUE(run.checkAndRead(settings, "1 0.1\n2 0.2\n", unrelatedConnections));
    EXPECT_EQ(run.program->AL, 1.0f);
    EXPECT_FALSE(run.program->ALValid);
    EXPECT_EQ(run.boxes.boxes(),
              (std::vector<MessageBox>{warningBox(" Maximum landscape attribute (AL) is lower than 1.\n Only the "
                                                  "numerators of the overall LCP, IIC and PC values will be computed.")}));
}

// ---- Files that change between the pre-scan and the reader ---------------------------

TEST(NodeFileReader, AVanishedFileIsReportedAndNothingIsRead) {
    for (const bool addNodes : {false, true}) {
        InputFilesRun run;
        RunSettings settings;
        settings.addNodes = addNodes;
        settings.AL = 50;
        ASSERT_EQ(run.check(settings, addNodes ? "1 10 1\n2 20 1\n" : "1 10\n2 20\n", "1 2 5\n"), 0);
        std::filesystem::remove(run.nodePath());
        run.program->readInputs();

        std::vector<MessageBox> expected;
        if (addNodes) expected.push_back(errorBox("Cannot open node file " + run.nodePath()));
        expected.push_back(errorBox("Cannot open node file or connection file " + run.nodePath()));
        EXPECT_EQ(run.boxes.boxes(), expected);
        EXPECT_EQ(run.nodeIds(), (std::vector<std::int32_t>{0, 0}));
        EXPECT_EQ(run.attributes(), (std::vector<float>{0, 0}));
        EXPECT_EQ(run.program->totalAttribute, 0.0f);
        EXPECT_EQ(run.program->AL, 50.0f);
        EXPECT_TRUE(run.program->ALValid);
        // The unfilled slots hold ID 0, which no line of the connection file names.
        const float none = engine::noConnection;
        EXPECT_EQ(run.connections(), (std::vector<std::vector<float>>{{none, none}, {none, none}}));
    }
}

TEST(NodeFileReader, AFileReplacedByAFolderOrAPipeIsReportedAndNotRead) {
    for (const bool pipe : {false, true}) {
        for (const bool addNodes : {false, true}) {
            SCOPED_TRACE(std::string(pipe ? "pipe" : "folder") + (addNodes ? " with candidates" : ""));
            InputFilesRun run;
            RunSettings settings;
            settings.addNodes = addNodes;
            ASSERT_EQ(run.check(settings, addNodes ? "1 10 1\n2 20 1\n" : "1 10\n2 20\n", "1 2 5\n"), 0);
            const auto named = testing_support::replaceByFolderOrPipe(run.nodePath(), pipe, "1 10\n2 20\n");
            run.program->readInputs();

            const std::string reason = pipe ? " (it is not a regular file)" : " (it is a folder)";
            std::vector<MessageBox> expected;
            if (addNodes) expected.push_back(errorBox("Cannot open node file " + run.nodePath() + reason));
            expected.push_back(errorBox("Cannot open node file or connection file " + run.nodePath() + reason));
            EXPECT_EQ(run.boxes.boxes(), expected);
            EXPECT_EQ(run.nodeIds(), (std::vector<std::int32_t>{0, 0}));
        }
    }
}

TEST(NodeFileReader, AFileThatGrewStoresNoMoreRecordsThanWereCounted) {
    InputFilesRun run;
    ASSERT_EQ(run.check(RunSettings{}, "1 1\n2 2\n", unrelatedConnections), 0);
    run.folder.write("nodes.txt", "1 1\n2 2\nx 3\n4 4\n");
    run.program->readInputs();
    EXPECT_EQ(run.nodeIds(), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(run.program->totalAttribute, 3.0f);
    EXPECT_TRUE(run.boxes.boxes().empty());
}

TEST(NodeFileReader, MoreCandidatesThanCountedAreNotStored) {
    InputFilesRun run;
    RunSettings settings;
    settings.addNodes = true;
    ASSERT_EQ(run.check(settings, "1 1 1\n2 2 0\n", unrelatedConnections), 0);
    run.program->allocateArrays();
    run.folder.write("nodes.txt", "1 1 1\n2 2 0\n3 3 0\n4 4 0\n");
    run.program->readNodeFile();
    EXPECT_EQ(run.nodeIds(), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(run.addedNodeIds(), (std::vector<std::int32_t>{2}));
    EXPECT_TRUE(run.boxes.boxes().empty());
}

}  // namespace
