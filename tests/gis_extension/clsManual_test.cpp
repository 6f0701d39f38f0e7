// The documentation command: with the manual in the library's folder a click opens it
// through the shell; without it, one message names the folder where it belongs.
#include "gis_extension/clsManual.h"

#include <gtest/gtest.h>

#include "gis_extension/LibraryFolder.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "winapi/Shell.h"

namespace {

struct Case {
    const char* name;
    bool manualPresent;
    std::string folderSuffix;  // appended to the temporary folder's path
};

class clsManualClick : public ::testing::TestWithParam<Case> {};

TEST_P(clsManualClick, OpensTheManualOrSaysWhereItBelongs) {
    testing_support::RecordingErrorReport reports;
    sysutils::ScriptedMessageBoxes boxes;
    winapi::RecordingShell shell;
    testing_support::TemporaryFolder folder;
    if (GetParam().manualPresent) folder.write("Veltrano_ID.pdf", "%PDF-1.4\n");
    const std::string libraryFolder = folder.path().string() + GetParam().folderSuffix;
    gis_extension::ScopedLibraryFolder library(libraryFolder);

    const auto command = com::make<gishost::ICommand, gis_extension::clsManual>();
    command->OnClick();

    if (GetParam().manualPresent) {
        ASSERT_EQ(shell.requests().size(), 1u);
        EXPECT_EQ(shell.requests()[0],
                  (winapi::ShellRequest{"", "Veltrano_ID.pdf", "", libraryFolder, winapi::SW_SHOWNORMAL}));
        EXPECT_TRUE(boxes.boxes().empty());
    } else {
        EXPECT_TRUE(shell.requests().empty());
        const std::vector<sysutils::MessageBox> shown = boxes.boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], (sysutils::MessageBox{"Unable to find Veltrano Documentation file!\r\n\r\n"
                                                  "File 'Veltrano_ID.pdf' should be located in the following "
                                                  "folder:\r\n  --> " + libraryFolder,
                                                  "Veltrano", sysutils::MessageButtons::Ok,
                                                  sysutils::MessageIcon::None}));
    }
    EXPECT_TRUE(reports.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, clsManualClick,
    ::testing::Values(Case{"ManualPresent", true, ""},
                      // The separator is added whatever the folder ends in.
                      Case{"ManualPresentFolderEndingInSeparator", true, "/"},
                      Case{"ManualMissing", false, ""},
                      Case{"ManualMissingFolderEndingInSeparator", false, "/"}),
    [](const ::testing::TestParamInfo<Case>& param) { return param.param.name; });

}  // namespace
