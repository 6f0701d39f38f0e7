// Saving a whole file through a temporary file and a rename: a save either puts the
// complete new contents in place or fails with a reason that names the file, leaving an
// existing file byte for byte as it was and no temporary file behind.
#include "sysutils/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "support/TestFiles.h"

namespace {

using sysutils::FileFault;
using sysutils::SaveFileSafely;
using sysutils::ScopedFileFault;
using testing_support::everythingIn;
using testing_support::openDescriptors;
using testing_support::readFile;
using testing_support::TemporaryFolder;

const std::string oldContents = "old line 1\r\nold line 2\r\n";
const std::string newContents = "new line 1\r\nnew line 2\r\nnew line 3\r\n";

TEST(SaveFileSafely, WritesANewFileByteForByteAndLeavesNothingElse) {
    TemporaryFolder folder;
    const std::string target = folder.pathOf("node_importances.txt");
    const sysutils::SaveResult result = SaveFileSafely(target, newContents);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(readFile(target), newContents);
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"node_importances.txt"}));
}

TEST(SaveFileSafely, ReplacesAnExistingFileAndKeepsItsPermissions) {
    TemporaryFolder folder;
    const std::string target = folder.write("links.txt", oldContents);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(SaveFileSafely(target, newContents));
    EXPECT_EQ(readFile(target), newContents);
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"links.txt"}));
}

TEST(SaveFileSafely, RelativeNameSavesIntoTheCurrentFolder) {
    TemporaryFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const sysutils::SaveResult result = SaveFileSafely("components.txt", newContents);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(readFile(folder.pathOf("components.txt")), newContents);
    EXPECT_EQ(everythingIn(folder.path()).size(), 1u);
}

struct FailureCase {
    std::string name;
    // Prepares the folder and returns the target; an existing target holds oldContents.
    std::function<std::string(const TemporaryFolder&)> target;
    std::optional<FileFault> fault;
    std::size_t bytesBeforeFailure;
    std::string reason;  // part of the error text after the file's name
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class SaveThatCannotComplete : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SaveThatCannotComplete, FailsNamingTheFileAndLosesNothing) {
    const FailureCase& c = GetParam();
    TemporaryFolder folder;
    const std::string target = c.target(folder);
    const bool existed = std::filesystem::is_regular_file(target);
    const std::set<std::string> before = everythingIn(folder.path());
    const std::size_t descriptors = openDescriptors();

    std::optional<ScopedFileFault> fault;
    if (c.fault) fault.emplace(*c.fault, c.bytesBeforeFailure);
    const sysutils::SaveResult result = SaveFileSafely(target, newContents);
    fault.reset();

    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind("Cannot save " + target + ": ", 0), 0u) << result.error;
    EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
    if (existed) {
        EXPECT_EQ(readFile(target), oldContents);
    }
    EXPECT_EQ(everythingIn(folder.path()), before);
    EXPECT_EQ(openDescriptors(), descriptors);
}

std::string existingTarget(const TemporaryFolder& folder) { return folder.write("overall_indices.txt", oldContents); }

INSTANTIATE_TEST_SUITE_P(
    Failures, SaveThatCannotComplete,
    ::testing::Values(
        FailureCase{"MissingFolder",
                    [](const TemporaryFolder& f) { return f.pathOf("vanished") + "/overall_indices.txt"; },
                    std::nullopt, 0, "cannot create a file in the folder"},
        FailureCase{"PlainFileWhereTheFolderShouldBe",
                    [](const TemporaryFolder& f) { return f.write("plain", "x") + "/overall_indices.txt"; },
                    std::nullopt, 0, "Not a directory"},
        FailureCase{"FolderStandsWhereTheFileShouldBe",
                    [](const TemporaryFolder& f) {
                        std::filesystem::create_directory(f.path() / "overall_indices.txt");
                        return f.pathOf("overall_indices.txt");
                    },
                    std::nullopt, 0, "cannot replace the file"},
        FailureCase{"DiskFullAtTheFirstByte", existingTarget, FileFault::Write, 0, "No space left on device"},
        FailureCase{"DiskFullHalfway", existingTarget, FileFault::Write, 15, "writing failed"},
        FailureCase{"FlushToDiskFails", existingTarget, FileFault::Sync, 0, "writing to disk failed"}),
    [](const auto& param) { return param.param.name; });

TEST(TemporaryFileBeside, IsRemovedWhenNotCommitted) {
    TemporaryFolder folder;
    const std::string target = folder.write("bdsntmp.dbf", oldContents);
    std::string temporary;
    {
        sysutils::TemporaryFileBeside file(target, ".dbf");
        ASSERT_TRUE(file.created()) << file.error();
        temporary = file.path();
        EXPECT_EQ(std::filesystem::path(temporary).parent_path(), folder.path());
        EXPECT_EQ(std::filesystem::path(temporary).extension(), ".dbf");
        EXPECT_TRUE(file.write("partial"));
    }
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(readFile(target), oldContents);
}

// A new output takes its name only while the name is free: a file that appeared there
// meanwhile is never replaced.
TEST(TemporaryFileBeside, CommittedAsANewFileNeverReplacesOne) {
    for (const bool nameTaken : {false, true}) {
        TemporaryFolder folder;
        const std::string target = folder.pathOf("nodes.txt");
        sysutils::TemporaryFileBeside file(target, ".tmp");
        ASSERT_TRUE(file.created()) << file.error();
        ASSERT_TRUE(file.write(newContents) && file.finish());
        if (nameTaken) folder.write("nodes.txt", oldContents);
        EXPECT_EQ(file.commitAsNewFile(), !nameTaken) << nameTaken;
        EXPECT_EQ(readFile(target), nameTaken ? oldContents : newContents);
        if (nameTaken) {
            EXPECT_EQ(file.systemError(), EEXIST);
        }
        file.discard();
        EXPECT_EQ(everythingIn(folder.path()), std::set<std::string>{"nodes.txt"}) << nameTaken;
    }
}

}  // namespace
