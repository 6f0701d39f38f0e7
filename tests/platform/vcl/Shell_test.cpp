// The system shell opens a document with an opener program and tells, itself, when the
// document is missing or no program could open it; the window does not wait for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"
#include "vcl/Shell.h"

namespace {

namespace fs = std::filesystem;

struct OpenCase {
    const char* name;
    bool documentExists;
    // The opener's shell script after it noted its argument; empty: there is no opener.
    const char* opener;
    const char* expectedText;  // "missing", "no program", or empty for no box
};

class SystemShellOpening : public ::testing::TestWithParam<OpenCase> {
protected:
    void TearDown() override { fs::current_path(saved); }
    fs::path saved = fs::current_path();
    testing_support::TemporaryFolder folder;
    sysutils::ScriptedMessageBoxes boxes;
};

TEST_P(SystemShellOpening, TheOpenerGetsTheDocumentOrTheUserIsToldWhyNot) {
    const OpenCase& c = GetParam();
    fs::create_directories(folder.path() / "help");
    const std::string document = (folder.path() / "help" / "manual.pdf").string();
    if (c.documentExists) folder.write("help/manual.pdf", "%PDF-1.4\n");
    std::string opener = (folder.path() / "no-such-opener").string();
    if (*c.opener) {
        opener = folder.write("opener", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/asked\"\n" +
                                            std::string(c.opener) + "\n");
        fs::permissions(opener, fs::perms::owner_all);
    }

    fs::current_path(folder.path());
    vcl::SystemShell shell(opener);
    // Told with the box for a missing document only.
    const std::string howToGetIt = "The build writes it";
    shell.openDocument("help/manual.pdf", howToGetIt);
    shell.waitForOpeners();

    const std::string kind = c.expectedText;
    const std::string expected = kind == "missing"      ? vcl::documentMissingText(document, howToGetIt)
                                 : kind == "no program" ? vcl::noProgramForDocumentText(document)
                                                        : "";
    std::vector<sysutils::MessageBox> expectedBoxes;
    if (!expected.empty()) expectedBoxes.push_back({expected, "Error!", sysutils::MessageButtons::Ok});
    EXPECT_EQ(boxes.boxes(), expectedBoxes);
    // A missing document is told before any opener runs; otherwise the opener got its whole path.
    const bool asked = fs::exists(folder.path() / "asked");
    EXPECT_EQ(asked, c.documentExists && *c.opener);
    if (asked) {
        EXPECT_EQ(testing_support::readFile(folder.pathOf("asked")), document);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemShellOpening,
    ::testing::Values(OpenCase{"Opened", true, "exit 0", ""},
                      OpenCase{"DocumentMissing", false, "exit 0", "missing"},
                      OpenCase{"NoProgramForItsType", true, "exit 3", "no program"},
                      OpenCase{"OpenerFailed", true, "exit 4", "no program"},
                      OpenCase{"OpenerCrashed", true, "kill -9 $$", "no program"},
                      OpenCase{"DocumentGoneBeforeTheOpenerLooked", true, "exit 2", "missing"},
                      OpenCase{"NoOpenerAtAll", true, "", "no program"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ShellTexts, NameTheFileAndTheViewerItsTypeNeeds) {
    EXPECT_EQ(vcl::documentMissingText("/opt/brelmark/help/Brelmarkmanual.pdf"),
              "Cannot open file /opt/brelmark/help/Brelmarkmanual.pdf (the file does not exist)");
    EXPECT_EQ(vcl::documentMissingText("/opt/brelmark/help/Brelmarkmanual.pdf", "The build writes it"),
              "Cannot open file /opt/brelmark/help/Brelmarkmanual.pdf (the file does not exist)\n"
              "The build writes it");
    EXPECT_EQ(vcl::noProgramForDocumentText("/opt/brelmark/help/Brelmarkmanual.pdf"),
              "Cannot open file /opt/brelmark/help/Brelmarkmanual.pdf (no program to show it was found)\n"
              "A PDF viewer is needed: install one and try again");
}

}  // namespace
