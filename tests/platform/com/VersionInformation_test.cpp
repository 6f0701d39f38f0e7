// Version information: its text form written and read back, malformed texts refused
// with the line that is wrong, and the section of a shared object found by path.
#include "com/VersionInformation.h"

#include <gtest/gtest.h>

#include "com/Error.h"
#include "support/TestFiles.h"

namespace {

com::VersionInformation sampleInformation() {
    com::VersionInformation information;
    information.fileVersion = {1, 0, 0, 96};
    information.productVersion = {1, 0, 0, 96};
    information.texts = {{"FileVersion", "1.00.0096"}, {"ProductName", "Sample"}, {"OLESelfRegister", ""}};
    return information;
}

TEST(VersionInformation, ReadsBackWhatItWroteAndFindsItsTexts) {
    const com::VersionInformation information = sampleInformation();
    const std::string text = com::writeVersionInformation(information);
    EXPECT_EQ(text,
              "VERSIONINFO 1\nFILEVERSION=1.0.0.96\nPRODUCTVERSION=1.0.0.96\nFileVersion=1.00.0096\n"
              "ProductName=Sample\nOLESelfRegister=\n");
    EXPECT_EQ(com::readVersionInformation(text), information);
    EXPECT_EQ(information.text("OLESelfRegister"), std::string());
    EXPECT_EQ(information.text("ProductName"), "Sample");
    EXPECT_EQ(information.text("productname"), std::nullopt);
    // CR LF line ends (a text keeps no CR), empty lines and a text holding "=" read alike.
    const com::VersionInformation read = com::readVersionInformation(
        "VERSIONINFO 1\r\n\r\nPRODUCTVERSION=2.1.0.7\r\nFILEVERSION=65535.0.0.1\r\nComments=a=b\r\r\n");
    EXPECT_EQ(read.fileVersion, (com::VersionInformation::Version{65535, 0, 0, 1}));
    EXPECT_EQ(read.productVersion, (com::VersionInformation::Version{2, 1, 0, 7}));
    EXPECT_EQ(read.text("Comments"), "a=b");
}

struct MalformedCase {
    const char* name;
    std::string text;
    std::string line;
};

class MalformedVersionInformation : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedVersionInformation, IsRefusedNamingTheLine) {
    try {
        com::readVersionInformation(GetParam().text);
        FAIL() << "read";
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::VERSION_E_INVALIDDATA);
        EXPECT_NE(error.Description.find(GetParam().line), std::string::npos) << error.Description;
    }
}

const std::string versions = "VERSIONINFO 1\nFILEVERSION=1.0.0.96\nPRODUCTVERSION=1.0.0.96\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedVersionInformation,
    ::testing::Values(MalformedCase{"Empty", "", "line 0"},
                      MalformedCase{"NotVersionInformation", "TYPELIB 1\n", "line 1"},
                      MalformedCase{"NoEqualsSign", versions + "ProductName\n", "line 4"},
                      MalformedCase{"NoName", versions + "=Veltrano\n", "line 4"},
                      MalformedCase{"RepeatedName", versions + "A=1\nA=2\n", "line 5"},
                      MalformedCase{"RepeatedVersion", versions + "FILEVERSION=1.0.0.1\n", "line 4"},
                      MalformedCase{"ThreePartVersion", "VERSIONINFO 1\nFILEVERSION=1.0.96\n", "line 2"},
                      MalformedCase{"VersionPartTooLarge", "VERSIONINFO 1\nFILEVERSION=1.0.0.65536\n", "line 2"},
                      MalformedCase{"VersionWithBlank", "VERSIONINFO 1\nFILEVERSION=1.0.0.96 \n", "line 2"},
                      MalformedCase{"NegativeVersionPart", "VERSIONINFO 1\nFILEVERSION=1.-1.0.96\n", "line 2"},
                      MalformedCase{"NoProductVersion", "VERSIONINFO 1\nFILEVERSION=1.0.0.96\n", "line 2"}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) { return param.param.name; });

TEST(VersionInformation, IsLoadedFromATextFileAndRefusedFromAFileWithoutIt) {
    testing_support::TemporaryFolder folder;
    const std::string text = com::writeVersionInformation(sampleInformation());
    EXPECT_EQ(com::loadVersionInformation(folder.write("version.txt", text)), sampleInformation());
    for (const std::string& path : {folder.pathOf("missing.txt"), folder.write("empty.txt", "")}) {
        try {
            com::loadVersionInformation(path);
            FAIL() << path;
        } catch (const com::Error& error) {
            EXPECT_TRUE(error.Number == com::VERSION_E_CANTLOAD || error.Number == com::VERSION_E_INVALIDDATA)
                << path;
        }
    }
    // An ELF image without the section holds none.
    EXPECT_TRUE(com::versionInformationSection("\x7f" "ELF").empty());
}

}  // namespace
