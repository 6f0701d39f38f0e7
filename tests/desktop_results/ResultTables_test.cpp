// The dBASE result tables read back with shapelib: fields in index order, existing
// nodes' importances as their floats, candidates' as their F7 texts, components from 1;
// and saves that cannot complete failing with the chosen file unchanged.
#include "desktop/results/ResultTables.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ResultLandscapes.h"
#include "desktop/results/ResultTexts.h"
#include "support/DbfReading.h"
#include "sysutils/FormatSettings.h"

namespace {

namespace results = desktop::results;
using testing_support::DbfField;
using testing_support::distancesRun;
using testing_support::ProcessedRun;
using testing_support::readDbf;
using testing_support::readFile;
using testing_support::TemporaryFolder;
using Rows = std::vector<std::vector<std::string>>;

std::set<std::string> everythingIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.insert(entry.path().lexically_relative(folder).string());
    return names;
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + separator.size())
        pieces.push_back(text.substr(start, end - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> lines(const std::string& file) {
    std::vector<std::string> pieces = split(file, "\r\n");
    pieces.pop_back();  // after the last line end
    return pieces;
}

// A text-file row of F7 values under a decimal comma as a floating field stores them.
std::vector<std::string> asStored(const std::string& fileRow) {
    std::vector<std::string> values = split(fileRow, "\t");
    for (std::size_t k = 1; k < values.size(); ++k) {
        for (char& c : values[k])
            if (c == ',') c = '.';
        values[k] += "000";
    }
    return values;
}

// Runs on the landscape with candidates, under a locale and regional settings with a
// decimal comma; saves go into a folder of their own.
class ResultTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
        ASSERT_EQ(run.errors, 0);
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    ProcessedRun runWith(const std::string& indices) {
        auto parameters = distancesRun(indices);
        parameters.addNodes = true;
        return ProcessedRun(testing_support::threeNodesTwoCandidates, testing_support::threeNodeCandidateDistances,
                            parameters);
    }

    ProcessedRun run = runWith("all");
    sysutils::ScopedDecimalSeparator comma{','};
    TemporaryFolder saves;
};

TEST_F(ResultTable, NodeImportancesHoldFloatsForExistingNodesAndF7ForCandidates) {
    const std::string target = saves.pathOf("node_importances.dbf");
    const sysutils::SaveResult result = results::saveNodeImportanceTable(*run.program, target);
    ASSERT_TRUE(result) << result.error;
    const testing_support::DbfContents table = readDbf(target);
    ASSERT_TRUE(table.opened);

    std::vector<DbfField> fields{{"node", 'N', 11, 0}};
    for (const char* label : {"dA", "dNL", "dNC", "dH", "dCCP", "dLCP", "dIIC", "dF", "dAWF", "dPC"})
        fields.push_back({label, 'N', 20, 10});
    EXPECT_EQ(table.fields, fields);

    // Node 5's dA is the float nearest to 100/6; candidate 7's dCCP is stored as its F7
    // rounding 3.9999960; both with a decimal point although the settings have a comma.
    ASSERT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.rows[0][0], "5");
    EXPECT_EQ(table.rows[0][1], "16.6666660309");
    EXPECT_EQ(table.rows[3][0], "7");
    EXPECT_EQ(table.rows[3][5], "3.9999960000");

    // Every candidate value is the F7 text of the text file, padded to ten decimals.
    const std::vector<std::string> fileRows = lines(results::nodeImportanceFile(*run.program));
    ASSERT_EQ(fileRows.size(), 6u);
    EXPECT_EQ(table.rows[3], asStored(fileRows[4]));
    EXPECT_EQ(table.rows[4], asStored(fileRows[5]));
    EXPECT_EQ(everythingIn(saves.path()), (std::set<std::string>{"node_importances.dbf"}));
}

TEST_F(ResultTable, OnlyDAGivesTheNodeAndDAFields) {
    ProcessedRun onlyDA = runWith("A");
    ASSERT_EQ(onlyDA.errors, 0);
    const std::string target = saves.pathOf("node_importances.dbf");
    ASSERT_TRUE(results::saveNodeImportanceTable(*onlyDA.program, target));
    const testing_support::DbfContents table = readDbf(target);
    EXPECT_EQ(table.fields, (std::vector<DbfField>{{"node", 'N', 11, 0}, {"dA", 'N', 20, 10}}));
    EXPECT_EQ(table.rows, (Rows{{"5", "16.6666660309"},
                                {"9", "33.3333320618"},
                                {"12", "50.0000000000"},
                                {"7", "25.0000000000"},
                                {"3", "8.3333330000"}}));
}

TEST_F(ResultTable, ComponentsAreNumberedFromOneForExistingNodesOnly) {
    const std::string target = saves.pathOf("components.dbf");
    ASSERT_TRUE(results::saveComponentTable(*run.program, target));
    const testing_support::DbfContents table = readDbf(target);
    EXPECT_EQ(table.fields, (std::vector<DbfField>{{"node", 'N', 11, 0}, {"component", 'N', 11, 0}}));
    EXPECT_EQ(table.rows, (Rows{{"5", "1"}, {"9", "1"}, {"12", "2"}}));
}

TEST_F(ResultTable, TheTemporaryTablesNameIsAnOrdinaryChoice) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(saves.path());
    saves.write("bdsntmp.dbf", "an older table");
    const sysutils::SaveResult result = results::saveComponentTable(*run.program, "bdsntmp.dbf");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(readDbf(saves.pathOf("bdsntmp.dbf")).rows, (Rows{{"5", "1"}, {"9", "1"}, {"12", "2"}}));
    EXPECT_EQ(everythingIn(saves.path()), (std::set<std::string>{"bdsntmp.dbf"}));
}

TEST_F(ResultTable, SavesThatCannotCompleteFailAndLoseNothing) {
    const std::string old = "an older table that must survive";
    const std::string existing = saves.write("node_importances.dbf", old);
    const std::string missingFolder = saves.pathOf("vanished") + "/components.dbf";
    const std::set<std::string> before = everythingIn(saves.path());

    sysutils::SaveResult result = results::saveComponentTable(*run.program, missingFolder);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind("Cannot save " + missingFolder + ": ", 0), 0u) << result.error;
    {
        sysutils::ScopedFileFault diskFull(sysutils::FileFault::Write, 200);
        result = results::saveNodeImportanceTable(*run.program, existing);
    }
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("Cannot save " + existing + ": writing failed"), std::string::npos) << result.error;
    // An importance far beyond what the field holds (dA with an attribute sum near 0).
    run.program->totalAttribute = 1e-6f;
    result = results::saveNodeImportanceTable(*run.program, existing);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("does not fit into the field dA"), std::string::npos) << result.error;

    EXPECT_EQ(readFile(existing), old);
    EXPECT_EQ(everythingIn(saves.path()), before);
}

}  // namespace
