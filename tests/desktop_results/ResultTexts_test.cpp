// The result views and text files: layouts byte for byte against expected files (CR LF
// included), the differences between a view and its file, the node-importance view's
// per-value guard, numbers under a comma decimal separator, and the event-log file.
#include "desktop/results/ResultTexts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ResultLandscapes.h"
#include "sysutils/DateTime.h"
#include "sysutils/FormatSettings.h"

namespace {

namespace results = desktop::results;
using engine::tamblorProgram;
using testing_support::distancesRun;
using testing_support::expectedFile;
using testing_support::ProcessedRun;
using testing_support::readFile;
using testing_support::RunParameters;

// The program's regional settings with a comma, and the process locale with one too.
class CommaSettings {
public:
    CommaSettings() : separator_(',') { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~CommaSettings() { std::setlocale(LC_ALL, "C"); }

private:
    sysutils::ScopedDecimalSeparator separator_;
};

// Overall values chosen to show every number format: a whole NL, H of 2.5, LCPnum as the
// float nearest to 0.1 and IICnum of ten million.
void formatExamples(tamblorProgram& program) {
    engine::landscape& o = *program.overall;
    o.NL = 3;
    o.NC = 2;
    o.H = 2.5f;
    o.CCP = 0.5f;
    o.LCPnum = 0.1f;
    o.LCP = 0.125f;
    o.IICnum = 1e7f;
    o.IIC = 12.25f;
    o.F = 1234.5625f;
    o.AWF = 9999999.0f;
    o.PCnum = 0.1f;
    o.PC = 0.25f;
}

struct RunCase {
    const char* nodes;
    const char* connections;
    RunParameters parameters;
};

RunCase threeNodes(const std::string& indices) {
    return {testing_support::threeNodes, testing_support::threeNodeDistances, distancesRun(indices)};
}
RunCase withCandidates(const std::string& indices) {
    RunCase run{testing_support::threeNodesTwoCandidates, testing_support::threeNodeCandidateDistances,
                distancesRun(indices)};
    run.parameters.addNodes = true;
    return run;
}
RunCase twoNodes(const std::string& indices) {
    return {testing_support::twoNodes, testing_support::twoNodeDistances, distancesRun(indices)};
}
RunCase oneNode(const std::string& indices) {
    return {testing_support::oneNode, testing_support::oneNodeDistances, distancesRun(indices)};
}
RunCase withoutAL(RunCase run) {
    run.parameters.AL = 0.0f;
    return run;
}
// PC through the direct connections above a minimum probability, which counts them.
RunCase directConnections(RunCase run) {
    run.parameters.allPaths = false;
    run.parameters.minProbability = 0.01f;
    return run;
}

struct GoldenCase {
    std::string name;
    RunCase run;
    std::function<std::string(const tamblorProgram&)> write;
    std::string expected;
    bool comma = false;
    std::function<void(tamblorProgram&)> adjust = {};
};

void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

class ResultFile : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ResultFile, MatchesTheExpectedFileByteForByte) {
    const GoldenCase& c = GetParam();
    ProcessedRun run(c.run.nodes, c.run.connections, c.run.parameters);
    ASSERT_EQ(run.errors, 0);
    if (c.adjust) c.adjust(*run.program);
    std::optional<CommaSettings> comma;
    if (c.comma) comma.emplace();
    EXPECT_EQ(c.write(*run.program), readFile(expectedFile(c.expected)));
}

std::string importances(const tamblorProgram& p) { return results::nodeImportanceFile(p); }

INSTANTIATE_TEST_SUITE_P(
    Layouts, ResultFile,
    ::testing::Values(
        GoldenCase{"ImportancesOnlyDA", threeNodes("A"), importances, "results_importances_dA.txt"},
        GoldenCase{"ImportancesAllIndices", threeNodes("all"), importances, "results_importances_all.txt"},
        GoldenCase{"ImportancesAllIndicesComma", threeNodes("all"), importances, "results_importances_all_comma.txt",
                   true},
        GoldenCase{"ImportancesWithCandidates", withCandidates("all"), importances,
                   "results_importances_candidates.txt"},
        GoldenCase{"OverallWithALValid", threeNodes("all"), results::overallValuesFile, "results_overall_all.txt"},
        GoldenCase{"OverallWithoutALValid", withoutAL(threeNodes("all")), results::overallValuesFile,
                   "results_overall_without_AL.txt"},
        GoldenCase{"OverallWithDirectConnections", directConnections(threeNodes("F PC")), results::overallValuesFile,
                   "results_overall_direct_connections.txt"},
        GoldenCase{"OverallNumberFormats", threeNodes("all"), results::overallValuesFile, "results_overall_formats.txt",
                   false, formatExamples},
        GoldenCase{"OverallNumberFormatsComma", threeNodes("all"), results::overallValuesFile,
                   "results_overall_formats_comma.txt", true, formatExamples},
        GoldenCase{"LinksTwoNodes", twoNodes("NL"), results::linksFile, "results_links_two_nodes.txt"},
        GoldenCase{"LinksThreeNodes", threeNodes("NL"), results::linksFile, "results_links_three_nodes.txt"},
        GoldenCase{"LinksOneNode", oneNode("NL"), results::linksFile, "results_empty.txt"},
        GoldenCase{"DirectProbabilitiesTwoNodes", twoNodes("F"), results::directProbabilitiesFile,
                   "results_direct_two_nodes.txt"},
        GoldenCase{"DirectProbabilitiesTwoNodesComma", twoNodes("F"), results::directProbabilitiesFile,
                   "results_direct_two_nodes.txt", true},
        GoldenCase{"DirectProbabilitiesOneNode", oneNode("F"), results::directProbabilitiesFile, "results_empty.txt"},
        GoldenCase{"MaximumProductTwoNodes", twoNodes("PC"), results::maximumProductProbabilitiesFile,
                   "results_max_product_two_nodes.txt"},
        GoldenCase{"MaximumProductThreeNodesComma", threeNodes("PC"), results::maximumProductProbabilitiesFile,
                   "results_max_product_three_nodes.txt", true},
        GoldenCase{"MaximumProductOneNode", oneNode("PC"), results::maximumProductProbabilitiesFile,
                   "results_empty.txt"},
        GoldenCase{"Components", threeNodes("NC"), results::componentsFile, "results_components.txt"}),
    [](const auto& param) { return param.param.name; });

std::vector<std::string> fileLines(const std::string& contents) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < contents.size();) {
        const std::size_t end = contents.find("\r\n", start);
        lines.push_back(contents.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

const results::ShowError noError = [](const std::string& message) { ADD_FAILURE() << "error shown: " << message; };

struct HeaderCase {
    std::string name;
    std::string indices;
    std::string fileHeader;
    std::string viewHeader;
};

void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class NodeImportanceHeader : public ::testing::TestWithParam<HeaderCase> {};

// Labels after dA stand between two tabs; the view alone ends dPC with a tab. The rows
// are the same in both.
TEST_P(NodeImportanceHeader, DiffersBetweenViewAndFileOnlyAfterDPC) {
    const HeaderCase& c = GetParam();
    RunCase setup = withCandidates(c.indices);
    ProcessedRun run(setup.nodes, setup.connections, setup.parameters);
    ASSERT_EQ(run.errors, 0);
    std::vector<std::string> file = fileLines(results::nodeImportanceFile(*run.program));
    std::vector<std::string> view = results::nodeImportanceView(*run.program, noError);
    ASSERT_EQ(view.size(), 6u);  // the header, three existing nodes, two candidates
    EXPECT_EQ(file.front(), c.fileHeader);
    EXPECT_EQ(view.front(), c.viewHeader);
    EXPECT_EQ(std::vector<std::string>(view.begin() + 1, view.end()),
              std::vector<std::string>(file.begin() + 1, file.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Selections, NodeImportanceHeader,
    ::testing::Values(
        HeaderCase{"OnlyDA", "A", "Node\tdA\t", "Node\tdA\t"},
        HeaderCase{"OnlyPC", "PC", "Node\t\tdPC", "Node\t\tdPC\t"},
        HeaderCase{"SkipsUnselected", "A NC IIC", "Node\tdA\t\tdNC\t\tdIIC\t", "Node\tdA\t\tdNC\t\tdIIC\t"},
        HeaderCase{"All", "all", "Node\tdA\t\tdNL\t\tdNC\t\tdH\t\tdCCP\t\tdLCP\t\tdIIC\t\tdF\t\tdAWF\t\tdPC",
                   "Node\tdA\t\tdNL\t\tdNC\t\tdH\t\tdCCP\t\tdLCP\t\tdIIC\t\tdF\t\tdAWF\t\tdPC\t"}),
    [](const auto& param) { return param.param.name; });

// Node 1's dNL and dPC values fail, among the existing nodes or among the candidates;
// every other value is 1.5.
results::NodeImportanceTable failingValues(bool candidatesFail) {
    auto value = [candidatesFail](const std::string& label, bool candidate) {
        return [label, candidate, candidatesFail](std::int32_t i) -> long double {
            if (candidate == candidatesFail && i == 1 && (label == "dNL" || label == "dPC"))
                throw std::runtime_error("Invalid floating point operation");
            return 1.5L;
        };
    };
    results::NodeImportanceTable table{{5, 9}, {7, 8}, {}};
    for (const char* label : {"dA", "dNL", "dPC"})
        table.columns.push_back({label, value(label, false), value(label, true)});
    return table;
}

TEST(NodeImportanceView, AFailingValueIsShownAndLeftOutWithItsTab) {
    std::vector<std::string> shown;
    const std::vector<std::string> view = results::nodeImportanceView(
        failingValues(/*candidatesFail=*/false), [&shown](const std::string& message) { shown.push_back(message); });
    EXPECT_EQ(view, (std::vector<std::string>{"Node\tdA\t\tdNL\t\tdPC\t", "5\t1.5000000\t1.5000000\t1.5000000",
                                              "9\t1.5000000\t", "7\t1.5000000\t1.5000000\t1.5000000",
                                              "8\t1.5000000\t1.5000000\t1.5000000"}));
    EXPECT_EQ(shown, (std::vector<std::string>(2, "Invalid floating point operation")));
}

TEST(NodeImportanceView, CandidateRowsAndTheFileHaveNoGuard) {
    EXPECT_THROW(results::nodeImportanceFile(failingValues(/*candidatesFail=*/false)), std::runtime_error);
    EXPECT_THROW(results::nodeImportanceView(failingValues(/*candidatesFail=*/true), noError), std::runtime_error);
}

TEST(OverallValuesView, ShowsLCPnumAndIICnumInF7WhereTheFileHasG15) {
    ProcessedRun run(testing_support::threeNodes, testing_support::threeNodeDistances, distancesRun("all"));
    ASSERT_EQ(run.errors, 0);
    formatExamples(*run.program);
    EXPECT_EQ(results::overallValuesView(*run.program),
              (std::vector<std::string>{"NL:        3", "NC:        2", "H:         2.5000000", "CCP:       0.5000000",
                                        "LCPnum:    0.1000000", "LCP:       0.1250000", "IICnum:    1E7",
                                        "IIC:       12.2500000", "F:         1234.5630000",
                                        "AWF:       9999999.0000000", "PCnum:     0.1000000", "PC:        0.2500000"}));
    run.program->ALValid = false;
    run.program->overall->nDirectConnections = 3;
    const CommaSettings comma;
    EXPECT_EQ(results::overallValuesView(*run.program),
              (std::vector<std::string>{"NL:        3", "NC:        2", "H:         2,5000000", "CCP:       0,5000000",
                                        "LCPnum:    0,1000000", "IICnum:    1E7", "F:         1234,5630000",
                                        "AWF:       9999999,0000000",
                                        "PCnum:     0,1000000 (using 3 direct internode connections)"}));
}

struct PairViewCase {
    std::string name;
    RunCase run;
    std::function<results::ViewLines(const tamblorProgram&)> view;
    results::ViewLines expected;
};

void PrintTo(const PairViewCase& c, std::ostream* out) { *out << c.name; }

class PairView : public ::testing::TestWithParam<PairViewCase> {};

// One memo line per node; entries inside it are joined by line feeds.
TEST_P(PairView, HoldsOneLinePerNode) {
    const PairViewCase& c = GetParam();
    ProcessedRun run(c.run.nodes, c.run.connections, c.run.parameters);
    ASSERT_EQ(run.errors, 0);
    EXPECT_EQ(c.view(*run.program), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Views, PairView,
    ::testing::Values(
        PairViewCase{"LinksOneNode", oneNode("NL"), results::linksView, {""}},
        PairViewCase{"LinksTwoNodes", twoNodes("NL"), results::linksView, {"", "9\t5\t1"}},
        PairViewCase{
            "LinksNoFeedAfterTheLast", threeNodes("NL"), results::linksView, {"", "9\t5\t1", "12\t5\t0\n12\t9\t0"}},
        PairViewCase{"DirectFeedAfterEveryEntry",
                     threeNodes("F"),
                     results::directProbabilitiesView,
                     {"", "9\t5\t0.7071068\n", "12\t5\t0.1250000\n12\t9\t0.3535534\n"}},
        PairViewCase{"MaximumProductFiveBlanks",
                     threeNodes("PC"),
                     results::maximumProductProbabilitiesView,
                     {"", "9     5     0.7071068\n", "12     5     0.2500000\n12     9     0.3535534\n"}},
        PairViewCase{"MaximumProductOneNode", oneNode("PC"), results::maximumProductProbabilitiesView, {""}},
        PairViewCase{"ComponentsFromOne", threeNodes("NC"), results::componentsView, {"5\t1", "9\t1", "12\t2"}}),
    [](const auto& param) { return param.param.name; });

TEST(NumberFormats, C6HasADecimalPointWhateverTheSettings) {
    const CommaSettings comma;
    EXPECT_EQ(results::C6(0.70710677f), "0.707107");
    EXPECT_EQ(results::C6(1.0), "1.000000");
    EXPECT_EQ(results::F7(0.70710677f), "0,7071068");
    EXPECT_EQ(results::G15(0.1f), "0,100000001490116");
}

struct EventLogCase {
    std::string name;
    std::string memoText;
    std::string file;
};

void PrintTo(const EventLogCase& c, std::ostream* out) { *out << c.name; }

class EventLogFile : public ::testing::TestWithParam<EventLogCase> {};

TEST_P(EventLogFile, EndsEveryLineWithOneCarriageReturnAndLineFeed) {
    EXPECT_EQ(results::eventLogFile(GetParam().memoText), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Texts, EventLogFile,
                         ::testing::Values(EventLogCase{"EmptyMemo", "", ""},
                                           EventLogCase{"OneLine", "Execution ended", "Execution ended\r\n"},
                                           EventLogCase{"LineFeeds", "a\nb\n\nc", "a\r\nb\r\n\r\nc\r\n"},
                                           EventLogCase{"CarriageReturnsAreNotDoubled", "a\r\nb\r\n", "a\r\nb\r\n"}),
                         [](const auto& param) { return param.param.name; });

TEST(EventLogFile, OfARunMatchesTheExpectedFile) {
    const sysutils::TDateTime fixed = sysutils::EncodeDateTime(2026, 12, 10, 9, 5, 7, 0);
    sysutils::ScopedClock clock([fixed] { return fixed; });
    std::int64_t ticks = 0;
    sysutils::ScopedTickCounter counter([&ticks] { return ticks += 250; });
    ProcessedRun run(testing_support::threeNodes, testing_support::threeNodeDistances, distancesRun("NC IIC PC"));
    ASSERT_EQ(run.errors, 0);
    const std::vector<std::string> lines = run.log.lines();
    std::string memoText;  // as the memo returns its lines
    for (std::size_t k = 0; k < lines.size(); ++k) memoText += (k == 0 ? "" : "\n") + lines[k];
    // The input files lie in a folder of the test's own; the expected file names it /data.
    const std::string folder = run.folder.path().string();
    for (std::size_t at = memoText.find(folder); at != std::string::npos; at = memoText.find(folder))
        memoText.replace(at, folder.size(), "/data");
    EXPECT_EQ(results::eventLogFile(memoText), readFile(expectedFile("results_event_log.txt")));
}

}  // namespace
