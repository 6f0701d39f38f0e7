// The shape pre-scans: columns and non-empty lines of a file, the count of candidate
// nodes, and how checkParameters uses them on the node and the connection file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/InputPrescan.h"
#include "engine/support/InputFilesRun.h"

namespace {

using sysutils::MessageBox;
using testing_support::errorBox;
using testing_support::InputFilesRun;
using testing_support::nodeStops;
using testing_support::RunSettings;

std::string columnMessage(int line, int count) {
    return "Not all the lines within the node or connection file have the same number of columns. \nLine " +
           std::to_string(line) + " in the node or connection file has " + std::to_string(count) +
           " columns, which is different from previous lines in the same file.";
}

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int k = 0; k < times; ++k) text += piece;
    return text;
}

// ---- countColumnsAndLines ----------------------------------------------------------

struct ShapeCase {
    std::string name;
    std::string contents;
    int errors;
    int columns;
    int lines;
    std::vector<std::string> messages;
};

void PrintTo(const ShapeCase& c, std::ostream* out) { *out << c.name; }

class ColumnsAndLines : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ColumnsAndLines, CountsValuesOfTheFirstLineAndNonEmptyLines) {
    const ShapeCase& c = GetParam();
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    int columns = -7;
    int lines = -7;
    EXPECT_EQ(engine::countColumnsAndLines(folder.write("input.txt", c.contents), columns, lines), c.errors);
    EXPECT_EQ(columns, c.columns);
    EXPECT_EQ(lines, c.lines);
    std::vector<MessageBox> expected;
    for (const std::string& text : c.messages) expected.push_back(errorBox(text));
    EXPECT_EQ(boxes.boxes(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Prescan, ColumnsAndLines,
    ::testing::Values(
        ShapeCase{"TabsAndLineFeeds", "1\t2\n3\t4\n5\t6\n", 0, 2, 3, {}},
        ShapeCase{"CarriageReturnBeforeLineFeedIsNoValue", "1\t2 \r\n3\t4\r\n\r\n", 0, 2, 2, {}},
        ShapeCase{"LoneCarriageReturnIsPartOfAValue", "1\r2 3\n4 5\n", 0, 2, 2, {}},
        ShapeCase{"RunsOfBlanksAndTabsSeparateOnce", "  1 \t  2\t\t3  \n4 5 6\n", 0, 3, 2, {}},
        ShapeCase{"BlankLinesAnywhereAreNotCounted", "\n\n1 2\n\n \t \r\n3 4\n\n", 0, 2, 2, {}},
        ShapeCase{"ColumnsComeFromTheFirstLineWithValues", "\n  \n1 2 3\n4 5 6\n", 0, 3, 2, {}},
        ShapeCase{"LastLineWithoutLineEndIsCounted", "1 2\n3 4", 0, 2, 2, {}},
        ShapeCase{"LineWithOneValueMore", "1 2\n3 4\n5 6 7\n8 9\n", 1, 2, 4, {columnMessage(3, 3)}},
        ShapeCase{"LineWithOneValueLess", "1 2\n3\n", 1, 2, 2, {columnMessage(2, 1)}},
        ShapeCase{"LineNumberSkipsBlankLines", "1 2\n\n3 4\n\n5\n", 1, 2, 3, {columnMessage(3, 1)}},
        ShapeCase{"EveryDifferingLineIsReported",
                  "1 2\n3\n4 5 6\n7 8\n",
                  2,
                  2,
                  4,
                  {columnMessage(2, 1), columnMessage(3, 3)}},
        ShapeCase{
            "LongLinesAreCountedWhole", repeated("1.5 ", 1000) + "\n" + repeated("2 ", 1000) + "\n", 0, 1000, 2, {}},
        ShapeCase{"LongValueIsOneValue", "1 2." + std::string(250, '0') + "\n3 4\n", 0, 2, 2, {}}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(Prescan, AFileWithoutValuesIsOneErrorAndLeavesTheCountsUnset) {
    for (const std::string contents : {"", "\n", " \t\r\n\n  "}) {
        testing_support::TemporaryFolder folder;
        sysutils::ScriptedMessageBoxes boxes;
        const std::string file = folder.write("input.txt", contents);
        int columns = -7;
        int lines = -7;
        EXPECT_EQ(engine::countColumnsAndLines(file, columns, lines), 1);
        EXPECT_EQ(columns, -7);
        EXPECT_EQ(lines, -7);
        EXPECT_EQ(boxes.boxes(),
                  std::vector<MessageBox>{errorBox("The node file or connection file " + file + " holds no values.")});
    }
}

TEST(Prescan, AFileThatCannotBeOpenedIsOneErrorAndLeavesTheCountsUnset) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string file = folder.pathOf("missing.txt");
    int columns = -7;
    int lines = -7;
    EXPECT_EQ(engine::countColumnsAndLines(file, columns, lines), 1);
    EXPECT_EQ(columns, -7);
    EXPECT_EQ(lines, -7);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file or connection file " + file)});
}

// ---- Inputs that are not regular files ----------------------------------------------

struct NotRegularCase {
    std::string name;
    std::string reason;
    // The path of the input, made in the test's folder when it needs one.
    std::function<std::string(const testing_support::TemporaryFolder&)> make;
};

void PrintTo(const NotRegularCase& c, std::ostream* out) { *out << c.name; }

const NotRegularCase notRegularCases[] = {
    {"Folder", " (it is a folder)",
     [](const testing_support::TemporaryFolder& folder) {
         std::filesystem::create_directory(folder.pathOf("inputs"));
         return folder.pathOf("inputs");
     }},
    {"EndlessDevice", " (it is not a regular file)", [](const testing_support::TemporaryFolder&) { return "/dev/zero"; }},
    {"EmptyDevice", " (it is not a regular file)", [](const testing_support::TemporaryFolder&) { return "/dev/null"; }},
};

class NotRegularInput : public ::testing::TestWithParam<NotRegularCase> {};

TEST_P(NotRegularInput, CannotBeOpenedByThePrescanWhichCountsOneError) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string file = GetParam().make(folder);
    int columns = -7;
    int lines = -7;
    EXPECT_EQ(engine::countColumnsAndLines(file, columns, lines), 1);
    EXPECT_EQ(columns, -7);
    EXPECT_EQ(lines, -7);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file or connection file " + file +
                                                              GetParam().reason)});
}

TEST_P(NotRegularInput, CannotBeOpenedToCountCandidates) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string file = GetParam().make(folder);
    EXPECT_EQ(engine::countNodesToAdd(file), 0);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file " + file + GetParam().reason)});
}

INSTANTIATE_TEST_SUITE_P(Prescan, NotRegularInput, ::testing::ValuesIn(notRegularCases),
                         [](const auto& testCase) { return testCase.param.name; });

TEST(Prescan, APipeIsRefusedWithoutWaitingForItsWriterAndCountsOneError) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    testing_support::NamedPipe pipe(folder.pathOf("pipe.txt"), "1 2\n3 4\n");
    int columns = -7;
    int lines = -7;
    EXPECT_EQ(engine::countColumnsAndLines(pipe.path(), columns, lines), 1);
    EXPECT_EQ(lines, -7);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file or connection file " +
                                                              pipe.path() + " (it is not a regular file)")});
    boxes.clear();
    EXPECT_EQ(engine::countNodesToAdd(pipe.path()), 0);
    EXPECT_EQ(boxes.boxes(),
              std::vector<MessageBox>{errorBox("Cannot open node file " + pipe.path() + " (it is not a regular file)")});
}

TEST(Prescan, ANodeFileThatIsAPipeStopsTheCheckWithOneError) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    testing_support::NamedPipe pipe(folder.pathOf("pipe.txt"), "1 2\n3 4\n");
    auto program = testing_support::makeProgram(RunSettings{}, pipe.path(), folder.write("connections.txt", "1 3 5\n"));
    EXPECT_EQ(program->checkParameters(), 1);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file or connection file " +
                                                              pipe.path() + " (it is not a regular file)")});
}

// ---- countNodesToAdd ---------------------------------------------------------------

struct CandidateCase {
    std::string name;
    std::string contents;
    int candidates;
    std::vector<std::string> messages;
};

void PrintTo(const CandidateCase& c, std::ostream* out) { *out << c.name; }

class NodesToAdd : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(NodesToAdd, CountsRecordsWhoseThirdValueIsZero) {
    const CandidateCase& c = GetParam();
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    EXPECT_EQ(engine::countNodesToAdd(folder.write("nodes.txt", c.contents)), c.candidates);
    std::vector<MessageBox> expected;
    for (const std::string& text : c.messages) expected.push_back(errorBox(text + nodeStops));
    EXPECT_EQ(boxes.boxes(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Prescan, NodesToAdd,
    ::testing::Values(
        CandidateCase{"MixedRecords", "1 5 1\n2 5 0\r\n3 5 0\n4 5 1\n", 2, {}},
        CandidateCase{"OnlyCandidates", "1 5 0\n2 5 0\n3 5 0\n", 3, {}},
        CandidateCase{"BlankLinesBetweenRecords", "\n1 5 0\n\n\n2 5 0\n\n", 2, {}},
        CandidateCase{"LastCandidateWithoutLineEndIsCounted", "1 5 1\n2 5 0", 1, {}},
        CandidateCase{"ZeroWrittenWithDecimalsAndExponent", "1 5 0.0\n2 5 0e3\n3 5 1.0\n", 2, {}},
        CandidateCase{"NonNumericalIdInTheFirstRecord",
                      "x 5 0\n2 5 0\n",
                      0,
                      {"A non-numerical node ID value has been found in line 1 of the node file (first column)."}},
        CandidateCase{"NonNumericalAttributeInTheFirstRecord",
                      "1 y 0\n2 5 0\n",
                      0,
                      {"A non-numerical node attribute value has been found in line 1 of the node file (second "
                       "column)."}},
        CandidateCase{"NonNumericalThirdValueInTheFirstRecord",
                      "1 5 z\n2 5 0\n",
                      0,
                      {"A non-numerical value has been found in line 1 of the node file (third column)."}},
        CandidateCase{"NonNumericalIdLaterStopsCounting",
                      "1 5 0\n2 5 0\nx 5 0\n4 5 0\n",
                      2,
                      {"A non-numerical node ID value has been found in the node file (first column)."}},
        CandidateCase{"NonNumericalAttributeLater",
                      "1 5 0\n2 y 0\n3 5 0\n",
                      1,
                      {"A non-numerical node attribute value has been found in the node file (second column)."}},
        CandidateCase{"NonNumericalThirdValueLaterIsNotCounted",
                      "1 5 0\n2 5 z\n3 5 0\n",
                      1,
                      {"A non-numerical value has been found in the node file (third column)."}}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(Prescan, CountingCandidatesInAFileThatCannotBeOpenedGivesZero) {
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string file = folder.pathOf("missing.txt");
    EXPECT_EQ(engine::countNodesToAdd(file), 0);
    EXPECT_EQ(boxes.boxes(), std::vector<MessageBox>{errorBox("Cannot open node file " + file)});
}

// ---- The file checks of checkParameters --------------------------------------------

const std::string fourNodes = "1 10\n2 10\n3 10\n4 10\n";
const std::string sixPairs = "1 2 5\n1 3 5\n1 4 5\n2 3 5\n2 4 5\n3 4 5\n";

std::string pairLines(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += "1 2 " + std::to_string(k) + "\n";
    return text;
}

std::string fullMessage(int lines, int expected) {
    return "Error in the format of the connection file. Some of the pairs of nodes may not be listed (as required by "
           "the full option) or too many pairs may be listed. The connection file has " +
           std::to_string(lines) + " lines (pairs of nodes), instead of the full " + std::to_string(expected) +
           " lines expected from the number of nodes in the node file.";
}

const std::string tooManyLines = "Error in the format of the connection file. Too many lines";
const std::string twoColumnsExpected =
    "Node file must have 2 columns (unless there are nodes to add, which was not selected).";
const std::string threeColumnsExpected = "Node file must have 3 columns (when there are nodes to add, as selected).";
const std::string connectionColumns =
    "Error in the format of the connection file. The file may not have three columns (as expected for the add nodes "
    "option)";

struct FileCheckCase {
    std::string name;
    bool fullMatrix;
    bool addNodes;
    std::string nodes;
    std::string connections;
    std::vector<std::string> messages;
    int nodeLines;  // nNodeLines after the check
};

void PrintTo(const FileCheckCase& c, std::ostream* out) { *out << c.name; }

class FileChecks : public ::testing::TestWithParam<FileCheckCase> {};

TEST_P(FileChecks, ReportEachShapeErrorInItsOwnBoxAndCountIt) {
    const FileCheckCase& c = GetParam();
    InputFilesRun run;
    RunSettings settings;
    settings.fullMatrix = c.fullMatrix;
    settings.addNodes = c.addNodes;
    EXPECT_EQ(run.check(settings, c.nodes, c.connections), static_cast<int>(c.messages.size()));
    std::vector<MessageBox> expected;
    for (const std::string& text : c.messages) expected.push_back(errorBox(text));
    EXPECT_EQ(run.boxes.boxes(), expected);
    EXPECT_EQ(run.program->nNodeLines, c.nodeLines);
}

INSTANTIATE_TEST_SUITE_P(
    Prescan, FileChecks,
    ::testing::Values(
        FileCheckCase{"FullWithEveryPairOnce", true, false, fourNodes, sixPairs, {}, 4},
        FileCheckCase{"FullWithOnePairMore", true, false, fourNodes, pairLines(7), {fullMessage(7, 6)}, 4},
        FileCheckCase{
            "FullWithTwoPairsMore", true, false, fourNodes, pairLines(8), {fullMessage(8, 6), tooManyLines}, 4},
        FileCheckCase{"FullWithOnePairMissing", true, false, fourNodes, pairLines(5), {fullMessage(5, 6)}, 4},
        FileCheckCase{"PartialWithOnePairMore", false, false, fourNodes, pairLines(7), {}, 4},
        FileCheckCase{"PartialWithTwoPairsMore", false, false, fourNodes, pairLines(8), {tooManyLines}, 4},
        FileCheckCase{
            "FullCountsCandidatesAmongTheNodes", true, true, "1 10 1\n2 10 0\n3 10 1\n4 10 0\n", sixPairs, {}, 4},
        FileCheckCase{
            "ThreeNodeColumnsWithoutCandidates", false, false, "1 10 1\n2 10 1\n", "1 2 5\n", {twoColumnsExpected}, 2},
        FileCheckCase{
            "TwoNodeColumnsWithCandidates", false, true, "1 10\n2 10\n", "1 2 5\n", {threeColumnsExpected}, 2},
        FileCheckCase{"BlankLinesInBothFilesAreNotCounted",
                      true,
                      false,
                      "\n1 10\n\n2 10\r\n\n3 10\n4 10\n\n",
                      "\n1 2 5\n1 3 5\n\n1 4 5\n2 3 5\r\n\r\n2 4 5\n3 4 5\n\n\n",
                      {},
                      4},
        FileCheckCase{"LongNodeLines",
                      false,
                      false,
                      "1 " + std::string(150, '7') + "\n2\t\t\t" + std::string(150, ' ') + "8\n",
                      "1 2 5\n",
                      {},
                      2},
        FileCheckCase{"NodeLineWithOneValueMoreStopsBeforeTheConnectionFile",
                      true,
                      false,
                      "1 10\n2 10\n3 10 1\n",
                      "1 2\n",
                      {columnMessage(3, 3)},
                      0},
        FileCheckCase{"ConnectionFileWithTwoColumns", false, false, fourNodes, "1 2\n3 4\n", {connectionColumns}, 4},
        FileCheckCase{
            "ConnectionLineWithOneValueMore", false, false, fourNodes, "1 2 5\n1 3 5 5\n", {columnMessage(2, 4)}, 4}),
    [](const auto& testCase) { return testCase.param.name; });

// A file that is missing or holds no value is one error: the check never compares
// counts that were not set, and a failing node file keeps the connection file unread.
struct UnusableFileCase {
    std::string name;
    std::optional<std::string> nodes;  // no contents: the file does not exist
    std::optional<std::string> connections;
    bool nodeFileReported;
    std::string start;
    std::string end;
    int nodeLines;
};

void PrintTo(const UnusableFileCase& c, std::ostream* out) { *out << c.name; }

class UnusableFile : public ::testing::TestWithParam<UnusableFileCase> {};

TEST_P(UnusableFile, IsOneErrorAndStopsTheCheck) {
    const UnusableFileCase& c = GetParam();
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string nodeFile = folder.pathOf("nodes.txt");
    const std::string connectionFile = folder.pathOf("connections.txt");
    if (c.nodes) folder.write("nodes.txt", *c.nodes);
    if (c.connections) folder.write("connections.txt", *c.connections);
    auto program = testing_support::makeProgram(RunSettings{}, nodeFile, connectionFile);
    EXPECT_EQ(program->checkParameters(), 1);
    EXPECT_EQ(boxes.boxes(),
              std::vector<MessageBox>{errorBox(c.start + (c.nodeFileReported ? nodeFile : connectionFile) + c.end)});
    EXPECT_EQ(program->nNodeLines, c.nodeLines);
}

const std::string cannotOpen = "Cannot open node file or connection file ";
const std::string noValuesStart = "The node file or connection file ";
const std::string noValuesEnd = " holds no values.";

INSTANTIATE_TEST_SUITE_P(
    Prescan, UnusableFile,
    ::testing::Values(
        UnusableFileCase{"MissingNodeFile", std::nullopt, "1 2\n", true, cannotOpen, "", 0},
        UnusableFileCase{"EmptyNodeFile", "", "1 2\n", true, noValuesStart, noValuesEnd, 0},
        UnusableFileCase{"NodeFileOfBlankLines", "\n \t\r\n", "1 2\n", true, noValuesStart, noValuesEnd, 0},
        UnusableFileCase{"MissingConnectionFile", "1 10\n2 10\n", std::nullopt, false, cannotOpen, "", 2},
        UnusableFileCase{"EmptyConnectionFile", "1 10\n2 10\n", "\r\n\n", false, noValuesStart, noValuesEnd, 2}),
    [](const auto& testCase) { return testCase.param.name; });

}  // namespace
