// Files whose every line has the same fault: each check of a file shows the first boxes
// of its fault, then one box that says how many further lines had it, while the error
// count of the pre-scan stays exact.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/InputPrescan.h"
#include "engine/RepeatedFaultBoxes.h"
#include "engine/support/InputFilesRun.h"

namespace {

using sysutils::MessageBox;
using testing_support::ConnectionKind;
using testing_support::errorBox;
using testing_support::InputFilesRun;
using testing_support::RunSettings;

constexpr std::int64_t shown = engine::RepeatedFaultBoxes::shownPerCheck;

// `count` lines made by line(k), k from 1.
std::string lines(int count, const std::function<std::string(int)>& line) {
    std::string text;
    for (int k = 1; k <= count; ++k) text += line(k);
    return text;
}

std::string nodes(int count) {
    return lines(count, [](int k) { return std::to_string(k) + " 1\n"; });
}

struct RepeatedCase {
    const char* name;
    ConnectionKind type;
    std::string nodes;
    std::string connections;
    bool read;              // the check passes and the readers run
    std::string faultyFile;  // "nodes" or "connections"
    std::string fault;
    int faultyLines;
    // The text of the box of the k-th faulty line (k from 1).
    std::function<std::string(int)> box;
};

void PrintTo(const RepeatedCase& c, std::ostream* out) { *out << c.name; }

class RepeatedFaults : public ::testing::TestWithParam<RepeatedCase> {};

TEST_P(RepeatedFaults, ShowTheFirstBoxesThenOneForTheLinesLeftOut) {
    const RepeatedCase& c = GetParam();
    InputFilesRun run;
    RunSettings settings;
    settings.type = c.type;
    settings.threshold = 0.5f;
    if (c.read) {
        ASSERT_TRUE(run.checkAndRead(settings, c.nodes, c.connections));
    } else {
        // Every differing line is one error, whether its box was shown or not.
        EXPECT_EQ(run.check(settings, c.nodes, c.connections), c.faultyLines);
    }
    std::vector<MessageBox> expected;
    for (int k = 1; k <= std::min<int>(c.faultyLines, shown); ++k) expected.push_back(errorBox(c.box(k)));
    const std::string file = c.faultyFile == "nodes" ? run.nodePath() : run.connectionPath();
    if (c.faultyLines > shown)
        expected.push_back(
            errorBox(engine::RepeatedFaultBoxes::leftOutText(c.faultyLines - shown, c.fault, file)));
    EXPECT_EQ(run.boxes.boxes(), expected);
}

std::string columnBox(int line) {
    return "Not all the lines within the node or connection file have the same number of columns. \nLine " +
           std::to_string(line) + " in the node or connection file has 3 columns, which is different from previous "
                                  "lines in the same file.";
}

const char* const columnFault = "a number of columns different from that of the first line";

// Node k of `nodes(n)` paired with node k + 1 at distance -1.
std::string negativeDistances(int count) {
    return lines(count, [](int k) { return std::to_string(k) + " " + std::to_string(k + 1) + " -1\n"; });
}

INSTANTIATE_TEST_SUITE_P(
    InputChecks, RepeatedFaults,
    ::testing::Values(
        RepeatedCase{"AsManyColumnFaultsAsAreShown", ConnectionKind::Distances,
                     "1 1\n" + lines(20, [](int k) { return std::to_string(k + 1) + " 1 1\n"; }), "1 2 1\n", false,
                     "nodes", columnFault, 20, [](int k) { return columnBox(k + 1); }},
        RepeatedCase{"OneColumnFaultMoreThanAreShown", ConnectionKind::Distances,
                     "1 1\n" + lines(21, [](int k) { return std::to_string(k + 1) + " 1 1\n"; }), "1 2 1\n", false,
                     "nodes", columnFault, 21, [](int k) { return columnBox(k + 1); }},
        RepeatedCase{"AConnectionFileWithOneColumnTooManyOnEveryLineButTheFirst", ConnectionKind::Distances,
                     nodes(3), "1 2 1\n" + lines(5000, [](int) { return "1 2 1 9\n"; }), false, "connections",
                     columnFault, 5000,
                     [](int k) {
                         std::string text = columnBox(k + 1);
                         text.replace(text.find("has 3"), 5, "has 4");
                         return text;
                     }},
        RepeatedCase{"NegativeAttributes", ConnectionKind::Distances,
                     lines(30, [](int k) { return std::to_string(k) + " -1\n"; }),
                     testing_support::unrelatedConnections, true, "nodes", "a negative node attribute value", 30,
                     [](int k) {
                         return "A negative node attribute value has been found in line " + std::to_string(k) +
                                " of the node file (second column). \nPlease correct." + testing_support::nodeGoesOn;
                     }},
        RepeatedCase{"NegativeDistances", ConnectionKind::Distances, nodes(40), negativeDistances(30), true,
                     "connections", "a negative distance value", 30,
                     [](int k) {
                         return "A negative distance value for the nodes with IDs " + std::to_string(k) + " and " +
                                std::to_string(k + 1) +
                                " has been found in the third column of the connection file. \nPlease correct." +
                                testing_support::connectionGoesOn;
                     }},
        RepeatedCase{"PairsOfUnknownNodes", ConnectionKind::Distances, nodes(8),
                     lines(25, [](int k) { return "1 " + std::to_string(100 + k) + " 1\n"; }), true, "connections",
                     "IDs that may not be listed in the node file", 25,
                     [](int k) {
                         return "Error in the format of the connection file. \nNodes with IDs 1 and " +
                                std::to_string(100 + k) + " are found in line " + std::to_string(k) +
                                " of the connection file, but at least one of them may not be listed in the node "
                                "file. \nPlease check that the node file ends with a blank line. \nProcessing will "
                                "continue without using the connection information for those two nodes, but the "
                                "RESULTS will probably BE INVALID because of that error in the input data.\nPlease "
                                "cancel and discard the processing and correct the format of the input files.";
                     }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(RepeatedFaults, AFileOfRandomBytesOpensAFewBoxesAndCountsEveryDifferingLine) {
    std::mt19937 random(7);
    std::string bytes(200000, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string file = folder.write("random.txt", bytes);

    // The same count, line by line, as the shape check makes it.
    std::int64_t differing = 0;
    std::int64_t first = -1;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::int64_t values = 0;
        bool inValue = false;
        for (const char c : line) {
            const bool separator = c == ' ' || c == '\t';
            if (!separator && !inValue) ++values;
            inValue = !separator;
        }
        start = end + 1;
        if (values == 0) continue;
        if (first < 0)
            first = values;
        else if (values != first)
            ++differing;
    }
    ASSERT_GT(differing, shown);

    int columns = 0;
    int counted = 0;
    EXPECT_EQ(engine::countColumnsAndLines(file, columns, counted), differing);
    ASSERT_EQ(boxes.boxes().size(), static_cast<std::size_t>(shown + 1));
    EXPECT_EQ(boxes.boxes().back(),
              errorBox(engine::RepeatedFaultBoxes::leftOutText(differing - shown, columnFault, file)));
}

TEST(RepeatedFaults, TheLeftOutBoxNamesTheCountTheFileAndTheFault) {
    EXPECT_EQ(engine::RepeatedFaultBoxes::leftOutText(1, "a negative distance value", "/data/c.txt"),
              "1 further line of the file /data/c.txt has the same fault (a negative distance value); its message is "
              "not shown one by one.");
    EXPECT_EQ(engine::RepeatedFaultBoxes::leftOutText(999980, columnFault, "/data/n.txt"),
              "999980 further lines of the file /data/n.txt have the same fault (a number of columns different from "
              "that of the first line); their messages are not shown one by one.");
}

}  // namespace
