// The temporary folder, long path names, the shell seam and the stay-on-top service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "winapi/FileSystem.h"
#include "winapi/Shell.h"
#include "winapi/Windows.h"

namespace {

using namespace winapi;
using testing_support::ScopedEnvironmentVariable;
using testing_support::TemporaryFolder;

TEST(GetTempPathA, GivesTheTemporaryFolderWithASeparatorOrTheSizeNeeded) {
    ScopedEnvironmentVariable folder("TMPDIR", "/var/tmp/work");
    char buffer[260];
    EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 14u);
    EXPECT_STREQ(buffer, "/var/tmp/work/");
    char small[8] = "unused";
    EXPECT_EQ(GetTempPathA(sizeof small, small), 15u);
    EXPECT_STREQ(small, "unused");
}

TEST(GetLongPathNameA, IsThePathItselfForAnExistingPathAndZeroOtherwise) {
    TemporaryFolder folder;
    const std::string file = folder.write("a.txt", "x");
    char buffer[260];
    EXPECT_EQ(GetLongPathNameA(file.c_str(), buffer, sizeof buffer), file.size());
    EXPECT_EQ(std::string(buffer), file);
    EXPECT_EQ(GetLongPathNameA(file.c_str(), buffer, 4), file.size() + 1);
    EXPECT_EQ(GetLongPathNameA((file + ".missing").c_str(), buffer, sizeof buffer), 0u);
}

TEST(ShellExecuteA, HandsTheRequestToTheShellInForce) {
    RecordingShell shell;
    EXPECT_GT(ShellExecuteA(nullptr, nullptr, "nodes.txt", nullptr, "/data/out/", SW_SHOWNORMAL), 32);
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0], (ShellRequest{"", "nodes.txt", "", "/data/out/", SW_SHOWNORMAL}));
}

TEST(SystemShell, ReportsAMissingFileWithoutStartingAnything) {
    TemporaryFolder folder;
    SystemShell system;
    EXPECT_EQ(system.execute(ShellRequest{"", "missing.pdf", "", folder.path().string(), SW_SHOWNORMAL}), 2);
}

class RecordingWindow : public Window {
public:
    void setStaysOnTop(bool onTop) override { calls.push_back(onTop ? "top" : "not top"); }
    void moveTo(int x, int y) override { calls.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    void resizeTo(int w, int h) override { calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h)); }
    std::vector<std::string> calls;
};

TEST(SetWindowPos, KeepsAWindowOnTopOrReleasesItAndMovesOnlyWhenAsked) {
    RecordingWindow window;
    EXPECT_NE(SetWindowPos(&window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 0);
    EXPECT_NE(SetWindowPos(&window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 0);
    EXPECT_NE(SetWindowPos(&window, nullptr, 10, 20, 300, 200, 0), 0);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"top", "not top", "move 10,20", "size 300x200"}));
    EXPECT_EQ(SetWindowPos(nullptr, HWND_TOPMOST, 0, 0, 0, 0, 3), 0);
}

}  // namespace
