// Numbered files: the line ends they read, the reopening of a number that is still
// open, and the run-time's errors for paths that cannot be used.
#include "com/NumberedFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <string>
#include <vector>

#include "com/Error.h"
#include "support/TestFiles.h"

namespace {

using namespace com::files;
using testing_support::readFile;
using testing_support::TemporaryFolder;

std::vector<std::string> linesOf(const std::string& path) {
    std::vector<std::string> lines;
    Open(1, path, OpenMode::Input);
    while (!Eof(1)) lines.push_back(LineInput(1));
    Close(1);
    return lines;
}

struct LineCase {
    const char* name;
    std::string contents;
    std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, EndALineAtCarriageReturnLineFeedOrEitherAlone) {
    TemporaryFolder folder;
    EXPECT_EQ(linesOf(folder.write("f.txt", GetParam().contents)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEnds,
    ::testing::Values(LineCase{"CarriageReturnLineFeed", "1:T\r\n2:250\r\n", {"1:T", "2:250"}},
                      LineCase{"LineFeedAlone", "1:T\n2:250\n", {"1:T", "2:250"}},
                      LineCase{"CarriageReturnAlone", "1:T\r2:250\r", {"1:T", "2:250"}},
                      LineCase{"LastLineWithoutEnd", "1:T\r\n6:", {"1:T", "6:"}},
                      LineCase{"EmptyLinesKept", "\r\n\n\r", {"", "", ""}},
                      LineCase{"Empty", "", {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(NumberedFiles, WriteLinesEndedWithCarriageReturnLineFeed) {
    TemporaryFolder folder;
    const std::string path = folder.pathOf("out.txt");
    folder.write("out.txt", "old content that must go");
    Open(2, path, OpenMode::Output);
    PrintLine(2, "1\t2.5");
    PrintLine(2, "");
    Close(2);
    EXPECT_EQ(readFile(path), "1\t2.5\r\n\r\n");
    Open(2, path, OpenMode::Append);
    PrintLine(2, "more");
    Close(2);
    EXPECT_EQ(readFile(path), "1\t2.5\r\n\r\nmore\r\n");
}

TEST(NumberedFiles, OpeningANumberStillOpenClosesItsFileFirst) {
    TemporaryFolder folder;
    const std::string left = folder.pathOf("left-open.txt");
    Open(1, left, OpenMode::Output);
    PrintLine(1, "written before the failure");
    // A later user of number 1 opens another file: the first is closed, its lines kept.
    const std::string settings = folder.write("defaults.txt", "1:T\r\n");
    Open(1, settings, OpenMode::Input);
    EXPECT_EQ(LineInput(1), "1:T");
    Reset();
    EXPECT_FALSE(IsOpen(1));
    EXPECT_EQ(readFile(left), "written before the failure\r\n");
}

struct ErrorCase {
    const char* name;
    std::string (*path)(const TemporaryFolder&);
    OpenMode mode;
    std::int32_t number;
    std::string saying = {};  // what the description says besides naming the path
};

class OpenErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(OpenErrors, RaiseTheRunTimesErrorWithoutBlocking) {
    TemporaryFolder folder;
    const std::string path = GetParam().path(folder);
    try {
        Open(3, path, GetParam().mode);
        FAIL() << "opened " << path;
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, GetParam().number);
        EXPECT_EQ(error.Description, com::runtimeErrorDescription(GetParam().number) + ": " + GetParam().saying + path);
    }
    EXPECT_FALSE(IsOpen(3));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenErrors,
    ::testing::Values(
        ErrorCase{"MissingFile", [](const TemporaryFolder& f) { return f.pathOf("missing.txt"); }, OpenMode::Input,
                  com::errors::FileNotFound},
        ErrorCase{"MissingFolder", [](const TemporaryFolder& f) { return f.pathOf("missing/out.txt"); },
                  OpenMode::Output, com::errors::PathNotFound},
        ErrorCase{"FolderUnderAFile", [](const TemporaryFolder& f) { return f.write("file", "x") + "/out.txt"; },
                  OpenMode::Output, com::errors::PathNotFound},
        ErrorCase{"AFolder", [](const TemporaryFolder& f) { return f.path().string(); }, OpenMode::Input,
                  com::errors::PathFileAccessError},
        ErrorCase{"APipeForReading",
                  [](const TemporaryFolder& f) {
                      const std::string pipe = f.pathOf("pipe");
                      ::mkfifo(pipe.c_str(), 0600);
                      return pipe;
                  },
                  OpenMode::Input, com::errors::PathFileAccessError},
        ErrorCase{"APipeForWriting",
                  [](const TemporaryFolder& f) {
                      const std::string pipe = f.pathOf("pipe");
                      ::mkfifo(pipe.c_str(), 0600);
                      return pipe;
                  },
                  OpenMode::Output, com::errors::PathFileAccessError},
        ErrorCase{"ADevice", [](const TemporaryFolder&) { return std::string("/dev/zero"); }, OpenMode::Input,
                  com::errors::PathFileAccessError},
        // Too long, the path is not looked up: whether its folder exists is not known.
        ErrorCase{"ANameLongerThanTheSystemAllows",
                  [](const TemporaryFolder& f) { return f.pathOf(std::string(300, 'a') + "/out.txt"); },
                  OpenMode::Output, com::errors::BadFileNameOrNumber, "the path is too long: "},
        ErrorCase{"APathLongerThanTheSystemAllows",
                  [](const TemporaryFolder& f) {
                      std::string path = f.path().string();
                      while (path.size() <= PATH_MAX) path += "/" + std::string(200, 'b');
                      return path;
                  },
                  OpenMode::Input, com::errors::BadFileNameOrNumber, "the path is too long: "}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(NumberedFiles, ReadingPastTheEndOrAClosedNumberRaises) {
    TemporaryFolder folder;
    Open(1, folder.write("one.txt", "only\r\n"), OpenMode::Input);
    EXPECT_EQ(LineInput(1), "only");
    EXPECT_TRUE(Eof(1));
    try {
        LineInput(1);
        FAIL();
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::InputPastEndOfFile);
    }
    Close(1);
    Close(1);  // closing a number that is not open is no error
    try {
        PrintLine(1, "x");
        FAIL();
    } catch (const com::Error& error) {
        EXPECT_EQ(error.Number, com::errors::BadFileNameOrNumber);
    }
}

}  // namespace
