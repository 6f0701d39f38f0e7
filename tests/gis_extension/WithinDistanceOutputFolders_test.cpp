// The analysis and its output folder: folders whose names users have (apostrophes,
// blanks, "#", "%", brackets, a leading "-", letters outside ASCII) get the same four
// outputs and report as a plain folder.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gis_extension/WithinDistanceOutputs.h"
#include "gishost/model/Recording.h"
#include "support/AnalysisFixture.h"
#include "sysutils/FormatSettings.h"

namespace {

using namespace testing_support;
using gis_extension::WithinDistance::RtfEscaped;

// The dBASE header's date (bytes 1 to 3) is the day the table was written.
std::string withoutDate(std::string table) {
    if (table.size() >= 4) table.replace(1, 3, 3, '\0');
    return table;
}

// The report with the output folder's path written as "{folder}".
std::string withoutFolder(std::string report, const std::string& folder) {
    const std::string escaped = RtfEscaped(folder);
    for (std::size_t at = report.find(escaped); at != std::string::npos; at = report.find(escaped, at))
        report.replace(at, escaped.size(), "{folder}");
    return report;
}

struct Outputs {
    std::string nodes, distances, countTable, distanceTable, report;
};

Outputs analysedInto(AnalysisRun& run, const std::string& layer, const std::string& folder) {
    std::filesystem::create_directories(folder);
    AnalysisSettings settings;
    settings.folder = folder;
    const std::string report = run.run(layer, settings);
    return {readFile(folder + "/nodes.txt"), readFile(folder + "/distances.txt"),
            withoutDate(readFile(folder + "/count.dbf")), withoutDate(readFile(folder + "/distances.dbf")),
            withoutFolder(report, folder)};
}

struct FolderName {
    const char* name;
    std::string folder;
};

class OutputFolderNames : public ::testing::TestWithParam<FolderName> {};

TEST_P(OutputFolderNames, GetEveryOutputAndTheReportAsAPlainFolderDoes) {
    sysutils::ScopedDecimalSeparator point('.');
    AnalysisRun run;
    const std::string layer = run.writeLayerFile("patches", sixSquares());
    const std::string named = run.folder().pathOf(GetParam().folder);
    const Outputs plain = analysedInto(run, layer, run.folder().pathOf("plain"));
    const Outputs outputs = analysedInto(run, layer, named);

    EXPECT_TRUE(run.reports.shown().empty()) << run.reports.shown().front();
    EXPECT_TRUE(run.boxes.texts().empty()) << run.boxes.texts().front();
    EXPECT_EQ(outputs.nodes, plain.nodes);
    EXPECT_EQ(outputs.distances, plain.distances);
    EXPECT_EQ(outputs.countTable, plain.countTable);
    EXPECT_EQ(outputs.distanceTable, plain.distanceTable);
    EXPECT_EQ(outputs.report, plain.report);
    EXPECT_NE(plain.report.find("Saved to {folder}/nodes.txt"), std::string::npos) << plain.report;
    EXPECT_EQ(everythingIn(named), (std::set<std::string>{"count.dbf", "distances.dbf", "distances.txt", "nodes.txt"}));
    // The host shows the tables under their names; the shell opens each text file in the folder.
    const auto windows = gishost::model::shownTableWindows(run.application());
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].table->Name(), "count");
    EXPECT_EQ(windows[1].table->Name(), "distances");
    ASSERT_EQ(run.shell.requests().size(), 4u);
    EXPECT_EQ(run.shell.requests()[2].file, "distances.txt");
    EXPECT_EQ(run.shell.requests()[3].file, "nodes.txt");
    EXPECT_EQ(run.shell.requests()[3].directory, named + "/");
}

INSTANTIATE_TEST_SUITE_P(
    UsersFolders, OutputFolderNames,
    ::testing::Values(FolderName{"Apostrophe", "it's here"},
                      // Two apostrophes enclose a stretch that a quote-honouring split would join.
                      FolderName{"TwoApostrophes", "it's Ann's"}, FolderName{"QuotedName", "'quoted'"},
                      FolderName{"ApostropheInAFolderAbove", "it's here/out"},
                      FolderName{"Blanks", "two  blanks here"}, FolderName{"LeadingBlank", " leading"},
                      FolderName{"TrailingBlank", "trailing "}, FolderName{"Hash", "#1 results"},
                      FolderName{"Percent", "100% done %s"}, FolderName{"Brackets", "[a] (b) {c}"},
                      FolderName{"LeadingDash", "-out"}, FolderName{"LettersOutsideAscii", "Données été ñ 東京"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
