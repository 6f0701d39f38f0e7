// The within-distance analysis on small layers: every output byte for byte (the dBASE
// tables field by field), pairs exactly at the radius, all pairs, one feature, touching
// features, output folders with and without their separator, names already taken, the
// comma as decimal separator, what the host is asked, and the errors that end it.
#include "gis_extension/WithinDistance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "com/NumberedFiles.h"
#include "gishost/model/FeatureTable.h"
#include "gishost/model/Recording.h"
#include "support/AnalysisFixture.h"
#include "support/DbfReading.h"
#include "sysutils/AvailableMemory.h"
#include "sysutils/FormatSettings.h"

namespace {

using namespace testing_support;
using Rows = std::vector<std::vector<std::string>>;

std::string expected(const std::string& name) {
    return readFile(std::string(BRELMARK_TEST_DATA) + "/expected/within_distance/" + name);
}

std::string withFolder(std::string text, const std::string& folder) {
    for (std::size_t at = text.find("{folder}"); at != std::string::npos; at = text.find("{folder}"))
        text.replace(at, 8, folder);
    return text;
}

TEST(WithinDistance, WritesEveryOutputForPairsWithinTheRadiusThoseExactlyAtItIncluded) {
    sysutils::ScopedDecimalSeparator point('.');
    AnalysisRun run;
    const std::string layer = run.writeLayerFile("patches", sixSquares());
    const std::string report = run.run(layer, {});
    EXPECT_TRUE(run.reports.shown().empty()) << run.reports.shown()[0];

    EXPECT_EQ(run.output("nodes.txt"), expected("nodes_six_squares.txt"));
    EXPECT_EQ(run.output("distances.txt"), expected("distances_six_squares_radius_10.txt"));

    const DbfContents count = readDbf(run.folder().pathOf("count.dbf"));
    ASSERT_TRUE(count.opened);
    EXPECT_EQ(count.fields, (std::vector<DbfField>{{"Unique_ID", 'N', 8, 0}, {"ID", 'N', 9, 0}, {"Numbr_Feat", 'N', 10, 0}}));
    // 60 lies 10.5 from 20: neither paired nor counted, as the host's search is exact.
    EXPECT_EQ(count.rows, (Rows{{"1", "10", "3"}, {"2", "20", "3"}, {"3", "30", "3"}, {"4", "40", "3"},
                                {"5", "50", "0"}, {"6", "60", "0"}}));
    const DbfContents distances = readDbf(run.folder().pathOf("distances.dbf"));
    ASSERT_TRUE(distances.opened);
    EXPECT_EQ(distances.fields, (std::vector<DbfField>{{"Unique_ID", 'N', 10, 0}, {"From_ID", 'N', 9, 0},
                                                       {"To_ID", 'N', 9, 0}, {"Distance", 'N', 16, 6}}));
    EXPECT_EQ(distances.rows, (Rows{{"1", "10", "20", "10.000000"}, {"2", "10", "30", "10.000000"},
                                    {"3", "10", "40", "0.000000"}, {"4", "20", "30", "10.000000"},
                                    {"5", "20", "40", "10.000000"}, {"6", "30", "40", "0.000000"}}));

    EXPECT_EQ(report, withFolder(expected("report_six_squares.rtf"), run.folder().path().string()));
}

TEST(WithinDistance, MeasuresAllPairsOnceNumberedFromOne) {
    sysutils::ScopedDecimalSeparator point('.');
    AnalysisRun run;
    const std::string layer = run.writeLayerFile("patches", sixSquares());
    AnalysisSettings settings;
    settings.allPairs = true;
    run.run(layer, settings);
    const DbfContents distances = readDbf(run.folder().pathOf("distances.dbf"));
    ASSERT_EQ(distances.rows.size(), 15u);  // n(n-1)/2
    for (std::size_t k = 0; k < distances.rows.size(); ++k) EXPECT_EQ(distances.rows[k][0], std::to_string(k + 1));
    EXPECT_EQ(distances.rows[4], (std::vector<std::string>{"5", "10", "60", "30.500000"}));
    EXPECT_EQ(distances.rows[13], (std::vector<std::string>{"14", "40", "60", "30.500000"}));
    for (const auto& row : readDbf(run.folder().pathOf("count.dbf")).rows) EXPECT_EQ(row[2], "5");
    const std::string text = run.output("distances.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 15);
    EXPECT_NE(text.find("20\t60\t10.500000000\r\n"), std::string::npos);
}

TEST(WithinDistance, OneFeatureWritesOneNodeLineAndACountOfZero) {
    AnalysisRun run;
    FixtureLayer layer = sixSquares();
    layer.features.resize(1);
    run.run(run.writeLayerFile("single", layer), {});
    EXPECT_EQ(run.output("nodes.txt"), "10\t12.50\r\n");
    EXPECT_EQ(run.output("distances.txt"), "");
    EXPECT_EQ(readDbf(run.folder().pathOf("count.dbf")).rows, (Rows{{"1", "10", "0"}}));
    EXPECT_TRUE(readDbf(run.folder().pathOf("distances.dbf")).rows.empty());
}

TEST(WithinDistance, AnIdFieldNamedUniqueIdGivesTheCountTableACountIdColumn) {
    AnalysisRun run;
    FixtureLayer layer = sixSquares();
    layer.fields[0].name = "Unique_ID";
    AnalysisSettings settings;
    settings.idField = "Unique_ID";
    run.run(run.writeLayerFile("unique", layer), settings);
    const DbfContents count = readDbf(run.folder().pathOf("count.dbf"));
    ASSERT_EQ(count.fields.size(), 3u);
    EXPECT_EQ(count.fields[0].name, "Count_ID");
    EXPECT_EQ(count.fields[1].name, "Unique_ID");
    EXPECT_EQ(count.fields[2].name, "Numbr_Feat");
}

TEST(WithinDistance, FindsItsFolderWithOrWithoutTheSeparatorAndGivesWayToTakenNames) {
    for (const bool trailingSeparator : {false, true}) {
        SCOPED_TRACE(trailingSeparator);
        AnalysisRun run;
        const std::string layer = run.writeLayerFile("patches", sixSquares());
        std::filesystem::create_directory(run.folder().pathOf("out"));
        run.folder().write("out/nodes.txt", "kept");
        AnalysisSettings settings;
        settings.folder = run.folder().pathOf("out") + (trailingSeparator ? "/" : "");
        settings.numberTable = settings.distanceTable = false;
        const std::string report = run.run(layer, settings);
        EXPECT_EQ(run.output("out/nodes.txt"), "kept");
        EXPECT_EQ(run.output("out/nodes_2.txt"), expected("nodes_six_squares.txt"));
        // Only the text files were written: the distance file is the report's first entry.
        EXPECT_NE(report.find("\\b     1] ASCII Text File of Distances to Each Feature:\\b0\\par\r\n"
                              "         \\i Saved to " + run.folder().pathOf("out/distances.txt") + "\\i0\\par\r\n"
                              "\\b     2] ASCII Node File:\\b0\\par\r\n"
                              "         \\i Saved to " + run.folder().pathOf("out/nodes_2.txt")),
                  std::string::npos);
        ASSERT_EQ(run.shell.requests().size(), 2u);
        EXPECT_EQ(run.shell.requests()[1].file, "nodes_2.txt");
        EXPECT_EQ(run.shell.requests()[1].directory, run.folder().pathOf("out") + "/");
    }
}

TEST(WithinDistance, WritesNumbersWithTheRegionalDecimalSeparator) {
    sysutils::ScopedDecimalSeparator comma(',');
    AnalysisRun run;
    FixtureLayer layer = sixSquares();
    layer.features.resize(2);
    layer.features[1].wkt = squareWkt(22.5, 0, 10);  // 12.5 from the first
    AnalysisSettings settings;
    settings.allPairs = true;
    const std::string report = run.run(run.writeLayerFile("comma", layer), settings);
    EXPECT_EQ(run.output("nodes.txt"), "10\t12,50\r\n20\t3,25\r\n");
    EXPECT_EQ(run.output("distances.txt"), "10\t20\t12,500000000\r\n");
    EXPECT_NE(report.find("\\b Search Radius =\\b0  Distances Calculated for All Pairs of Features...\\par"),
              std::string::npos);
}

TEST(WithinDistance, ShowsItsProgressAndItsTablesInTheHost) {
    AnalysisRun run;
    run.run(run.writeLayerFile("patches", sixSquares()), {});
    const std::vector<std::string> statusBar = gishost::model::recordedCalls(run.application()->StatusBar());
    ASSERT_GE(statusBar.size(), 3u);
    EXPECT_EQ(statusBar[0], "ShowProgressBar(Calculating Distances from Polygon #1, 1, 6, 1, True)");
    EXPECT_NE(std::find(statusBar.begin(), statusBar.end(), "Message(0) = Calculating Distances from Polygon #6"),
              statusBar.end());
    EXPECT_EQ(statusBar.back(), "HideProgressBar");
    const auto windows = gishost::model::shownTableWindows(run.application());
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].table->Name(), "count");
    EXPECT_EQ(windows[1].table->Name(), "distances");
    EXPECT_EQ(run.map().as<gishost::IStandaloneTableCollection>()->StandaloneTableCount(), 2);
    EXPECT_EQ(gishost::model::recordedCalls(run.document()), (std::vector<std::string>{"ContentsChanged"}));
    ASSERT_EQ(run.shell.requests().size(), 2u);
    EXPECT_EQ(run.shell.requests()[0].file, "distances.txt");
    EXPECT_EQ(run.shell.requests()[1].file, "nodes.txt");
}

struct FailureCase {
    const char* name;
    std::size_t badFeature;
    std::vector<std::optional<std::string>> values;
    std::string wkt;
    std::string description;
};

class Failures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failures, EndTheAnalysisWithAReportAndKeepWhatWasWritten) {
    AnalysisRun run;
    FixtureLayer layer = sixSquares();
    FixtureFeature& bad = layer.features[GetParam().badFeature];
    if (!GetParam().values.empty()) bad.values = GetParam().values;
    if (GetParam().wkt != "keep") bad.wkt = GetParam().wkt;
    layer.format = "gpkg";  // keeps null numbers and features without a shape
    const std::string report = run.run(run.writeLayerFile("broken", layer), {});
    EXPECT_EQ(report, "");
    ASSERT_EQ(run.reports.shown().size(), 1u);
    EXPECT_NE(run.reports.shown()[0].find("\tCalcWithinDistance WithinDistance Line : "), std::string::npos);
    EXPECT_NE(run.reports.shown()[0].find(GetParam().description), std::string::npos) << run.reports.shown()[0];
    // Every output begun stays under its name with what was written before the failure,
    // the text files closed; no temporary file is left.
    EXPECT_FALSE(com::files::IsOpen(1) || com::files::IsOpen(2));
    for (const std::string& name : everythingIn(run.folder().path())) EXPECT_NE(name.front(), '.') << name;
    for (const char* name : {"count.dbf", "distances.dbf", "distances.txt", "nodes.txt"})
        EXPECT_TRUE(std::filesystem::exists(run.folder().pathOf(name))) << name;
    EXPECT_EQ(readDbf(run.folder().pathOf("count.dbf")).rows.at(0), (std::vector<std::string>{"1", "10", "3"}));
    // (A GeoPackage keeps no scale: the attribute gets eight decimals.)
    EXPECT_EQ(run.output("nodes.txt").substr(0, 16), "10\t12.50000000\r\n");
    EXPECT_TRUE(run.shell.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Features, Failures,
    ::testing::Values(FailureCase{"NullId", 2, {std::nullopt, "1"}, "keep", "Invalid use of Null"},
                      FailureCase{"NullAttribute", 3, {"40", std::nullopt}, "keep", "Invalid use of Null"},
                      FailureCase{"NoGeometry", 4, {}, "", "shape"}),
    [](const auto& param) { return std::string(param.param.name); });

// The host counts what an analysis holds at its peak when it first reads the features.
// With less memory left than that, it refuses the analysis before any output receives a
// line: the analysis ends with the run-time's report instead of the system ending the
// process, and leaves no output, neither under its name nor as a temporary file beside
// it. With that much left, the analysis runs to its end and writes every output.
TEST(WithinDistance, EndsWithAnOutOfMemoryReportAndNoOutputWithLessMemoryLeftThanItsPeak) {
    for (const bool allPairs : {true, false}) {
        for (const bool enough : {false, true}) {
            SCOPED_TRACE(std::string(allPairs ? "all pairs" : "within the radius") +
                         (enough ? ", as much memory left as the peak" : ", a byte less"));
            AnalysisRun run;
            const std::string layer = run.writeLayerFile("patches", sixSquares());
            const std::uint64_t peak = gishost::model::FeatureTable::open(layer, "")->memoryToStartMeasuring();
            AnalysisSettings settings;
            settings.allPairs = allPairs;
            settings.folder = run.folder().pathOf("out");
            std::filesystem::create_directory(settings.folder);
            std::string report;
            {
                const sysutils::ScopedAvailableMemory available(enough ? peak : peak - 1);
                report = run.run(layer, settings);
            }
            com::files::Reset();
            std::vector<std::string> left;
            for (const auto& entry : std::filesystem::directory_iterator(settings.folder))
                left.push_back(entry.path().filename().string());
            std::sort(left.begin(), left.end());
            if (enough) {
                EXPECT_TRUE(run.reports.shown().empty()) << run.reports.shown()[0];
                EXPECT_NE(report, "");
                EXPECT_EQ(left, (std::vector<std::string>{"count.dbf", "distances.dbf", "distances.txt", "nodes.txt"}));
                continue;
            }
            EXPECT_EQ(report, "");
            ASSERT_EQ(run.reports.shown().size(), 1u);
            EXPECT_NE(run.reports.shown()[0].find("\tCalcWithinDistance WithinDistance Line : "), std::string::npos);
            EXPECT_NE(run.reports.shown()[0].find("Error Number \r\n\t7\r\nDescription\r\n\tOut of memory\r\n"),
                      std::string::npos)
                << run.reports.shown()[0];
            EXPECT_EQ(left, std::vector<std::string>{});
            EXPECT_EQ(run.map().as<gishost::IStandaloneTableCollection>()->StandaloneTableCount(), 0);
        }
    }
}

}  // namespace
