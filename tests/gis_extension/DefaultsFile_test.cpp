// The settings file "defaults.txt": its path, its lenient reading of hand-edited files,
// a radius that is not a number, and its writing in CR LF lines that read back to the
// same settings, replacing the old file only once complete.
#include "gis_extension/DefaultsFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "com/NumberedFiles.h"
#include "support/TestFiles.h"
#include "sysutils/Exception.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/SafeFile.h"

namespace {

using gis_extension::_clsExtension;
namespace DefaultsFile = gis_extension::DefaultsFile;

struct Settings {
    bool allFeatures = false;
    double distanceLimit = 7.0;
    bool numberTable = false;
    bool distanceTable = true;
    bool distanceFile = false;
    std::string folder = "/kept/";

    bool operator==(const Settings&) const = default;
};

com::ComPtr<_clsExtension> extensionWith(const Settings& settings) {
    const auto extension = com::make<_clsExtension, gis_extension::clsExtension>();
    extension->put_CalcAllFeatures(settings.allFeatures);
    extension->put_DistanceLimit(settings.distanceLimit);
    extension->put_CalcNumberDBase(settings.numberTable);
    extension->put_CalcDistanceDBase(settings.distanceTable);
    extension->put_CalcDistanceASCII(settings.distanceFile);
    extension->put_DirectoryPath(settings.folder);
    return extension;
}

Settings settingsOf(const com::ComPtr<_clsExtension>& extension) {
    return {extension->CalcAllFeatures(),   extension->DistanceLimit(),     extension->CalcNumberDBase(),
            extension->CalcDistanceDBase(), extension->CalcDistanceASCII(), extension->DirectoryPath()};
}

TEST(DefaultsFile, LivesInTheLibrarysFolder) {
    EXPECT_EQ(DefaultsFile::SettingsPath("/opt/veltrano"), "/opt/veltrano/defaults.txt");
    EXPECT_EQ(DefaultsFile::SettingsPath("/opt/veltrano/"), "/opt/veltrano/defaults.txt");
    EXPECT_EQ(DefaultsFile::SettingsPath("/"), "/defaults.txt");
}

struct ReadCase {
    const char* name;
    std::string contents;
    Settings expected;
};

class ReadingSettings : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadingSettings, TakesOnlyTheSixKeys) {
    testing_support::TemporaryFolder folder;
    const auto extension = extensionWith(Settings{});
    DefaultsFile::ReadSettings(folder.write("defaults.txt", GetParam().contents), extension);
    const Settings read = settingsOf(extension);
    EXPECT_EQ(read, GetParam().expected) << "all " << read.allFeatures << " limit " << read.distanceLimit
                                         << " flags " << read.numberTable << read.distanceTable << read.distanceFile
                                         << " folder " << read.folder;
    EXPECT_FALSE(com::files::IsOpen(1));
}

const Settings written{false, 250.0, true, false, true, "/data/out/"};

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingSettings,
    ::testing::Values(
        ReadCase{"AsWritten", "1:F\r\n2:250\r\n3:T\r\n4:F\r\n5:T\r\n6:/data/out/\r\n", written},
        ReadCase{"ReversedWithBlankAndExtraLines",
                 "6:/data/out/\r\n\r\nmy settings\r\n5:T\r\n4:F\r\n3:T\r\nx\r\n2:250\r\n1:F\r\n", written},
        ReadCase{"LineFeedsAlone", "1:F\n2:250\n3:T\n4:F\n5:T\n6:/data/out/\n", written},
        ReadCase{"CarriageReturnsAloneAndNoLastLineEnd", "1:F\r2:250\r3:T\r4:F\r5:T\r6:/data/out/", written},
        ReadCase{"AllPairs", "1:T\r\n2:-9999\r\n", {true, -9999.0, false, true, false, "/kept/"}},
        // Only the line's last character counts: TRUE ends in E, t is not T.
        ReadCase{"OnlyALastCapitalTIsTrue", "1:t\r\n3:TRUE\r\n4:\r\n5:xT\r\n",
                 {false, 7.0, false, false, true, "/kept/"}},
        ReadCase{"TheLastOfARepeatedKeyCounts", "3:T\r\n3:F\r\n2:1\r\n2:2\r\n",
                 {false, 2.0, false, true, false, "/kept/"}},
        ReadCase{"MissingKeysKeepTheirValuesAndAnEmptyFolderIsAFolder", "6:\r\n", {false, 7.0, false, true, false, ""}},
        ReadCase{"KeysAreExact", "7:T\r\n 1:T\r\n1;T\r\n:1T\r\n1\r\n", Settings{}},
        ReadCase{"AnEmptyFile", "", Settings{}}),
    [](const ::testing::TestParamInfo<ReadCase>& param) { return param.param.name; });

TEST(DefaultsFile, ReadsTheRadiusWithTheRegionalSeparator) {
    sysutils::ScopedDecimalSeparator comma(',');
    testing_support::TemporaryFolder folder;
    const auto extension = extensionWith(Settings{});
    DefaultsFile::ReadSettings(folder.write("defaults.txt", "2:250,5\r\n"), extension);
    EXPECT_EQ(extension->DistanceLimit(), 250.5);
}

TEST(DefaultsFile, ARadiusThatIsNotANumberFailsAndClosesTheFile) {
    for (const std::string line : {"2:abc", "2:", "2:250.5.1"}) {
        testing_support::TemporaryFolder folder;
        const auto extension = extensionWith(Settings{});
        EXPECT_THROW(DefaultsFile::ReadSettings(folder.write("defaults.txt", "1:T\r\n" + line + "\r\n"), extension),
                     sysutils::EConvertError)
            << line;
        EXPECT_FALSE(com::files::IsOpen(1)) << line;
    }
}

TEST(DefaultsFile, WritesSixLinesThatReadBackToTheSameSettings) {
    struct Case {
        const char* name;
        Settings settings;
        char separator;
        std::string file;
    };
    const Case cases[] = {
        {"a radius", {false, 250.0, true, false, true, "/data/out/"}, '.',
         "1:F\r\n2:250\r\n3:T\r\n4:F\r\n5:T\r\n6:/data/out/\r\n"},
        {"all pairs", {true, -9999.0, false, true, false, ""}, '.', "1:T\r\n2:-9999\r\n3:F\r\n4:T\r\n5:F\r\n6:\r\n"},
        {"a decimal comma", {false, 250.5, true, true, true, "/a b/"}, ',',
         "1:F\r\n2:250,5\r\n3:T\r\n4:T\r\n5:T\r\n6:/a b/\r\n"},
        {"a radius that needs seventeen digits", {false, 0.1 + 0.2, false, false, true, "/x"}, '.',
         "1:F\r\n2:0.30000000000000004\r\n3:F\r\n4:F\r\n5:T\r\n6:/x\r\n"},
    };
    for (const Case& c : cases) {
        sysutils::ScopedDecimalSeparator separator(c.separator);
        testing_support::TemporaryFolder folder;
        const std::string path = folder.write("defaults.txt", "old settings\r\n");
        DefaultsFile::WriteSettings(path, extensionWith(c.settings));
        EXPECT_EQ(testing_support::readFile(path), c.file) << c.name;
        EXPECT_EQ(testing_support::everythingIn(folder.path()), std::set<std::string>{"defaults.txt"}) << c.name;
        const auto readBack = extensionWith(Settings{true, 1.0, false, false, false, "/other/"});
        DefaultsFile::ReadSettings(path, readBack);
        EXPECT_EQ(settingsOf(readBack), c.settings) << c.name;
        EXPECT_FALSE(com::files::IsOpen(1)) << c.name;
    }
}

// A file that cannot be replaced whole stays as it was, never emptied, and is no error.
TEST(DefaultsFile, AFileThatCannotBeReplacedStaysAsItWas) {
    const std::string old = "1:T\r\n2:5\r\n";
    struct Case {
        const char* name;
        std::function<std::string(const testing_support::TemporaryFolder&)> settingsFile;  // its path
        bool folderRefusesNewFiles = false;
    };
    const Case cases[] = {
        {"a folder in its place",
         [](const auto& folder) {
             std::filesystem::create_directory(folder.pathOf("defaults.txt"));
             return folder.pathOf("defaults.txt");
         }},
        {"a missing folder", [](const auto& folder) { return folder.pathOf("missing/defaults.txt"); }},
        // Writable itself, in a folder that takes no new file for its replacement.
        {"a folder that takes no new file", [&](const auto& folder) { return folder.write("defaults.txt", old); },
         true},
    };
    for (const Case& c : cases) {
        testing_support::TemporaryFolder folder;
        const std::string path = c.settingsFile(folder);
        const std::set<std::string> before = testing_support::everythingIn(folder.path());
        std::optional<sysutils::ScopedFolderRefusingNewFiles> refusing;
        if (c.folderRefusesNewFiles) refusing.emplace(folder.path().string());
        EXPECT_FALSE(DefaultsFile::WriteSettings(path, extensionWith(Settings{}))) << c.name;
        EXPECT_EQ(testing_support::everythingIn(folder.path()), before) << c.name;
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_EQ(testing_support::readFile(path), old) << c.name;
        }
        EXPECT_FALSE(com::files::IsOpen(1)) << c.name;
    }
}

}  // namespace
