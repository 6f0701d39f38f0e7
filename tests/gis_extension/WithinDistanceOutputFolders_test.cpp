// The analysis and its output folder: folders whose names users have (apostrophes,
// blanks, "#", "%", brackets, a leading "-", letters outside ASCII) get the same four
// outputs and report as a plain folder; a path longer than the system allows is
// reported as such, naming the path, while a table that cannot be created for another
// reason still ends the analysis with the report of the missing table.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gis_extension/WithinDistanceOutputs.h"
#include "gishost/model/Recording.h"
#include "support/AnalysisFixture.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/SafeFile.h"

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

// ---- Folders that take no output ---------------------------------------------------

// An error report as shown, with the analysis's line numbers (which move with its code) as "N".
std::string errorReport(const std::string& procedure, const std::string& number, const std::string& description) {
    return "Record Call Stack Sequence - Bottom line is error line.\r\n\r\n\t" + procedure +
           "\r\n\r\nError Number \r\n\t" + number + "\r\nDescription\r\n\t" + description + "\r\n\r\n";
}

std::string withoutLineNumbers(std::string report) {
    const std::string mark = "Line : ";
    for (std::size_t at = report.find(mark); at != std::string::npos; at = report.find(mark, at + mark.size())) {
        const std::size_t digits = at + mark.size();
        report.replace(digits, std::min(report.find_first_not_of("0123456789", digits), report.size()) - digits, "N");
    }
    return report;
}

const std::string tableProcedure = "CreatedBASETable aml_func_mod ";
const std::string analysisProcedure = "CalcWithinDistance WithinDistance Line : N";
const std::string objectNotSet =
    errorReport(analysisProcedure, "91", "Object variable or With block variable not set");

// A folder of `length` characters below `base`, in names of 200 characters.
std::string folderOfLength(const std::string& base, std::size_t length) {
    std::string folder = base;
    while (folder.size() + 201 < length) folder += "/" + std::string(200, 'b');
    return folder + "/" + std::string(length - folder.size() - 1, 'c');
}

using FolderText = std::function<std::string(const std::string& folder)>;

struct RefusedFolder {
    const char* name;
    std::function<std::string(const TemporaryFolder& fixture)> folder;  // made here when it is to exist
    bool tables = true;
    bool refusesNewFiles = false;
    FolderText firstReport;
    FolderText box = [](const std::string&) { return std::string(); };  // "": none
    bool missingTableReported = true;  // a second report: the analysis uses the table it did not get
};

class RefusedFolders : public ::testing::TestWithParam<RefusedFolder> {};

TEST_P(RefusedFolders, FirstReportTheCauseNamingThePath) {
    AnalysisRun run;
    const std::string layer = run.writeLayerFile("patches", sixSquares());
    const std::string folder = GetParam().folder(run.folder());
    std::optional<sysutils::ScopedFolderRefusingNewFiles> refusing;
    if (GetParam().refusesNewFiles) refusing.emplace(folder);
    const std::set<std::string> before = everythingIn(run.folder().path());
    AnalysisSettings settings;
    settings.folder = folder;
    settings.numberTable = settings.distanceTable = GetParam().tables;

    EXPECT_EQ(run.run(layer, settings), "");
    ASSERT_EQ(run.reports.shown().size(), GetParam().missingTableReported ? 2u : 1u);
    EXPECT_EQ(withoutLineNumbers(run.reports.shown()[0]), GetParam().firstReport(folder));
    if (GetParam().missingTableReported) {
        EXPECT_EQ(withoutLineNumbers(run.reports.shown()[1]), objectNotSet);
    }
    const std::string box = GetParam().box(folder);
    EXPECT_EQ(run.boxes.texts(), box.empty() ? std::vector<std::string>{} : std::vector<std::string>{box});
    EXPECT_EQ(everythingIn(run.folder().path()), before);
}

FolderText tooLong(const std::string& procedure, const std::string& output) {
    return [procedure, output](const std::string& folder) {
        return errorReport(procedure, "52", "Bad file name or number: the path is too long: " + folder + "/" + output);
    };
}

FolderText tableNotWritten(const std::string& why) {
    return [why](const std::string& folder) {
        const std::string table = folder + "/count.dbf";
        return errorReport(tableProcedure, "-2147220986",
                           "The dBASE table " + table + " cannot be written: Cannot save " + table +
                               ": cannot create a file in the folder " + folder + ": " + why);
    };
}

std::string longName(const TemporaryFolder& fixture) { return fixture.pathOf(std::string(300, 'a')); }

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedFolders,
    ::testing::Values(
        RefusedFolder{.name = "ANameLongerThanTheSystemAllows", .folder = longName,
                      .firstReport = tooLong(tableProcedure, "count.dbf")},
        RefusedFolder{.name = "APathLongerThanTheSystemAllows",
                      .folder = [](const TemporaryFolder& f) { return folderOfLength(f.path().string(), PATH_MAX + 100); },
                      .firstReport = tooLong(tableProcedure, "count.dbf")},
        RefusedFolder{.name = "ANameTooLongForTheTextFiles", .folder = longName, .tables = false,
                      .firstReport = tooLong(analysisProcedure, "distances.txt"),
                      .missingTableReported = false},
        // The folder is there; only the table's path passes the limit.
        RefusedFolder{.name = "AnExistingFolderTooLongForItsTables",
                      .folder =
                          [](const TemporaryFolder& f) {
                              const std::string folder = folderOfLength(f.path().string(), PATH_MAX - 8);
                              std::filesystem::create_directories(folder);
                              return folder;
                          },
                      .firstReport = tableNotWritten("File name too long")},
        RefusedFolder{.name = "AMissingFolder",
                      .folder = [](const TemporaryFolder& f) { return f.pathOf("missing"); },
                      .firstReport = [](const std::string&) { return objectNotSet; },
                      .box = [](const std::string& folder) { return "Folder does not exist: \r" + folder + "/"; },
                      .missingTableReported = false},
        RefusedFolder{.name = "AFolderThatTakesNoFile",
                      .folder = [](const TemporaryFolder& f) { return f.pathOf("out"); },
                      .refusesNewFiles = true,
                      .firstReport = tableNotWritten("Permission denied")}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
