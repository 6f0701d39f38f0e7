// Text, path and file utilities: the tokenizer with its quotes, substitution, path
// parts, file tests, unique names, the system folders and digit grouping.
#include "gis_toolkit/aml_func_mod.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gis_toolkit/support/RecordingErrorReport.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "sysutils/FormatSettings.h"
#include "winapi/Registry.h"

namespace {

using namespace gis_toolkit::aml_func_mod;
using testing_support::TemporaryFolder;
using Parts = std::vector<std::string>;

struct ParseCase {
    const char* name;
    std::string text;
    std::string delimiter;
    Parts parts;
};

class ParseStringCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseStringCases, SplitsAsExpected) {
    Parts parts{"untouched"};
    ParseString(GetParam().text, parts, GetParam().delimiter);
    EXPECT_EQ(parts, GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseStringCases,
    ::testing::Values(ParseCase{"Plain", "a/b/c", "/", {"a", "b", "c"}},
                      ParseCase{"DoubledDelimiterGivesAnEmptyPart", "a//b", "/", {"a", "", "b"}},
                      ParseCase{"TrailingDelimiter", "C:/x/", "/", {"C:", "x"}},
                      ParseCase{"AbsolutePathStartsEmpty", "/data/out/nodes.txt", "/", {"", "data", "out", "nodes.txt"}},
                      ParseCase{"UnclosedQuoteStopsSplitting", "C:/it's here/f.txt", "/", {"C:", "it's here/f.txt"}},
                      ParseCase{"QuotedStretchLosesItsQuotes", "'a/b'/c", "/", {"a/b", "c"}},
                      ParseCase{"RunsOfBlanksAreOneSeparator", "one   two three", " ", {"one", "two", "three"}},
                      ParseCase{"LongDelimiterNeverSplits", "a//b", "//", {"a//b"}},
                      ParseCase{"OnlyDelimitersLeaveThePartsUntouched", " / /", "/", {"untouched"}},
                      ParseCase{"EmptyTextLeavesThePartsUntouched", "", "/", {"untouched"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Subst, RemovesOrOverwritesEveryOccurrence) {
    EXPECT_EQ(Subst("a-b-c", "-"), "abc");
    EXPECT_EQ(Subst("aXXb", "X"), "ab");
    EXPECT_EQ(Subst("a.b.c", ".", std::string(",")), "a,b,c");
    // A replacement overwrites as many characters as it has; the length never changes.
    EXPECT_EQ(Subst("ab.cd", ".", std::string("xyz")), "abxyz");
    EXPECT_EQ(Subst("abc.", ".", std::string("xyz")), "abcx");
    // Nothing to find, or an empty search, changes nothing (and never hangs).
    EXPECT_EQ(Subst("abc", "z"), "abc");
    EXPECT_EQ(Subst("abc", ""), "abc");
    EXPECT_EQ(Subst("abc", "b", std::string()), "ac");
    EXPECT_EQ(Before("key=value=x", "="), "key");
    EXPECT_EQ(After("key=value=x", "="), "value=x");
    EXPECT_EQ(Before("=x", "="), "");
    EXPECT_EQ(After("x", "="), "");
}

struct PathCase {
    const char* name;
    std::string path;
    std::string folder;
    std::string file;
};

class PathParts : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathParts, SplitIntoFolderAndLastPart) {
    EXPECT_EQ(ReturnDir(GetParam().path), GetParam().folder);
    EXPECT_EQ(ReturnFilename(GetParam().path), GetParam().file);
}

// A path is split at every separator, whatever its names hold: the tokenizer's quotes
// and trimming would take "it's here/f.txt" for one name, or " out " for "out".
INSTANTIATE_TEST_SUITE_P(
    Paths, PathParts,
    ::testing::Values(PathCase{"FileInAFolder", "/data/out/nodes.txt", "/data/out/", "nodes.txt"},
                      PathCase{"TrailingSeparatorDropsTheLastFolder", "/data/out/", "/data/", "out"},
                      PathCase{"OnlyOneTrailingSeparatorIsDropped", "/data/out//", "/data/out/", ""},
                      PathCase{"DoubledSeparatorKeepsAnEmptyPart", "a//b", "a//", "b"},
                      PathCase{"BareName", "nodes.txt", "nodes.txt/", "nodes.txt"},
                      PathCase{"FileAtTheRoot", "/nodes.txt", "/", "nodes.txt"},
                      PathCase{"ApostropheInAFolder", "C:/it's here/f.txt", "C:/it's here/", "f.txt"},
                      PathCase{"ApostropheInTheFirstPart", "it's here/out/", "it's here/", "out"},
                      PathCase{"ApostropheInTheName", "/data/Ann's.dbf", "/data/", "Ann's.dbf"},
                      PathCase{"TwoApostrophesInAFolder", "/data/it's Ann's/count.dbf", "/data/it's Ann's/", "count.dbf"},
                      PathCase{"ApostrophesAroundSeparators", "/data/'a/b'/c.txt", "/data/'a/b'/", "c.txt"},
                      PathCase{"BlanksAroundNamesAreKept", " /data/ out /nodes.txt ", " /data/ out /", "nodes.txt "},
                      PathCase{"AFolderNamedBlank", "/data/ /x", "/data/ /", "x"},
                      PathCase{"OtherCharactersUsersType", "/d/#1 [50%] (a) {b} -x/é東.txt", "/d/#1 [50%] (a) {b} -x/",
                               "é東.txt"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ReturnDir, OfNothingButSeparatorsReportsAndReturnsEmpty) {
    testing_support::RecordingErrorReport reports;
    EXPECT_EQ(ReturnDir("/ /"), "");
    EXPECT_EQ(ReturnFilename(""), "");
    ASSERT_EQ(reports.shown().size(), 2u);
    EXPECT_NE(reports.shown()[0].find("\tReturnDir aml_func_mod \r\n"), std::string::npos);
    EXPECT_NE(reports.shown()[0].find("Subscript out of range"), std::string::npos);
    for (const char* path : {"", "/", "//", "   ", " / "}) {
        SCOPED_TRACE(std::string("\"") + path + "\"");
        EXPECT_EQ(ReturnDir(path), "");
        EXPECT_EQ(ReturnFilename(path), "");
    }
    ASSERT_EQ(reports.shown().size(), 12u);
    EXPECT_NE(reports.shown()[11].find("\tReturnFilename aml_func_mod \r\n"), std::string::npos);
    EXPECT_NE(reports.shown()[11].find("Subscript out of range"), std::string::npos);
}

TEST(FileTests, TellFilesFoldersAndPatternsApart) {
    TemporaryFolder folder;
    const std::string file = folder.write("nodes.txt", "1\t2\r\n");
    folder.write(".hidden.txt", "");
    std::filesystem::create_directory(folder.pathOf("sub"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder.pathOf("*.txt")));
    EXPECT_TRUE(FileExists(folder.pathOf("node?.txt")));
    EXPECT_FALSE(FileExists(folder.pathOf("sub")));
    EXPECT_FALSE(FileExists(folder.pathOf(".hidden.txt")));
    EXPECT_FALSE(FileExists(folder.pathOf("*.pdf")));
    EXPECT_FALSE(FileExists(folder.pathOf("missing/nodes.txt")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(ExistFileDir(file));
    EXPECT_TRUE(ExistFileDir(folder.pathOf("sub")));
    EXPECT_FALSE(ExistFileDir(folder.pathOf("missing")));
    EXPECT_FALSE(ExistFileDir(""));
}

struct UniqueCase {
    const char* name;
    std::vector<std::string> present;
    std::string asked;
    std::string unique;
};

class UniqueNames : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(UniqueNames, TakeTheFirstFreeNumberFromTwo) {
    TemporaryFolder folder;
    for (const std::string& name : GetParam().present) folder.write(name, "");
    EXPECT_EQ(MakeUniqueFilename(folder.pathOf(GetParam().asked)), folder.pathOf(GetParam().unique));
}

INSTANTIATE_TEST_SUITE_P(
    Names, UniqueNames,
    ::testing::Values(UniqueCase{"Free", {}, "nodes.txt", "nodes.txt"},
                      UniqueCase{"Taken", {"nodes.txt"}, "nodes.txt", "nodes_2.txt"},
                      UniqueCase{"TwoTaken", {"nodes.txt", "nodes_2.txt"}, "nodes.txt", "nodes_3.txt"},
                      UniqueCase{"OnlyTheSecondTaken", {"nodes_2.txt"}, "nodes.txt", "nodes.txt"},
                      UniqueCase{"DotOutsideTheLastFiveCharacters", {"table.html5"}, "table.html5", "table.html5_2"},
                      UniqueCase{"NoExtension", {"README"}, "README", "README_2"},
                      UniqueCase{"DatabaseTable", {"count.dbf"}, "count.dbf", "count_2.dbf"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SystemFolders, ComeFromTheSystem) {
    testing_support::ScopedEnvironmentVariable temporary("TMPDIR", "/var/tmp");
    EXPECT_EQ(TempPathLocation(), "/var/tmp/");
    TemporaryFolder folder;
    EXPECT_EQ(GetFullFileString(folder.path().string()), folder.path().string());
    EXPECT_EQ(GetFullFileString("/no/such/path"), "/no/such/path");
}

TEST(SystemFolders, ATemporaryFolderTooLongForTheBufferIsReported) {
    testing_support::RecordingErrorReport reports;
    testing_support::ScopedEnvironmentVariable temporary("TMPDIR", "/" + std::string(300, 't'));
    EXPECT_EQ(TempPathLocation(), "");
    ASSERT_EQ(reports.shown().size(), 1u);
    EXPECT_NE(reports.shown()[0].find("\tTempPathLocation aml_func_mod \r\n"), std::string::npos);
}

struct RegistryCase {
    std::int32_t selector;
    winapi::HKEY root;
    const char* key;
    const char* value;
    const char* failure;
};

TEST(ReturnArcGISGeneralDir, ReadsTheFiveFoldersOrAnswersWithTheFailureText) {
    const RegistryCase cases[] = {
        {0, winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastBrowseLocation",
         "Unable to determine ArcGIS Last Browsed To location!"},
        {1, winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastExportToLocation",
         "Unable to determine ArcGIS Last Exported To location!"},
        {2, winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastLocation",
         "Unable to determine ArcGIS Last location!"},
        {3, winapi::HKEY_CURRENT_USER, "Software\\ESRI\\ArcCatalog\\Settings", "LastSaveToLocation",
         "Unable to determine ArcGIS Last Saved To location!"},
        {4, winapi::HKEY_LOCAL_MACHINE, "Software\\ESRI\\ArcGIS", "InstallDir",
         "Unable to determine ArcGIS Install location!"},
    };
    for (const RegistryCase& entry : cases) {
        SCOPED_TRACE(entry.selector);
        testing_support::ScopedRegistry registry;
        EXPECT_EQ(ReturnArcGISGeneralDir(entry.selector), entry.failure);  // no key
        winapi::registry::writeString(entry.root, entry.key, "Unrelated", "x");
        EXPECT_EQ(ReturnArcGISGeneralDir(entry.selector), entry.failure);  // key without the value
        winapi::registry::writeString(entry.root, entry.key, entry.value, "/data/last/");
        EXPECT_EQ(ReturnArcGISGeneralDir(entry.selector), "/data/last");  // one trailing separator dropped
    }
    EXPECT_EQ(ReturnArcGISGeneralDir(7), "");
    EXPECT_EQ(ReturnArcGISGeneralDir(-1), "");
}

struct CommasCase {
    const char* name;
    com::Variant value;
    std::string text;
};

class Commas : public ::testing::TestWithParam<CommasCase> {};

TEST_P(Commas, GroupTheIntegerDigitsByThree) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(InsertCommas(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Commas,
    ::testing::Values(CommasCase{"Seven", std::int32_t{1234567}, "1,234,567"},
                      CommasCase{"Six", std::int32_t{123456}, "123,456"},
                      CommasCase{"Four", std::int32_t{1234}, "1,234"},
                      CommasCase{"Three", std::int32_t{999}, "999"},
                      CommasCase{"DecimalsKept", 1234.5678, "1,234.5678"},
                      CommasCase{"TextOfDigits", std::string("5678"), "5,678"},
                      CommasCase{"NegativeKeepsItsSignOutsideTheGroups", std::int32_t{-123}, "-123"},
                      CommasCase{"NegativeGrouped", std::int32_t{-1234567}, "-1,234,567"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
