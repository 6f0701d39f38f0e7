// Reading the connection file: the cells each line sets, the initial value of every
// other cell, the eight checks and the message for a pair with an unknown node.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/support/InputFilesRun.h"

namespace {

using sysutils::MessageBox;
using testing_support::connectionGoesOn;
using testing_support::ConnectionKind;
using testing_support::connectionStops;
using testing_support::errorBox;
using testing_support::InputFilesRun;
using testing_support::RunSettings;
using Matrix = std::vector<std::vector<float>>;

constexpr float D = engine::noConnection;

MessageBox lineMessage(const std::string& start, int line, const std::string& column) {
    return errorBox(start + std::to_string(line) + column + connectionStops);
}
MessageBox nonNumericalId(int line, const std::string& column) {
    return lineMessage("A non-numerical node ID value has been found in line ", line,
                       " of the connection file (" + column + " column).");
}
MessageBox nonIntegerId(int line, const std::string& column) {
    return lineMessage("A non-integer node ID value has been found in line ", line,
                       " of the connection file (" + column + " column).");
}
MessageBox nonNumericalValue(int line) {
    return lineMessage("A non-numerical value has been found in line ", line,
                       " of the connection file (third column). \nPlease correct.");
}
MessageBox pairMessage(const std::string& start, const std::string& first, const std::string& second,
                       const std::string& end) {
    return errorBox(start + first + " and " + second + end + connectionGoesOn);
}
MessageBox negativeDistance(const std::string& first, const std::string& second) {
    return pairMessage("A negative distance value for the nodes with IDs ", first, second,
                       " has been found in the third column of the connection file. \nPlease correct.");
}
// The quotation marks are U+201C and U+201D, written here as their UTF-8 bytes.
MessageBox probabilityOutOfRange(const std::string& first, const std::string& second) {
    return pairMessage("A probability value smaller than 0 or bigger than 1 for the nodes with IDs ", first, second,
                       " has been found in the third column of the connection file. \nPlease correct or check if "
                       "\xE2\x80\x9C"
                       "Distances\xE2\x80\x9D may be the appropriate type of connection for your connection file.");
}
MessageBox linkNotZeroOrOne(const std::string& first, const std::string& second) {
    return pairMessage("A link value different from 0 or 1 for the nodes with IDs ", first, second,
                       " has been found in the third column of the connection file. \nPlease correct or check if "
                       "\xE2\x80\x9C"
                       "Distances\xE2\x80\x9D or \xE2\x80\x9CProbabilities\xE2\x80\x9D may be the appropriate type of "
                       "connection for your connection file.");
}
MessageBox unknownPair(int first, int second, int line) {
    return errorBox("Error in the format of the connection file. \nNodes with IDs " + std::to_string(first) + " and " +
                    std::to_string(second) + " are found in line " + std::to_string(line) +
                    " of the connection file, but at least one of them may not be listed in the node file. \nPlease "
                    "check that the node file ends with a blank line. \nProcessing will continue without using the "
                    "connection information for those two nodes, but the RESULTS will probably BE INVALID because of "
                    "that error in the input data.\nPlease cancel and discard the processing and correct the format of "
                    "the input files.");
}

const std::string threeNodes = "1 1\n2 1\n3 1\n";
const std::string fiveNodes = "1 1\n2 1\n3 1\n4 1\n5 1\n";
// Existing nodes 1 and 3, candidates 2 and 4.
const std::string twoAndTwoCandidates = "1 1 1\n2 1 0\n3 1 1\n4 1 0\n";

struct ConnectionCase {
    std::string name;
    ConnectionKind type;
    bool addNodes;
    std::string nodes;
    std::string connections;
    Matrix expectedConnections;
    Matrix expectedAdded;
    std::vector<MessageBox> boxes;
};

void PrintTo(const ConnectionCase& c, std::ostream* out) { *out << c.name; }

class ConnectionRecords : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(ConnectionRecords, SetTheirCellsAndLeaveTheInitialValueElsewhere) {
    const ConnectionCase& c = GetParam();
    InputFilesRun run;
    RunSettings settings;
    settings.type = c.type;
    settings.threshold = 0.5f;
    settings.addNodes = c.addNodes;
    ASSERT_TRUE(run.checkAndRead(settings, c.nodes, c.connections));
    EXPECT_EQ(run.connections(), c.expectedConnections);
    EXPECT_EQ(run.addedConnections(), c.expectedAdded);
    EXPECT_EQ(run.boxes.boxes(), c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    ConnectionFileReader, ConnectionRecords,
    ::testing::Values(ConnectionCase{"PartialDistancesLeaveNoConnection",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 5\n",
                                     {{D, 5, D}, {5, D, D}, {D, D, D}},
                                     {},
                                     {}},
                      ConnectionCase{"PartialProbabilitiesLeaveZero",
                                     ConnectionKind::Probabilities,
                                     false,
                                     threeNodes,
                                     "2\t3\t0.5\r\n",
                                     {{0, 0, 0}, {0, 0, 0.5f}, {0, 0.5f, 0}},
                                     {},
                                     {}},
                      ConnectionCase{"PartialLinksLeaveZero",
                                     ConnectionKind::Links,
                                     false,
                                     threeNodes,
                                     "1 3 1\n",
                                     {{0, 0, 1}, {0, 0, 0}, {1, 0, 0}},
                                     {},
                                     {}},
                      ConnectionCase{"FullFileSetsEveryPair",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 1\n1 3 2\n2 3 3\n",
                                     {{D, 1, 2}, {1, D, 3}, {2, 3, D}},
                                     {},
                                     {}},
                      ConnectionCase{"LaterLineOfAPairWins",
                                     ConnectionKind::Probabilities,
                                     false,
                                     "3 1\n5 1\n7 1\n",
                                     "5 3 0.2\n3 5 0.4\n",
                                     {{0, 0.4f, 0}, {0.4f, 0, 0}, {0, 0, 0}},
                                     {},
                                     {}},
                      ConnectionCase{"SameNodeTwiceSetsTheDiagonal",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "2 2 7\n",
                                     {{D, D, D}, {D, 7, D}, {D, D, D}},
                                     {},
                                     {}},
                      ConnectionCase{"CandidatePairsGoToTheCandidateRows",
                                     ConnectionKind::Probabilities,
                                     true,
                                     twoAndTwoCandidates,
                                     "1 2 0.3\n4 3 0.6\n2 4 0.9\n1 3 0.1\n",
                                     {{0, 0.1f}, {0.1f, 0}},
                                     {{0.3f, 0}, {0, 0.6f}},
                                     {}},
                      ConnectionCase{"UnknownIds",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "8 9 1\n1 9 4\n9 2 6\n2 3 5\n",
                                     {{D, D, D}, {D, D, 5}, {D, 5, D}},
                                     {},
                                     {unknownPair(1, 9, 2), unknownPair(9, 2, 3)}},
                      ConnectionCase{"UnknownIdNextToACandidateRow",
                                     ConnectionKind::Links,
                                     true,
                                     twoAndTwoCandidates,
                                     "3 9 1\n",
                                     {{0, 0}, {0, 0}},
                                     {{0, 0}, {0, 0}},
                                     {unknownPair(3, 9, 1)}},
                      ConnectionCase{"LineNumbersCountRecordsOnly",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "\n1 2 1\n\n\n1 9 1\n",
                                     {{D, 1, D}, {1, D, D}, {D, D, D}},
                                     {},
                                     {unknownPair(1, 9, 2)}},
                      ConnectionCase{"ProbabilityAboveOneIsStored",
                                     ConnectionKind::Probabilities,
                                     false,
                                     threeNodes,
                                     "1 2 1.5\n2 3 0.5\n",
                                     {{0, 1.5f, 0}, {1.5f, 0, 0.5f}, {0, 0.5f, 0}},
                                     {},
                                     {probabilityOutOfRange("1", "2")}},
                      ConnectionCase{"NegativeProbabilityIsStored",
                                     ConnectionKind::Probabilities,
                                     false,
                                     threeNodes,
                                     "3 1 -0.25\n",
                                     {{0, 0, -0.25f}, {0, 0, 0}, {-0.25f, 0, 0}},
                                     {},
                                     {probabilityOutOfRange("3", "1")}},
                      ConnectionCase{"HalfLinkIsStored",
                                     ConnectionKind::Links,
                                     false,
                                     threeNodes,
                                     "1 2 0.5\n",
                                     {{0, 0.5f, 0}, {0.5f, 0, 0}, {0, 0, 0}},
                                     {},
                                     {linkNotZeroOrOne("1", "2")}},
                      ConnectionCase{"NegativeDistanceNamesTheIdsAsRead",
                                     ConnectionKind::Distances,
                                     false,
                                     "1000 1\n2 1\n3 1\n",
                                     "1e3 2 -1\n",
                                     {{D, -1, D}, {-1, D, D}, {D, D, D}},
                                     {},
                                     {negativeDistance("1000", "2")}},
                      ConnectionCase{"TypeIsCheckedAlsoForUnknownPairs",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "8 9 -3\n",
                                     {{D, D, D}, {D, D, D}, {D, D, D}},
                                     {},
                                     {negativeDistance("8", "9")}},
                      ConnectionCase{
                          "NonNumericalValueInLine7StopsReading",
                          ConnectionKind::Distances,
                          false,
                          fiveNodes,
                          "1 2 1\n1 3 2\n1 4 3\n1 5 4\n2 3 5\n2 4 6\n4 5 x\n3 5 -1\n",
                          {{D, 1, 2, 3, 4}, {1, D, 5, 6, D}, {2, 5, D, D, D}, {3, 6, D, D, D}, {4, D, D, D, D}},
                          {},
                          {nonNumericalValue(7)}},
                      ConnectionCase{"NonNumericalFirstId",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 1\nx 3 1\n2 3 5\n",
                                     {{D, 1, D}, {1, D, D}, {D, D, D}},
                                     {},
                                     {nonNumericalId(2, "first")}},
                      ConnectionCase{"NonNumericalSecondId",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 1\n2 y 1\n2 3 5\n",
                                     {{D, 1, D}, {1, D, D}, {D, D, D}},
                                     {},
                                     {nonNumericalId(2, "second")}},
                      ConnectionCase{"FractionalFirstId",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1.5 2 1\n2 3 5\n",
                                     {{D, D, D}, {D, D, D}, {D, D, D}},
                                     {},
                                     {nonIntegerId(1, "first")}},
                      ConnectionCase{"FractionalSecondId",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "2 3 5\n1 2.5 1\n",
                                     {{D, D, D}, {D, D, 5}, {D, 5, D}},
                                     {},
                                     {nonIntegerId(2, "second")}},
                      ConnectionCase{"IdsBeyond32Bits",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "3e9 2 1\n",
                                     {{D, D, D}, {D, D, D}, {D, D, D}},
                                     {},
                                     {nonIntegerId(1, "first")}},
                      ConnectionCase{"InfiniteSecondId",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 1e39 1\n",
                                     {{D, D, D}, {D, D, D}, {D, D, D}},
                                     {},
                                     {nonIntegerId(1, "second")}},
                      ConnectionCase{"DuplicateNodeIdIsFoundAtItsFirstPosition",
                                     ConnectionKind::Distances,
                                     false,
                                     "1 1\n2 1\n1 1\n",
                                     "1 2 5\n",
                                     {{D, 5, D}, {5, D, D}, {D, D, D}},
                                     {},
                                     {}},
                      ConnectionCase{"LastLineWithoutLineEnd",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 5\n2 3 6",
                                     {{D, 5, D}, {5, D, 6}, {D, 6, D}},
                                     {},
                                     {}},
                      ConnectionCase{"DecimalCommaStopsAtTheNextLine",
                                     ConnectionKind::Distances,
                                     false,
                                     threeNodes,
                                     "1 2 0,5\n2 3 0.7\n",
                                     {{D, 0, D}, {0, D, D}, {D, D, D}},
                                     {},
                                     {nonNumericalId(2, "first")}}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(ConnectionFileReader, FindsTheFirstPositionOfAnIdOrMinusOne) {
    InputFilesRun run;
    RunSettings settings;
    settings.addNodes = true;
    ASSERT_TRUE(run.checkAndRead(settings, "4 1 1\n7 1 0\n9 1 1\n4 1 1\n7 1 0\n", "4 9 1\n"));
    std::int32_t index = 99;
    EXPECT_TRUE(run.program->findNode(4, index));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(run.program->findNode(9, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(run.program->findNode(7, index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(run.program->findAddedNode(7, index));
    EXPECT_EQ(index, 0);
    index = 99;
    EXPECT_FALSE(run.program->findAddedNode(4, index));
    EXPECT_EQ(index, -1);
}

// ---- Files that change between the pre-scan and the reader ---------------------------

TEST(ConnectionFileReader, AVanishedFileIsReportedOnceAndTheMatricesKeepTheirInitialValues) {
    InputFilesRun run;
    RunSettings settings;
    settings.addNodes = true;
    ASSERT_EQ(run.check(settings, "1 1 1\n2 1 1\n3 1 0\n", "1 2 5\n"), 0);
    std::filesystem::remove(run.connectionPath());
    run.program->readInputs();
    EXPECT_EQ(run.boxes.boxes(),
              std::vector<MessageBox>{errorBox("Cannot open node file or connection file " + run.connectionPath())});
    EXPECT_EQ(run.connections(), (Matrix{{D, D}, {D, D}}));
    EXPECT_EQ(run.addedConnections(), (Matrix{{D, D}}));
}

TEST(ConnectionFileReader, AFileReplacedByAFolderOrAPipeIsReportedOnceAndNotRead) {
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "pipe" : "folder");
        InputFilesRun run;
        ASSERT_EQ(run.check(RunSettings{}, "1 1\n2 1\n", "1 2 5\n"), 0);
        const auto named = testing_support::replaceByFolderOrPipe(run.connectionPath(), pipe, "1 2 5\n");
        run.program->readInputs();
        EXPECT_EQ(run.boxes.boxes(), std::vector<MessageBox>{errorBox(
                                         "Cannot open node file or connection file " + run.connectionPath() +
                                         (pipe ? " (it is not a regular file)" : " (it is a folder)"))});
        EXPECT_EQ(run.connections(), (Matrix{{D, D}, {D, D}}));
    }
}

TEST(ConnectionFileReader, AnIncompleteLastRecordIsDroppedSilently) {
    InputFilesRun run;
    ASSERT_EQ(run.check(RunSettings{}, threeNodes, "1 2 5\n2 3 6\n"), 0);
    run.folder.write("connections.txt", "1 2 5\n2 3");
    run.program->readInputs();
    // Only the repeated pre-scan speaks, about the shortened line.
    EXPECT_EQ(run.boxes.boxes(),
              std::vector<MessageBox>{errorBox("Not all the lines within the node or connection file have the same "
                                               "number of columns. \nLine 2 in the node or connection file has 2 "
                                               "columns, which is different from previous lines in the same file.")});
    EXPECT_EQ(run.connections(), (Matrix{{D, 5, D}, {5, D, D}, {D, D, D}}));
}

}  // namespace
