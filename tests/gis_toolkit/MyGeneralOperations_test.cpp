// Binary texts, the elapsed-time lines of the report, opening documents and collection keys.
#include "gis_toolkit/MyGeneralOperations.h"

#include <gtest/gtest.h>

#include "com/Collection.h"
#include "support/ScopedEnvironment.h"
#include "winapi/Shell.h"

namespace {

using namespace gis_toolkit::MyGeneralOperations;

TEST(ConvertLongBinary, WritesTheDigitsPaddedButNeverCut) {
    EXPECT_EQ(ConvertLongBinary(1, 8), "00000001");
    EXPECT_EQ(ConvertLongBinary(6, 8), "00000110");
    EXPECT_EQ(ConvertLongBinary(40, 8), "00101000");
    EXPECT_EQ(ConvertLongBinary(255, 8), "11111111");
    EXPECT_EQ(ConvertLongBinary(300, 8), "100101100");
    EXPECT_EQ(ConvertLongBinary(0, 4), "0000");  // ends: no halving can reach 1
    EXPECT_EQ(ConvertLongBinary(-1, 8), std::string(32, '1'));
}

TEST(ElapsedTime, NamesTheLargestUnitDownToSeconds) {
    EXPECT_EQ(ElapsedTimeText(3725), "Time Elapsed: 1 hour, 2 minutes, 5 seconds...");
    EXPECT_EQ(ElapsedTimeText(0), "Time Elapsed: 0 seconds...");
    EXPECT_EQ(ElapsedTimeText(1), "Time Elapsed: 1 second...");
    EXPECT_EQ(ElapsedTimeText(61), "Time Elapsed: 1 minute, 1 second...");
    EXPECT_EQ(ElapsedTimeText(86400 + 7), "Time Elapsed: 1 day, 0 hours, 0 minutes, 7 seconds...");
    EXPECT_EQ(ElapsedTimeText(2 * 86400 + 2 * 3600 + 120 + 2), "Time Elapsed: 2 days, 2 hours, 2 minutes, 2 seconds...");
}

TEST(ReturnTimeElapsedRTF, GivesThreeReportLinesAtTwiceTheFontSize) {
    testing_support::ScopedEnvironmentVariable english("LC_ALL", "C.UTF-8");
    const sysutils::TDateTime start = sysutils::EncodeDateTime(2026, 12, 10, 14, 3, 0, 0);
    const sysutils::TDateTime end = start + 3725.0 / 86400.0;
    EXPECT_EQ(ReturnTimeElapsedRTF(start, end, 8),
              "\\b\\fs16 Analysis Began:\\b0\\i    Thursday, December 10, 2026 at 14:03:00\\par\r\n"
              "\\b\\i0 Analysis Complete:\\b0\\i    Thursday, December 10, 2026 at 15:05:05\\par\r\n"
              "\\b\\i0 Time Elapsed:\\b0\\i    Time Elapsed: 1 hour, 2 minutes, 5 seconds...\\par\r\n");
}

TEST(OpenDoc, AsksTheShellToOpenTheFileInItsFolder) {
    winapi::RecordingShell shell;
    OpenDoc("nodes.txt", "/data/out/");
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0], (winapi::ShellRequest{"", "nodes.txt", "", "/data/out/", winapi::SW_SHOWNORMAL}));
}

TEST(CollectionKeyExists, AnswersWithoutRaising) {
    com::Collection<bool> partners;
    partners.Add(true, "17");
    EXPECT_TRUE(CollectionKeyExists(partners, "17"));
    EXPECT_FALSE(CollectionKeyExists(partners, "18"));
}

}  // namespace
