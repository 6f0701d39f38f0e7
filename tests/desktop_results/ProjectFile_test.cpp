// The project file: its 21 lines as written, a save and a reopen giving the same values,
// lines of any length read whole, the exact fallbacks of hand-made files, the messages
// of files that cannot be opened or are incomplete, and saves that cannot be written.
#include "desktop/results/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "engine/support/InputFilesRun.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"

namespace {

using desktop::results::ProjectSettings;
using desktop::results::readProjectFile;
using desktop::results::writeProjectFile;
using testing_support::errorBox;
using testing_support::readFile;
using testing_support::TemporaryFolder;

ProjectSettings everythingSet() {
    ProjectSettings s;
    s.nodesFile = "/data/nodes.txt";
    s.connectionsFile = "/data/distances_partial.txt";
    s.fullStructure = false;
    s.connectionType = desktop::results::probabilitiesType;
    s.addNodes = true;
    s.landscapeAttribute = "1000";
    s.ccp = s.lcp = s.iic = s.nc = s.nl = s.h = true;
    s.threshold = "0,5";
    s.f = s.awf = s.pc = s.a = true;
    s.distance = "1000";
    s.probability = "0.5";
    s.minimumProbability = "0";
    s.allPaths = true;
    return s;
}

TEST(ProjectFile, WritesTwentyOneKeyValueLinesEndedByCarriageReturnAndLineFeed) {
    ProjectSettings s;
    s.nodesFile = "/data/nodes.txt";
    s.connectionType = desktop::results::linksType;
    s.iic = s.pc = true;
    s.threshold = "1";
    s.minimumProbability = "0.01";
    EXPECT_EQ(desktop::results::projectFileText(s),
              "nodesf=/data/nodes.txt\r\nconnectionsf=\r\nstructtype=Full\r\ncontype=Links\r\nadd=false\r\nland=\r\n"
              "ccp=false\r\nlcp=false\r\niic=true\r\nnc=false\r\nnl=false\r\nh=false\r\ndistAdj=1\r\nf=false\r\n"
              "awf=false\r\npc=true\r\na=false\r\ndistProb=\r\nprob=\r\nminProb=0.01\r\nallpaths=false\r\n");
}

struct RoundTripCase {
    std::string name;
    ProjectSettings settings;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.name; }

class ProjectRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ProjectRoundTrip, ReopensAsSaved) {
    TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string path = folder.pathOf("NewProject1.txt");
    ASSERT_TRUE(writeProjectFile(path, GetParam().settings));
    EXPECT_EQ(readProjectFile(path), GetParam().settings);
    EXPECT_TRUE(boxes.boxes().empty());
}

ProjectSettings longValues() {
    ProjectSettings s = everythingSet();
    s.nodesFile = "/" + std::string(2600, 'n') + "/nodes.txt";
    s.landscapeAttribute = std::string(300, '7');
    s.minimumProbability = "0." + std::string(298, '1');
    return s;
}

ProjectSettings unselected() {
    ProjectSettings s;
    s.connectionType = desktop::results::noConnectionType;
    s.connectionsFile = "values with = signs and\ttabs";
    return s;
}

INSTANTIATE_TEST_SUITE_P(Settings, ProjectRoundTrip,
                         ::testing::Values(RoundTripCase{"EverythingSet", everythingSet()},
                                           RoundTripCase{"Defaults", ProjectSettings{}},
                                           RoundTripCase{"NoConnectionTypeAndOddTexts", unselected()},
                                           RoundTripCase{"ValuesOfThreeHundredCharacters", longValues()}),
                         [](const auto& param) { return param.param.name; });

// A valid file with line `number` (1 to 21) replaced.
std::string withLine(int number, const std::string& line, const std::string& lineEnd = "\r\n") {
    std::string text = desktop::results::projectFileText(everythingSet());
    std::string result;
    int current = 1;
    for (std::size_t start = 0; start < text.size(); ++current) {
        const std::size_t end = text.find("\r\n", start);
        result += (current == number ? line : text.substr(start, end - start)) + lineEnd;
        start = end + 2;
    }
    return result;
}

struct HandMadeCase {
    std::string name;
    std::string text;
    std::function<bool(const ProjectSettings&)> holds;
};

void PrintTo(const HandMadeCase& c, std::ostream* out) { *out << c.name; }

class HandMadeProject : public ::testing::TestWithParam<HandMadeCase> {};

TEST_P(HandMadeProject, OpensAsStated) {
    TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const auto settings = readProjectFile(folder.write("project.txt", GetParam().text));
    ASSERT_TRUE(settings.has_value());
    EXPECT_TRUE(GetParam().holds(*settings));
    EXPECT_TRUE(boxes.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, HandMadeProject,
    ::testing::Values(
        HandMadeCase{"LowerCaseFullIsFull", withLine(3, "structtype=full"),
                     [](const ProjectSettings& s) { return s.fullStructure; }},
        HandMadeCase{"PartialIsPartial", withLine(3, "structtype=Partial"),
                     [](const ProjectSettings& s) { return !s.fullStructure; }},
        HandMadeCase{"LowerCasePartialIsFull", withLine(3, "structtype=partial"),
                     [](const ProjectSettings& s) { return s.fullStructure; }},
        HandMadeCase{"LowerCaseLinksIsNoType", withLine(4, "contype=links"),
                     [](const ProjectSettings& s) { return s.connectionType == desktop::results::noConnectionType; }},
        HandMadeCase{"DistancesIsTheFirstItem", withLine(4, "contype=Distances"),
                     [](const ProjectSettings& s) { return s.connectionType == desktop::results::distancesType; }},
        HandMadeCase{"CapitalTrueLeavesUnchecked", withLine(7, "ccp=TRUE"),
                     [](const ProjectSettings& s) { return !s.ccp && s.lcp; }},
        HandMadeCase{"TrueWithATrailingBlankLeavesUnchecked", withLine(5, "add=true "),
                     [](const ProjectSettings& s) { return !s.addNodes; }},
        HandMadeCase{"AllPathsOnlyByTrue", withLine(21, "allpaths=yes"),
                     [](const ProjectSettings& s) { return !s.allPaths; }},
        HandMadeCase{"KeysAreNotLookedAt", withLine(6, "whatever=250"),
                     [](const ProjectSettings& s) { return s.landscapeAttribute == "250"; }},
        HandMadeCase{"ValueFollowsTheFirstEqualsSign", withLine(1, "nodesf=/a=b/nodes.txt"),
                     [](const ProjectSettings& s) { return s.nodesFile == "/a=b/nodes.txt"; }},
        HandMadeCase{"LineWithoutEqualsSignGivesEmpty", withLine(13, "distAdj 0.5"),
                     [](const ProjectSettings& s) { return s.threshold.empty() && s.f; }},
        HandMadeCase{"LineFeedsAlone", withLine(1, "nodesf=/data/nodes.txt", "\n"),
                     [](const ProjectSettings& s) { return s == everythingSet(); }},
        HandMadeCase{"LastLineWithoutLineEnd",
                     [] {
                         std::string text = withLine(21, "allpaths=true");
                         return text.substr(0, text.size() - 2);
                     }(),
                     [](const ProjectSettings& s) { return s.allPaths; }},
        HandMadeCase{"LongValueShiftsNoLine", withLine(6, "land=" + std::string(3000, '1')),
                     [](const ProjectSettings& s) {
                         return s.landscapeAttribute == std::string(3000, '1') && s.ccp &&
                                s.minimumProbability == "0" && s.allPaths;
                     }}),
    [](const auto& param) { return param.param.name; });

TEST(ProjectFile, IncompleteFileIsReportedAndItsLinesApplied) {
    TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    std::string twenty = withLine(21, "");
    twenty.resize(twenty.size() - 2);  // the 21st line is gone, line 20 keeps its line end
    const std::string path = folder.write("project.txt", twenty);
    const auto settings = readProjectFile(path);
    ASSERT_TRUE(settings.has_value());
    ProjectSettings expected = everythingSet();
    expected.allPaths = false;
    EXPECT_EQ(*settings, expected);
    const std::string empty = folder.write("empty.txt", "");
    EXPECT_EQ(readProjectFile(empty), ProjectSettings{});
    EXPECT_EQ(boxes.boxes(),
              (std::vector<sysutils::MessageBox>{errorBox("Error opening file " + path + "\n Incomplete file"),
                                                 errorBox("Error opening file " + empty + "\n Incomplete file")}));
}

TEST(ProjectFile, FileThatCannotBeOpenedIsReportedAndGivesNothing) {
    TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
    const std::string missing = folder.pathOf("missing.txt");
    const std::string aFolder = folder.path().string();
    EXPECT_FALSE(readProjectFile(missing).has_value());
    EXPECT_FALSE(readProjectFile(aFolder).has_value());
    EXPECT_EQ(boxes.boxes(), (std::vector<sysutils::MessageBox>{errorBox("Error opening file " + missing),
                                                                errorBox("Error opening file " + aFolder)}));
}

TEST(ProjectFile, SaveThatCannotBeWrittenFailsAndWritesNothing) {
    TemporaryFolder folder;
    const std::string missingFolder = folder.pathOf("vanished") + "/NewProject1.txt";
    sysutils::SaveResult result = writeProjectFile(missingFolder, everythingSet());
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind("Cannot save " + missingFolder + ": ", 0), 0u) << result.error;

    const std::string old = desktop::results::projectFileText(ProjectSettings{});
    const std::string existing = folder.write("project.txt", old);
    {
        sysutils::ScopedFileFault diskFull(sysutils::FileFault::Write, 100);
        result = writeProjectFile(existing, everythingSet());
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(readFile(existing), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()),
              1);
}

}  // namespace
